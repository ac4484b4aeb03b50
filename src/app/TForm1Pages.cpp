// The window's pages and the handlers of their controls.
#include "app/DeviceViewPage.h"
#include "app/MemoryDataPage.h"
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormSens.h"
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
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *panel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(80);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    label->setAutoFillBackground(true);
    return label;
}

TTextSpin *textSpin(QWidget *parent, const char *name, const QStringList &items, bool limiter = false)
{
    auto *spin = named(new TTextSpin(parent), name);
    spin->setPosText(items);
    spin->setLimiter(limiter);
    spin->setMinimumSize(150, 30);
    return spin;
}

TInterSpinEdit *spinEdit(QWidget *parent, const char *name, bool duration = false)
{
    auto *ise = named(new TInterSpinEdit(parent), name);
    ise->setDurationTyp(duration);
    return ise;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *picker = named(new QDateEdit(parent), name);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    picker->setCalendarPopup(true);
    picker->setAutoFillBackground(true);
    return picker;
}

QGroupBox *group(const QString &title, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    new QGridLayout(box);
    return box;
}

QGridLayout *grid(QGroupBox *box)
{
    return static_cast<QGridLayout *>(box->layout());
}

} // namespace

void TForm1::buildMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction *load = file->addAction(QStringLiteral("Konfigurationsdatei &laden"), this, &TForm1::LoadConfigCommand);
    load->setObjectName(QStringLiteral("Konfigurationladen1"));
    load->setShortcut(Qt::Key_F2);
    QAction *save = file->addAction(QStringLiteral("Konfigurationsdatei &speichern"), this, &TForm1::SaveConfigCommand);
    save->setObjectName(QStringLiteral("Konfigurationspeichern1"));
    save->setShortcut(Qt::Key_F3);
    file->addAction(QStringLiteral("Programm b&eenden"), this, &QWidget::close)->setObjectName(QStringLiteral("Programmbeenden1"));

    QMenu *device = menuBar()->addMenu(QStringLiteral("&QT 8800"));
    device->setObjectName(QStringLiteral("QT88001"));
    QAction *read = device->addAction(QStringLiteral("Konfiguration aus QT 8800 lesen"), this, &TForm1::ReadConfigFromDevice);
    read->setObjectName(QStringLiteral("Einstellungenladen1"));
    read->setShortcut(Qt::Key_F5);
    QAction *write = device->addAction(QStringLiteral("Konfiguration zum QT 8800 übertragen"), this, &TForm1::WriteConfigToDevice);
    write->setObjectName(QStringLiteral("KonfigurationzumQT8800bertragen1"));
    write->setShortcut(Qt::Key_F6);

    QMenu *options = menuBar()->addMenu(QStringLiteral("&Optionen"));
    QAction *program = options->addAction(QStringLiteral("Programm &konfigurieren"), this,
                                          [this] { PageControl1->setCurrentWidget(TabProgram); });
    program->setObjectName(QStringLiteral("Programmkonfigurieren1"));
    program->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));

    QMenu *help = menuBar()->addMenu(QStringLiteral("?"));
    help->addAction(QStringLiteral("&Info"), this, &TForm1::showAbout)->setObjectName(QStringLiteral("Info1"));
}

