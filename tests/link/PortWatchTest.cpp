// A port whose device goes and comes back, devices the user may not open, USB adapters with a
// slow latency timer, and what a session makes of it: against the stand-in program over real
// pseudo-terminals.
#include "FakePort.h"

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/Session.h"
#include "link/TrafficLog.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

using namespace Link;

namespace {

const QString kLost = QStringLiteral("Schnittstelle COM1 wurde geschlossen: ");
const QString kBack = QStringLiteral("Schnittstelle COM1 ist wieder verfügbar und wurde geöffnet.");

// The stand-in program, linked as `link`; stopped with SIGTERM, which removes the link.
class StandIn
{
public:
    QString start(const QString &link)
    {
        m_process.start(QStringLiteral(QT8800_SIM_PATH), {QStringLiteral("--link"), link});
        if (!m_process.waitForStarted() || !m_process.waitForReadyRead(5000))
            return {};
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    ~StandIn() { stop(); }

private:
    QProcess m_process;
};

struct PortWatch : testing::Test
{
    QTemporaryDir dir;
    Tables tables;
    RecordingSink sink;
    SerialLink serial{sink, nullptr};
    FakeView view{tables.Fields};
    std::unique_ptr<ProtocolEngine> engine;
    QStringList errors;
    QStringList reopened;

    void SetUp() override
    {
        BuildTables(tables);
        engine = std::make_unique<ProtocolEngine>(tables, serial, sink);
        QObject::connect(&serial, &SerialLink::telegramReceived, engine.get(), &ProtocolEngine::RunProtocolEngine);
        QObject::connect(&serial, &SerialLink::portError, [this](const QString &text) { errors << text; });
        QObject::connect(&serial, &SerialLink::portReopened, [this](const QString &text) { reopened << text; });
        serial.setBaseDir(dir.path());
        serial.setSysfsRoot(dir.filePath("sys"));
        ASSERT_TRUE(serial.SetPortParams(38400, "n", 8, 1));
    }

    QString link() const { return dir.filePath("COM1"); }

    // the instrument answers through the port as it is now
    bool answers()
    {
        tables.Fields[Model::Field::SerialNumber].TelegramText.clear();
        QSignalSpy finished(engine.get(), &ProtocolEngine::queueFinished);
        engine->InformationRequest();
        return finished.wait(5000) && tables.Fields[Model::Field::SerialNumber].TelegramText == QStringLiteral("88000123");
    }

    void fakeLatencyTimer(const QString &device, const QByteArray &value)
    {
        const QString folder = dir.filePath("sys/bus/usb-serial/devices/" + QFileInfo(device).fileName());
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(folder + "/latency_timer");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(value);
    }
};

} // namespace

TEST_F(PortWatch, AStandInThatGoesIsReportedOnceAndOneUnderTheSameNameIsOpenedBySelf)
{
    StandIn first;
    ASSERT_FALSE(first.start(link()).isEmpty());
    ASSERT_TRUE(serial.OpenPort("COM1")) << qPrintable(serial.LastPortError());
    EXPECT_FALSE(serial.watching());
    ASSERT_TRUE(answers());

    first.stop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }, 3000));
    EXPECT_TRUE(errors[0].startsWith(kLost)) << qPrintable(errors[0]);
    EXPECT_FALSE(serial.PortReady());
    EXPECT_TRUE(serial.watching());
    // nothing more while the device is away, however long
    QTest::qWait(3 * SerialLink::kWatchIntervalMs);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(reopened.isEmpty());

    StandIn second;
    ASSERT_FALSE(second.start(link()).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !reopened.isEmpty(); }, 3000));
    EXPECT_EQ(reopened, QStringList{kBack});
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(serial.PortReady());
    EXPECT_FALSE(serial.watching());
    EXPECT_TRUE(answers());
}

