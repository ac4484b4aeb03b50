// The field store: each conversion kind both ways, as the window's controls take and give
// values, without any control.
#include "model/FieldStore.h"

#include <QDate>

#include <gtest/gtest.h>

using Model::FieldOrigin;
using Model::FieldStore;
using Model::Field;
using Model::FieldSlots;
using Model::FileSlot;
using Model::TelegramSlot;

namespace {

struct KindCase
{
    const char *name;
    Field field;
    Model::Slot slot;
    const char *text;
    const char *stored;         // nullptr: rejected
    const char *fileText;       // Form2Dat afterwards
    const char *telegramText;
    QChar timeSep = u':';
    QChar decimalSep = u'.';
    bool bad = false;           // stored, yet shown as not converted
};

void PrintTo(const KindCase &c, std::ostream *os)
{
    *os << c.name;
}

class FieldStoreKinds : public testing::TestWithParam<KindCase>
{
};

const QString kYear = QString::number(QDate::currentDate().year());

} // namespace

TEST_P(FieldStoreKinds, TakeAndGive)
{
    const KindCase &c = GetParam();
    FieldSlots table;
    FieldStore store(table);
    store.setTimeSeparator(c.timeSep);
    store.setDecimalSeparator(c.decimalSep);
    (c.slot == Model::FileSlot ? table[c.field].FileText : table[c.field].TelegramText) = QString::fromUtf8(c.text);
    int changed = 0, red = 0;
    QObject::connect(&store, &FieldStore::changed, [&](Field f, FieldOrigin) { changed += f == c.field; });
    QObject::connect(&store, &FieldStore::rejected, [&](Field f, const QString &, FieldOrigin) { red += f == c.field; });
    table.Dat2Form(c.field, c.slot);
    EXPECT_EQ(changed, c.stored ? 1 : 0);
    EXPECT_EQ(red, !c.stored || c.bad ? 1 : 0);
    const QList<Field> rejected = store.takeRejected();
    EXPECT_EQ(store.fact(c.field).bad, !c.stored || c.bad);
    if (!c.stored) {
        EXPECT_EQ(rejected, QList<Field>{c.field});
        EXPECT_TRUE(store.value(c.field).isEmpty());    // the value stays as it was
    } else {
        EXPECT_EQ(rejected.isEmpty(), !c.bad);
        EXPECT_EQ(store.value(c.field), QString::fromUtf8(c.stored).replace("YYYY", kYear));
        EXPECT_EQ(store.origin(c.field), c.slot == Model::FileSlot ? FieldOrigin::File : FieldOrigin::Device);
    }
    table.Form2Dat(c.field, Model::FileSlot);
    table.Form2Dat(c.field, Model::TelegramSlot);
    EXPECT_EQ(table[c.field].FileText, QString::fromUtf8(c.fileText).replace("YYYY", kYear));
    EXPECT_EQ(table[c.field].TelegramText, QString::fromUtf8(c.telegramText));
}

