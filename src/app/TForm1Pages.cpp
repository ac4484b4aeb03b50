// The window's pages and the handlers of their controls.
#include "app/DeviceViewPage.h"
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

namespace {

using namespace Lang;

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

TTextSpin *textSpin(TextBindings &texts, QWidget *parent, const char *name, TextId firstItem, TextId hint,
                    bool limiter = false)
{
    auto *spin = named(new TTextSpin(parent), name);
    texts.items(spin, firstItem);
    texts.hint(spin, hint);
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

QGroupBox *group(TextBindings &texts, QWidget *parent, const char *name, TextId caption)
{
    auto *box = named(new QGroupBox(parent), name);
    texts.caption(box, caption);
    new QGridLayout(box);
    return box;
}

QGridLayout *grid(QGroupBox *box)
{
    return static_cast<QGridLayout *>(box->layout());
}

// a caption label; the control it names takes it as its name for assistive technology
QLabel *caption(TextBindings &texts, QWidget *parent, const char *name, TextId id, QWidget *buddy = nullptr)
{
    auto *label = named(new QLabel(parent), name);
    texts.caption(label, id);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

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
    layout->setContentsMargins(10, 0, 10, 0);
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

    m_status = named(new StatusLine(central), "stb1");
    layout->addWidget(m_status);

    connect(btnLoadQTKonfig, &QPushButton::clicked, this, &TForm1::ReadConfigFromDevice);
    connect(btnSaveQTKonfig, &QPushButton::clicked, this, &TForm1::WriteConfigToDevice);
    connect(btnEnd, &QPushButton::clicked, this, &QWidget::close);
}

void TForm1::buildTabConfig()
{
    TextBindings &t = m_texts;
    TabConfig = named(new QWidget, "TabConfig");
    PageControl1->addTab(TabConfig, QString());
    t.page(PageControl1, TabConfig, TxCapTabConfig);
    auto *page = new QGridLayout(TabConfig);

    QGroupBox *info = group(t, TabConfig, "gbDevice", TxCapGbDevice);
    lblSerNr = panel(info, "lblSerNr");
    lblVersion = panel(info, "lblVersion");
    lblTime = panel(info, "lblTime");
    grid(info)->addWidget(caption(t, info, "lblSerialNr", TxCapLblSerialNr, lblSerNr), 0, 0);
    grid(info)->addWidget(lblSerNr, 0, 1);
    grid(info)->addWidget(caption(t, info, "lblFirmwareVesrion", TxCapLblFirmwareVesrion, lblVersion), 1, 0);
    grid(info)->addWidget(lblVersion, 1, 1);
    grid(info)->addWidget(caption(t, info, "lblTimeCount", TxCapLblTimeCount, lblTime), 2, 0);
    grid(info)->addWidget(lblTime, 2, 1);
    t.hint(lblSerNr, TxHintLblSerNr);
    t.hint(lblVersion, TxHintLblVersion);
    t.hint(lblTime, TxHintLblTime);

    // each caption above its value: the page stays narrow enough for the window's default size
    QGroupBox *clock = group(t, TabConfig, "gbDate", TxCapGbDate);
    lblSysDate = panel(clock, "lblSysDate");
    lblSysTime = panel(clock, "lblSysTime");
    dtpQTDate = datePicker(clock, "dtpQTDate");
    iseQTTime = spinEdit(clock, "iseQTTime");
    btnSetDT = named(new QPushButton(clock), "btnSetDT");
    btnSyncDT = named(new QPushButton(clock), "btnSyncDT");
    t.caption(btnSetDT, TxCapBtnSetDT);
    t.caption(btnSyncDT, TxCapBtnSyncDT);
    QGridLayout *c = grid(clock);
    c->setVerticalSpacing(2);
    c->addWidget(caption(t, clock, "lblSystemDate", TxCapLblSystemDate, lblSysDate), 0, 0);
    c->addWidget(caption(t, clock, "lblSystemTime", TxCapLblSystemTime, lblSysTime), 0, 1);
    c->addWidget(lblSysDate, 1, 0);
    c->addWidget(lblSysTime, 1, 1);
    c->addWidget(caption(t, clock, "lblQTDate", TxCapLblQTDate, dtpQTDate), 2, 0);
    c->addWidget(caption(t, clock, "lblQTTime", TxCapLblQTTime, iseQTTime), 2, 1);
    c->addWidget(dtpQTDate, 3, 0);
    c->addWidget(iseQTTime, 3, 1);
    c->addWidget(btnSetDT, 4, 0, 1, 2);
    c->addWidget(btnSyncDT, 5, 0, 1, 2);
    t.hint(lblSysDate, TxHintLblSysDate);
    t.hint(lblSysTime, TxHintLblSysTime);
    t.hint(dtpQTDate, TxHintDtpQTDate);
    t.hint(btnSyncDT, TxHintBtnSyncDT);
    t.hint(btnSetDT, TxHintBtnSetDT);

    QGroupBox *range = group(t, TabConfig, "gbRange", TxCapGbRange);
    tsRange = textSpin(t, range, "tsRange", TxItemsTsRange, TxHintTsRange);
    grid(range)->addWidget(tsRange, 0, 0);

    QGroupBox *pol = group(t, TabConfig, "gbPolarity", TxCapGbPolarity);
    tsPol = textSpin(t, pol, "tsPol", TxItemsTsPol, TxHintTsPol);
    tsPolAlter = textSpin(t, pol, "tsPolAlter", TxItemsTsPolAlter, TxHintTsPolAlter);
    isePolInter = spinEdit(pol, "isePolInter");
    t.hint(isePolInter, TxHintIsePolInter);
    grid(pol)->addWidget(tsPol, 0, 0, 1, 2);
    grid(pol)->addWidget(caption(t, pol, "lblAlterPol", TxCapLblAlterPol, tsPolAlter), 1, 0, 1, 2);
    grid(pol)->addWidget(tsPolAlter, 2, 0, 1, 2);
    grid(pol)->addWidget(caption(t, pol, "lblPolInter", TxCapLblPolInter, isePolInter), 3, 0);
    grid(pol)->addWidget(isePolInter, 3, 1);

    QGroupBox *anaOut = group(t, TabConfig, "gbAnaOut", TxCapGbAnaOut);
    tsAnaOut = textSpin(t, anaOut, "tsAnaOut", TxItemsTsAnaOut, TxHintTsAnaOut, true);
    grid(anaOut)->addWidget(tsAnaOut, 0, 0);

    QGroupBox *zero = group(t, TabConfig, "gbZero", TxCapGbZero);
    tsZeroAtStart = textSpin(t, zero, "tsZeroAtStart", TxItemsTsZeroAtStart, TxHintTsZeroAtStart);
    btnZero = named(new TBevel3D(zero), "btnZero");
    t.caption(btnZero, TxCapBtnZero);
    t.hint(btnZero, TxHintBtnZero);
    btnZero->setCaptEnable(true);
    btnZero->setButtonStyle(Widgets::TButtonStyle::tsPush);
    btnZero->setMinimumSize(150, 30);
    grid(zero)->addWidget(tsZeroAtStart, 0, 0);
    grid(zero)->addWidget(btnZero, 1, 0);

    QGroupBox *lang = group(t, TabConfig, "gbQTLang", TxCapGbQTLang);
    tsQTLanguage = textSpin(t, lang, "tsQTLanguage", TxItemsTsQTLanguage, TxHintTsQTLanguage);
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
    TextBindings &t = m_texts;
    TabMeasureConfig = named(new QWidget, "TabMeasureConfig");
    PageControl1->addTab(TabMeasureConfig, QString());
    t.page(PageControl1, TabMeasureConfig, TxCapTabMeasureConfig);
    auto *page = new QGridLayout(TabMeasureConfig);

    QGroupBox *rec = group(t, TabMeasureConfig, "gbMem", TxCapGbMem);
    dtpStartDate = datePicker(rec, "dtpStartDate");
    iseStartTime = spinEdit(rec, "iseStartTime");
    dtpStopDate = datePicker(rec, "dtpStopDate");
    iseStopTime = spinEdit(rec, "iseStopTime");
    iseDuration = spinEdit(rec, "iseDuration", true);
    tsStartMode = textSpin(t, rec, "tsStartMode", TxItemsTsStartMode, TxHintTsStartMode);
    iseMeasInt = spinEdit(rec, "iseMeasInt");
    QGridLayout *r = grid(rec);
    r->setVerticalSpacing(2);
    r->addWidget(caption(t, rec, "lblStartDate", TxCapLblStartDate, dtpStartDate), 0, 0);
    r->addWidget(caption(t, rec, "lblStartTime", TxCapLblStartTime, iseStartTime), 0, 1);
    r->addWidget(dtpStartDate, 1, 0);
    r->addWidget(iseStartTime, 1, 1);
    r->addWidget(caption(t, rec, "lblEndDate", TxCapLblEndDate, dtpStopDate), 2, 0);
    r->addWidget(caption(t, rec, "lblEndTime", TxCapLblEndTime, iseStopTime), 2, 1);
    r->addWidget(dtpStopDate, 3, 0);
    r->addWidget(iseStopTime, 3, 1);
    r->addWidget(caption(t, rec, "lblDuration", TxCapLblDuration, iseDuration), 4, 0);
    r->addWidget(iseDuration, 4, 1);
    r->addWidget(caption(t, rec, "lblStartMode", TxCapLblStartMode, tsStartMode), 5, 0, 1, 2);
    r->addWidget(tsStartMode, 6, 0, 1, 2);
    r->addWidget(caption(t, rec, "lblMeasInt", TxCapLblMeasInt, iseMeasInt), 7, 0);
    r->addWidget(iseMeasInt, 7, 1);
    t.hint(dtpStartDate, TxHintDtpStartDate);
    t.hint(iseStartTime, TxHintIseStartTime);
    t.hint(dtpStopDate, TxHintDtpStopDate);
    t.hint(iseStopTime, TxHintIseStopTime);
    t.hint(iseDuration, TxHintIseDuration);
    t.hint(iseMeasInt, TxHintIseMeasInt);

    QGroupBox *memEnd = group(t, TabMeasureConfig, "gbEndMem", TxCapGbEndMem);
    tsMemEnd = textSpin(t, memEnd, "tsMemEnd", TxItemsTsMemEnd, TxHintTsMemEnd);
    grid(memEnd)->addWidget(tsMemEnd, 0, 0);

    QGroupBox *clear = group(t, TabMeasureConfig, "gbMemClear", TxCapGbMemClear);
    lblMemUse = panel(clear, "lblMemUse");
    lblMemUse->setMinimumWidth(50);
    btnInfo1 = named(new QPushButton(QStringLiteral("?"), clear), "btnInfo1");
    btnInfo1->setAccessibleName(Lang::Text(Lang::TxNameQueryMemoryUse));
    btnMemClear = named(new TArrowBtn(clear), "btnMemClear");
    btnMemClear->setShape(Widgets::TArrowShape::taSquare);
    btnMemClear->setColorUp(Qt::red);
    btnMemClear->setColorDown(Qt::red);
    btnMemClear->setFixedSize(40, 40);
    QGridLayout *m = grid(clear);
    m->addWidget(caption(t, clear, "lblMemoryUse", TxCapLblMemoryUse, lblMemUse), 0, 0);
    m->addWidget(lblMemUse, 0, 1);
    m->addWidget(new QLabel(QStringLiteral("%"), clear), 0, 2);
    m->addWidget(btnInfo1, 0, 3);
    m->addWidget(btnMemClear, 1, 0, 2, 1);
    m->addWidget(caption(t, clear, "lblMemory", TxCapLblMemory), 1, 1, 1, 3);
    m->addWidget(caption(t, clear, "lblClear", TxCapLblClear), 2, 1, 1, 3);
    t.hint(lblMemUse, TxHintLblMemUse);
    t.hint(btnInfo1, TxHintBtnInfo1);
    t.hint(btnMemClear, TxHintBtnMemClear);

    QGroupBox *out = group(t, TabMeasureConfig, "gbOut", TxCapGbOut);
    tsOutMeas = textSpin(t, out, "tsOutMeas", TxItemsTsOutMeas, TxHintTsOutMeas);
    grid(out)->addWidget(tsOutMeas, 0, 0);

    QGroupBox *anaIn = group(t, TabMeasureConfig, "gbAnaIn", TxCapGbAnaIn);
    tsAnaIn = textSpin(t, anaIn, "tsAnaIn", TxItemsTsAnaIn, TxHintTsAnaIn);
    grid(anaIn)->addWidget(tsAnaIn, 0, 0);

    QGroupBox *scale = group(t, TabMeasureConfig, "gbAnalogInput", TxCapGbAnalogInput);
    // the default name and unit are values the instrument's files carry, not captions
    auto edit = [&](const char *name, const QString &value, TextId hint) {
        auto *e = named(new QLineEdit(value, scale), name);
        e->setAutoFillBackground(true);
        t.hint(e, hint);
        return e;
    };
    txtAnaName = edit("txtAnaName", QStringLiteral("Extern"), TxHintTxtAnaName);
    txtAnaUnit = edit("txtAnaUnit", QStringLiteral("Volt"), TxHintTxtAnaUnit);
    txtAnaValZero = edit("txtAnaValZero", QStringLiteral("0"), TxHintTxtAnaValZero);
    txtAnaVal10 = edit("txtAnaVal10", QStringLiteral("10"), TxHintTxtAnaVal10);
    txtScaleZero = edit("txtScaleZero", QStringLiteral("0"), TxHintTxtScaleZero);
    txtScaleEnd = edit("txtScaleEnd", QStringLiteral("10"), TxHintTxtScaleEnd);
    txtScaleParts = edit("txtScaleParts", QStringLiteral("10"), TxHintTxtScaleParts);
    txtValueScaleZero = edit("txtValueScaleZero", QStringLiteral("0"), TxHintTxtValueScaleZero);
    txtValueScaleEnd = edit("txtValueScaleEnd", QStringLiteral("10"), TxHintTxtValueScaleEnd);
    const std::tuple<const char *, TextId, QLineEdit *> rows[] = {
        {"lblExtLabel", TxCapLblExtLabel, txtAnaName},
        {"lblExtUnit", TxCapLblExtUnit, txtAnaUnit},
        {"lblExtZero", TxCapLblExtZero, txtAnaValZero},
        {"lblExtTen", TxCapLblExtTen, txtAnaVal10},
        {"lblExtScaleBegin", TxCapLblExtScaleBegin, txtScaleZero},
        {"lblExtScaleEnd", TxCapLblExtScaleEnd, txtScaleEnd},
        {"lblExtScaleParts", TxCapLblExtScaleParts, txtScaleParts},
        {"lblExtValueBegin", TxCapLblExtValueBegin, txtValueScaleZero},
        {"lblExtScaleValueEnd", TxCapLblExtScaleValueEnd, txtValueScaleEnd}};
    // the input's name and conversion on the left, the device view's scale on the right
    int n = 0;
    for (const auto &[name, id, e] : rows) {
        const int row = n < 4 ? n : n - 4, column = n < 4 ? 0 : 2;
        grid(scale)->addWidget(caption(t, scale, name, id, e), row, column);
        grid(scale)->addWidget(e, row, column + 1);
        ++n;
    }

    QGroupBox *manual = group(t, TabMeasureConfig, "gbManMem", TxCapGbManMem);
    btnStart = named(new TArrowBtn(manual), "btnStart");
    btnStart->setButtonMode(Widgets::TButtonMode::tbmPushPull);
    btnStart->setColorUp(Qt::red);
    btnStart->setColorDown(Qt::yellow);
    btnStart->setFixedSize(40, 40);
    t.hint(btnStart, TxHintBtnStart);
    grid(manual)->addWidget(btnStart, 0, 0);
    grid(manual)->addWidget(caption(t, manual, "lblStartStop", TxCapLblStartStop), 0, 1);

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
    TextBindings &t = m_texts;
    TabProgram = named(new QWidget, "TabProgram");
    PageControl1->addTab(TabProgram, QString());
    t.page(PageControl1, TabProgram, TxCapTabProgram);
    auto *page = new QGridLayout(TabProgram);

    QGroupBox *port = group(t, TabProgram, "gbPort", TxCapGbPort);
    tsComPort = textSpin(t, port, "tsComPort", TxItemsTsComPort, TxHintTsComPort, true);
    grid(port)->addWidget(tsComPort, 0, 0);
    QGroupBox *baud = group(t, TabProgram, "gbBaud", TxCapGbBaud);
    tsBaud = textSpin(t, baud, "tsBaud", TxItemsTsBaud, TxHintTsBaud, true);
    grid(baud)->addWidget(tsBaud, 0, 0);
    QGroupBox *sep = group(t, TabProgram, "gbDecimalSep", TxCapGbDecimalSep);
    tsDecimalSep = textSpin(t, sep, "tsDecimalSep", TxItemsTsDecimalSep, TxHintTsDecimalSep);
    grid(sep)->addWidget(tsDecimalSep, 0, 0);
    // the language list is built once at creation, each language under its own name
    QGroupBox *lang = group(t, TabProgram, "gbProgLang", TxCapGbProgLang);
    tsProgLang = named(new TTextSpin(lang), "tsProgLang");
    tsProgLang->setMinimumSize(150, 30);
    t.hint(tsProgLang, TxHintTsProgLang);
    grid(lang)->addWidget(tsProgLang, 0, 0);

    QGroupBox *paths = group(t, TabProgram, "gbMPath", TxCapGbMPath);
    auto pathRow = [&](int row, const char *labelName, TextId label, const char *editName, TextId editHint,
                       const char *buttonName, TextId buttonHint, QLineEdit *&edit, QPushButton *&button) {
        edit = named(new QLineEdit(paths), editName);
        button = named(new QPushButton(QStringLiteral("..."), paths), buttonName);
        button->setFixedWidth(30);
        t.hint(edit, editHint);
        t.hint(button, buttonHint);
        grid(paths)->addWidget(caption(t, paths, labelName, label, edit), row, 0);
        grid(paths)->addWidget(edit, row, 1);
        grid(paths)->addWidget(button, row, 2);
    };
    pathRow(0, "lblMeasPath", TxCapLblMeasPath, "txtMPath", TxHintTxtMPath, "btnMPath", TxHintBtnMPath, txtMPath,
            btnMPath);
    pathRow(1, "lblEXCELDat", TxCapLblEXCELDat, "txtExcelDat", TxHintTxtExcelDat, "btnExcelDat", TxHintBtnExcelDat,
            txtExcelDat, btnExcelDat);
    pathRow(2, "lblKonfPath", TxCapLblKonfPath, "txtQTPath", TxHintTxtQTPath, "btnQTPath", TxHintBtnQTPath, txtQTPath,
            btnQTPath);
    pathRow(3, "lblDebugPath", TxCapLblDebugPath, "txtDebugPath", TxHintTxtDebugPath, "btnDebugPath",
            TxHintBtnDebugPath, txtDebugPath, btnDebugPath);
    // "..." says nothing to a screen reader: each is named for what it chooses
    addPageTexts([this] {
        btnMPath->setAccessibleName(Lang::Text(TxNameChooseMeasureDir));
        btnExcelDat->setAccessibleName(Lang::Text(TxNameChooseTemplate));
        btnQTPath->setAccessibleName(Lang::Text(TxNameChooseConfigDir));
        btnDebugPath->setAccessibleName(Lang::Text(TxNameChooseLogDir));
        btnInfo1->setAccessibleName(Lang::Text(TxNameQueryMemoryUse));
    });

    QGroupBox *opts = group(t, TabProgram, "gbProgOptions", TxCapGbProgOptions);
    auto check = [&](const char *name, TextId id) {
        auto *box = named(new QCheckBox(opts), name);
        t.caption(box, id);
        return box;
    };
    cboSaveConfig = check("cboSaveConfig", TxCapCboSaveConfig);
    cboReadAtStart = check("cboReadAtStart", TxCapCboReadAtStart);
    cboPrompt = check("cboPrompt", TxCapCboPrompt);
    cboQTTime = check("cboQTTime", TxCapCboQTTime);
    txtRefInter = named(new QLineEdit(opts), "txtRefInter");
    txtRefInter->setFixedWidth(60);
    txtRefInter->setAutoFillBackground(true);
    cbBeep = check("cbBeep", TxCapCbBeep);
    cboDebug = check("cboDebug", TxCapCboDebug);
    txtMeasRefInter = named(new QLineEdit(opts), "txtMeasRefInter");
    txtMeasRefInter->setFixedWidth(60);
    cbAskArProgrammClose = check("cbAskArProgrammClose", TxCapCbAskArProgrammClose);
    auto *o = grid(opts);
    o->addWidget(cboSaveConfig, 0, 0, 1, 3);
    o->addWidget(cboReadAtStart, 1, 0, 1, 3);
    o->addWidget(cboPrompt, 2, 0, 1, 3);
    o->addWidget(cboQTTime, 3, 0);
    o->addWidget(txtRefInter, 3, 1);
    o->addWidget(caption(t, opts, "lblSeconds", TxCapLblSeconds), 3, 2);
    o->addWidget(cbBeep, 4, 0, 1, 3);
    o->addWidget(cboDebug, 5, 0, 1, 3);
    o->addWidget(caption(t, opts, "lblMeasRefresh", TxCapLblMeasRefresh, txtMeasRefInter), 6, 0);
    o->addWidget(txtMeasRefInter, 6, 1);
    o->addWidget(caption(t, opts, "lblSeconds2", TxCapLblSeconds2), 6, 2);
    o->addWidget(cbAskArProgrammClose, 7, 0, 1, 3);

    page->addWidget(port, 0, 0);
    page->addWidget(baud, 0, 1);
    page->addWidget(sep, 1, 0);
    page->addWidget(lang, 1, 1);
    page->addWidget(paths, 2, 0, 1, 2);
    page->addWidget(opts, 0, 2, 3, 1);
}
