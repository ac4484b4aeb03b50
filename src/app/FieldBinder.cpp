#include "app/FieldBinder.h"

#include "app/PageControls.h"

#include "model/DayCount.h"
#include "model/TimeText.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>


using Model::Field;
using Model::FieldKind;
using Model::FieldOrigin;
using PageControls::kLightYellow;
using PageControls::kRed;
using PageControls::kSilver;
using PageControls::setControlColour;

FieldBinder::FieldBinder(Model::FieldStore &store, QObject *parent)
    : QObject(parent), m_store(store)
{
    connect(&m_store, &Model::FieldStore::changed, this, &FieldBinder::show);
    connect(&m_store, &Model::FieldStore::rejected, this,
            [this](Field field, const QString &, FieldOrigin) { showRejected(field); });
}

void FieldBinder::bindControl(Field field, QWidget *control)
{
    if (std::size_t(field) < m_controls.size())
        m_controls[std::size_t(field)] = control;
}

void FieldBinder::bind(Field field, QLabel *label)
{
    bindControl(field, label);
}

void FieldBinder::bind(Field field, QLineEdit *edit)
{
    bindControl(field, edit);
    connect(edit, &QLineEdit::textChanged, this, [this, field] { take(field, FieldOrigin::User); });
}

void FieldBinder::bind(Field field, QDateEdit *picker)
{
    bindControl(field, picker);
    connect(picker, &QDateEdit::dateChanged, this, [this, field] { take(field, FieldOrigin::User); });
}

void FieldBinder::bind(Field field, TInterSpinEdit *spinEdit)
{
    bindControl(field, spinEdit);
    connect(spinEdit, &TInterSpinEdit::OnChange, this, [this, field] { take(field, FieldOrigin::User); });
}

void FieldBinder::bind(Field field, TTextSpin *selector)
{
    bindControl(field, selector);
    // also the program's own steps (the device view's polarity and range keys)
    if (Model::valueOwner(field) == field)
        connect(selector, &TTextSpin::positionMoved, this, [this, field] { take(field, FieldOrigin::User); });
}

QWidget *FieldBinder::control(Field field) const
{
    return std::size_t(field) < m_controls.size() ? m_controls[std::size_t(field)].data() : nullptr;
}

Field FieldBinder::field(const QObject *control) const
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (control && m_controls[i] == control)
            return Model::valueOwner(Field(int(i)));
    return Field::Count;
}

void FieldBinder::touched(QWidget *control)
{
    const Field f = field(control);
    const FieldOrigin origin = m_store.origin(f);
    if (f != Field::Count && (origin == FieldOrigin::Device || origin == FieldOrigin::File))
        take(f, FieldOrigin::User);
}

void FieldBinder::programSet(QWidget *control)
{
    const Field f = field(control);
    if (f != Field::Count)
        take(f, FieldOrigin::Program);
}

bool FieldBinder::beingTaken(Field field) const
{
    return m_taking != Field::Count && Model::valueOwner(field) == Model::valueOwner(m_taking);
}

// the value of a control whose text the user is editing, of the clock and of the date
// pickers stays while it has the focus
bool FieldBinder::guarded(Field field) const
{
    const QWidget *w = control(field);
    if (!w || !w->hasFocus())
        return false;
    switch (Model::fieldInfo(field).kind) {
    case FieldKind::Text:
        return qobject_cast<const QLineEdit *>(w) != nullptr;
    case FieldKind::Date:
    case FieldKind::ClockTime:
        return true;
    default:
        return false;
    }
}

void FieldBinder::show(Field field, FieldOrigin origin)
{
    QWidget *w = control(field);
    if (!w || beingTaken(field))
        return;
    if (guarded(field)) {
        // what is shown is what a request then sends
        take(field, FieldOrigin::Program);
        return;
    }
    const Model::Fact &fact = m_store.fact(field);
    const QString value = fact.value;
    {
        const QSignalBlocker block(w);
        switch (Model::fieldInfo(field).kind) {
        case FieldKind::Text:
        case FieldKind::Decimal:
            if (auto *label = qobject_cast<QLabel *>(w))
                label->setText(value);
            else if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->setText(value);
            break;
        case FieldKind::Date:
        case FieldKind::DayMonth:
            if (const auto date = Model::parseDate(value, std::nullopt))
                static_cast<QDateEdit *>(w)->setDate(*date);
            break;
        case FieldKind::ClockTime:
        case FieldKind::HourMinute: {
            const QTime time = QTime::fromString(value, QStringLiteral("HH:mm:ss"));
            if (time.isValid())
                static_cast<TInterSpinEdit *>(w)->setValue(time.msecsSinceStartOfDay() / 86400000.0);
            break;
        }
        case FieldKind::Duration:
        case FieldKind::Span:
            static_cast<TInterSpinEdit *>(w)->setStringValue(value);
            break;
        case FieldKind::ItemIndex:
        case FieldKind::ItemInteger: {
            auto *spin = static_cast<TTextSpin *>(w);
            const Model::TVComp &info = Model::fieldInfo(field);
            const int n = value.toInt();
            int at = info.kind == FieldKind::ItemIndex ? n : -1;
            for (int i = 0; i < std::min(spin->count(), info.items.count) && at < 0; ++i)
                if (info.items.integers[std::size_t(i)] == n)
                    at = i;
            if (at >= 0 && at < spin->count())
                spin->setPosition(at);
            break;
        }
        default:
            return;
        }
    }
    if (fact.bad)
        setControlColour(w, kRed);
    else if (origin == FieldOrigin::Device)
        setControlColour(w, kSilver);
    else if (origin == FieldOrigin::File)
        setControlColour(w, kLightYellow);
}

void FieldBinder::showRejected(Field field)
{
    QWidget *w = control(field);
    if (!w || beingTaken(field) || guarded(field))
        return;
    setControlColour(w, kRed);
}

// the text a file would hold for what the control shows
QString FieldBinder::shownText(Field field) const
{
    QWidget *w = control(field);
    const Model::TVComp &info = Model::fieldInfo(field);
    switch (info.kind) {
    case FieldKind::Text:
    case FieldKind::Decimal:
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text();
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            return edit->text();
        return {};
    case FieldKind::Date:
    case FieldKind::DayMonth:
        return static_cast<QDateEdit *>(w)->date().toString(QStringLiteral("dd.MM.yyyy"));
    case FieldKind::ClockTime:
    case FieldKind::HourMinute:
        return Model::TimeOfDayText(static_cast<TInterSpinEdit *>(w)->Value(), info.kind == FieldKind::HourMinute);
    case FieldKind::Duration:
    case FieldKind::Span:
        return static_cast<TInterSpinEdit *>(w)->StringValue().trimmed();
    case FieldKind::ItemIndex:
        return QString::number(static_cast<TTextSpin *>(w)->Position());
    case FieldKind::ItemInteger: {
        const int at = static_cast<TTextSpin *>(w)->Position();
        return QString::number(at >= 0 && at < info.items.count ? info.items.integers[std::size_t(at)] : 0);
    }
    default:
        return {};
    }
}

void FieldBinder::take(Field field, FieldOrigin origin)
{
    if (!control(field) || m_taking != Field::Count)
        return;
    m_taking = field;
    m_store.setValue(field, shownText(field), origin);
    m_taking = Field::Count;
    if (origin == FieldOrigin::User)
        emit edited(field);
}

void FieldBinder::takeAll()
{
    for (std::size_t i = 0; i < m_controls.size(); ++i)
        if (Model::valueOwner(Field(int(i))) == Field(int(i)))
            take(Field(int(i)), FieldOrigin::Program);
}
