// Replaying a traffic log: what is taken from a log, and a session replayed against the
// program's own link giving the same telegrams and values as the session that wrote it.
#include "sim/PtyServer.h"
#include "sim/TrafficReplay.h"

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/TrafficLog.h"
#include "measure/MemoryReader.h"
#include "model/FieldStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Sim::TrafficReplay;

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

// A log written by the program's own writer.
class LogFile
{
public:
    LogFile()
    {
        log.setDirectory(dir.path());
        log.OpenTrafficLog();
    }
    void pc(const QByteArray &request) { log.WriteTrafficLine(QStringLiteral("PC"), request + "\r\n"); }
    void qt(const QByteArray &reply) { log.WriteTrafficLine(QStringLiteral("QT8800"), reply + "\r\n"); }
    void con(const QString &message) { log.WriteTrafficText(QStringLiteral("Con"), message); }
    QByteArray bytes()
    {
        QFile f(log.fileName());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    Sink sink;
    Link::TrafficLog log{sink};
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sender and data columns of a log's entries: what went over the line, without the times.
QList<QByteArray> entries(const QByteArray &log)
{
    QList<QByteArray> out;
    for (const QByteArray &line : log.split('\n')) {
        const QList<QByteArray> columns = line.split('\t');
        if (columns.size() == 3 && (columns[0] == "PC" || columns[0] == "QT8800"))
            out << columns[0] + '\t' + columns[2].trimmed();
    }
    return out;
}

} // namespace

TEST(TrafficReplay, UnescapesOnlyWhatTheLogEscapes)
{
    EXPECT_EQ(TrafficReplay::Unescape("GIN;00281<13><10>"), QByteArray("GIN;00281\r\n"));
    EXPECT_EQ(TrafficReplay::Unescape("M<252>nchen"), QByteArray("M\xfcnchen"));
    // printable codes, numbers past a byte and broken brackets are text someone typed
    EXPECT_EQ(TrafficReplay::Unescape("<65><300><1x><><13"), QByteArray("<65><300><1x><><13"));
}

TEST(TrafficReplay, AnswersEachRequestWithWhatFollowedItInTurn)
{
    LogFile file;
    file.pc("GIN;00281");
    file.qt("TIN;1;2;3;00621");
    file.pc("GNM;2;00453");
    file.qt("TNM;2;first;00000");
    file.pc("GNM;2;00453");                  // asked again: the next record
    file.qt("TNM;2;second;00000");
    file.pc("GST;00297");                    // no answer: the instrument was silent here
    file.con(QStringLiteral("QT 8800 antwortet nicht"));
    file.pc("GST;00297");
    file.qt("TST;0;0;0;0;12;00896");
    file.qt("TST;0;0;0;0;12;00896");         // and sent it twice
    file.log.OpenTrafficLog();               // a restart line in the middle
    file.pc("GNM;2;00453");
    file.qt("TNM;0;00000");
    file.log.CloseTrafficLog();

    QString error;
    QStringList warnings;
    std::optional<TrafficReplay> replay = TrafficReplay::Parse(file.bytes(), &error, &warnings);
    ASSERT_TRUE(replay) << qPrintable(error);
    EXPECT_TRUE(warnings.isEmpty()) << qPrintable(warnings.join('\n'));
    EXPECT_EQ(replay->exchangeCount(), 6);
    EXPECT_EQ(replay->requestCount(), 3);

    EXPECT_EQ(replay->handle("GIN;00281\r\n"), QByteArray("TIN;1;2;3;00621\r\n"));
    EXPECT_EQ(replay->handle("GIN;00281"), QByteArray("TIN;1;2;3;00621\r\n"));   // the last one again
    EXPECT_EQ(replay->handle("GNM;2;00453\r\n"), QByteArray("TNM;2;first;00000\r\n"));
    EXPECT_EQ(replay->handle("GNM;2;00453\r\n"), QByteArray("TNM;2;second;00000\r\n"));
    EXPECT_EQ(replay->handle("GNM;2;00453\r\n"), QByteArray("TNM;0;00000\r\n"));
    EXPECT_EQ(replay->handle("GNM;2;00453\r\n"), QByteArray("TNM;0;00000\r\n"));
    EXPECT_TRUE(replay->handle("GST;00297\r\n").isEmpty());
    EXPECT_EQ(replay->handle("GST;00297\r\n"), QByteArray("TST;0;0;0;0;12;00896\r\nTST;0;0;0;0;12;00896\r\n"));
    // never asked in the log, or asked with another checksum: no answer
    EXPECT_FALSE(replay->knows("GAM;00270\r\n"));
    EXPECT_TRUE(replay->handle("GAM;00270\r\n").isEmpty());
    EXPECT_TRUE(replay->handle("GIN;00282\r\n").isEmpty());
}

TEST(TrafficReplay, RefusesWhatIsNoTrafficLog)
{
    LogFile file;
    file.pc("GIN;00281");
    file.qt("TIN;1;2;3;00621");
    const QByteArray good = file.bytes();
    const qsizetype headingEnd = good.indexOf("------") + 76;

    struct Case
    {
        const char *name;
        QByteArray bytes;
        const char *reason;
    } cases[] = {
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "binary"},
        {"binary inside", QByteArray(good).insert(headingEnd + 4, '\0'), "binary"},
        {"another program", "Sender\tZeit\tDaten\nPC\t10:00\tGIN;00281<13><10>\n", "first line"},
        {"empty", "", "first line"},
        {"heading cut off", good.left(good.indexOf("Sender")), "heading"},
        {"no request", good.left(headingEnd), "no request"},
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_FALSE(TrafficReplay::Parse(c.bytes, &error).has_value()) << c.name;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << c.name << ": " << qPrintable(error);
    }

