#include "app/TForm1.h"

#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
#include "app/ProgramSettingsPage.h"
#include "app/RecordingSettingsPage.h"
#include "app/MemoryDataPage.h"
#include "app/PageControls.h"
#include "app/PortLock.h"
#include "app/TFormEXCEL.h"
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TFormSens.h"
#include "app/TrendWindow.h"
#include "files/ParameterFile.h"
#include "lang/Texts.h"
#include "link/TelegramCodec.h"
#include "measure/MemoryReader.h"
#include "model/Recording.h"
#include "model/TimeText.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TTextSpin.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLocale>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <cmath>

TForm1::TForm1(StartOptions options, QWidget *parent)
    : QMainWindow(parent)
    , m_options(std::move(options))
    , m_baseDir(m_options.baseDir.isEmpty() ? QDir::currentPath() : m_options.baseDir)
{
    setObjectName(QStringLiteral("Form1"));
    applySystemFormats(QLocale::system());
    m_texts.caption(this, Lang::TxCapForm1);
    connectSession();
    m_store = std::make_unique<Model::FieldStore>(m_tables.Fields);
    m_store->setTimeSeparator(m_timeSep);
    m_binder = std::make_unique<FieldBinder>(*m_store);
    connect(m_store.get(), &Model::FieldStore::changed, this, &TForm1::fieldShown);
    connect(m_store.get(), &Model::FieldStore::acknowledged, this, &TForm1::fieldAcknowledged);

    Files::ConfigFileHooks hooks;
    hooks.ReportMessage = [this](const QString &text, bool error) { ReportMessage(text, error); };
    hooks.ShowStatusText = [this](const QString &text) { ShowStatusText(text); };
    hooks.StatusMessage = [this](const QString &text, bool error) { StatusMessage(text, error); };
    hooks.ConfirmMissingKeys = [this](const QString &question, const QStringList &) { return ask(question); };
    hooks.ChooseOpenFile = [this](const Files::FileDialogSetup &setup) -> std::optional<QString> {
        if (m_options.chooseFile)
            return m_options.chooseFile(setup, false);
        const QString name = QFileDialog::getOpenFileName(this, setup.Title, setup.Directory, setup.Filter);
        return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
    };
    hooks.ChooseSaveFile = [this](const Files::FileDialogSetup &setup) -> std::optional<QString> {
        if (m_options.chooseFile)
            return m_options.chooseFile(setup, true);
        QFileDialog dialog(this, setup.Title, setup.Directory, setup.Filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(setup.DefaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    };
    hooks.Now = [] { return QDateTime::currentDateTime(); };
    m_configFiles = std::make_unique<Files::ConfigFiles>(m_tables.Fields, m_param, m_baseDir, hooks);

    auto *central = new QWidget(this);
    setCentralWidget(central);
    buildMenu();
    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControls::compactTabs(PageControl1);
    buildTabConfig();
    buildTabMeasureConfig();
    buildTabMemoryData();
    buildTabInfo();
    buildTrend();
    buildTabProgram();
    showDates();
    buildBottomPanel(central);
    connectConfigHandlers();
    connectProgramHandlers();
    ApplyLanguageTexts();
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) { m_param.PageIndex = index; });
    // Qt's own edits are named by the caption label beside them
    Widgets::linkLabels(this);
    m_about = new TAboutBox(this);

    Timer1.setInterval(40);
    Timer2.setInterval(40);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(&Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    FormCreate();
}

void TForm1::connectSession()
{
    m_session = new Link::Session(m_tables, {m_options.clock, m_baseDir, QStringLiteral(QT8800_VERSION), m_timeSep}, this);
    m_log = &m_session->log();
    m_serial = &m_session->serial();
    m_engine = &m_session->engine();
    // the status line and the pages are built after the session
    connect(m_session, &Link::Session::statusMessage, this, &TForm1::StatusMessage);
    connect(m_session, &Link::Session::statusCleared, this, &TForm1::StatusClear);
    connect(m_session, &Link::Session::activity, this, [this](int indicator) { m_status->StatusFlash(indicator); });
    connect(m_session, &Link::Session::message, this, [this](const QString &text) {
        if (m_memoryPage)
            m_memoryPage->MirrorMessage(text);
    });
    connect(m_session, &Link::Session::portLost, this, [this] { StatusPortText(QStringLiteral("???"), true); });
    connect(m_session, &Link::Session::portBack, this, [this] {
        StatusPortText(m_serial->portName() + QStringLiteral(" - ")
                           + tsBaud->PosText().value(tsBaud->Position()).section(u'|', 0, 0), false);
    });
    connect(m_session, &Link::Session::chainBroken, this, &TForm1::AbandonBlockRead);
    connect(m_session, &Link::Session::reply, this, [this](Link::Reply reply, const QString &text) {
        if (reply == Link::Reply::TAM)
            Measure::ParseCurrentValues(text, m_liveViews, *m_engine);
    });
}

TForm1::~TForm1()
{
    // hiding the sensor window cancels through the reader, so it goes before the reader
    m_formSens.reset();
    m_trend.reset();
    // the page shows the reader's rows; it goes first, the reader before the engine it is wired to
    delete m_memoryPage;
    m_memoryPage = nullptr;
    m_tables.Fields.setView(nullptr);
}

bool TForm1::ask(const QString &question)
{
    if (m_options.ask)
        return m_options.ask(question);
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TForm1::applySystemFormats(const QLocale &locale)
{
    // dates with a four-digit year; times always carry seconds, so only the separator is taken
    QString date = locale.dateFormat(QLocale::ShortFormat);
    if (!date.contains(QLatin1String("yyyy")))
        date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    m_dateFormat = date;
    showDates();
    // a format whose parts are joined by quoted words ("HH 'h' mm") has no separator to take
    m_timeSep = u':';
    const QString time = locale.timeFormat(QLocale::ShortFormat);
    for (QChar c : time)
        if (!c.isLetterOrNumber() && !c.isSpace()) {
            if (c != u'\'')
                m_timeSep = c;
            break;
        }
    // the log's times read like the window's clock
    if (m_log)
        m_log->setTimeSeparator(m_timeSep);
    if (m_store)
        m_store->setTimeSeparator(m_timeSep);
}

// The pickers show dates as the window's clock does; the dates they hand on to files and
// telegrams keep their own fixed form.
void TForm1::showDates()
{
    for (QDateEdit *picker : {dtpQTDate, dtpStartDate, dtpStopDate})
        if (picker)
            picker->setDisplayFormat(m_dateFormat);
}

void TForm1::setInitialColours()
{
    m_configPage->setInitialColours();
    m_recordingPage->setInitialColours();
}

void TForm1::FormCreate()
{
    setInitialColours();
    tsProgLang->setPosText({Lang::Text(Lang::TxItemsTsProgLang), Lang::Text(Lang::TxItemsTsProgLang + 1)});
    m_status->setTickLength(Timer2.interval());

    const Files::ParamReadResult read = Files::ReadParameterFile(m_baseDir, m_param, m_selection);
    m_paramFailed = read.Failed;
    m_paramMessage = read.ParamMessage;
    m_paramMissing = read.Missing;

    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1024, 768);
    const int height = m_param.WindowHeight > 0 ? m_param.WindowHeight : 495;
    const int width = m_param.WindowWidth > 0 ? m_param.WindowWidth : 703;
    resize(width, height);
    const int top = m_param.WindowTop < 0 ? (screen.height() - height) / 2 : m_param.WindowTop;
    const int left = m_param.WindowLeft < 0 ? (screen.width() - width) / 2 : m_param.WindowLeft;
    move(left, top);

    m_programPage->showSettings();
    m_devicePage->setAnalogHeight(m_param.AnalogPanelHeight);
    m_log->setDirectory(m_param.LogDir);
    cboAnaScale->setChecked(m_param.ScaleAnalogValues);
    cboTwoCol->setChecked(m_param.TwoColumns);
    cboAlarmNotValid->setChecked(m_param.SkipAlarmValues);
    StatusCountdown = int(std::lround(double(m_param.StatusInterval) * 1000.0));
    m_status->setErrorBeep(m_param.BeepOnError);
    applyDecimalSeparator(m_param.DecimalSepIndex);
    if (m_param.LogTraffic)
        cboDebugClick();
    // the secondary windows exist already and follow the language chosen here
    if (!m_paramFailed) {
        SelectLanguage(m_param.ProgramLanguage);
        applyWindowTexts();
    }
    m_qtTranslations.select(languageInForce());

    // one program per serial port: the port is the one the parameter file chose
    m_portLock = std::make_unique<PortLock>(m_options.lockDir);
    m_portPosition = tsComPort->Position();
    if (!m_portLock->take(Link::SerialLink::ResolvePortName(m_baseDir, tsComPort->PosString().trimmed()))) {
        m_secondStart = true;
        programError(Lang::Text(Lang::TxSecondStart));
        return;
    }

    Timer1.start();
    PageControl1->setCurrentIndex(m_param.PageIndex >= 0 && m_param.PageIndex < PageControl1->count()
                                      ? m_param.PageIndex : 0);
    if (m_paramFailed)
        PageControl1->setCurrentWidget(TabProgram);
    Timer2.start();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstActivation && !m_secondStart)
        FormActivate();
}

