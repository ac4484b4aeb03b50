#include "measure/ColumnLayout.h"

namespace Measure {

ColumnLayout BuildColumnLayout(const MeasureFields &, bool twoColumns) { return {{}, twoColumns, false, false}; }
QString FormatDate(double, const QString &) { return {}; }
QString FormatDateTime(double, const QString &) { return {}; }
std::optional<QString> ColumnValue(const TColumn &, const MeasureFields &, double, const DisplayFormats &, bool, bool)
{
    return std::nullopt;
}
QStringList TextHeadingLines(const ColumnLayout &, double, const QString &) { return {}; }
QString TextRow(const ColumnLayout &, const MeasureFields &, double, const DisplayFormats &) { return {}; }
QStringList DirectoryRowTexts(const TBlockHeader &, const DisplayFormats &) { return {}; }
QStringList DirectoryHeadings() { return {}; }

} // namespace Measure
