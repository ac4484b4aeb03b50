#include "link/TelegramCodec.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    EXPECT_EQ(ComposeRequest(tables, Order::GIN), "GIN;00281\r\n");
    EXPECT_EQ(ComposeRequest(tables, Order::GST), "GST;00297\r\n");
    tables.Fields[Model::Field::StartMode].TelegramText = "0";
    EXPECT_TRUE(ComposeRequest(tables, Order::STM, "1").startsWith("STM;1;"));
    EXPECT_TRUE(ComposeRequest(tables, Order::STM).startsWith("STM;0;"));
    EXPECT_TRUE(ComposeRequest(tables, Order::GFM, "3").startsWith("GFM;3;"));
    // the sum of "STM;1;" is 411: every telegram ends in exactly five digits and CR LF
    EXPECT_EQ(ComposeRequest(tables, Order::STM, "1"), "STM;1;00411\r\n");
}

struct ReplyCase
{
    const char *name;
    QByteArray telegram;
    ReplyStatus status;
    std::optional<Reply> reply;
};

class CheckReplyTest : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(CheckReplyTest, ClassifiesEveryWayAReplyCanFail)
{
    const ReplyCheck check = CheckReply(GetParam().telegram);
    EXPECT_EQ(check.status, GetParam().status);
    EXPECT_EQ(check.reply, GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(Replies, CheckReplyTest, testing::Values(
    ReplyCase{"Good", "TIN;1;2;3;00621\r\n", ReplyStatus::Ok, Reply::TIN},
    ReplyCase{"LowerCaseCode", "tin;1;2;3;00717\r\n", ReplyStatus::Ok, Reply::TIN},
    ReplyCase{"Placeholder", "NIL;00286\r\n", ReplyStatus::Ok, Reply::NIL},
    ReplyCase{"SevenCharacters", "X;0\r\n\r\n", ReplyStatus::Incomplete, {}},
    ReplyCase{"LettersForChecksum", "TIN;1;2;3;abcde\r\n", ReplyStatus::NoChecksum, {}},
    ReplyCase{"WrongSum", "TIN;1;2;3;00622\r\n", ReplyStatus::BadChecksum, {}},
    ReplyCase{"SumTooLargeForFiveDigits", "TIN;" + QByteArray(1200, 'z') + ";46753\r\n", ReplyStatus::BadChecksum, {}},
    ReplyCase{"Refused", "GFH;?;00394\r\n", ReplyStatus::Refused, {}},
    ReplyCase{"UnknownCode", "XYZ;00326\r\n", ReplyStatus::Unknown, {}},
    ReplyCase{"NoCodeAtAll", ";;;00177\r\n", ReplyStatus::Unknown, {}}),
    [](const testing::TestParamInfo<ReplyCase> &info) { return std::string(info.param.name); });

TEST(CheckReply, TextIsTheReplyWithoutChecksumAndTerminator)
{
    const ReplyCheck check = CheckReply("TIN;1;2;3;00621\r\n");
    EXPECT_EQ(check.text, QStringLiteral("TIN;1;2;3;"));
}

// Row i of each table describes id i, and what a row names fits the rest: a set order's fields
// come back in its reply, each reply code leads to its own row, every field read has a reply.
namespace {

template <typename Table>
QStringList misplacedRows(const Table &table)
{
    QStringList out;
    for (std::size_t i = 0; i < table.size(); ++i)
        if (std::size_t(table[i].id) != i)
            out << QStringLiteral("row %1 describes %2").arg(i).arg(int(table[i].id));
    return out;
}

QStringList fieldProblems()
{
    QStringList out = misplacedRows(Model::FieldTable);
    for (const Model::TVComp &f : Model::FieldTable) {
        const QString name = QString::number(int(f.id));
        const bool read = std::any_of(ReplyTable.begin(), ReplyTable.end(),
                                      [&](const TRXTab &r) { return r.fields.contains(f.id); });
        if ((f.tokenPos > 0) != read)
            out << QStringLiteral("field %1: token %2, in a reply: %3").arg(name).arg(f.tokenPos).arg(read);
        const bool selector = f.kind == Model::FieldKind::ItemIndex || f.kind == Model::FieldKind::ItemInteger;
        if (selector != (f.items.count > 0))
            out << QStringLiteral("field %1: %2 items").arg(name).arg(f.items.count);
        if (Model::controlName(Model::valueOwner(f.id)) != Model::controlName(f.id))
            out << QStringLiteral("field %1 shares the value of another control").arg(name);
    }
    return out;
}

QStringList orderProblems()
{
    QStringList out = misplacedRows(OrderTable);
    for (const TTXTab &order : OrderTable)
        for (Model::Field field : order.fields)
            if (!replyInfo(order.reply).fields.contains(field))
                out << QStringLiteral("%1 sends field %2, %3 does not echo it")
                           .arg(order.code).arg(int(field)).arg(replyInfo(order.reply).code);
    return out;
}

QStringList replyProblems()
{
    QStringList out = misplacedRows(ReplyTable);
    for (const TRXTab &reply : ReplyTable) {
        if (IdentifyReply(QString::fromLatin1(reply.code) + u';') != reply.id)
            out << QStringLiteral("%1 is taken for another reply").arg(reply.code);
        if (reply.block && reply.fields.size() > 0)
            out << QStringLiteral("%1 goes to a block handler, its fields nowhere").arg(reply.code);
    }
    return out;
}

struct TableCase
{
    const char *name;
    QStringList (*problems)();
};

void PrintTo(const TableCase &c, std::ostream *os) { *os << c.name; }

class TableRows : public testing::TestWithParam<TableCase> {};

} // namespace

TEST_P(TableRows, DescribeTheirIdsAndFitTogether)
{
    const QStringList problems = GetParam().problems();
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Tables, TableRows,
                         testing::Values(TableCase{"Fields", fieldProblems}, TableCase{"Orders", orderProblems},
                                         TableCase{"Replies", replyProblems}),
                         [](const testing::TestParamInfo<TableCase> &info) { return std::string(info.param.name); });
