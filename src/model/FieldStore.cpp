#include "model/FieldStore.h"

#include "model/Recording.h"
#include "model/TimeText.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace Model {

namespace {

// "dd.mm.yyyy"; without a year token (or an empty one) the default year, when there is one
std::optional<QDate> parseDate(const QString &text, std::optional<int> defaultYear)
{
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(u'.');
    if (parts.size() < 2)
        return std::nullopt;
    bool okD = false, okM = false, okY = true;
    const int day = parts[0].toInt(&okD);
    const int month = parts[1].toInt(&okM);
    int year = 0;
    if (parts.size() > 2 && !parts[2].isEmpty())
        year = parts[2].toInt(&okY);
    else if (defaultYear)
        year = *defaultYear;
    else
        okY = false;
    const QDate date(year, month, day);
    if (!okD || !okM || !okY || !date.isValid())
        return std::nullopt;
    return date;
}

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
std::optional<int> itemCount(const QString &control)
{
    static const QHash<QString, int> counts{
        {QStringLiteral("tsRange"), 10},      {QStringLiteral("tsPol"), 2},        {QStringLiteral("tsPolAlter"), 2},
        {QStringLiteral("tsAnaOut"), 4},      {QStringLiteral("tsZeroAtStart"), 2}, {QStringLiteral("tsQTLanguage"), 2},
        {QStringLiteral("tsMemEnd"), 2},      {QStringLiteral("tsAnaIn"), 2},      {QStringLiteral("tsStartMode"), 2}};
    const auto it = counts.constFind(control);
    return it == counts.constEnd() ? std::nullopt : std::optional<int>(*it);
}

bool offersInteger(const QString &control, int n)
{
    // the output selector's items carry 2, 3 and 1
    return control != QLatin1String("tsOutMeas") || n == 1 || n == 2 || n == 3;
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

FieldStore::FieldStore(FieldTable &table)
    : m_table(table)
{
    m_table.setView(this);
}

FieldStore::~FieldStore()
{
    if (m_table.view() == this)
        m_table.setView(nullptr);
}

FieldStore::Entry *FieldStore::entryFor(int field)
{
    if (!m_table.isValid(field) || m_table[field].ControlName.isEmpty())
        return nullptr;
    return &m_entries[m_table[field].ControlName];
}

const FieldStore::Entry *FieldStore::entryFor(int field) const
{
    if (!m_table.isValid(field))
        return nullptr;
    const auto it = m_entries.constFind(m_table[field].ControlName);
    return it == m_entries.constEnd() ? nullptr : &*it;
}

QString FieldStore::value(int field) const
{
    const Entry *entry = entryFor(field);
    return entry ? entry->text : QString();
}

FieldOrigin FieldStore::origin(int field) const
{
    const Entry *entry = entryFor(field);
    return entry ? entry->origin : FieldOrigin::None;
}

bool FieldStore::RecordingRunning() const
{
    return value(24) == QLatin1String("1");
}

QList<int> FieldStore::takeRejected()
{
    return std::exchange(m_rejected, {});
}

void FieldStore::SetPageDefaults()
{
    static const std::pair<int, const char *> defaults[] = {
        {19, "Extern"}, {20, "Volt"}, {21, "0"}, {22, "10"},
        {35, "0"}, {36, "10"}, {37, "10"}, {38, "0"}, {39, "10"}};
    for (const auto &[field, text] : defaults)
        if (Entry *entry = entryFor(field))
            *entry = {QString::fromLatin1(text), FieldOrigin::None};
}

std::optional<QString> FieldStore::convert(int field, const QString &text, int slot, const Entry &current) const
{
    const bool file = slot == FileSlot;
    switch (m_table[field].Kind) {
    case 1:
    case 14:
        return text;
    case 2:
        if (const auto date = parseDate(text, std::nullopt))
            return dateText(*date);
        return std::nullopt;
    case 3: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 3);
        if (!time)
            return std::nullopt;
        return time->toString(QStringLiteral("HH:mm:ss"));
    }
    case 4: {
        const auto n = wholeNumber(text);
        const auto count = itemCount(m_table[field].ControlName);
        if (!n || *n < 0 || (count && *n >= *count))
            return std::nullopt;
        return QString::number(*n);
    }
    case 5: {
        const auto n = wholeNumber(text);
        if (!n || !offersInteger(m_table[field].ControlName, *n))
            return std::nullopt;
        return QString::number(*n);
    }
    case 7: {
        // the instrument sends the start without a year: the one stored stays
        const auto stored = parseDate(current.text, std::nullopt);
        const auto date = parseDate(text, stored ? stored->year() : m_today.year());
        if (!date)
            return std::nullopt;
        return dateText(*date);
    }
    case 8: {
        const auto time = file ? ReadFileTime(text, m_timeSep) : ReadTelegramTime(text, 2);
        if (!time)
            return std::nullopt;
        return QTime(time->hour(), time->minute()).toString(QStringLiteral("HH:mm:ss"));
    }
    case 9: {
        const QString trimmed = text.trimmed();
        if (!ValidDuration(trimmed))
            return std::nullopt;
        // held as the spin edit shows it after the stop was computed: "hhhh:mm", at most 9999 hours
        const QStringList parts = trimmed.split(u':');
        const double days = (parts[0].toInt() * 60.0 + parts.value(1).toInt()) / 1440.0;
        return DurationText(std::min(days, kMaxDurationDays));
    }
    case 10: {
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
    case 11: {
        // anything but 0 and 1 leaves the state as it was
        const auto n = wholeNumber(text);
        if (n && (*n == 0 || *n == 1))
            return QString::number(*n);
        return current.text;
    }
    case 13: {
        const auto n = wholeNumber(text);
        const int mask = n.value_or(0);
        if (mask < 0 || mask > 255)
            return current.text;
        return QString::number(mask);
    }
    case 16:
        return text.contains(u'1') ? QStringLiteral("1") : QStringLiteral("0");
    case 17: {
        const auto span = ReadSpanText(text, file ? m_timeSep : u':');
        if (!span || !spanInRange(*span))
            return std::nullopt;
        return span;
    }
    default:
        return current.text;
    }
}

void FieldStore::Dat2Form(int field, int slot)
{
    if (slot != FileSlot && slot != TelegramSlot)
        return;
    Entry *entry = entryFor(field);
    if (!entry)
        return;
    const int kind = m_table[field].Kind;
    if (kind == 6 || kind == 12) {
        ++m_acks;
        return;
    }
    if (kind == 15)
        return;
    const TVComp &f = m_table[field];
    const std::optional<QString> converted = convert(field, slot == FileSlot ? f.FileText : f.TelegramText, slot, *entry);
    if (!converted) {
        entry->origin = FieldOrigin::Bad;
        m_rejected.append(field);
        return;
    }
    entry->text = *converted;
    entry->origin = slot == FileSlot ? FieldOrigin::File : FieldOrigin::Device;
}

void FieldStore::Form2Dat(int field, int slot)
{
    if (!m_table.isValid(field) || m_table[field].ControlName.isEmpty())
        return;
    const QString stored = value(field);
    QString text;
    switch (m_table[field].Kind) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 10:
    case 17:
        text = stored;
        break;
    case 7:
        text = slot == FileSlot ? stored : stored.left(5);
        break;
    case 9:
        text = ValidDuration(stored) ? stored : QStringLiteral("0000:00");
        break;
    case 11:
        // the request asks for the opposite of what was last reported
        text = RecordingRunning() ? QStringLiteral("0") : QStringLiteral("1");
        break;
    default:
        break;
    }
    TVComp &f = m_table[field];
    if (slot == FileSlot)
        f.FileText = text;
    else if (slot == TelegramSlot)
        f.TelegramText = text;
}

bool FieldStore::setValue(int field, const QString &text)
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
