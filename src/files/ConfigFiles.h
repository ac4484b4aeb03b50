#pragma once

#include "files/ParamRecord.h"

#include "model/FieldTable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Files {

// What the app's file dialog needs; Filter is in Qt's "Text (*.ext);;Text (*)" form.
struct FileDialogSetup
{
    QString Directory;
    QString Title;
    QString DefaultSuffix;
    QString Filter;
};

// The app's side of configuration files: messages, the one question and the two dialogs.
// Every hook may be left empty: messages are then dropped, the question counts as No and a
// dialog as cancelled.
struct ConfigFileHooks
{
    std::function<void(const QString &text, bool error)> ReportMessage;  // status line, logged, mirrored
    std::function<void(const QString &text)> ShowStatusText;             // status line, logged, mirrored
    std::function<void(const QString &text, bool error)> StatusMessage;  // status line only
    // Yes/No box; true for Yes. `question` is the complete text, lines separated by "\n".
    std::function<bool(const QString &question, const QStringList &missingKeys)> ConfirmMissingKeys;
    // The chosen file, or nothing when the user cancelled.
    std::function<std::optional<QString>(const FileDialogSetup &setup)> ChooseOpenFile;
    std::function<std::optional<QString>(const FileDialogSetup &setup)> ChooseSaveFile;
    std::function<QDateTime()> Now;                                      // time stamp of written files
};

struct ConfigReadResult
{
    enum Outcome {
        Taken,          // the values found were shown (possibly after the question was answered Yes)
        Declined,       // keys were missing and the user answered No: no control changed
    };
    Outcome outcome = Declined;
    QStringList MissingKeys;    // own-language keys without a value
    QList<Model::Field> TakenFields;     // fields handed to Dat2Form, in order
};

// Device configuration files (".QT8" and the last-configuration file): every field with a
// configuration key is one "key=value" line under "[QT8800]". Values move through each field's
// file slot, so the controls are read and shown by the app's FieldView.
class ConfigFiles
{
public:
    static constexpr const char *kDefaultSuffix = "QT8";
    static constexpr const char *kSection = "QT8800";

    // All references must outlive this object; ProgramLanguage and ConfigDir are read at each
    // call, and the load and save commands store the chosen folder into ConfigDir.
    ConfigFiles(Model::FieldSlots &fields, ParamRecord &param, QString baseDir, ConfigFileHooks hooks);

    // Replaces the file as a whole, in Windows-1252 with CR LF; false on failure (reported,
    // the previous file kept).
    bool WriteConfigFile(const QString &fileName);
    ConfigReadResult ReadConfigFile(const QString &fileName);

    // F2 and F3: ask for a file through the hooks, remember its folder, read or write it.
    bool LoadConfigCommand();
    bool SaveConfigCommand();
    FileDialogSetup LoadDialogSetup() const;
    FileDialogSetup SaveDialogSetup() const;

    // "QT8800.LCF" in the base directory, loaded at first activation and saved at close
    // while RememberConfig is set.
    QString LastConfigFile() const;
    bool LoadLastConfig();
    bool SaveLastConfig();

    // 0 German, 1 English: the language whose keys are written and preferred when reading.
    static int OwnLanguage(int programLanguage) { return programLanguage == 1 ? 1 : 0; }
    static QString MissingKeysQuestion(const QString &fileName, const QStringList &missingKeys);
    // "Text (*.a)|*.a|Text (*.*)|*.*" as Qt's dialogs take it.
    static QString QtFilter(const QString &filter);

private:
    void reportMessage(const QString &text, bool error) const;
    void showStatusText(const QString &text) const;
    void statusMessage(const QString &text, bool error) const;
    FileDialogSetup dialogSetup(int titleId) const;

    Model::FieldSlots &m_fields;
    ParamRecord &m_param;
    QString m_baseDir;
    ConfigFileHooks m_hooks;
};

} // namespace Files
