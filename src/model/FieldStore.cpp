#include "model/FieldStore.h"

#include "model/DayCount.h"
#include "model/Numbers.h"
#include "model/Recording.h"
#include "model/TimeText.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace Model {

namespace {

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

FieldOrigin originOf(Slot slot)
{
    return slot == FileSlot ? FieldOrigin::File : FieldOrigin::Device;
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// The selectors of the configuration pages: what they do not offer, the instrument refuses.
bool offersInteger(const ItemData &items, int n)
{
    if (items.count == 0)
        return true;
    for (int i = 0; i < items.count; ++i)
        if (items.integers[std::size_t(i)] == n)
            return true;
    return false;
}

// a span, not a time of day: any hours (the instrument echoes 25:00:00), minutes and seconds up to 59
bool spanInRange(const QString &span)
{
    const QStringList parts = span.split(u':');
    for (qsizetype i = 1; i < std::min<qsizetype>(parts.size(), 3); ++i)
        if (parts[i].trimmed().toInt() > 59)
            return false;
    return true;
}

} // namespace

// The engine and the configuration files hand texts over through the field table; this view
// passes them to the store and back.
class FieldStore::TableView : public FieldView
{
public:
    TableView(FieldSlots &fields, FieldStore &store)
        : m_slots(fields), m_store(store)
    {
        m_slots.setView(this);
    }
    ~TableView() override
    {
        if (m_slots.view() == this)
            m_slots.setView(nullptr);
    }
    void Dat2Form(Field field, Slot slot) override
    {
        if (slot == FileSlot || slot == TelegramSlot)
            m_store.Dat2Form(field, slot, slot == FileSlot ? m_slots[field].FileText : m_slots[field].TelegramText);
    }
    void Form2Dat(Field field, Slot slot) override
    {
        if (!FieldStore::holds(field))
            return;
        FieldSlot &f = m_slots[field];
        (slot == FileSlot ? f.FileText : f.TelegramText) = m_store.Form2Dat(field, slot);
    }

private:
    FieldSlots &m_slots;
    FieldStore &m_store;
};

FieldStore::FieldStore(QObject *parent)
    : QObject(parent)
{
}

FieldStore::FieldStore(FieldSlots &fields, QObject *parent)
    : QObject(parent), m_view(std::make_unique<TableView>(fields, *this))
{
}

FieldStore::~FieldStore() = default;

bool FieldStore::holds(Field field)
{
    return std::size_t(field) < std::size_t(kFieldCount) && fieldInfo(field).controlName;
}

Fact *FieldStore::factFor(Field field)
{
    return holds(field) ? &m_facts[std::size_t(valueOwner(field))] : nullptr;
}

const Fact &FieldStore::fact(Field field) const
{
    static const Fact none;
    return holds(field) ? m_facts[std::size_t(valueOwner(field))] : none;
}

bool FieldStore::RecordingRunning() const
{
    return value(Field::Recording) == QLatin1String("1");
}

QList<Field> FieldStore::takeRejected()
{
    return std::exchange(m_rejected, {});
}

void FieldStore::SetPageDefaults()
{
    static const std::pair<Field, const char *> defaults[] = {
        {Field::AnalogName, "Extern"}, {Field::AnalogUnit, "Volt"}, {Field::AnalogAtZero, "0"},
        {Field::AnalogAtTen, "10"},    {Field::ScaleBegin, "0"},    {Field::ScaleEnd, "10"},
        {Field::ScaleParts, "10"},     {Field::ValueScaleBegin, "0"}, {Field::ValueScaleEnd, "10"}};
    for (const auto &[field, text] : defaults)
        if (Fact *f = factFor(field)) {
            *f = {QString::fromLatin1(text), FieldOrigin::None, false};
            emit changed(field, FieldOrigin::None);
        }
}

FieldStore::Conversion FieldStore::convert(Field field, const QString &text, Slot slot, const Fact &current) const
{
    const bool file = slot == FileSlot;
    const TVComp &info = fieldInfo(field);
    switch (info.kind) {
    case FieldKind::Text:
    case FieldKind::RangeName:
        return {text};
    case FieldKind::Date:
        if (const auto date = parseDate(text, std::nullopt))
            return {dateText(*date)};
        return {};
    case FieldKind::ClockTime: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 3);
        if (!time)
            return {};
        return {time->toString(QStringLiteral("HH:mm:ss"))};
    }
    case FieldKind::ItemIndex: {
        // no number picks the first item; a number the selector does not offer changes nothing
        const auto n = wholeNumber(text);
        if (!n)
            return {QStringLiteral("0"), true};
        if (*n < 0 || (info.items.count > 0 && *n >= info.items.count))
            return {};
        return {QString::number(*n)};
    }
    case FieldKind::ItemInteger: {
        const auto n = wholeNumber(text);
        if (!n || !offersInteger(info.items, *n))
            return {};
        return {QString::number(*n)};
    }
    case FieldKind::DayMonth: {
        // the instrument sends the start without a year: the one stored stays
        const auto stored = parseDate(current.value, std::nullopt);
        const auto date = parseDate(text, stored ? stored->year() : m_today.year());
        if (!date)
            return {};
        return {dateText(*date)};
    }
    case FieldKind::HourMinute: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 2);
        if (!time)
            return {};
        return {QTime(time->hour(), time->minute()).toString(QStringLiteral("HH:mm:ss"))};
    }
    case FieldKind::Duration: {
        const QString trimmed = text.trimmed();
        if (!ValidDuration(trimmed))
            return {};
        // held as the spin edit shows it after the stop was computed: "hhhh:mm", at most 9999 hours
        const QStringList parts = trimmed.split(u':');
        const double days = (parts[0].toInt() * 60.0 + parts.value(1).toInt()) / 1440.0;
        return {DurationText(std::min(days, kMaxDurationDays))};
    }
    case FieldKind::Decimal: {
        if (!ToNumber(text))
            return {};
        return {NormalizeDecimal(text.trimmed(), m_decimalSep)};
    }
    case FieldKind::RecordingFlag: {
        // anything but 0 and 1 leaves the state as it was
        const auto n = wholeNumber(text);
        if (n && (*n == 0 || *n == 1))
            return {QString::number(*n)};
        return {current.value};
    }
    case FieldKind::AlarmMask: {
        const auto n = wholeNumber(text);
        const int mask = n.value_or(0);
        if (mask < 0 || mask > 255)
            return {current.value};
        return {QString::number(mask)};
    }
    case FieldKind::Lamp:
        return {text.contains(u'1') ? QStringLiteral("1") : QStringLiteral("0")};
    case FieldKind::Span: {
        const auto span = ReadSpanText(text, file ? m_timeSep : u':');
        if (!span || !spanInRange(*span))
            return {};
        return {*span};
    }
    default:
        return {current.value};
    }
}

