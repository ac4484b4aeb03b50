// The memory reader on the real protocol engine: against the stand-in instrument over a
// pseudo-terminal, and against scripted replies for what no instrument sends on purpose.
#include "FakePort.h"
#include "MeasureTestSupport.h"
#include "TestDirs.h"

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "measure/CurrentValues.h"
#include "measure/MemoryReader.h"
#include "sim/PtyServer.h"
#include "xlsx/Book.h"
#include "xlsx/TemplateConverter.h"

#include <QProcess>
#include <QUrl>
#include <QTemporaryDir>
#include <QTest>

#include <deque>

#include <gtest/gtest.h>

using namespace Measure;

namespace {

using Sink = RecordingSink;

struct ViewLog : MemoryView
{
    QStringList events;
    void DirectoryCleared() override { events << "cleared"; }
    void DirectoryRowAdded(int index) override { events << QStringLiteral("row %1").arg(index); }
    void DirectoryFinished() override { events << "finished"; }
    void FieldListBuilt(int index) override { events << QStringLiteral("fields %1").arg(index); }
    MemoryReader *reader = nullptr;
    void ReadStarted(const TBlockHeader &b) override
    {
        events << QStringLiteral("start %1 block %2").arg(reader && reader->sink() == &reader->textSink() ? 0 : 1).arg(b.BlockNr);
    }
    void RowsWritten(int rows) override
    {
        ++textBatches;
        sheetRows = rows;
        if (onTextLines)
            onTextLines();
    }
    std::function<void()> onTextLines;
    void ReadEnded() override { events << "ended"; }
    int textBatches = 0;
    int sheetRows = 0;
};

ReadOptions textOptions()
{
    ReadOptions o;
    o.formats.decimalSep = u',';
    o.skipAlarm = true;
    o.serialNumber = QStringLiteral("88000123");
    o.analogName = QStringLiteral("Druck");
    o.analogUnit = QStringLiteral("hPa");
    o.programVersion = QStringLiteral("1.0.0");
    return o;
}

QList<bool> marks(int count, std::initializer_list<int> on)
{
    QList<bool> out(count, false);
    for (int p : on)
        out[p] = true;
    return out;
}

} // namespace

class ReaderOnSim : public testing::Test
{
protected:
    QTemporaryDir dir;
    Sim::Instrument instrument;
    Sim::PtyServer server{instrument};
    Link::Tables tables;
    Sink sink;
    Link::SerialLink serial{sink, nullptr};
    std::unique_ptr<Link::ProtocolEngine> engine;
    std::unique_ptr<MemoryReader> reader;
    ViewLog view;
    QByteArrayList served;

    void SetUp() override
    {
        Link::BuildTables(tables);
        instrument.fillDemoMemory();
        if (server.start(dir.path() + "/COM1").isEmpty())
            GTEST_SKIP() << "no pseudo-terminal available";
        QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) { served << r.left(3); });
        engine = std::make_unique<Link::ProtocolEngine>(tables, serial, sink);
        QObject::connect(&serial, &Link::SerialLink::telegramReceived, engine.get(),
                         &Link::ProtocolEngine::RunProtocolEngine);
        serial.setBaseDir(dir.path());
        ASSERT_TRUE(serial.SetPortParams(38400, "n", 8, 1));
        ASSERT_TRUE(serial.OpenPort("COM1")) << qPrintable(serial.LastPortError());
        reader = std::make_unique<MemoryReader>(*engine);
        reader->setView(&view);
        view.reader = reader.get();
        reader->setOptions(textOptions());
        engine->setAbandonBlockRead([this] { reader->AbandonBlockRead(); });
    }

    bool settle(int ms = 8000)
    {
        return QTest::qWaitFor([this] { return reader->isIdle() && engine->isIdle(); }, ms);
    }
    void loadDirectory()
    {
        reader->LoadDirectory();
        ASSERT_TRUE(settle());
        ASSERT_EQ(reader->directory().size(), instrument.blocks.size());
        served.clear();
        view.events.clear();
        sink.messages.clear();
    }
};

