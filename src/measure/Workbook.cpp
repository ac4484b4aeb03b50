#include "measure/Workbook.h"

#include "measure/RecordParsing.h"
#include "model/WholeFile.h"
#include "xlsx/StyleBook.h"

#include <QTemporaryFile>

#include <algorithm>
#include <cmath>


namespace Measure {

namespace {

// The zip's headers are filled in after each part, so the package is written through a device
// that can seek: the temporary file a file target is written to, with the system's reason for
// a write that fails.
class WholeFileDevice : public QIODevice
{
public:
    explicit WholeFileDevice(Model::WholeFile &file) : m_file(file) { QIODevice::open(WriteOnly | Unbuffered); }
    qint64 size() const override { return m_size; }
    bool seek(qint64 position) override
    {
        if (QIODevice::seek(position) && m_file.seek(position))
            return true;
        setErrorString(m_file.errorText());
        return false;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (!m_file.write(QByteArrayView(data, length))) {
            setErrorString(m_file.errorText());
            return -1;
        }
        m_size = std::max(m_size, pos() + length);
        return length;
    }

private:
    Model::WholeFile &m_file;
    qint64 m_size = 0;
};

} // namespace

void Workbook::clear()
{
    m_rows.clear();
    m_texts.clear();
    m_book.reset();
    chart.reset();
    author.clear();
    caption.clear();
    firstDate = {};
    Saved = true;
}

Xlsx::Book::LoadResult Workbook::loadTemplate(const QString &path)
{
    return m_book.load(path);
}

QString Workbook::fileSuffix() const
{
    return m_book.hasMacros() ? QStringLiteral("xlsm") : QStringLiteral("xlsx");
}

Workbook::Cell *Workbook::place(int row, int column)
{
    // beyond what a spreadsheet holds nothing is kept: the file would not open
    if (row < 1 || column < 1 || row > Xlsx::kMaxRows || column > Xlsx::kMaxColumns)
        return nullptr;
    if (int(m_rows.size()) < row)
        m_rows.resize(std::size_t(row));
    std::vector<Cell> &cells = m_rows[std::size_t(row) - 1];
    if (int(cells.size()) < column)
        cells.resize(std::size_t(column));
    Saved = false;
    return &cells[std::size_t(column) - 1];
}

void Workbook::setCell(int row, int column, const QString &value)
{
    Cell *c = place(row, column);
    if (!c)
        return;
    // as typed into a cell: what reads as a number becomes one, the rest stays text
    if (const std::optional<double> number = ToNumber(value)) {
        c->type = Cell::Number;
        c->number = *number;
    } else if (value.isEmpty()) {
        c->type = Cell::Empty;
    } else {
        c->type = Cell::Text;
        if (c->text < 0) {
            c->text = qint32(m_texts.size());
            m_texts.push_back(value);
        } else {
            m_texts[std::size_t(c->text)] = value;
        }
    }
}

void Workbook::setDateTime(int row, int column, double days, Cell::Type type)
{
    Cell *c = place(row, column);
    if (!c)
        return;
    // whole milliseconds, as the text shows them
    const double ms = std::round(days * 86400000.0);
    const double day = std::floor(ms / 86400000.0);
    c->type = type;
    c->number = type == Cell::Date ? day : (ms - day * 86400000.0) / 86400000.0;
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
    case Cell::Date: return DateText(c.number, formats);
    case Cell::Time: return TimeText(c.number, formats);
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
    // a time of day without a date column: from the first record's day on, a day later each
    // time the clock goes back (the block ran over midnight)
    double day = firstDate.isValid() ? DateTimeToDays(QDateTime(firstDate, QTime(0, 0), Qt::UTC)) : 0;
    double lastTime = -1;
    for (int row = s.headerRow + 1; row <= s.lastRow; ++row) {
        QStringList parts;
        std::optional<double> date, time;
        for (int col = s.firstColumn; col < s.firstColumn + s.categoryColumns; ++col) {
            const Cell c = cell(row, col);
            if (c.type == Cell::Date)
                date = c.number;
            else if (c.type == Cell::Time)
                time = c.number;
            parts << cellText(row, col).trimmed();
        }
        data.categories << parts.join(u' ');
        if (date) {
            data.times.emplace_back(DaysToDateTime(*date + time.value_or(0)));
        } else if (time) {
            if (*time < lastTime)
                day += 1;
            lastTime = *time;
            data.times.emplace_back(DaysToDateTime(day + *time));
        } else {
            data.times.emplace_back(std::nullopt);
        }
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
    Xlsx::Book::Content content;
    content.author = author;
    content.title = caption;
    content.sheetName = sheetName;
    content.chartSheetName = chartSheetName;
    content.dateFormat = Xlsx::NumberFormatCode(formats.dateFormat);
    content.timeFormat = Xlsx::NumberFormatCode(formats.timeFormat);
    content.cells = {&m_rows, &m_texts};
    if (chart && chart->lastRow > chart->headerRow) {
        Xlsx::ChartSpec plot;
        plot.headerRow = chart->headerRow;
        plot.firstColumn = chart->firstColumn;
        plot.lastColumn = chart->lastColumn;
        plot.lastRow = chart->lastRow;
        plot.categoryColumns = chart->categoryColumns;
        plot.title = chart->title;
        plot.xAxisTitle = chart->xAxisTitle;
        plot.yAxisTitle = chart->yAxisTitle;
        plot.tickSpacing = chart->tickSpacing;
        content.chart = plot;
    }

    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    Model::WholeFile target(path);
    if (!target.open())
        return fail(target.errorText());
    QString reason;
    if (target.canSeek()) {
        WholeFileDevice device(target);
        if (!m_book.save(device, path, content, &reason))
            return fail(reason);
        return target.commit() || fail(target.errorText());
    }
    // a pipe or standard output: the package is built in a scratch file and then sent
    QTemporaryFile scratch;
    if (!scratch.open() || !m_book.save(scratch, path, content, &reason) || !scratch.seek(0))
        return fail(reason.isEmpty() ? scratch.errorString() : reason);
    while (!scratch.atEnd()) {
        const QByteArray chunk = scratch.read(1 << 20);
        if (chunk.isEmpty())
            return fail(scratch.errorString());
        if (!target.write(chunk))
            return fail(target.errorText());
    }
    return target.commit() || fail(target.errorText());
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
