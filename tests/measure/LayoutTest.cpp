// Group buttons, the column layout and the text lines built from it.
#include "measure/ColumnLayout.h"
#include "measure/FieldSelection.h"
#include "measure/RecordParsing.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Measure;

namespace {

MeasureFields fieldsFor(int analog, int humLow, int tempLow)
{
    TBlockHeader h;
    h.BlockNr = 1;
    h.HasAnalog = analog;
    h.HumMaskLow = humLow;
    h.TempMaskLow = tempLow;
    return BuildFieldList(h, QStringLiteral("Druck"));
}

void select(MeasureFields &fields, std::initializer_list<int> positions)
{
    for (TField &f : fields)
        f.Selected = false;
    for (int p : positions)
        fields[std::size_t(p)].Selected = true;
}

QStringList headings(const ColumnLayout &layout)
{
    QStringList out;
    for (const TColumn &c : layout.columns)
        out << c.heading;
    return out;
}

double at(int year, int month, int day, int h, int m, int s)
{
    return DateTimeToDays(QDateTime(QDate(year, month, day), QTime(h, m, s), Qt::UTC));
}

} // namespace

TEST(GroupButtons, AveragesMarkOnlyTheAveragesOfIonsAndAnalog)
{
    const MeasureFields noAnalog = fieldsFor(0, 1, 0);       // date, time, 3 ions, F 0
    const QList<bool> start{true, false, true, false, true, true};
    EXPECT_EQ(ApplyGroupButton(noAnalog, start, SelectGroup::Averages, true),
              (QList<bool>{true, false, false, true, false, true}));

    const QList<bool> all = ApplyGroupButton(noAnalog, {}, SelectGroup::All, true);
    EXPECT_EQ(all, QList<bool>(6, true));
    EXPECT_EQ(ApplyGroupButton(noAnalog, all, SelectGroup::Averages, false),
              (QList<bool>{true, true, true, false, true, true}));

    const MeasureFields analog = fieldsFor(1, 0, 1);          // ... 3 analog, T 0
    EXPECT_EQ(ApplyGroupButton(analog, QList<bool>(9, true), SelectGroup::Averages, true),
              (QList<bool>{true, true, false, true, false, false, true, false, true}));
}

TEST(GroupButtons, SensorsLeaveTheRestAloneAndNoListIsNoChange)
{
    const MeasureFields f = fieldsFor(1, 1, 1);               // date, time, 3 ions, 3 analog, F 0, T 0
    EXPECT_EQ(ApplyGroupButton(f, QList<bool>(10, true), SelectGroup::Sensors, false),
              (QList<bool>{true, true, true, true, true, true, true, true, false, false}));
    EXPECT_EQ(ApplyGroupButton({}, {true}, SelectGroup::All, false), QList<bool>{true});
    EXPECT_TRUE(IsUnmarkButton(QStringLiteral("btnSelSensor0"), SelectGroup::Sensors));
    EXPECT_FALSE(IsUnmarkButton(QStringLiteral("btnSelSensor1"), SelectGroup::Sensors));
    EXPECT_FALSE(IsUnmarkButton(QStringLiteral("btnSelAll0"), SelectGroup::Averages));
}

TEST(ColumnLayout, OrderAndHeadingsInBothPolarityModes)
{
    MeasureFields f = fieldsFor(1, 1, 0);
    select(f, {8, 0, 1, 2, 4, 6});
    EXPECT_EQ(headings(BuildColumnLayout(f, false)),
              (QStringList{" Datum  ", "  Zeit  ", "Ionen Min", "Ionen Max", "Druck-Avg", "F 0"}));
    const ColumnLayout two = BuildColumnLayout(f, true);
    EXPECT_EQ(headings(two), (QStringList{" Datum  ", "  Zeit  ", "Neg.Ionen Min", "Neg.Ionen Max", "Pos.Ionen Min",
                                          "Pos.Ionen Max", "Druck-Avg", "F 0"}));
    EXPECT_TRUE(two.hasIons);
    EXPECT_TRUE(two.hasAnalog);
    select(f, {8});
    const ColumnLayout sensorsOnly = BuildColumnLayout(f, true);
    EXPECT_FALSE(sensorsOnly.hasIons || sensorsOnly.hasAnalog);
}

