#include "model/Recording.h"

#include <algorithm>
#include <cmath>

namespace Model {

MemoryStop ComputeMemoryStop(int mode, double startDate, double startTime, double duration, double stopDate,
                             double stopTime, double lastDuration, double lastEnd)
{
    MemoryStop out;
    double d = 0;
    if (mode == 0 || mode == 2)
        d = duration;
    else if (mode == 1)
        d = (stopDate + stopTime) - startDate - startTime;
    d = std::clamp(d, 0.0, kMaxDurationDays);
    out.duration = d;
    out.stop = startDate + d + startTime;
    out.durationMoved = std::abs(lastDuration - d) >= kOneMinute;
    out.write = std::abs(lastDuration - d) > kOneMinute || std::abs(lastEnd - out.stop) > kOneMinute;
    return out;
}

} // namespace Model
