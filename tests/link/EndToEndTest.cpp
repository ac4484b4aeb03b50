// The link against the stand-in instrument over a real pseudo-terminal.
#include "FakePort.h"

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/TelegramCodec.h"
#include "link/TrafficLog.h"
#include "sim/PtyServer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace Link;
using Model::Field;

namespace {

struct LinkToSim : testing::Test
{
    QTemporaryDir dir;
    Sim::Instrument instrument;
    Sim::PtyServer server{instrument};
    Tables tables;
    RecordingSink sink;
    TrafficLog log{sink};
    SerialLink serial{sink, &log};
    std::unique_ptr<ProtocolEngine> engine;
    FakeView view{tables.Fields};
    QByteArrayList served;
    int abandoned = 0;
    qint64 now = 0;             // the engine's milliseconds: a deadline passes only when a test says so

    void SetUp() override
    {
        BuildTables(tables);
        if (server.start(dir.path() + "/COM1").isEmpty())
            GTEST_SKIP() << "no pseudo-terminal available";
        QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) { served << r; });
        engine = std::make_unique<ProtocolEngine>(tables, serial, sink, &log, [this] { return now; });
        engine->setAbandonBlockRead([this] { ++abandoned; });
        QObject::connect(&serial, &SerialLink::telegramReceived, engine.get(), &ProtocolEngine::RunProtocolEngine);
        QObject::connect(&serial, &SerialLink::portError, engine.get(),
                         [this](const QString &text) { engine->ReportMessage(text, true); });
        // the window's 40 ms timer runs the engine soon after; here the port's report does
        QObject::connect(&serial, &SerialLink::portError, engine.get(), &ProtocolEngine::RunProtocolEngine);
        serial.setBaseDir(dir.path());
        ASSERT_TRUE(serial.SetPortParams(38400, "n", 8, 1));
        ASSERT_TRUE(serial.OpenPort("COM1")) << qPrintable(serial.LastPortError());
    }

    // Runs the queue to its end, as the window's timer would start it.
    bool runUntilIdle(int ms = 5000)
    {
        QSignalSpy finished(engine.get(), &ProtocolEngine::queueFinished);
        engine->RunProtocolEngine();
        return engine->isIdle() || finished.wait(ms);
    }

    // once the instrument has received that many requests, the last one's time is up
    bool passDeadlineAfter(qsizetype requests)
    {
        engine->RunProtocolEngine();
        if (!QTest::qWaitFor([&] { return served.size() >= requests; }, 2000))
            return false;
        now += ProtocolEngine::kReplyTimeoutMs + 1;
        engine->RunProtocolEngine();
        return true;
    }

    // the message of a silent instrument, which names the device and speed it was asked on
    QString noAnswer() const
    {
        return "QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird abgebrochen. (COM1 = "
               + server.devicePath() + ", 38400 Baud)";
    }

    // F5 on an undisturbed line: 18 requests, no message, every field of every reply filled.
    void expectFullRead()
    {
        tables.Fields.clear();
        served.clear();
        sink.messages.clear();
        engine->ReadConfigFromDevice();
        ASSERT_TRUE(runUntilIdle());
        EXPECT_EQ(served.size(), 18);
        EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
        for (Order order : kReadConfigOrders) {
            for (Field field : replyInfo(orderInfo(order).reply).fields) {
                if (Model::fieldInfo(field).tokenPos <= 0)
                    continue;
                EXPECT_FALSE(tables.Fields[field].TelegramText.isEmpty()) << "field " << int(field);
            }
        }
        EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, instrument.serial);
        EXPECT_EQ(tables.Fields[Field::Duration].TelegramText, instrument.duration);
    }
};

QByteArrayList split(const char *lines)
{
    QByteArrayList out;
    for (const QByteArray &l : QByteArray(lines).split(' '))
        out << l + "\r\n";
    return out;
}

} // namespace

TEST_F(LinkToSim, ReadSequenceSendsExactTelegramsAndStoresEveryReply)
{
    engine->ReadConfigFromDevice();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served, split("GIN;00281 GST;00297 GDA;00263 GAO;00274 GZP;00300 GAT;00279 GDO;00277 GMT;00291 GDM;00275 "
                            "GRA;00277 GLA;00271 GSM;00290 GTI;00287 GIP;00283 GMM;00284 GAE;00264 GPT;00294 GTM;00291"));
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    const auto &f = tables.Fields;
    EXPECT_EQ(f[Field::SerialNumber].TelegramText, instrument.serial);
    EXPECT_EQ(f[Field::AnalogOut].TelegramText, QStringLiteral("2"));
    EXPECT_EQ(f[Field::StartTime].TelegramText, instrument.startTime);
    EXPECT_EQ(f[Field::Duration].TelegramText, instrument.duration);
    EXPECT_EQ(f[Field::MemoryUse].TelegramText, QString::number(instrument.memUse));
    EXPECT_EQ(f[Field::StartMode].TelegramText, QStringLiteral("0"));
}

