#pragma once

#include "measure/ColumnLayout.h"
#include "xlsx/Book.h"
#include "xlsx/SheetCells.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Measure {

// The line chart of a workbook, as the chart step set it up. The parts that never change
// (line chart, major gridlines only, categories between ticks, not reversed, white plot area,
// legend on top) are written as such.
struct ChartPlan
{
    int headerRow = 0;          // worksheet row of the headings (series names)
    int firstColumn = 1;        // 1 = A
    int lastColumn = 1;
    int lastRow = 0;            // last data row covered
    int categoryColumns = 0;    // leading date and time columns: the category axis
    QString sourceRange;        // "A6:D15"; two-letter columns beyond Z
    QString title;              // empty: no title
    QString xAxisTitle;
    QString yAxisTitle;
    int tickSpacing = 1;        // labels and marks on the category axis
};

// The chart's numbers for a window of the program: categories and one series per column.
struct ChartData
{
    QStringList categories;     // the row's date and time as shown, joined by a blank
    std::vector<std::optional<QDateTime>> times;    // per category; empty where the row has none
    struct Series
    {
        QString name;
        std::vector<std::optional<double>> values;    // an empty cell is a gap
    };
    std::vector<Series> series;
};

// The first worksheet kept in memory and written as a workbook file on request, into the
// template it was started from or into a new workbook. Cells are given as text, as one types
// them: text that reads as a number (blanks around, "." or "," as decimal separator) is stored
// as a number, anything else as text. Dates and times are stored as such.
class Workbook
{
public:
    using Cell = Xlsx::Cell;

    // a new, empty workbook without template
    void clear();
    // Starts from a template (.xlsx, .xlsm); on failure the workbook is a new one.
    Xlsx::Book::LoadResult loadTemplate(const QString &path);
    bool hasTemplate() const { return m_book.isTemplate(); }
    // "xlsm" when the template holds macros, else "xlsx"
    QString fileSuffix() const;

    // Rows and columns count from 1, as in the worksheet.
    void setCell(int row, int column, const QString &value);
    // A date (the day of `days`) or a time of day (its fraction), shown in `formats`.
    void setDateTime(int row, int column, double days, Cell::Type type);
    Cell cell(int row, int column) const;
    // a number as the shortest text that reads back; a date or time as `formats` shows it
    QString cellText(int row, int column) const;
    int lastRow() const { return int(m_rows.size()); }

    QString author;
    QString caption;            // shown as the workbook's title
    QString sheetName = QStringLiteral("Sheet1");
    QString chartSheetName = QStringLiteral("Chart1");
    DisplayFormats formats;     // dates and times as the text export shows them
    QDate firstDate;            // the day a time without a date column belongs to
    std::optional<ChartPlan> chart;
    // false once a cell changed since the last save; a new workbook counts as saved
    bool Saved = true;

    ChartData chartData() const;

    // Writes the workbook with its chart; `path` is replaced only when the whole file was
    // written. Does not touch `Saved`.
    bool write(const QString &path, QString *error = nullptr) const;
    // write() that marks the workbook saved on success.
    bool SaveAs(const QString &path, QString *error = nullptr);

    // Worksheet column name: 1 → A, 26 → Z, 27 → AA.
    static QString ColumnName(int column);

private:
    Cell *place(int row, int column);

    std::vector<std::vector<Cell>> m_rows;
    std::vector<QString> m_texts;
    Xlsx::Book m_book;
};

} // namespace Measure
