// The window's pages and the handlers of their controls.
#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
#include "app/PageControls.h"
#include "app/ProgramSettingsPage.h"
#include "app/RecordingSettingsPage.h"
#include "app/MemoryDataPage.h"
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormSens.h"
#include "app/TrendWindow.h"
#include "files/ParameterFile.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"
#include "model/Recording.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TTextSpin.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

using namespace Lang;
using namespace PageControls;

void TForm1::buildMenu()
{
    auto action = [this](QMenu *menu, const char *name, TextId id, auto slot) {
        QAction *a = menu->addAction(QString(), this, slot);
        a->setObjectName(QString::fromLatin1(name));
        m_texts.caption(a, id);
        return a;
    };
    auto menu = [this](const char *name, TextId id) {
        QMenu *m = menuBar()->addMenu(QString());
        m->setObjectName(QString::fromLatin1(name));
        m_texts.caption(m, id);
        return m;
    };
    QMenu *file = menu("Datei1", TxCapDatei1);
    action(file, "Konfigurationladen1", TxCapKonfigurationladen1, &TForm1::LoadConfigCommand)->setShortcut(Qt::Key_F2);
    action(file, "Konfigurationspeichern1", TxCapKonfigurationspeichern1, &TForm1::SaveConfigCommand)
        ->setShortcut(Qt::Key_F3);
    action(file, "Programmbeenden1", TxCapProgrammbeenden1, &QWidget::close);

    QMenu *device = menu("QT88001", TxCapQT88001);
    action(device, "Einstellungenladen1", TxCapEinstellungenladen1, &TForm1::ReadConfigFromDevice)
        ->setShortcut(Qt::Key_F5);
    action(device, "KonfigurationzumQT8800bertragen1", TxCapKonfigurationzumQT8800bertragen1,
           &TForm1::WriteConfigToDevice)
        ->setShortcut(Qt::Key_F6);
    action(device, "LiveVerlauf1", TxTrendMenu, &TForm1::showTrend)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));

    QMenu *options = menu("Optionen1", TxCapOptionen1);
    action(options, "Programmkonfigurieren1", TxCapProgrammkonfigurieren1,
           [this] { PageControl1->setCurrentWidget(TabProgram); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));

    QMenu *help = menu("Hilfe1", TxCapHilfe1);
    action(help, "Info1", TxCapInfo1, &TForm1::showAbout);
}

