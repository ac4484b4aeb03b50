#include "link/Session.h"

#include <QTimer>

namespace Link {

Session::Session(Tables &tables, SessionOptions options, QObject *parent)
    : QObject(parent)
    , m_log(*this)
    , m_serial(*this, &m_log, this)
    , m_engine(tables, m_serial, *this, &m_log, std::move(options.clock), this)
{
    m_log.setVersion(options.programVersion);
    m_log.setTimeSeparator(options.timeSeparator);
    m_serial.setBaseDir(options.baseDir);

    connect(&m_serial, &SerialLink::telegramReceived, &m_engine, &ProtocolEngine::RunProtocolEngine);
    connect(&m_serial, &SerialLink::portError, this, [this](const QString &text) {
        m_engine.ReportMessage(text, true);
        Q_EMIT portLost(text);
        // the engine learns of the lost line on this pass and drops what waits
        m_engine.RunProtocolEngine();
    });
    connect(&m_serial, &SerialLink::portReopened, this, [this](const QString &text) {
        m_engine.ShowStatusText(text);
        Q_EMIT portBack(text);
    });
    connect(&m_engine, &ProtocolEngine::blockReply, this, &Session::reply);
    connect(&m_engine, &ProtocolEngine::damagedReply, this, &Session::damagedReply);
    connect(&m_engine, &ProtocolEngine::chainBroken, this, &Session::chainBroken);
    connect(&m_engine, &ProtocolEngine::queueFinished, this, &Session::queueFinished);
}

Session::~Session()
{
    m_log.CloseTrafficLog();
}

void Session::whenIdle(std::function<void()> then)
{
    // always from the event loop: the engine finishes its pass before the next step queues
    if (m_engine.isIdle()) {
        QTimer::singleShot(0, this, std::move(then));
        return;
    }
    connect(&m_engine, &ProtocolEngine::queueFinished, this,
            [this, then = std::move(then)] { QTimer::singleShot(0, this, then); }, Qt::SingleShotConnection);
}

} // namespace Link
