#include "measure/RecordSink.h"

namespace Measure {

void FillRecordCells(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                     const DisplayFormats &formats, std::vector<QString> &cells, std::vector<CellKind> &kinds)
{
    const std::size_t n = layout.columns.size();
    cells.resize(n);
    kinds.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const TColumn &c = layout.columns[i];
        std::optional<QString> value = ColumnValue(c, fields, recordTime, formats, layout.twoColumns, false);
        kinds[i] = c.kind == KindDate ? CellKind::Date
                   : c.kind == KindTime ? CellKind::Time
                   : value              ? CellKind::Number
                                        : CellKind::Empty;
        if (value)
            cells[i] = std::move(*value);
        else
            cells[i].clear();
    }
}

} // namespace Measure
