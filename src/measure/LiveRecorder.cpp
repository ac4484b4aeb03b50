#include "measure/LiveRecorder.h"

namespace Measure {

bool LiveRecorder::Open(const QString &path)
{
    m_haveColumns = false;
    return m_sink.Open(path);
}

bool LiveRecorder::Append(const QDateTime &when, const CurrentValues &values, const QString &analogCaption,
                          const DisplayFormats &formats)
{
    if (!m_sink.isOpen())
        return false;
    static const ColumnLayout noLayout;
    const LiveColumns columns = LiveColumnsFor(values);
    if (!m_haveColumns || columns != m_columns)
        m_sink.heading({noLayout, LiveHeadingCells(columns, analogCaption), 0, {}, {}, {}});
    LiveCells(columns, when, values, formats, m_cells);
    m_kinds.assign(m_cells.size(), CellKind::Text);
    if (!m_sink.row({DateTimeToDays(when), m_cells, m_kinds}))
        return false;
    m_columns = columns;
    m_haveColumns = true;
    return true;
}

} // namespace Measure
