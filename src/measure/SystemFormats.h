#pragma once

#include "measure/ColumnLayout.h"

#include <QLocale>

namespace Measure {

// The system's short date (always with a four-digit year) and a time of day "HH:mm:ss" with
// the locale's time separator: the forms the program shows and exports dates and times in.
DisplayFormats SystemDisplayFormats(const QLocale &locale, QChar decimalSep);

// The first separator of the locale's short time format; ":" when it has none (a format whose
// parts are joined by quoted words).
QChar SystemTimeSeparator(const QLocale &locale);

} // namespace Measure
