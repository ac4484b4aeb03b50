#include "measure/FieldSelection.h"

namespace Measure {

namespace {

bool inGroup(const TField &f, SelectGroup group)
{
    switch (group) {
    case SelectGroup::All: return true;
    case SelectGroup::DateTime: return f.Kind == KindDate || f.Kind == KindTime;
    case SelectGroup::Ions: return f.Kind == KindIon;
    case SelectGroup::Analog: return f.Kind == KindAnalog;
    case SelectGroup::Sensors: return f.Kind == KindHumidity || f.Kind == KindTemperature;
    case SelectGroup::Averages: return f.Kind == KindIon || f.Kind == KindAnalog;
    }
    return false;
}

} // namespace

QList<bool> ApplyGroupButton(const MeasureFields &fields, const QList<bool> &marks, SelectGroup group, bool mark)
{
    QList<bool> out = marks;
    if (fields.empty())
        return out;
    if (out.size() < qsizetype(fields.size()))
        out.resize(qsizetype(fields.size()), false);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const TField &f = fields[i];
        if (!inGroup(f, group))
            continue;
        if (group == SelectGroup::Averages && (f.IsMin || f.IsMax)) {
            // marking the averages takes the extremes away; unmarking leaves them alone
            if (mark)
                out[qsizetype(i)] = false;
            continue;
        }
        out[qsizetype(i)] = mark;
    }
    return out;
}

bool IsUnmarkButton(const QString &senderName, SelectGroup group)
{
    static const char *const names[] = {"btnSelAll0", "btnSelDate0", "btnSelIon0",
                                        "btnSelAna0", "btnSelSensor0", "btnSelAvg0"};
    return senderName == QLatin1String(names[int(group)]);
}

} // namespace Measure