TEST_F(PortWatch, ChoosingAPortWhileTheDeviceIsAwayEndsTheWatch)
{
    StandIn first;
    ASSERT_FALSE(first.start(link()).isEmpty());
    ASSERT_TRUE(serial.OpenPort("COM1"));
    first.stop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }, 3000));
    ASSERT_TRUE(serial.watching());

    // another port the user picks that opens: the lost one is no longer wanted
    StandIn other;
    ASSERT_FALSE(other.start(dir.filePath("COM2")).isEmpty());
    ASSERT_TRUE(serial.OpenPort("COM2"));
    EXPECT_FALSE(serial.watching());
    StandIn back;
    ASSERT_FALSE(back.start(link()).isEmpty());
    QTest::qWait(3 * SerialLink::kWatchIntervalMs);
    EXPECT_TRUE(reopened.isEmpty());
    EXPECT_EQ(serial.portName(), QStringLiteral("COM2"));

    // closing at program end ends it as well
    back.stop();
    QFile::link(dir.filePath("ttyUSB0"), link());
    EXPECT_FALSE(serial.OpenPort("COM1"));
    EXPECT_TRUE(serial.watching());
    EXPECT_TRUE(serial.OpenPort(QString()));
    EXPECT_FALSE(serial.watching());
}

TEST_F(PortWatch, AnAdapterNotYetPluggedInIsOpenedWhenItAppears)
{
    QFile::link(dir.filePath("ttyUSB0"), link());
    ASSERT_FALSE(serial.OpenPort("COM1"));
    EXPECT_EQ(serial.LastPortError(), "Unable to open com port (" + link() + " -> " + dir.filePath("ttyUSB0") + ": "
                                          + QString::fromLocal8Bit(std::strerror(ENOENT)) + ")");
    EXPECT_TRUE(serial.watching());
    StandIn later;
    ASSERT_FALSE(later.start(link()).isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !reopened.isEmpty(); }, 3000));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(answers());
}

TEST_F(PortWatch, ADeviceWithoutRightsIsNamedInTheErrorTheHintAndOnItsReturn)
{
    StandIn standIn;
    const QString device = standIn.start(link());
    ASSERT_FALSE(device.isEmpty());
    QString denied = device;
    serial.setAccessCheck([&denied](const QString &path) { return path == denied ? EACCES : 0; });
    // a member of the group lacks something else: no word of groups then
    serial.setGroupCheck([](unsigned) { return true; });
    const QString refused = "Unable to open com port (" + device + ": " + QString::fromLocal8Bit(std::strerror(EACCES)) + ")";
    EXPECT_FALSE(serial.OpenPort("COM1"));
    EXPECT_EQ(serial.LastPortError(), refused);
    EXPECT_TRUE(serial.PortNotes("COM1").isEmpty());
    serial.setGroupCheck([](unsigned) { return false; });

    EXPECT_FALSE(serial.OpenPort("COM1"));
    const QString needGroup = refused + " - der Benutzer muss zur Gruppe \"";
    EXPECT_TRUE(serial.LastPortError().startsWith(needGroup)) << qPrintable(serial.LastPortError());
    EXPECT_TRUE(serial.LastPortError().endsWith("\" gehören"));
    // the device is there: nothing to wait for
    EXPECT_FALSE(serial.watching());
    const QString notes = serial.PortNotes("COM1");
    EXPECT_TRUE(notes.startsWith("\nKeine Berechtigung für das Gerät: der Benutzer muss zur Gruppe \"")) << qPrintable(notes);
    EXPECT_TRUE(notes.contains("(sudo adduser $USER ")) << qPrintable(notes);
    EXPECT_TRUE(serial.PortNotes("COM2").isEmpty());

    // rights granted, port opened; then the device goes and comes back without them
    denied.clear();
    ASSERT_TRUE(serial.OpenPort("COM1"));
    EXPECT_TRUE(serial.PortNotes("COM1").isEmpty());
    standIn.stop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }, 3000));
    StandIn back;
    denied = back.start(link());
    ASSERT_FALSE(denied.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([this] { return errors.size() == 2; }, 3000));
    EXPECT_TRUE(errors[1].startsWith("Schnittstelle COM1 ist wieder verfügbar, kann aber nicht geöffnet werden: "
                                     "Unable to open com port (" + denied + ": ")) << qPrintable(errors[1]);
    EXPECT_TRUE(errors[1].contains(" - der Benutzer muss zur Gruppe \""));
    QTest::qWait(3 * SerialLink::kWatchIntervalMs);
    EXPECT_EQ(errors.size(), 2);
    EXPECT_TRUE(serial.watching());

    denied.clear();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !reopened.isEmpty(); }, 3000));
    EXPECT_TRUE(answers());
}

