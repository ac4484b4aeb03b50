// qt8800-cli against the stand-in instrument over a pseudo-terminal: every command, its
// files compared with what the core layers write for the same block, and its exit codes.
#include "CliTestSupport.h"
#include "MeasureTestSupport.h"

#include "cli/DownloadCommand.h"
#include "files/ParameterFile.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "measure/MemoryReader.h"
#include "measure/SystemFormats.h"
#include "sim/PtyServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Sink : Link::StatusSink
{
    QStringList errors;
    void StatusMessage(const QString &text, bool error) override
    {
        if (error)
            errors << text;
    }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the windows take for a read when the page shows its defaults.
Measure::ReadOptions pageOptions(QChar decimal = u'.', bool twoColumns = false, bool skipAlarm = false)
{
    Measure::ReadOptions o;
    o.formats = Measure::SystemDisplayFormats(QLocale::system(), decimal);
    o.twoColumns = twoColumns;
    o.skipAlarm = skipAlarm;
    o.valueAtZero = QStringLiteral("0");
    o.valueAtTen = QStringLiteral("10");
    o.analogName = QStringLiteral("Extern");
    o.analogUnit = QStringLiteral("Volt");
    o.serialNumber = QStringLiteral("88000123");
    o.programVersion = QStringLiteral(QT8800_VERSION);
    return o;
}

class CliOnSim : public testing::Test
{
protected:
    QTemporaryDir dir;
    Sim::Instrument instrument;
    Sim::PtyServer server{instrument};
    QByteArrayList served;

    void SetUp() override
    {
        instrument.fillDemoMemory();
        if (server.start(dir.filePath("COM1")).isEmpty())
            GTEST_SKIP() << "no pseudo-terminal available";
        QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) { served << r.left(3); });
    }

    CliRun cli(const QStringList &args) { return RunCli(args, dir.path()); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // The same block read by the core layers through the same line, after the program is done.
    struct CoreRead
    {
        Link::Tables tables;
        Sink sink;
        Link::SerialLink serial{sink, nullptr};
        std::unique_ptr<Link::ProtocolEngine> engine;
        std::unique_ptr<Measure::MemoryReader> reader;
    };
    std::unique_ptr<CoreRead> coreRead(int index, Measure::ExportTarget target, const QList<bool> &marks,
                                       const Measure::ReadOptions &options)
    {
        auto core = std::make_unique<CoreRead>();
        Link::BuildTables(core->tables);
        core->engine = std::make_unique<Link::ProtocolEngine>(core->tables, core->serial, core->sink);
        QObject::connect(&core->serial, &Link::SerialLink::telegramReceived, core->engine.get(),
                         &Link::ProtocolEngine::RunProtocolEngine);
        core->serial.setBaseDir(dir.path());
        core->serial.SetPortParams(9600, "n", 8, 1);
        EXPECT_TRUE(core->serial.OpenPort("COM1"));
        core->reader = std::make_unique<Measure::MemoryReader>(*core->engine);
        core->engine->setAbandonBlockRead([r = core->reader.get()] { r->AbandonBlockRead(); });
        core->reader->setOptions(options);
        auto settle = [&] { return QTest::qWaitFor([&] { return core->reader->isIdle() && core->engine->isIdle(); }, 10000); };
        core->reader->LoadDirectory();
        EXPECT_TRUE(settle());
        EXPECT_TRUE(core->reader->BuildFieldList(index));
        const QString nr = QString::number(core->reader->directory()[std::size_t(index)].BlockNr);
        EXPECT_TRUE(core->reader->ReadSelectedBlock(target, nr, marks));
        EXPECT_TRUE(settle());
        EXPECT_TRUE(core->reader->lastReadComplete());
        EXPECT_TRUE(core->sink.errors.isEmpty()) << qPrintable(core->sink.errors.join('\n'));
        return core;
    }
    QByteArray coreText(int index, const QList<bool> &marks, const Measure::ReadOptions &options)
    {
        return coreRead(index, Measure::TargetText, marks, options)->reader->textRows().bytes();
    }

    void setConfig(Sim::Instrument &i)
    {
        i.range = 3;
        i.polarity = 1;
        i.polInter = "01:30:00";
        i.zeroAtStart = 1;
        i.anaOut = 1;
        i.outMeas = 3;
        i.language = 1;
        i.anaIn = 0;
        i.memEnd = 1;
        i.startDate = "24.12";
        i.startTime = "08:15:00";
        i.duration = "0100:30";
        i.measInt = "00:00:30";
        i.polAlter = 1;
        i.startMode = 1;
    }
};

} // namespace