TEST_F(LinkToSim, WriteSequenceSetsTheInstrument)
{
    const QMap<Field, QString> values{
        {Field::AnalogOut, "3"},       {Field::ZeroAtStart, "1"},     {Field::PolarityInterval, "00:05:00"},
        {Field::OutputMode, "3"},      {Field::MemoryEnd, "1"},       {Field::Duration, "0012:30"},
        {Field::Range, "7"},           {Field::DeviceLanguage, "1"},  {Field::StartDate, "24.12"},
        {Field::StartTime, "08:30:00"}, {Field::StorageInterval, "00:00:10"}, {Field::Polarity, "1"},
        {Field::AnalogIn, "0"},        {Field::AlternatePolarity, "1"}, {Field::StartMode, "1"}};
    view.controlValues = values;
    engine->WriteConfigToDevice();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served, split("GST;00297 SAO;3;00396 SZP;1;00420 SAT;00:05:00;00759 SDO;3;00399 SMT;1;00411 "
                            "SDM;0012:30;00698 SRA;7;00403 SLA;1;00391 SSM;24.12;08:30:00;01082 STI;00:00:10;00763 "
                            "SIP;1;00403 SAE;0;00383 SPT;1;00414 STM;1;00411"));
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    EXPECT_EQ(instrument.range, 7);
    EXPECT_EQ(instrument.startDate, QStringLiteral("24.12"));
    EXPECT_EQ(instrument.measInt, QStringLiteral("00:00:10"));
    EXPECT_EQ(instrument.startMode, 1);
    // the echo of each set order is what the controls now show
    EXPECT_EQ(tables.Fields[Field::Range].TelegramText, QStringLiteral("7"));
}

TEST_F(LinkToSim, OneWrongChecksumIsRetriedTwoAreReportedOnce)
{
    instrument.faults.badChecksum = 1;
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 2);
    EXPECT_TRUE(sink.errors().isEmpty());

    served.clear();
    instrument.faults.badChecksum = 2;
    engine->QueueOrder(Order::GIN);
    engine->QueueOrder(Order::GRA);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 3);
    EXPECT_EQ(sink.errors(), QStringList{"Prüfsummenfehler."});
}

TEST_F(LinkToSim, SilenceDropsTenJobsWithOneMessage)
{
    instrument.faults.silence = 1;
    for (int i = 0; i < 10; ++i)
        engine->QueueOrder(Order::GST);
    ASSERT_TRUE(passDeadlineAfter(1));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 1);
    EXPECT_EQ(sink.errors(), QStringList{noAnswer()});
    EXPECT_EQ(abandoned, 1);
    // and the line still works
    engine->InformationRequest();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, instrument.serial);
}

// A reply may only pair with the request it answers: whatever a disturbance leaves on the
// line must cost at most the exchange it lands in, never every exchange after it.
TEST_F(LinkToSim, GarbageBeforeAReplyCostsOneResendAndNothingAfter)
{
    instrument.faults.garbage = 1;
    engine->ReadConfigFromDevice();
    ASSERT_TRUE(runUntilIdle());
    // the garbage line and the reply behind it came in one read: the resend's reply counts
    EXPECT_EQ(served.size(), 19);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    expectFullRead();
}

TEST_F(LinkToSim, AReplyAfterItsTimeOutIsNotTakenForTheNextRequest)
{
    instrument.faults.delayMs = 300;             // comes after the deadline the test passes at once
    engine->InformationRequest();
    ASSERT_TRUE(passDeadlineAfter(1));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(sink.errors(), QStringList{noAnswer()});
    QSignalSpy late(&serial, &SerialLink::telegramReceived);
    ASSERT_TRUE(late.wait(2000));                 // now waiting, unfetched, when F5 is pressed
    expectFullRead();
}

TEST_F(LinkToSim, TwoRepliesToOneRequestCostNothingAfter)
{
    instrument.faults.duplicate = 1;
    engine->ReadConfigFromDevice();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 18);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    expectFullRead();

    // a copy left waiting after the last job of a queue does not answer the next queue's first request
    instrument.faults.duplicate = 1;
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle());
    expectFullRead();
}

