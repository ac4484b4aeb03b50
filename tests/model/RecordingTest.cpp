#include "model/Recording.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace Model;

TEST(ValidDuration, AcceptsHoursUpTo9999AndMinutesUpTo59)
{
    for (const char *ok : {"12", "0012:30", "12:", "9999:59", "0:0"})
        EXPECT_TRUE(ValidDuration(ok)) << ok;
    for (const char *bad : {"10000:00", "12:60", ":30", "ab:00", "", "-1:00"})
        EXPECT_FALSE(ValidDuration(bad)) << bad;
    EXPECT_EQ(DurationText(12.5 / 24.0), QStringLiteral("0012:30"));
}

TEST(ComputeMemoryStop, StartDurationAndStopStayConsistent)
{
    const double start = ToDays(QDateTime(QDate(2026, 3, 1), QTime(0, 0)));
    const double tenAm = 10.0 / 24.0;
    // start 1 March 10:00, 12 h 30 min: stop 22:30
    MemoryStop m = ComputeMemoryStop(2, start, tenAm, 12.5 / 24.0, 0, 0, -1, -1);
    EXPECT_TRUE(m.write);
    EXPECT_EQ(FromDays(m.stop), QDateTime(QDate(2026, 3, 1), QTime(22, 30), Qt::UTC));
    // moving the stop to 2 March 10:00 gives 24 h
    m = ComputeMemoryStop(1, start, tenAm, 0, start + 1, tenAm, m.duration, m.stop);
    EXPECT_NEAR(m.duration, 1.0, 1e-9);
    // a stop before the start: duration 0, stop = start
    m = ComputeMemoryStop(1, start, tenAm, 0, start - 1, 0, m.duration, m.stop);
    EXPECT_EQ(m.duration, 0.0);
    EXPECT_DOUBLE_EQ(m.stop, start + tenAm);
    // 10000 hours is clamped to 9999
    m = ComputeMemoryStop(2, start, tenAm, 10000.0 / 24.0, 0, 0, -1, -1);
    EXPECT_DOUBLE_EQ(m.duration, kMaxDurationDays);
}

TEST(ComputeMemoryStop, LessThanAMinuteChangesNothing)
{
    const MemoryStop first = ComputeMemoryStop(2, 46000, 0.5, 0.25, 0, 0, -1, -1);
    const MemoryStop again = ComputeMemoryStop(2, 46000, 0.5, 0.25 + kOneMinute / 2, 0, 0, first.duration, first.stop);
    EXPECT_FALSE(again.write);
    EXPECT_FALSE(again.durationMoved);
}

// The count is the wall clock as written: neither the zone nor daylight saving moves a start,
// a stop or a stamp by an hour (a summer start at midnight once gave a stop an hour early).
TEST(DayCount, NoTimeZoneEntersTheCount)
{
    const QByteArray before = qgetenv("TZ");
    for (const char *zone : {"UTC", "Europe/Berlin"}) {
        qputenv("TZ", zone);
        tzset();
        const double july = ToDays(QDateTime(QDate(2026, 7, 1), QTime(0, 0)));
        EXPECT_EQ(july, DateToDays(QDate(2026, 7, 1))) << zone;
        EXPECT_EQ(july, 46204.0) << zone;
        // 22:00 plus four hours over the night the clocks go forward
        const double start = ToDays(QDateTime(QDate(2026, 3, 28), QTime(0, 0)));
        const MemoryStop m = ComputeMemoryStop(2, start, 22.0 / 24, 4.0 / 24, 0, 0, -1, -1);
        EXPECT_EQ(FromDays(m.stop).time(), QTime(2, 0)) << zone;
        EXPECT_EQ(parseDate(QStringLiteral("29.3"), 2026), FromDays(m.stop).date()) << zone;
    }
    before.isNull() ? qunsetenv("TZ") : qputenv("TZ", before);
    tzset();
}
