// qt8800-cli against the stand-in instrument over a pseudo-terminal: every command, and its
// files compared with what the core layers write for the same block.
#include "CliOnSim.h"

#include "cli/DownloadCommand.h"
#include "files/ParameterFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    // for scripts: JSON, and a traffic log of each run, also of two runs in one second
    const CliRun json = cli({"--log", "logs", "info", "--json"});
    ASSERT_EQ(json.exitCode, 0) << qPrintable(json.err);
    const QJsonObject info = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(info["serialNumber"].toString(), "88000123");
    EXPECT_EQ(info["memoryUsePercent"].toInt(), 47);
    EXPECT_TRUE(info["recording"].toBool());
    EXPECT_EQ(info["alarms"].toArray().size(), 2);
    EXPECT_TRUE(info.contains("latencyTimerMs") && info["latencyTimerMs"].isNull());    // a pty has no adapter timer
    EXPECT_TRUE(QDateTime::fromString(info["clock"].toString(), Qt::ISODate).isValid()) << qPrintable(json.out);
    ASSERT_EQ(cli({"--log", "logs", "info", "--iso"}).exitCode, 0);
    EXPECT_EQ(QDir(path("logs")).entryList(QDir::Files).size(), 2);
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

    QByteArray badRange = good;
    badRange.replace("Messbereich=0", "Messbereich=77");
    writeFile("badrange.QT8", badRange);

    served.clear();
    CliRun run = cli({"write-config", "badrange.QT8"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Messbereich nicht verwendbar: >77<")) << qPrintable(run.err);
    run = cli({"write-config", "norange.QT8"});
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

    // what the instrument still refuses is named beside what it took
    QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) {
        if (r.startsWith("SZP"))
            instrument.faults.errorTelegram = 2;
    });
    run = cli({"write-config", "good.QT8"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Übernommen: AnalogAusgang, NullpunktNachStart, Ausgabe")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("Nicht übernommen: PolInter.")) << qPrintable(run.err);
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

    // stable forms for scripts, whatever the locale
    EXPECT_EQ(cli({"directory", "--iso"}).lines().value(2), "2;2026-12-01;09:00:00;0:05:00;Ein;2;1;3");
    const CliRun json = cli({"directory", "--json"});
    const QJsonArray blocks = QJsonDocument::fromJson(json.out.toUtf8()).object()["blocks"].toArray();
    ASSERT_EQ(blocks.size(), 3) << qPrintable(json.out);
    EXPECT_EQ(blocks[1].toObject()["start"].toString(), "2026-12-01T09:00:00");
    EXPECT_EQ(blocks[1].toObject()["firstRecord"].toString(), "2026-12-01T09:15:00");
    EXPECT_EQ(blocks[1].toObject()["intervalSeconds"].toInt(), 300);

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

    // --iso: ISO dates and times and "." whatever the locale; one block to stdout
    run = cli({"download", "2", "--csv", "-", "--iso"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    Measure::ReadOptions iso = pageOptions();
    iso.formats = {QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm:ss"), u'.'};
    EXPECT_EQ(run.out.toUtf8(), coreText(1, QList<bool>(11, true), iso));
    EXPECT_TRUE(run.out.contains("\r\n2026-12-01;09:15:00;")) << qPrintable(run.out);
}

TEST_F(CliOnSim, DownloadedWorkbookIsWhatTheCoreWrites)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "no unzip tool";
    instrument.fillDemoMemory(8);
    const QString templ = path("Vorlage für Tests.xlsm");
    ASSERT_TRUE(WriteTemplate(templ, TestTemplate(true)));
    // a new workbook, and a template filled, each as the window writes it
    for (const QString &templateFile : {QString(), templ}) {
        const QString out = templateFile.isEmpty() ? "out" : "gefüllt";
        QStringList args{"download", "2", "--xlsx", out, "--decimal", ","};
        if (!templateFile.isEmpty())
            args << "--template" << templateFile;
        const CliRun run = cli(args);
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
        Measure::ReadOptions options = pageOptions(u',');
        options.templateFile = templateFile;
        auto core = coreRead(1, true, QList<bool>(11, true), options);
        const double first = core->reader->directory()[1].FirstRecordTime;
        const QString name = Measure::SheetExport::SuggestedSaveName(QString(), Measure::DaysToDateTime(first),
                                                                     core->reader->sheet().workbook().fileSuffix());
        EXPECT_EQ(name, templateFile.isEmpty() ? "QT8800_20261201091500.xlsx" : "QT8800_20261201091500.xlsm");
        const QString file = path(out + "/" + name);
        ASSERT_TRUE(QFile::exists(file));
        ASSERT_TRUE(core->reader->CreateChart(Measure::SheetExport::DefaultChartTitle(first)));
        const QString expected = path("core." + QFileInfo(name).suffix());
        ASSERT_TRUE(core->reader->SaveWorkbook(expected));
        for (const char *part : {"xl/worksheets/sheet1.xml", "xl/charts/chart1.xml", "xl/workbook.xml", "xl/styles.xml"}) {
            const QByteArray got = UnzipPart(file, part);
            EXPECT_FALSE(got.isEmpty()) << part;
            EXPECT_EQ(got, UnzipPart(expected, part)) << part;
        }
        EXPECT_EQ(ReadSheetCells(UnzipPart(file, "xl/worksheets/sheet1.xml")).value("C6").value, "Ionen Min");
    }
    EXPECT_EQ(UnzipPart(path("gefüllt/QT8800_20261201091500.xlsm"), "xl/vbaProject.bin"), "macro project");
}

// A template that cannot be used is named before anything is asked of the instrument.
TEST_F(CliOnSim, ATemplateThatCannotBeUsedStopsTheDownloadAtOnce)
{
    writeAll(path("kaputt.xlsx"), "PK\x03\x04 cut off");
    for (const auto &[templ, message] : {std::pair{"fehlt.xlsx", "Die Datei fehlt.xlsx kann nicht gelesen werden."},
                                         {"kaputt.xlsx", "Arbeitstabelle konnte nicht geladen werden"}}) {
        served.clear();
        const CliRun run = cli({"download", "2", "--xlsx", "out", "--template", templ});
        EXPECT_EQ(run.exitCode, 3) << templ;
        EXPECT_TRUE(run.err.contains(message)) << qPrintable(run.err);
        EXPECT_TRUE(served.isEmpty()) << templ;
    }
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

TEST_F(CliOnSim, LiveAppendsStampedRows)
{
    CliRun run = cli({"live", "--interval", "0.2", "--for", "1.1", "--csv", "live.csv"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    run = cli({"live", "--interval", "0.2", "--for", "0.5", "--csv", "live.csv", "--decimal", ","});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList lines = QString::fromUtf8(readAll(path("live.csv"))).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2 + 4 + 2);
    EXPECT_LE(lines.size(), 2 + 7 + 4);
    EXPECT_EQ(lines[0], "Datum;Zeit;Messbereich;Ionen;Extern [V];F 3;T 3");
    EXPECT_EQ(lines.count(lines[0]), 2);       // the second run's "," decimals stand under a heading of their own
    // the time in the system's form: "." between its parts on a Danish desktop
    const QRegularExpression row(R"(^[^;]+;(\d\d)[:.](\d\d)[:.](\d\d)[.,](\d\d\d);1;\d+;\d+[.,]\d{3};45[.,]6;21[.,]5$)");
    qint64 previous = -1;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i] == lines[0])
            continue;
        const QRegularExpressionMatch m = row.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(lines[i]);
        qint64 ms = ((m.captured(1).toInt() * 60 + m.captured(2).toInt()) * 60 + m.captured(3).toInt()) * 1000
                    + m.captured(4).toInt();
        if (previous >= 0) {
            if (previous - ms > 43200000)       // across midnight
                ms += 86400000;
            // each reply stamped after the one before; how far apart is the machine's load
            EXPECT_GT(ms, previous) << qPrintable(lines[i]);
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
