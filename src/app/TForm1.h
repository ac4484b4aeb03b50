#pragma once

#include "app/FieldBinder.h"
#include "app/QtTranslations.h"
#include "app/TextBindings.h"
#include "files/ConfigFiles.h"
#include "files/ParamRecord.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/Session.h"
#include "link/TelegramTables.h"
#include "link/TrafficLog.h"
#include "measure/ColumnLayout.h"
#include "measure/CurrentValues.h"
#include "model/FieldStore.h"
#include "model/FieldTable.h"
#include "model/StatusTables.h"

#include <QDateEdit>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QGroupBox;
class StatusLine;
class TArrowBtn;
class TBevel3D;
class TInterSpinEdit;
class TLedCheck;
class TTextSpin;
class TAboutBox;
class MemoryDataPage;
class DeviceViewPage;
class ConfigurationPage;
class RecordingSettingsPage;
class ProgramSettingsPage;
class TFormSens;
class TrendWindow;
class PortLock;

namespace Measure {
class MemoryReader;
}

// Where the program runs and how it asks; tests replace the questions and the lock folder.
struct StartOptions
{
    QString baseDir;                        // empty: the current directory
    QString lockDir;                        // empty: the user's runtime directory; one lock per port
    std::function<bool(const QString &question)> ask;                   // Yes/No; empty: a message box
    std::function<void(const QString &text)> notify;                    // a modal notice; empty: a message box
    std::function<std::optional<QString>(const Files::FileDialogSetup &, bool save)> chooseFile;
    std::function<std::optional<QString>(const QString &start)> chooseDirectory;
    QString programFile;                    // language modules lie beside it; empty: the running program
    Link::ProtocolEngine::Clock clock;      // the engine's; empty: the steady clock
};