TEST_F(ReaderOnSim, DirectoryOfThreeBlocks)
{
    reader->LoadDirectory();
    EXPECT_FALSE(reader->isIdle());
    reader->LoadDirectory();                          // a second click while reading does nothing
    ASSERT_TRUE(settle());
    EXPECT_EQ(served, (QByteArrayList{"GIN", "GFH", "GNH", "GNH", "GNH"}));
    EXPECT_EQ(view.events, (QStringList{"cleared", "row 0", "row 1", "row 2", "finished"}));
    EXPECT_EQ(sink.messages, (QStringList{"I:Messwertverzeichnis wird eingelesen ...", "I:Messwertverzeichnis ist eingelesen."}));
    const MeasureDirectory &d = reader->directory();
    EXPECT_EQ(DirectoryRowTexts(d[1], {}), (QStringList{"2", "01.12.2026", "09:00:00", "0:05:00", "Ein", "2", "1", "3"}));
    EXPECT_TRUE(reader->fields().empty());
    ASSERT_TRUE(reader->BuildFieldList(2));
    EXPECT_EQ(reader->fields().back().Caption, "T F");
    EXPECT_EQ(reader->fields()[7].Caption, "F 8");
    ASSERT_TRUE(reader->BuildFieldList(1));
    EXPECT_EQ(reader->fields()[5].Caption, "Druck-Min");
    EXPECT_FALSE(reader->BuildFieldList(3));
}

TEST_F(ReaderOnSim, OneBlockIsOfferedAtOnceNoneLeavesTheGridEmpty)
{
    instrument.blocks.resize(1);
    reader->LoadDirectory();
    ASSERT_TRUE(settle());
    EXPECT_EQ(view.events, (QStringList{"cleared", "row 0", "fields 0", "finished"}));
    EXPECT_EQ(reader->fields().size(), 5u);

    instrument.blocks.clear();
    view.events.clear();
    reader->LoadDirectory();
    ASSERT_TRUE(settle());
    EXPECT_EQ(view.events, (QStringList{"cleared", "finished"}));
    EXPECT_TRUE(reader->fields().empty());
    EXPECT_EQ(sink.messages.last(), "I:Messwertverzeichnis ist eingelesen.");
}

TEST_F(ReaderOnSim, BlockToTextSkipsTheAlarmRecordAndReportsTheFaultyOne)
{
    instrument.blocks[2].records[7].garbled = true;
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(2));
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral(" 3"), marks(9, {0, 1, 3, 7, 8})));
    ASSERT_TRUE(settle());
    EXPECT_EQ(served.size(), 13);                    // GFM, eleven GNM, and the one that found the end
    EXPECT_EQ(view.events, (QStringList{"fields 2", "start 0 block 3", "ended"}));
    EXPECT_EQ(sink.errors(), QStringList{" Convert-Error at Ionen AvgRecord: TNM;3;0;0;-;1025;12x4;1135;0:47.0;2:52.0;"
                                         "8:61.4;31:20.6;"});
    EXPECT_EQ(sink.messages.last(), "I:Alle Sätze aus Block 3 gelesen.");
    EXPECT_TRUE(reader->lastReadComplete());        // a faulty record does not cut the block short

    const QString path = dir.filePath("block3.csv");
    ASSERT_TRUE(reader->SaveText(path));
    // every stamp on the hourly grid from 16:00 (two records overwritten), the alarm record
    // at 20:00 and the faulty one at 23:00 leave their gaps
    EXPECT_EQ(ReadBytes(path), QByteArray("Messdaten Ionomter QT 8800\r\n\r\n"
                                          "Serien-Nr. 88000123\r\n\r\n"
                                          "Messwerte vom: 02.12.2026  - 16:00:00\r\n\r\n"
                                          " Datum  ;  Zeit  ;Ionen Avg;F 8;T F\r\n"
                                          "02.12.2026;16:00:00;     900;    61,4;    18,5\r\n"
                                          "02.12.2026;17:00:00;    -925;    61,4;    18,8\r\n"
                                          "02.12.2026;18:00:00;     950;    61,4;    19,1\r\n"
                                          "02.12.2026;19:00:00;    -975;    61,4;    19,4\r\n"
                                          "02.12.2026;21:00:00;   -1025;    61,4;    20,0\r\n"
                                          "02.12.2026;22:00:00;    1050;    61,4;    20,3\r\n"
                                          "03.12.2026;00:00:00;    1100;    61,4;    20,9\r\n"
                                          "03.12.2026;01:00:00;   -1125;    61,4;    21,2\r\n"
                                          "03.12.2026;02:00:00;    1150;    61,4;    21,5\r\n"
                                          "03.12.2026;03:00:00;   -1175;    61,4;    21,8\r\n"));
    EXPECT_EQ(sink.messages.last(), "I:Daten gespeichert.");
    EXPECT_EQ(sink.mirrored.last(), "Daten gespeichert.");

    // a folder that takes no files: the old file stays whole, the rows stay, the message says so
    {
        ReadOnlyDir readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a directory read-only here";
        reader->textRows().appendLine(QStringLiteral("more"));
        EXPECT_FALSE(reader->SaveText(path));
    }
    EXPECT_EQ(sink.errors().last(), "Daten konnten nicht gespeichert werden! (keine Berechtigung)");
    EXPECT_TRUE(ReadBytes(path).endsWith("   -1175;    61,4;    21,8\r\n"));
    EXPECT_EQ(reader->textRows().lineCount(), 7 + 10 + 1);
}

