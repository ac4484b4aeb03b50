// The text rows and the workbook as files.
#include "MeasureTestSupport.h"
#include "TestDirs.h"

#include "measure/CsvSink.h"
#include "measure/RecordParsing.h"
#include "measure/SheetExport.h"
#include "measure/TextRows.h"
#include "measure/TextSink.h"
#include "measure/WorkbookSink.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Measure;

namespace {

double at(int year, int month, int day, int h, int m, int s)
{
    return DateTimeToDays(QDateTime(QDate(year, month, day), QTime(h, m, s), Qt::UTC));
}

MeasureFields fieldsFor(int analog, int humLow, int tempLow, std::initializer_list<int> selected)
{
    TBlockHeader h;
    h.HasAnalog = analog;
    h.HumMaskLow = humLow;
    h.TempMaskLow = tempLow;
    MeasureFields fields = BuildFieldList(h, QStringLiteral("Druck"));
    for (int p : selected)
        fields[std::size_t(p)].Selected = true;
    return fields;
}

// A sheet with its heading and `rows` records, ten minutes apart.
struct SheetRig
{
    SheetExport sheet;
    MeasureFields fields;
    ColumnLayout layout;
    DisplayFormats formats;
    double first = at(2003, 2, 1, 10, 30, 0);

    bool started = false;

    SheetRig(MeasureFields f, bool twoColumns, const QString &unit = QStringLiteral(" ppm "),
             const QString &templateFile = {}, double start = at(2003, 2, 1, 10, 30, 0))
        : fields(std::move(f)), layout(BuildColumnLayout(fields, twoColumns)), first(start)
    {
        started = sheet.StartSpreadsheet(templateFile, first, formats);
        sheet.WriteSheetHeading(layout, first, QStringLiteral("88000123"), QStringLiteral("1.0.0"), unit);
    }
    void rows(int count)
    {
        for (int i = 0; i < count; ++i) {
            for (TField &f : fields) {
                f.IonValue = 1000 + i;
                f.Negative = i % 2 == 0;
                f.FloatValue = 2.5f + float(i);
            }
            sheet.WriteSheetRow(layout, fields, first + i / 144.0, formats);
        }
    }
};

} // namespace

