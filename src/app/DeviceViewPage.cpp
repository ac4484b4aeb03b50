#include "app/DeviceViewPage.h"

#include "app/ConfigurationPage.h"
#include "app/TFormSens.h"
#include "lang/Texts.h"
#include "link/ProtocolEngine.h"
#include "link/TelegramTables.h"
#include "measure/RecordParsing.h"
#include "model/StatusTables.h"
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/TMeterPanelH.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"

#include <QEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QPainter>
#include <QPainterPath>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSilver(192, 192, 192);
const QColor kNavy(0, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kOlive(128, 128, 0);
const QColor kLightBlue(128, 128, 255);
// the round meter's face: a warm off-white, so the white colour zones still show on it
const QColor kDialFace(228, 222, 196);
constexpr int kDisplayPixels = 18; // the display window's font, as large as the alarm texts allow

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QWidget *panel(QWidget *parent, const char *name, const QColor &colour)
{
    auto *w = named(new QWidget(parent), name);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
    return w;
}

QFont arial(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// the font, made smaller a pixel at a time until the widest of the texts fits the width
QFont fitPixelSize(QFont font, const QStringList &texts, int width)
{
    auto widest = [&] {
        const QFontMetrics fm(font);
        int w = 0;
        for (const QString &text : texts)
            w = std::max(w, fm.horizontalAdvance(text));
        return w;
    };
    while (font.pixelSize() > 8 && widest() > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QLabel *label(QWidget *parent, const char *name, const QFont &font, const QColor &colour)
{
    auto *l = named(new QLabel(parent), name);
    l->setFont(font);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

// labels are relaid out on every setText; live values repeat themselves most of the time
void setTextIfChanged(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

DeviceViewPage::DeviceViewPage(Links links, QWidget *parent)
    : QFrame(parent)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("TabInfo"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(4);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSilver);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(4);
    buildCentre();
    buildRightColumn();
    row->addWidget(panAnzeigeBack, 1);
    row->addWidget(panRight);
    ApplyLanguageTexts();
}

void DeviceViewPage::buildCentre()
{
    panAnzeigeBack = panel(this, "panAnzeigeBack", kNavy);
    auto *back = new QVBoxLayout(panAnzeigeBack);
    back->setContentsMargins(4, 4, 4, 4);
    Splitter1 = named(new QSplitter(Qt::Vertical, panAnzeigeBack), "Splitter1");
    Splitter1->setOpaqueResize(true);
    Splitter1->setHandleWidth(5);
    back->addWidget(Splitter1);

    panAnzeige = panel(Splitter1, "panAnzeige", kNavy);
    panAnzeige->setMinimumHeight(kMinMeterHeight);
    anzeige = named(new TMeter120(panAnzeige), "anzeige");
    anzeige->setShape(Widgets::TMeterShape::smtRectangle);
    anzeige->setOrientation(Widgets::TOrientation::orTop);
    anzeige->setValueStart(0);
    anzeige->setValueEnd(15);
    anzeige->setScalaPart(5);
    anzeige->setScalaPsub(4);
    anzeige->setValueMinA(0);
    anzeige->setValueMinE(1);
    anzeige->setValueMidA(7.5);
    anzeige->setValueMidE(9);
    anzeige->setValueMaxA(13.5);
    anzeige->setValueMaxE(15);
    anzeige->setColMin(Qt::white);
    anzeige->setColMid(Qt::white);
    anzeige->setColMax(Qt::yellow);
    anzeige->setColPointer(Qt::black);
    anzeige->setColShape(kDialFace);
    anzeige->setColBack(kNavy);
    anzeige->setColScala(Qt::black);
    anzeige->setFontColor(Qt::black);
    anzeige->setLedEnable(false);
    anzeige->setDispEnable(false);
    anzeige->setDamping(0);
    anzeige->setPeakMode(Widgets::TPeakMode::ppNone);
    anzeige->setTripPointer(false);

    panAnzBar = panel(panAnzeige, "panAnzBar", Qt::black);
    panAnzBarIn = panel(panAnzBar, "panAnzBarIn", kSilver);
    imgLogo = named(new QLabel(panAnzBarIn), "imgLogo");
    imgLogo->setPixmap(Logo(imgLogo->devicePixelRatioF()));
    imgLogo->setScaledContents(true);
    lblIScale = label(panAnzBarIn, "lblIScale", arial(21, false), Qt::black);
    Label38 = label(panAnzBarIn, "Label38", arial(18, true), kBlue);
    Label38->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    panAnalog = panel(Splitter1, "panAnalog", kSilver);
    panAnalog->setMinimumHeight(0);
    mpAna = named(new TMeterPanelH(panAnalog), "mpAna");
    mpAna->setShape(Widgets::TMeterShape::smtRoundrect);
    mpAna->setColShape(Qt::white);
    mpAna->setColBack(kSilver);
    mpAna->setColScala(Qt::black);
    mpAna->setColPointer(Qt::red);
    mpAna->setFontColor(Qt::black);
    mpAna->setValueStart(0);
    mpAna->setValueEnd(10);
    mpAna->setScalaPart(10);
    mpAna->setScalaPsub(0);
    mpAna->setUpperLimit(8);
    mpAna->setLowerLimit(2);
    mpAna->setDamping(1);
    mpAna->setFontCapt(arial(12, false));
    mpAna->setFontCaptColor(kNavy);
    mpAna->setLedEnable(false);
    lblAnaName = label(panAnalog, "lblAnaName", arial(13, true), kNavy);
    lblAnaName->setAlignment(Qt::AlignCenter);
    lblAnaName->setFixedHeight(18);

    Splitter1->addWidget(panAnzeige);
    Splitter1->addWidget(panAnalog);
    Splitter1->setCollapsible(0, false);
    Splitter1->setCollapsible(1, true);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    if (QSplitterHandle *handle = Splitter1->handle(1)) {
        QPalette pal = handle->palette();
        pal.setColor(QPalette::Window, kNavy);
        pal.setColor(QPalette::Button, kNavy);
        handle->setPalette(pal);
        handle->setAutoFillBackground(true);
    }
    // the user's drag is the new height of the analogue panel
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { rememberAnalogHeight(Splitter1->sizes().value(1)); });
    for (QObject *o : {static_cast<QObject *>(panAnzeige), static_cast<QObject *>(panAnalog),
                       static_cast<QObject *>(Splitter1)})
        o->installEventFilter(this);
}

void DeviceViewPage::buildRightColumn()
{
    panRight = panel(this, "panRight", kSilver);
    panRight->setFixedWidth(kRightColumnWidth);
    auto *column = new QVBoxLayout(panRight);
    column->setContentsMargins(8, 4, 8, 8);
    column->setSpacing(6);

    // the instrument's display window: white on blue
    Panel9 = panel(panRight, "Panel9", kBlue);
    Panel9->setFixedHeight(76);
    auto *window = new QGridLayout(Panel9);
    window->setContentsMargins(8, 6, 8, 6);
    window->setSpacing(2);
    const QFont displayFont = arial(kDisplayPixels, true);
    lblPol = label(Panel9, "lblPol", displayFont, Qt::white);
    lblRange = label(Panel9, "lblRange", displayFont, Qt::white);
    lblRange->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblAlarm = label(Panel9, "lblAlarm", displayFont, Qt::white);
    lblAlarm->setAlignment(Qt::AlignCenter);
    for (QLabel *l : {lblPol, lblRange, lblAlarm})
        l->setMinimumWidth(1);   // a long alarm text is cut, it never widens the column
    window->addWidget(lblPol, 0, 0);
    window->addWidget(lblRange, 0, 1);
    window->addWidget(lblAlarm, 1, 0, 1, 2);
    column->addWidget(Panel9);
    column->addSpacing(8);

    // the five keys: caption above, key name below
    auto *keys = new QGridLayout;
    keys->setHorizontalSpacing(4);
    keys->setVerticalSpacing(2);
    const QFont captionFont = arial(14, true);
    const QFont keyFont = arial(11, false);
    auto key = [&](int col, const char *name, const QColor &colour, QLabel **caption, const char *captionName,
                   QLabel **keyName, const char *keyObjectName) {
        auto *button = named(new TOvalButton(panRight), name);
        button->setColor(colour);
        button->setFixedSize(25, 25);
        button->setFocusPolicy(Qt::TabFocus);
        if (caption) {
            *caption = label(panRight, captionName, captionFont, Qt::black);
            (*caption)->setAlignment(Qt::AlignCenter);
            keys->addWidget(*caption, 0, col, Qt::AlignHCenter | Qt::AlignBottom);
        }
        keys->addWidget(button, 1, col, Qt::AlignCenter);
        *keyName = label(panRight, keyObjectName, keyFont, Qt::black);
        (*keyName)->setAlignment(Qt::AlignCenter);
        keys->addWidget(*keyName, 2, col, Qt::AlignHCenter | Qt::AlignTop);
        return button;
    };
    btnShowandHide = key(0, "btnShowandHide", kOlive, nullptr, nullptr, &lblF7, "lblF7");
    btnPol = key(1, "btnPol", kLightBlue, &lblPolKey, "lblPolKey", &lblF9, "lblF9");
    btnRaMin = key(2, "btnRaMin", kLightBlue, &lblRaMinKey, "lblRaMinKey", &lblF10, "lblF10");
    btnRaMax = key(3, "btnRaMax", kLightBlue, &lblRaMaxKey, "lblRaMaxKey", &lblF11, "lblF11");
    btnNull = key(4, "btnNull", kLightBlue, &lblNullKey, "lblNullKey", &lblF12, "lblF12");
    keys->setRowMinimumHeight(0, 18);
    column->addLayout(keys);
    btnTrend = named(new QPushButton(panRight), "btnTrend");
    column->addWidget(btnTrend, 0, Qt::AlignHCenter);
    connect(btnTrend, &QPushButton::clicked, this, &DeviceViewPage::trendRequested);
    column->addStretch(1);
    connect(btnShowandHide, &TOvalButton::clicked, this, &DeviceViewPage::CycleDeviceViews);
    connect(btnPol, &TOvalButton::clicked, this, &DeviceViewPage::btnPolClick);
    connect(btnRaMin, &TOvalButton::clicked, this, &DeviceViewPage::btnRaMinClick);
    connect(btnRaMax, &TOvalButton::clicked, this, &DeviceViewPage::btnRaMaxClick);
    connect(btnNull, &TOvalButton::clicked, this, &DeviceViewPage::btnNullClick);

    // the lamps and the live-update switch
    auto *bottom = new QGridLayout;
    bottom->setHorizontalSpacing(6);
    bottom->setVerticalSpacing(2);
    auto led = [&](const char *name, const QColor &colour) {
        auto *l = named(new TLedCheck(panRight), name);
        l->setLedCol(colour);
        l->setLedSize(12);
        l->setLedShape(Widgets::TLedShape::ledCircle);
        l->setLedBevel(Widgets::TBevelCut::bvRaised);
        l->setBevelOut(Widgets::TBevelCut::bvNone);
        l->setBordWidth(0);
        l->setFixedSize(20, 20);
        return l;
    };
    ledAlarm = led("ledAlarm", Qt::red);
    ledMain = led("ledMain", Qt::yellow);
    btnInfo = named(new TSlideButton(panRight), "btnInfo");
    btnInfo->setColorPos1(kBlue);
    btnInfo->setColTextPos1(Qt::yellow);
    btnInfo->setColorPos2(Qt::yellow);
    btnInfo->setColTextPos2(kBlue);
    btnInfo->setPosition(Widgets::TSwitchPos::swPos2);
    btnInfo->setFixedSize(96, 28);
    lblF8 = label(panRight, "lblF8", keyFont, Qt::black);
    lblF8->setAlignment(Qt::AlignCenter);
    bottom->addWidget(ledAlarm, 0, 0, Qt::AlignCenter);
    bottom->addWidget(ledMain, 0, 1, Qt::AlignCenter);
    bottom->setColumnStretch(2, 1);
    bottom->addWidget(btnInfo, 0, 3, Qt::AlignRight | Qt::AlignVCenter);
    bottom->addWidget(lblF8, 1, 3, Qt::AlignHCenter | Qt::AlignTop);
    column->addLayout(bottom);
    connect(btnInfo, &TSlideButton::KeyChange, this, &DeviceViewPage::btnInfoKeyChange);
}

void DeviceViewPage::ApplyLanguageTexts()
{
    using namespace Lang;
    Label38->setText(Text(TxModelLabel));
    Label38->adjustSize();
    setTextIfChanged(lblIScale, Text(TxFactorPrefix) + m_factorText);
    anzeige->setCaption(Text(TxMeterCaption));
    lblPolKey->setText(Text(TxKeyPol));
    lblRaMinKey->setText(Text(TxKeyRangeDown));
    lblRaMaxKey->setText(Text(TxKeyRangeUp));
    lblNullKey->setText(Text(TxKeyZero));
    lblF7->setText(Text(TxKeyF7));
    lblF8->setText(Text(TxKeyF8));
    lblF9->setText(Text(TxKeyF9));
    lblF10->setText(Text(TxKeyF10));
    lblF11->setText(Text(TxKeyF11));
    lblF12->setText(Text(TxKeyF12));
    btnInfo->setTextPos1(Text(TxSwitchOff));
    btnInfo->setTextPos2(Text(TxSwitchOn));
    btnTrend->setText(Text(TxTrendPageButton));
    btnTrend->setToolTip(Text(TxTrendHintPageButton));

    mpAna->setToolTip(Text(TxHintMpAna));
    lblAnaName->setToolTip(Text(TxHintLblAnaName));
    btnPol->setToolTip(Text(TxHintBtnPol));
    btnRaMin->setToolTip(Text(TxHintBtnRaMin));
    btnRaMax->setToolTip(Text(TxHintBtnRaMax));
    btnNull->setToolTip(Text(TxHintBtnNull));
    btnShowandHide->setToolTip(Text(TxHintBtnShowandHide));
    btnInfo->setToolTip(Text(TxHintBtnInfo));
    ledMain->setToolTip(Text(TxHintLedMain));
    ledAlarm->setToolTip(Text(TxHintLedAlarm));

    anzeige->setAccessibleName(Text(TxNameIonMeter));
    mpAna->setAccessibleName(Text(TxNameAnalogMeter));
    lblPol->setAccessibleDescription(Text(TxNamePolarity));
    lblRange->setAccessibleDescription(Text(TxNameRange));
    lblAlarm->setAccessibleDescription(Text(TxNameAlarmValue));
    fitAlarmFont();
    lblIScale->setAccessibleDescription(Text(TxNameFactor));
    imgLogo->setAccessibleName(Text(TxNameLogo));
    btnShowandHide->setAccessibleName(Text(TxNameBtnShowandHide));
    btnPol->setAccessibleName(Text(TxNameBtnPol));
    btnRaMin->setAccessibleName(Text(TxNameBtnRaMin));
    btnRaMax->setAccessibleName(Text(TxNameBtnRaMax));
    btnNull->setAccessibleName(Text(TxNameBtnNull));
    ledAlarm->setAccessibleName(Text(TxNameLedAlarm));
    ledMain->setAccessibleName(Text(TxNameLedMain));
    btnInfo->setAccessibleName(Text(TxNameSwitch));
    Splitter1->setAccessibleName(Text(TxNameSplitter));

    // the page's caption on its tab
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            if (const int index = tabs->indexOf(this); index >= 0)
                tabs->setTabText(index, Text(TxTabInfo));
            break;
        }
    panAnzeigeResize();
}

// The alarm line keeps the column's width; its font gives way so that every alarm text of the
// language is shown whole.
void DeviceViewPage::fitAlarmFont()
{
    const std::size_t language = m_links.language && m_links.language() == 1 ? 1 : 0;
    QStringList alarms;
    for (const auto &row : m_links.tables.AlarmTextTable)
        alarms << row[language];
    const QMargins column = panRight->layout()->contentsMargins();
    const QMargins window = Panel9->layout()->contentsMargins();
    const int room = kRightColumnWidth - column.left() - column.right() - window.left() - window.right();
    lblAlarm->setFont(fitPixelSize(arial(kDisplayPixels, true), alarms, room));
}

// ---- keys ---------------------------------------------------------------------------------

bool DeviceViewPage::FunctionKey(int key)
{
    switch (key) {
    case Qt::Key_F7:
        CycleDeviceViews();
        return true;
    case Qt::Key_F8:
        btnInfo->setPosition(liveUpdateOn() ? Widgets::TSwitchPos::swPos2 : Widgets::TSwitchPos::swPos1);
        btnInfoKeyChange();
        return true;
    case Qt::Key_F9:
        btnPolClick();
        return true;
    case Qt::Key_F10:
        btnRaMinClick();
        return true;
    case Qt::Key_F11:
        btnRaMaxClick();
        return true;
    case Qt::Key_F12:
        btnNullClick();
        return true;
    default:
        return false;
    }
}

bool DeviceViewPage::liveUpdateOn() const
{
    // position value 1 shows the second text, "Ein"
    return btnInfo->Position() == Widgets::TSwitchPos::swPos1;
}

void DeviceViewPage::btnInfoKeyChange()
{
    const bool on = liveUpdateOn();
    ledMain->setChecked(on);
    emit liveUpdateChanged(on);
}

void DeviceViewPage::btnPolClick()
{
    m_links.configuration.stepPolarity();
    m_links.engine.ShowStatusText(QString());
    m_links.engine.setNoAnswerCount(0);
    m_links.engine.QueueOrder(Link::Order::SIP);
}

void DeviceViewPage::btnRaMinClick()
{
    m_links.configuration.stepRangeDown();
    m_links.engine.setNoAnswerCount(0);
    m_links.engine.ShowStatusText(QString());
    m_links.engine.QueueOrder(Link::Order::SRA);
}

void DeviceViewPage::btnRaMaxClick()
{
    m_links.configuration.stepRangeUp();
    m_links.engine.setNoAnswerCount(0);
    m_links.engine.QueueOrder(Link::Order::SRA);
}

void DeviceViewPage::btnNullClick()
{
    m_links.engine.setNoAnswerCount(0);
    m_links.engine.QueueOrder(Link::Order::SZA);
}

void DeviceViewPage::CycleDeviceViews()
{
    m_viewState = m_viewState + 1 > 3 ? 0 : m_viewState + 1;
    switch (m_viewState) {
    case 0:
        setAnalogHeight(0);
        setSensorWindowVisible(false);
        break;
    case 1:
        setAnalogHeight(kAnalogHeight);
        break;
    case 2:
        setSensorWindowVisible(true);
        break;
    case 3:
        setAnalogHeight(0);
        break;
    }
}

void DeviceViewPage::setSensorWindowVisible(bool visible)
{
    TFormSens *sensors = m_links.sensors;
    if (!sensors)
        return;
    if (!visible) {
        sensors->hide();
        return;
    }
    sensors->show();
    sensors->raise();
}

// ---- analogue scale and live values -------------------------------------------------------

void DeviceViewPage::report(const QString &text)
{
    m_links.engine.ReportMessage(text, true);
}

void DeviceViewPage::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    // the page coming to the front, not the window coming back from the task bar
    if (!event->spontaneous())
        TabInfoShow();
}

void DeviceViewPage::TabInfoShow()
{
    if (!m_links.analogInput)
        return;
    const AnalogInputTexts in = m_links.analogInput();
    setTextIfChanged(lblAnaName, in.name);
    mpAna->setCaption(in.unit);

    // all numbers first: a text among them leaves the scale as it was, not half changed
    double numbers[5] = {};
    const QString *texts[5] = {&in.scaleZero, &in.scaleEnd, &in.scaleParts, &in.valueScaleZero, &in.valueScaleEnd};
    for (int i = 0; i < 5; ++i) {
        const std::optional<double> n = Measure::ToNumber(*texts[i]);
        if (!n) {
            report(Lang::Format(Lang::Text(Lang::TxScaleNotANumber), {texts[i]->trimmed()}));
            return;
        }
        numbers[i] = *n;
    }
    if (mpAna->ValueStart() != numbers[0])
        mpAna->setValueStart(numbers[0]);
    if (mpAna->ValueEnd() != numbers[1])
        mpAna->setValueEnd(numbers[1]);
    const int parts = int(std::lround(std::clamp(numbers[2], -1.0, double(MeterBase::kMaxScalaPart))));
    if (mpAna->ScalaPart() != parts)
        mpAna->setScalaPart(parts);
    m_valueScaleZero = float(numbers[3]);
    m_valueScaleEnd = float(numbers[4]);
}

double DeviceViewPage::PanelMeterValue(double value, double meterStart, double meterEnd, double valueScaleZero,
                                       double valueScaleEnd)
{
    // the value at the scale's begin sits at the meter's start, the one at its end at the meter's end;
    // an empty value scale has no place for anything but the start
    const double span = valueScaleEnd - valueScaleZero;
    if (span == 0.0 || !std::isfinite(span))
        return meterStart;
    const double shown = meterStart + (value - valueScaleZero) * (meterEnd - meterStart) / span;
    return std::isfinite(shown) ? shown : meterStart;
}

void DeviceViewPage::ShowCurrentValues(const Measure::CurrentValues &values)
{
    const Model::TScale *scale = m_links.tables.Scale(values.range);
    if (!scale)
        return;
    setTextIfChanged(lblPol, m_links.configuration.showPolarity(values.polarity));
    setTextIfChanged(lblRange, m_links.tables.RangeName(QString::number(values.range)));
    if (m_factorText != scale->FactorText) {
        m_factorText = scale->FactorText;
        lblIScale->setText(Lang::Text(Lang::TxFactorPrefix) + m_factorText);
        placeBarLabels();
    }
    // the scale is repainted only when the range changed it
    if (anzeige->ValueEnd() != double(scale->EndValue))
        anzeige->setValueEnd(scale->EndValue);
    if (anzeige->ScalaPart() != scale->ScaleParts)
        anzeige->setScalaPart(scale->ScaleParts);
    if (anzeige->ScalaPsub() != scale->SubParts)
        anzeige->setScalaPsub(scale->SubParts);
    if (scale->Divisor != 0)
        anzeige->setValue(double(std::max(0, values.ionValue)) / scale->Divisor);

    if (values.analogVolts) {
        const AnalogInputTexts in = m_links.analogInput ? m_links.analogInput() : AnalogInputTexts{};
        const float v = Measure::ScaleAnalog(*values.analogVolts, in.valueAtZero, in.valueAtTen);
        mpAna->setValue(PanelMeterValue(v, mpAna->ValueStart(), mpAna->ValueEnd(), m_valueScaleZero,
                                        m_valueScaleEnd));
    }
    if (m_links.sensors) {
        const QChar sep = m_links.decimalSeparator ? m_links.decimalSeparator() : QChar(u'.');
        for (const Measure::CurrentValues::Sensor &s : values.sensors)
            m_links.sensors->ShowSensor(s.humidity, s.sensor, Measure::SensorCellText(s.humidity, s.value, sep));
    }
    if (m_links.state.AlarmTexts.isEmpty()) {
        if (lblAlarm->alignment() != (Qt::AlignRight | Qt::AlignVCenter))
            lblAlarm->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setTextIfChanged(lblAlarm, QString::asprintf("%d     ", values.ionValue));
    }
}

void DeviceViewPage::ZeroMeters()
{
    anzeige->setValue(0);
    mpAna->setValue(0);
}

// ---- layout -------------------------------------------------------------------------------

int DeviceViewPage::BarHeight(int panAnzeigeHeight)
{
    // its texts keep their size, so a tall window gives the room to the meter, not to the bar
    return std::clamp(int(std::lround(panAnzeigeHeight / 3.2)), kMinBarHeight, kMaxBarHeight);
}

void DeviceViewPage::setAnalogHeight(int height)
{
    rememberAnalogHeight(height);
    applyAnalogHeight();
}

void DeviceViewPage::rememberAnalogHeight(int height)
{
    // a damaged parameter file may hold anything; the splitter gives the panel no more than there is
    m_analogHeight = std::clamp(height, 0, kMaxAnalogHeight);
    emit analogHeightChanged(m_analogHeight);
}

void DeviceViewPage::applyAnalogHeight()
{
    const int total = Splitter1->height() - Splitter1->handleWidth();
    const int analog = std::min(m_analogHeight, std::max(0, total - panAnzeige->minimumHeight()));
    if (Splitter1->sizes().value(1) != analog || Splitter1->sizes().value(0) != total - analog)
        Splitter1->setSizes({std::max(0, total - analog), analog});
}

int DeviceViewPage::analogHeight() const
{
    return m_analogHeight;
}

bool DeviceViewPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == panAnzeige)
            panAnzeigeResize();
        else if (watched == panAnalog)
            panAnalogResize();
        else if (watched == Splitter1)
            // the analogue panel keeps its height when the window grows or shrinks
            applyAnalogHeight();
    }
    return QFrame::eventFilter(watched, event);
}

