#include "measure/CurrentValues.h"

namespace Measure {

CurrentValuesParse ParseCurrentValues(QStringView) { return {}; }
void ParseCurrentValues(QStringView, CurrentValuesSink &, Link::ProtocolEngine &) {}
QString SensorCellText(bool, float, QChar) { return {}; }

} // namespace Measure