TEST_F(CliOnSim, InfoShowsDeviceAndStatus)
{
    instrument.alarmMask = 9;
    instrument.recording = true;
    instrument.memUse = 47;
    const CliRun run = cli({"info"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(served, (QByteArrayList{"GIN", "GST", "GDA"}));
    const QStringList lines = run.lines();
    ASSERT_EQ(lines.size(), 8) << qPrintable(run.out);
    EXPECT_EQ(lines[0], "Serien-Nr.: 88000123");
    EXPECT_EQ(lines[1], "Version: 2.13");
    EXPECT_EQ(lines[2], "Betriebsstunden: 1234");
    EXPECT_TRUE(lines[3].startsWith("Datum und Uhrzeit: " + QDate::currentDate().toString("dd.MM.yyyy"))) << qPrintable(lines[3]);
    EXPECT_EQ(lines[4], "Manuelle Speicherung: läuft");
    EXPECT_EQ(lines[6], "Speicher belegt: 47 %");
    EXPECT_EQ(lines[7], "Alarme: Messwertüberlauf, Fehler Lüfter");
    EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
}

// English from the English module beside the program: --language for one run, otherwise the
// window program's choice in the parameter file, which also gives configuration files English keys.
TEST_F(CliOnSim, SpeaksEnglishWhenAskedOrWhenTheProgramIsSetToIt)
{
    instrument.memUse = 47;
    CliRun run = cli({"info", "--language", "en"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
    const QStringList lines = run.lines();
    ASSERT_EQ(lines.size(), 8) << qPrintable(run.out);
    EXPECT_EQ(lines[0], "Serial no.: 88000123");
    EXPECT_EQ(lines[2], "Operating hours: 1234");
    EXPECT_EQ(lines[6], "Memory in use: 47 %");

    Files::ParamRecord param;
    Files::SelectionRecord selection;
    Files::SetParamDefaults(param, dir.path());
    Files::SetSelectionDefaults(selection);
    param.ProgramLanguage = 1;
    ASSERT_TRUE(Files::WriteParameterFile(dir.path(), param, selection));
    setConfig(instrument);
    run = cli({"read-config", "en.QT8"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QByteArray english = readAll(path("en.QT8"));
    EXPECT_TRUE(english.startsWith("[HEADER]\r\n")) << english.constData();
    EXPECT_TRUE(english.contains("\r\nRange=3\r\n")) << english.constData();
    EXPECT_FALSE(english.contains("Messbereich"));
    // the option wins over the file, and a file in the other language reads as well
    run = cli({"--language=de", "write-config", "en.QT8", "--port", "COM1"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    run = cli({"frobnicate"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith("qt8800-cli: Unknown command: frobnicate\n")) << qPrintable(run.err);
}

TEST_F(CliOnSim, ConfigurationReadWrittenToAnotherInstrumentAndReadBackIsTheSameFile)
{
    setConfig(instrument);
    CliRun run = cli({"read-config", "a.QT8"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(served.size(), 18);
    const QByteArray a = readAll(path("a.QT8"));
    for (const char *line : {"\r\nMessbereich=3\r\n", "\r\nPolarit\xe4t=1\r\n", "\r\nAusgabe=3\r\n", "\r\nStartZeit=08:15:00\r\n",
                             "\r\nSpeicherDauer=0100:30\r\n", "\r\nSpeicherintervall=00:00:30\r\n", "\r\nTimerAktiv=1\r\n",
                             "\r\nNameAnalogEingang=Extern\r\n", "\r\nWertSkalaEnde=10\r\n"})
        EXPECT_TRUE(a.contains(line)) << line << "\n" << a.constData();
    EXPECT_TRUE(a.contains("\r\nStartDatum=24.12." + QByteArray::number(QDate::currentDate().year()) + "\r\n"));

    // a second instrument with the factory settings takes it and gives the same file back
    Sim::Instrument second;
    Sim::PtyServer secondServer{second};
    ASSERT_FALSE(secondServer.start(dir.filePath("COM2")).isEmpty());
    served.clear();
    run = cli({"write-config", "a.QT8", "--port", "COM2"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(served.isEmpty());      // nothing went to the first instrument
    EXPECT_EQ(second.range, 3);
    EXPECT_EQ(second.outMeas, 3);
    EXPECT_EQ(second.startDate, "24.12");
    EXPECT_EQ(second.startTime, "08:15:00");
    EXPECT_EQ(second.duration, "0100:30");
    EXPECT_EQ(second.polInter, "01:30:00");
    EXPECT_EQ(second.startMode, 1);
    run = cli({"read-config", "b.QT8", "--port", "COM2"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    QList<QByteArray> linesA = a.split('\n'), linesB = readAll(path("b.QT8")).split('\n');
    ASSERT_EQ(linesA.size(), linesB.size());
    // only the time of writing and the file's own name differ
    linesA.remove(1, 2);
    linesB.remove(1, 2);
    EXPECT_EQ(linesA, linesB);
}

TEST_F(CliOnSim, WriteConfigSendsNothingFromAnUnfitFile)
{
    ASSERT_EQ(cli({"read-config", "good.QT8"}).exitCode, 0);
    const QByteArray good = readAll(path("good.QT8"));
    auto writeFile = [&](const QString &name, QByteArray content) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    QByteArray noRange = good;
    noRange.replace("Messbereich=0\r\n", "");
    writeFile("norange.QT8", noRange);
    QByteArray badTime = good;
    badTime.replace("StartZeit=12:00:00", "StartZeit=25:99");
    writeFile("badtime.QT8", badTime);
    QByteArray noName = good;
    noName.replace("NameAnalogEingang=Extern\r\n", "");
    writeFile("noname.QT8", noName);

    served.clear();
    CliRun run = cli({"write-config", "norange.QT8"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Messbereich")) << qPrintable(run.err);
    run = cli({"write-config", "badtime.QT8"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("StartZeit")) << qPrintable(run.err);
    run = cli({"write-config", "missing.QT8"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(served.isEmpty()) << served.join(' ').constData();

    // a value only the program keeps may be missing: the instrument gets the whole configuration
    run = cli({"write-config", "noname.QT8"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("NameAnalogEingang")) << qPrintable(run.err);
    EXPECT_EQ(served.size(), 15);
}

TEST_F(CliOnSim, SetClockPutsTheInstrumentOnTheComputersTime)
{
    instrument.clockOffsetSecs = -5 * 86400 + 1234;
    const CliRun run = cli({"set-clock"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(served, (QByteArrayList{"SDA"}));
    EXPECT_LE(std::abs(instrument.clockOffsetSecs), 1);
    EXPECT_TRUE(run.out.startsWith("Uhr des QT 8800 gestellt: " + QDate::currentDate().toString("dd.MM.yyyy")))
        << qPrintable(run.out);
}

TEST_F(CliOnSim, DirectoryListsTheBlocks)
{
    const CliRun run = cli({"directory"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList lines = run.lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Nr;Datum;Zeit;Intervall;Analog;Feuchte;Temperaur;Gelöscht");
    const Measure::DisplayFormats f = Measure::SystemDisplayFormats(QLocale::system(), u'.');
    EXPECT_EQ(lines[2], "2;" + QDate(2026, 12, 1).toString(f.dateFormat) + ";" + QTime(9, 0).toString(f.timeFormat)
                            + ";0:05:00;Ein;2;1;3");

    instrument.blocks.clear();
    EXPECT_EQ(cli({"directory"}).lines().size(), 1);
}

TEST_F(CliOnSim, DownloadedTextFilesAreWhatTheCoreWrites)
{
    instrument.fillDemoMemory(20);
    CliRun run = cli({"download", "--csv", "out"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList names{"QT8800_20261130090000.csv", "QT8800_20261201091500.csv", "QT8800_20261202160000.csv"};
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files), names);
    EXPECT_EQ(run.lines(), (QStringList{"out/" + names[0], "out/" + names[1], "out/" + names[2]}));
    const int fieldCounts[] = {5, 11, 9};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readAll(path("out/" + names[i])), coreText(i, QList<bool>(fieldCounts[i], true), pageOptions()))
            << qPrintable(names[i]);

    // the options reach the rows: the third block, date, time and the ions by polarity, with ","
    run = cli({"download", "3", "--csv", "opt", "--fields", "datetime,ions", "--decimal", ",", "--two-columns",
               "--skip-alarm"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    QList<bool> marks(9, false);
    for (int i : {0, 1, 2, 3, 4})
        marks[i] = true;
    const QByteArray expected = coreText(2, marks, pageOptions(u',', true, true));
    EXPECT_EQ(readAll(path("opt/" + names[2])), expected);
    EXPECT_TRUE(expected.contains("Neg.Ionen Avg"));
}

TEST_F(CliOnSim, DownloadedWorkbookIsWhatTheCoreWrites)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    instrument.fillDemoMemory(8);
    const CliRun run = cli({"download", "2", "--xlsx", "out", "--decimal", ","});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QString file = path("out/QT8800_20261201091500.xlsx");
    ASSERT_TRUE(QFile::exists(file));
    auto core = coreRead(1, Measure::TargetSheet, QList<bool>(11, true), pageOptions(u','));
    const double first = core->reader->directory()[1].FirstRecordTime;
    EXPECT_EQ(QFileInfo(file).fileName(), Measure::SheetExport::SuggestedSaveName(QString(), Measure::DaysToDateTime(first)));
    ASSERT_TRUE(core->reader->CreateChart(Measure::SheetExport::DefaultChartTitle(first)));
    const QString expected = path("core.xlsx");
    ASSERT_TRUE(core->reader->SaveWorkbook(expected));
    for (const char *part : {"xl/worksheets/sheet1.xml", "xl/charts/chart1.xml", "xl/workbook.xml"}) {
        const QByteArray got = UnzipPart(file, part);
        EXPECT_FALSE(got.isEmpty()) << part;
        EXPECT_EQ(got, UnzipPart(expected, part)) << part;
    }
    EXPECT_EQ(ReadSheetCells(UnzipPart(file, "xl/worksheets/sheet1.xml")).value("C6").value, "Ionen Min");
}

TEST_F(CliOnSim, AnExistingFileIsKeptUnlessForced)
{
    QDir().mkpath(path("out"));
    const QString third = path("out/QT8800_20261202160000.csv");
    QFile f(third);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();

    served.clear();
    CliRun run = cli({"download", "--all", "--csv", "out"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("QT8800_20261202160000.csv")) << qPrintable(run.err);
    EXPECT_EQ(readAll(third), "keep me");
    // checked before any record was asked for: nothing else was written
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(served.contains("GFM"));

    run = cli({"download", "3", "--csv", "out", "--force"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(readAll(third).startsWith("Messdaten"));
}

TEST_F(CliOnSim, ExitCodesForWhatGoesWrong)
{
    QFile blocker(path("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case
    {
        const char *name;
        QStringList args;
        int code;
        const char *says;
    } cases[] = {
        {"bad use", {"download", "--csv"}, 2, "braucht einen Wert"},
        {"unknown block", {"download", "7", "--csv", "out"}, 2, "Block 7"},
        {"unknown field", {"download", "--csv", "out", "--fields", "Ionen Avg,Wind"}, 2, "Wind"},
        {"missing port", {"info", "--port", "nodevice"}, 1, "nodevice"},
        {"unwritable folder", {"download", "--csv", "plain/sub"}, 3, "plain/sub"},
        {"unwritable live file", {"live", "--interval", "1", "--csv", "plain/x.csv"}, 3, "plain/x.csv"},
        {"unwritable log", {"info", "--log", "plain/logs"}, 3, "plain/logs"},
    };
    for (const Case &c : cases) {
        served.clear();
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.exitCode, c.code) << c.name << ": " << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << c.name << ": " << qPrintable(run.err);
        EXPECT_FALSE(served.contains("GFM")) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(path("out/QT8800_20261130090000.csv")));
}

TEST_F(CliOnSim, AnInstrumentThatFailsEndsWithOneAndLeavesNoFile)
{
    instrument.faults.silence = 1;
    CliRun run = cli({"read-config", "silent.QT8"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("antwortet nicht")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("(COM1 = " + server.devicePath() + ", 9600 Baud)")) << qPrintable(run.err);
    EXPECT_FALSE(QFile::exists(path("silent.QT8")));

    // the instrument refuses memory reads while it records
    instrument.recording = true;
    run = cli({"download", "--csv", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Speicherung")) << qPrintable(run.err);
    EXPECT_TRUE(QDir(path("out")).entryList(QDir::Files).isEmpty());

    // silence in the middle of a block, not to be asked again: that block's file is not written
    instrument.recording = false;
    instrument.fillDemoMemory(30);
    served.clear();
    QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) {
        if (served.count("GNM") == 10)
            instrument.faults.silence = 1;
        Q_UNUSED(r);
    });
    run = cli({"download", "2", "--csv", "out", "--retries", "0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QDir(path("out")).entryList(QDir::Files).isEmpty());
}

// Silence for a directory entry and for a record, a record spoilt on the line: each starts its
// chain over, and the file holds every record once, as an undisturbed read writes it.
TEST_F(CliOnSim, DownloadStartsAChainOverAndWritesEachRecordOnce)
{
    instrument.fillDemoMemory(30);
    int gnh = 0, gnm = 0;
    QObject::connect(&server, &Sim::PtyServer::requestServed, [&](const QByteArray &r) {
        if (r.startsWith("GNH") && ++gnh == 1)
            instrument.faults.silence = 1;
        if (!r.startsWith("GNM"))
            return;
        if (++gnm == 10)
            instrument.faults.silence = 1;
        else if (gnm == 25)
            instrument.faults.badChecksum = 1;
    });
    const CliRun run = cli({"download", "2", "--csv", "out"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(readAll(path("out/QT8800_20261201091500.csv")), coreText(1, QList<bool>(11, true), pageOptions()));
    EXPECT_GT(gnm, 40);
}

TEST_F(CliOnSim, LiveAppendsStampedRows)
{
    CliRun run = cli({"live", "--interval", "0.2", "--for", "1.1", "--csv", "live.csv"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    run = cli({"live", "--interval", "0.2", "--for", "0.5", "--csv", "live.csv", "--decimal", ","});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList lines = QString::fromUtf8(readAll(path("live.csv"))).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 1 + 4 + 2);
    EXPECT_LE(lines.size(), 1 + 7 + 4);
    EXPECT_EQ(lines[0], "Datum;Zeit;Messbereich;Ionen;Extern [V];F 3;T 3");
    EXPECT_EQ(lines.count(lines[0]), 1);       // the second run goes on under the same heading
    const QRegularExpression row(R"(^[^;]+;(\d\d):(\d\d):(\d\d)[.,](\d\d\d);1;\d+;\d+[.,]\d{3};45[.,]6;21[.,]5$)");
    qint64 previous = -1;
    for (int i = 1; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = row.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(lines[i]);
        qint64 ms = ((m.captured(1).toInt() * 60 + m.captured(2).toInt()) * 60 + m.captured(3).toInt()) * 1000
                    + m.captured(4).toInt();
        if (previous >= 0) {
            if (ms < previous)      // across midnight
                ms += 86400000;
            EXPECT_GE(ms - previous, 100) << qPrintable(lines[i]);
        }
        previous = ms;
    }
    EXPECT_TRUE(lines.last().contains(",")); // the second run's decimals
}

TEST_F(CliOnSim, LiveStopsWithOneWhenTheInstrumentFallsSilent)
{
    int asked = 0;
    QObject::connect(&server, &Sim::PtyServer::requestServed, [&](const QByteArray &) {
        if (++asked == 3)
            instrument.faults.silence = 1;
    });
    const CliRun run = cli({"live", "--interval", "0.2", "--csv", "live.csv", "--retries", "0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("antwortet nicht")) << qPrintable(run.err);
    // the rows it got are there, each one whole
    const QByteArray csv = readAll(path("live.csv"));
    EXPECT_EQ(csv.count("\r\n"), 1 + 3);
    EXPECT_TRUE(csv.endsWith("\r\n"));
}

// A missed reply, a cut one, and the adapter pulled and plugged in again: the recording goes
// on, and an empty row stands where values are missing.
TEST_F(CliOnSim, LiveSurvivesSilenceACutReplyAndALostPort)
{
    int asked = 0;
    QObject::connect(&server, &Sim::PtyServer::requestServed, [&](const QByteArray &) {
        if (++asked == 3)
            instrument.faults.silence = 1;
        else if (asked == 6)
            instrument.faults.truncate = 1;
        else if (asked == 9)
            instrument.faults.closeLine = true;
    });
    QObject::connect(&server, &Sim::PtyServer::delivered, [&](const Sim::Served &served) {
        if (served.faults.contains("close"))
            QTimer::singleShot(1500, &server, [&] { server.start(path("COM1")); });
    });
    const CliRun run = cli({"live", "--interval", "0.2", "--for", "8", "--csv", "live.csv"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("Schnittstelle COM1 ist wieder verfügbar und wurde geöffnet.")) << qPrintable(run.err);
    const QByteArray csv = readAll(path("live.csv"));
    EXPECT_EQ(csv.count("\r\n\r\n"), 3) << csv.constData();
    EXPECT_EQ(csv.count("Datum;"), 1);
    EXPECT_GT(csv.mid(csv.lastIndexOf("\r\n\r\n")).count("\r\n"), 5);    // rows after the adapter's return
}

TEST_F(CliOnSim, SignalsEndLiveWithItsRowsAndAbandonADownload)
{
    instrument.fillDemoMemory(3000);
    auto startCli = [&](QProcess &p, const QStringList &args) {
        p.setWorkingDirectory(dir.path());
        p.start(QT8800_CLI_PATH, args);
        return p.waitForStarted(5000);
    };
    auto ended = [](QProcess &p) { return QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 10000); };

    QProcess live;
    ASSERT_TRUE(startCli(live, {"live", "--interval", "0.1", "--csv", "live.csv"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return readAll(path("live.csv")).count("\r\n") >= 3; }, 10000));
    live.terminate();
    ASSERT_TRUE(ended(live));
    EXPECT_EQ(live.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(live.exitCode(), 0) << live.readAllStandardError().constData();
    EXPECT_TRUE(readAll(path("live.csv")).endsWith("\r\n"));

    served.clear();
    QProcess download;
    ASSERT_TRUE(startCli(download, {"download", "2", "--csv", "out"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return served.count("GNM") >= 50; }, 10000));
    download.terminate();
    ASSERT_TRUE(ended(download));
    EXPECT_EQ(download.exitCode(), 1);
    EXPECT_TRUE(download.readAllStandardError().contains("Abgebrochen"));
    EXPECT_TRUE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(CliProgram, LinksNoWindowLibrary)
{
    QProcess ldd;
    ldd.start("ldd", {QT8800_CLI_PATH});
    if (!ldd.waitForStarted(5000))
        GTEST_SKIP() << "no ldd";
    ASSERT_TRUE(ldd.waitForFinished(10000));
    const QString libs = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libs.contains("libQt6Core")) << qPrintable(libs);
    EXPECT_TRUE(libs.contains("libQt6SerialPort"));
    for (const char *window : {"libQt6Gui", "libQt6Widgets", "libQt6Charts", "libGL", "libX11", "libxcb"})
        EXPECT_FALSE(libs.contains(window)) << window;
}

TEST(CliProgram, HelpForEveryCommandAndUsageErrorsOnStderr)
{
    QTemporaryDir dir;
    for (const char *command : {"info", "read-config", "write-config", "set-clock", "directory", "download", "live"}) {
        const CliRun run = RunCli({command, "--help"}, dir.path());
        EXPECT_EQ(run.exitCode, 0) << command;
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Aufruf: qt8800-cli ") + command)) << command;
    }
    const CliRun overview = RunCli({"--help"}, dir.path());
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.out.contains("download [BLOCK...|--all]"));
    const CliRun bad = RunCli({"frobnicate"}, dir.path());
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_TRUE(bad.err.startsWith("qt8800-cli: Unbekannter Befehl: frobnicate\nqt8800-cli: Hilfe: qt8800-cli --help"))
        << qPrintable(bad.err);
}
