#include "link/TelegramTables.h"

namespace Link {

void BuildTables(Tables &tables)
{
    tables.Fields.clear();
    tables.Status.BuildRangeNames();
    tables.Status.BuildMeterScales();
    tables.Status.BuildAlarmTexts();
}

} // namespace Link