bool FieldStore::take(Field field, const QString &text, Slot slot, FieldOrigin origin)
{
    Fact *f = factFor(field);
    if (!f)
        return false;
    const Conversion c = convert(field, text, slot, *f);
    const bool bad = c.bad || !c.value;
    // every value from the instrument or a file is shown afresh, also an unchanged one
    const bool incoming = origin == FieldOrigin::Device || origin == FieldOrigin::File;
    if (c.value && (incoming || *c.value != f->value || origin != f->origin || f->bad != bad)) {
        f->value = *c.value;
        f->origin = origin;
        f->bad = bad;
        emit changed(field, origin);
    }
    if (bad) {
        f->bad = true;
        m_rejected.append(field);
        emit rejected(field, text, origin);
    }
    return !bad;
}

void FieldStore::Dat2Form(Field field, Slot slot, const QString &text)
{
    if (!holds(field))
        return;
    const FieldKind kind = fieldInfo(field).kind;
    if (kind == FieldKind::MemoryCleared || kind == FieldKind::ZeroAck) {
        ++m_acks;
        emit acknowledged(field);
        return;
    }
    if (kind == FieldKind::PolarityName)
        return;
    take(field, text, slot, originOf(slot));
}

bool FieldStore::setValue(Field field, const QString &text, FieldOrigin origin)
{
    // typed and given values are checked like file texts
    return take(field, text, FileSlot, origin);
}

QString FieldStore::Form2Dat(Field field, Slot slot) const
{
    if (!holds(field))
        return {};
    const QString stored = value(field);
    switch (fieldInfo(field).kind) {
    case FieldKind::Text:
    case FieldKind::Date:
    case FieldKind::ClockTime:
    case FieldKind::ItemIndex:
    case FieldKind::ItemInteger:
    case FieldKind::HourMinute:
    case FieldKind::Decimal:
    case FieldKind::Span:
        return stored;
    case FieldKind::DayMonth:
        return slot == FileSlot ? stored : stored.left(5);
    case FieldKind::Duration:
        return ValidDuration(stored) ? stored : QStringLiteral("0000:00");
    case FieldKind::RecordingFlag:
        // the request asks for the opposite of what was last reported
        return RecordingRunning() ? QStringLiteral("0") : QStringLiteral("1");
    default:
        return {};
    }
}

} // namespace Model
