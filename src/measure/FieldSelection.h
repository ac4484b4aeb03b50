#pragma once

#include "measure/MeasureTypes.h"

#include <QList>

namespace Measure {

// The six pairs of group buttons.
enum class SelectGroup { All, DateTime, Ions, Analog, Sensors, Averages };

// The check marks after a group button: `mark` is the mark button, false the unmark button.
// Positions outside the group keep their marks. Averages: within ions and analogue input the
// mark button leaves exactly the averages marked; the unmark button unmarks only them.
QList<bool> ApplyGroupButton(const MeasureFields &fields, const QList<bool> &marks, SelectGroup group, bool mark);

// The unmark button of a pair carries this name ("btnSelAll0" ...); any other sender marks.
bool IsUnmarkButton(const QString &senderName, SelectGroup group);

} // namespace Measure
