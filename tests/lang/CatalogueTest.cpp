// The module reader: the format, its escapes, and what it does with every kind of bad input.
#include "lang/Catalogue.h"
#include "lang/Texts.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Lang;

namespace {

QByteArray lines(std::initializer_list<const char *> list)
{
    QByteArray out;
    for (const char *l : list)
        out += QByteArray(l) + '\n';
    return out;
}

// every text of the module is one the program knows
void expectOnlyKnownTexts(const Catalogue &c)
{
    for (auto it = c.texts.cbegin(); it != c.texts.cend(); ++it)
        EXPECT_TRUE(IsKnownText(it.key())) << it.key();
}

} // namespace

TEST(Catalogue, ReadsNumberedTextsAndSkipsCommentsAndBlankLines)
{
    const Catalogue c = ParseCatalogue(lines({"# English", "", "   ", "5602=&File", "  # indented comment",
                                              "5665= End:", "5512=Quit? ", "5611=a=b"}));
    EXPECT_TRUE(c.failure.isEmpty());
    EXPECT_EQ(c.problemCount, 0);
    EXPECT_EQ(c.texts.size(), 4);
    EXPECT_EQ(c.texts.value(TxCapDatei1), "&File");
    EXPECT_EQ(c.texts.value(TxCapLblExtScaleEnd), " End:");     // blanks around a text are part of it
    EXPECT_EQ(c.texts.value(TxAskClose), "Quit? ");
    EXPECT_EQ(c.texts.value(TxCapHilfe1), "a=b");                // only the first "=" separates
    EXPECT_EQ(c.missing, KnownTextIds().size() - 4);
}

TEST(Catalogue, LineBreaksBackslashesCrLfAndByteOrderMark)
{
    const Catalogue c = ParseCatalogue("\xEF\xBB\xBF" "5801=one\\ntwo\r\n5802=C:\\\\dir\\\\n\r\n5803=keep \\t as is\r\n"
                                       "5804=ends with \\");
    ASSERT_TRUE(c.failure.isEmpty());
    EXPECT_EQ(c.problemCount, 0);
    EXPECT_EQ(c.texts.value(5801), "one\ntwo");
    EXPECT_EQ(c.texts.value(5802), "C:\\dir\\n");                 // "\\\\n" is a backslash and an n
    EXPECT_EQ(c.texts.value(5803), "keep \\t as is");
    EXPECT_EQ(c.texts.value(5804), "ends with \\");                // last line without a line break
}

TEST(Catalogue, WrittenAndReadBackGivesEveryBuiltInTextUnchanged)
{
    QHash<int, QString> german;
    for (int id : KnownTextIds())
        german.insert(id, GermanText(id));
    german.insert(TxCapForm1, "back\\slash \\n and\nbreak");
    const Catalogue c = ParseCatalogue(WriteCatalogue(german));
    EXPECT_TRUE(c.failure.isEmpty());
    EXPECT_EQ(c.problemCount, 0);
    EXPECT_EQ(c.missing, 0);
    EXPECT_EQ(c.texts, german);
}

TEST(Catalogue, UnusableModulesSayWhy)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        TextId reason;
    };
    const Case cases[] = {
        {"empty", QByteArray(), TxModuleEmpty},
        {"blank", QByteArray("\n \r\n\t\n"), TxModuleEmpty},
        {"only a byte order mark", QByteArray("\xEF\xBB\xBF"), TxModuleEmpty},
        {"NUL bytes", QByteArray("5602=Fi\0le\n", 11), TxModuleBinary},
        {"not UTF-8", QByteArray("5602=Gr\xFC\xDF" "e\n"), TxModuleBinary},
        {"a program", QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10), TxModuleBinary},
        {"too large", QByteArray(kMaxModuleBytes + 1, 'x'), TxModuleTooLarge},
        {"comments only", QByteArray("# nothing\n# here\n"), TxModuleNoTexts},
        {"no usable line", QByteArray("hello\n9999999=x\n"), TxModuleNoTexts},
    };
    for (const Case &c : cases) {
        const Catalogue result = ParseCatalogue(c.bytes);
        EXPECT_EQ(result.failure, Text(c.reason)) << c.what;
        EXPECT_TRUE(result.texts.isEmpty()) << c.what;
    }
}

TEST(Catalogue, UnknownDuplicateAndMalformedLinesAreSkippedAndNamed)
{
    const Catalogue c = ParseCatalogue(lines({
        "5602=&File",                 // 1
        "9999=unknown number",        // 2
        "5602=&Second file",          // 3: the first stays
        "no equals sign",             // 4
        "=no number",                 // 5
        "56o2=letter in the number",  // 6
        "-5602=negative",             // 7
        "99999999999999999999=huge",  // 8: no overflow into a known number
        "5603=tab\tis fine",          // 9
        "5604=bell\x07",              // 10
        " 5605 =spaces around the number",
    }));
    EXPECT_TRUE(c.failure.isEmpty());
    EXPECT_EQ(c.texts.value(TxCapDatei1), "&File");
    EXPECT_EQ(c.texts.value(TxCapKonfigurationladen1), "tab\tis fine");
    EXPECT_EQ(c.texts.value(TxCapProgrammbeenden1), "spaces around the number");
    EXPECT_FALSE(c.texts.contains(TxCapKonfigurationspeichern1));
    EXPECT_EQ(c.texts.size(), 3);
    ASSERT_EQ(c.problemCount, 8);
    EXPECT_EQ(c.problems.value(0), Format(Text(TxModuleUnknownId), {"2", "9999"}));
    EXPECT_EQ(c.problems.value(1), Format(Text(TxModuleDuplicateId), {"3", "5602", "1"}));
    EXPECT_EQ(c.problems.value(2), Format(Text(TxModuleBadLine), {"4"}));
    EXPECT_EQ(c.problems.value(6), Format(Text(TxModuleBadLine), {"8"}));
    EXPECT_EQ(c.problems.value(7), Format(Text(TxModuleControlChars), {"10"}));
}

TEST(Catalogue, AFloodOfBadLinesKeepsTheMessageShort)
{
    QByteArray bytes = "5602=&File\n";
    for (int i = 0; i < 5000; ++i)
        bytes += "5602=again\n";
    const Catalogue c = ParseCatalogue(bytes);
    EXPECT_EQ(c.problemCount, 5000);
    EXPECT_EQ(c.problems.size(), kMaxProblems);
    EXPECT_EQ(c.texts.value(TxCapDatei1), "&File");
}

// Damaged copies of a real module: bytes flipped, cut, doubled. The reader never fails hard and
// only ever hands out texts the program knows.
TEST(Catalogue, DamagedModulesNeverGiveUnknownTexts)
{
    QHash<int, QString> german;
    for (int id : KnownTextIds())
        german.insert(id, GermanText(id));
    const QByteArray good = WriteCatalogue(german);
    QRandomGenerator random(8800);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good;
        switch (round % 4) {
        case 0:
            for (int i = 0; i < 40; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            break;
        case 1:
            bytes.truncate(random.bounded(int(bytes.size())));
            break;
        case 2:
            bytes.insert(random.bounded(int(bytes.size())), bytes.left(random.bounded(2000)));
            break;
        default:
            bytes.resize(random.bounded(400));
            for (char &b : bytes)
                b = char(random.bounded(256));
        }
        const Catalogue c = ParseCatalogue(bytes);
        expectOnlyKnownTexts(c);
        EXPECT_TRUE(c.failure.isEmpty() || c.texts.isEmpty());
        EXPECT_LE(c.problems.size(), kMaxProblems);
    }
}
