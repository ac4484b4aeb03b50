#pragma once

#include "measure/ColumnLayout.h"
#include "measure/RecordSink.h"
#include "measure/Workbook.h"

#include <QDateTime>
#include <QString>

namespace Measure {

// The spreadsheet writer: heading at A2-A4, column headings in row 6, one row per record
// from row 7, the chart over what has been written. Counters keep their meaning from the
// heading on, so a chart built while the read runs covers the rows so far.
class SheetExport
{
public:
    int StartRow = 2;
    int StartCol = 1;
    int CurrentRow = 2;
    int HeaderRow = 0;
    int LastCol = 0;
    int RecordCounter = 0;      // 1 after the heading, +1 per row
    QString XAxisTitle;
    QString YAxisTitle;

    // A fresh workbook replaces the previous one: the template filled, or a new one when the
    // template name is empty or names no file. A template that cannot be filled (damaged, not
    // a workbook, encrypted, an old binary one not converted) fails with "Arbeitstabelle konnte
    // nicht geladen werden" in `error`.
    bool StartSpreadsheet(const QString &templateFile, double firstRecordTime, const DisplayFormats &formats,
                          QString *error = nullptr);
    void WriteSheetHeading(const ColumnLayout &layout, double firstRecordTime, const QString &serialNumber,
                           const QString &programVersion, const QString &analogUnit);
    void WriteSheetRow(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                       const DisplayFormats &formats);
    // one record's cells: dates and times from `recordTime`, an empty cell's column passed over
    void WriteSheetRow(double recordTime, const std::vector<QString> &cells, const std::vector<CellKind> &kinds);
    int RowsWritten() const { return RecordCounter > 0 ? RecordCounter - 1 : 0; }

    // Sets up the workbook's chart; false with "Keine Daten verfügbar!" when no row is written
    // or no column but dates and times.
    bool CreateChart(const QString &title, QString *error = nullptr);

    // "folder/QT8800_yyyymmddhhnnss.xlsx" (or the suffix the workbook needs, Workbook::fileSuffix());
    // no folder when the trimmed setting is shorter than two.
    static QString SuggestedSaveName(const QString &folderSetting, const QDateTime &firstRecord,
                                     const QString &suffix = QStringLiteral("xlsx"));
    // The chart title field's text when a read starts.
    static QString DefaultChartTitle(double firstRecordTime);

    Workbook &workbook() { return m_workbook; }
    const Workbook &workbook() const { return m_workbook; }

private:
    Workbook m_workbook;
    int m_categoryColumns = 0;  // leading date and time columns of the heading
};

} // namespace Measure
