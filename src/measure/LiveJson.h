#pragma once

#include "measure/CurrentValues.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace Measure {

// One reading as a compact JSON object for a message broker: ISO 8601 time with milliseconds
// and offset, range, polarity, ions, the analogue input in volts, sensors by address (null for
// a missing one). Numbers never follow the locale.
QByteArray LiveJson(const QDateTime &when, const CurrentValues &values, const QString &analogName);

} // namespace Measure
