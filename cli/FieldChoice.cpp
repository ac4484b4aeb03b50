#include "cli/FieldChoice.h"

#include "measure/FieldSelection.h"

#include <optional>
#include <utility>

namespace Cli {

namespace {

std::optional<Measure::SelectGroup> groupNamed(const QString &name)
{
    using Measure::SelectGroup;
    static const std::pair<const char *, SelectGroup> groups[] = {
        {"all", SelectGroup::All},         {"datetime", SelectGroup::DateTime},
        {"ions", SelectGroup::Ions},       {"analog", SelectGroup::Analog},
        {"sensors", SelectGroup::Sensors}, {"averages", SelectGroup::Averages}};
    for (const auto &[text, group] : groups)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return group;
    return std::nullopt;
}

QString comparable(const QString &text)
{
    return text.simplified().toCaseFolded();
}

} // namespace

FieldChoice ChooseFields(const Measure::MeasureFields &fields, const QString &list)
{
    FieldChoice out;
    const qsizetype count = qsizetype(fields.size());
    QStringList items;
    for (const QString &item : list.split(u','))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    const bool startAll = items.isEmpty() || items.first().startsWith(u'-');
    out.marks = QList<bool>(count, startAll);

    for (const QString &raw : std::as_const(items)) {
        const bool mark = !raw.startsWith(u'-');
        const QString name = mark ? raw : raw.mid(1).trimmed();
        if (const auto group = groupNamed(name)) {
            out.marks = Measure::ApplyGroupButton(fields, out.marks, *group, mark);
            continue;
        }
        bool isNumber = false;
        const int position = name.toInt(&isNumber);
        qsizetype found = -1;
        if (isNumber) {
            if (position >= 1 && position <= count)
                found = position - 1;
        } else {
            for (qsizetype i = 0; i < count && found < 0; ++i)
                if (comparable(fields[std::size_t(i)].Caption) == comparable(name))
                    found = i;
        }
        if (found < 0)
            out.unmatched << raw;
        else
            out.marks[found] = mark;
    }
    return out;
}

} // namespace Cli