TEST_F(ReaderOnSim, CancelEndsTheReadAtTheNextReply)
{
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(1));
    QObject::connect(&server, &Sim::PtyServer::requestServed, reader.get(), [this] {
        if (served.size() == 6)
            reader->CancelRead();
    });
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("2"), marks(11, {1, 3})));
    ASSERT_TRUE(settle());
    EXPECT_EQ(served.size(), 6);                     // no request after the cancelled one
    EXPECT_EQ(reader->textRows().lineCount(), 7 + 5);
    EXPECT_EQ(sink.errors(), QStringList{"Lesen der Messwerte abgebrochen"});
    EXPECT_EQ(sink.mirrored.last(), "Lesen der Messwerte abgebrochen");
    EXPECT_EQ(view.events, (QStringList{"fields 1", "start 0 block 2", "ended"}));
    EXPECT_TRUE(reader->isIdle());
    EXPECT_FALSE(reader->lastReadComplete());
}

TEST_F(ReaderOnSim, MemoryReadsAreRefusedWhileRecording)
{
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(0));
    instrument.recording = true;
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("1"), marks(5, {3})));
    ASSERT_TRUE(settle());
    EXPECT_EQ(served, (QByteArrayList{"GFM", "GFM"}));        // retried once
    EXPECT_EQ(sink.errors(), QStringList{"Funktion nicht während Speicherung möglich."});
    EXPECT_EQ(view.events, (QStringList{"fields 0", "start 0 block 1", "ended"}));
    EXPECT_EQ(reader->textRows().lineCount(), 0);
    EXPECT_FALSE(reader->lastReadComplete());

    served.clear();
    view.events.clear();
    reader->LoadDirectory();
    ASSERT_TRUE(settle());
    EXPECT_EQ(served, (QByteArrayList{"GIN", "GFH", "GFH"}));
    EXPECT_EQ(view.events, (QStringList{"cleared", "finished"}));
    EXPECT_TRUE(reader->isIdle());
}

TEST_F(ReaderOnSim, ATimeOutMidChainKeepsTheRowsWritten)
{
    loadDirectory();
    // a read that went to its end before does not make this one complete
    ASSERT_TRUE(reader->BuildFieldList(0));
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("1"), marks(5, {3})));
    ASSERT_TRUE(settle());
    ASSERT_TRUE(reader->lastReadComplete());
    served.clear();
    view.events.clear();
    sink.messages.clear();
    ASSERT_TRUE(reader->BuildFieldList(1));
    QObject::connect(&server, &Sim::PtyServer::requestServed, reader.get(), [this] {
        if (served.size() == 8)
            instrument.faults.silence = 1;
    });
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("2"), marks(11, {0, 1, 3})));
    ASSERT_TRUE(settle(10000));
    EXPECT_EQ(served.size(), 9);
    EXPECT_EQ(sink.errors(), QStringList{"QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird "
                                         "abgebrochen. (COM1 = " + server.devicePath() + ", 38400 Baud)"});
    EXPECT_EQ(view.events, (QStringList{"fields 1", "start 0 block 2", "ended"}));
    ASSERT_EQ(reader->textRows().lineCount(), 7 + 8);
    EXPECT_FALSE(reader->lastReadComplete());
    // the header of block 2: 01.12.2026 09:00, three of five minutes overwritten
    EXPECT_EQ(reader->textRows().line(7).left(20), "01.12.2026;09:15:00;");
    EXPECT_EQ(reader->textRows().line(14).left(20), "01.12.2026;09:50:00;");
}

