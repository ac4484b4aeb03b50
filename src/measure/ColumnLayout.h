#pragma once

#include "measure/MeasureTypes.h"
#include "model/DayCount.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Measure {

// How dates, times and decimals are shown; the program's settings at the start of a read.
struct DisplayFormats
{
    QString dateFormat = QStringLiteral("dd.MM.yyyy");     // Qt pattern of the system's short date
    QString timeFormat = QStringLiteral("HH:mm:ss");       // always with seconds
    QChar decimalSep = u'.';
};

// One output column: which field it shows and, in two-column mode, which polarity.
struct TColumn
{
    enum Polarity { Any, NegativeOnly, PositiveOnly };
    int field = 0;              // position in MeasureFields
    qint32 kind = KindIon;
    Polarity polarity = Any;
    QString heading;            // date and time untrimmed, the others trimmed
};

// The columns both outputs derive from the fields selected when a block is read.
struct ColumnLayout
{
    std::vector<TColumn> columns;
    bool twoColumns = false;
    bool hasIons = false;
    bool hasAnalog = false;
};
ColumnLayout BuildColumnLayout(const MeasureFields &fields, bool twoColumns);

// Day counts and calendar time without a time zone: a stamp never moves with daylight saving.
using Model::DateTimeToDays;
using Model::DaysToDateTime;

// The date and the time of day of a day count as the outputs show them.
QString DateText(double days, const DisplayFormats &formats);
QString TimeText(double days, const DisplayFormats &formats);

// A date-time through a pattern with quoted literals ("'Messwerte vom: 'dd.MM.yyyy ...").
QString FormatDateTime(double days, const QString &pattern);

// The value of one column for the record in `fields` at `recordTime`; nothing for the column
// of the other polarity in two-column mode. `sheet` selects the spreadsheet's widths.
std::optional<QString> ColumnValue(const TColumn &column, const MeasureFields &fields, double recordTime,
                                   const DisplayFormats &formats, bool twoColumns, bool sheet);

// The heading lines of a text read; an empty serial number leaves its line out.
QStringList TextHeadingLines(const ColumnLayout &layout, double firstRecordTime, const QString &serialNumber);
// One record as a ";"-separated line: one ";" between neighbours, also around empty columns.
QString TextRow(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                const DisplayFormats &formats);

// Directory grid cells of one entry, in column order.
QStringList DirectoryRowTexts(const TBlockHeader &header, const DisplayFormats &formats);
// Directory grid headings.
QStringList DirectoryHeadings();

} // namespace Measure
