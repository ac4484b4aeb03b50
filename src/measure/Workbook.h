#pragma once

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
    QStringList categories;
    std::vector<std::optional<QDateTime>> times;    // per category; empty where the row has none
    struct Series
    {
        QString name;
        std::vector<std::optional<double>> values;    // an empty cell is a gap
    };
    std::vector<Series> series;
};

// A worksheet kept in memory and written as an .xlsx file on request. Cells are given as text,
// as one types them: text that reads as a number (blanks around, "." or "," as decimal
// separator) is stored as a number, anything else as text.
class Workbook
{
public:
    struct Cell
    {
        enum Type : quint8 { Empty, Number, Text };
        Type type = Empty;
        double number = 0;
        qint32 text = -1;       // index into the text pool
    };

    void clear();
    // Rows and columns count from 1, as in the worksheet.
    void setCell(int row, int column, const QString &value);
    Cell cell(int row, int column) const;
    QString cellText(int row, int column) const;    // a number as the shortest text that reads back
    int lastRow() const { return int(m_rows.size()); }

    QString author;
    QString caption;            // shown as the workbook's title
    QString sheetName = QStringLiteral("Sheet1");
    QString chartSheetName = QStringLiteral("Chart1");
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
    std::vector<std::vector<Cell>> m_rows;
    std::vector<QString> m_texts;
};

} // namespace Measure
