#pragma once

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "link/TrafficLog.h"

#include <QObject>
#include <QString>

#include <functional>

namespace Link {

struct SessionOptions
{
    ProtocolEngine::Clock clock;            // empty: the steady clock; tests pass their own
    QString baseDir;                        // where "COMn" entries are looked up
    QString programVersion;                 // written into the traffic log
    QChar timeSeparator = u':';
};

// The instrument's link as the window and the command line both use it: traffic log, serial
// line and protocol engine wired one way, with everything they report as signals. A lost port
// drops the queue at once (no time-out message follows the port's own), a returning port is
// announced; retries are the engine's.
class Session : public QObject, private StatusSink
{
    Q_OBJECT
public:
    Session(Tables &tables, SessionOptions options, QObject *parent = nullptr);
    ~Session() override;

    TrafficLog &log() { return m_log; }
    SerialLink &serial() { return m_serial; }
    ProtocolEngine &engine() { return m_engine; }

    // Logs an error as a "Con" line; either kind clears the no-answer mark.
    void ReportMessage(const QString &text, bool error) { m_engine.ReportMessage(text, error); }
    void ShowStatusText(const QString &text) { m_engine.ShowStatusText(text); }

    // Calls `then` from the event loop once the queue has run empty or was dropped.
    void whenIdle(std::function<void()> then);

Q_SIGNALS:
    // every text reported, errors and progress alike; the export windows repeat it
    void message(const QString &text);
    // the status line's text; on the command line an error is what a command fails with
    void statusMessage(const QString &text, bool error);
    void statusCleared();
    // 0: a request went out ("PC"), 1: a reply came in ("QT")
    void activity(int indicator);
    void portLost(const QString &reason);
    void portBack(const QString &text);
    void reply(Link::Reply reply, const QString &text);
    void damagedReply(Link::Order order, const QString &message, const QString &reply);
    void chainBroken();
    void queueFinished();

private:
    void StatusMessage(const QString &text, bool error) override { Q_EMIT statusMessage(text, error); }
    void StatusClear() override { Q_EMIT statusCleared(); }
    void StatusFlash(int indicator) override { Q_EMIT activity(indicator); }
    void MirrorMessage(const QString &text) override { Q_EMIT message(text); }

    TrafficLog m_log;
    SerialLink m_serial;
    ProtocolEngine m_engine;
};

} // namespace Link
