#include "model/TimeText.h"

#include <gtest/gtest.h>

using namespace Model;

namespace {

struct TimeCase
{
    const char *text;
    QChar separator;
    const char *expected;   // nullptr: not a time
};

} // namespace

// Files carry ":"; the desktop's separator is taken as well, never instead.
TEST(TimeText, FileTimesReadWithColonOrTheLocaleSeparator)
{
    const TimeCase cases[] = {
        {"08:30:00", u':', "08:30:00"}, {"08:30", u':', "08:30:00"},  {"08:30:00", u'.', "08:30:00"},
        {"08.30.15", u'.', "08:30:15"}, {"8.30", u'.', "08:30:00"},   {" 23:59:59 ", u'.', "23:59:59"},
        {"08.30.00", u':', nullptr},    {"12", u':', nullptr},        {"24:00:00", u':', nullptr},
        {"12:60", u':', nullptr},       {"1:2:3:4", u':', nullptr},   {"ab:00", u':', nullptr},
        {"", u':', nullptr},            {"12::00", u':', nullptr},
    };
    for (const TimeCase &c : cases) {
        const auto time = ReadFileTime(QString::fromLatin1(c.text), c.separator);
        if (c.expected)
            EXPECT_EQ(time, QTime::fromString(QString::fromLatin1(c.expected), "HH:mm:ss")) << c.text;
        else
            EXPECT_FALSE(time) << c.text << " read as " << qPrintable(time->toString());
    }
}

TEST(TimeText, TelegramTimesReadTokensAtColons)
{
    EXPECT_EQ(ReadTelegramTime(u"12:34:56", 3), QTime(12, 34, 56));
    EXPECT_EQ(ReadTelegramTime(u"12:34:56", 2), QTime(12, 34));        // seconds of a start time are not read
    EXPECT_EQ(ReadTelegramTime(u"12:34:xx", 2), QTime(12, 34));
    EXPECT_EQ(ReadTelegramTime(u"12", 3), QTime(12, 0));               // absent tokens count as 0
    EXPECT_FALSE(ReadTelegramTime(u"12:61:00", 3));
    EXPECT_FALSE(ReadTelegramTime(u"24:10:00", 3));
    EXPECT_FALSE(ReadTelegramTime(u"12.30.00", 3));
    EXPECT_FALSE(ReadTelegramTime(u"", 3));
}

// A span may pass 24 hours: the spin edit steps to 24:10:00 and the instrument echoes it.
TEST(TimeText, SpansTakeAnyWholeNumbersAndComeBackWithColons)
{
    EXPECT_EQ(ReadSpanText(u"24:10:00", u':'), QStringLiteral("24:10:00"));
    EXPECT_EQ(ReadSpanText(u"99:59:59", u':'), QStringLiteral("99:59:59"));
    EXPECT_EQ(ReadSpanText(u"00:00:30", u'.'), QStringLiteral("00:00:30"));
    EXPECT_EQ(ReadSpanText(u"01.00.00", u'.'), QStringLiteral("01:00:00"));
    EXPECT_EQ(ReadSpanText(u"5", u':'), QStringLiteral("5"));
    EXPECT_FALSE(ReadSpanText(u"01.00.00", u':'));
    EXPECT_FALSE(ReadSpanText(u"00:xx:30", u':'));
    EXPECT_FALSE(ReadSpanText(u"", u':'));
}

TEST(TimeText, WrittenTimesAlwaysUseColons)
{
    const double days = 45000 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
    EXPECT_EQ(TimeOfDayText(days, false), QStringLiteral("13:05:09"));
    EXPECT_EQ(TimeOfDayText(days, true), QStringLiteral("13:05:00"));
    EXPECT_EQ(TimeOfDayText(1.0 - 1e-10, false), QStringLiteral("00:00:00"));
}
