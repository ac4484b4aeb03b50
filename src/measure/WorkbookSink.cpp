#include "measure/WorkbookSink.h"

namespace Measure {

bool WorkbookSink::begin(const RecordStart &start)
{
    m_failure.clear();
    m_firstRecordTime = start.firstRecordTime;
    return m_sheet.StartSpreadsheet(start.templateFile, start.firstRecordTime, start.formats, &m_failure);
}

bool WorkbookSink::heading(const RecordHeading &heading)
{
    m_sheet.WriteSheetHeading(heading.layout, heading.firstRecordTime, heading.serialNumber, heading.programVersion,
                              heading.analogUnit);
    return true;
}

bool WorkbookSink::row(const RecordRow &row)
{
    m_sheet.WriteSheetRow(row.when, row.cells, row.kinds);
    return true;
}

bool WorkbookSink::end(bool complete)
{
    // a block without a single row (every record stored in alarm, say) gets no chart
    if (!m_chartAtEnd || !complete)
        return true;
    m_failure.clear();
    return m_sheet.CreateChart(SheetExport::DefaultChartTitle(m_firstRecordTime), &m_failure);
}

} // namespace Measure
