#pragma once

#include "measure/ColumnLayout.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace Measure {

enum class CellKind : quint8 { Text, Number, Date, Time, Empty };

// What a read knows before its first row.
struct RecordStart
{
    double firstRecordTime = 0;
    DisplayFormats formats;
    QString templateFile;           // a workbook to fill; empty for a new one
};

struct RecordHeading
{
    const ColumnLayout &layout;
    QStringList columns;
    double firstRecordTime = 0;
    QString serialNumber, programVersion, analogUnit;
};

// One record: its cells as text, in heading order. A date or time cell also has `when`, which
// a sink that computes with dates takes instead of the text.
struct RecordRow
{
    double when;
    const std::vector<QString> &cells;
    const std::vector<CellKind> &kinds;
};

// Where the records of a read go: text, workbook, rows appended to a file. A new export
// format is one more class of this kind; the readers do not know which one they feed.
class RecordSink
{
public:
    virtual ~RecordSink() = default;
    // the status text a read into this sink shows when asked for, before anything is checked
    virtual QString announcement() const { return {}; }
    // the sink fills the read's template, which the reader makes usable (an old one converted) first
    virtual bool fillsTemplate() const { return false; }
    // a read begins: what the sink held goes; false when it cannot take one (failure() says why)
    virtual bool begin(const RecordStart &) { return true; }
    virtual bool heading(const RecordHeading &) = 0;
    virtual bool row(const RecordRow &) = 0;
    // the read is over; `complete` when it reached the end of its records
    virtual bool end(bool complete) = 0;
    virtual QString failure() const { return {}; }
    // data rows taken since begin()
    virtual int rows() const = 0;
    // the name ending of the file save() writes
    virtual QString fileSuffix() const = 0;
    // everything taken to `path`, whole or not at all; `error` gets the system's reason
    virtual bool save(const QString &path, QString *error) = 0;
};

// The cells of the record in `fields` at `recordTime`, in the layout's order, into vectors the
// caller keeps from row to row. Ion values in their text width: a workbook reads the number.
void FillRecordCells(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                     const DisplayFormats &formats, std::vector<QString> &cells, std::vector<CellKind> &kinds);

} // namespace Measure
