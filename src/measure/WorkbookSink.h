#pragma once

#include "measure/RecordSink.h"
#include "measure/SheetExport.h"

namespace Measure {

// The workbook export: the template filled (or a new workbook), heading and column headings,
// one row per record with dates and times as values a spreadsheet computes with. With
// `chartAtEnd` a complete read gets its chart under the default title.
class WorkbookSink : public RecordSink
{
public:
    explicit WorkbookSink(bool chartAtEnd = false) : m_chartAtEnd(chartAtEnd) {}

    bool fillsTemplate() const override { return true; }
    bool begin(const RecordStart &start) override;
    bool heading(const RecordHeading &heading) override;
    bool row(const RecordRow &row) override;
    bool end(bool complete) override;
    QString failure() const override { return m_failure; }
    int rows() const override { return m_sheet.RowsWritten(); }
    QString fileSuffix() const override { return suffix; }
    bool save(const QString &path, QString *error) override { return m_sheet.workbook().SaveAs(path, error); }

    SheetExport &sheet() { return m_sheet; }
    // what the template needs ("xlsm" keeps its macros)
    QString suffix = QStringLiteral("xlsx");

private:
    SheetExport m_sheet;
    double m_firstRecordTime = 0;
    QString m_failure;
    bool m_chartAtEnd;
};

} // namespace Measure
