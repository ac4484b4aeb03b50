#pragma once

#include "cli/DeviceCommands.h"

#include "measure/CurrentValues.h"
#include "measure/LiveRecorder.h"

#include <QObject>
#include <QTimer>

#include <memory>

namespace Cli {

class CliSession;
class MqttPublisher;

// live: asks for the current values every interval and appends one row per reply to a CSV
// file, flushed at once, so a run cut short keeps every row it got. An interval that comes
// while the previous request is still out is passed over: the queue never grows. A request
// without a reply is asked again (--retries), a reply that comes unusable costs its row, and a
// port that goes away is waited for. Each leaves an empty row before the next values, where
// the recording has its gap. With --mqtt each reading also goes to a message broker as JSON, once
// the instrument has said its serial number, which names the topic.
class LiveCommand : public QObject, public Measure::CurrentValuesSink
{
    Q_OBJECT
public:
    LiveCommand(CliSession &session, Finish finish, QObject *parent = nullptr);
    ~LiveCommand() override;

    void start();
    // Ends the run once the request in flight is answered (or given up).
    void stop();

    void ShowCurrentValues(const Measure::CurrentValues &values) override;

private:
    void tick();
    void queueFinished();
    bool waitingForPort() const;
    bool reportFailure();
    void done(int code);
    void begin();
    bool startMqtt();

    CliSession &m_session;
    Finish m_finish;
    QTimer m_interval;
    QTimer m_end;
    Measure::LiveRecorder m_recorder;
    bool m_stopping = false;
    bool m_gap = false;             // values are missing since the last row
    int m_failedInARow = 0;         // requests answered unusably since the last row
    std::unique_ptr<MqttPublisher> m_mqtt;
    qint64 m_readings = 0;
    QString m_serial;
    int m_exitCode = 0;             // what the run ends with once the broker is done
};

} // namespace Cli
