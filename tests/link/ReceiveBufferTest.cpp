#include "link/ReceiveBuffer.h"

#include <gtest/gtest.h>

using Link::ReceiveBuffer;

namespace {
int feedAll(ReceiveBuffer &buffer, QByteArrayView bytes)
{
    int completed = 0;
    for (char c : bytes)
        completed += buffer.feed(c) ? 1 : 0;
    return completed;
}
} // namespace

TEST(ReceiveBuffer, CompletesAtTheLfAndHandsTheTelegramOutOnce)
{
    ReceiveBuffer buffer;
    const QByteArray telegram = "TIN;1;2;3;00621\r\n";
    EXPECT_EQ(feedAll(buffer, telegram.chopped(1)), 0);
    EXPECT_FALSE(buffer.fetch());
    EXPECT_EQ(feedAll(buffer, "\n"), 1);
    EXPECT_EQ(buffer.fetch(), telegram);
    EXPECT_FALSE(buffer.fetch());
}

TEST(ReceiveBuffer, ANewTelegramReplacesAnUnfetchedOne)
{
    ReceiveBuffer buffer;
    feedAll(buffer, "TIN;1;2;3;00621\r\n");
    feedAll(buffer, "TDA;x;y;00000\r\n");
    EXPECT_EQ(buffer.fetch(), QByteArray("TDA;x;y;00000\r\n"));
}

TEST(ReceiveBuffer, ShortLinesAndEndlessNoiseDoNotBlockTheNextTelegram)
{
    ReceiveBuffer buffer;
    feedAll(buffer, "ab\r\n");                          // LF within the first 8 bytes
    feedAll(buffer, QByteArray(10000, 'x'));            // noise without LF
    EXPECT_LE(buffer.text().size(), ReceiveBuffer::kMaxWithoutLf);
    buffer = ReceiveBuffer();
    feedAll(buffer, "ab\r\n");
    EXPECT_EQ(feedAll(buffer, "TIN;1;2;3;00621\r\n"), 1);
    EXPECT_EQ(buffer.fetch(), QByteArray("TIN;1;2;3;00621\r\n"));
}

TEST(ReceiveBuffer, NineBytesEndingInLfAreATelegram)
{
    ReceiveBuffer buffer;
    EXPECT_EQ(feedAll(buffer, "1234567\r\n"), 1);
    ReceiveBuffer shorter;
    EXPECT_EQ(feedAll(shorter, "123456\r\n"), 0);
}

TEST(ReceiveBuffer, DiscardForgetsAWaitingTelegramAndAPartialLine)
{
    ReceiveBuffer buffer;
    feedAll(buffer, "TIN;1;2;3;00621\r\n");
    buffer.discard();
    EXPECT_FALSE(buffer.fetch());
    feedAll(buffer, "TST;1;0;");                       // the start of a reply cut off by the discard
    buffer.discard();
    EXPECT_EQ(feedAll(buffer, "TRA;7;00382\r\n"), 1);
    EXPECT_EQ(buffer.fetch(), QByteArray("TRA;7;00382\r\n"));
}
