#include "model/FieldStore.h"

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

// a span as the time spin edit steps it: hours up to 24, minutes and seconds up to 59
bool spanInRange(const QString &span)
{
    const QStringList parts = span.split(u':');
    for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 3); ++i)
        if (parts[i].trimmed().toInt() > (i == 0 ? 24 : 59))
            return false;
    return true;
}

} // namespace

FieldStore::FieldStore(FieldSlots &fields)
    : m_slots(fields)
{
    m_slots.setView(this);
}

FieldStore::~FieldStore()
{
    if (m_slots.view() == this)
        m_slots.setView(nullptr);
}

FieldStore::Entry *FieldStore::entryFor(Field field)
{
    if (std::size_t(field) >= m_entries.size() || !fieldInfo(field).controlName)
        return nullptr;
    return &m_entries[std::size_t(valueOwner(field))];
}

const FieldStore::Entry *FieldStore::entryFor(Field field) const
{
    return const_cast<FieldStore *>(this)->entryFor(field);
}

QString FieldStore::value(Field field) const
{
    const Entry *entry = entryFor(field);
    return entry ? entry->text : QString();
}

FieldOrigin FieldStore::origin(Field field) const
{
    const Entry *entry = entryFor(field);
    return entry ? entry->origin : FieldOrigin::None;
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
        if (Entry *entry = entryFor(field))
            *entry = {QString::fromLatin1(text), FieldOrigin::None};
}

std::optional<QString> FieldStore::convert(Field field, const QString &text, Slot slot, const Entry &current) const
{
    const bool file = slot == FileSlot;
    const TVComp &info = fieldInfo(field);
    switch (info.kind) {
    case FieldKind::Text:
    case FieldKind::RangeName:
        return text;
    case FieldKind::Date:
        if (const auto date = parseDate(text, std::nullopt))
            return dateText(*date);
        return std::nullopt;
    case FieldKind::ClockTime: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 3);
        if (!time)
            return std::nullopt;
        return time->toString(QStringLiteral("HH:mm:ss"));
    }
    case FieldKind::ItemIndex: {
        const auto n = wholeNumber(text);
        if (!n || *n < 0 || (info.items.count > 0 && *n >= info.items.count))
            return std::nullopt;
        return QString::number(*n);
    }
    case FieldKind::ItemInteger: {
        const auto n = wholeNumber(text);
        if (!n || !offersInteger(info.items, *n))
            return std::nullopt;
        return QString::number(*n);
    }
    case FieldKind::DayMonth: {
        // the instrument sends the start without a year: the one stored stays
        const auto stored = parseDate(current.text, std::nullopt);
        const auto date = parseDate(text, stored ? stored->year() : m_today.year());
        if (!date)
            return std::nullopt;
        return dateText(*date);
    }
    case FieldKind::HourMinute: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 2);
        if (!time)
            return std::nullopt;
        return QTime(time->hour(), time->minute()).toString(QStringLiteral("HH:mm:ss"));
    }
    case FieldKind::Duration: {
        const QString trimmed = text.trimmed();
        if (!ValidDuration(trimmed))
            return std::nullopt;
        // held as the spin edit shows it after the stop was computed: "hhhh:mm", at most 9999 hours
        const QStringList parts = trimmed.split(u':');
        const double days = (parts[0].toInt() * 60.0 + parts.value(1).toInt()) / 1440.0;
        return DurationText(std::min(days, kMaxDurationDays));
    }
    case FieldKind::Decimal: {
        QString s = text;
        if (m_decimalSep == u'.')
            s.replace(u',', m_decimalSep);
        else
            s.replace(u'.', m_decimalSep);
        QString probe = s.trimmed();
        probe.replace(u',', u'.');
        bool ok = false;
        probe.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return s.trimmed();
    }
    case FieldKind::RecordingFlag: {
        // anything but 0 and 1 leaves the state as it was
        const auto n = wholeNumber(text);
        if (n && (*n == 0 || *n == 1))
            return QString::number(*n);
        return current.text;
    }
    case FieldKind::AlarmMask: {
        const auto n = wholeNumber(text);
        const int mask = n.value_or(0);
        if (mask < 0 || mask > 255)
            return current.text;
        return QString::number(mask);
    }
    case FieldKind::Lamp:
        return text.contains(u'1') ? QStringLiteral("1") : QStringLiteral("0");
    case FieldKind::Span: {
        const auto span = ReadSpanText(text, file ? m_timeSep : u':');
        if (!span || !spanInRange(*span))
            return std::nullopt;
        return span;
    }
    default:
        return current.text;
    }
}

void FieldStore::Dat2Form(Field field, Slot slot)
{
    if (slot != FileSlot && slot != TelegramSlot)
        return;
    Entry *entry = entryFor(field);
    if (!entry)
        return;
    const FieldKind kind = fieldInfo(field).kind;
    if (kind == FieldKind::MemoryCleared || kind == FieldKind::ZeroAck) {
        ++m_acks;
        return;
    }
    if (kind == FieldKind::PolarityName)
        return;
    const FieldSlot &f = m_slots[field];
    const std::optional<QString> converted = convert(field, slot == FileSlot ? f.FileText : f.TelegramText, slot, *entry);
    if (!converted) {
        entry->origin = FieldOrigin::Bad;
        m_rejected.append(field);
        return;
    }
    entry->text = *converted;
    entry->origin = slot == FileSlot ? FieldOrigin::File : FieldOrigin::Device;
}

void FieldStore::Form2Dat(Field field, Slot slot)
{
    if (!entryFor(field))
        return;
    const QString stored = value(field);
    QString text;
    switch (fieldInfo(field).kind) {
    case FieldKind::Text:
    case FieldKind::Date:
    case FieldKind::ClockTime:
    case FieldKind::ItemIndex:
    case FieldKind::ItemInteger:
    case FieldKind::HourMinute:
    case FieldKind::Decimal:
    case FieldKind::Span:
        text = stored;
        break;
    case FieldKind::DayMonth:
        text = slot == FileSlot ? stored : stored.left(5);
        break;
    case FieldKind::Duration:
        text = ValidDuration(stored) ? stored : QStringLiteral("0000:00");
        break;
    case FieldKind::RecordingFlag:
        // the request asks for the opposite of what was last reported
        text = RecordingRunning() ? QStringLiteral("0") : QStringLiteral("1");
        break;
    default:
        break;
    }
    FieldSlot &f = m_slots[field];
    if (slot == FileSlot)
        f.FileText = text;
    else if (slot == TelegramSlot)
        f.TelegramText = text;
}

bool FieldStore::setValue(Field field, const QString &text)
{
    Entry *entry = entryFor(field);
    if (!entry)
        return false;
    const std::optional<QString> converted = convert(field, text, FileSlot, *entry);
    if (!converted)
        return false;
    entry->text = *converted;
    entry->origin = FieldOrigin::Set;
    return true;
}

} // namespace Model
