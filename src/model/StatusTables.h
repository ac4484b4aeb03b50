#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace Model {

struct TScale
{
    float EndValue = 0;
    int ScaleParts = 0;
    int SubParts = 0;
    QString FactorText;
    int Divisor = 1;
};

// Fixed tables that turn the instrument's numbers into what the user sees.
struct StatusTables
{
    static constexpr int kUnknownRange = 10;

    QStringList RangeNames;                         // 0..9, and 10 for anything else
    std::vector<TScale> MeterScales;                // by range index 0..9
    std::array<std::array<QString, 2>, 9> AlarmTextTable;   // [row][language]; row b+1 is alarm bit b

    void BuildRangeNames();
    void AddMeterScale(int scaleParts, int subParts, const QString &factorText, float endValue, int divisor);
    void BuildMeterScales();
    void BuildAlarmTexts();

    // "???" for an index outside 0..9 or a text that is no number
    QString RangeName(const QString &indexText) const;
    const TScale *Scale(int range) const;
};

// What the instrument's status replies leave behind.
struct DeviceState
{
    bool RecordingRunning = false;
    QStringList AlarmTexts;
    int AlarmCountdown = 1000;
    int ProgramLanguage = 0;
    double LastDuration = -1.0;
    double LastEnd = -1.0;
};

// A mask 0..255 replaces the list by the texts of its set bits, bit 0 first; any other
// value keeps it. Text that is no number counts as 0. The countdown restarts only when the
// list changes.
void DecodeAlarmMask(const StatusTables &tables, const QString &maskText, DeviceState &state);

} // namespace Model
