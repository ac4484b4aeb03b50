#include "app/RecordingSettingsPage.h"

#include "app/PageControls.h"
#include "app/TextBindings.h"
#include "link/ProtocolEngine.h"
#include "model/Recording.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

using namespace Lang;
using namespace PageControls;

RecordingSettingsPage::RecordingSettingsPage(TextBindings &texts, Link::ProtocolEngine &engine,
                                             std::function<bool(const QString &)> ask, QWidget *parent)
    : SettingsPage(engine, parent)
    , m_ask(std::move(ask))
{
    setObjectName(QStringLiteral("TabMeasureConfig"));
    build(texts);
    connectHandlers();
}

void RecordingSettingsPage::build(TextBindings &t)
{
    auto *page = new QGridLayout(this);

    QGroupBox *rec = group(t, this, "gbMem", TxCapGbMem);
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

    QGroupBox *memEnd = group(t, this, "gbEndMem", TxCapGbEndMem);
    tsMemEnd = textSpin(t, memEnd, "tsMemEnd", TxItemsTsMemEnd, TxHintTsMemEnd);
    grid(memEnd)->addWidget(tsMemEnd, 0, 0);

    QGroupBox *clear = group(t, this, "gbMemClear", TxCapGbMemClear);
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

    QGroupBox *out = group(t, this, "gbOut", TxCapGbOut);
    tsOutMeas = textSpin(t, out, "tsOutMeas", TxItemsTsOutMeas, TxHintTsOutMeas);
    grid(out)->addWidget(tsOutMeas, 0, 0);

    QGroupBox *anaIn = group(t, this, "gbAnaIn", TxCapGbAnaIn);
    tsAnaIn = textSpin(t, anaIn, "tsAnaIn", TxItemsTsAnaIn, TxHintTsAnaIn);
    grid(anaIn)->addWidget(tsAnaIn, 0, 0);

    QGroupBox *scale = group(t, this, "gbAnalogInput", TxCapGbAnalogInput);
    // the default name and unit are values the instrument's files carry, not captions
    auto edit = [&](const char *name, const QString &value, TextId hint, bool number = true) {
        KeyedLineEdit *e = number ? new NumberEdit([this] { return m_decimalSep; }, scale) : new KeyedLineEdit(scale);
        e->setText(value);
        named(e, name);
        e->setAutoFillBackground(true);
        t.hint(e, hint);
        return e;
    };
    txtAnaName = edit("txtAnaName", QStringLiteral("Extern"), TxHintTxtAnaName, false);
    txtAnaUnit = edit("txtAnaUnit", QStringLiteral("Volt"), TxHintTxtAnaUnit, false);
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

    QGroupBox *manual = group(t, this, "gbManMem", TxCapGbManMem);
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

void RecordingSettingsPage::connectHandlers()
{
    for (TTextSpin *spin : {tsStartMode, tsMemEnd, tsOutMeas, tsAnaIn}) {
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
    for (TInterSpinEdit *ise : {iseStartTime, iseStopTime, iseDuration, iseMeasInt})
        connect(ise, &TInterSpinEdit::OnClick, this, [this, ise] { touch(ise); });
    const std::pair<TInterSpinEdit *, Model::Field> spins[] = {{iseStartTime, Model::Field::StartTime},
                                                                 {iseStopTime, Model::Field::Count},
                                                                 {iseDuration, Model::Field::Duration},
                                                                 {iseMeasInt, Model::Field::StorageInterval}};
    for (const auto &[ise, field] : spins) {
        auto *keyed = static_cast<KeyedSpinEdit *>(ise);
        connect(keyed, &KeyedSpinEdit::touched, this, [this, ise] { touch(ise); });
        if (field != Model::Field::Count)
            connect(keyed, &KeyedSpinEdit::entered, this, [this, field] { m_changed.reset(std::size_t(field)); });
    }
    for (QDateEdit *picker : {dtpStartDate, dtpStopDate}) {
        auto *date = static_cast<DateField *>(picker);
        connect(date, &DateField::touched, this, [this, picker] { touch(picker); });
        connect(date, &DateField::clicked, this, [this, picker] { touch(picker); });
    }
    auto *startDate = static_cast<DateField *>(dtpStartDate);
    connect(startDate, &DateField::entered, this, [this] { m_changed.reset(std::size_t(Model::Field::StartDate)); });
    connect(startDate, &DateField::left, this, [this] {
        if (m_transferAtOnce && marked(Model::Field::StartDate))
            queueWithStartMode(Link::Order::SSM);
    });
    connect(static_cast<DateField *>(dtpStopDate), &DateField::left, this, &RecordingSettingsPage::stopLeft);
    for (QLineEdit *text : {txtAnaName, txtAnaUnit})
        connect(static_cast<KeyedLineEdit *>(text), &KeyedLineEdit::touched, this,
                [this, text] { touch(text); });
    for (QLineEdit *number : {txtAnaValZero, txtAnaVal10, txtScaleZero, txtScaleEnd, txtScaleParts,
                              txtValueScaleZero, txtValueScaleEnd}) {
        auto *edit = static_cast<NumberEdit *>(number);
        connect(edit, &NumberEdit::touched, this, [this, number] { touch(number); });
        connect(edit, &NumberEdit::left, this, [this, number] { numberLeft(number); });
        connect(edit, &NumberEdit::refused, this,
                [this] { m_engine.ReportMessage(Lang::Text(Lang::TxOnlyNumberChars), true); });
        connect(edit, &NumberEdit::accepted, this, &RecordingSettingsPage::statusCleared);
    }
    connect(iseMeasInt, &TInterSpinEdit::OnChange, this, [this] { mark(Model::Field::StorageInterval); });
    connect(iseMeasInt, &TInterSpinEdit::OnExit, this, [this] {
        if (m_transferAtOnce && marked(Model::Field::StorageInterval))
            queueForControl(iseMeasInt);
    });

    connect(dtpStartDate, &QDateEdit::dateChanged, this,
            [this] { startChanged(dtpStartDate, Model::Field::StartDate); });
    connect(iseStartTime, &TInterSpinEdit::OnChange, this, [this] {
        setQuietly(iseStartTime, std::floor(iseStartTime->Value() * 1440.0 + 1e-7) / 1440.0);
        startChanged(iseStartTime, Model::Field::StartTime);
    });
    connect(iseStartTime, &TInterSpinEdit::OnExit, this, [this] {
        if (m_transferAtOnce && marked(Model::Field::StartTime))
            queueWithStartMode(Link::Order::SSM);
    });
    connect(dtpStopDate, &QDateEdit::dateChanged, this, [this] { ComputeMemoryStop(1); });
    connect(iseStopTime, &TInterSpinEdit::OnChange, this, [this] {
        setQuietly(iseStopTime, std::floor(iseStopTime->Value() * 1440.0 + 1e-7) / 1440.0);
        ComputeMemoryStop(1);
    });
    connect(iseStopTime, &TInterSpinEdit::OnExit, this, &RecordingSettingsPage::stopLeft);
    connect(iseDuration, &TInterSpinEdit::OnChange, this, [this] {
        mark(Model::Field::Duration);
        touch(iseDuration);
    });
    connect(iseDuration, &TInterSpinEdit::OnExit, this, &RecordingSettingsPage::durationLeft);

    connect(btnInfo1, &QPushButton::clicked, this, [this] {
        m_engine.ShowStatusText(QString());
        m_engine.setNoAnswerCount(0);
        m_engine.QueueOrder(Link::Order::GST);
    });
    connect(btnMemClear, &TArrowBtn::onClick, this, &RecordingSettingsPage::btnMemClearClick);
    connect(btnStart, &TArrowBtn::onClick, this, [this] {
        m_engine.setNoAnswerCount(0);
        m_engine.ShowStatusText(QString());
        m_engine.QueueOrder(Link::Order::SMM);
        emit statusQueryWanted();
    });
}

void RecordingSettingsPage::setInitialColours()
{
    const QColor face = palette().color(QPalette::Button);
    for (TTextSpin *spin : {tsStartMode, tsMemEnd, tsOutMeas, tsAnaIn}) {
        spin->setColTxtBack(face);
        spin->setFontColor(palette().color(QPalette::ButtonText));
    }
    for (QWidget *w : std::initializer_list<QWidget *>{
             lblMemUse, dtpStartDate, dtpStopDate, iseStartTime, iseStopTime, iseDuration, iseMeasInt, txtAnaName,
             txtAnaUnit, txtAnaValZero, txtAnaVal10, txtScaleZero, txtScaleEnd, txtScaleParts, txtValueScaleZero,
             txtValueScaleEnd})
        setControlColour(w, face);
}

void RecordingSettingsPage::setDefaults()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate today = now.date();
    dtpStartDate->setDate(today);
    dtpStopDate->setDate(today);
    const QTime whole(now.time().hour(), now.time().minute());
    iseStartTime->setValue(Model::ToDays(QDateTime(QDate(1899, 12, 30), whole.addSecs(3600))));
    iseStopTime->setValue(Model::ToDays(QDateTime(QDate(1899, 12, 30), whole.addSecs(7200))));
    iseMeasInt->setStringValue(QStringLiteral("00:01:00"));
    m_lastDuration = ComputeMemoryStop(2);
}


void RecordingSettingsPage::follow(Model::FieldStore &store)
{
    using Model::Field;
    using Model::FieldOrigin;
    auto incoming = [](FieldOrigin origin) { return origin == FieldOrigin::Device || origin == FieldOrigin::File; };
    connect(&store, &Model::FieldStore::changed, this, [this, incoming](Field field, FieldOrigin origin) {
        if (!incoming(origin))
            return;
        if (field == Field::StartDate || field == Field::StartTime) {
            // the stop follows the start whichever of start and duration arrives last
            ComputeMemoryStop(0);
        } else if (field == Field::Duration) {
            ComputeMemoryStop(2);
            // the stop is computed, never read: it keeps the colour the computation gave it,
            // only a mark of an earlier duration that did not convert goes
            setControlColour(iseDuration, origin == FieldOrigin::File ? kLightYellow : kSilver);
            if (iseStopTime->Color() == kRed)
                setControlColour(iseStopTime, base());
            if (dtpStopDate->palette().color(QPalette::Base) == kRed)
                setControlColour(dtpStopDate, base());
        }
    });
    connect(&store, &Model::FieldStore::rejected, this,
            [this, incoming](Field field, const QString &, FieldOrigin origin) {
                if (field == Field::Duration && incoming(origin))
                    for (QWidget *w : std::initializer_list<QWidget *>{dtpStopDate, iseStopTime, iseDuration})
                        setControlColour(w, kRed);
            });
}


void RecordingSettingsPage::queueWithStartMode(Link::Order order)
{
    m_engine.ShowStatusText(QString());
    m_engine.setNoAnswerCount(0);
    m_engine.QueueOrder(order);
    m_engine.QueueOrder(Link::Order::STM, QStringLiteral("1"));
}

void RecordingSettingsPage::startChanged(QWidget *control, Model::Field field)
{
    ComputeMemoryStop(0);
    mark(field);
    touch(control);
}

void RecordingSettingsPage::durationLeft()
{
    ComputeMemoryStop(2);
    if (m_transferAtOnce && marked(Model::Field::Duration))
        queueWithStartMode(Link::Order::SDM);
}

void RecordingSettingsPage::stopLeft()
{
    ComputeMemoryStop(1);
    if (!m_transferAtOnce || !marked(Model::Field::Duration))
        return;
    queueWithStartMode(Link::Order::SDM);
    m_changed.reset(std::size_t(Model::Field::Duration));
}

void RecordingSettingsPage::numberLeft(QLineEdit *edit)
{
    QString text = edit->text().trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    text.toDouble(&ok);
    if (ok)
        return;
    m_engine.ReportMessage(Lang::Text(Lang::TxNoValidValue), true);
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
}

void RecordingSettingsPage::btnMemClearClick()
{
    m_engine.setNoAnswerCount(0);
    m_engine.QueueOrder(Link::Order::GST);
    if (m_ask(Lang::Text(Lang::TxAskMemClear))) {
        emit statusMessage(Lang::Text(Lang::TxMemClearing), false);
        btnMemClear->setColorDown(Qt::yellow);
        btnMemClear->setShape(Widgets::TArrowShape::taSquare);
        m_engine.setNoAnswerCount(0);
        m_engine.QueueOrder(Link::Order::CME);
        m_engine.QueueOrder(Link::Order::GST);
    } else {
        emit statusMessage(Lang::Text(Lang::TxMemNotCleared), false);
        btnMemClear->setDown(false);
    }
}

double RecordingSettingsPage::ComputeMemoryStop(int mode)
{
    const double stopTimeBefore = iseStopTime->Value();
    const QDate stopDateBefore = dtpStopDate->date();
    const double startDate = Model::ToDays(QDateTime(dtpStartDate->date(), QTime(0, 0)));
    const double stopDate = Model::ToDays(QDateTime(dtpStopDate->date(), QTime(0, 0)));
    const Model::MemoryStop m = Model::ComputeMemoryStop(mode, startDate, iseStartTime->Value(),
                                                         iseDuration->Value(), stopDate, iseStopTime->Value(),
                                                         m_lastDuration, m_lastEnd);
    if (!m.write)
        return m.duration;
    setQuietly(iseDuration, Model::DurationText(m.duration));
    const QDateTime stop = Model::FromDays(m.stop);
    setQuietly(dtpStopDate, stop.date());
    setQuietly(iseStopTime, m.stop - std::floor(m.stop));
    for (QWidget *w : std::initializer_list<QWidget *>{iseDuration, dtpStopDate, iseStopTime})
        emit programSet(w);
    mark(Model::Field::Duration);
    if (m.durationMoved)
        touch(iseDuration);
    if (std::abs(iseStopTime->Value() - stopTimeBefore) > 1e-9)
        touch(iseStopTime);
    if (dtpStopDate->date() != stopDateBefore)
        touch(dtpStopDate);
    m_lastEnd = m.stop;
    m_lastDuration = m.duration;
    return m.duration;
}
