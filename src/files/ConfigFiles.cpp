#include "files/ConfigFiles.h"

#include "files/ParameterFile.h"
#include "files/TIniEditor.h"
#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/Win1252.h"
#include "model/WholeFile.h"

#include <QFileInfo>

namespace Files {

namespace {

// A value with a line break would start a line of its own and could pose as another key.
QString oneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

} // namespace

ConfigFiles::ConfigFiles(Model::FieldSlots &fields, ParamRecord &param, QString baseDir, ConfigFileHooks hooks)
    : m_fields(fields)
    , m_param(param)
    , m_baseDir(std::move(baseDir))
    , m_hooks(std::move(hooks))
{
}

void ConfigFiles::reportMessage(const QString &text, bool error) const
{
    if (m_hooks.ReportMessage)
        m_hooks.ReportMessage(text, error);
}

void ConfigFiles::showStatusText(const QString &text) const
{
    if (m_hooks.ShowStatusText)
        m_hooks.ShowStatusText(text);
}

void ConfigFiles::statusMessage(const QString &text, bool error) const
{
    if (m_hooks.StatusMessage)
        m_hooks.StatusMessage(text, error);
}

bool ConfigFiles::WriteConfigFile(const QString &fileName)
{
    Model::WholeFile file(fileName);
    if (!file.open()) {
        reportMessage(Model::WithReason(Lang::Format(Lang::Text(Lang::TxConfigCannotOpen), {fileName}), file.errorText()),
                      true);
        return false;
    }

    const QDateTime now = m_hooks.Now ? m_hooks.Now() : QDateTime::currentDateTime();
    QString text;
    auto line = [&text](const QString &content) { text += content + QStringLiteral("\r\n"); };
    line(Lang::Text(Lang::TxConfigHeadSection));
    line(Lang::Text(Lang::TxConfigGenerated) + now.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    line(Lang::Text(Lang::TxConfigName) + QFileInfo(fileName).fileName());
    line(QStringLiteral("[%1]").arg(QLatin1StringView(kSection)));

    const int own = OwnLanguage(m_param.ProgramLanguage);
    for (const Model::TVComp &info : Model::FieldTable) {
        const QString key = Model::fileKey(info.id, own);
        if (key.isEmpty())
            continue;
        m_fields.Form2Dat(info.id, Model::FileSlot);
        line(key + u'=' + oneLine(m_fields[info.id].FileText));
    }

    if (!file.write(Model::ToWin1252(text)) || !file.commit()) {
        reportMessage(Model::WithReason(Lang::Format(Lang::Text(Lang::TxFileWriteProblem), {fileName}), file.errorText()),
                      true);
        return false;
    }
    return true;
}

QString ConfigFiles::MissingKeysQuestion(const QString &fileName, const QStringList &missingKeys)
{
    QString text = Lang::Text(Lang::TxMissingKeysIntro) + u'\n' + Lang::Text(Lang::TxMissingKeysInFile) + u'\n'
                   + fileName + u'\n' + Lang::Text(Lang::TxMissingKeysNotFound) + u'\n';
    for (const QString &key : missingKeys)
        text += key + u'\n';
    text += u'\n' + Lang::Text(Lang::TxMissingKeysTakeAnyway);
    return text;
}

ConfigReadResult ConfigFiles::ReadConfigFile(const QString &fileName)
{
    ConfigReadResult result;
    statusMessage(Lang::Format(Lang::Text(Lang::TxConfigReading), {fileName}), false);

    // A file that is missing, unreadable or far too large holds no values: every key counts as
    // missing, so the user sees the whole list and decides.
    TIniEditor ini;
    ini.setFileName(fileName);

    const int own = OwnLanguage(m_param.ProgramLanguage);
    const int other = 1 - own;
    const QString section = QLatin1StringView(kSection);
    for (const Model::TVComp &info : Model::FieldTable) {
        Model::FieldSlot &field = m_fields[info.id];
        field.FileText.clear();
        const QString otherKey = Model::fileKey(info.id, other);
        if (otherKey.isEmpty())
            continue;
        const QString ownKey = Model::fileKey(info.id, own);
        // the program's own language wins, also with an empty value; a file written in the
        // other language reads as well
        const QString value = ini.ReadStr(section, ownKey, ini.ReadStr(section, otherKey, QString()));
        field.FileText = value;
        if (!value.isEmpty())
            result.TakenFields.append(info.id);
        else
            result.MissingKeys.append(ownKey);
    }

    if (!result.MissingKeys.isEmpty()) {
        const bool yes = m_hooks.ConfirmMissingKeys
                         && m_hooks.ConfirmMissingKeys(MissingKeysQuestion(fileName, result.MissingKeys),
                                                       result.MissingKeys);
        if (!yes) {
            statusMessage(Lang::Text(Lang::TxConfigNotTaken), true);
            result.outcome = ConfigReadResult::Declined;
            result.TakenFields.clear();
            return result;
        }
    }

    for (Model::Field field : std::as_const(result.TakenFields))
        m_fields.Dat2Form(field, Model::FileSlot);
    statusMessage(Lang::Format(Lang::Text(Lang::TxConfigIsRead), {fileName}), false);
    result.outcome = ConfigReadResult::Taken;
    return result;
}

QString ConfigFiles::QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &text = parts.at(i);
        const QString &pattern = parts.at(i + 1);
        // Qt takes the patterns from the parentheses of the text
        out.append(text.contains(u'(') ? text : QStringLiteral("%1 (%2)").arg(text, pattern));
    }
    return out.join(QStringLiteral(";;"));
}