// At wire speed the reply follows the garbage line in a later read, after the resend went
// out, and a second copy arrives after the next request: both are skipped there.
TEST_F(LinkToSim, AtWireSpeedAStrayReplyIsSkippedByTheRequestItLandsIn)
{
    server.setPacing(true);
    server.setBaud(38400);
    instrument.faults.garbage = 1;
    engine->ReadConfigFromDevice();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 19);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    expectFullRead();

    served.clear();
    instrument.faults.duplicate = 3;
    engine->ReadConfigFromDevice();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 18);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    expectFullRead();
}

TEST_F(LinkToSim, DirectoryReadIsRefusedWhileRecording)
{
    instrument.fillDemoMemory();
    instrument.recording = true;
    engine->QueueOrder(Order::GFH);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 2);
    EXPECT_EQ(sink.errors(), QStringList{"Funktion nicht während Speicherung möglich."});
    EXPECT_EQ(abandoned, 1);
}

TEST_F(LinkToSim, DirectoryChainRunsUntilBlockZero)
{
    instrument.fillDemoMemory();
    QStringList headers;
    auto onHeader = [&](Reply, const QString &text) {
        headers << text;
        if (GetToken(text, u";", 2).value_or("0").toInt() != 0)
            engine->QueueOrder(Order::GNH);
    };
    engine->setBlockHandler(Reply::TFH, onHeader);
    engine->setBlockHandler(Reply::TNH, onHeader);
    engine->QueueOrder(Order::GFH);
    ASSERT_TRUE(runUntilIdle());
    ASSERT_EQ(headers.size(), 4);
    EXPECT_TRUE(headers[0].startsWith("TFH;1;0;"));
    EXPECT_TRUE(headers[1].startsWith("TNH;2;1;5;0;1;0;"));
    EXPECT_EQ(headers[2], QStringLiteral("TNH;3;0;5;1;0;128;02.12.2026;14:00;1:00:00;2;"));
    EXPECT_EQ(headers[3], QStringLiteral("TNH;0;"));
}

TEST_F(LinkToSim, MissingTokenIsRetriedAndReported)
{
    instrument.faults.truncate = 2;
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 2);
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, instrument.serial);
    ASSERT_EQ(sink.errors().size(), 1);
    // the cut reply still ends in ";", but what would follow its last ";" is no value
    EXPECT_EQ(sink.errors()[0], "Bearbeitungsfehler!  Token-Nr.: 3  Telegramm: TIN;" + instrument.serial + ";");
}

TEST_F(LinkToSim, ACutReplyIsAskedAgainAndAnEmptyValueIsStillAValue)
{
    // the date reply carries two values; cut after the first, it must not blank the time
    instrument.faults.truncate = 1;
    engine->QueueOrder(Order::GDA);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(served.size(), 2);
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    for (Field field : replyInfo(orderInfo(Order::GDA).reply).fields)
        EXPECT_FALSE(tables.Fields[field].TelegramText.isEmpty()) << int(field);
}

TEST_F(LinkToSim, NoiseSplitBytesAndStrayBytesDoNotBreakTheLink)
{
    instrument.faults.noise = 1;
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle());
    instrument.faults.split = 1;
    engine->QueueOrder(Order::GRA);
    ASSERT_TRUE(runUntilIdle());
    instrument.faults.trailing = 1;
    engine->QueueOrder(Order::GIP);
    engine->QueueOrder(Order::GAE);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, instrument.serial);
    EXPECT_EQ(tables.Fields[Field::AnalogIn].TelegramText, QStringLiteral("1"));
}

TEST_F(LinkToSim, ClosedLineEndsTheRunAndTheLinkRecoversOnReopen)
{
    instrument.faults.closeLine = true;
    for (int i = 0; i < 3; ++i)
        engine->QueueOrder(Order::GST);
    // the run ends when the line goes, not at the reply's deadline
    ASSERT_TRUE(runUntilIdle(2000));
    ASSERT_EQ(sink.errors().size(), 1);
    EXPECT_TRUE(sink.errors()[0].startsWith("Schnittstelle COM1 wurde geschlossen: ")) << qPrintable(sink.errors()[0]);
    EXPECT_EQ(abandoned, 1);
    // and no time-out later puts the blame on the instrument
    now += ProtocolEngine::kReplyTimeoutMs + 1;
    engine->RunProtocolEngine();
    QCoreApplication::processEvents();
    EXPECT_EQ(sink.errors().size(), 1);
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle(6000));
    EXPECT_EQ(sink.errors().last(), QStringLiteral("Serielle Schnittstelle nicht bereit! Kommunikation wird abgebrochen."));

    // the user picks the port again once the instrument is back
    ASSERT_FALSE(server.start(dir.path() + "/COM1").isEmpty());
    sink.messages.clear();
    ASSERT_TRUE(serial.OpenPort("COM1")) << qPrintable(serial.LastPortError());
    engine->InformationRequest();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(sink.errors().isEmpty()) << qPrintable(sink.errors().join('\n'));
    EXPECT_EQ(tables.Fields[Field::SerialNumber].TelegramText, instrument.serial);
}

