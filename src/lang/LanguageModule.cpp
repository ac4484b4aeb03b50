#include "lang/LanguageModule.h"

#include "lang/Catalogue.h"
#include "lang/Texts.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace Lang {

namespace {

struct Attempt
{
    bool found = false;
    Catalogue catalogue;
};

Attempt readModule(const QString &fileName)
{
    Attempt attempt;
    const QFileInfo info(fileName);
    if (!info.exists())
        return attempt;
    attempt.found = true;
    // a pipe or a device under that name would block or never end
    if (!info.isFile()) {
        attempt.catalogue.failure = Text(TxModuleNotAFile);
        return attempt;
    }
    if (info.size() > kMaxModuleBytes) {
        attempt.catalogue.failure = Text(TxModuleTooLarge);
        return attempt;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        attempt.catalogue.failure = Format(Text(TxModuleUnreadable), {file.errorString()});
        return attempt;
    }
    // the file may have grown since it was looked at
    attempt.catalogue = ParseCatalogue(file.read(kMaxModuleBytes + 1));
    return attempt;
}

} // namespace

QString LanguageAbbreviation(int locale)
{
    switch (locale) {
    case 1031:
        return QStringLiteral("DEU");
    case 1033:
        return QStringLiteral("ENU");
    default:
        return {};
    }
}

QString ModuleFileName(const QString &programFile, const QString &abbreviation)
{
    if (programFile.isEmpty() || abbreviation.isEmpty())
        return {};
    const QFileInfo info(programFile);
    QString name = info.fileName();
    // only the file's own name counts: a dot in a folder name is no extension
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot > 0)
        name.truncate(dot);
    return info.dir().filePath(name + u'.' + abbreviation);
}

ModuleLoad LoadLanguageModule(int locale, const QString &programFile)
{
    ModuleLoad result;
    const QString abbreviation = LanguageAbbreviation(locale);
    if (abbreviation.isEmpty() || programFile.isEmpty())
        return result;
    QStringList complaints;
    for (const QString &name : {ModuleFileName(programFile, abbreviation),
                                ModuleFileName(programFile, abbreviation.left(2))}) {
        const Attempt attempt = readModule(name);
        if (!attempt.found)
            continue;
        result.found = true;
        const Catalogue &c = attempt.catalogue;
        const QString shown = QFileInfo(name).fileName();
        if (!c.failure.isEmpty()) {
            complaints << Format(Text(TxModuleUnusable), {shown, c.failure});
            continue;
        }
        if (c.problemCount > 0)
            complaints << Format(Text(TxModuleLinesSkipped),
                                 {shown, QString::number(c.problemCount), c.problems.value(0)});
        if (c.missing > 0)
            complaints << Format(Text(TxModuleTextsMissing), {shown, QString::number(c.missing)});
        SetCatalogue(c.texts, name);
        result.loaded = true;
        result.fileName = name;
        break;
    }
    result.message = complaints.join(u' ');
    return result;
}

} // namespace Lang
