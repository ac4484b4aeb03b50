#include "app/ConfigurationPage.h"

#include "app/PageControls.h"
#include "app/TextBindings.h"
#include "link/ProtocolEngine.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QDateTime>
#include <QPushButton>

using namespace Lang;
using namespace PageControls;

ConfigurationPage::ConfigurationPage(TextBindings &texts, Link::ProtocolEngine &engine, QWidget *parent)
    : SettingsPage(engine, parent)
{
    setObjectName(QStringLiteral("TabConfig"));
    build(texts);
    connectHandlers();
}

void ConfigurationPage::build(TextBindings &t)
{
    auto *page = new QGridLayout(this);

    QGroupBox *info = group(t, this, "gbDevice", TxCapGbDevice);
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
    QGroupBox *clock = group(t, this, "gbDate", TxCapGbDate);
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

    QGroupBox *range = group(t, this, "gbRange", TxCapGbRange);
    tsRange = textSpin(t, range, "tsRange", TxItemsTsRange, TxHintTsRange);
    grid(range)->addWidget(tsRange, 0, 0);

    QGroupBox *pol = group(t, this, "gbPolarity", TxCapGbPolarity);
    tsPol = textSpin(t, pol, "tsPol", TxItemsTsPol, TxHintTsPol);
    tsPolAlter = textSpin(t, pol, "tsPolAlter", TxItemsTsPolAlter, TxHintTsPolAlter);
    isePolInter = spinEdit(pol, "isePolInter");
    t.hint(isePolInter, TxHintIsePolInter);
    grid(pol)->addWidget(tsPol, 0, 0, 1, 2);
    grid(pol)->addWidget(caption(t, pol, "lblAlterPol", TxCapLblAlterPol, tsPolAlter), 1, 0, 1, 2);
    grid(pol)->addWidget(tsPolAlter, 2, 0, 1, 2);
    grid(pol)->addWidget(caption(t, pol, "lblPolInter", TxCapLblPolInter, isePolInter), 3, 0);
    grid(pol)->addWidget(isePolInter, 3, 1);

    QGroupBox *anaOut = group(t, this, "gbAnaOut", TxCapGbAnaOut);
    tsAnaOut = textSpin(t, anaOut, "tsAnaOut", TxItemsTsAnaOut, TxHintTsAnaOut, true);
    grid(anaOut)->addWidget(tsAnaOut, 0, 0);

    QGroupBox *zero = group(t, this, "gbZero", TxCapGbZero);
    tsZeroAtStart = textSpin(t, zero, "tsZeroAtStart", TxItemsTsZeroAtStart, TxHintTsZeroAtStart);
    btnZero = named(new TBevel3D(zero), "btnZero");
    t.caption(btnZero, TxCapBtnZero);
    t.hint(btnZero, TxHintBtnZero);
    btnZero->setCaptEnable(true);
    btnZero->setButtonStyle(Widgets::TButtonStyle::tsPush);
    btnZero->setMinimumSize(150, 30);
    grid(zero)->addWidget(tsZeroAtStart, 0, 0);
    grid(zero)->addWidget(btnZero, 1, 0);

    QGroupBox *lang = group(t, this, "gbQTLang", TxCapGbQTLang);
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

void ConfigurationPage::connectHandlers()
{
    for (TTextSpin *spin : {tsPol, tsPolAlter, tsAnaOut, tsZeroAtStart, tsQTLanguage}) {
        connect(spin, &TTextSpin::onChanging, this, [this, spin] {
            touch(spin);
            if (m_transferAtOnce)
                queueForControl(spin);
        });
        connect(spin, &TTextSpin::onChanged, this, [this, spin] {
            if (m_transferAtOnce)
                queueForControl(spin);
        });
    }
    // Auto is drawn blue, the fixed ranges black
    connect(tsRange, &TTextSpin::onChanging, this, [this] { tsRange->setFontColor(tsRange->PosColor()); });
    connect(tsRange, &TTextSpin::onChanged, this, [this] {
        touch(tsRange);
        if (m_transferAtOnce)
            queueForControl(tsRange);
    });

    connect(dtpQTDate, &QDateEdit::dateChanged, this, [this] { touch(dtpQTDate); });
    auto *date = static_cast<DateField *>(dtpQTDate);
    connect(date, &DateField::touched, this, [this] { touch(dtpQTDate); });
    connect(date, &DateField::clicked, this, [this] { touch(dtpQTDate); });
    for (QLabel *label : {lblSerNr, lblVersion, lblTime})
        connect(static_cast<ClickLabel *>(label), &ClickLabel::clicked, this, &ConfigurationPage::GetInfoKlickClick);
    // the clock's time keeps its colour on keys: only the spin buttons and the device change it
    connect(static_cast<KeyedSpinEdit *>(iseQTTime), &KeyedSpinEdit::entered, this,
            [this] { m_changed.reset(std::size_t(Model::Field::DeviceTime)); });
    auto *polInter = static_cast<KeyedSpinEdit *>(isePolInter);
    connect(polInter, &KeyedSpinEdit::touched, this, [this] { touch(isePolInter); });
    connect(polInter, &KeyedSpinEdit::entered, this,
            [this] { m_changed.reset(std::size_t(Model::Field::PolarityInterval)); });
    connect(iseQTTime, &TInterSpinEdit::OnClick, this, [this] { touch(iseQTTime); });
    connect(iseQTTime, &TInterSpinEdit::OnChange, this, [this] { m_changed.set(std::size_t(Model::Field::DeviceTime)); });
    connect(isePolInter, &TInterSpinEdit::OnClick, this, [this] { touch(isePolInter); });
    connect(isePolInter, &TInterSpinEdit::OnChange, this,
            [this] { m_changed.set(std::size_t(Model::Field::PolarityInterval)); });
    connect(isePolInter, &TInterSpinEdit::OnExit, this, [this] {
        if (m_transferAtOnce && m_changed.test(std::size_t(Model::Field::PolarityInterval)))
            queueForControl(isePolInter);
    });

    connect(btnSetDT, &QPushButton::clicked, this, &ConfigurationPage::btnSetDTClick);
    connect(btnSyncDT, &QPushButton::clicked, this, &ConfigurationPage::btnSyncDTClick);
    connect(btnZero, &TBevel3D::OnDown, this, [this] { queueForControl(btnZero); });
}

void ConfigurationPage::setInitialColours()
{
    const QColor face = palette().color(QPalette::Button);
    for (TTextSpin *spin : {tsRange, tsPol, tsPolAlter, tsAnaOut, tsZeroAtStart, tsQTLanguage}) {
        spin->setColTxtBack(face);
        spin->setFontColor(palette().color(QPalette::ButtonText));
    }
    tsRange->setFontColor(tsRange->PosColor());
    for (QWidget *w : std::initializer_list<QWidget *>{lblSerNr, lblVersion, lblTime, dtpQTDate, iseQTTime,
                                                       isePolInter})
        setControlColour(w, face);
}



void ConfigurationPage::btnSetDTClick()
{
    m_engine.ShowStatusText(QString());
    m_engine.setNoAnswerCount(0);
    m_engine.QueueOrder(Link::Order::SDA);
}

void ConfigurationPage::btnSyncDTClick()
{
    const QDateTime now = QDateTime::currentDateTime();
    setQuietly(dtpQTDate, now.date());
    setQuietly(iseQTTime, now.time().msecsSinceStartOfDay() / 86400000.0);
    emit programSet(dtpQTDate);
    emit programSet(iseQTTime);
    btnSetDTClick();
}

void ConfigurationPage::GetInfoKlickClick()
{
    m_engine.InformationRequest();
}

void ConfigurationPage::stepPolarity()
{
    tsPol->setPosition((tsPol->Position() + 1) % 2);
}

void ConfigurationPage::stepRangeDown()
{
    if (tsRange->Position() > 0)
        tsRange->setPosition(tsRange->Position() - 1);
}

void ConfigurationPage::stepRangeUp()
{
    // the selector has no limiter: one past the largest range is Auto again
    if (tsRange->Position() < tsRange->count())
        tsRange->setPosition(tsRange->Position() + 1);
}

QString ConfigurationPage::showPolarity(int position)
{
    tsPol->setPosition(position);
    return tsPol->PosString();
}
