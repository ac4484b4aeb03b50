#pragma once

#include "cli/DeviceCommands.h"

#include "measure/CurrentValues.h"
#include "measure/LiveRows.h"

#include <QFile>
#include <QObject>
#include <QTimer>

namespace Cli {

class CliSession;

// live: asks for the current values every interval and appends one row per reply to a CSV
// file, flushed at once, so a run cut short keeps every row it got. An interval that comes
// while the previous request is still out is passed over: the queue never grows.
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
    bool append(const QString &lines);
    void done(int code);

    CliSession &m_session;
    Finish m_finish;
    QTimer m_interval;
    QTimer m_end;
    QFile m_file;
    QString m_fileHeading;          // first line of the file as it was found
    Measure::LiveColumns m_columns;
    bool m_haveColumns = false;
    bool m_stopping = false;
    qint64 m_rows = 0;
};

} // namespace Cli
