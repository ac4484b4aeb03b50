// Where qt8800-cli finds its English module, and what it says when the module is missing or
// damaged: the German texts keep working, and stderr tells why, once.
#include "CliTestSupport.h"

#include "cli/CliLanguage.h"
#include "files/ParameterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Cli;

namespace {

// The program placed in a folder of the test's making: it looks for its module beside itself.
// A hard link where the file system allows, as the program knows its path from the kernel.
class PlacedCli : public testing::Test
{
protected:
    QTemporaryDir root{QFileInfo(QStringLiteral(QT8800_CLI_PATH)).absolutePath() + QStringLiteral("/cli-lang-XXXXXX")};

    QString place(const QString &relative)
    {
        const QString target = root.filePath(relative);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (::link(QT8800_CLI_PATH, QFile::encodeName(target).constData()) != 0) {
            EXPECT_TRUE(QFile::copy(QStringLiteral(QT8800_CLI_PATH), target));
        }
        return target;
    }
    void write(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(root.filePath(relative)).absolutePath());
        QFile f(root.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray englishModule()
    {
        QFile f(QStringLiteral(QT8800_ENGLISH_MODULE));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    CliRun run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(root.path());
        p.start(program, args);
        CliRun r;
        if (!p.waitForFinished(30000))
            return r;
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
};

} // namespace

TEST(CliLanguage, EnglishHelpAndComplaints)
{
    QTemporaryDir dir;
    CliRun r = RunCli({"--language", "en", "--help"}, dir.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("qt8800-cli - the QT 8800")) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains("--language de|en")) << qPrintable(r.out);
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);
    r = RunCli({"download", "--help", "--language=en"}, dir.path());
    EXPECT_TRUE(r.out.startsWith("Usage: qt8800-cli download")) << qPrintable(r.out);
    r = RunCli({"--language", "en", "live", "--interval", "0"}, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "qt8800-cli: Invalid interval (seconds, 0.1 to 86400): 0\nqt8800-cli: Help: qt8800-cli --help\n");
    // an unknown language is refused in the language the program is set to
    r = RunCli({"info", "--language", "fr"}, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("qt8800-cli: Die Sprache fr gibt es nicht (de oder en).\n")) << qPrintable(r.err);
}

// The window program's choice counts only from a parameter file it would take itself.
TEST(CliLanguage, ParameterFileChoosesOnlyWhenItReadsWithoutError)
{
    QTemporaryDir dir;
    EXPECT_EQ(RunLanguage(std::nullopt, dir.path()), 0);
    Files::ParamRecord param;
    Files::SelectionRecord selection;
    Files::SetParamDefaults(param, dir.path());
    Files::SetSelectionDefaults(selection);
    param.ProgramLanguage = 1;
    ASSERT_TRUE(Files::WriteParameterFile(dir.path(), param, selection));
    EXPECT_EQ(RunLanguage(std::nullopt, dir.path()), 1);
    EXPECT_EQ(RunLanguage(0, dir.path()), 0);

    // the language's record is sound, the field selection's checksum is not
    QFile file(Files::ParameterFileName(dir.path()));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), Files::kParameterFileSize);
    bytes[Files::kParameterFileSize - 1] = char(bytes.at(Files::kParameterFileSize - 1) ^ 0x55);
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();
    EXPECT_EQ(RunLanguage(std::nullopt, dir.path()), 0);
    EXPECT_EQ(RunLanguage(1, dir.path()), 1);
}

TEST_F(PlacedCli, InstalledLayoutFindsTheWindowProgramsModule)
{
    ASSERT_TRUE(root.isValid());
    // bin/qt8800 is a link into lib/qt8800/, where the module lies beside the program
    const QString cli = place(QStringLiteral("bin/qt8800-cli"));
    write(QStringLiteral("lib/qt8800/qt8800.ENU"), englishModule());
    CliRun r = run(cli, {"--language", "en", "help", "info"});
    EXPECT_TRUE(r.out.startsWith("Usage: qt8800-cli info")) << qPrintable(r.out + r.err);
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);

    write(QStringLiteral("lib/qt8800/qt8800"), "#!/bin/sh\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("../lib/qt8800/qt8800"), root.filePath(QStringLiteral("bin/qt8800"))));
    EXPECT_EQ(ProgramFileCandidates(cli).first(), QFileInfo(root.filePath(QStringLiteral("lib/qt8800/qt8800"))).canonicalFilePath());
    EXPECT_EQ(ProgramFileCandidates(cli).last(), QDir::cleanPath(root.filePath(QStringLiteral("lib/qt8800/qt8800"))));
}

TEST_F(PlacedCli, MissingOrDamagedModuleLeavesGermanAndSaysWhyOnce)
{
    ASSERT_TRUE(root.isValid());
    const QString cli = place(QStringLiteral("alone/qt8800-cli"));
    CliRun r = run(cli, {"--language", "en", "help", "info"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Aufruf: qt8800-cli info")) << qPrintable(r.out);
    EXPECT_EQ(r.err.count('\n'), 1) << qPrintable(r.err);
    EXPECT_TRUE(r.err.startsWith("qt8800-cli: Kein englisches Sprachmodul gefunden")) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(root.filePath(QStringLiteral("alone/qt8800.ENU")))) << qPrintable(r.err);
    // German needs no module
    r = run(cli, {"--language", "de", "help", "info"});
    EXPECT_TRUE(r.err.isEmpty()) << qPrintable(r.err);

    // the window program's rules: an unusable module is named with its fault, the texts stay
    write(QStringLiteral("alone/qt8800.ENU"), QByteArray("6402=Usage\0\xff", 12));
    r = run(cli, {"--language", "en", "info", "--baud", "7"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "qt8800-cli: Sprachmodul qt8800.ENU ist nicht verwendbar: Die Datei ist keine Textdatei in UTF-8. "
                     "Die Texte bleiben, wie sie sind.\n"
                     "qt8800-cli: Baudrate 7 ist nicht möglich (4800, 9600, 19200 oder 38400).\n"
                     "qt8800-cli: Hilfe: qt8800-cli --help\n");
    // ... and one that lacks texts is taken, the rest German
    write(QStringLiteral("alone/qt8800.ENU"), "6018=Help: qt8800-cli --help\n# cut short\n");
    r = run(cli, {"--language", "en", "info", "--baud", "7"});
    EXPECT_TRUE(r.err.startsWith("qt8800-cli: Sprachmodul qt8800.ENU: ")) << qPrintable(r.err);
    EXPECT_TRUE(r.err.endsWith("qt8800-cli: Baudrate 7 ist nicht möglich (4800, 9600, 19200 oder 38400).\n"
                               "qt8800-cli: Help: qt8800-cli --help\n")) << qPrintable(r.err);
    EXPECT_EQ(r.err.count('\n'), 3) << qPrintable(r.err);
}