FileDialogSetup ConfigFiles::dialogSetup(int titleId) const
{
    FileDialogSetup setup;
    setup.Directory = m_param.ConfigDir;
    setup.Title = Lang::Text(titleId);
    setup.DefaultSuffix = QLatin1StringView(kDefaultSuffix);
    setup.Filter = QtFilter(Lang::Text(Lang::TxConfigFilter));
    return setup;
}

FileDialogSetup ConfigFiles::LoadDialogSetup() const
{
    return dialogSetup(Lang::TxLoadConfigTitle);
}

FileDialogSetup ConfigFiles::SaveDialogSetup() const
{
    return dialogSetup(Lang::TxSaveConfigTitle);
}

bool ConfigFiles::LoadConfigCommand()
{
    const auto chosen = m_hooks.ChooseOpenFile ? m_hooks.ChooseOpenFile(LoadDialogSetup()) : std::nullopt;
    if (!chosen || chosen->isEmpty()) {
        reportMessage(Lang::Text(Lang::TxLoadConfigCancelled), true);
        return false;
    }
    m_param.ConfigDir = FitShortString(QFileInfo(*chosen).absolutePath());
    showStatusText(Lang::Format(Lang::Text(Lang::TxLoadingConfigFrom), {*chosen}));
    return ReadConfigFile(*chosen).outcome == ConfigReadResult::Taken;
}

bool ConfigFiles::SaveConfigCommand()
{
    const auto chosen = m_hooks.ChooseSaveFile ? m_hooks.ChooseSaveFile(SaveDialogSetup()) : std::nullopt;
    if (!chosen || chosen->isEmpty()) {
        reportMessage(Lang::Text(Lang::TxSaveConfigCancelled), true);
        return false;
    }
    QString name = *chosen;
    // a name typed without extension gets the default one, as in the dialog
    if (!QFileInfo(name).fileName().contains(u'.'))
        name += u'.' + QLatin1StringView(kDefaultSuffix);
    m_param.ConfigDir = FitShortString(QFileInfo(name).absolutePath());
    showStatusText(Lang::Format(Lang::Text(Lang::TxSavingConfigTo), {name}));
    return WriteConfigFile(name);
}

QString ConfigFiles::LastConfigFile() const
{
    return JoinPath(m_baseDir, QStringLiteral("QT8800.LCF"));
}

bool ConfigFiles::LoadLastConfig()
{
    if (!m_param.RememberConfig || !QFileInfo(LastConfigFile()).isFile())
        return false;
    return ReadConfigFile(LastConfigFile()).outcome == ConfigReadResult::Taken;
}

bool ConfigFiles::SaveLastConfig()
{
    if (!m_param.RememberConfig)
        return false;
    return WriteConfigFile(LastConfigFile());
}

} // namespace Files