void TForm1::FormActivate()
{
    m_firstActivation = false;
    Link::BuildTables(m_tables);
    bindFields();
    ApplyLanguageTexts();
    setRecordingDefaults();
    m_about->setVersion(QStringLiteral(QT8800_VERSION));
    tsBaud->setPosition(m_selection.BaudIndex);
    tsComPortChanged();
    if (m_param.RememberConfig && QFileInfo::exists(m_configFiles->LastConfigFile()))
        m_configFiles->LoadLastConfig();
    m_devicePage->TabInfoShow();
    if (!m_paramMessage.isEmpty())
        ReportMessage(m_paramMessage, m_paramFailed && !m_paramMissing);
    if (!m_languageMessage.isEmpty())
        ReportMessage(std::exchange(m_languageMessage, QString()), true);
    if (m_param.ReadAtStart) {
        if (m_serial->PortReady())
            ReadConfigFromDevice();
        else
            ReportMessage(Lang::Text(Lang::TxPortProblemAtStart), true);
    }
}

void TForm1::setRecordingDefaults()
{
    m_recordingPage->setDefaults();
    isePolInter->setStringValue(QStringLiteral("01:00:00"));
}

void TForm1::bindFields()
{
    for (const Model::TVComp &info : Model::FieldTable) {
        const QString name = Model::controlName(info.id);
        QObject *control = name.isEmpty() ? nullptr : findChild<QObject *>(name);
        if (!control)
            continue;
        m_tables.Fields.BindControl(name, control);
        if (auto *ise = qobject_cast<TInterSpinEdit *>(control))
            m_binder->bind(info.id, ise);
        else if (auto *edit = qobject_cast<QLineEdit *>(control))
            m_binder->bind(info.id, edit);
        else if (auto *picker = qobject_cast<QDateEdit *>(control))
            m_binder->bind(info.id, picker);
        else if (auto *spin = qobject_cast<TTextSpin *>(control))
            m_binder->bind(info.id, spin);
        else if (auto *label = qobject_cast<QLabel *>(control); label && info.kind == Model::FieldKind::Text)
            m_binder->bind(info.id, label);
    }
    connect(m_configPage, &ConfigurationPage::touched, m_binder.get(), &FieldBinder::touched);
    connect(m_configPage, &ConfigurationPage::programSet, m_binder.get(), &FieldBinder::programSet);
    connect(m_recordingPage, &RecordingSettingsPage::touched, m_binder.get(), &FieldBinder::touched);
    connect(m_recordingPage, &RecordingSettingsPage::programSet, m_binder.get(), &FieldBinder::programSet);
    // after the binder, so that the recording stop is computed from what the controls show
    m_recordingPage->follow(*m_store);
    // the store starts with what the pages show
    m_binder->takeAll();
}