TEST_F(LinkToSim, TrafficLogRecordsBothDirections)
{
    log.setDirectory(dir.path());
    log.setLogging(true);
    engine->QueueOrder(Order::GIN);
    ASSERT_TRUE(runUntilIdle());
    log.CloseTrafficLog();
    QFile file(log.fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\tGIN;00281<13><10>\r\n"));
    EXPECT_TRUE(text.contains("QT8800\t"));
    EXPECT_TRUE(text.contains("TIN;88000123;"));
}

TEST(SerialLinkSetup, RefusedLineSettings)
{
    RecordingSink sink;
    SerialLink serial(sink, nullptr);
    EXPECT_FALSE(serial.SetPortParams(57600, "n", 8, 1));
    EXPECT_EQ(serial.LastPortError(), QStringLiteral("Baudrate 57600 wird nicht unterstützt!"));
    EXPECT_FALSE(serial.SetPortParams(9600, "x", 8, 1));
    EXPECT_EQ(serial.LastPortError(), QStringLiteral("Parität x wird nicht unterstützt!"));
    EXPECT_TRUE(serial.SetPortParams(9600, "N", 8, 1));
    EXPECT_TRUE(serial.LastPortError().isEmpty());

    EXPECT_TRUE(serial.OpenPort(QString()));
}

// What the system says, and where: never a code of another platform, never a guess.
TEST(SerialLinkSetup, PortErrorsNameTheDeviceAndTheSystemsReason)
{
    RecordingSink sink;
    QTemporaryDir dir;
    const QString d = dir.path();
    SerialLink serial(sink, nullptr);
    serial.setBaseDir(d);
    ASSERT_TRUE(serial.SetPortParams(9600, "n", 8, 1));
    ASSERT_TRUE(QDir(d).mkdir("folder"));
    ASSERT_TRUE(QFile(d + "/file").open(QIODevice::WriteOnly));
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + "/fifo").constData(), 0600), 0);
    QFile::link(d + "/nowhere", d + "/COM2");
    // a line another program has open, and which the name finds in any case
    Sim::Instrument instrument;
    Sim::PtyServer server(instrument);
    const QString pty = server.start(d + "/COM4");
    if (pty.isEmpty())
        GTEST_SKIP() << "no pseudo-terminal available";
    EXPECT_EQ(SerialLink::ResolvePortName(d, "com4"), pty);
    EXPECT_EQ(SerialLink::ResolvePortName(d, "COM3"), QStringLiteral("/dev/ttyS2"));
    SerialLink holder(sink, nullptr);
    holder.setBaseDir(d);
    ASSERT_TRUE(holder.OpenPort("com4")) << qPrintable(holder.LastPortError());
    QFile comm("/proc/self/comm");
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    const QString me = QString::fromLocal8Bit(comm.readAll().trimmed()) + " (PID " + QString::number(::getpid()) + ")";

    const QString open = "Unable to open com port (";
    const struct
    {
        const char *port;
        QString error;
    } cases[] = {
        {"COM2", open + d + "/COM2 -> " + d + "/nowhere: " + QString::fromLocal8Bit(std::strerror(ENOENT)) + ")"},
        {"folder", open + d + "/folder: ein Ordner, keine serielle Schnittstelle)"},
        {"file", open + d + "/file: keine serielle Schnittstelle)"},
        {"fifo", open + d + "/fifo: keine serielle Schnittstelle)"},
        {"/dev/null", open + "/dev/null: keine serielle Schnittstelle)"},
        {"COM4", open + pty + ": belegt von " + me + ")"},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(serial.OpenPort(c.port)) << c.port;
        EXPECT_EQ(serial.LastPortError(), c.error) << c.port << ": " << qPrintable(serial.LastPortError());
        EXPECT_FALSE(serial.PortReady());
    }
    EXPECT_TRUE(holder.PortReady());
}

TEST(SimulatorProcess, PrintsItsDeviceLinksItAndCleansUpOnSigterm)
{
    QTemporaryDir dir;
    QProcess sim;
    sim.start(QT8800_SIM_PATH, {"--link", dir.path() + "/COM1", "--fault", "noise"});
    ASSERT_TRUE(sim.waitForStarted());
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    EXPECT_TRUE(device.startsWith("/dev/pts/"));
    EXPECT_EQ(QFileInfo(dir.path() + "/COM1").symLinkTarget(), device);
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(dir.path() + "/COM1").isSymLink());

    QProcess bad;
    bad.start(QT8800_SIM_PATH, {"--fault", "melt"});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
}
