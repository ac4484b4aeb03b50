#pragma once

#include "files/ConfigFiles.h"
#include "files/ParamRecord.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TTextSpin;
class TextBindings;

// How this program talks and where it keeps its files: port, separator, language, folders
// and options. The settings it owns go straight into the parameter records; what other
// parts of the window follow is announced.
class ProgramSettingsPage : public QWidget
{
    Q_OBJECT
public:
    struct Choosers {
        std::function<std::optional<QString>(const Files::FileDialogSetup &, bool save)> file;
        std::function<std::optional<QString>(const QString &start)> directory;
    };
    ProgramSettingsPage(TextBindings &texts, Files::ParamRecord &param, Files::SelectionRecord &selection,
                        Choosers choosers, QWidget *parent = nullptr);

    // the records' settings into the controls, as read at start
    void showSettings();
    void setDecimalSeparator(QChar sep) { m_decimalSep = sep; }
    // the status query's interval can be edited only while the status is queried
    void cboQTTimeClick();

    TTextSpin *tsComPort = nullptr, *tsBaud = nullptr, *tsDecimalSep = nullptr, *tsProgLang = nullptr;
    QLineEdit *txtMPath = nullptr, *txtExcelDat = nullptr, *txtQTPath = nullptr, *txtDebugPath = nullptr,
              *txtRefInter = nullptr, *txtMeasRefInter = nullptr;
    QPushButton *btnMPath = nullptr, *btnExcelDat = nullptr, *btnQTPath = nullptr, *btnDebugPath = nullptr;
    QCheckBox *cboSaveConfig = nullptr, *cboReadAtStart = nullptr, *cboPrompt = nullptr, *cboQTTime = nullptr,
              *cbBeep = nullptr, *cboDebug = nullptr, *cbAskArProgrammClose = nullptr;

signals:
    void portChosen();
    void decimalSeparatorChosen();
    void languageChosen();
    void logFolderChanged(const QString &folder);
    void loggingChanged(bool on);
    void beepChanged(bool on);
    void statusIntervalChanged(int msecs);
    void measureIntervalChanged(int msecs);
    void message(const QString &text, bool error);
    void statusCleared();

private:
    void build(TextBindings &texts);
    void controlLeft(QObject *control);
    void controlDoubleClicked(QObject *control);
    void connectHandlers();
    void chooseDirectory(QLineEdit *edit, QString Files::ParamRecord::*setting);
    void btnExcelDatClick();
    // the interval edits: absolute value, a floor, "%5.1f" in the program's separator
    void intervalLeft(QLineEdit *edit, float Files::ParamRecord::*setting, double minimum);

    Files::ParamRecord &m_param;
    Files::SelectionRecord &m_selection;
    Choosers m_choosers;
    QChar m_decimalSep = u'.';
};
