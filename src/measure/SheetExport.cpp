#include "measure/SheetExport.h"

#include "lang/Texts.h"


namespace Measure {

bool SheetExport::StartSpreadsheet(const QString &templateFile, double firstRecordTime, const DisplayFormats &formats,
                                   QString *error)
{
    using namespace Lang;
    m_workbook.clear();
    // no such file: a new workbook; one that cannot be filled is refused rather than dropped
    if (!templateFile.trimmed().isEmpty()) {
        const Xlsx::Book::LoadResult loaded = m_workbook.loadTemplate(templateFile);
        if (loaded != Xlsx::Book::LoadResult::Ok && loaded != Xlsx::Book::LoadResult::Missing) {
            if (error)
                *error = Text(TxSheetCannotLoad);
            return false;
        }
    }
    m_workbook.author = Text(TxWorkbookAuthor);
    const QDateTime first = DaysToDateTime(firstRecordTime);
    m_workbook.caption = Text(TxWorkbookCaptionPrefix) + first.date().toString(formats.dateFormat) + QStringLiteral(" - ")
                         + first.time().toString(formats.timeFormat);
    m_workbook.sheetName = Text(TxSheetName);
    m_workbook.chartSheetName = Text(TxChartSheetName);
    m_workbook.formats = formats;
    m_workbook.firstDate = first.date();
    m_workbook.Saved = true;
    // a new workbook has no rows: a chart asked for before the heading finds none
    CurrentRow = StartRow;
    RecordCounter = 0;
    return true;
}

void SheetExport::WriteSheetHeading(const ColumnLayout &layout, double firstRecordTime, const QString &serialNumber,
                                    const QString &programVersion, const QString &analogUnit)
{
    using namespace Lang;
    CurrentRow = StartRow;
    int row = CurrentRow;
    m_workbook.setCell(row++, StartCol, Text(TxSheetTitlePrefix) + programVersion);
    m_workbook.setCell(row++, StartCol, Text(TxSheetSerialPrefix) + serialNumber);
    m_workbook.setCell(row, StartCol, FormatDateTime(firstRecordTime, Text(TxMeasuredFromPattern)));
    row += 2;
    XAxisTitle.clear();
    YAxisTitle.clear();
    int column = StartCol;
    m_categoryColumns = 0;
    for (const TColumn &c : layout.columns) {
        m_workbook.setCell(row, column, c.heading);
        if (c.kind == KindDate || c.kind == KindTime) {
            XAxisTitle += c.heading + u' ';
            ++m_categoryColumns;
        }
        ++column;
    }
    LastCol = column - 1;
    HeaderRow = row;
    CurrentRow = row + 1;
    RecordCounter = 1;
    if (layout.hasIons)
        YAxisTitle = Text(TxIonUnit);
    if (layout.hasAnalog)
        YAxisTitle += u' ' + analogUnit.trimmed();
}

void SheetExport::WriteSheetRow(const ColumnLayout &layout, const MeasureFields &fields, double recordTime,
                                const DisplayFormats &formats)
{
    std::vector<QString> cells;
    std::vector<CellKind> kinds;
    FillRecordCells(layout, fields, recordTime, formats, cells, kinds);
    WriteSheetRow(recordTime, cells, kinds);
}

void SheetExport::WriteSheetRow(double recordTime, const std::vector<QString> &cells, const std::vector<CellKind> &kinds)
{
    int column = StartCol;
    for (std::size_t i = 0; i < cells.size(); ++i, ++column) {
        // dates and times as values a spreadsheet computes with, shown as the text shows them
        if (kinds[i] == CellKind::Date || kinds[i] == CellKind::Time)
            m_workbook.setDateTime(CurrentRow, column, recordTime, kinds[i] == CellKind::Date ? Xlsx::Cell::Date : Xlsx::Cell::Time);
        // the other polarity's cell stays empty, its column is passed over
        else if (kinds[i] != CellKind::Empty)
            m_workbook.setCell(CurrentRow, column, cells[i]);
    }
    ++CurrentRow;
    ++RecordCounter;
}

bool SheetExport::CreateChart(const QString &title, QString *error)
{
    // no row, or nothing but dates and times: no line to draw
    if (RecordCounter < 2 || LastCol - StartCol + 1 <= m_categoryColumns) {
        if (error)
            *error = Lang::Text(Lang::TxNoDataAvailable);
        return false;
    }
    ChartPlan plan;
    plan.headerRow = HeaderRow;
    plan.firstColumn = StartCol;
    plan.lastColumn = StartCol + LastCol - 1;
    plan.lastRow = HeaderRow + RecordCounter - 1;
    plan.categoryColumns = m_categoryColumns;
    plan.sourceRange = QStringLiteral("%1%2:%3%4")
                           .arg(Workbook::ColumnName(StartCol))
                           .arg(HeaderRow)
                           .arg(Workbook::ColumnName(StartCol + LastCol - 1))
                           .arg(HeaderRow + RecordCounter - 1);
    plan.title = title.trimmed();
    plan.xAxisTitle = XAxisTitle.trimmed();
    plan.yAxisTitle = YAxisTitle.trimmed();
    plan.tickSpacing = RecordCounter < 10 ? RecordCounter : RecordCounter / 10;
    m_workbook.chart = plan;
    m_workbook.Saved = false;
    return true;
}

QString SheetExport::SuggestedSaveName(const QString &folderSetting, const QDateTime &firstRecord, const QString &suffix)
{
    QString folder = folderSetting.trimmed();
    if (folder.size() < 2)
        folder.clear();
    else if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + Lang::Text(Lang::TxExcelFilePrefix) + firstRecord.toString(QStringLiteral("yyyyMMddHHmmss")) + u'.'
           + suffix;
}

QString SheetExport::DefaultChartTitle(double firstRecordTime)
{
    return FormatDateTime(firstRecordTime, Lang::Text(Lang::TxChartTitlePattern));
}

} // namespace Measure
