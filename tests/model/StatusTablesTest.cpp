#include "model/StatusTables.h"

#include <gtest/gtest.h>

using namespace Model;

namespace {
StatusTables built()
{
    StatusTables t;
    t.BuildRangeNames();
    t.BuildMeterScales();
    t.BuildAlarmTexts();
    return t;
}
} // namespace

TEST(AlarmMask, SetBitsInOrderInTheProgramsLanguage)
{
    const StatusTables t = built();
    DeviceState state;
    DecodeAlarmMask(t, "129", state);
    EXPECT_EQ(state.AlarmTexts, (QStringList{"Messwertüberlauf", "Störung Sensor-Bus"}));
    EXPECT_EQ(state.AlarmCountdown, 0);
    state.AlarmCountdown = 500;
    DecodeAlarmMask(t, "129", state);
    EXPECT_EQ(state.AlarmCountdown, 500);
    state.ProgramLanguage = 1;
    DecodeAlarmMask(t, "9", state);
    EXPECT_EQ(state.AlarmTexts, (QStringList{"Range overflow", "Fan Error"}));
}

TEST(AlarmMask, OutOfRangeKeepsTheListButNoNumberEmptiesIt)
{
    const StatusTables t = built();
    DeviceState state;
    DecodeAlarmMask(t, "2", state);
    state.AlarmCountdown = 500;
    DecodeAlarmMask(t, "300", state);
    EXPECT_EQ(state.AlarmTexts, QStringList{"Akku leer"});
    EXPECT_EQ(state.AlarmCountdown, 500);
    DecodeAlarmMask(t, "x", state);
    EXPECT_TRUE(state.AlarmTexts.isEmpty());
}

TEST(Ranges, UnknownIndicesShowQuestionMarksAndScalesMatchFullScale)
{
    const StatusTables t = built();
    EXPECT_EQ(t.RangeName("9"), QStringLiteral("5 M"));
    for (const char *bad : {"-1", "10", "abc", ""})
        EXPECT_EQ(t.RangeName(bad), QStringLiteral("???")) << bad;
    const long long fullScale[] = {500, 1500, 5000, 15000, 50000, 150000, 500000, 1500000, 5000000};
    for (int range = 1; range <= 9; ++range)
        EXPECT_EQ(std::llround(double(t.Scale(range)->EndValue) * t.Scale(range)->Divisor), fullScale[range - 1]);
    EXPECT_EQ(t.Scale(10), nullptr);
}
