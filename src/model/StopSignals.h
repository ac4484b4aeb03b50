#pragma once

#include <QObject>

class QSocketNotifier;

namespace Model {

// SIGTERM, SIGINT and SIGHUP as a Qt signal. The handler only writes a byte to a pipe, which is
// all a signal handler may safely do; the event loop turns each byte into one stopRequested().
// Create it early: a request that arrives before anyone connects waits in the pipe.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

    // false when no pipe could be made; the process then stops by the default action
    bool isValid() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void stopRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Model