// The program's one main window: configuration pages, device view, settings, status line.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(StartOptions options = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // a second start for the same port found its lock taken; the caller ends the process
    bool secondStart() const { return m_secondStart; }

    // status line; every message of the link passes here
    virtual void StatusMessage(const QString &text, bool error);
    void StatusClear();
    void StatusPortText(const QString &text, bool error);
    void ReportMessage(const QString &text, bool error) { m_engine->ReportMessage(text, error); }
    void ShowStatusText(const QString &text) { m_engine->ShowStatusText(text); }

    void ReadConfigFromDevice();
    void WriteConfigToDevice();
    void RotateAlarmText();
    void ResetDirectoryGrid();
    void AbandonBlockRead();

    // closes without the question, as a signal from the system asks
    void closeWithoutQuestion();

    // languages: the item of tsProgLang names the module; without a usable one nothing changes
    void SelectLanguage(int index);
    // the language whose texts are shown: a module's, or German
    int languageInForce() const;
    // every caption, item list and hint of this window and the pages it composes
    void ApplyLanguageTexts();
    // A page composed into this window (applied with its texts) or a window of its own (applied
    // after a switch, before the about box, the workbook and the text window) that shows
    // numbered texts registers how it re-applies them.
    void addPageTexts(std::function<void()> apply) { m_pageTexts.push_back(std::move(apply)); }
    void addWindowTexts(std::function<void()> apply) { m_windowTexts.push_back(std::move(apply)); }
    QString programFile() const;

    // what tests and the status line look at
    Link::Tables &tables() { return m_tables; }
    // the instrument's settings, and how the controls show them
    Model::FieldStore &store() { return *m_store; }
    FieldBinder &binder() { return *m_binder; }
    Link::ProtocolEngine &engine() { return *m_engine; }
    Link::SerialLink &serial() { return *m_serial; }
    Link::TrafficLog &trafficLog() { return *m_log; }
    QTimer &pollTimer() { return Timer1; }   // tests stop it and step Timer1Timer themselves
    Files::ParamRecord &param() { return m_param; }
    Files::SelectionRecord &selection() { return m_selection; }
    Model::DeviceState &state() { return m_state; }
    StatusLine *statusLine() const { return m_status; }
    QTabWidget *pages() const { return PageControl1; }
    MemoryDataPage *memoryPage() const { return m_memoryPage; }
    DeviceViewPage *devicePage() const { return m_devicePage; }
    TFormSens *sensorWindow() const { return m_formSens.get(); }
    TrendWindow *trendWindow() const { return m_trend.get(); }
    void showTrend();
    Measure::MemoryReader &memoryReader() { return *m_reader; }
    QString baseDir() const { return m_baseDir; }
    QChar decimalSeparator() const { return m_decimalSep; }
    bool paramFileFailed() const { return m_paramFailed; }
    int alarmIndex() const { return m_alarmIndex; }
    // the short date format and the time separator of the desktop's locale
    void applySystemFormats(const QLocale &locale);
    void setDateFormat(const QString &format) { m_dateFormat = format; }
    void setTimeSeparator(QChar sep)
    {
        m_timeSep = sep;
        m_log->setTimeSeparator(sep);
        m_store->setTimeSeparator(sep);
    }

    int MeasureCountdown = 0;
    int StatusCountdown = 0;
    int StatusOnceCountdown = 0;
    bool DeviceViewActive = false;

    // the window's controls, named as the instrument values they show
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabConfig = nullptr, *TabMeasureConfig = nullptr, *TabMemoryData = nullptr, *TabInfo = nullptr,
            *TabProgram = nullptr;
    QLabel *lblSerNr = nullptr, *lblVersion = nullptr, *lblTime = nullptr, *lblSysDate = nullptr,
           *lblSysTime = nullptr, *lblMemUse = nullptr, *lblInfo = nullptr, *lblAlarm = nullptr,
           *lblRange = nullptr, *lblPol = nullptr;
    QDateEdit *dtpQTDate = nullptr, *dtpStartDate = nullptr, *dtpStopDate = nullptr;
    TInterSpinEdit *iseQTTime = nullptr, *isePolInter = nullptr, *iseStartTime = nullptr, *iseStopTime = nullptr,
                   *iseDuration = nullptr, *iseMeasInt = nullptr;
    TTextSpin *tsRange = nullptr, *tsPol = nullptr, *tsPolAlter = nullptr, *tsAnaOut = nullptr,
              *tsZeroAtStart = nullptr, *tsQTLanguage = nullptr, *tsStartMode = nullptr, *tsMemEnd = nullptr,
              *tsOutMeas = nullptr, *tsAnaIn = nullptr, *tsComPort = nullptr, *tsBaud = nullptr,
              *tsDecimalSep = nullptr, *tsProgLang = nullptr;
    QPushButton *btnSetDT = nullptr, *btnSyncDT = nullptr, *btnInfo1 = nullptr, *btnLoadQTKonfig = nullptr,
                *btnSaveQTKonfig = nullptr, *btnEnd = nullptr, *btnMPath = nullptr, *btnExcelDat = nullptr,
                *btnQTPath = nullptr, *btnDebugPath = nullptr;
    TBevel3D *btnZero = nullptr;
    TArrowBtn *btnMemClear = nullptr, *btnStart = nullptr;
    TLedCheck *ledStatMem = nullptr, *ledInfoAlarm = nullptr, *ledAlarm = nullptr;
    QLineEdit *txtAnaName = nullptr, *txtAnaUnit = nullptr, *txtAnaValZero = nullptr, *txtAnaVal10 = nullptr,
              *txtScaleZero = nullptr, *txtScaleEnd = nullptr, *txtScaleParts = nullptr,
              *txtValueScaleZero = nullptr, *txtValueScaleEnd = nullptr, *txtMPath = nullptr,
              *txtExcelDat = nullptr, *txtQTPath = nullptr, *txtDebugPath = nullptr, *txtRefInter = nullptr,
              *txtMeasRefInter = nullptr;
    QCheckBox *cboSaveConfig = nullptr, *cboReadAtStart = nullptr, *cboPrompt = nullptr, *cboQTTime = nullptr,
              *cbBeep = nullptr, *cboDebug = nullptr, *cbAskArProgrammClose = nullptr, *cboAnaScale = nullptr,
              *cboTwoCol = nullptr, *cboAlarmNotValid = nullptr;
    QWidget *panInfo = nullptr, *panAnalog = nullptr;

