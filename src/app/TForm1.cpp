#include "app/TForm1.h"

#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
#include "app/PageControls.h"
#include "app/ProgramSettingsPage.h"
#include "app/RecordingSettingsPage.h"
#include "app/MemoryDataPage.h"
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

namespace {

const QColor kSilver(192, 192, 192);
const QColor kLightYellow(255, 238, 170);
const QColor kRed(255, 0, 0);

} // namespace

TForm1::TForm1(StartOptions options, QWidget *parent)
    : QMainWindow(parent)
    , m_options(std::move(options))
    , m_baseDir(m_options.baseDir.isEmpty() ? QDir::currentPath() : m_options.baseDir)
{
    setObjectName(QStringLiteral("Form1"));
    applySystemFormats(QLocale::system());
    m_texts.caption(this, Lang::TxCapForm1);
    connectSession();
    m_tables.Fields.setView(this);

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
    buildTabConfig();
    buildTabMeasureConfig();
    buildTabMemoryData();
    buildTabInfo();
    buildTrend();
    buildTabProgram();
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
        ReportMessage(m_paramMessage, m_paramFailed);
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
        if (name.isEmpty())
            continue;
        if (QObject *control = findChild<QObject *>(name))
            m_tables.Fields.BindControl(name, control);
    }
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

// ---- value conversion --------------------------------------------------------------------

void TForm1::setControlColour(QWidget *control, const QColor &colour)
{
    PageControls::setControlColour(control, colour);
}

