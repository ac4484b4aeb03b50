#pragma once

#include "measure/MeasureTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Cli {

// The check marks `--fields` gives one block's field list. The list is a comma-separated row
// of items, each a group (all, datetime, ions, analog, sensors, averages), a field's caption
// ("Ionen Avg", "F 0"; case and blanks do not matter) or its position counted from 1. An item
// with a leading "-" takes the marks away instead. Marks start empty, or all set when the
// first item takes away; an empty list marks every field.
struct FieldChoice
{
    QList<bool> marks;
    QStringList unmatched;      // items that name no group and no field of this list
};
FieldChoice ChooseFields(const Measure::MeasureFields &fields, const QString &list);

} // namespace Cli
