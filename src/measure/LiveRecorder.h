#pragma once

#include "measure/CsvSink.h"
#include "measure/LiveRows.h"

#include <QString>

#include <vector>

namespace Measure {

// Records live values as rows appended to a CSV file (see CsvSink for the file's rules): one row
// per reply, a heading first and again wherever the sensors on the bus change.
class LiveRecorder
{
public:
    using Failure = CsvSink::Failure;

    // Checks that the file can be written and takes note of how it ends.
    bool Open(const QString &path);
    // One row for the reply at `when`. When it cannot be written the recorder closes.
    bool Append(const QDateTime &when, const CurrentValues &values, const QString &analogCaption,
                const DisplayFormats &formats);
    void Close() { m_sink.Close(); }
    // An empty row where values are missing (no reply, the port away). Nothing before this run's first row.
    bool markGap() { return m_sink.markGap(); }

    Failure failure() const { return m_sink.failureKind(); }
    // the system's reason, or why the file is not continued, in the program's language
    QString failureReason() const { return m_sink.failure(); }

    bool isOpen() const { return m_sink.isOpen(); }
    QString fileName() const { return m_sink.fileName(); }
    qint64 rows() const { return m_sink.rowCount(); }

    static QString RowForm(const QString &row) { return CsvSink::RowForm(row); }
    static bool IsHeading(const QString &line) { return CsvSink::IsHeading(line); }

private:
    CsvSink m_sink;
    LiveColumns m_columns;
    bool m_haveColumns = false;
    std::vector<QString> m_cells;       // reused for every row
    std::vector<CellKind> m_kinds;
};

} // namespace Measure
