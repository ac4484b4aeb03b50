#include "measure/FieldSelection.h"

namespace Measure {

QList<bool> ApplyGroupButton(const MeasureFields &, const QList<bool> &marks, SelectGroup, bool) { return marks; }
bool IsUnmarkButton(const QString &, SelectGroup) { return false; }

} // namespace Measure
