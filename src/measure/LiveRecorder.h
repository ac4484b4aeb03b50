#pragma once

#include "measure/LiveRows.h"

#include <QFile>
#include <QString>

namespace Measure {

// Appends rows of live values to a CSV file, flushed row by row, so a recording cut short
// keeps every row it got. A recording never truncates: an existing file is continued, and its
// heading is not repeated while the columns stay the same. A heading stands again wherever the
// sensors on the bus change. A row the disk refuses is taken back whole, so the file never ends
// in half a row.
class LiveRecorder
{
public:
    enum class Failure {
        None,
        NotWritable,    // a folder, a file without write access, or no such folder
        CannotRead,     // an existing file whose heading cannot be read
        WriteFailed,    // the system's reason is in failureReason()
    };

    // Checks that the file can be written and takes note of its heading.
    bool Open(const QString &path);
    // One row for the reply at `when`. When it cannot be written the recorder closes.
    bool Append(const QDateTime &when, const CurrentValues &values, const QString &analogCaption,
                const DisplayFormats &formats);
    void Close();
    // An empty row where values are missing (no reply, the port away): a chart breaks its line
    // there instead of joining across the gap. Nothing before this run's first row.
    bool markGap();

    Failure failure() const { return m_failure; }
    QString failureReason() const { return m_reason; }

    bool isOpen() const { return m_open; }
    QString fileName() const { return m_file.fileName(); }
    qint64 rows() const { return m_rows; }

private:
    bool write(const QString &lines);
    bool fail(Failure failure, const QString &reason = {});

    QFile m_file;
    bool m_open = false;
    QString m_fileHeading;          // the first line of the file as it was found
    LiveColumns m_columns;
    bool m_haveColumns = false;
    qint64 m_rows = 0;
    Failure m_failure = Failure::None;
    QString m_reason;
};

} // namespace Measure