// The instrument moves on with every entry it sends: asking again after a damaged reply would
// fetch the next entry in the lost one's place, under its time stamp.
TEST_F(ReaderOnSim, ADamagedRecordIsReportedAndTheNextKeepsItsOwnStamp)
{
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(2));
    // the instrument's faults strike its next reply, the line's the reply on its way out
    QObject::connect(&server, &Sim::PtyServer::requestServed, reader.get(), [this] {
        if (served.size() == 2)
            instrument.faults.badChecksum = 1;    // the third record
        if (served.size() == 6)
            instrument.faults.garbage = 1;        // a line of junk before the sixth
        if (served.size() == 8)
            instrument.faults.noise = 1;          // noise run into the eighth
    });
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("3"), marks(9, {0, 1, 3})));
    ASSERT_TRUE(settle(15000));
    EXPECT_EQ(served.size(), 13);                    // no record asked for twice
    const QStringList errors = sink.errors();
    ASSERT_EQ(errors.size(), 2) << qPrintable(errors.join('\n'));
    EXPECT_TRUE(errors[0].startsWith("Prüfsummenfehler.Record: TNM;3;0;0;+;900;950;1010;")) << qPrintable(errors[0]);
    EXPECT_TRUE(errors[1].startsWith("Prüfsummenfehler.Record: ")) << qPrintable(errors[1]);
    EXPECT_TRUE(errors[1].contains("TNM;3;0;0;-;1025;1075;1135;")) << qPrintable(errors[1]);
    EXPECT_EQ(sink.messages.last(), "I:Alle Sätze aus Block 3 gelesen.");
    // the lost records leave gaps at 18:00 and 23:00, the alarm record at 20:00
    QStringList rows;
    for (int i = 7; i < reader->textRows().lineCount(); ++i)
        rows << reader->textRows().line(i);
    EXPECT_EQ(rows, (QStringList{"02.12.2026;16:00:00;     900", "02.12.2026;17:00:00;    -925",
                                 "02.12.2026;19:00:00;    -975", "02.12.2026;21:00:00;   -1025",
                                 "02.12.2026;22:00:00;    1050", "03.12.2026;00:00:00;    1100",
                                 "03.12.2026;01:00:00;   -1125", "03.12.2026;02:00:00;    1150",
                                 "03.12.2026;03:00:00;   -1175"}));
}

TEST_F(ReaderOnSim, ADamagedHeaderIsReportedAndTheDirectoryGoesOn)
{
    QObject::connect(&server, &Sim::PtyServer::requestServed, reader.get(), [this] {
        if (served.size() == 2)
            instrument.faults.badChecksum = 1;    // the header of block 2
    });
    reader->LoadDirectory();
    ASSERT_TRUE(settle(8000));
    EXPECT_EQ(served, (QByteArrayList{"GIN", "GFH", "GNH", "GNH", "GNH"}));
    ASSERT_EQ(reader->directory().size(), 2u);
    EXPECT_EQ(reader->directory()[0].BlockNr, 1);
    EXPECT_EQ(reader->directory()[1].BlockNr, 3);
    ASSERT_EQ(sink.errors().size(), 1);
    EXPECT_TRUE(sink.errors()[0].startsWith("Prüfsummenfehler.Record: TNH;2;1;5;0;1;0;")) << qPrintable(sink.errors()[0]);
    EXPECT_EQ(sink.messages.last(), "I:Messwertverzeichnis ist eingelesen.");
}

