// Rows of live values and the system's formats the program writes dates and times in.
#include "measure/LiveRows.h"
#include "measure/SystemFormats.h"

#include <gtest/gtest.h>

using namespace Measure;

namespace {

CurrentValues reply(int polarity, std::optional<float> volts, std::vector<CurrentValues::Sensor> sensors)
{
    CurrentValues v;
    v.range = 3;
    v.polarity = polarity;
    v.ionValue = 1520;
    v.analogVolts = volts;
    v.sensors = std::move(sensors);
    return v;
}

} // namespace

TEST(LiveRows, SensorsStandInAFixedOrderWhateverTheReplySays)
{
    const CurrentValues a = reply(0, 2.5f, {{false, 3, 21.5f}, {true, 10, 45.6f}, {true, 2, 50.0f}});
    const CurrentValues b = reply(0, 2.5f, {{true, 2, 50.0f}, {true, 10, 45.6f}, {false, 3, 21.5f}});
    EXPECT_EQ(LiveColumnsFor(a), LiveColumnsFor(b));
    EXPECT_EQ(LiveHeading(LiveColumnsFor(a), QStringLiteral(" Druck [V] ")),
              "Datum;Zeit;Messbereich;Ionen;Druck [V];F 2;F A;T 3");
    EXPECT_EQ(LiveHeading(LiveColumnsFor(reply(0, std::nullopt, {})), QStringLiteral("x")), "Datum;Zeit;Messbereich;Ionen");
    EXPECT_NE(LiveColumnsFor(a), LiveColumnsFor(reply(0, std::nullopt, a.sensors)));
}

TEST(LiveRows, RowWithMillisecondsSignAndGaps)
{
    DisplayFormats f;
    f.decimalSep = u',';
    const CurrentValues v = reply(1, 2.0625f, {{true, 2, 998.5f}, {false, 3, 21.54f}});
    LiveColumns columns = LiveColumnsFor(v);
    columns.sensors.push_back({false, 15});         // a sensor an earlier reply had
    const QDateTime when(QDate(2026, 12, 9), QTime(7, 5, 3, 45));
    // the missing humidity sensor (998..1000) and the absent one stay empty
    EXPECT_EQ(LiveRow(columns, when, v, f), "09.12.2026;07:05:03,045;3;-1520;2,063;;21,5;");
    f.decimalSep = u'.';
    EXPECT_EQ(LiveRow(columns, when, reply(0, std::nullopt, {}), f), "09.12.2026;07:05:03.045;3;1520;;;;");
}

TEST(SystemFormats, FourDigitYearsAndTheLocalesTimeSeparator)
{
    const DisplayFormats de = SystemDisplayFormats(QLocale(QLocale::German, QLocale::Germany), u',');
    EXPECT_EQ(de.dateFormat, "dd.MM.yyyy");
    EXPECT_EQ(de.timeFormat, "HH:mm:ss");
    EXPECT_EQ(de.decimalSep, u',');
    const QLocale finnish(QLocale::Finnish, QLocale::Finland);
    EXPECT_EQ(SystemTimeSeparator(finnish), u'.');
    EXPECT_EQ(SystemDisplayFormats(finnish, u'.').timeFormat, "HH.mm.ss");
    const DisplayFormats us = SystemDisplayFormats(QLocale(QLocale::English, QLocale::UnitedStates), u'.');
    EXPECT_TRUE(us.dateFormat.contains("yyyy")) << qPrintable(us.dateFormat);
    EXPECT_EQ(QDate(2026, 12, 9).toString(us.dateFormat).right(4), "2026");
}
