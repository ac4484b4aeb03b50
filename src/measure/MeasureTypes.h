#pragma once

#include <QString>

#include <vector>

namespace Measure {

// One directory entry: what a block's records carry and when they were stored. Date-time
// values are days since 30 December 1899, the time of day as fraction.
struct TBlockHeader
{
    qint32 BlockNr = 0;
    double StartDate = 0;
    double StartTime = 0;
    double Interval = 0;
    qint32 HasAnalog = 0;
    qint32 HumCount = 0;
    qint32 HumMaskLow = 0;
    qint32 HumMaskHigh = 0;
    qint32 TempCount = 0;
    qint32 TempMaskLow = 0;
    qint32 TempMaskHigh = 0;
    double OverwriteCount = 0;
    double FirstRecordTime = 0;
    double RecordTime = 0;
    QString IntervalText;           // the interval token as received, trimmed: the grid shows it so
};

using MeasureDirectory = std::vector<TBlockHeader>;

enum FieldKind : qint32 {
    KindIon = 0,
    KindAnalog = 1,
    KindDate = 2,
    KindTime = 3,
    KindHumidity = 4,
    KindTemperature = 5,
};

// One measurement field of the picked block; its position in MeasureFields is its position
// in the check list and in FieldSelection.
struct TField
{
    qint32 TokenNr = 0;             // 0 for date and time, which are computed
    bool Selected = false;
    QString Caption;
    qint32 Kind = KindIon;
    bool IsMin = false;
    bool IsMax = false;
    float FloatValue = 0;
    qint32 IonValue = 0;
    bool Negative = false;
};

using MeasureFields = std::vector<TField>;

// The largest field list: date, time, three ion, three analog, 16 + 16 sensor fields.
constexpr int kMaxFields = 40;

} // namespace Measure
