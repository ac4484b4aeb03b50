// Finding and loading a language module beside the program, and what stays when one is unusable.
#include "lang/Catalogue.h"
#include "lang/LanguageModule.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Lang;

namespace {

class LanguageModules : public testing::Test
{
protected:
    void SetUp() override { SetCatalogue({}); }
    void TearDown() override { SetCatalogue({}); }

    QString program() const { return m_dir.filePath("qt8800"); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray english(const char *file = "&File")
    {
        return QByteArray("5602=") + file + "\n5613=&Device settings\n";
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST(ModuleNames, ExtensionReplacedOrAddedAndTheLocaleTable)
{
    EXPECT_EQ(ModuleFileName("/opt/qt/qt8800", "ENU"), "/opt/qt/qt8800.ENU");
    EXPECT_EQ(ModuleFileName("/opt/qt/QT8800.EXE", "ENU"), "/opt/qt/QT8800.ENU");
    EXPECT_EQ(ModuleFileName("/opt/qt/qt8800.bin.x", "EN"), "/opt/qt/qt8800.bin.EN");
    EXPECT_EQ(ModuleFileName("/opt/qt.d/qt8800", "ENU"), "/opt/qt.d/qt8800.ENU");       // a dot in a folder
    EXPECT_EQ(ModuleFileName("/opt/.qt8800", "ENU"), "/opt/.qt8800.ENU");
    EXPECT_EQ(ModuleFileName(QString(), "ENU"), QString());
    EXPECT_EQ(ModuleFileName("/opt/qt8800", QString()), QString());
    EXPECT_EQ(LanguageAbbreviation(1031), "DEU");
    EXPECT_EQ(LanguageAbbreviation(1033), "ENU");
    EXPECT_EQ(LanguageAbbreviation(1036), QString());
    EXPECT_EQ(LanguageAbbreviation(0), QString());
}

TEST_F(LanguageModules, TheThreeLetterModuleReplacesTheTextsOthersKeepTheirGerman)
{
    write("qt8800.ENU", english());
    const ModuleLoad load = LoadLanguageModule(1033, program());
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.fileName, m_dir.filePath("qt8800.ENU"));
    EXPECT_EQ(CurrentModuleFile(), load.fileName);
    EXPECT_EQ(Text(TxCapDatei1), "&File");
    EXPECT_EQ(Text(TxCapTabConfig), "&Device settings");
    EXPECT_EQ(Text(TxCapTabProgram), GermanText(TxCapTabProgram));
    // a partial module says so
    EXPECT_EQ(load.message, Format(GermanText(TxModuleTextsMissing),
                                   {"qt8800.ENU", QString::number(KnownTextIds().size() - 2)}));
}

TEST_F(LanguageModules, TheTwoLetterModuleWhenTheThreeLetterOneIsMissingOrUnusable)
{
    write("qt8800.EN", english("&File (EN)"));
    ModuleLoad load = LoadLanguageModule(1033, program());
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(Text(TxCapDatei1), "&File (EN)");

    SetCatalogue({});
    write("qt8800.ENU", QByteArray("\0\0\0", 3));
    load = LoadLanguageModule(1033, program());
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(load.fileName, m_dir.filePath("qt8800.EN"));
    EXPECT_EQ(Text(TxCapDatei1), "&File (EN)");
    EXPECT_TRUE(load.message.startsWith(Format(GermanText(TxModuleUnusable), {"qt8800.ENU", GermanText(TxModuleBinary)})))
        << load.message.toStdString();
}

TEST_F(LanguageModules, NoModuleChangesNothingAndSaysNothing)
{
    write("qt8800.ENU", english());
    ASSERT_TRUE(LoadLanguageModule(1033, program()).loaded);
    // choosing German with no German module beside the program: English stays until the next start
    const ModuleLoad german = LoadLanguageModule(1031, program());
    EXPECT_FALSE(german.loaded);
    EXPECT_TRUE(german.message.isEmpty());
    EXPECT_EQ(Text(TxCapDatei1), "&File");
    EXPECT_EQ(CurrentModuleFile(), m_dir.filePath("qt8800.ENU"));
    // a locale without an abbreviation and a program without a name
    EXPECT_FALSE(LoadLanguageModule(1036, program()).loaded);
    EXPECT_FALSE(LoadLanguageModule(1033, QString()).loaded);
    EXPECT_EQ(Text(TxCapDatei1), "&File");
}

TEST_F(LanguageModules, AnUnusableModuleLeavesTheTextsInTheLanguageShownBefore)
{
    write("qt8800.ENU", english());
    ASSERT_TRUE(LoadLanguageModule(1033, program()).loaded);
    const QString englishFile = CurrentModuleFile();
    const std::pair<const char *, QByteArray> damaged[] = {
        {"empty", QByteArray()},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"no text", QByteArray("garbage\nmore garbage\n")},
    };
    for (const auto &[what, bytes] : damaged) {
        write("qt8800.ENU", bytes);
        const ModuleLoad load = LoadLanguageModule(1033, program());
        EXPECT_FALSE(load.loaded) << what;
        EXPECT_TRUE(load.message.contains("qt8800.ENU")) << what;
        EXPECT_EQ(Text(TxCapDatei1), "&File") << what;
        EXPECT_EQ(CurrentModuleFile(), englishFile) << what;
    }
}

TEST_F(LanguageModules, UnknownAndDuplicateNumbersAreReportedAndTheRestIsTaken)
{
    write("qt8800.ENU", english() + "4242=what is this\n5602=&File again\n");
    const ModuleLoad load = LoadLanguageModule(1033, program());
    EXPECT_TRUE(load.loaded);
    EXPECT_EQ(Text(TxCapDatei1), "&File");
    EXPECT_TRUE(load.message.startsWith(Format(GermanText(TxModuleLinesSkipped),
                                               {"qt8800.ENU", "2", Format(GermanText(TxModuleUnknownId), {"3", "4242"})})))
        << load.message.toStdString();
}

// Names that are no regular file must not block the program, nor be read without end.
TEST_F(LanguageModules, AFolderOrAPipeUnderTheModulesNameIsRefused)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("qt8800.ENU"));
    ModuleLoad load = LoadLanguageModule(1033, program());
    EXPECT_FALSE(load.loaded);
    EXPECT_TRUE(load.message.contains(GermanText(TxModuleNotAFile)));

    ASSERT_EQ(::mkfifo(QFile::encodeName(m_dir.filePath("qt8800.EN")).constData(), 0600), 0);
    load = LoadLanguageModule(1033, program());
    EXPECT_FALSE(load.loaded);
    EXPECT_EQ(load.message.count(GermanText(TxModuleNotAFile)), 2);
    EXPECT_EQ(Text(TxCapDatei1), GermanText(TxCapDatei1));
}

TEST_F(LanguageModules, AnUnreadableModuleIsReportedNotLoaded)
{
    write("qt8800.ENU", english());
    QFile::setPermissions(m_dir.filePath("qt8800.ENU"), QFileDevice::Permissions());
    QFile probe(m_dir.filePath("qt8800.ENU"));
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions do not stop this user";
    const ModuleLoad load = LoadLanguageModule(1033, program());
    EXPECT_FALSE(load.loaded);
    EXPECT_TRUE(load.message.contains("qt8800.ENU"));
}