void TForm1::buildBottomPanel(QWidget *central)
{
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->addWidget(PageControl1, 1);

    auto *bottom = new QWidget(central);
    bottom->setFixedHeight(44);
    auto *row = new QHBoxLayout(bottom);
    row->setContentsMargins(0, 4, 0, 4);
    btnLoadQTKonfig = named(new QPushButton(QStringLiteral("QT 8800  ---> PC  [F5]"), bottom), "btnLoadQTKonfig");
    btnSaveQTKonfig = named(new QPushButton(QStringLiteral("PC  ---> QT8800   [F6]"), bottom), "btnSaveQTKonfig");
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
    ledStatMem->setCaption(QStringLiteral("Speichern"));
    ledStatMem->setLedCol(Qt::red);
    ledStatMem->setChecked(true);
    ledStatMem->setMinimumWidth(100);
    ledStatMem->hide();
    btnEnd = named(new QPushButton(QStringLiteral("&Ende"), bottom), "btnEnd");
    row->addWidget(btnLoadQTKonfig);
    row->addWidget(btnSaveQTKonfig);
    row->addWidget(panInfo, 1);
    row->addWidget(ledStatMem);
    row->addWidget(btnEnd);
    layout->addWidget(bottom);

    m_status = named(new StatusLine(central), "stb1");
    layout->addWidget(m_status);

    connect(btnLoadQTKonfig, &QPushButton::clicked, this, &TForm1::ReadConfigFromDevice);
    connect(btnSaveQTKonfig, &QPushButton::clicked, this, &TForm1::WriteConfigToDevice);
    connect(btnEnd, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::buildTabConfig()
{
    TabConfig = named(new QWidget, "TabConfig");
    PageControl1->addTab(TabConfig, QStringLiteral("&Geräteeinstellung"));
    auto *page = new QGridLayout(TabConfig);

    QGroupBox *info = group(QStringLiteral("Gerätedaten"), TabConfig);
    lblSerNr = panel(info, "lblSerNr");
    lblVersion = panel(info, "lblVersion");
    lblTime = panel(info, "lblTime");
    grid(info)->addWidget(new QLabel(QStringLiteral("Seriennummer"), info), 0, 0);
    grid(info)->addWidget(lblSerNr, 0, 1);
    grid(info)->addWidget(new QLabel(QStringLiteral("Version"), info), 1, 0);
    grid(info)->addWidget(lblVersion, 1, 1);
    grid(info)->addWidget(new QLabel(QStringLiteral("Betriebsstunden"), info), 2, 0);
    grid(info)->addWidget(lblTime, 2, 1);

    QGroupBox *clock = group(QStringLiteral("Datum und Uhrzeit"), TabConfig);
    lblSysDate = panel(clock, "lblSysDate");
    lblSysTime = panel(clock, "lblSysTime");
    dtpQTDate = datePicker(clock, "dtpQTDate");
    iseQTTime = spinEdit(clock, "iseQTTime");
    btnSetDT = named(new QPushButton(QStringLiteral("Datum und Zeit zu QT 8800 übertragen"), clock), "btnSetDT");
    btnSyncDT = named(new QPushButton(QStringLiteral("Datum/Zeit mit System synchronisieren"), clock), "btnSyncDT");
    grid(clock)->addWidget(new QLabel(QStringLiteral("PC"), clock), 0, 0);
    grid(clock)->addWidget(lblSysDate, 0, 1);
    grid(clock)->addWidget(lblSysTime, 0, 2);
    grid(clock)->addWidget(new QLabel(QStringLiteral("QT 8800"), clock), 1, 0);
    grid(clock)->addWidget(dtpQTDate, 1, 1);
    grid(clock)->addWidget(iseQTTime, 1, 2);
    grid(clock)->addWidget(btnSetDT, 2, 0, 1, 3);
    grid(clock)->addWidget(btnSyncDT, 3, 0, 1, 3);

    QGroupBox *range = group(QStringLiteral("Messbereich in Ionen/cm³"), TabConfig);
    tsRange = textSpin(range, "tsRange",
                       {"Auto | clBlue | 0", "500 (0,5k) | clBlack | 1", "1.500 (1,5k)  | clBlack | 2",
                        "5.000 (5k)| clBlack | 3", "15.000 (15k)| clBlack | 4", "50.000 (50k)| clBlack | 5",
                        "150.000 (150k)| clBlack | 6", "500.000 (500k)| clBlack | 7",
                        "1.500.000 (1,5M) | clBlack | 8", "5.000.000 (5M)| clBlack | 9"});
    grid(range)->addWidget(tsRange, 0, 0);

    QGroupBox *pol = group(QStringLiteral("Ionenpolarität"), TabConfig);
    tsPol = textSpin(pol, "tsPol", {"Positiv | clBlack | 0", "Negativ | clBlue | 1"});
    tsPolAlter = textSpin(pol, "tsPolAlter", {"Keine Umschaltung|0|0", "Umschaltung aktiv|0|2"});
    isePolInter = spinEdit(pol, "isePolInter");
    grid(pol)->addWidget(tsPol, 0, 0, 1, 2);
    grid(pol)->addWidget(tsPolAlter, 1, 0, 1, 2);
    grid(pol)->addWidget(new QLabel(QStringLiteral("Intervall"), pol), 2, 0);
    grid(pol)->addWidget(isePolInter, 2, 1);

    QGroupBox *anaOut = group(QStringLiteral("Analogausgang"), TabConfig);
    tsAnaOut = textSpin(anaOut, "tsAnaOut", {"1 Volt DC | clBlue | 0", "2,5 Volt DC | clBlack | 1",
                                            "5 Volt DC | clBlack | 1", "10 Volt DC | clBlack | 1"}, true);
    grid(anaOut)->addWidget(tsAnaOut, 0, 0);

    QGroupBox *zero = group(QStringLiteral("Nullpunktabgleich"), TabConfig);
    tsZeroAtStart = textSpin(zero, "tsZeroAtStart", {"nur Manuell| clBlack | 0", "automatisch nach Start| clBlue | 1"});
    btnZero = named(new TBevel3D(zero), "btnZero");
    btnZero->setCaption(QStringLiteral("Nullpunktabgleich"));
    btnZero->setCaptEnable(true);
    btnZero->setButtonStyle(Widgets::TButtonStyle::tsPush);
    btnZero->setMinimumSize(150, 30);
    grid(zero)->addWidget(tsZeroAtStart, 0, 0);
    grid(zero)->addWidget(btnZero, 1, 0);

    QGroupBox *lang = group(QStringLiteral("Sprache Ionometer"), TabConfig);
    tsQTLanguage = textSpin(lang, "tsQTLanguage", {"Deutsch | clBlue | G ", "English | clBlack | E"});
    grid(lang)->addWidget(tsQTLanguage, 0, 0);

    page->addWidget(info, 0, 0);
    page->addWidget(clock, 1, 0, 2, 1);
    page->addWidget(range, 0, 1);
    page->addWidget(pol, 1, 1);
    page->addWidget(anaOut, 2, 1);
    page->addWidget(zero, 0, 2, 2, 1);
    page->addWidget(lang, 2, 2);
}

void TForm1::buildTabMeasureConfig()
{
    TabMeasureConfig = named(new QWidget, "TabMeasureConfig");
    PageControl1->addTab(TabMeasureConfig, QStringLiteral("Einstellungen &Messwertspeicher"));
    auto *page = new QGridLayout(TabMeasureConfig);

    QGroupBox *rec = group(QStringLiteral("Messdatenspeicherung"), TabMeasureConfig);
    dtpStartDate = datePicker(rec, "dtpStartDate");
    iseStartTime = spinEdit(rec, "iseStartTime");
    dtpStopDate = datePicker(rec, "dtpStopDate");
    iseStopTime = spinEdit(rec, "iseStopTime");
    iseDuration = spinEdit(rec, "iseDuration", true);
    tsStartMode = textSpin(rec, "tsStartMode", {"Start manuell|0|0", "Start nach Zeitvorwahl|1|1"});
    iseMeasInt = spinEdit(rec, "iseMeasInt");
    grid(rec)->addWidget(new QLabel(QStringLiteral("Start"), rec), 0, 0);
    grid(rec)->addWidget(dtpStartDate, 0, 1);
    grid(rec)->addWidget(iseStartTime, 0, 2);
    grid(rec)->addWidget(new QLabel(QStringLiteral("Ende"), rec), 1, 0);
    grid(rec)->addWidget(dtpStopDate, 1, 1);
    grid(rec)->addWidget(iseStopTime, 1, 2);
    grid(rec)->addWidget(new QLabel(QStringLiteral("Dauer (h:min)"), rec), 2, 0);
    grid(rec)->addWidget(iseDuration, 2, 1);
    grid(rec)->addWidget(tsStartMode, 3, 0, 1, 3);
    grid(rec)->addWidget(new QLabel(QStringLiteral("Speicherintervall"), rec), 4, 0);
    grid(rec)->addWidget(iseMeasInt, 4, 1);

    QGroupBox *memEnd = group(QStringLiteral("Verhalten bei Speicherende"), TabMeasureConfig);
    tsMemEnd = textSpin(memEnd, "tsMemEnd", {"Stop|clRed|0", "Überschreiben|clRed|1"});
    grid(memEnd)->addWidget(tsMemEnd, 0, 0);

    QGroupBox *clear = group(QStringLiteral("Messwertspeicher löschen"), TabMeasureConfig);
    lblMemUse = panel(clear, "lblMemUse");
    lblMemUse->setMinimumWidth(50);
    btnInfo1 = named(new QPushButton(QStringLiteral("?"), clear), "btnInfo1");
    btnInfo1->setAccessibleName(Lang::Text(Lang::TxNameQueryMemoryUse));
    btnMemClear = named(new TArrowBtn(clear), "btnMemClear");
    btnMemClear->setShape(Widgets::TArrowShape::taSquare);
    btnMemClear->setColorUp(Qt::red);
    btnMemClear->setColorDown(Qt::red);
    btnMemClear->setFixedSize(40, 40);
    grid(clear)->addWidget(lblMemUse, 0, 0);
    grid(clear)->addWidget(new QLabel(QStringLiteral("%"), clear), 0, 1);
    grid(clear)->addWidget(btnInfo1, 0, 2);
    grid(clear)->addWidget(btnMemClear, 0, 3);

    QGroupBox *out = group(QStringLiteral("Ausgabe Messwerte"), TabMeasureConfig);
    tsOutMeas = textSpin(out, "tsOutMeas", {"Speicher|2|2", "Speicher und RS232|3|3", "RS232|1|1"});
    grid(out)->addWidget(tsOutMeas, 0, 0);

    QGroupBox *anaIn = group(QStringLiteral("Analogeingang"), TabMeasureConfig);
    tsAnaIn = textSpin(anaIn, "tsAnaIn", {"Ausgeschaltet|clRed|0", "Eingeschaltet|clRed|1"});
    grid(anaIn)->addWidget(tsAnaIn, 0, 0);

    QGroupBox *scale = group(QStringLiteral("Bezeichnung und Skalierung Analogeingang"), TabMeasureConfig);
    auto edit = [&](const char *name, const char *text) {
        auto *e = named(new QLineEdit(QString::fromUtf8(text), scale), name);
        e->setAutoFillBackground(true);
        return e;
    };
    txtAnaName = edit("txtAnaName", "Extern");
    txtAnaUnit = edit("txtAnaUnit", "Volt");
    txtAnaValZero = edit("txtAnaValZero", "0");
    txtAnaVal10 = edit("txtAnaVal10", "10");
    txtScaleZero = edit("txtScaleZero", "0");
    txtScaleEnd = edit("txtScaleEnd", "10");
    txtScaleParts = edit("txtScaleParts", "10");
    txtValueScaleZero = edit("txtValueScaleZero", "0");
    txtValueScaleEnd = edit("txtValueScaleEnd", "10");
    const std::pair<const char *, QLineEdit *> rows[] = {
        {"Name", txtAnaName}, {"Einheit", txtAnaUnit}, {"Wert bei 0 V", txtAnaValZero}, {"Wert bei +10 V", txtAnaVal10},
        {"Skala Anfang", txtScaleZero}, {"Skala Ende", txtScaleEnd}, {"Skalenteilung", txtScaleParts},
        {"Wert Skalenanfang", txtValueScaleZero}, {"Wert Skalenende", txtValueScaleEnd}};
    int r = 0;
    for (const auto &[caption, e] : rows) {
        grid(scale)->addWidget(new QLabel(QString::fromUtf8(caption), scale), r % 5, (r / 5) * 2);
        grid(scale)->addWidget(e, r % 5, (r / 5) * 2 + 1);
        ++r;
    }

    QGroupBox *manual = group(QStringLiteral("Manuelle Speicherung"), TabMeasureConfig);
    btnStart = named(new TArrowBtn(manual), "btnStart");
    btnStart->setButtonMode(Widgets::TButtonMode::tbmPushPull);
    btnStart->setColorUp(Qt::red);
    btnStart->setColorDown(Qt::yellow);
    btnStart->setFixedSize(40, 40);
    grid(manual)->addWidget(btnStart, 0, 0);

    page->addWidget(rec, 0, 0, 2, 1);
    page->addWidget(memEnd, 0, 1);
    page->addWidget(clear, 1, 1);
    page->addWidget(out, 0, 2);
    page->addWidget(anaIn, 1, 2);
    page->addWidget(scale, 2, 0, 1, 2);
    page->addWidget(manual, 2, 2);
}

void TForm1::buildTabMemoryData()
{
    m_reader = std::make_unique<Measure::MemoryReader>(*m_engine);
    MemoryDialogs dialogs;
    dialogs.chooseFile = m_options.chooseFile;
    // what a read takes from the settings and the configuration page, at the moment it starts
    auto readOptions = [this] {
        Measure::ReadOptions o;
        o.formats.dateFormat = m_dateFormat;
        o.formats.timeFormat = QStringLiteral("HH'%1'mm'%1'ss").arg(m_timeSep);
        o.formats.decimalSep = m_decimalSep;
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
    TabMemoryData = m_memoryPage;
    PageControl1->addTab(TabMemoryData, Lang::Text(Lang::TxPageTab));
    cboAnaScale = m_memoryPage->cboAnaScale;
    cboTwoCol = m_memoryPage->cboTwoCol;
    cboAlarmNotValid = m_memoryPage->cboAlarmNotValid;
}

void TForm1::buildTabInfo()
{
    m_formSens = std::make_unique<TFormSens>();
    m_formSens->setOnHidden([this] { m_reader->CancelRead(); });
    DeviceViewPage::Links links{*m_engine, m_tables.Status, m_state, tsPol, tsRange, m_formSens.get(),
                                [this] {
                                    return AnalogInputTexts{txtAnaName->text(), txtAnaUnit->text(),
                                                            txtAnaValZero->text(), txtAnaVal10->text(),
                                                            txtScaleZero->text(), txtScaleEnd->text(),
                                                            txtScaleParts->text(), txtValueScaleZero->text(),
                                                            txtValueScaleEnd->text()};
                                },
                                [this] { return m_decimalSep; }};
    m_devicePage = new DeviceViewPage(std::move(links));
    TabInfo = m_devicePage;
    PageControl1->addTab(TabInfo, Lang::Text(Lang::TxTabInfo));
    lblRange = m_devicePage->lblRange;
    lblPol = m_devicePage->lblPol;
    lblAlarm = m_devicePage->lblAlarm;
    ledAlarm = m_devicePage->ledAlarm;
    panAnalog = m_devicePage->panAnalog;
    connect(m_devicePage, &DeviceViewPage::liveUpdateChanged, this, [this](bool on) { DeviceViewActive = on; });
    connect(m_devicePage, &DeviceViewPage::analogHeightChanged, this,
            [this](int height) { m_param.AnalogPanelHeight = height; });
    connect(m_formSens.get(), &TFormSens::cycleViews, m_devicePage, &DeviceViewPage::CycleDeviceViews);
}

void TForm1::buildTabProgram()
{
    TabProgram = named(new QWidget, "TabProgram");
    PageControl1->addTab(TabProgram, QStringLiteral("&Programmeinstellung"));
    auto *page = new QGridLayout(TabProgram);

    QGroupBox *port = group(QStringLiteral("Serieller Schnittstellenport"), TabProgram);
    tsComPort = textSpin(port, "tsComPort", {"COM1| clBlack|0", "COM2| clBlack|1", "COM3| clBlack|1", "COM4| clBlack|1",
                                             "COM5| clBlack|1", "COM6| clBlack|1", "COM7| clBlack|1", "COM8| clBlack|1"}, true);
    grid(port)->addWidget(tsComPort, 0, 0);
    QGroupBox *baud = group(QStringLiteral("Baudrate"), TabProgram);
    tsBaud = textSpin(baud, "tsBaud", {" 4800| clBlack|4800", " 9600| clBlack|9600", "19200| clBlack|19200",
                                       "38400| clBlack|38400"}, true);
    tsBaud->setToolTip(Lang::Text(Lang::TxBaudHint));
    grid(baud)->addWidget(tsBaud, 0, 0);
    QGroupBox *sep = group(QStringLiteral("Dezimaltrennzeichen"), TabProgram);
    tsDecimalSep = textSpin(sep, "tsDecimalSep", {"Punkt (.)| clBlack|0", "Komma (,)| clBlack|1"});
    grid(sep)->addWidget(tsDecimalSep, 0, 0);
    QGroupBox *lang = group(QStringLiteral("Programmsprache"), TabProgram);
    tsProgLang = textSpin(lang, "tsProgLang", {});
    grid(lang)->addWidget(tsProgLang, 0, 0);

    QGroupBox *paths = group(QStringLiteral("Verzeichnis- und Dateinamen"), TabProgram);
    auto pathRow = [&](int row, const char *caption, const char *editName, const char *buttonName, QLineEdit *&edit,
                       QPushButton *&button, Lang::TextId buttonRole) {
        edit = named(new QLineEdit(paths), editName);
        button = named(new QPushButton(QStringLiteral("..."), paths), buttonName);
        button->setFixedWidth(30);
        button->setAccessibleName(Lang::Text(buttonRole));
        grid(paths)->addWidget(new QLabel(QString::fromUtf8(caption), paths), row, 0);
        grid(paths)->addWidget(edit, row, 1);
        grid(paths)->addWidget(button, row, 2);
    };
    pathRow(0, "Messdaten", "txtMPath", "btnMPath", txtMPath, btnMPath, Lang::TxNameChooseMeasureDir);
    pathRow(1, "Vorlagendatei", "txtExcelDat", "btnExcelDat", txtExcelDat, btnExcelDat, Lang::TxNameChooseTemplate);
    pathRow(2, "Konfigurationen", "txtQTPath", "btnQTPath", txtQTPath, btnQTPath, Lang::TxNameChooseConfigDir);
    pathRow(3, "Protokolle", "txtDebugPath", "btnDebugPath", txtDebugPath, btnDebugPath, Lang::TxNameChooseLogDir);

    QGroupBox *opts = group(QStringLiteral("Programmoptionen"), TabProgram);
    auto check = [&](const char *name, const char *caption) {
        return named(new QCheckBox(QString::fromUtf8(caption), opts), name);
    };
    cboSaveConfig = check("cboSaveConfig", "Einstellungen bei Programmende merken und bei Programmstart laden");
    cboReadAtStart = check("cboReadAtStart", "Konfiguration aus QT 8800 bei Programmstart lesen");
    cboPrompt = check("cboPrompt", "Konfigurationsänderungen sofort im QT 8800 durchführen");
    cboQTTime = check("cboQTTime", "Status, Datum und Uhrzeit aus QT 8800 zyklisch lesen, alle:");
    txtRefInter = named(new QLineEdit(opts), "txtRefInter");
    txtRefInter->setFixedWidth(60);
    txtRefInter->setAutoFillBackground(true);
    cbBeep = check("cbBeep", "Ton bei Fehlermeldungen");
    cboDebug = check("cboDebug", "Datenverkehr von und zu QT 8800 protokollieren ");
    txtMeasRefInter = named(new QLineEdit(opts), "txtMeasRefInter");
    txtMeasRefInter->setFixedWidth(60);
    cbAskArProgrammClose = check("cbAskArProgrammClose", "Nachfrage bei Programmende");
    auto *o = grid(opts);
    o->addWidget(cboSaveConfig, 0, 0, 1, 3);
    o->addWidget(cboReadAtStart, 1, 0, 1, 3);
    o->addWidget(cboPrompt, 2, 0, 1, 3);
    o->addWidget(cboQTTime, 3, 0);
    o->addWidget(txtRefInter, 3, 1);
    o->addWidget(new QLabel(QStringLiteral("Sekunden"), opts), 3, 2);
    o->addWidget(cbBeep, 4, 0, 1, 3);
    o->addWidget(cboDebug, 5, 0, 1, 3);
    o->addWidget(new QLabel(QStringLiteral("Messwertabfrage in Geräteansicht alle:"), opts), 6, 0);
    o->addWidget(txtMeasRefInter, 6, 1);
    o->addWidget(new QLabel(QStringLiteral("Sekunden"), opts), 6, 2);
    o->addWidget(cbAskArProgrammClose, 7, 0, 1, 3);

    page->addWidget(port, 0, 0);
    page->addWidget(baud, 0, 1);
    page->addWidget(sep, 1, 0);
    page->addWidget(lang, 1, 1);
    page->addWidget(paths, 2, 0, 1, 2);
    page->addWidget(opts, 0, 2, 3, 1);
}