bool TForm1::FormCloseQuery()
{
    if (m_closing || !m_selection.AskOnClose)
        return true;
    return ask(Lang::Text(Lang::TxAskClose));
}

void TForm1::FormClose()
{
    Timer1.stop();
    Timer2.stop();
    m_formSens->hide();
    m_trend->hide();
    m_log->CloseTrafficLog();
    m_serial->OpenPort(QString());
    if (m_param.RememberConfig)
        m_configFiles->SaveLastConfig();
    m_param.WindowHeight = height();
    m_param.WindowWidth = width();
    m_param.WindowTop = y();
    m_param.WindowLeft = x();
    Files::WriteParameterFile(m_baseDir, m_param, m_selection,
                              [this](const QString &text, bool error) { StatusMessage(text, error); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (m_secondStart) {
        event->accept();
        return;
    }
    // the rows of an unsaved workbook exist nowhere else: offer to save them first
    TFormEXCEL *workbook = m_memoryPage ? m_memoryPage->formExcel() : nullptr;
    if (!m_closing && workbook && workbook->hasUnsavedWorkbook()) {
        event->ignore();
        workbook->CloseSpreadsheet([this](bool settled) {
            if (settled)
                QTimer::singleShot(0, this, &QWidget::close);
        });
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    m_closing = true;
    event->accept();
}

void TForm1::closeWithoutQuestion()
{
    m_closing = true;
    close();
}

// A tick never re-enters while the previous one still works (a question shown from within
// it runs a nested loop); a flag does that without re-registering the timer 25 times a second.
void TForm1::Timer2Timer()
{
    if (m_inTimer2)
        return;
    m_inTimer2 = true;
    m_engine->RunProtocolEngine();
    m_inTimer2 = false;
}

void TForm1::Timer1Timer()
{
    if (m_inTimer1)
        return;
    m_inTimer1 = true;
    const int tick = Timer1.interval();
    m_status->StatusTick();
    UpdateClockDisplay();
    // the trend window asks for live values too, with the device view's switch off
    if (DeviceViewActive || trendShown()) {
        if (MeasureCountdown > 0)
            MeasureCountdown -= tick;
        if (MeasureCountdown <= 0) {
            MeasureCountdown = int(std::lround(double(m_param.MeasureInterval) * 1000.0));
            m_engine->MeasurementQuery(cboQTTime->isChecked());
        }
    }
    if (DeviceViewActive) {
        if (!m_state.AlarmTexts.isEmpty())
            centreAlarmLabel();
    } else {
        m_devicePage->ZeroMeters();
        if (m_state.AlarmTexts.isEmpty() && !lblAlarm->text().isEmpty())
            lblAlarm->clear();
        centreAlarmLabel();
    }
    if (cboQTTime->isChecked()) {
        if (StatusCountdown > 0)
            StatusCountdown -= tick;
        if (StatusCountdown <= 0) {
            StatusCountdown = int(std::lround(double(m_param.StatusInterval) * 1000.0));
            m_engine->CyclicStatusRead();
        }
    }
    if (StatusOnceCountdown > 0) {
        StatusOnceCountdown -= tick;
        if (StatusOnceCountdown <= 0)
            m_engine->QueueOrder(Link::Order::GST);
    }
    if (m_state.AlarmCountdown > 0)
        m_state.AlarmCountdown -= tick;
    if (m_state.AlarmCountdown <= 0) {
        RotateAlarmText();
        m_state.AlarmCountdown = 1000;
    }
    m_inTimer1 = false;
}

void TForm1::centreAlarmLabel()
{
    // a label relays itself out on every call, so only a change is passed on
    if (lblAlarm->alignment() != Qt::AlignCenter)
        lblAlarm->setAlignment(Qt::AlignCenter);
}

void TForm1::UpdateClockDisplay()
{
    // the labels change once a second; formatting them 25 times a second is wasted work
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second == m_shownSecond)
        return;
    m_shownSecond = second;
    const QDateTime now = QDateTime::currentDateTime();
    const QString date = QLatin1Char(' ') + now.toString(m_dateFormat);
    if (date.compare(lblSysDate->text(), Qt::CaseInsensitive) != 0)
        lblSysDate->setText(date);
    const QString sep(m_timeSep);
    const QString time = QLatin1Char(' ') + now.toString(QStringLiteral("HH'%1'mm'%1'ss").arg(sep));
    if (time.compare(lblSysTime->text(), Qt::CaseInsensitive) != 0)
        lblSysTime->setText(time);
}

void TForm1::RotateAlarmText()
{
    QString text;
    const QStringList &alarms = m_state.AlarmTexts;
    if (alarms.isEmpty()) {
        m_alarmIndex = -1;
    } else {
        m_alarmIndex = m_alarmIndex + 1 < alarms.size() ? m_alarmIndex + 1 : 0;
        text = alarms.at(m_alarmIndex);
    }
    if (lblInfo->text() != text)
        lblInfo->setText(text);
    const bool any = !alarms.isEmpty();
    ledAlarm->setLedBlink(any);
    ledAlarm->setChecked(any);
    ledInfoAlarm->setVisible(any);
    ledInfoAlarm->setLedBlink(any);
    if (any)
        lblAlarm->setText(text);
}

void TForm1::AbandonBlockRead()
{
    m_reader->AbandonBlockRead();
}

void TForm1::ResetDirectoryGrid()
{
    if (m_memoryPage)
        m_memoryPage->ResetDirectoryGrid();
}

void TForm1::ReadConfigFromDevice()
{
    m_engine->ReadConfigFromDevice();
}

void TForm1::WriteConfigToDevice()
{
    m_engine->WriteConfigToDevice();
}

// ---- status line -------------------------------------------------------------------------

void TForm1::StatusMessage(const QString &text, bool error)
{
    m_status->StatusMessage(text, error);
}

void TForm1::StatusClear()
{
    m_status->StatusClear();
}

void TForm1::StatusPortText(const QString &text, bool error)
{
    m_status->StatusPortText(text, error);
}

void TForm1::programError(const QString &text)
{
    if (m_options.notify)
        m_options.notify(text);
    else
        QMessageBox::critical(this, windowTitle(), text);
}

// ---- what the store drives beyond the bound controls ----------------------------------

void TForm1::fieldShown(Model::Field field, Model::FieldOrigin origin)
{
    using Model::Field;
    if (origin != Model::FieldOrigin::Device && origin != Model::FieldOrigin::File)
        return;
    const QString value = m_store->value(field);
    switch (field) {
    case Field::Recording: {
        const bool running = value == QLatin1String("1");
        m_state.RecordingRunning = running;
        btnStart->setDown(running);
        btnStart->setShape(running ? Widgets::TArrowShape::taSquare : Widgets::TArrowShape::taArrow);
        break;
    }
    case Field::RecordingLamp:
        ledStatMem->setVisible(value == QLatin1String("1"));
        break;
    case Field::AlarmInfo:
    case Field::AlarmDisplay:
        m_state.ProgramLanguage = m_param.ProgramLanguage;
        Model::DecodeAlarmMask(m_tables.Status, value, m_state);
        break;
    case Field::RangeName:
        lblRange->setText(m_tables.Status.RangeName(value));
        break;
    case Field::Polarity:
        if (origin == Model::FieldOrigin::Device)
            lblPol->setText(tsPol->PosString());
        break;
    default:
        break;
    }
}

void TForm1::fieldAcknowledged(Model::Field field)
{
    if (field == Model::Field::ZeroStarted) {
        StatusMessage(Lang::Text(Lang::TxZeroStarted), false);
        return;
    }
    StatusMessage(Lang::Text(Lang::TxMemCleared), false);
    btnMemClear->setDown(false);
    btnMemClear->setColorDown(Qt::red);
    btnMemClear->setShape(Widgets::TArrowShape::taCircle);
    ResetDirectoryGrid();
}
