#pragma once

#include "measure/ColumnLayout.h"
#include "measure/CurrentValues.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace Measure {

// The columns of a recording of live values: what one reply carries. Sensors stand in a fixed
// order (humidity 0 to F, then temperature 0 to F), so rows of replies that list them in
// another order still line up under the same heading.
struct LiveColumns
{
    bool analog = false;
    struct Sensor
    {
        bool humidity = true;
        int sensor = 0;
        bool operator==(const Sensor &) const = default;
    };
    std::vector<Sensor> sensors;
    bool operator==(const LiveColumns &) const = default;
};
LiveColumns LiveColumnsFor(const CurrentValues &values);

// "Datum;Zeit;Messbereich;Ionen;<analogue caption>;F 0;...;T F"
QString LiveHeading(const LiveColumns &columns, const QString &analogCaption);
QStringList LiveHeadingCells(const LiveColumns &columns, const QString &analogCaption);

// One reply at `when`: date, time with milliseconds (the decimal separator before them),
// the range index, the ion value signed by its polarity, the analogue input in volts with
// three decimals, the sensors with one. A column the reply lacks, and a sensor that reports
// itself missing, stay empty.
QString LiveRow(const LiveColumns &columns, const QDateTime &when, const CurrentValues &values,
                const DisplayFormats &formats);
// the same as cells, into a vector kept from row to row
void LiveCells(const LiveColumns &columns, const QDateTime &when, const CurrentValues &values,
               const DisplayFormats &formats, std::vector<QString> &cells);

} // namespace Measure
