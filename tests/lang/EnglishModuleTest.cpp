// The English module the build places beside the program: complete, and consistent with the German
// texts wherever the program relies on the shape of a text.
#include "lang/Catalogue.h"
#include "lang/Texts.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Lang;

namespace {

const Catalogue &englishModule()
{
    static const Catalogue c = [] {
        QFile f(QStringLiteral(QT8800_ENGLISH_MODULE));
        return f.open(QIODevice::ReadOnly) ? ParseCatalogue(f.readAll()) : Catalogue{};
    }();
    return c;
}

QString placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%[sd%]"));
    QString out;
    for (const auto &m : re.globalMatch(text))
        out += m.captured();
    return out;
}

QString leading(const QString &s)
{
    qsizetype n = 0;
    while (n < s.size() && s.at(n).isSpace())
        ++n;
    return s.left(n);
}

QString trailing(const QString &s)
{
    qsizetype n = 0;
    while (n < s.size() && s.at(s.size() - 1 - n).isSpace())
        ++n;
    return s.right(n);
}

bool isItem(int id)
{
    return id >= TxItemsTsRange && id < TxItemsEnd;
}

} // namespace

TEST(BuiltInTexts, EveryNumberIsDefinedOnce)
{
    EXPECT_TRUE(DuplicateTextIds().isEmpty()) << QString::number(DuplicateTextIds().value(0)).toStdString();
}

TEST(EnglishModule, IsCleanAndHasATextForEveryNumber)
{
    const Catalogue &c = englishModule();
    ASSERT_TRUE(c.failure.isEmpty()) << c.failure.toStdString();
    EXPECT_EQ(c.problemCount, 0) << c.problems.join(u'\n').toStdString();
    QStringList missing;
    for (int id : KnownTextIds())
        if (!c.texts.contains(id))
            missing << QString::number(id) + u'=' + GermanText(id);
    EXPECT_TRUE(missing.isEmpty()) << "no English text for:\n" << missing.join(u'\n').toStdString();
}

TEST(EnglishModule, KeepsPlaceholdersBlanksAtTheEndsAndMnemonics)
{
    for (auto it = englishModule().texts.cbegin(); it != englishModule().texts.cend(); ++it) {
        const QString german = GermanText(it.key());
        const QString &english = it.value();
        const std::string where = QString::number(it.key()).toStdString() + ": " + english.toStdString();
        // the program fills them in order
        EXPECT_EQ(placeholders(english), placeholders(german)) << where;
        // fragments are joined with their neighbours
        EXPECT_EQ(leading(english), leading(german)) << where;
        if (!isItem(it.key())) {
            EXPECT_EQ(trailing(english), trailing(german)) << where;
        }
        // a caption marks at most one key
        EXPECT_LE(QString(english).remove(QStringLiteral("&&")).count(u'&'), 1) << where;
        EXPECT_EQ(english.contains(u'&'), german.contains(u'&')) << where;
    }
}

TEST(EnglishModule, SelectorItemsKeepTheirColourAndValue)
{
    for (int id = TxItemsTsRange; id < TxItemsEnd; ++id) {
        const QStringList german = GermanText(id).split(u'|');
        const QStringList english = englishModule().texts.value(id).split(u'|');
        ASSERT_EQ(german.size(), 3) << id;
        ASSERT_EQ(english.size(), 3) << id;
        EXPECT_EQ(english.mid(1), german.mid(1)) << id;
        EXPECT_FALSE(english.first().trimmed().isEmpty()) << id;
    }
    // the port is read from its caption and the baud rate shown as listed; the languages name themselves
    for (int first : {int(TxItemsTsComPort), int(TxItemsTsBaud), int(TxItemsTsProgLang)})
        for (int i = 0; i < ItemCount(first); ++i)
            EXPECT_EQ(englishModule().texts.value(first + i), GermanText(first + i)) << first + i;
}

// Names of folders and files on disk and the spreadsheet template stay as an installation has them.
TEST(EnglishModule, NamesOnDiskStayTheSame)
{
    for (int id : {int(TxMeasureSubDir), int(TxConfigSubDir), int(TxLogSubDir), int(TxTemplateFileName),
                   int(TxExcelFilePrefix), int(TxSaveMeasureExtension)})
        EXPECT_EQ(englishModule().texts.value(id), GermanText(id)) << id;
}
