#include "link/TelegramCodec.h"

#include <gtest/gtest.h>

using namespace Link;

TEST(GetToken, SplitsAtAnySeparatorAndCountsEmptyTokens)
{
    EXPECT_EQ(TokenCount(u"A;B", u";"), 2);
    EXPECT_EQ(GetToken(u"A;;B", u";", 2), QString());
    EXPECT_TRUE(GetToken(u"A;;B", u";", 2).has_value());
    EXPECT_EQ(GetToken(u"A;;B", u";", 3), QStringLiteral("B"));
    EXPECT_FALSE(GetToken(u"A;B", u";", 3).has_value());
    EXPECT_EQ(GetToken(u"12:30.5", u":.", 3), QStringLiteral("5"));
    EXPECT_FALSE(GetToken(u"", u";", 1).has_value());
    EXPECT_FALSE(GetToken(u"A", u"", 1).has_value());
    EXPECT_EQ(TokenCount(u"", u";"), 0);
    // a reply body ends with ";" so its last counted token is empty
    EXPECT_EQ(TokenCount(u"TIN;1;2;3;", u";"), 5);
    EXPECT_EQ(GetToken(u"TIN;1;2;3;", u";", 5), QString());
}

TEST(Compose, ChecksumKeepsLeadingZerosAndParameterReplacesFields)
{
    Tables tables;
    BuildTables(tables);
    EXPECT_EQ(ComposeRequest(tables, Orders::GIN), "GIN;00281\r\n");
    EXPECT_EQ(ComposeRequest(tables, Orders::GST), "GST;00297\r\n");
    tables.FieldTable[33].TelegramText = "0";
    EXPECT_TRUE(ComposeRequest(tables, Orders::STM, "1").startsWith("STM;1;"));
    EXPECT_TRUE(ComposeRequest(tables, Orders::STM).startsWith("STM;0;"));
    EXPECT_TRUE(ComposeRequest(tables, Orders::GFM, "3").startsWith("GFM;3;"));
    // the sum of "STM;1;" is 411: every telegram ends in exactly five digits and CR LF
    EXPECT_EQ(ComposeRequest(tables, Orders::STM, "1"), "STM;1;00411\r\n");
}

struct ReplyCase
{
    const char *name;
    QByteArray telegram;
    ReplyStatus status;
    int index;
};

class CheckReplyTest : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(CheckReplyTest, ClassifiesEveryWayAReplyCanFail)
{
    const ReplyTable replies = BuildReplyTable();
    const ReplyCheck check = CheckReply(replies, GetParam().telegram);
    EXPECT_EQ(check.status, GetParam().status);
    EXPECT_EQ(check.replyIndex, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Replies, CheckReplyTest, testing::Values(
    ReplyCase{"Good", "TIN;1;2;3;00621\r\n", ReplyStatus::Ok, Replies::TIN},
    ReplyCase{"LowerCaseCode", "tin;1;2;3;00717\r\n", ReplyStatus::Ok, Replies::TIN},
    ReplyCase{"Placeholder", "NIL;00286\r\n", ReplyStatus::Ok, Replies::NIL},
    ReplyCase{"SevenCharacters", "X;0\r\n\r\n", ReplyStatus::Incomplete, -1},
    ReplyCase{"LettersForChecksum", "TIN;1;2;3;abcde\r\n", ReplyStatus::NoChecksum, -1},
    ReplyCase{"WrongSum", "TIN;1;2;3;00622\r\n", ReplyStatus::BadChecksum, -1},
    ReplyCase{"SumTooLargeForFiveDigits", "TIN;" + QByteArray(1200, 'z') + ";46753\r\n", ReplyStatus::BadChecksum, -1},
    ReplyCase{"Refused", "GFH;?;00394\r\n", ReplyStatus::Refused, -1},
    ReplyCase{"UnknownCode", "XYZ;00326\r\n", ReplyStatus::Unknown, -1},
    ReplyCase{"NoCodeAtAll", ";;;00177\r\n", ReplyStatus::Unknown, -1}),
    [](const testing::TestParamInfo<ReplyCase> &info) { return std::string(info.param.name); });

TEST(CheckReply, TextIsTheReplyWithoutChecksumAndTerminator)
{
    const ReplyCheck check = CheckReply(BuildReplyTable(), "TIN;1;2;3;00621\r\n");
    EXPECT_EQ(check.text, QStringLiteral("TIN;1;2;3;"));
}
