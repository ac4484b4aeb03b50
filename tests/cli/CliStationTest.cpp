// qt8800-cli where a station runs it: full disks, pipes, a closed or full stdout, an instrument
// whose directory holds an unusable entry, a line that loses replies, an adapter pulled, and
// what a failed command leaves behind.
#include "CliOnSim.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// what a station's scripts meet: a full disk, a closed or full stdout
void stdoutTo(const char *device)
{
    const int fd = ::open(device, O_WRONLY);
    ::dup2(fd, 1);
}
void fullDisk()
{
    struct rlimit limit = {1024, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

TEST_F(CliOnSim, ExitCodesForWhatGoesWrong)
{
    QFile blocker(path("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_EQ(cli({"read-config", "kept.QT8"}).exitCode, 0);
    QFile foreign(path("foreign.csv"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("Messdaten Ionomter QT 8800\r\n");
    foreign.close();
    // a workbook already there stays whole when the new one does not fit
    const QString book = path("books/QT8800_20261201091500.xlsx");
    QDir().mkpath(path("books"));
    writeAll(book, QByteArray(64 * 1024, 'x'));
    struct Case
    {
        const char *name;
        QStringList args;
        int code;
        const char *says;
        std::function<void()> inChild = {};
    } cases[] = {
        {"bad use", {"download", "--csv"}, 2, "braucht einen Wert"},
        {"unknown block", {"download", "7", "--csv", "out"}, 2, "Block 7"},
        {"unknown field", {"download", "--csv", "out", "--fields", "Ionen Avg,Wind"}, 2, "Wind"},
        {"missing port", {"info", "--port", "nodevice"}, 1, "nodevice"},
        {"file for a port", {"info", "--port", "plain"}, 1, "plain: keine serielle Schnittstelle"},
        {"unwritable folder", {"download", "--csv", "plain/sub"}, 3, "plain/sub"},
        {"unwritable live file", {"live", "--interval", "1", "--csv", "plain/x.csv"}, 3, "plain/x.csv"},
        {"live file of another program", {"live", "--interval", "1", "--csv", "foreign.csv"}, 3, "keine Aufzeichnung"},
        {"unwritable log", {"info", "--log", "plain/logs"}, 3, "plain/logs"},
        {"configuration kept", {"read-config", "kept.QT8"}, 3, "--force"},
        {"configuration to a full device", {"read-config", "/dev/full"}, 3, "Datenträger voll"},
        {"download on a full disk", {"download", "2", "--csv", "out"}, 3, "Datei zu groß", fullDisk},
        {"workbook on a full disk", {"download", "2", "--xlsx", "books", "--force"}, 3,
         "QT8800_20261201091500.xlsx kann nicht geschrieben werden: Datei zu groß",
         fullDisk},
        {"results to a full disk", {"directory"}, 3, "Standardausgabe kann nicht geschrieben werden: Datenträger voll",
         [] { stdoutTo("/dev/full"); }},
        {"help to a full disk", {"--help"}, 3, "Datenträger voll", [] { stdoutTo("/dev/full"); }},
        {"results with stdout closed", {"info"}, 3, "nicht geöffnet", [] { ::close(1); }},
        {"a block to stdout closed", {"download", "3", "--csv", "-"}, 3, "nicht geöffnet", [] { ::close(1); }},
    };
    for (const Case &c : cases) {
        served.clear();
        const CliRun run = cli(c.args, c.inChild);
        EXPECT_EQ(run.exitCode, c.code) << c.name << ": " << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << c.name << ": " << qPrintable(run.err);
        // refused before the first record, unless the refusal is the disk's or stdout's
        EXPECT_FALSE(served.contains("GFM") && !c.inChild) << c.name;
    }
    // nothing is left behind: no folder made for a download that failed, no file replaced
    EXPECT_FALSE(QFileInfo::exists(path("out")));
    EXPECT_EQ(readAll(path("foreign.csv")), "Messdaten Ionomter QT 8800\r\n");
    EXPECT_EQ(readAll(book), QByteArray(64 * 1024, 'x'));
    EXPECT_EQ(QDir(path("books")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    struct stat st = {};
    EXPECT_TRUE(::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode));
}

TEST_F(CliOnSim, PipesGetTheBytesAndAReaderThatLeavesEndsTheRun)
{
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray got;
    std::thread reader([&] { got = readAll(fifo); });
    const CliRun run = cli({"read-config", "fifo"});
    reader.join();
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(got.startsWith("[KOPF]\r\n")) << got.constData();

    // a consumer that has read enough closes the pipe: a file error, not death by SIGPIPE
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start("bash", {"-c", QStringLiteral("'%1' live --interval 0.1 --csv - | head -n 3; exit ${PIPESTATUS[0]}")
                                   .arg(QT8800_CLI_PATH)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(shell.exitCode(), 3) << shell.readAllStandardError().constData();
    EXPECT_EQ(shell.readAllStandardOutput().count('\n'), 3);

    // a workbook cannot be built in a pipe: it is built aside and sent whole, as a file gets it
    if (!HaveUnzip())
        return;
    std::thread bookReader([&] { writeAll(path("piped.xlsx"), readAll(fifo)); });
    const QByteArray fifoName = QFile::encodeName(fifo);
    const CliRun piped = cli({"download", "2", "--xlsx", "-"}, [fifoName] { stdoutTo(fifoName.constData()); });
    bookReader.join();
    ASSERT_EQ(piped.exitCode, 0) << qPrintable(piped.err);
    ASSERT_EQ(cli({"download", "2", "--xlsx", "out"}).exitCode, 0);
    for (const char *part : {"xl/worksheets/sheet1.xml", "xl/charts/chart1.xml"})
        EXPECT_EQ(UnzipPart(path("piped.xlsx"), part), UnzipPart(path("out/QT8800_20261201091500.xlsx"), part)) << part;
}

TEST_F(CliOnSim, AnUnusableDirectoryEntryIsSkippedAndTheOthersRead)
{
    // the second header comes back cut short
    QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) {
        if (r.startsWith("GFH"))
            instrument.faults.truncate = 1;
    });
    CliRun run = cli({"download", "--all", "--csv", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("übersprungen")) << qPrintable(run.err);
    EXPECT_EQ(QDir(path("out")).entryList(QDir::Files),
              (QStringList{"QT8800_20261130090000.csv", "QT8800_20261202160000.csv"}));
    run = cli({"directory"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines().size(), 3) << qPrintable(run.out);
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

// download --new over a block that grows, a line lost mid-block, and state files it must not
// trust: every record reaches its block's file once, and the state follows the files.
TEST_F(CliOnSim, DownloadNewTakesEachRecordOnce)
{
    instrument.fillDemoMemory(30);
    std::swap(instrument.blocks[1], instrument.blocks[2]);      // the climate block grows
    const QStringList args{"download", "--new", "--state", "state.json", "--csv", "out"};
    const QList<bool> all(11, true);
    const QString growing = path("out/QT8800_20261201091500.csv");
    CliRun run = cli(args);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    Sim::Block &climate = instrument.blocks[2];
    for (int i = 0; i < 10; ++i)
        climate.records.push_back(climate.records[std::size_t(i)]);
    instrument.memUse = 13;
    run = cli(args);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.lines(), QStringList{"out/QT8800_20261201091500.csv"});
    EXPECT_EQ(readAll(growing), coreText(2, all, pageOptions()));

    // a new block whose read loses the line midway: nothing of it is saved or in the state
    Sim::Block added = climate;
    added.number = 4;
    added.start = added.start.addDays(3);
    instrument.blocks.push_back(added);
    int gnm = 0;
    QObject::connect(&server, &Sim::PtyServer::delivered, [&](const Sim::Served &s) {
        if (s.code == "GNM" && s.block == 4 && ++gnm == 15)
            instrument.faults.closeLine = true;
        if (s.faults.contains("close"))
            QTimer::singleShot(500, &server, [&] { server.start(path("COM1")); });
    });
    EXPECT_EQ(cli(args).exitCode, 1);
    EXPECT_FALSE(readAll(path("state.json")).contains("\"nr\": 4"));
    EXPECT_FALSE(QFileInfo::exists(path("out/QT8800_20261204091500.csv")));
    QTest::qWait(1000);     // the line comes back
    run = cli(args);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(readAll(path("out/QT8800_20261204091500.csv")), coreText(3, all, pageOptions()));
    EXPECT_EQ(readAll(growing), coreText(2, all, pageOptions()));

    // nothing new: no record asked for, nothing written
    const QByteArray state = readAll(path("state.json"));
    const QDateTime stamp = QFileInfo(growing).lastModified();
    served.clear();
    run = cli(args);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("Keine neuen Messwerte")) << qPrintable(run.err);
    EXPECT_FALSE(served.contains("GFM"));
    EXPECT_EQ(readAll(path("state.json")), state);
    EXPECT_EQ(QFileInfo(growing).lastModified(), stamp);

    // a state it cannot trust is refused and left as it is
    const QByteArray foreign = QByteArray(state).replace("88000123", "88000999");
    const QByteArray future = QByteArray(state).replace("\"format\": 1", "\"format\": 2");
    for (const QByteArray &bad : {QByteArray("{\"format\": 1, \"serial\": "), foreign, future,
                                  QByteArray(state).replace("QT8800_", "../QT8800_")}) {
        writeAll(path("state.json"), bad);
        run = cli(args);
        EXPECT_EQ(run.exitCode, 3) << bad.constData();
        EXPECT_TRUE(run.err.contains("Zustandsdatei")) << qPrintable(run.err);
        EXPECT_EQ(readAll(path("state.json")), bad);
    }
}