void DeviceViewPage::panAnzeigeResize()
{
    const int w = panAnzeige->width();
    const int h = panAnzeige->height();
    const int bar = BarHeight(h);
    // a panel lower than the bar's minimum leaves the meter no room, never less
    anzeige->setGeometry(0, 0, w, std::max(0, h - bar));
    panAnzBar->setGeometry(0, h - bar, w, bar);
    panAnzBarIn->setGeometry(8, 8, std::max(0, w - 16), bar - 16);
    // the logo is drawn for 32 pixels: never larger, centred in a taller bar
    const int side = std::clamp(panAnzBarIn->height() - 16, 8, kLogoSide);
    imgLogo->setGeometry(8, (panAnzBarIn->height() - side) / 2, side, side);
    placeBarLabels();
    emit analogHeightChanged(m_analogHeight);
}

void DeviceViewPage::placeBarLabels()
{
    const int innerW = panAnzBarIn->width();
    const int innerH = panAnzBarIn->height();
    lblIScale->adjustSize();
    lblIScale->move((innerW - lblIScale->width()) / 2, (innerH - lblIScale->height()) / 2);
    Label38->adjustSize();
    Label38->move(innerW - Label38->width() - 8, (innerH - Label38->height()) / 2);
}

void DeviceViewPage::panAnalogResize()
{
    const int w = panAnalog->width();
    const int h = panAnalog->height();
    // up to 85 pixels the meter keeps its own size; a taller panel gives it the room
    const int meter = std::max(h, kAnalogHeight) - lblAnaName->height();
    mpAna->setGeometry(0, 0, w, meter);
    lblAnaName->setGeometry(0, meter, w, lblAnaName->height());
}