TEST(TextRows, SaveWritesEveryLineAsUtf8WithCrLf)
{
    QTemporaryDir dir;
    TextRows rows;
    rows.appendLines({QStringLiteral("Messdaten Ionomter QT 8800"), QString(), QStringLiteral("Grüße;  -1200;    2,500")});
    EXPECT_EQ(rows.lineCount(), 3);
    EXPECT_EQ(rows.line(2), QStringLiteral("Grüße;  -1200;    2,500"));
    EXPECT_EQ(rows.text(1, 5), QStringLiteral("\nGrüße;  -1200;    2,500"));
    EXPECT_EQ(rows.longestLine(2, 1), 23);
    const QString path = dir.filePath(QStringLiteral("m.csv"));
    ASSERT_TRUE(rows.Save(path));
    EXPECT_EQ(ReadBytes(path), QByteArray("Messdaten Ionomter QT 8800\r\n\r\nGr\xc3\xbc\xc3\x9f" "e;  -1200;    2,500\r\n"));

    // lines edited in the window replace the rows
    rows.setLines({QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_TRUE(rows.Save(path));
    EXPECT_EQ(ReadBytes(path), QByteArray("a\r\nb\r\n"));
}

TEST(TextRows, MoreThanTheMemoHoldsIsKeptAndSaved)
{
    QTemporaryDir dir;
    TextRows rows;
    // more than a storage block: lines on both sides of a block's end read back whole
    for (int i = 0; i < 40000; ++i)
        rows.appendLine(QStringLiteral("01.02.2003;10:30:00;%1;    2.500").arg(i, 8));
    EXPECT_GT(rows.characterCount(), 256000);
    EXPECT_EQ(rows.line(39999), QStringLiteral("01.02.2003;10:30:00;   39999;    2.500"));
    for (int i = 26210; i < 26220; ++i)
        EXPECT_EQ(rows.text(i, 2), QStringLiteral("01.02.2003;10:30:00;%1;    2.500\n01.02.2003;10:30:00;%2;    2.500").arg(i, 8).arg(i + 1, 8));
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    ASSERT_TRUE(rows.Save(path));
    const QByteArray bytes = ReadBytes(path);
    EXPECT_EQ(bytes.count("\r\n"), 40000);
    EXPECT_TRUE(bytes.endsWith("   39999;    2.500\r\n"));
    EXPECT_EQ(bytes, rows.bytes());
}

TEST(TextRows, AFailedSaveLeavesTheOldFileAndTheRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.csv"));
    WriteBytes(path, "old\r\n");
    TextRows rows;
    rows.appendLine(QStringLiteral("new"));
    QString error;
    {
        ReadOnlyDir readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a directory read-only here";
        EXPECT_FALSE(rows.Save(path, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(rows.line(0), QStringLiteral("new"));
    EXPECT_FALSE(rows.Save(dir.filePath(QStringLiteral("no/such/folder/x.csv"))));
}

// Every sink takes the heading and the rows of a read, counts them, saves them whole and reports
// a disk that takes nothing; the cells come out as the text row and the workbook number.
TEST(RecordSinks, HeadingRowsEndAndAFullDisk)
{
    QTemporaryDir dir;
    MeasureFields fields = fieldsFor(1, 0, 0, {0, 1, 3, 6});
    const ColumnLayout layout = BuildColumnLayout(fields, false);
    const DisplayFormats formats;
    const double first = at(2003, 2, 1, 10, 30, 0);
    TextSink text;
    WorkbookSink book(true);
    std::vector<QString> cells;
    std::vector<CellKind> kinds;
    for (RecordSink *sink : {static_cast<RecordSink *>(&text), static_cast<RecordSink *>(&book)}) {
        SCOPED_TRACE(sink->fileSuffix().toStdString());
        ASSERT_TRUE(sink->begin({first, formats, {}}));
        EXPECT_TRUE(sink->heading({layout, {}, first, QStringLiteral("88000123"), QStringLiteral("1.0.0"), {}}));
        for (int i = 0; i < 2; ++i) {
            fields[3].IonValue = 1200 + i;
            fields[3].Negative = true;
            FillRecordCells(layout, fields, first + i / 144.0, formats, cells, kinds);
            EXPECT_TRUE(sink->row({first + i / 144.0, cells, kinds}));
        }
        EXPECT_TRUE(sink->end(true)) << sink->failure().toStdString();
        EXPECT_EQ(sink->rows(), 2);
        QString error;
        EXPECT_TRUE(sink->save(dir.filePath(QStringLiteral("out.") + sink->fileSuffix()), &error)) << error.toStdString();
        EXPECT_FALSE(sink->save(QStringLiteral("/dev/full"), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(text.textRows().line(text.textRows().lineCount() - 1), TextRow(layout, fields, first + 1 / 144.0, formats));
    EXPECT_EQ(book.sheet().workbook().cell(8, 3).number, -1201);

    // appended rows: the heading once, again only where the source sends a new one
    CsvSink csv;
    const QString path = dir.filePath(QStringLiteral("rows.csv"));
    ASSERT_TRUE(csv.Open(path));
    const RecordHeading heading{layout, {QStringLiteral("A"), QStringLiteral("B")}, first, {}, {}, {}};
    const std::vector<QString> row{QStringLiteral("1"), QStringLiteral("2")};
    for (bool again : {false, false, true}) {
        if (again || csv.rows() == 0)
            csv.heading(heading);
        EXPECT_TRUE(csv.row({first, row, kinds}));
    }
    EXPECT_TRUE(csv.end(true));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "A;B\r\n1;2\r\n1;2\r\nA;B\r\n1;2\r\n");
}

TEST(Sheet, HeadingRowsAndChartRange)
{
    SheetRig rig(fieldsFor(1, 1, 0, {0, 1, 3, 6, 8}), false);
    const Workbook &book = rig.sheet.workbook();
    EXPECT_EQ(book.cellText(2, 1), "Messdaten QT 8800 - Programm QT8800.EXE Vers. 1.0.0");
    EXPECT_EQ(book.cellText(3, 1), "Serien-Nr.: 88000123");
    EXPECT_EQ(book.cellText(4, 1), "Messwerte vom: 01.02.2003  - 10:30:00");
    EXPECT_EQ(book.cellText(6, 1), " Datum  ");
    EXPECT_EQ(book.cellText(6, 5), "F 0");
    EXPECT_EQ(rig.sheet.HeaderRow, 6);
    EXPECT_EQ(rig.sheet.CurrentRow, 7);
    EXPECT_EQ(rig.sheet.XAxisTitle, " Datum     Zeit   ");
    EXPECT_EQ(rig.sheet.YAxisTitle, "Ionen/cm³ ppm");

    QString error;
    EXPECT_FALSE(rig.sheet.CreateChart(QStringLiteral("t"), &error));
    EXPECT_EQ(error, "Keine Daten verfügbar!");

    rig.rows(1);
    EXPECT_EQ(book.cell(7, 3).type, Workbook::Cell::Number);
    EXPECT_EQ(book.cell(7, 3).number, -1000);
    // dates and times are values: day 37653 is 01.02.2003, 10:30 is 0.4375 of a day
    EXPECT_EQ(book.cell(7, 1).type, Workbook::Cell::Date);
    EXPECT_EQ(book.cell(7, 1).number, 37653);
    EXPECT_EQ(book.cell(7, 2).type, Workbook::Cell::Time);
    EXPECT_EQ(book.cell(7, 2).number, 0.4375);
    EXPECT_EQ(book.cellText(7, 1), "01.02.2003");
    ASSERT_TRUE(rig.sheet.CreateChart(QStringLiteral("  Titel ")));
    EXPECT_EQ(book.chart->sourceRange, "A6:E7");
    EXPECT_EQ(book.chart->tickSpacing, 2);
    EXPECT_EQ(book.chart->title, "Titel");
    EXPECT_EQ(book.chart->xAxisTitle, "Datum     Zeit");
    const ChartData data = book.chartData();
    EXPECT_EQ(data.categories, QStringList{"01.02.2003 10:30:00"});
    EXPECT_EQ(data.times, (std::vector<std::optional<QDateTime>>{QDateTime(QDate(2003, 2, 1), QTime(10, 30), Qt::UTC)}));
    ASSERT_EQ(data.series.size(), 3u);
    EXPECT_EQ(data.series[0].name, "Ionen Avg");
    EXPECT_EQ(data.series[2].values, (std::vector<std::optional<double>>{2.5}));
}

TEST(Sheet, TickSpacingFollowsTheRowCount)
{
    for (const auto &[rows, spacing] : {std::pair{25, 2}, {8, 9}, {9, 1}, {99, 10}}) {
        SheetRig rig(fieldsFor(0, 0, 0, {3}), false);
        rig.rows(rows);
        ASSERT_TRUE(rig.sheet.CreateChart(QString()));
        EXPECT_EQ(rig.sheet.workbook().chart->tickSpacing, spacing) << rows;
        EXPECT_EQ(rig.sheet.workbook().chart->sourceRange, QStringLiteral("A6:A%1").arg(6 + rows));
        EXPECT_TRUE(rig.sheet.workbook().chart->xAxisTitle.isEmpty());
    }
}

TEST(Sheet, AxisTitlesFromWhatIsSelected)
{
    SheetRig analogOnly(fieldsFor(1, 0, 0, {5, 6}), false, QStringLiteral("ppm"));
    EXPECT_EQ(analogOnly.sheet.YAxisTitle.trimmed(), "ppm");
    SheetRig sensorsOnly(fieldsFor(0, 1, 0, {5}), false);
    EXPECT_TRUE(sensorsOnly.sheet.YAxisTitle.isEmpty());
}

TEST(Sheet, ColumnsBeyondZGetTwoLetters)
{
    EXPECT_EQ(Workbook::ColumnName(1), "A");
    EXPECT_EQ(Workbook::ColumnName(26), "Z");
    EXPECT_EQ(Workbook::ColumnName(27), "AA");
    EXPECT_EQ(Workbook::ColumnName(52), "AZ");
    EXPECT_EQ(Workbook::ColumnName(53), "BA");
    EXPECT_EQ(Workbook::ColumnName(703), "AAA");
    TBlockHeader h;
    h.HasAnalog = 1;
    h.HumMaskLow = h.HumMaskHigh = h.TempMaskLow = h.TempMaskHigh = 255;
    MeasureFields all = BuildFieldList(h, QStringLiteral("A"));
    for (TField &f : all)
        f.Selected = true;
    SheetRig rig(all, true);
    rig.rows(2);
    ASSERT_TRUE(rig.sheet.CreateChart(QString()));
    EXPECT_EQ(rig.sheet.LastCol, 43);
    EXPECT_EQ(rig.sheet.workbook().chart->sourceRange, "A6:AQ8");
    // the column of the other polarity stays empty
    EXPECT_EQ(rig.sheet.workbook().cell(7, 3).type, Workbook::Cell::Number);
    EXPECT_EQ(rig.sheet.workbook().cell(7, 6).type, Workbook::Cell::Empty);
}

TEST(Sheet, SuggestedNamesAndTitle)
{
    const QDateTime when(QDate(2003, 2, 1), QTime(10, 30, 0));
    EXPECT_EQ(SheetExport::SuggestedSaveName(QStringLiteral(" /home/u/Daten "), when),
              "/home/u/Daten/QT8800_20030201103000.xlsx");
    EXPECT_EQ(SheetExport::SuggestedSaveName(QStringLiteral("/d/"), when), "/d/QT8800_20030201103000.xlsx");
    EXPECT_EQ(SheetExport::SuggestedSaveName(QStringLiteral("x"), when), "QT8800_20030201103000.xlsx");
    EXPECT_EQ(SheetExport::SuggestedSaveName(QString(), when), "QT8800_20030201103000.xlsx");
    EXPECT_EQ(SheetExport::DefaultChartTitle(at(2003, 2, 1, 10, 30, 0)), "QT8800-Daten vom 01.02.2003 - 10:30:00");
}

TEST(Sheet, TemplatesTheWorkbookCannotUseAreRefused)
{
    QTemporaryDir dir;
    SheetExport sheet;
    QString error;
    EXPECT_TRUE(sheet.StartSpreadsheet(dir.filePath(QStringLiteral("absent.XLS")), 0, {}, &error));
    const QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    QBuffer good;
    good.open(QIODevice::WriteOnly);
    TestTemplate().write(good, {}, nullptr);
    Xlsx::Package notABook;
    notABook.setPart(QStringLiteral("readme.txt"), "no workbook");
    QBuffer other;
    other.open(QIODevice::WriteOnly);
    notABook.write(other, {}, nullptr);
    Xlsx::Package noRows = TestTemplate();
    noRows.setPart(QStringLiteral("xl/worksheets/sheet1.xml"), "<worksheet/>");
    QBuffer rowless;
    rowless.open(QIODevice::WriteOnly);
    noRows.write(rowless, {}, nullptr);
    const std::pair<const char *, QByteArray> refused[] = {
        {"old binary, not converted", compound + QByteArray(504, '\0')},
        {"password-protected", compound + QByteArray(100, '\0') + QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32)},
        {"damaged zip", good.data().left(good.data().size() / 2)},
        {"zip, not a workbook", other.data()},
        {"first sheet without rows", rowless.data()},
        {"text", "Vorlage"},
    };
    for (const auto &[what, bytes] : refused) {
        const QString path = dir.filePath(QStringLiteral("Vorlage.xlsx"));
        WriteBytes(path, bytes);
        error.clear();
        EXPECT_FALSE(sheet.StartSpreadsheet(path, 0, {}, &error)) << what;
        EXPECT_EQ(error, "Arbeitstabelle konnte nicht geladen werden") << what;
        EXPECT_EQ(ReadBytes(path), bytes) << what;
    }
}

// The template's own cells, formats, sheets, names and chart carry through; it is never written.
TEST(Sheet, ATemplateIsFilledAndKeepsWhatTheRowsDoNotWrite)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("Vorlagen"))));
    const QString templ = dir.filePath(QStringLiteral("Vorlagen/Vorlage für Tests.xlsx"));
    ASSERT_TRUE(WriteTemplate(templ, TestTemplate()));
    const QByteArray original = ReadBytes(templ);
    // read from a folder nobody may write to
    std::optional<SheetRig> filled;
    {
        ReadOnlyDir readOnly(dir.filePath(QStringLiteral("Vorlagen")));
        filled.emplace(fieldsFor(1, 1, 0, {0, 1, 3, 6, 8}), false, QStringLiteral("ppm"), templ);
    }
    SheetRig &rig = *filled;
    ASSERT_TRUE(rig.started);
    rig.rows(2);
    ASSERT_TRUE(rig.sheet.CreateChart(QStringLiteral("Neu")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("Ausgabe Ä"))));
    const QString path = dir.filePath(QStringLiteral("Ausgabe Ä/QT8800 Messung.xlsx"));
    QString error;
    ASSERT_TRUE(rig.sheet.workbook().SaveAs(path, &error)) << qPrintable(error);
    EXPECT_EQ(ReadBytes(templ), original);

    const QByteArray sheet = UnzipPart(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QMap<QString, SheetCell> cells = ReadSheetCells(sheet);
    EXPECT_EQ(cells.value("A1").value, "Ionenmessung");
    EXPECT_EQ(cells.value("C6").value, "Ionen Avg");                // written over the template's "alt"
    EXPECT_EQ(cells.value("D8").value, "3.5");                      // over a shared formula's first cell ...
    EXPECT_TRUE(sheet.contains(R"(<c r="D9"><v>0</v></c>)"));        // ... whose other cells keep their value
    // formulas keep their text, not their stale results
    EXPECT_TRUE(sheet.contains(R"(<c r="M7"><f>SUM(C7:C9)</f></c>)"));
    // the first date keeps the template's bold cell format, with a date format added
    EXPECT_TRUE(sheet.contains(R"(<c r="A7" s="2"><v>37653</v>)")) << sheet.constData();
    EXPECT_TRUE(UnzipPart(path, QStringLiteral("xl/styles.xml"))
                    .contains(R"(<xf numFmtId="164" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1" applyNumberFormat="1"/>)"));
    EXPECT_TRUE(sheet.contains(R"(<col min="1" max="1" width="20" customWidth="1"/><col min="2" max="2" width="9")"));
    EXPECT_TRUE(sheet.contains(R"(<dimension ref="A1:M9"/>)"));
    EXPECT_FALSE(sheet.contains("tabSelected"));
    EXPECT_TRUE(UnzipPart(path, QStringLiteral("xl/worksheets/sheet2.xml"))
                    .contains(R"(<row r="1"><c r="A1"><f>Messdaten!C7*2</f></c></row>)"));

    const QByteArray workbook = UnzipPart(path, QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(workbook.contains(R"(<definedName name="Werte">Messdaten!$C$7:$C$100</definedName>)"));
    EXPECT_TRUE(workbook.contains(R"(<calcPr calcId="191029" fullCalcOnLoad="1"/>)"));
    EXPECT_TRUE(workbook.contains(R"(<workbookView activeTab="2"/>)"));
    EXPECT_EQ(workbook.count("<sheet "), 3);                        // the template's chart sheet is used
    EXPECT_TRUE(UnzipPart(path, QStringLiteral("xl/calcChain.xml")).isEmpty());
    EXPECT_TRUE(UnzipPart(path, QStringLiteral("xl/chartsheets/sheet1.xml")).contains(R"(tabSelected="1")"));

    // the template's chart, pointed at the rows: one series per column, the first still red
    const QByteArray chart = UnzipPart(path, QStringLiteral("xl/charts/chart1.xml"));
    EXPECT_EQ(chart.count("<c:ser>"), 3);
    EXPECT_TRUE(chart.contains("<c:tx><c:strRef><c:f>Messdaten!$C$6</c:f></c:strRef></c:tx><c:spPr><a:ln w=\"38100\">"
                               "<a:solidFill><a:srgbClr val=\"FF0000\"/>"));
    EXPECT_TRUE(chart.contains("<c:cat><c:multiLvlStrRef><c:f>Messdaten!$A$7:$B$8</c:f></c:multiLvlStrRef></c:cat>"
                               "<c:val><c:numRef><c:f>Messdaten!$C$7:$C$8</c:f></c:numRef></c:val><c:smooth val=\"0\"/>"));
    EXPECT_TRUE(chart.contains("<c:f>Messdaten!$E$7:$E$8</c:f>"));
    EXPECT_TRUE(chart.contains(R"(<a:r><a:rPr b="1" sz="1400"/><a:t>Neu</a:t></a:r>)"));
    EXPECT_FALSE(chart.contains("Vorlagentitel"));
    EXPECT_TRUE(chart.contains("<c:tickLblSkip val=\"3\"/><c:tickMarkSkip val=\"3\"/>"));
    EXPECT_TRUE(chart.contains("<a:t>Ionen/cm³ ppm</a:t>"));

    const QByteArray core = UnzipPart(path, QStringLiteral("docProps/core.xml"));
    EXPECT_TRUE(core.contains("<dc:title>Daten vom 01.02.2003 - 10:30:00</dc:title><dc:creator>QT 8800</dc:creator>"
                              "<dc:description>bleibt</dc:description>"));
}

TEST(Sheet, AMacroTemplateMakesAMacroWorkbook)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    QTemporaryDir dir;
    const QString templ = dir.filePath(QStringLiteral("Vorlage.xlsm"));
    ASSERT_TRUE(WriteTemplate(templ, TestTemplate(true)));
    SheetRig rig(fieldsFor(0, 0, 0, {3}), false, QString(), templ);
    rig.rows(2);
    Workbook &book = rig.sheet.workbook();
    EXPECT_EQ(book.fileSuffix(), "xlsm");
    EXPECT_EQ(SheetExport::SuggestedSaveName(QString(), QDateTime(QDate(2003, 2, 1), QTime(10, 30)), book.fileSuffix()),
              "QT8800_20030201103000.xlsm");
    // kept as .xlsm; as .xlsx, which cannot hold macros, without them
    for (const auto &[name, macros] : {std::pair{"m.xlsm", true}, {"m.xlsx", false}}) {
        const QString path = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(book.SaveAs(path));
        EXPECT_EQ(UnzipPart(path, QStringLiteral("xl/vbaProject.bin")), macros ? "macro project" : "") << name;
        EXPECT_EQ(UnzipPart(path, QStringLiteral("xl/_rels/workbook.xml.rels")).contains("vbaProject"), macros) << name;
        EXPECT_EQ(UnzipPart(path, QStringLiteral("[[]Content_Types].xml")).contains("macroEnabled.main+xml"), macros) << name;
    }
}

TEST(Sheet, NothingToChartGivesNoChartSheet)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    QTemporaryDir dir;
    SheetRig rig(fieldsFor(0, 0, 0, {0, 1}), false);
    rig.rows(2);
    QString error;
    EXPECT_FALSE(rig.sheet.CreateChart(QStringLiteral("t"), &error));
    EXPECT_EQ(error, "Keine Daten verfügbar!");
    const QString path = dir.filePath(QStringLiteral("d.xlsx"));
    ASSERT_TRUE(rig.sheet.workbook().SaveAs(path));
    EXPECT_EQ(UnzipPart(path, QStringLiteral("xl/workbook.xml")).count("<sheet "), 1);
    EXPECT_TRUE(UnzipPart(path, QStringLiteral("xl/charts/chart1.xml")).isEmpty());
}

// Times alone take the first record's day, and the next one after midnight.
TEST(Sheet, ChartTimesWithoutADateColumnRunOverMidnight)
{
    SheetRig rig(fieldsFor(0, 0, 0, {1, 3}), false, QString(), QString(), at(2003, 2, 1, 23, 50, 0));
    rig.rows(3);
    ASSERT_TRUE(rig.sheet.CreateChart(QString()));
    const ChartData data = rig.sheet.workbook().chartData();
    EXPECT_EQ(data.categories, (QStringList{"23:50:00", "00:00:00", "00:10:00"}));
    EXPECT_EQ(data.times, (std::vector<std::optional<QDateTime>>{QDateTime(QDate(2003, 2, 1), QTime(23, 50), Qt::UTC),
                                                                 QDateTime(QDate(2003, 2, 2), QTime(0, 0), Qt::UTC),
                                                                 QDateTime(QDate(2003, 2, 2), QTime(0, 10), Qt::UTC)}));
    SheetRig ionsOnly(fieldsFor(0, 0, 0, {3}), false);
    ionsOnly.rows(1);
    ASSERT_TRUE(ionsOnly.sheet.CreateChart(QString()));
    EXPECT_EQ(ionsOnly.sheet.workbook().chartData().times, (std::vector<std::optional<QDateTime>>{std::nullopt}));
}

TEST(Sheet, WrittenWorkbookReadsBack)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    QTemporaryDir dir;
    SheetRig rig(fieldsFor(1, 1, 0, {0, 1, 2, 4, 6, 8}), true);
    rig.rows(3);
    Workbook &book = rig.sheet.workbook();
    EXPECT_FALSE(book.Saved);
    ASSERT_TRUE(rig.sheet.CreateChart(QStringLiteral("Messung & <Test>")));
    const QString path = dir.filePath(QStringLiteral("QT8800_20030201103000.xlsx"));
    QString error;
    ASSERT_TRUE(book.SaveAs(path, &error)) << qPrintable(error);
    EXPECT_TRUE(book.Saved);

    const QMap<QString, SheetCell> cells = ReadSheetCells(UnzipPart(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    auto text = [](const char *value) { return SheetCell{QStringLiteral("inlineStr"), QString::fromUtf8(value)}; };
    auto number = [](const char *value) { return SheetCell{QStringLiteral("n"), QString::fromLatin1(value)}; };
    EXPECT_EQ(cells.value("A2"), text("Messdaten QT 8800 - Programm QT8800.EXE Vers. 1.0.0"));
    EXPECT_EQ(cells.value("A4"), text("Messwerte vom: 01.02.2003  - 10:30:00"));
    EXPECT_FALSE(cells.contains("A5"));
    EXPECT_EQ(cells.value("C6"), text("Neg.Ionen Min"));
    EXPECT_EQ(cells.value("H6"), text("F 0"));
    EXPECT_EQ(cells.value("A7"), number("37653"));
    EXPECT_EQ(cells.value("B8"), number("0.4444444444444444"));     // 10:40:00
    // row 7 is negative: its values stand in the Neg. columns, the Pos. ones stay empty
    EXPECT_EQ(cells.value("C7"), number("1000"));
    EXPECT_FALSE(cells.contains("E7"));
    EXPECT_EQ(cells.value("E8"), number("1001"));
    EXPECT_EQ(cells.value("G9"), number("4.5"));
    EXPECT_EQ(cells.value("H9"), number("4.5"));
    EXPECT_FALSE(cells.contains("A10"));

    const QByteArray chart = UnzipPart(path, QStringLiteral("xl/charts/chart1.xml"));
    ASSERT_FALSE(chart.isEmpty());
    EXPECT_TRUE(chart.contains("<c:lineChart>"));
    EXPECT_EQ(chart.count("<c:ser>"), 6);                       // C..H; A and B are the categories
    EXPECT_TRUE(chart.contains("<c:tx><c:strRef><c:f>Tabelle1!$C$6</c:f>"));
    EXPECT_TRUE(chart.contains("<c:val><c:numRef><c:f>Tabelle1!$H$7:$H$9</c:f>"));
    // the dates over the times of day
    EXPECT_TRUE(chart.contains("<c:cat><c:multiLvlStrRef><c:f>Tabelle1!$A$7:$B$9</c:f>"));
    EXPECT_TRUE(chart.contains("Messung &amp; &lt;Test&gt;"));
    EXPECT_TRUE(chart.contains("Datum     Zeit"));
    EXPECT_TRUE(chart.contains("Ionen/cm³ ppm"));
    EXPECT_TRUE(chart.contains("<c:legendPos val=\"t\"/>"));
    EXPECT_TRUE(chart.contains("<c:tickLblSkip val=\"4\"/><c:tickMarkSkip val=\"4\"/>"));
    EXPECT_TRUE(chart.contains("<c:crossBetween val=\"between\"/>"));
    EXPECT_EQ(chart.count("<c:majorGridlines/>"), 2);
    EXPECT_FALSE(chart.contains("minorGridlines"));
    const qsizetype plotArea = chart.indexOf("</c:valAx>");
    EXPECT_TRUE(chart.mid(plotArea, 120).contains("<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/>"));

    const QByteArray core = UnzipPart(path, QStringLiteral("docProps/core.xml"));
    EXPECT_TRUE(core.contains("<dc:creator>QT 8800</dc:creator>"));
    EXPECT_TRUE(core.contains("<dc:title>Daten vom 01.02.2003 - 10:30:00</dc:title>"));
    // shown as the text shows them
    const QByteArray styles = UnzipPart(path, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(styles.contains(R"(formatCode="dd\.mm\.yyyy")")) << styles.constData();
    EXPECT_TRUE(styles.contains(R"(formatCode="hh:mm:ss")"));
    const QByteArray workbook = UnzipPart(path, QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(workbook.contains("name=\"Tabelle1\""));
    EXPECT_TRUE(workbook.contains("name=\"Diagramm1\""));
}

TEST(Sheet, AFailedSaveKeepsTheOldFileAndTheFlag)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.xlsx"));
    WriteBytes(path, "old workbook");
    SheetRig rig(fieldsFor(0, 0, 0, {3}), false);
    rig.rows(2);
    {
        ReadOnlyDir readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a directory read-only here";
        QString error;
        EXPECT_FALSE(rig.sheet.workbook().SaveAs(path, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(rig.sheet.workbook().Saved);
    EXPECT_EQ(ReadBytes(path), QByteArray("old workbook"));
}
