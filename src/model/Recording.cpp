#include "model/Recording.h"

#include <algorithm>
#include <cmath>

namespace Model {

namespace {
const QDateTime &epoch()
{
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0));
    return e;
}
} // namespace

double ToDays(const QDateTime &when)
{
    return double(epoch().msecsTo(QDateTime(when.date(), when.time()))) / 86400000.0;
}

QDateTime FromDays(double days)
{
    return epoch().addMSecs(qint64(std::llround(days * 86400000.0)));
}

bool ValidDuration(const QString &text)
{
    const QStringList parts = text.split(u':');
    bool ok = false;
    const int hours = parts[0].toInt(&ok);
    if (parts[0].isEmpty() || !ok || hours < 0 || hours > 9999)
        return false;
    if (parts.size() < 2 || parts[1].isEmpty())
        return true;
    const int minutes = parts[1].toInt(&ok);
    return ok && minutes >= 0 && minutes <= 59;
}

QString DurationText(double days)
{
    const long long minutes = std::llround(std::max(0.0, days) * 1440.0);
    return QStringLiteral("%1:%2").arg(minutes / 60, 4, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

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
