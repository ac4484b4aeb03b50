#pragma once

#include "measure/LiveRows.h"

#include <QString>

namespace Measure {

// Appends rows of live values to a CSV file, written row by row, so a recording cut short
// keeps every row it got. A recording never truncates: an existing recording is continued on
// a fresh line, and its heading is not repeated while the columns and the form of the rows stay
// the same. A heading stands again wherever the sensors on the bus change, and where a run
// writes its dates, times or decimals differently from the rows before it. A row the disk
// refuses is cut back whole, so the file never ends in half a row. A file that holds anything
// but a recording is not touched. A device, a pipe or "-" (standard output) gets the rows as
// they come, under a heading of their own.
class LiveRecorder
{
public:
    enum class Failure {
        None,
        NotWritable,    // a folder, no write permission, no such folder: the reason says which
        CannotRead,     // an existing file whose rows cannot be read
        NotOurs,        // an existing file that is no recording of live values
        WriteFailed,    // a row the disk refused
    };

    LiveRecorder() = default;
    ~LiveRecorder();
    LiveRecorder(const LiveRecorder &) = delete;
    LiveRecorder &operator=(const LiveRecorder &) = delete;

    // Checks that the file can be written and takes note of how it ends.
    bool Open(const QString &path);
    // One row for the reply at `when`. When it cannot be written the recorder closes.
    bool Append(const QDateTime &when, const CurrentValues &values, const QString &analogCaption,
                const DisplayFormats &formats);
    void Close();
    // An empty row where values are missing (no reply, the port away): a chart breaks its line
    // there instead of joining across the gap. Nothing before this run's first row.
    bool markGap();

    Failure failure() const { return m_failure; }
    // the system's reason, or why the file is not continued, in the program's language
    QString failureReason() const { return m_reason; }

    bool isOpen() const { return m_open; }
    QString fileName() const { return m_path; }
    qint64 rows() const { return m_rows; }

    // The dates and times of a row with every digit as 0: rows of one form share a heading.
    static QString RowForm(const QString &row);
    static bool IsHeading(const QString &line);

private:
    bool readEnd();
    bool write(const QByteArray &bytes);
    bool fail(Failure failure, const QString &reason);

    QString m_path;
    int m_fd = -1;
    bool m_open = false;
    bool m_file = false;            // a file, not a device or pipe: a refused row is cut back
    bool m_needsNewline = false;    // the file ends in a line cut short
    QString m_fileHeading;          // the last heading of the file as it was found
    QString m_fileRowForm;          // the form of its last row
    LiveColumns m_columns;
    bool m_haveColumns = false;
    qint64 m_rows = 0;
    Failure m_failure = Failure::None;
    QString m_reason;
};

} // namespace Measure