TEST_F(ReaderOnSim, BlockToWorkbookWithChart)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    instrument.fillDemoMemory(4);
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(1));
    ReadOptions o = textOptions();
    o.twoColumns = true;
    reader->setOptions(o);
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->workbookSink(), QStringLiteral("2"), marks(11, {0, 1, 3, 6, 8, 10})));
    // a setting changed mid-read changes nothing of this read
    o.formats.decimalSep = u'.';
    o.twoColumns = false;
    reader->setOptions(o);
    ASSERT_TRUE(settle());
    EXPECT_EQ(view.sheetRows, 4);
    EXPECT_EQ(reader->sheet().workbook().cell(7, 3).type, Workbook::Cell::Number);   // Neg.Ionen Avg
    ASSERT_TRUE(reader->CreateChart(reader->sheet().DefaultChartTitle(reader->directory()[1].FirstRecordTime)));
    EXPECT_EQ(sink.messages.mid(sink.messages.size() - 2),
              (QStringList{"I:Diagramm wird generiert", "I:Diagramm wurde erstellt."}));
    const QString path = dir.filePath(SheetExport::SuggestedSaveName(
        QString(), DaysToDateTime(reader->directory()[1].FirstRecordTime)));
    EXPECT_TRUE(path.endsWith("QT8800_20261201091500.xlsx"));
    ASSERT_TRUE(reader->SaveWorkbook(path));
    EXPECT_TRUE(reader->sheet().workbook().Saved);

    const QMap<QString, SheetCell> cells = ReadSheetCells(UnzipPart(path, "xl/worksheets/sheet1.xml"));
    EXPECT_EQ(cells.value("A3").value, "Serien-Nr.: 88000123");
    EXPECT_EQ(cells.value("C6").value, "Neg.Ionen Avg");
    EXPECT_EQ(cells.value("D6").value, "Pos.Ionen Avg");
    EXPECT_EQ(cells.value("E6").value, "Druck-Avg");
    EXPECT_EQ(cells.value("F6").value, "F 0");
    EXPECT_EQ(cells.value("G6").value, "T 0");
    EXPECT_EQ(cells.value("B10"), (SheetCell{"n", "0.3958333333333333"}));     // 09:30:00
    EXPECT_EQ(cells.value("C7"), (SheetCell{"n", "2500"}));
    EXPECT_FALSE(cells.contains("D7"));
    EXPECT_EQ(cells.value("E7"), (SheetCell{"n", "2"}));                // "    2,000" as typed
    EXPECT_EQ(cells.value("F7"), (SheetCell{"n", "45"}));
    EXPECT_FALSE(cells.contains("A11"));
    const QByteArray chart = UnzipPart(path, "xl/charts/chart1.xml");
    EXPECT_TRUE(chart.contains("<c:f>Tabelle1!$G$7:$G$10</c:f>"));
    EXPECT_TRUE(chart.contains("QT8800-Daten vom 01.12.2026 - 09:15:00"));
    EXPECT_TRUE(chart.contains("Ionen/cm³ hPa"));
}

// An old binary template is converted while the event loop goes on, once, and then filled;
// without LibreOffice the read does not start and the message says what to do.
TEST_F(ReaderOnSim, AnOldBinaryTemplateIsConvertedFirst)
{
    instrument.fillDemoMemory(4);
    loadDirectory();
    ASSERT_TRUE(reader->BuildFieldList(1));
    ReadOptions o = textOptions();
    o.templateFile = dir.filePath("alt/Vorlage.xls");
    reader->setOptions(o);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("alt")));
    WriteBytes(o.templateFile, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
    {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        EXPECT_FALSE(reader->ReadSelectedBlock(reader->workbookSink(), "2", marks(11, {0, 1, 3})));
        qputenv("PATH", path);
    }
    ASSERT_EQ(sink.errors().size(), 1);
    EXPECT_TRUE(sink.errors()[0].contains(o.templateFile) && sink.errors()[0].contains("LibreOffice")) << qPrintable(sink.errors()[0]);
    EXPECT_TRUE(served.isEmpty());

    const QString soffice = Xlsx::TemplateConverter::Program();
    if (soffice.isEmpty() || !HaveUnzip())
        GTEST_SKIP() << "LibreOffice (soffice) or unzip is not installed: no .xls template can be converted here";
    // an old workbook made from a template of the new kind
    const QString source = dir.filePath("Vorlage.xlsx");
    ASSERT_TRUE(WriteTemplate(source, TestTemplate()));
    QFile::remove(o.templateFile);
    QProcess convert;
    convert.start(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(), "--headless",
                            "--convert-to", "xls", "--outdir", dir.filePath("alt"), source});
    ASSERT_TRUE(convert.waitForFinished(120000));
    ASSERT_EQ(Xlsx::Book::Inspect(o.templateFile), Xlsx::Book::Kind::Binary);
    const QByteArray original = ReadBytes(o.templateFile);
    sink.messages.clear();
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->workbookSink(), "2", marks(11, {0, 1, 3})));
    EXPECT_FALSE(reader->isIdle());
    EXPECT_EQ(sink.messages, (QStringList{"I:Vorlage " + o.templateFile + " wird umgewandelt ..."}));
    ASSERT_TRUE(settle(120000));
    EXPECT_EQ(view.sheetRows, 4);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    ASSERT_TRUE(reader->CreateChart("t"));
    const QString path = dir.filePath("gefüllt.xlsx");
    ASSERT_TRUE(reader->SaveWorkbook(path));
    EXPECT_EQ(ReadBytes(o.templateFile), original);
    const QByteArray workbook = UnzipPart(path, "xl/workbook.xml");
    EXPECT_TRUE(workbook.contains(R"(name="Messdaten")") && workbook.contains(R"(name="Auswertung")")) << workbook.constData();
    EXPECT_EQ(ReadSheetCells(UnzipPart(path, "xl/worksheets/sheet1.xml")).value("C6").value, "Ionen Avg");
    // the next read takes the conversion made
    sink.messages.clear();
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->workbookSink(), "2", marks(11, {0, 1, 3})));
    ASSERT_TRUE(settle());
    EXPECT_FALSE(sink.messages.join('\n').contains("umgewandelt"));
    EXPECT_EQ(view.sheetRows, 4);
}

