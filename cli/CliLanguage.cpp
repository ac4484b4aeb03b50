#include "cli/CliLanguage.h"

#include "files/ParameterFile.h"
#include "lang/LanguageModule.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFileInfo>

namespace Cli {

namespace {

bool hasModule(const QString &programFile, int locale)
{
    const QString abbreviation = Lang::LanguageAbbreviation(locale);
    return QFileInfo::exists(Lang::ModuleFileName(programFile, abbreviation))
           || QFileInfo::exists(Lang::ModuleFileName(programFile, abbreviation.left(2)));
}

} // namespace

int RunLanguage(const std::optional<int> &option, const QString &baseDir)
{
    if (option)
        return *option == 1 ? 1 : 0;
    Files::ParamRecord param;
    Files::SelectionRecord selection;
    // as in the window program, only a file read without error chooses; the window program
    // tells about a damaged one
    const Files::ParamReadResult read = Files::ReadParameterFile(baseDir, param, selection);
    return !read.Failed && param.ProgramLanguage == 1 ? 1 : 0;
}

QStringList ProgramFileCandidates(const QString &cliFile)
{
    const QDir dir = QFileInfo(cliFile).absoluteDir();
    QString beside = dir.filePath(QStringLiteral("qt8800"));
    if (const QFileInfo info(beside); info.isSymLink() && !info.canonicalFilePath().isEmpty())
        beside = info.canonicalFilePath();
    return {beside, QDir::cleanPath(dir.filePath(QStringLiteral("../lib/qt8800/qt8800")))};
}

QString SelectRunLanguage(int language, const QString &cliFile)
{
    const int locale = Lang::kProgramLanguages[language == 1 ? 1 : 0];
    const QStringList candidates = ProgramFileCandidates(cliFile);
    for (const QString &program : candidates) {
        if (!hasModule(program, locale))
            continue;
        return Lang::LoadLanguageModule(locale, program).message;
    }
    // German is built in; a German module only replaces it
    if (language != 1)
        return {};
    return Lang::Format(Lang::Text(Lang::TxCliNoModule),
                        {Lang::ModuleFileName(candidates.first(), Lang::LanguageAbbreviation(locale))});
}

} // namespace Cli
