#pragma once

#include <QDateTime>
#include <QString>

namespace Model {

// Date-time values as day counts since 30 December 1899, the time of day as fraction.
double ToDays(const QDateTime &when);
QDateTime FromDays(double days);

// "hhhh" or "hhhh:mm", hours 0..9999, minutes 0..59; an empty minute part counts as 0.
bool ValidDuration(const QString &text);
// "hhhh:mm" of a span in days (whole minutes).
QString DurationText(double days);

constexpr double kMaxDurationDays = 9999.0 / 24.0;     // 416.625
constexpr double kOneMinute = 1.0 / 1440.0;

// Keeps recording start, duration and stop consistent.
struct MemoryStop
{
    double duration = 0;     // days
    double stop = 0;         // date-time in days
    bool write = false;      // false: within a minute of what was last applied; leave the controls alone
    bool durationMoved = false;
};

// mode 0 and 2 take the duration, mode 1 the stop; any other mode means duration 0.
MemoryStop ComputeMemoryStop(int mode, double startDate, double startTime, double duration, double stopDate,
                             double stopTime, double lastDuration, double lastEnd);

} // namespace Model