TEST_F(ReaderOnSim, LiveValuesReachTheSink)
{
    struct Live : CurrentValuesSink
    {
        std::vector<CurrentValues> shown;
        void ShowCurrentValues(const CurrentValues &v) override { shown.push_back(v); }
    } live;
    engine->setBlockHandler(Link::Reply::TAM,
                            [&](Link::Reply, const QString &reply) { ParseCurrentValues(reply, live, *engine); });
    engine->QueueOrder(Link::Order::GAM);
    ASSERT_TRUE(settle());
    ASSERT_EQ(live.shown.size(), 1u);
    EXPECT_EQ(live.shown[0].sensors.size(), 2u);
    EXPECT_TRUE(live.shown[0].analogVolts.has_value());
    EXPECT_TRUE(sink.errors().isEmpty());
}

TEST(ReaderOnSimProcess, TheStandInProgramServesItsMemory)
{
    QTemporaryDir dir;
    QProcess sim;
    sim.start(QT8800_SIM_PATH, {"--link", dir.path() + "/COM1", "--records", "5"});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    Link::Tables tables;
    Link::BuildTables(tables);
    Sink sink;
    Link::SerialLink serial(sink, nullptr);
    Link::ProtocolEngine engine(tables, serial, sink);
    QObject::connect(&serial, &Link::SerialLink::telegramReceived, &engine, &Link::ProtocolEngine::RunProtocolEngine);
    serial.setBaseDir(dir.path());
    ASSERT_TRUE(serial.SetPortParams(9600, "n", 8, 1));
    ASSERT_TRUE(serial.OpenPort("COM1")) << qPrintable(serial.LastPortError());
    MemoryReader reader(engine);
    engine.setAbandonBlockRead([&] { reader.AbandonBlockRead(); });
    reader.setOptions(textOptions());
    auto settle = [&] { return QTest::qWaitFor([&] { return reader.isIdle() && engine.isIdle(); }, 8000); };
    reader.LoadDirectory();
    ASSERT_TRUE(settle());
    ASSERT_EQ(reader.directory().size(), 3u);
    ASSERT_TRUE(reader.BuildFieldList(1));
    ASSERT_TRUE(reader.ReadSelectedBlock(reader.textSink(), QStringLiteral("2"), QList<bool>(11, true)));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    ASSERT_EQ(reader.textRows().lineCount(), 7 + 5);
    EXPECT_EQ(reader.textRows().line(6), " Datum  ;  Zeit  ;Ionen Min;Ionen Avg;Ionen Max;Druck-Min;Druck-Avg;Druck-Max;"
                                         "F 0;F 2;T 0");
    EXPECT_EQ(reader.textRows().line(7), "01.12.2026;09:15:00;   -2350;   -2500;   -2670;    1,000;    2,000;    3,000;"
                                         "    45,0;    51,5;    21,0");
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
}

// Replies no instrument sends on purpose, through the same engine.
class ReaderOnScript : public testing::Test
{
protected:
    Link::Tables tables;
    Sink sink;
    FakePort port;
    std::unique_ptr<Link::ProtocolEngine> engine;
    std::unique_ptr<MemoryReader> reader;
    ViewLog view;
    qint64 now = 0;     // the engine's clock: a deadline passes when a test says so

    void SetUp() override
    {
        Link::BuildTables(tables);
        port.frame = &Sim::Instrument::frame;
        engine = std::make_unique<Link::ProtocolEngine>(tables, port, sink, nullptr, [this] { return now; });
        reader = std::make_unique<MemoryReader>(*engine);
        reader->setView(&view);
        view.reader = reader.get();
        reader->setOptions(textOptions());
        engine->setAbandonBlockRead([this] { reader->AbandonBlockRead(); });
    }
    void run()
    {
        engine->RunProtocolEngine();
        QCoreApplication::processEvents();
        engine->RunProtocolEngine();
    }
    void directory(std::initializer_list<const char *> headers)
    {
        port.script.push_back("TIN;1;2;3;");
        for (const char *h : headers)
            port.script.push_back(h);
        reader->LoadDirectory();
        run();
    }
};