INSTANTIATE_TEST_SUITE_P(
    FieldStore, FieldStoreKinds,
    testing::Values(
        KindCase{"Text", Field::SerialNumber, TelegramSlot, " 88000123", " 88000123", " 88000123", " 88000123"},
        KindCase{"Date", Field::DeviceDate, TelegramSlot, "24.12.2026", "24.12.2026", "24.12.2026", "24.12.2026"},
        KindCase{"DateWithoutYear", Field::DeviceDate, TelegramSlot, "24.12", nullptr, "", ""},
        KindCase{"DateThatIsNone", Field::DeviceDate, TelegramSlot, "31.02.2026", nullptr, "", ""},
        KindCase{"ClockTime", Field::DeviceTime, TelegramSlot, "7:5:3", "07:05:03", "07:05:03", "07:05:03"},
        KindCase{"ClockTimeFromAFileWithTheLocaleSeparator", Field::DeviceTime, FileSlot, "07.05.03", "07:05:03",
                 "07:05:03", "07:05:03", u'.'},
        KindCase{"ClockTimePastMidnight", Field::DeviceTime, TelegramSlot, "25:00:00", nullptr, "", ""},
        KindCase{"ItemIndex", Field::Range, TelegramSlot, " 7 ", "7", "7", "7"},
        KindCase{"ItemIndexNoNumberPicksTheFirst", Field::Range, TelegramSlot, "x", "0", "0", "0", u':', u'.', true},
        KindCase{"ItemIndexNegative", Field::Range, FileSlot, "-1", nullptr, "", ""},
        KindCase{"ItemIndexBeyondTheSelector", Field::Range, FileSlot, "10", nullptr, "", ""},
        KindCase{"ItemInteger", Field::OutputMode, FileSlot, "3", "3", "3", "3"},
        KindCase{"ItemIntegerNoItemCarries", Field::OutputMode, FileSlot, "0", nullptr, "", ""},
        KindCase{"ItemIntegerNoNumber", Field::OutputMode, TelegramSlot, "x", nullptr, "", ""},
        KindCase{"StartDateFromTheInstrumentTakesAYear", Field::StartDate, TelegramSlot, "03.07", "03.07.YYYY",
                 "03.07.YYYY", "03.07"},
        KindCase{"StartDateFromAFile", Field::StartDate, FileSlot, "03.07.2030", "03.07.2030", "03.07.2030", "03.07"},
        KindCase{"StartTimeDropsTheSeconds", Field::StartTime, FileSlot, "8:15:59", "08:15:00", "08:15:00", "08:15:00"},
        KindCase{"StartTimeFromTheInstrument", Field::StartTime, TelegramSlot, "08:15", "08:15:00", "08:15:00", "08:15:00"},
        KindCase{"DurationInHours", Field::Duration, TelegramSlot, "24", "0024:00", "0024:00", "0024:00"},
        KindCase{"DurationWithEmptyMinutes", Field::Duration, FileSlot, "12:", "0012:00", "0012:00", "0012:00"},
        KindCase{"DurationAtMost9999Hours", Field::Duration, FileSlot, "9999:59", "9999:00", "9999:00", "9999:00"},
        KindCase{"DurationBadMinutes", Field::Duration, FileSlot, "12:60", nullptr, "0000:00", "0000:00"},
        KindCase{"NumberTakesTheSeparator", Field::AnalogAtZero, FileSlot, " 1.5 ", "1,5", "1,5", "1,5", u':', u','},
        KindCase{"NumberWithPoint", Field::AnalogAtZero, FileSlot, "1,5", "1.5", "1.5", "1.5"},
        KindCase{"NumberThatIsNone", Field::AnalogAtZero, FileSlot, "1.5x", nullptr, "", ""},
        KindCase{"NumberWithExponent", Field::AnalogAtZero, FileSlot, "1e3", nullptr, "", ""},
        KindCase{"SpanBeyondADay", Field::StorageInterval, TelegramSlot, "24:10:00", "24:10:00", "24:10:00", "24:10:00"},
        KindCase{"SpanFromAFileWithTheLocaleSeparator", Field::StorageInterval, FileSlot, "00.01.30", "00:01:30",
                 "00:01:30", "00:01:30", u'.'},
        KindCase{"SpanThatIsNone", Field::StorageInterval, TelegramSlot, "ab:00", nullptr, "", ""},
        KindCase{"SpanPastTheSpinEdit", Field::PolarityInterval, FileSlot, "01:75:00", nullptr, "", ""},
        KindCase{"Lamp", Field::RecordingLamp, TelegramSlot, "01", "1", "", ""},
        KindCase{"RangeName", Field::RangeName, TelegramSlot, "12", "12", "", ""}),
    [](const testing::TestParamInfo<KindCase> &info) { return std::string(info.param.name); });

