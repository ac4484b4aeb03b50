#include "model/DayCount.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace Model {

namespace {

const QDate &epoch()
{
    static const QDate e(1899, 12, 30);
    return e;
}

constexpr qint64 kMsPerDay = 86400000;

} // namespace

double DateTimeToDays(const QDateTime &when)
{
    return double(epoch().daysTo(when.date())) + when.time().msecsSinceStartOfDay() / double(kMsPerDay);
}

double DateToDays(QDate date)
{
    return double(epoch().daysTo(date));
}

QDateTime DaysToDateTime(double days)
{
    // whole milliseconds, so a stamp that is a hair below a full second still shows that second
    const qint64 ms = std::llround(days * double(kMsPerDay));
    qint64 day = ms / kMsPerDay;
    qint64 rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --day;
    }
    return QDateTime(epoch().addDays(day), QTime::fromMSecsSinceStartOfDay(int(rest)), Qt::UTC);
}

std::optional<QDate> parseDate(const QString &text, std::optional<int> defaultYear)
{
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(u'.');
    if (parts.size() < 2)
        return std::nullopt;
    bool okD = false, okM = false, okY = true;
    const int day = parts[0].toInt(&okD);
    const int month = parts[1].toInt(&okM);
    int year = 0;
    if (parts.size() > 2 && !parts[2].isEmpty())
        year = parts[2].toInt(&okY);
    else if (defaultYear)
        year = *defaultYear;
    else
        okY = false;
    const QDate date(year, month, day);
    if (!okD || !okM || !okY || !date.isValid())
        return std::nullopt;
    return date;
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

} // namespace Model