TEST_F(ReaderOnScript, BadHeadersAreReportedAndSkipped)
{
    directory({"TFH;1;0;1;0;0;0;01.02.2003;10:00;0:10:00;3;", "TNH;2;0;1;0;0;0;01.02.2003;10:00;0:10;3;",
               "TNH;3;1;0;0;0;0;01.02.2003;25:00;0:10:00;0;", "TNH;4;0;0;0;0;0;01.02.2003;10:00;0:10:00;0;9;9;",
               "TNH;junk;", "TNH;5;0;0;0;0;0;01.02.2003;10:00;0:10:00;0;"});
    EXPECT_TRUE(reader->isIdle());
    ASSERT_EQ(reader->directory().size(), 2u);
    EXPECT_EQ(reader->directory()[1].BlockNr, 4);                // extra tokens do no harm
    EXPECT_EQ(sink.errors(), (QStringList{" Convert Error Intervall-Time Record: TNH;2;0;1;0;0;0;01.02.2003;10:00;0:10;3;",
                                          " Convert Error Start-Time Record: TNH;3;1;0;0;0;0;01.02.2003;25:00;0:10:00;0;",
                                          "ConvertError: Record-Nr.Record: TNH;junk;"}));
    EXPECT_EQ(port.sent.size(), 6);                               // nothing asked after the unreadable number
}

TEST_F(ReaderOnScript, BadRecordsAreReportedOnceAndNoRowIsWrittenTwice)
{
    directory({"TFH;7;0;1;0;0;0;01.02.2003;10:00;0:10:00;3;", "TNH;0;"});
    ASSERT_EQ(reader->fields().size(), 6u);                       // the only block's list is offered at once
    port.script = {"TFM;7;0;0;+;1;x;3;0:1;",           // faulty first record: no heading yet
                   "TNM;7;0;0;-;1;20;3;0:40,5;",
                   "TNM;8;0;0;+;1;30;3;0:41;",          // another block's record
                   "TNM;7;0;0;+;1;40;3;0:1:2;",         // a sensor token of three parts
                   "TNM;7;0;0;+;1;50;3;0:42.5;extra;",
                   "TNM;7;0;0;+;1;60;",                 // the sensor token is missing
                   "TNM;7;0;0;+;1;70;3;0:43;",
                   "TNM;0;"};
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("7"), marks(6, {1, 3, 5})));
    run();
    EXPECT_TRUE(reader->isIdle());
    EXPECT_EQ(sink.errors(), (QStringList{" Convert-Error at Ionen AvgRecord: TFM;7;0;0;+;1;x;3;0:1;",
                                          "Block-Nr. not validRecord: TNM;8;0;0;+;1;30;3;0:41;",
                                          " Convert-Error at F 0Record: TNM;7;0;0;+;1;40;3;0:1:2;",
                                          " Token-Error at F 0Record: TNM;7;0;0;+;1;60;"}));
    const TextRows &rows = reader->textRows();
    ASSERT_EQ(rows.lineCount(), 7 + 3);
    EXPECT_EQ(rows.line(6), "  Zeit  ;Ionen Avg;F 0");
    EXPECT_EQ(rows.line(7), "10:40:00;     -20;    40,5");
    EXPECT_EQ(rows.line(8), "11:10:00;      50;    42,5");
    EXPECT_EQ(rows.line(9), "11:30:00;      70;    43,0");
    EXPECT_EQ(port.sent.size(), 3 + 8);             // GIN, GFH, GNH; GFM and seven GNM
    EXPECT_TRUE(port.sent.last().startsWith("GNM;7;"));
}

