#pragma once

#include "measure/RecordSink.h"

#include <QString>

namespace Measure {

// Appends ";"-separated rows to a file, written row by row, so a recording cut short keeps
// every row it got. It never truncates: an existing file is continued on a fresh line, and its
// heading is not repeated while the first heading of this run matches it and the rows keep
// their form. After that a heading stands again wherever the source sends a new one. A row the
// disk refuses is cut back whole, so the file never ends in half a row. A file that holds
// anything but such rows is not touched. A device, a pipe or "-" (standard output) gets the rows
// as they come, under a heading of their own.
class CsvSink : public RecordSink
{
public:
    enum class Failure {
        None,
        NotWritable,    // a folder, no write permission, no such folder: the reason says which
        CannotRead,     // an existing file whose rows cannot be read
        NotOurs,        // an existing file that is no recording of live values
        WriteFailed,    // a row the disk refused
    };

    CsvSink() = default;
    ~CsvSink() override;
    CsvSink(const CsvSink &) = delete;
    CsvSink &operator=(const CsvSink &) = delete;

    // Checks that the file can be written and takes note of how it ends.
    bool Open(const QString &path);
    void Close();
    // An empty row where values are missing: a chart breaks its line there instead of joining
    // across the gap. Nothing before this run's first row.
    bool markGap();

    // the heading goes out with the next row; when it cannot be written the sink closes
    bool heading(const RecordHeading &heading) override;
    bool row(const RecordRow &row) override;
    bool end(bool) override;
    QString failure() const override { return m_reason; }
    int rows() const override { return int(m_rows); }
    QString fileSuffix() const override { return QStringLiteral("csv"); }
    // the rows are on disk as they come: nothing is left to save
    bool save(const QString &, QString *) override { return false; }

    Failure failureKind() const { return m_failure; }
    bool isOpen() const { return m_open; }
    QString fileName() const { return m_path; }
    qint64 rowCount() const { return m_rows; }

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
    QString m_heading;              // the source's heading
    bool m_headingDue = false;      // sent since the last row
    bool m_started = false;         // this run wrote a row
    QString m_line;                 // reused for every row
    qint64 m_rows = 0;
    Failure m_failure = Failure::None;
    QString m_reason;
};

} // namespace Measure
