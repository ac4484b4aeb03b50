#include "model/StatusTables.h"

namespace Model {

void StatusTables::BuildRangeNames()
{
    RangeNames = {QStringLiteral("Auto"), QStringLiteral("0,5 k"), QStringLiteral("1,5 k"), QStringLiteral(" 5 k"),
                  QStringLiteral("15 k"), QStringLiteral("50 k"), QStringLiteral("150 k"), QStringLiteral("500 k"),
                  QStringLiteral("1,5 M"), QStringLiteral("5 M"), QStringLiteral("???")};
}

void StatusTables::AddMeterScale(int scaleParts, int subParts, const QString &factorText, float endValue, int divisor)
{
    MeterScales.push_back({endValue, scaleParts, subParts, factorText, divisor});
}

void StatusTables::BuildMeterScales()
{
    MeterScales.clear();
    AddMeterScale(5, 4, QStringLiteral(" 1"), 5.0f, 1);
    AddMeterScale(5, 4, QStringLiteral(" 1"), 500.0f, 1);
    AddMeterScale(5, 2, QStringLiteral(" 10"), 150.0f, 10);
    AddMeterScale(5, 4, QStringLiteral(" 1000"), 5.0f, 1000);
    AddMeterScale(5, 2, QStringLiteral(" 1000"), 15.0f, 1000);
    AddMeterScale(5, 4, QStringLiteral(" 1000"), 50.0f, 1000);
    AddMeterScale(5, 2, QStringLiteral(" 1000"), 150.0f, 1000);
    AddMeterScale(5, 4, QStringLiteral(" 1000"), 500.0f, 1000);
    AddMeterScale(5, 2, QStringLiteral(" 1 M"), 1.5f, 1000000);
    AddMeterScale(5, 4, QStringLiteral(" 1 M"), 5.0f, 1000000);
}

void StatusTables::BuildAlarmTexts()
{
    AlarmTextTable = {{
        {QStringLiteral(" "), QStringLiteral(" ")},
        {QStringLiteral("Messwertüberlauf"), QStringLiteral("Range overflow")},
        {QStringLiteral("Akku leer"), QStringLiteral("Accu low")},
        {QStringLiteral("Batterie leer"), QStringLiteral("Batterie low")},
        {QStringLiteral("Fehler Lüfter"), QStringLiteral("Fan Error")},
        {QStringLiteral("DeutscherAlarm5"), QStringLiteral("EnglishAlarm5")},
        {QStringLiteral("DeutscherAlarm6"), QStringLiteral("EnglishAlarm6")},
        {QStringLiteral("DeutscherAlarm7"), QStringLiteral("EnglishAlarm7")},
        {QStringLiteral("Störung Sensor-Bus"), QStringLiteral("Sensor-Bus Error")},
    }};
}

QString StatusTables::RangeName(const QString &indexText) const
{
    bool ok = false;
    int index = indexText.trimmed().toInt(&ok);
    if (!ok || index < 0 || index > 9)
        index = kUnknownRange;
    return RangeNames.value(index, QStringLiteral("???"));
}

const TScale *StatusTables::Scale(int range) const
{
    if (range < 0 || range >= int(MeterScales.size()))
        return nullptr;
    return &MeterScales[std::size_t(range)];
}

void DecodeAlarmMask(const StatusTables &tables, const QString &maskText, DeviceState &state)
{
    bool ok = false;
    int mask = maskText.trimmed().toInt(&ok);
    if (!ok)
        mask = 0;
    if (mask < 0 || mask > 255)
        return;
    const int language = state.ProgramLanguage == 1 ? 1 : 0;
    QStringList texts;
    for (int bit = 0; bit < 8; ++bit)
        if (mask & (1 << bit))
            texts << tables.AlarmTextTable[std::size_t(bit + 1)][std::size_t(language)];
    // status replies come faster than the texts rotate; only a new list restarts the rotation
    if (texts == state.AlarmTexts)
        return;
    state.AlarmTexts = texts;
    state.AlarmCountdown = 0;
}

} // namespace Model