// With retries (the command line's), a chain whose request goes unanswered starts over and
// passes over what it took; starting over without getting further is given up after so many.
TEST_F(ReaderOnScript, AnUnansweredChainStartsOverAndTakesEachEntryOnce)
{
    const char *h7 = "TFH;7;0;0;0;0;0;01.02.2003;10:00;0:10:00;3;";
    engine->setNoAnswerRetries(2);
    port.script = {"TIN;1;2;3;", h7, "TNH;8;0;0;0;0;0;01.02.2003;11:00;0:10:00;3;", "", h7,
                   "TNH;8;0;0;0;0;0;01.02.2003;11:00;0:10:00;3;", "TNH;9;0;0;0;0;0;01.02.2003;12:00;0:10:00;3;", "TNH;0;"};
    reader->LoadDirectory();
    run();
    now += 3001;
    run();
    ASSERT_EQ(reader->directory().size(), 3u);
    EXPECT_EQ(reader->directory()[2].BlockNr, 9);

    const char *r10 = "TFM;7;0;0;+;1;10;3;", *r20 = "TNM;7;0;0;+;1;20;3;", *r30 = "TNM;7;0;0;+;1;30;3;";
    port.sent.clear();
    port.script = {r10, r20, "", r10, r20, r30, "", r10, r20, r30, "", r10, r20, r30, ""};
    ASSERT_TRUE(reader->BuildFieldList(0));
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("7"), marks(5, {1, 3})));
    run();
    for (int i = 0; i < 4; ++i) {
        now += 3001;
        run();
    }
    EXPECT_EQ(port.sent.size(), 15);
    EXPECT_EQ(std::count_if(port.sent.begin(), port.sent.end(), [](const QByteArray &r) { return r.startsWith("GFM"); }), 4);
    EXPECT_TRUE(reader->isIdle());
    EXPECT_FALSE(reader->lastReadComplete());
    EXPECT_EQ(sink.errors(), QStringList{"QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird abgebrochen."});
    const TextRows &rows = reader->textRows();
    ASSERT_EQ(rows.lineCount(), 7 + 3);
    EXPECT_EQ(rows.line(7), "10:30:00;      10");         // three records overwritten
    EXPECT_EQ(rows.line(8), "10:40:00;      20");
    EXPECT_EQ(rows.line(9), "10:50:00;      30");
}

TEST_F(ReaderOnScript, StartChecksAndTheLockedFieldList)
{
    EXPECT_FALSE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("1"), {}));
    EXPECT_EQ(sink.errors().last(), "Kein Messwertverzeichnis selektiert - Auslesen nicht möglich.");
    directory({"TFH;7;0;1;0;0;0;01.02.2003;10:00;0:10:00;3;", "TNH;8;1;0;0;0;0;01.02.2003;10:00;0:10:00;3;", "TNH;0;"});
    ASSERT_TRUE(reader->BuildFieldList(0));
    EXPECT_FALSE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("7"), marks(6, {})));
    EXPECT_EQ(sink.errors().last(), "Keine Felder selektiert - Auslesen nicht möglich.");
    EXPECT_FALSE(reader->ReadSelectedBlock(reader->textSink(), QString(), marks(6, {3})));
    EXPECT_EQ(sink.errors().last(), "Selektion nicht möglich");
    // the list on the page belongs to block 7: reading block 8 with it would misplace values
    EXPECT_FALSE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("8"), marks(6, {3})));
    EXPECT_EQ(sink.errors().size(), 4);

    port.script = {"TFM;7;0;0;+;1;20;3;0:40;", ""};    // then silence: the read stays open
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("7"), marks(6, {3})));
    run();
    EXPECT_FALSE(reader->BuildFieldList(1));                     // no other list while reading
    EXPECT_FALSE(reader->ReadSelectedBlock(reader->workbookSink(), QStringLiteral("7"), marks(6, {3})));
    EXPECT_EQ(reader->sink(), &reader->textSink());
    reader->CancelRead();
    EXPECT_FALSE(reader->isIdle());                              // until the outstanding reply is in
    reader->LoadDirectory();
    EXPECT_EQ(reader->directory().size(), 2u);
    reader->AbandonBlockRead();
    EXPECT_TRUE(reader->isIdle());
    EXPECT_TRUE(reader->BuildFieldList(1));
}

TEST_F(ReaderOnScript, AChainThatLosesItsRequestEnds)
{
    directory({"TFH;7;0;0;0;0;0;01.02.2003;10:00;0:10:00;3;", "TNH;0;"});
    port.script = {"TFM;7;0;0;+;1;20;3;"};
    // the adapter is gone once the first record is in: GNM cannot be sent
    view.onTextLines = [this] { port.ready = false; };
    ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("7"), marks(5, {3})));
    run();
    EXPECT_TRUE(reader->isIdle());
    EXPECT_EQ(view.events.last(), "ended");
    EXPECT_EQ(reader->textRows().lineCount(), 7 + 1);
}
