#include "cli/LiveCommand.h"

#include "cli/CliSession.h"
#include "cli/MqttPublisher.h"

#include "lang/Texts.h"
#include "measure/LiveJson.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <limits>

namespace Cli {

using namespace Lang;

LiveCommand::LiveCommand(CliSession &session, Finish finish, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_finish(std::move(finish))
{
    m_interval.setTimerType(Qt::PreciseTimer);
    connect(&m_interval, &QTimer::timeout, this, &LiveCommand::tick);
    m_end.setSingleShot(true);
    connect(&m_end, &QTimer::timeout, this, &LiveCommand::stop);
    connect(&m_session.engine(), &Link::ProtocolEngine::queueFinished, this, &LiveCommand::queueFinished,
            Qt::QueuedConnection);
    m_session.engine().setNoAnswerRetries(m_session.options().retries);
    connect(&m_session.engine(), &Link::ProtocolEngine::replyMissed, this, [this] { m_gap = true; });
    // the session has reported the loss; the serial line watches for the device's return
    connect(&m_session.serial(), &Link::SerialLink::portError, this, [this] {
        m_gap = true;
        if (m_finish && !m_stopping)
            m_session.console().message(Text(TxCliLiveWaitsForPort));
    });
    connect(&m_session.serial(), &Link::SerialLink::portReopened, this,
            [this](const QString &text) { m_session.console().message(text); });
}

LiveCommand::~LiveCommand()
{
    m_session.engine().setBlockHandler(Link::Reply::TAM, {});
}

void LiveCommand::done(int code)
{
    m_interval.stop();
    m_end.stop();
    m_recorder.Close();
    if (!m_finish)
        return;
    Finish finish = std::exchange(m_finish, {});
    if (!m_mqtt)
        return finish(code);
    m_exitCode = code;
    m_mqtt->finish([this, finish] {
        if (m_mqtt->dropped() > 0)
            m_session.console().message(Format(Text(TxCliMqttDropped), {QString::number(m_mqtt->dropped())}));
        finish(m_exitCode);
    });
}

bool LiveCommand::reportFailure()
{
    const QString file = m_session.options().csvFile;
    switch (m_recorder.failure()) {
    case Measure::LiveRecorder::Failure::None:
        return false;
    case Measure::LiveRecorder::Failure::CannotRead:
        m_session.StatusMessage(Format(Text(TxCliCannotRead), {file}), true);
        break;
    case Measure::LiveRecorder::Failure::NotWritable:
    case Measure::LiveRecorder::Failure::NotOurs:
    case Measure::LiveRecorder::Failure::WriteFailed:
        m_session.StatusMessage(CliSession::cannotWrite(file, m_recorder.failureReason()), true);
        break;
    }
    return true;
}

void LiveCommand::start()
{
    const CliOptions &o = m_session.options();
    if (!o.csvFile.isEmpty() && !m_recorder.Open(o.csvFile)) {
        reportFailure();
        return done(ExitFile);
    }
    if (o.mqttUrl.isEmpty())
        return begin();
    // the serial number names the topic and the buffer
    m_session.engine().setNoAnswerCount(0);
    m_session.engine().CyclicStatusRead();
    m_session.whenIdle([this] {
        if (m_session.hasErrors())
            return done(ExitInstrument);
        if (startMqtt())
            begin();
    });
}

bool LiveCommand::startMqtt()
{
    const CliOptions &o = m_session.options();
    MqttPublisher::Settings s;
    s.url = o.mqttUrl;
    const QString serial = m_serial = m_session.store().value(Model::Field::SerialNumber).trimmed();
    s.topic = o.topic.isEmpty() ? QStringLiteral("qt8800/%1/live").arg(serial) : o.topic;
    s.qos = o.qos;
    s.caFile = o.caFile;
    s.bufferMb = o.bufferMb;
    s.clientId = QStringLiteral("qt8800-") + serial;
    s.bufferDir = o.bufferDir;
    if (s.bufferDir.isEmpty()) {
        const QString state = qEnvironmentVariable("STATE_DIRECTORY").section(u':', 0, 0);
        s.bufferDir = state.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state/qt8800/mqtt")
                                      : state + QStringLiteral("/mqtt");
    }
    // never on the command line, where every user of the machine reads it
    if (!o.mqttAuthFile.isEmpty()) {
        QFile f(o.mqttAuthFile);
        const QStringList lines = f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n') : QStringList();
        if (lines.size() < 2 || lines[0].trimmed().isEmpty()) {
            m_session.StatusMessage(Format(Text(TxCliMqttAuthUnreadable), {o.mqttAuthFile}), true);
            done(ExitFile);
            return false;
        }
        s.user = lines[0].trimmed();
        s.password = lines[1];
        s.password.remove(u'\r');
    } else {
        s.user = qEnvironmentVariable("QT8800_MQTT_USER");
        s.password = qEnvironmentVariable("QT8800_MQTT_PASSWORD");
    }
    m_mqtt = std::make_unique<MqttPublisher>(s);
    connect(m_mqtt.get(), &MqttPublisher::note, this, [this](const QString &text) { m_session.console().message(text); });
    connect(m_mqtt.get(), &MqttPublisher::fatal, this, [this](const QString &text) {
        m_session.StatusMessage(text, true);
        m_exitCode = ExitInstrument;
        done(ExitInstrument);
    });
    if (!m_mqtt->start()) {
        m_session.StatusMessage(m_mqtt->error(), true);
        m_mqtt.reset();
        done(ExitInstrument);
        return false;
    }
    return true;
}

void LiveCommand::begin()
{
    const CliOptions &o = m_session.options();
    Link::ProtocolEngine &engine = m_session.engine();
    engine.setBlockHandler(Link::Reply::TAM, [this, &engine](Link::Reply, const QString &reply) {
        Measure::ParseCurrentValues(reply, *this, engine);
    });
    engine.setNoAnswerCount(0);
    m_interval.start(int(o.intervalMs));
    if (o.forMs)
        m_end.start(int(std::min<qint64>(*o.forMs, std::numeric_limits<int>::max())));
    tick();
}

void LiveCommand::tick()
{
    Link::ProtocolEngine &engine = m_session.engine();
    if (m_stopping || !engine.isIdle() || !m_session.serial().PortReady())
        return;
    engine.QueueOrder(Link::Order::GAM);
}

void LiveCommand::stop()
{
    m_stopping = true;
    m_interval.stop();
    if (m_session.engine().isIdle())
        QTimer::singleShot(0, this, [this] { queueFinished(); });
}

bool LiveCommand::waitingForPort() const
{
    return m_session.serial().watching();
}

void LiveCommand::queueFinished()
{
    // the port went away: that is reported, and no failure of the instrument
    if (waitingForPort())
        m_session.takeErrors();
    if (m_session.hasErrors()) {
        // silent through every retry: the instrument is off or the line is wrong; a reply that
        // came spoilt or refused costs its row, as long as the next ones come
        if (m_session.engine().NoAnswerCount() > 0 || ++m_failedInARow > m_session.options().retries)
            return done(ExitInstrument);
        m_session.takeErrors();
        m_gap = true;
    }
    // a recording that ends while the port is still away did not record to its end
    if (m_stopping)
        return done(waitingForPort() ? ExitInstrument : ExitDone);
}

void LiveCommand::ShowCurrentValues(const Measure::CurrentValues &values)
{
    if (!m_finish)
        return;
    const QString analogCaption = m_session.store().value(Model::Field::AnalogName).trimmed() + QStringLiteral(" [V]");
    const QDateTime now = QDateTime::currentDateTime();
    if (m_recorder.isOpen()) {
        if (std::exchange(m_gap, false) && !m_recorder.markGap()) {
            reportFailure();
            return done(ExitFile);
        }
        if (!m_recorder.Append(now, values, analogCaption, m_session.formats())) {
            reportFailure();
            return done(ExitFile);
        }
    }
    if (m_mqtt) {
        const QByteArray json = Measure::LiveJson(now, values, m_session.store().value(Model::Field::AnalogName));
        // announced once the first reading shows which values there are
        if (m_session.options().haDiscovery && m_readings == 0)
            for (const Measure::RetainedMessage &m : Measure::DiscoveryMessages(m_serial, m_mqtt->topic(), m_mqtt->statusTopic(), json))
                m_mqtt->publishRetained(m.topic, m.payload);
        if (!m_mqtt->publish(json)) {
            m_session.StatusMessage(m_mqtt->error(), true);
            return done(ExitFile);
        }
    }
    m_failedInARow = 0;
    m_session.console().transient(Format(Text(TxCliLiveProgress), {QString::number(++m_readings)}));
}

} // namespace Cli