TEST_F(PortWatch, ASlowLatencyTimerIsNamedInTheHintTheStatusLineAndTheReopenMessage)
{
    // a USB adapter as the by-id link names it; the device node itself is not opened here
    QDir().mkpath(dir.filePath("dev/serial/by-id"));
    QFile(dir.filePath("dev/ttyUSB0")).open(QIODevice::WriteOnly);
    QFile::link("../../ttyUSB0", dir.filePath("dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"));
    QFile::link(dir.filePath("dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"), dir.filePath("COM3"));
    EXPECT_TRUE(serial.PortNotes("COM3").isEmpty());
    fakeLatencyTimer("ttyUSB0", "16\n");
    const QString path = dir.filePath("sys/bus/usb-serial/devices/ttyUSB0/latency_timer");
    EXPECT_EQ(serial.LatencyTimer(dir.filePath("COM3")), 16);
    EXPECT_EQ(serial.PortNotes("COM3"), "\nLatenz-Timer des USB-Adapters steht auf 16 ms: höchstens etwa 62 Anfragen "
                                        "je Sekunde. Auf 1 ms stellen: echo 1 | sudo tee " + path);
    fakeLatencyTimer("ttyUSB0", "1\n");
    EXPECT_TRUE(serial.PortNotes("COM3").isEmpty());

    // at an open the note goes to the status line, and with the message of a reopen
    StandIn standIn;
    const QString device = standIn.start(link());
    ASSERT_FALSE(device.isEmpty());
    fakeLatencyTimer(device, "16");
    ASSERT_TRUE(serial.OpenPort("COM1"));
    ASSERT_FALSE(sink.messages.isEmpty());
    EXPECT_TRUE(sink.messages.last().startsWith("I:Latenz-Timer des USB-Adapters steht auf 16 ms")) << qPrintable(sink.messages.last());
    standIn.stop();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }, 3000));
    StandIn back;
    const QString again = back.start(link());
    ASSERT_FALSE(again.isEmpty());
    fakeLatencyTimer(again, "16");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !reopened.isEmpty(); }, 3000));
    EXPECT_TRUE(reopened[0].startsWith(kBack + "  Latenz-Timer des USB-Adapters steht auf 16 ms")) << qPrintable(reopened[0]);
}

// The driver asked for low latency at each open: the timer it then has goes to the traffic log,
// and only one it left slow gets the hint. A pseudo-terminal refuses the real request.
TEST_F(PortWatch, LowLatencyIsAskedForAndTheTimerLogged)
{
    StandIn standIn;
    const QString device = standIn.start(link());
    ASSERT_FALSE(device.isEmpty());
    TrafficLog log(sink);
    log.setDirectory(dir.path());
    log.setLogging(true);
    log.OpenTrafficLog();
    SerialLink port(sink, &log);
    port.setBaseDir(dir.path());
    port.setSysfsRoot(dir.filePath("sys"));
    int fd = -1;
    for (const auto &[takes, timer, hint] : {std::tuple{true, "1", false}, std::tuple{false, "16", true}}) {
        fakeLatencyTimer(device, timer);
        port.setLowLatency([&, takes = takes](int handle) { return fd = handle, takes; });
        sink.messages.clear();
        ASSERT_TRUE(port.OpenPort("COM1"));
        EXPECT_GE(fd, 0);
        EXPECT_EQ(sink.messages.join('\n').contains("Latenz-Timer des USB-Adapters"), hint) << timer;
    }
    EXPECT_FALSE(SerialLink::RequestLowLatency(fd));
    const QString logFile = log.fileName();
    log.CloseTrafficLog();
    QFile file(logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("Latenz-Timer 1 ms") && text.contains("Latenz-Timer 16 ms")) << text.constData();
}