TEST(ColumnLayout, ValuesInBothModesAndBothSeparators)
{
    MeasureFields f = fieldsFor(1, 1, 0);
    select(f, {0, 1, 3, 6, 8});
    f[3].IonValue = 1200;
    f[3].Negative = true;
    f[6].FloatValue = 2.5f;
    f[8].FloatValue = 45.6f;
    const double when = at(2003, 2, 1, 10, 30, 0);
    DisplayFormats dot;
    DisplayFormats comma;
    comma.decimalSep = u',';
    comma.dateFormat = QStringLiteral("yyyy-MM-dd");
    const ColumnLayout one = BuildColumnLayout(f, false);
    EXPECT_EQ(TextRow(one, f, when, dot), "01.02.2003;10:30:00;   -1200;    2.500;    45.6");
    EXPECT_EQ(TextRow(one, f, when, comma), "2003-02-01;10:30:00;   -1200;    2,500;    45,6");
    EXPECT_EQ(ColumnValue(one.columns[2], f, when, dot, false, true), "       -1200");

    select(f, {2, 3, 4});
    f[2].IonValue = 100;
    f[3].IonValue = 200;
    f[4].IonValue = 300;
    const ColumnLayout two = BuildColumnLayout(f, true);
    for (TField &field : f)
        field.Negative = false;
    EXPECT_EQ(TextRow(two, f, when, dot), ";;;         100;         200;         300");
    for (TField &field : f)
        field.Negative = true;
    EXPECT_EQ(TextRow(two, f, when, dot), "         100;         200;         300;;;");
    EXPECT_FALSE(ColumnValue(two.columns[3], f, when, dot, true, true));
}

TEST(ColumnLayout, NumberFormatsAreThoseOfPrintf)
{
    MeasureFields f = fieldsFor(1, 1, 0);
    select(f, {3, 6, 8});
    const ColumnLayout layout = BuildColumnLayout(f, false);
    const DisplayFormats formats;
    for (float v : {0.0f, -0.0004f, 0.0005f, 1.0005f, 2.5f, -3.25f, 0.125f, 9.96f, -9.95f, 99.95f, -99.95f, 999.9999f,
                    123456.789f, 1.0e7f, 3.0e9f, -3.4e38f, std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        f[6].FloatValue = f[8].FloatValue = v;
        EXPECT_EQ(ColumnValue(layout.columns[1], f, 0, formats, false, false), QString::asprintf("%9.3f", double(v)));
        EXPECT_EQ(ColumnValue(layout.columns[2], f, 0, formats, false, false), QString::asprintf("%8.1f", double(v)));
    }
    for (qint32 v : {0, 7, 1200, 12345678, 123456789, 2147483647}) {
        f[3].IonValue = v;
        f[3].Negative = v % 2 == 1;
        const qint32 shown = f[3].Negative ? -v : v;
        EXPECT_EQ(ColumnValue(layout.columns[0], f, 0, formats, false, false), QString::asprintf("%8d", shown));
        EXPECT_EQ(ColumnValue(layout.columns[0], f, 0, formats, false, true), QString::asprintf("%12d", shown));
    }
}

TEST(ColumnLayout, TimeStampsStayOnTheSecondAfterManyIntervals)
{
    // 100,000 ten-second steps from a start with a fraction of a day that binary cannot hold
    const double first = at(2026, 3, 29, 1, 59, 50);
    const double interval = 10.0 / 86400.0;
    DisplayFormats f;
    MeasureFields fields = fieldsFor(0, 0, 0);
    select(fields, {0, 1});
    const ColumnLayout layout = BuildColumnLayout(fields, false);
    EXPECT_EQ(TextRow(layout, fields, first + 1 * interval, f), "29.03.2026;02:00:00");   // no daylight-saving gap
    EXPECT_EQ(TextRow(layout, fields, first + 99999 * interval, f), "09.04.2026;15:46:20");
}

TEST(TextHeading, LinesWithAndWithoutSerialNumber)
{
    MeasureFields f = fieldsFor(0, 0, 0);
    select(f, {0, 1, 3});
    const ColumnLayout layout = BuildColumnLayout(f, false);
    const double first = at(2003, 2, 1, 10, 30, 0);
    EXPECT_EQ(TextHeadingLines(layout, first, QStringLiteral("88000123")),
              (QStringList{"Messdaten Ionomter QT 8800", "", "Serien-Nr. 88000123", "",
                           "Messwerte vom: 01.02.2003  - 10:30:00", "", " Datum  ;  Zeit  ;Ionen Avg"}));
    EXPECT_EQ(TextHeadingLines(layout, first, QString()),
              (QStringList{"Messdaten Ionomter QT 8800", "", "Messwerte vom: 01.02.2003  - 10:30:00", "",
                           " Datum  ;  Zeit  ;Ionen Avg"}));
}

TEST(DirectoryGrid, RowTextsAndHeadings)
{
    const HeaderParse p = ParseBlockHeader(u"TNH;3;0;5;1;0;128;02.12.2026;14:00;0:5:0;2;");
    ASSERT_EQ(p.kind, HeaderParse::Header);
    DisplayFormats f;
    EXPECT_EQ(DirectoryRowTexts(p.header, f),
              (QStringList{"3", "02.12.2026", "14:00:00", "0:5:0", "Aus", "3", "1", "2"}));
    EXPECT_EQ(DirectoryHeadings(),
              (QStringList{"  Nr", "Datum", "  Zeit", "Intervall", "Analog", "Feuchte", "Temperaur", "Gelöscht"}));
}