    // a log cut off in its last line: that line is left out, and said so
    QStringList warnings;
    QString error;
    std::optional<TrafficReplay> cut = TrafficReplay::Parse(good.left(good.size() - 6), &error, &warnings);
    ASSERT_TRUE(cut) << qPrintable(error);
    EXPECT_EQ(warnings.size(), 1);
    EXPECT_TRUE(cut->handle("GIN;00281\r\n").isEmpty());
}

// A customer's session: the configuration (F5), the directory and a block, logged by the
// program. Replayed by the stand-in program, the same session gets the same replies.
class ReplayedSession : public testing::Test
{
protected:
    QTemporaryDir dir;

    struct Session
    {
        Link::Tables tables;
        Model::FieldStore store{tables.Fields};
        Sink sink;
        Link::TrafficLog log{sink};
        Link::SerialLink serial{sink, &log};
        std::unique_ptr<Link::ProtocolEngine> engine;
        std::unique_ptr<Measure::MemoryReader> reader;

        bool open(const QString &base, const QString &port, const QString &logDir)
        {
            Link::BuildTables(tables);
            log.setDirectory(logDir);
            log.setLogging(true);
            engine = std::make_unique<Link::ProtocolEngine>(tables, serial, sink, &log);
            QObject::connect(&serial, &Link::SerialLink::telegramReceived, engine.get(),
                             &Link::ProtocolEngine::RunProtocolEngine);
            reader = std::make_unique<Measure::MemoryReader>(*engine);
            engine->setAbandonBlockRead([this] { reader->AbandonBlockRead(); });
            serial.setBaseDir(base);
            return serial.SetPortParams(9600, "n", 8, 1) && serial.OpenPort(port);
        }
        bool settle(int ms = 10000)
        {
            return QTest::qWaitFor([this] { return reader->isIdle() && engine->isIdle(); }, ms);
        }
        void run()
        {
            engine->ReadConfigFromDevice();
            ASSERT_TRUE(settle());
            reader->LoadDirectory();
            ASSERT_TRUE(settle());
            ASSERT_TRUE(reader->BuildFieldList(1));
            ASSERT_TRUE(reader->ReadSelectedBlock(reader->textSink(), QStringLiteral("2"), QList<bool>(11, true)));
            ASSERT_TRUE(settle());
            log.CloseTrafficLog();
        }
    };
};

TEST_F(ReplayedSession, GivesTheSameTelegramsAndValues)
{
    Sim::Instrument instrument;
    instrument.fillDemoMemory(12);
    instrument.range = 4;
    instrument.startDate = "03.07";
    Sim::PtyServer server{instrument};
    if (server.start(dir.filePath("COM1")).isEmpty())
        GTEST_SKIP() << "no pseudo-terminal available";
    QDir().mkpath(dir.filePath("customer"));
    Session customer;
    ASSERT_TRUE(customer.open(dir.path(), "COM1", dir.filePath("customer")));
    customer.run();
    ASSERT_TRUE(customer.sink.errors.isEmpty()) << qPrintable(customer.sink.errors.join('\n'));
    const QString customerLog = customer.log.fileName();
    server.stop();

    QProcess sim;
    sim.start(QT8800_SIM_PATH, {"--replay", customerLog, "--link", dir.filePath("COM2")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000)) << sim.readAllStandardError().constData();
    QDir().mkpath(dir.filePath("service"));
    Session service;
    ASSERT_TRUE(service.open(dir.path(), "COM2", dir.filePath("service"))) << qPrintable(service.serial.LastPortError());
    service.run();
    EXPECT_TRUE(service.sink.errors.isEmpty()) << qPrintable(service.sink.errors.join('\n'));

    const QList<QByteArray> asked = entries(readAll(customerLog));
    EXPECT_EQ(asked.size(), 2 * (18 + 5 + 13));     // every request with its reply
    EXPECT_EQ(entries(readAll(service.log.fileName())), asked);
    for (const Model::TVComp &field : Model::FieldTable)
        EXPECT_EQ(service.store.value(field.id), customer.store.value(field.id)) << int(field.id);
    EXPECT_EQ(service.reader->textRows().bytes(), customer.reader->textRows().bytes());
    EXPECT_EQ(service.store.value(Model::Field::Range), "4");

    // a request the customer's program never sent gets no answer
    service.engine->setNoAnswerCount(0);
    service.engine->QueueOrder(Link::Order::GAM);
    ASSERT_TRUE(service.settle(8000));
    ASSERT_EQ(service.sink.errors.size(), 1);
    EXPECT_TRUE(service.sink.errors[0].contains("antwortet nicht")) << qPrintable(service.sink.errors[0]);

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_TRUE(sim.readAllStandardError().contains("not in the log, no answer: GAM"));
}

TEST(ReplayProgram, RefusesUnusableLogsWithExitTwo)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const struct
    {
        QStringList args;
        const char *says;
    } cases[] = {
        {{"--replay", write("picture.txt", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10))}, "binary"},
        {{"--replay", write("notes.txt", "Shopping list\nmilk\n")}, "not a traffic log"},
        {{"--replay", dir.filePath("missing.txt")}, "cannot read"},
        {{"--replay", write("notes2.txt", "x\n"), "--fault", "silence:1"}, "cannot be combined"},
    };
    for (const auto &c : cases) {
        QProcess sim;
        sim.start(QT8800_SIM_PATH, c.args + QStringList{"--link", dir.filePath("COM1")});
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 2) << c.says;
        EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(sim.readAllStandardError().contains(c.says)) << c.says;
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("COM1")));
    }
}