// What the window and the command line see of a lost, returning or silent line: the session's
// signals in order, the status line's texts by their start.
enum class LineEvent { Lost, Back, NoAnswer };
struct SessionRow
{
    LineEvent event;
    QStringList emitted;
    QString text;
};

class SessionSignals : public testing::TestWithParam<SessionRow>
{
protected:
    QTemporaryDir dir;
    Tables tables;
    qint64 now = 0;
    std::unique_ptr<Session> session;
    QStringList events, texts;

    void SetUp() override
    {
        BuildTables(tables);
        session = std::make_unique<Session>(tables, SessionOptions{[this] { return now; }, dir.path(), "1.0", u':'});
        auto note = [this](const char *name) { return [this, name] { events << name; }; };
        QObject::connect(session.get(), &Session::statusMessage, [this](const QString &text, bool error) {
            events << (error ? "error" : "status");
            texts << text;
        });
        QObject::connect(session.get(), &Session::activity, [this](int i) { events << QStringLiteral("activity %1").arg(i); });
        QObject::connect(session.get(), &Session::message, note("message"));
        QObject::connect(session.get(), &Session::portLost, note("portLost"));
        QObject::connect(session.get(), &Session::portBack, note("portBack"));
        QObject::connect(session.get(), &Session::chainBroken, note("chainBroken"));
        QObject::connect(session.get(), &Session::queueFinished, note("queueFinished"));
        ASSERT_TRUE(session->serial().SetPortParams(38400, "n", 8, 1));
    }
};

// A pseudo-terminal that nobody answers on, linked as `link`; -1 when none could be made.
int silentLine(const QString &link)
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0)
        return -1;
    QFile::remove(link);
    return QFile::link(QString::fromLocal8Bit(ptsname(fd)), link) ? fd : -1;
}

TEST_P(SessionSignals, ReachTheOwner)
{
    const SessionRow &row = GetParam();
    const QString link = dir.filePath("COM1");
    int line = silentLine(link);
    ASSERT_GE(line, 0);
    ASSERT_TRUE(session->serial().OpenPort("COM1")) << qPrintable(session->serial().LastPortError());
    session->engine().QueueOrder(Order::GIN);
    session->engine().RunProtocolEngine();            // the request is out, no answer comes
    if (row.event == LineEvent::NoAnswer) {
        now += ProtocolEngine::kReplyTimeoutMs + 1;
        session->engine().RunProtocolEngine();
    } else {
        ::close(std::exchange(line, -1));                 // the line goes while the request is out
        ASSERT_TRUE(QTest::qWaitFor([this] { return events.contains("portLost"); }, 3000));
    }
    if (row.event == LineEvent::Back) {
        events.clear();
        texts.clear();
        line = silentLine(link);
        ASSERT_GE(line, 0);
        ASSERT_TRUE(QTest::qWaitFor([this] { return events.contains("portBack"); }, 3000));
    }
    if (line >= 0)
        ::close(line);
    EXPECT_EQ(events, row.emitted);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts[0].startsWith(row.text)) << qPrintable(texts[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Line, SessionSignals,
    testing::Values(SessionRow{LineEvent::Lost,
                               {"activity 0", "error", "message", "portLost", "chainBroken", "queueFinished"}, kLost},
                    SessionRow{LineEvent::Back, {"status", "message", "portBack"}, kBack},
                    SessionRow{LineEvent::NoAnswer,
                               {"activity 0", "error", "message", "chainBroken", "queueFinished"},
                               QStringLiteral("QT 8800 antwortet nicht")}));