TEST(FieldStore, RecordingRequestAsksForTheOpposite)
{
    FieldSlots table;
    FieldStore store(table);
    table.Form2Dat(Field::Recording, Model::TelegramSlot);
    EXPECT_EQ(table[Field::Recording].TelegramText, "1");         // nothing reported yet: not running, so start
    table[Field::Recording].TelegramText = "1";
    table.Dat2Form(Field::Recording, Model::TelegramSlot);
    EXPECT_TRUE(store.RecordingRunning());
    table[Field::Recording].TelegramText = "7";                   // no state: the last one stays
    table.Dat2Form(Field::Recording, Model::TelegramSlot);
    EXPECT_TRUE(store.takeRejected().isEmpty());
    table.Form2Dat(Field::Recording, Model::TelegramSlot);
    EXPECT_EQ(table[Field::Recording].TelegramText, "0");
}

TEST(FieldStore, AlarmMaskOutsideAByteKeepsTheLastOne)
{
    FieldSlots table;
    FieldStore store(table);
    for (const char *text : {"9", "300"}) {
        table[Field::AlarmInfo].TelegramText = text;
        table.Dat2Form(Field::AlarmInfo, Model::TelegramSlot);
    }
    EXPECT_EQ(store.value(Field::AlarmInfo), "9");
    table[Field::AlarmInfo].TelegramText = "abc";                 // no number counts as no alarm
    table.Dat2Form(Field::AlarmInfo, Model::TelegramSlot);
    EXPECT_EQ(store.value(Field::AlarmInfo), "0");
}

TEST(FieldStore, FieldsOfOneControlShareTheirValue)
{
    FieldSlots table;
    FieldStore store(table);
    // the status reply sets the start-mode selector that the configuration writes
    table[Field::StartModeStatus].TelegramText = "1";
    table.Dat2Form(Field::StartModeStatus, Model::TelegramSlot);
    EXPECT_EQ(store.value(Field::StartMode), "1");
    table.Form2Dat(Field::StartMode, Model::FileSlot);
    EXPECT_EQ(table[Field::StartMode].FileText, "1");
    // the range label is a control of its own
    table[Field::Range].TelegramText = "4";
    table.Dat2Form(Field::Range, Model::TelegramSlot);
    EXPECT_TRUE(store.value(Field::RangeName).isEmpty());
}

TEST(FieldStore, TheFieldWithoutControlIsLeftAlone)
{
    FieldSlots table;
    FieldStore store(table);
    table[Field::Placeholder11].TelegramText = "12:00:00";
    table[Field::Placeholder11].FileText = "x";
    table.Dat2Form(Field::Placeholder11, Model::TelegramSlot);
    table.Form2Dat(Field::Placeholder11, Model::TelegramSlot);
    table.Form2Dat(Field::Placeholder11, Model::FileSlot);
    EXPECT_EQ(table[Field::Placeholder11].TelegramText, "12:00:00");
    EXPECT_EQ(table[Field::Placeholder11].FileText, "x");
    EXPECT_TRUE(store.takeRejected().isEmpty());
}

TEST(FieldStore, ValuesSetByTheProgramAndPageDefaults)
{
    FieldSlots table;
    {
        FieldStore store(table);
        EXPECT_NE(table.view(), nullptr);
        store.SetPageDefaults();
        EXPECT_EQ(store.value(Field::AnalogName), "Extern");
        EXPECT_EQ(store.value(Field::AnalogAtTen), "10");
        EXPECT_TRUE(store.setValue(Field::DeviceTime, "09:08:07"));
        EXPECT_EQ(store.origin(Field::DeviceTime), FieldOrigin::Program);
        EXPECT_FALSE(store.setValue(Field::DeviceTime, "9 o'clock"));
        EXPECT_EQ(store.value(Field::DeviceTime), "09:08:07");
        EXPECT_FALSE(store.setValue(Field::Placeholder11, "12:00:00"));
        table.Form2Dat(Field::DeviceTime, Model::TelegramSlot);
        EXPECT_EQ(table[Field::DeviceTime].TelegramText, "09:08:07");
    }
    // gone with the store: the table must not call it any more
    EXPECT_EQ(table.view(), nullptr);
}
