// The field store: each conversion kind both ways, as the window's controls take and give
// values, without any control.
#include "model/FieldStore.h"

#include <QDate>

#include <gtest/gtest.h>

using Model::FieldOrigin;
using Model::FieldStore;
using Model::FieldTable;

namespace {

struct KindCase
{
    const char *name;
    int field;
    int slot;
    const char *text;
    const char *stored;         // nullptr: rejected
    const char *fileText;       // Form2Dat afterwards
    const char *telegramText;
    QChar timeSep = u':';
    QChar decimalSep = u'.';
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
    FieldTable table;
    table.BuildFieldTable();
    FieldStore store(table);
    store.setTimeSeparator(c.timeSep);
    store.setDecimalSeparator(c.decimalSep);
    (c.slot == Model::FileSlot ? table[c.field].FileText : table[c.field].TelegramText) = QString::fromUtf8(c.text);
    table.Dat2Form(c.field, c.slot);
    const QList<int> rejected = store.takeRejected();
    if (!c.stored) {
        EXPECT_EQ(rejected, QList<int>{c.field});
        EXPECT_EQ(store.origin(c.field), FieldOrigin::Bad);
        EXPECT_TRUE(store.value(c.field).isEmpty());    // the value stays as it was
    } else {
        EXPECT_TRUE(rejected.isEmpty());
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
        KindCase{"Text", 0, Model::TelegramSlot, " 88000123", " 88000123", " 88000123", " 88000123"},
        KindCase{"Date", 3, Model::TelegramSlot, "24.12.2026", "24.12.2026", "24.12.2026", "24.12.2026"},
        KindCase{"DateWithoutYear", 3, Model::TelegramSlot, "24.12", nullptr, "", ""},
        KindCase{"DateThatIsNone", 3, Model::TelegramSlot, "31.02.2026", nullptr, "", ""},
        KindCase{"ClockTime", 4, Model::TelegramSlot, "7:5:3", "07:05:03", "07:05:03", "07:05:03"},
        KindCase{"ClockTimeFromAFileWithTheLocaleSeparator", 4, Model::FileSlot, "07.05.03", "07:05:03", "07:05:03",
                 "07:05:03", u'.'},
        KindCase{"ClockTimePastMidnight", 4, Model::TelegramSlot, "25:00:00", nullptr, "", ""},
        KindCase{"ItemIndex", 5, Model::TelegramSlot, " 7 ", "7", "7", "7"},
        KindCase{"ItemIndexNoNumber", 5, Model::TelegramSlot, "x", nullptr, "", ""},
        KindCase{"ItemIndexNegative", 5, Model::FileSlot, "-1", nullptr, "", ""},
        KindCase{"ItemIndexBeyondTheSelector", 5, Model::FileSlot, "10", nullptr, "", ""},
        KindCase{"ItemInteger", 10, Model::FileSlot, "3", "3", "3", "3"},
        KindCase{"ItemIntegerNoItemCarries", 10, Model::FileSlot, "0", nullptr, "", ""},
        KindCase{"StartDateFromTheInstrumentTakesAYear", 15, Model::TelegramSlot, "03.07", "03.07.YYYY", "03.07.YYYY",
                 "03.07"},
        KindCase{"StartDateFromAFile", 15, Model::FileSlot, "03.07.2030", "03.07.2030", "03.07.2030", "03.07"},
        KindCase{"StartTimeDropsTheSeconds", 16, Model::FileSlot, "8:15:59", "08:15:00", "08:15:00", "08:15:00"},
        KindCase{"StartTimeFromTheInstrument", 16, Model::TelegramSlot, "08:15", "08:15:00", "08:15:00", "08:15:00"},
        KindCase{"DurationInHours", 17, Model::TelegramSlot, "24", "0024:00", "0024:00", "0024:00"},
        KindCase{"DurationWithEmptyMinutes", 17, Model::FileSlot, "12:", "0012:00", "0012:00", "0012:00"},
        KindCase{"DurationAtMost9999Hours", 17, Model::FileSlot, "9999:59", "9999:00", "9999:00", "9999:00"},
        KindCase{"DurationBadMinutes", 17, Model::FileSlot, "12:60", nullptr, "0000:00", "0000:00"},
        KindCase{"NumberTakesTheSeparator", 21, Model::FileSlot, " 1.5 ", "1,5", "1,5", "1,5", u':', u','},
        KindCase{"NumberWithPoint", 21, Model::FileSlot, "1,5", "1.5", "1.5", "1.5"},
        KindCase{"NumberThatIsNone", 21, Model::FileSlot, "1.5x", nullptr, "", ""},
        KindCase{"SpanBeyondADay", 18, Model::TelegramSlot, "24:10:00", "24:10:00", "24:10:00", "24:10:00"},
        KindCase{"SpanFromAFileWithTheLocaleSeparator", 18, Model::FileSlot, "00.01.30", "00:01:30", "00:01:30",
                 "00:01:30", u'.'},
        KindCase{"SpanThatIsNone", 18, Model::TelegramSlot, "ab:00", nullptr, "", ""},
        KindCase{"SpanPastTheSpinEdit", 7, Model::FileSlot, "01:75:00", nullptr, "", ""},
        KindCase{"Lamp", 25, Model::TelegramSlot, "01", "1", "", ""},
        KindCase{"RangeName", 31, Model::TelegramSlot, "12", "12", "", ""}),
    [](const testing::TestParamInfo<KindCase> &info) { return std::string(info.param.name); });

TEST(FieldStore, RecordingRequestAsksForTheOpposite)
{
    FieldTable table;
    table.BuildFieldTable();
    FieldStore store(table);
    table.Form2Dat(24, Model::TelegramSlot);
    EXPECT_EQ(table[24].TelegramText, "1");         // nothing reported yet: not running, so start
    table[24].TelegramText = "1";
    table.Dat2Form(24, Model::TelegramSlot);
    EXPECT_TRUE(store.RecordingRunning());
    table[24].TelegramText = "7";                   // no state: the last one stays
    table.Dat2Form(24, Model::TelegramSlot);
    EXPECT_TRUE(store.takeRejected().isEmpty());
    table.Form2Dat(24, Model::TelegramSlot);
    EXPECT_EQ(table[24].TelegramText, "0");
}

TEST(FieldStore, AlarmMaskOutsideAByteKeepsTheLastOne)
{
    FieldTable table;
    table.BuildFieldTable();
    FieldStore store(table);
    for (const char *text : {"9", "300"}) {
        table[27].TelegramText = text;
        table.Dat2Form(27, Model::TelegramSlot);
    }
    EXPECT_EQ(store.value(27), "9");
    table[27].TelegramText = "abc";                 // no number counts as no alarm
    table.Dat2Form(27, Model::TelegramSlot);
    EXPECT_EQ(store.value(27), "0");
}

TEST(FieldStore, FieldsOfOneControlShareTheirValue)
{
    FieldTable table;
    table.BuildFieldTable();
    FieldStore store(table);
    // the status reply sets the start-mode selector that the configuration writes
    table[34].TelegramText = "1";
    table.Dat2Form(34, Model::TelegramSlot);
    EXPECT_EQ(store.value(33), "1");
    table.Form2Dat(33, Model::FileSlot);
    EXPECT_EQ(table[33].FileText, "1");
    // the range label is a control of its own
    table[5].TelegramText = "4";
    table.Dat2Form(5, Model::TelegramSlot);
    EXPECT_TRUE(store.value(31).isEmpty());
}

TEST(FieldStore, TheFieldWithoutControlIsLeftAlone)
{
    FieldTable table;
    table.BuildFieldTable();
    FieldStore store(table);
    table[11].TelegramText = "12:00:00";
    table[11].FileText = "x";
    table.Dat2Form(11, Model::TelegramSlot);
    table.Form2Dat(11, Model::TelegramSlot);
    table.Form2Dat(11, Model::FileSlot);
    EXPECT_EQ(table[11].TelegramText, "12:00:00");
    EXPECT_EQ(table[11].FileText, "x");
    EXPECT_TRUE(store.takeRejected().isEmpty());
}

TEST(FieldStore, ValuesSetByTheProgramAndPageDefaults)
{
    FieldTable table;
    table.BuildFieldTable();
    {
        FieldStore store(table);
        EXPECT_EQ(table.view(), &store);
        store.SetPageDefaults();
        EXPECT_EQ(store.value(19), "Extern");
        EXPECT_EQ(store.value(22), "10");
        EXPECT_TRUE(store.setValue(4, "09:08:07"));
        EXPECT_EQ(store.origin(4), FieldOrigin::Set);
        EXPECT_FALSE(store.setValue(4, "9 o'clock"));
        EXPECT_EQ(store.value(4), "09:08:07");
        EXPECT_FALSE(store.setValue(11, "12:00:00"));
        table.Form2Dat(4, Model::TelegramSlot);
        EXPECT_EQ(table[4].TelegramText, "09:08:07");
    }
    // gone with the store: the table must not call it any more
    EXPECT_EQ(table.view(), nullptr);
}