void TForm1::buildBottomPanel(QWidget *central)
{
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(PageControl1, 1);

    auto *bottom = new QWidget(central);
    bottom->setFixedHeight(44);
    auto *row = new QHBoxLayout(bottom);
    row->setContentsMargins(0, 4, 0, 4);
    btnLoadQTKonfig = named(new QPushButton(bottom), "btnLoadQTKonfig");
    btnSaveQTKonfig = named(new QPushButton(bottom), "btnSaveQTKonfig");
    panInfo = named(new QFrame(bottom), "panInfo");
    static_cast<QFrame *>(panInfo)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *infoRow = new QHBoxLayout(panInfo);
    infoRow->setContentsMargins(4, 0, 4, 0);
    lblInfo = named(new QLabel(panInfo), "lblInfo");
    lblInfo->setMinimumWidth(140);
    ledInfoAlarm = named(new TLedCheck(panInfo), "ledInfoAlarm");
    ledInfoAlarm->setLedCol(Qt::red);
    ledInfoAlarm->setChecked(true);
    ledInfoAlarm->setFixedSize(24, 24);
    ledInfoAlarm->hide();
    infoRow->addWidget(ledInfoAlarm);
    infoRow->addWidget(lblInfo, 1);
    ledStatMem = named(new TLedCheck(bottom), "ledStatMem");
    ledStatMem->setLedCol(Qt::red);
    ledStatMem->setChecked(true);
    ledStatMem->setMinimumWidth(100);
    ledStatMem->hide();
    btnEnd = named(new QPushButton(bottom), "btnEnd");
    row->addWidget(btnLoadQTKonfig);
    row->addWidget(btnSaveQTKonfig);
    row->addWidget(panInfo, 1);
    row->addWidget(ledStatMem);
    row->addWidget(btnEnd);
    layout->addWidget(bottom);
    m_texts.caption(btnLoadQTKonfig, TxCapBtnLoadQTKonfig);
    m_texts.caption(btnSaveQTKonfig, TxCapBtnSaveQTKonfig);
    m_texts.caption(ledStatMem, TxCapLedStatMem);
    m_texts.caption(btnEnd, TxCapBtnEnd);
    m_texts.hint(btnSaveQTKonfig, TxHintBtnSaveQTKonfig);
    m_texts.hint(btnLoadQTKonfig, TxHintBtnLoadQTKonfig);
    m_texts.hint(btnEnd, TxHintBtnEnd);
    m_texts.hint(ledStatMem, TxHintLedStatMem);
    m_texts.hint(lblInfo, TxHintLblInfo);
    // shown only while there are alarms, but named for assistive technology all the same
    addPageTexts([this] {
        panInfo->setAccessibleName(Lang::Text(TxNamePanInfo));
        ledInfoAlarm->setAccessibleName(Lang::Text(TxNameLedAlarm));
    });

    m_status = named(new StatusLine(central), "stb1");
    layout->addWidget(m_status);

    connect(btnLoadQTKonfig, &QPushButton::clicked, this, &TForm1::ReadConfigFromDevice);
    connect(btnSaveQTKonfig, &QPushButton::clicked, this, &TForm1::WriteConfigToDevice);
    connect(btnEnd, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::buildTabConfig()
{
    m_configPage = new ConfigurationPage(m_texts, *m_engine);
    TabConfig = m_configPage;
    PageControl1->addTab(TabConfig, QString());
    m_texts.page(PageControl1, TabConfig, TxCapTabConfig);
    ConfigurationPage &p = *m_configPage;
    lblSerNr = p.lblSerNr, lblVersion = p.lblVersion, lblTime = p.lblTime, lblSysDate = p.lblSysDate;
    lblSysTime = p.lblSysTime, dtpQTDate = p.dtpQTDate, iseQTTime = p.iseQTTime, isePolInter = p.isePolInter;
    tsRange = p.tsRange, tsPol = p.tsPol, tsPolAlter = p.tsPolAlter, tsAnaOut = p.tsAnaOut;
    tsZeroAtStart = p.tsZeroAtStart, tsQTLanguage = p.tsQTLanguage, btnSetDT = p.btnSetDT, btnSyncDT = p.btnSyncDT;
    btnZero = p.btnZero;
}

void TForm1::buildTabMeasureConfig()
{
    m_recordingPage = new RecordingSettingsPage(m_texts, *m_engine, [this](const QString &q) { return ask(q); });
    TabMeasureConfig = m_recordingPage;
    PageControl1->addTab(TabMeasureConfig, QString());
    m_texts.page(PageControl1, TabMeasureConfig, TxCapTabMeasureConfig);
    RecordingSettingsPage &p = *m_recordingPage;
    dtpStartDate = p.dtpStartDate, dtpStopDate = p.dtpStopDate, iseStartTime = p.iseStartTime;
    iseStopTime = p.iseStopTime, iseDuration = p.iseDuration, iseMeasInt = p.iseMeasInt;
    tsStartMode = p.tsStartMode, tsMemEnd = p.tsMemEnd, tsOutMeas = p.tsOutMeas, tsAnaIn = p.tsAnaIn;
    lblMemUse = p.lblMemUse, btnInfo1 = p.btnInfo1, btnMemClear = p.btnMemClear, btnStart = p.btnStart;
    txtAnaName = p.txtAnaName, txtAnaUnit = p.txtAnaUnit, txtAnaValZero = p.txtAnaValZero;
    txtAnaVal10 = p.txtAnaVal10, txtScaleZero = p.txtScaleZero, txtScaleEnd = p.txtScaleEnd;
    txtScaleParts = p.txtScaleParts, txtValueScaleZero = p.txtValueScaleZero, txtValueScaleEnd = p.txtValueScaleEnd;
    connect(m_recordingPage, &RecordingSettingsPage::statusMessage, this, &TForm1::StatusMessage);
    connect(m_recordingPage, &RecordingSettingsPage::statusQueryWanted, this, [this] { StatusOnceCountdown = 2000; });
}

void TForm1::buildTabMemoryData()
{
    m_reader = std::make_unique<Measure::MemoryReader>(*m_engine);
    MemoryDialogs dialogs;
    dialogs.chooseFile = m_options.chooseFile;
    // what a read takes from the settings and the configuration page, at the moment it starts
    auto readOptions = [this] {
        Measure::ReadOptions o;
        o.formats = displayFormats();
        o.twoColumns = m_param.TwoColumns;
        o.scaleAnalog = m_param.ScaleAnalogValues;
        o.skipAlarm = m_param.SkipAlarmValues;
        o.valueAtZero = txtAnaValZero->text();
        o.valueAtTen = txtAnaVal10->text();
        o.analogName = txtAnaName->text();
        o.analogUnit = txtAnaUnit->text();
        o.serialNumber = lblSerNr->text().trimmed();
        o.programVersion = QStringLiteral(QT8800_VERSION);
        o.templateFile = m_param.TemplateFile;
        return o;
    };
    m_memoryPage = new MemoryDataPage(*m_reader, m_param, m_selection, std::move(dialogs), readOptions);
    connect(m_memoryPage->formExcel(), &TFormEXCEL::reportMessage, this,
            [this](const QString &text, bool error) { m_engine->ReportMessage(text, error); });
    TabMemoryData = m_memoryPage;
    PageControl1->addTab(TabMemoryData, QString());
    m_texts.page(PageControl1, TabMemoryData, TxPageTab);
    cboAnaScale = m_memoryPage->cboAnaScale;
    cboTwoCol = m_memoryPage->cboTwoCol;
    cboAlarmNotValid = m_memoryPage->cboAlarmNotValid;
}

void TForm1::buildTabInfo()
{
    m_formSens = std::make_unique<TFormSens>();
    m_formSens->setOnHidden([this] { m_reader->CancelRead(); });
    DeviceViewPage::Links links{*m_engine, m_tables.Status, m_state, *m_configPage, m_formSens.get(),
                                [this] {
                                    return AnalogInputTexts{txtAnaName->text(), txtAnaUnit->text(),
                                                            txtAnaValZero->text(), txtAnaVal10->text(),
                                                            txtScaleZero->text(), txtScaleEnd->text(),
                                                            txtScaleParts->text(), txtValueScaleZero->text(),
                                                            txtValueScaleEnd->text()};
                                },
                                [this] { return m_decimalSep; },
                                [this] { return m_param.ProgramLanguage; }};
    m_devicePage = new DeviceViewPage(std::move(links));
    TabInfo = m_devicePage;
    PageControl1->addTab(TabInfo, QString());
    m_texts.page(PageControl1, TabInfo, TxCapTabInfo);
    addPageTexts([this] { m_devicePage->ApplyLanguageTexts(); });
    addWindowTexts([this] { m_formSens->ApplyLanguageTexts(); });
    lblRange = m_devicePage->lblRange;
    lblPol = m_devicePage->lblPol;
    lblAlarm = m_devicePage->lblAlarm;
    ledAlarm = m_devicePage->ledAlarm;
    panAnalog = m_devicePage->panAnalog;
    connect(m_devicePage, &DeviceViewPage::liveUpdateChanged, this, [this](bool on) { DeviceViewActive = on; });
    connect(m_devicePage, &DeviceViewPage::analogHeightChanged, this,
            [this](int height) { m_param.AnalogPanelHeight = height; });
    connect(m_formSens.get(), &TFormSens::cycleViews, m_devicePage, &DeviceViewPage::CycleDeviceViews);
    connect(m_devicePage, &DeviceViewPage::trendRequested, this, &TForm1::showTrend);
}

void TForm1::buildTrend()
{
    TrendWindow::Links links;
    links.formats = [this] { return displayFormats(); };
    links.analogName = [this] { return txtAnaName->text(); };
    links.intervalMsecs = [this] { return int(std::lround(double(m_param.MeasureInterval) * 1000.0)); };
    links.recordFolder = [this] {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileInfo(documents).isDir() ? documents : QDir::homePath();
    };
    links.chooseRecordFile = [](QWidget *parent, const QString &suggestion,
                                std::function<void(const QString &)> done) {
        auto *dialog = new QFileDialog(parent, Text(TxTrendRecordDialogTitle), suggestion, Text(TxTrendRecordFilter));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setDefaultSuffix(QStringLiteral("csv"));
        // a recording continues an existing file, it never replaces one
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        connect(dialog, &QFileDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
            const QStringList files = dialog->selectedFiles();
            done(result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString());
        });
        dialog->open();
    };
    m_trend = std::make_unique<TrendWindow>(std::move(links));
    addWindowTexts([this] { m_trend->ApplyLanguageTexts(); });
    m_liveViews.Add(*m_devicePage, [this] { return DeviceViewActive; });
    m_liveViews.Add(*m_trend, [this] { return trendShown(); });
}

Measure::DisplayFormats TForm1::displayFormats() const
{
    Measure::DisplayFormats f;
    f.dateFormat = m_dateFormat;
    f.timeFormat = QStringLiteral("HH'%1'mm'%1'ss").arg(m_timeSep);
    f.decimalSep = m_decimalSep;
    return f;
}

bool TForm1::trendShown() const
{
    return m_trend && m_trend->isVisible();
}

void TForm1::showTrend()
{
    m_trend->show();
    m_trend->raise();
    m_trend->activateWindow();
}

void TForm1::buildTabProgram()
{
    m_programPage = new ProgramSettingsPage(m_texts, m_param, m_selection,
                                            {m_options.chooseFile, m_options.chooseDirectory});
    TabProgram = m_programPage;
    PageControl1->addTab(TabProgram, QString());
    m_texts.page(PageControl1, TabProgram, TxCapTabProgram);
    ProgramSettingsPage &p = *m_programPage;
    tsComPort = p.tsComPort, tsBaud = p.tsBaud, tsDecimalSep = p.tsDecimalSep, tsProgLang = p.tsProgLang;
    txtMPath = p.txtMPath, txtExcelDat = p.txtExcelDat, txtQTPath = p.txtQTPath, txtDebugPath = p.txtDebugPath;
    txtRefInter = p.txtRefInter, txtMeasRefInter = p.txtMeasRefInter, btnMPath = p.btnMPath;
    btnExcelDat = p.btnExcelDat, btnQTPath = p.btnQTPath, btnDebugPath = p.btnDebugPath;
    cboSaveConfig = p.cboSaveConfig, cboReadAtStart = p.cboReadAtStart, cboPrompt = p.cboPrompt;
    cboQTTime = p.cboQTTime, cbBeep = p.cbBeep, cboDebug = p.cboDebug, cbAskArProgrammClose = p.cbAskArProgrammClose;
    // "..." says nothing to a screen reader: each is named for what it chooses
    addPageTexts([this] {
        btnMPath->setAccessibleName(Lang::Text(TxNameChooseMeasureDir));
        btnExcelDat->setAccessibleName(Lang::Text(TxNameChooseTemplate));
        btnQTPath->setAccessibleName(Lang::Text(TxNameChooseConfigDir));
        btnDebugPath->setAccessibleName(Lang::Text(TxNameChooseLogDir));
        btnInfo1->setAccessibleName(Lang::Text(TxNameQueryMemoryUse));
    });
}