void TForm1::Dat2Form(Model::Field index, Model::Slot slot)
{
    using Kind = Model::FieldKind;
    if (std::size_t(index) >= Model::FieldTable.size()) {
        programError(Lang::Text(Lang::TxDat2FormIndex) + QString::number(int(index)));
        return;
    }
    const Model::FieldSlot &field = m_tables.Fields[index];
    const Model::TVComp &info = Model::fieldInfo(index);
    QString text;
    QColor colour = palette().color(QPalette::Base);
    if (slot == Model::FileSlot) {
        text = field.FileText;
        colour = kLightYellow;
    } else if (slot == Model::TelegramSlot) {
        text = field.TelegramText;
        colour = kSilver;
    }
    auto *control = qobject_cast<QWidget *>(field.Control);
    auto toInt = [](const QString &s, bool *ok) { return s.trimmed().toInt(ok); };
    switch (info.kind) {
    case Kind::Text:
        if (auto *label = qobject_cast<QLabel *>(control)) {
            label->setText(text);
            setControlColour(label, colour);
        } else if (auto *edit = qobject_cast<QLineEdit *>(control); edit && !edit->hasFocus()) {
            edit->setText(text);
            setControlColour(edit, colour);
        }
        break;
    case Kind::Date: {
        auto *picker = qobject_cast<QDateEdit *>(control);
        if (!picker || picker->hasFocus())
            break;
        if (const auto date = parseDate(text, std::nullopt))
            PageControls::setQuietly(picker, *date);
        else
            colour = kRed;
        setControlColour(picker, colour);
        break;
    }
    case Kind::ClockTime:
    case Kind::HourMinute: {
        auto *ise = qobject_cast<TInterSpinEdit *>(control);
        if (!ise || (info.kind == Kind::ClockTime && ise->hasFocus()))
            break;
        const int parts = info.kind == Kind::HourMinute ? 2 : 3;
        const std::optional<QTime> time = slot == Model::FileSlot ? Model::ReadFileTime(text, m_timeSep)
                                                                  : Model::ReadTelegramTime(text, parts);
        if (!time) {
            setControlColour(ise, kRed);
            break;
        }
        const QTime shown = info.kind == Kind::HourMinute ? QTime(time->hour(), time->minute()) : *time;
        PageControls::setQuietly(ise, shown.msecsSinceStartOfDay() / 86400000.0);
        setControlColour(ise, colour);
        // the stop follows the start whichever of start and duration arrives last
        if (ise == iseStartTime)
            ComputeMemoryStop(0);
        break;
    }
    case Kind::Span: {
        auto *ise = qobject_cast<TInterSpinEdit *>(control);
        if (!ise)
            break;
        // a span, not a time of day: the instrument echoes 24:10:00 as the spin edit steps to it
        const std::optional<QString> span = Model::ReadSpanText(text, slot == Model::FileSlot ? m_timeSep : u':');
        if (span)
            PageControls::setQuietly(ise, *span);
        setControlColour(ise, span ? colour : kRed);
        break;
    }
    case Kind::ItemIndex:
    case Kind::ItemInteger: {
        // the item by its index, or by the integer it carries
        auto *spin = qobject_cast<TTextSpin *>(control);
        if (!spin)
            break;
        bool ok = false;
        int n = toInt(text, &ok);
        if (!ok) {
            n = 0;
            colour = kRed;
        }
        int found = -1;
        if (info.kind == Kind::ItemIndex) {
            found = n >= 0 && n < spin->count() ? n : -1;
        } else {
            for (int i = 0; i < std::min(spin->count(), info.items.count) && found < 0; ++i)
                if (info.items.integers[std::size_t(i)] == n)
                    found = i;
        }
        if (found < 0)
            colour = kRed;
        else
            spin->setPosition(found);
        setControlColour(spin, colour);
        break;
    }
    case Kind::MemoryCleared:
        StatusMessage(Lang::Text(Lang::TxMemCleared), false);
        btnMemClear->setDown(false);
        btnMemClear->setColorDown(Qt::red);
        btnMemClear->setShape(Widgets::TArrowShape::taCircle);
        ResetDirectoryGrid();
        break;
    case Kind::DayMonth: {
        auto *picker = qobject_cast<QDateEdit *>(control);
        if (!picker)
            break;
        // the instrument sends the start without a year: the picker's year stays
        const auto date = parseDate(text, picker->date().year());
        if (date)
            PageControls::setQuietly(picker, *date);
        setControlColour(picker, date ? colour : kRed);
        if (date && picker == dtpStartDate)
            ComputeMemoryStop(0);
        break;
    }
    case Kind::Duration:
        if (Model::ValidDuration(text.trimmed())) {
            PageControls::setQuietly(iseDuration, text.trimmed());
            ComputeMemoryStop(2);
            // the stop is computed, never read: it keeps the colour the computation gave it,
            // only a mark of an earlier duration that did not convert goes
            setControlColour(iseDuration, colour);
            if (iseStopTime->Color() == kRed)
                setControlColour(iseStopTime, palette().color(QPalette::Base));
            if (dtpStopDate->palette().color(QPalette::Base) == kRed)
                setControlColour(dtpStopDate, palette().color(QPalette::Base));
        } else {
            for (QWidget *w : {static_cast<QWidget *>(dtpStopDate), static_cast<QWidget *>(iseStopTime),
                               static_cast<QWidget *>(iseDuration)})
                setControlColour(w, kRed);
        }
        break;
    case Kind::Decimal: {
        auto *edit = qobject_cast<QLineEdit *>(control);
        if (!edit)
            break;
        QString s = text;
        if (m_decimalSep == u'.')
            s.replace(u',', m_decimalSep);
        else
            s.replace(u'.', m_decimalSep);
        bool ok = false;
        QString probe = s.trimmed();
        probe.replace(u',', u'.');
        probe.toDouble(&ok);
        if (ok)
            edit->setText(s.trimmed());
        setControlColour(edit, ok ? colour : kRed);
        break;
    }
    case Kind::RecordingFlag: {
        bool ok = false;
        const int n = toInt(text, &ok);
        if (ok && n == 0) {
            m_state.RecordingRunning = false;
            btnStart->setDown(false);
            btnStart->setShape(Widgets::TArrowShape::taArrow);
        } else if (ok && n == 1) {
            m_state.RecordingRunning = true;
            btnStart->setDown(true);
            btnStart->setShape(Widgets::TArrowShape::taSquare);
        }
        break;
    }
    case Kind::ZeroAck:
        StatusMessage(Lang::Text(Lang::TxZeroStarted), false);
        break;
    case Kind::AlarmMask:
        m_state.ProgramLanguage = m_param.ProgramLanguage;
        Model::DecodeAlarmMask(m_tables.Status, text, m_state);
        break;
    case Kind::RangeName:
        if (auto *label = qobject_cast<QLabel *>(control))
            label->setText(m_tables.Status.RangeName(text));
        break;
    case Kind::PolarityName:
        if (auto *label = qobject_cast<QLabel *>(control))
            label->setText(tsPol->PosString());
        break;
    case Kind::Lamp:
        if (control)
            control->setVisible(text.contains(u'1'));
        break;
    default:
        break;
    }
}

