#include "measure/Workbook.h"

#include "measure/RecordParsing.h"
#include "model/FileTargets.h"
#include "model/WholeFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cerrno>

namespace Measure {

namespace {

// libxlsxwriter reads a leading "=" as a formula
QByteArray plainText(const QString &text)
{
    return (text.startsWith(u'=') ? u' ' + text : text).toUtf8();
}

} // namespace

void Workbook::clear()
{
    m_rows.clear();
    m_texts.clear();
    chart.reset();
    author.clear();
    caption.clear();
    Saved = true;
}

void Workbook::setCell(int row, int column, const QString &value)
{
    if (row < 1 || column < 1)
        return;
    if (int(m_rows.size()) < row)
        m_rows.resize(std::size_t(row));
    std::vector<Cell> &cells = m_rows[std::size_t(row) - 1];
    if (int(cells.size()) < column)
        cells.resize(std::size_t(column));
    Cell &c = cells[std::size_t(column) - 1];
    // as typed into a cell: what reads as a number becomes one, the rest stays text
    if (const std::optional<double> number = ToNumber(value)) {
        c.type = Cell::Number;
        c.number = *number;
    } else if (value.isEmpty()) {
        c.type = Cell::Empty;
    } else {
        c.type = Cell::Text;
        if (c.text < 0) {
            c.text = qint32(m_texts.size());
            m_texts.push_back(value);
        } else {
            m_texts[std::size_t(c.text)] = value;
        }
    }
    Saved = false;
}

Workbook::Cell Workbook::cell(int row, int column) const
{
    if (row < 1 || column < 1 || row > int(m_rows.size()))
        return {};
    const std::vector<Cell> &cells = m_rows[std::size_t(row) - 1];
    if (column > int(cells.size()))
        return {};
    return cells[std::size_t(column) - 1];
}

QString Workbook::cellText(int row, int column) const
{
    const Cell c = cell(row, column);
    switch (c.type) {
    case Cell::Number: return QString::number(c.number, 'g', 15);
    case Cell::Text: return m_texts[std::size_t(c.text)];
    case Cell::Empty: break;
    }
    return {};
}

ChartData Workbook::chartData() const
{
    ChartData data;
    if (!chart)
        return data;
    const ChartPlan &s = *chart;
    for (int row = s.headerRow + 1; row <= s.lastRow; ++row) {
        QStringList parts;
        for (int col = s.firstColumn; col < s.firstColumn + s.categoryColumns; ++col)
            parts << cellText(row, col).trimmed();
        data.categories << parts.join(u' ');
    }
    for (int col = s.firstColumn + s.categoryColumns; col <= s.lastColumn; ++col) {
        ChartData::Series series;
        series.name = cellText(s.headerRow, col);
        for (int row = s.headerRow + 1; row <= s.lastRow; ++row) {
            const Cell c = cell(row, col);
            series.values.push_back(c.type == Cell::Number ? std::optional<double>(c.number) : std::nullopt);
        }
        data.series.push_back(std::move(series));
    }
    return data;
}

bool Workbook::write(const QString &path, QString *error) const
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    // the library writes a whole file by name; it goes to a private folder first and is then
    // copied over the target in one replace
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return fail(scratch.errorString());
    const QByteArray scratchFile = QFile::encodeName(scratch.filePath(QStringLiteral("book.xlsx")));
    QByteArray scratchDir = QFile::encodeName(scratch.path());
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;     // rows go out as they are written: memory stays flat
    options.tmpdir = scratchDir.data();
    lxw_workbook *book = workbook_new_opt(scratchFile.constData(), &options);
    if (!book)
        return fail(QStringLiteral("cannot create workbook"));

    QByteArray title = plainText(caption), creator = plainText(author);
    lxw_doc_properties properties = {};
    properties.title = title.data();
    properties.author = creator.data();
    workbook_set_properties(book, &properties);

