#include "measure/SheetExport.h"

namespace Measure {

bool SheetExport::StartSpreadsheet(const QString &, double, const DisplayFormats &, QString *) { return false; }
void SheetExport::WriteSheetHeading(const ColumnLayout &, double, const QString &, const QString &, const QString &) {}
void SheetExport::WriteSheetRow(const ColumnLayout &, const MeasureFields &, double, const DisplayFormats &) {}
bool SheetExport::CreateChart(const QString &, QString *) { return false; }
QString SheetExport::SuggestedSaveName(const QString &, const QDateTime &) { return {}; }
QString SheetExport::DefaultChartTitle(double) { return {}; }

} // namespace Measure
