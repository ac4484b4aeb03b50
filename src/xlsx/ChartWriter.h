#pragma once

#include "xlsx/XmlNode.h"

#include <QByteArray>
#include <QString>

namespace Xlsx {

// A line chart over a block of the first worksheet: the heading row names the series, the
// leading date and time columns are the categories (two columns give two-level categories:
// the date over the time of day), every further column is a series.
struct ChartSpec
{
    QString sheetName;
    int headerRow = 0;
    int firstColumn = 1;
    int lastColumn = 1;
    int lastRow = 0;
    int categoryColumns = 0;
    QString title;              // empty: none
    QString xAxisTitle;
    QString yAxisTitle;
    int tickSpacing = 1;

    // "Tabelle1!$C$6", "'Mess daten'!$A$7:$B$9"
    QString reference(int column, int row, int lastColumn = 0, int lastRow = 0) const;
};

class ChartWriter
{
public:
    // The chart part of a new chart: line chart, major gridlines only, categories between the
    // ticks, white plot area, legend on top, empty cells as gaps.
    static QByteArray NewChart(const ChartSpec &spec);

    // Points the first chart group of a template's chart at the new rows: one series per
    // column, the n-th keeping the look of the template's n-th series; titles, if given, and
    // the tick spacing. The rest of the chart stays. False when the part holds no chart group.
    static bool Retarget(XmlNode &chartSpace, const ChartSpec &spec);
};

} // namespace Xlsx