    const QByteArray sheet = sheetName.toUtf8();
    lxw_worksheet *ws = workbook_add_worksheet(book, sheet.constData());
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        const std::vector<Cell> &cells = m_rows[r];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const Cell &cell = cells[c];
            if (cell.type == Cell::Number)
                worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), cell.number, nullptr);
            else if (cell.type == Cell::Text)
                worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), m_texts[std::size_t(cell.text)].toUtf8().constData(),
                                       nullptr);
        }
    }

    QByteArray chartTitle, xTitle, yTitle;
    const QByteArray chartSheet = chartSheetName.toUtf8();
    if (chart && chart->lastRow > chart->headerRow) {
        const ChartPlan &s = *chart;
        lxw_chart *line = workbook_add_chart(book, LXW_CHART_LINE);
        const lxw_row_t header = lxw_row_t(s.headerRow - 1);
        const lxw_row_t firstData = header + 1, lastData = lxw_row_t(s.lastRow - 1);
        // one category column: the library cannot write a two-level category axis, and the
        // time of day (the date when the time is not taken) is what the records step through
        const int categoryColumn = s.categoryColumns > 0 ? s.firstColumn + s.categoryColumns - 1 : 0;
        for (int col = s.firstColumn + s.categoryColumns; col <= s.lastColumn; ++col) {
            lxw_chart_series *series = chart_add_series(line, nullptr, nullptr);
            if (categoryColumn > 0)
                chart_series_set_categories(series, sheet.constData(), firstData, lxw_col_t(categoryColumn - 1),
                                            lastData, lxw_col_t(categoryColumn - 1));
            chart_series_set_values(series, sheet.constData(), firstData, lxw_col_t(col - 1), lastData,
                                    lxw_col_t(col - 1));
            chart_series_set_name_range(series, sheet.constData(), header, lxw_col_t(col - 1));
        }
        if (!s.title.isEmpty()) {
            chartTitle = plainText(s.title);
            chart_title_set_name(line, chartTitle.constData());
        }
        if (!s.xAxisTitle.isEmpty()) {
            xTitle = plainText(s.xAxisTitle);
            chart_axis_set_name(line->x_axis, xTitle.constData());
        }
        if (!s.yAxisTitle.isEmpty()) {
            yTitle = plainText(s.yAxisTitle);
            chart_axis_set_name(line->y_axis, yTitle.constData());
        }
        for (lxw_chart_axis *axis : {line->x_axis, line->y_axis}) {
            chart_axis_major_gridlines_set_visible(axis, LXW_TRUE);
            chart_axis_minor_gridlines_set_visible(axis, LXW_FALSE);
        }
        const auto spacing = uint16_t(qBound(1, s.tickSpacing, 65535));
        chart_axis_set_interval_unit(line->x_axis, spacing);
        chart_axis_set_interval_tick(line->x_axis, spacing);
        chart_axis_set_position(line->x_axis, LXW_CHART_AXIS_POSITION_BETWEEN);
        lxw_chart_fill white = {};
        white.color = LXW_COLOR_WHITE;
        chart_plotarea_set_fill(line, &white);
        chart_legend_set_position(line, LXW_CHART_LEGEND_TOP);
        lxw_chartsheet *cs = workbook_add_chartsheet(book, chartSheet.constData());
        chartsheet_set_chart(cs, line);
        chartsheet_activate(cs);
    }

    // the library writes with the C library: a full scratch disk leaves its reason in errno
    errno = 0;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR)
        return fail(errno != 0 ? Model::SystemReason(errno) : QString::fromUtf8(lxw_strerror(closed)));

    QFile built(QString::fromLocal8Bit(scratchFile));
    if (!built.open(QIODevice::ReadOnly))
        return fail(built.errorString());
    Model::WholeFile target(path);
    if (!target.open())
        return fail(target.errorText());
    while (!built.atEnd()) {
        const QByteArray chunk = built.read(1 << 20);
        if (chunk.isEmpty())
            return fail(built.errorString());
        if (!target.write(chunk))
            return fail(target.errorText());
    }
    if (!target.commit())
        return fail(target.errorText());
    return true;
}

bool Workbook::SaveAs(const QString &path, QString *error)
{
    if (!write(path, error))
        return false;
    Saved = true;
    return true;
}

QString Workbook::ColumnName(int column)
{
    QString name;
    for (int n = column; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

} // namespace Measure