public Q_SLOTS:
    void Timer1Timer();
    void Timer2Timer();
    void tsComPortChanged();
    void tsProgLangChanged();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // start-up and shut-down
    void FormCreate();
    void setInitialColours();
    void FormActivate();
    bool FormCloseQuery();
    void FormClose();
    void buildMenu();
    void buildBottomPanel(QWidget *central);
    void buildTabConfig();
    void buildTabMeasureConfig();
    void buildTabMemoryData();
    void buildTabInfo();
    void buildTrend();
    bool trendShown() const;
    // dates, times and numbers in rows and plots, as this desktop and the settings page have them
    Measure::DisplayFormats displayFormats() const;
    void showDates();
    void buildTabProgram();
    void bindFields();
    void connectSession();
    // what the status reply drives beyond its own controls
    void fieldShown(Model::Field field, Model::FieldOrigin origin);
    void fieldAcknowledged(Model::Field field);
    void connectConfigHandlers();
    void connectProgramHandlers();
    void setRecordingDefaults();
    void UpdateClockDisplay();
    void centreAlarmLabel();
    void applyDecimalSeparator(int index);


    // program settings page handlers
    void tsDecimalSepChanged();
    void updatePortHint();
    // the secondary windows, in the order a switch re-applies them
    void applyWindowTexts();
    void cboDebugClick();
    void LoadConfigCommand();
    void SaveConfigCommand();
    void showAbout();

    bool ask(const QString &question);
    // a modal notice: programming errors and the second start
    void programError(const QString &text);

    StartOptions m_options;
    TextBindings m_texts;
    std::vector<std::function<void()>> m_pageTexts;
    std::vector<std::function<void()>> m_windowTexts;
    QString m_languageMessage;          // a module's trouble found before the window was shown
    QtTranslations m_qtTranslations;
    QString m_baseDir;
    Link::Tables m_tables;
    Model::DeviceState m_state;
    std::unique_ptr<Model::FieldStore> m_store;     // the field table's view: engine and files reach it there
    std::unique_ptr<FieldBinder> m_binder;
    Files::ParamRecord m_param;
    Files::SelectionRecord m_selection;
    StatusLine *m_status = nullptr;
    Link::Session *m_session = nullptr;
    // the session's parts
    Link::TrafficLog *m_log = nullptr;
    Link::SerialLink *m_serial = nullptr;
    Link::ProtocolEngine *m_engine = nullptr;
    std::unique_ptr<Files::ConfigFiles> m_configFiles;
    std::unique_ptr<PortLock> m_portLock;
    int m_portPosition = 0;             // the port selector's position whose lock is held
    TAboutBox *m_about = nullptr;
    std::unique_ptr<Measure::MemoryReader> m_reader;
    ConfigurationPage *m_configPage = nullptr;
    RecordingSettingsPage *m_recordingPage = nullptr;
    ProgramSettingsPage *m_programPage = nullptr;
    MemoryDataPage *m_memoryPage = nullptr;
    DeviceViewPage *m_devicePage = nullptr;
    std::unique_ptr<TFormSens> m_formSens;     // a top-level window of its own, not a child
    std::unique_ptr<TrendWindow> m_trend;      // likewise
    Measure::CurrentValuesFanOut m_liveViews;
    QTimer Timer1;
    QTimer Timer2;
    QString m_paramMessage;
    QString m_dateFormat = QStringLiteral("dd.MM.yyyy");
    QChar m_timeSep = u':';
    QChar m_decimalSep = u'.';
    int m_alarmIndex = 0;
    qint64 m_shownSecond = -1;
    bool m_inTimer1 = false;
    bool m_inTimer2 = false;
    bool m_paramFailed = false;
    bool m_paramMissing = false;
    bool m_firstActivation = true;
    bool m_secondStart = false;
    bool m_closing = false;
    bool m_askOnClose = true;
};