std::optional<QDate> TForm1::parseDate(const QString &text, std::optional<int> defaultYear)
{
    bool okD = false, okM = false, okY = true;
    const int day = Link::GetToken(text, u".", 1).value_or("x").toInt(&okD);
    const int month = Link::GetToken(text, u".", 2).value_or("x").toInt(&okM);
    int year = 0;
    if (const auto y = Link::GetToken(text, u".", 3); y && !y->isEmpty())
        year = y->toInt(&okY);
    else if (defaultYear)
        year = *defaultYear;
    else
        okY = false;
    const QDate date(year, month, day);
    if (!okD || !okM || !okY || !date.isValid())
        return std::nullopt;
    return date;
}

void TForm1::Form2Dat(Model::Field index, Model::Slot slot)
{
    using Kind = Model::FieldKind;
    if (std::size_t(index) >= Model::FieldTable.size()) {
        programError(Lang::Text(Lang::TxForm2DatIndex) + QString::number(int(index)));
        return;
    }
    Model::FieldSlot &field = m_tables.Fields[index];
    const Model::TVComp &info = Model::fieldInfo(index);
    QObject *control = field.Control;
    QString text;
    switch (info.kind) {
    case Kind::Text:
        if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        else if (auto *edit = qobject_cast<QLineEdit *>(control); edit && !qobject_cast<TInterSpinEdit *>(control))
            text = edit->text();
        break;
    case Kind::Date:
        if (auto *picker = qobject_cast<QDateEdit *>(control))
            text = picker->date().toString(QStringLiteral("dd.MM.yyyy"));
        break;
    case Kind::ClockTime:
        if (auto *ise = qobject_cast<TInterSpinEdit *>(control))
            text = Model::TimeOfDayText(ise->Value(), false);
        break;
    case Kind::ItemIndex:
        if (auto *spin = qobject_cast<TTextSpin *>(control))
            text = QString::number(spin->Position());
        break;
    case Kind::ItemInteger:
        if (auto *spin = qobject_cast<TTextSpin *>(control)) {
            const int at = spin->Position();
            text = QString::number(at >= 0 && at < std::min(spin->count(), info.items.count)
                                        ? info.items.integers[std::size_t(at)] : 0);
        }
        break;
    case Kind::DayMonth:
        if (auto *picker = qobject_cast<QDateEdit *>(control))
            text = picker->date().toString(slot == Model::FileSlot ? QStringLiteral("dd.MM.yyyy") : QStringLiteral("dd.MM"));
        break;
    case Kind::HourMinute:
        if (auto *ise = qobject_cast<TInterSpinEdit *>(control))
            text = Model::TimeOfDayText(ise->Value(), true);
        break;
    case Kind::Duration:
        if (auto *ise = qobject_cast<TInterSpinEdit *>(control))
            text = Model::ValidDuration(ise->StringValue().trimmed()) ? ise->StringValue().trimmed()
                                                                       : QStringLiteral("0000:00");
        break;
    case Kind::Decimal:
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            text = edit->text();
        break;
    case Kind::RecordingFlag:
        text = m_state.RecordingRunning ? QStringLiteral("0") : QStringLiteral("1");
        break;
    case Kind::Span:
        if (auto *ise = qobject_cast<TInterSpinEdit *>(control))
            text = ise->StringValue();
        break;
    default:
        break;
    }
    if (slot == Model::FileSlot)
        field.FileText = text;
    else if (slot == Model::TelegramSlot)
        field.TelegramText = text;
}

double TForm1::ComputeMemoryStop(int mode)
{
    return m_recordingPage->ComputeMemoryStop(mode);
}
