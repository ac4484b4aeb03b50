#pragma once

#include "model/DayCount.h"

namespace Model {

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