// ---- logo ---------------------------------------------------------------------------------

QPixmap DeviceViewPage::Logo(qreal pixelRatio)
{
    // a small dial with its needle over a positive and a negative ion, drawn at the screen's
    // own pixels so that a scaled desktop shows it sharp
    const int side = int(std::ceil(kLogoSide * pixelRatio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(side) / kLogoSide, double(side) / kLogoSide);
    QLinearGradient back(0, 0, 0, 32);
    back.setColorAt(0, QColor(30, 60, 170));
    back.setColorAt(1, kNavy);
    p.setPen(QPen(QColor(10, 10, 60), 1));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);

    const QPointF centre(16, 23);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - 12, centre.y() - 12, 24, 24), 30 * 16, 120 * 16);
    p.setPen(QPen(Qt::white, 1.2));
    for (int i = 0; i <= 4; ++i) {
        const double a = qDegreesToRadians(150.0 - 30.0 * i);
        const QPointF dir(std::cos(a), -std::sin(a));
        p.drawLine(centre + dir * 9.0, centre + dir * 12.0);
    }
    p.setPen(QPen(Qt::yellow, 1.8, Qt::SolidLine, Qt::RoundCap));
    const double needle = qDegreesToRadians(62.0);
    p.drawLine(centre, centre + QPointF(std::cos(needle), -std::sin(needle)) * 11.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::yellow);
    p.drawEllipse(centre, 1.8, 1.8);

    auto ion = [&p](const QPointF &at, const QColor &colour, bool plus) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(at, 4.2, 4.2);
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at + QPointF(-2.2, 0), at + QPointF(2.2, 0));
        if (plus)
            p.drawLine(at + QPointF(0, -2.2), at + QPointF(0, 2.2));
    };
    ion(QPointF(6.5, 27), QColor(220, 40, 40), true);
    ion(QPointF(25.5, 27), QColor(40, 150, 240), false);
    p.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(double(side) / kLogoSide);
    return pixmap;
}
