#include "app/ChartWindow.h"

#include "lang/Texts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QListWidget>
#include <QPainter>
#include <QSet>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

// Forty colours as far apart from each other as colours dark enough for a white plot area
// can be (no two closer than 26 in CIELAB); the first ones are the most distinct.
constexpr std::array<QRgb, 40> kColours = {
    0x0044cc, 0x00cc00, 0xff0000, 0x333311, 0xff88bb, 0x00bbee, 0xccaa00, 0xff00ff, 0x00aa77, 0x552255,
    0x0000ff, 0x770000, 0xccaa88, 0xff8844, 0x9988dd, 0xff0066, 0x990099, 0x557700, 0x115577, 0x885500,
    0xff00aa, 0x885555, 0x9944ff, 0xff77ff, 0x447766, 0xaa1166, 0x88bb00, 0x9999aa, 0xdd6666, 0x99bb77,
    0x004499, 0x009922, 0x00bbbb, 0x004400, 0xcc1122, 0x0000bb, 0x0088ff, 0xaa77ff, 0x777744, 0x440088};

// Line pieces in one chart: each is a series of its own, and a chart slows down with the square
// of its series (2000 take 0.3 s to build, 5000 two seconds)
constexpr int kLinePieces = 2000;

// label steps of a time axis, in seconds
constexpr std::array<double, 21> kTimeSteps = {
    1,     2,     5,     10,    15,    30,          // seconds
    60,    120,   300,   600,   900,   1800,        // minutes
    3600,  7200,  10800, 21600, 43200,              // hours
    86400, 172800, 604800, 1209600};                // days and weeks

struct Tick
{
    double at;
    QString label;
};

// the date and time a row carries as seconds, read as they are written: a time the
// instrument's clock showed twice or never in local time still stands where it belongs
std::optional<double> secondsOf(const std::optional<QDateTime> &when)
{
    if (!when || !when->isValid())
        return std::nullopt;
    return double(QDateTime(when->date(), when->time(), Qt::UTC).toMSecsSinceEpoch()) / 1000.0;
}

// "HH:mm:ss" to "HH:mm": what stands between minutes and seconds goes with the seconds
QString withoutSeconds(QString timeFormat)
{
    const qsizetype seconds = timeFormat.indexOf(u's');
    if (seconds < 0)
        return timeFormat;
    qsizetype end = seconds;
    while (end < timeFormat.size() && timeFormat.at(end) == u's')
        ++end;
    const qsizetype minutes = timeFormat.lastIndexOf(u'm', seconds);
    const qsizetype begin = minutes < 0 ? seconds : minutes + 1;
    return timeFormat.remove(begin, end - begin);
}

// Labels at round times within the range, as many as there are places: the time under the
// date, the date only where it differs from the label before (days apart: the date alone).
std::vector<Tick> timeTicks(double low, double high, int places, const Measure::DisplayFormats &formats)
{
    auto marks = [&](double s) { return int(std::floor(high / s) - std::ceil(low / s)) + 1; };
    double step = 0;
    for (double s : kTimeSteps)
        if (marks(s) <= places) {
            step = s;
            break;
        }
    for (double s = 2 * kTimeSteps.back(); step == 0; s += kTimeSteps.back())
        if (marks(s) <= places)
            step = s;
    const QString timeFormat = step < 60 ? formats.timeFormat : withoutSeconds(formats.timeFormat);
    auto label = [&](double at, const QString &previousDate, const QString &time) {
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(qint64(std::llround(at * 1000)), Qt::UTC);
        const QString date = when.date().toString(formats.dateFormat).toHtmlEscaped();
        if (step >= 86400)
            return std::pair{date, date};
        const QString shown = date == previousDate ? QString() : date;
        return std::pair{date, shown + QStringLiteral("<br>") + when.time().toString(time).toHtmlEscaped()};
    };
    std::vector<Tick> ticks;
    QString lastDate;
    const double first = std::ceil(low / step) * step;
    for (int k = 0; k < marks(step); ++k) {
        const auto [date, text] = label(first + k * step, lastDate, timeFormat);
        ticks.push_back({first + k * step, text});
        lastDate = date;
    }
    // a range too short for any round time: its beginning, to the second
    if (ticks.empty())
        ticks.push_back({low, label(low, QString(), formats.timeFormat).second});
    return ticks;
}

// every n-th category under its text, or its row number where it has none
std::vector<Tick> categoryTicks(const QStringList &categories, int places)
{
    const int count = int(categories.size());
    const int every = std::max(1, (count + places - 1) / places);
    std::vector<Tick> ticks;
    for (int i = 0; i < count; i += every) {
        const QString &text = categories.at(i);
        ticks.push_back({double(i), text.isEmpty() ? QString::number(i + 1) : text.toHtmlEscaped()});
    }
    return ticks;
}

QIcon legendIcon(const QPen &pen)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QPen wide = pen;
    wide.setWidth(3);
    painter.setPen(wide);
    painter.drawLine(1, 6, 23, 6);
    return QIcon(pixmap);
}

struct ValueRange
{
    double low = 0, high = 0;
    bool any = false;
    void take(double v)
    {
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
};

// An empty cell (the other polarity's column, a row without time) ends a line: the runs of
// values in between are lines of their own, a lone value a point.
std::vector<QList<QPointF>> runsOf(const Measure::ChartData::Series &series,
                                   const std::vector<std::optional<double>> &positions, ValueRange &range)
{
    std::vector<QList<QPointF>> runs(1);
    for (std::size_t i = 0; i < series.values.size() && i < positions.size(); ++i) {
        const std::optional<double> &value = series.values[i];
        if (!value || !std::isfinite(*value) || !positions[i]) {
            if (!runs.back().isEmpty())
                runs.emplace_back();
            continue;
        }
        range.take(*value);
        runs.back().append(QPointF(*positions[i], *value));
    }
    return runs;
}

int linesIn(const std::vector<QList<QPointF>> &runs)
{
    return int(std::count_if(runs.begin(), runs.end(), [](const auto &run) { return run.size() > 1; }));
}

void plotRuns(QChart *chart, const QString &name, const QPen &pen, std::vector<QList<QPointF>> &runs, bool lines)
{
    QList<QPointF> points;
    for (QList<QPointF> &run : runs) {
        if (run.size() < 2 || !lines) {
            points.append(run);
            continue;
        }
        auto *line = new QLineSeries;
        line->setName(name);
        line->setPen(pen);
        line->replace(run);
        chart->addSeries(line);
    }
    if (points.isEmpty())
        return;
    // points without a line: a scatter series would make an item of every point
    auto *dots = new QLineSeries;
    dots->setName(name);
    dots->setPen(QPen(pen.color(), pen.widthF(), Qt::NoPen));
    dots->setColor(pen.color());
    dots->setPointsVisible(true);
    dots->setMarkerSize(5);
    dots->replace(points);
    chart->addSeries(dots);
}

// a round range with ticks counted from zero, so that zero reads as 0 and not as a rounding residue
void fitValueAxis(QValueAxis *axis, ValueRange range)
{
    if (!range.any || range.low == range.high) {
        range.low -= 1;
        range.high += 1;
    }
    axis->setRange(range.low, range.high);
    axis->applyNiceNumbers();
    const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10, decimals) - std::round(step * std::pow(10, decimals))) > 1e-6)
        ++decimals;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + u'f');
}

} // namespace

ChartWindow::ChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormChart"));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblChartTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setWordWrap(true);
    QFont titleFont = lblTitle->font();
    if (titleFont.pointSizeF() > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    // a legend that wraps into as many rows as the names need
    lstLegend = new QListWidget(this);
    lstLegend->setObjectName(QStringLiteral("lstLegend"));
    lstLegend->setFlow(QListView::LeftToRight);
    lstLegend->setWrapping(true);
    lstLegend->setResizeMode(QListView::Adjust);
    lstLegend->setSelectionMode(QAbstractItemView::NoSelection);
    lstLegend->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstLegend->setFrameShape(QFrame::NoFrame);
    lstLegend->setIconSize(QSize(24, 12));
    lstLegend->viewport()->setAutoFillBackground(false);

    m_view = new QChartView(new QChart, this);
    m_view->setObjectName(QStringLiteral("chtMeasure"));
    m_view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lblTitle);
    layout->addWidget(lstLegend);
    layout->addWidget(m_view, 1);
    resize(760, 540);
    ApplyLanguageTexts();
}

namespace {

// the words of the catalogue that axis titles are made of, as the current language says them
QStringList axisWords()
{
    return {Lang::Text(Lang::TxFieldDate).trimmed(), Lang::Text(Lang::TxFieldTime).trimmed(),
            Lang::Text(Lang::TxIonUnit).trimmed()};
}

} // namespace

void ChartWindow::ApplyLanguageTexts()
{
    // a chart on screen says its axes in the new language; the analogue unit is the user's own
    const QStringList words = axisWords();
    if (QChart *shown = m_view ? m_view->chart() : nullptr) {
        for (QAbstractAxis *axis : shown->axes()) {
            QStringList parts = axis->titleText().split(u' ');
            for (QString &part : parts)
                if (const qsizetype i = m_axisWords.indexOf(part); i >= 0)
                    part = words.at(i);
            axis->setTitleText(parts.join(u' '));
        }
    }
    m_axisWords = words;
    setWindowTitle(Lang::Text(Lang::TxChartWinCaption));
    lstLegend->setAccessibleName(Lang::Text(Lang::TxChartWinLegend));
    // a chart without a title is the window's
    if (lblTitle->text().isEmpty())
        m_view->setAccessibleName(windowTitle());
}

QChart *ChartWindow::chart() const
{
    return m_view->chart();
}

QPen ChartWindow::SeriesPen(int index)
{
    const int round = index / int(kColours.size());
    QPen pen(QColor::fromRgb(kColours[std::size_t(index) % kColours.size()]), 2);
    pen.setStyle(round == 0 ? Qt::SolidLine : round == 1 ? Qt::DashLine : round == 2 ? Qt::DotLine : Qt::DashDotLine);
    return pen;
}

void ChartWindow::showChart(const Measure::ChartPlan &plan, const Measure::ChartData &data,
                            const Measure::DisplayFormats &formats)
{
    m_formats = formats;
    m_categories = data.categories;
    const std::size_t count = std::size_t(data.categories.size());
    m_positions.assign(count, std::nullopt);
    m_timeAxis = std::any_of(data.times.begin(), data.times.end(), [](const auto &t) { return secondsOf(t); });
    ValueRange span;
    for (std::size_t i = 0; i < count; ++i) {
        m_positions[i] = m_timeAxis ? (i < data.times.size() ? secondsOf(data.times[i]) : std::nullopt)
                                    : std::optional<double>(double(i));
        if (m_positions[i])
            span.take(*m_positions[i]);
    }
    m_first = span.low;
    m_last = span.high;

    auto *chart = new QChart;
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->setVisible(false);
    QLocale numbers = formats.decimalSep == u',' ? QLocale(QLocale::German) : QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(numbers);
    chart->setLocalizeNumbers(true);

    m_xAxis = new QCategoryAxis;
    m_xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisWords = axisWords();
    m_xAxis->setTitleText(plan.xAxisTitle);
    m_xAxis->setGridLineVisible(true);
    m_xAxis->setMinorGridLineVisible(false);
    chart->addAxis(m_xAxis, Qt::AlignBottom);
    m_labelPlaces = 0;

    auto *yAxis = new QValueAxis;
    yAxis->setTitleText(plan.yAxisTitle);
    yAxis->setGridLineVisible(true);
    yAxis->setMinorGridLineVisible(false);
    ValueRange range;
    std::vector<std::vector<QList<QPointF>>> runs;
    for (const Measure::ChartData::Series &series : data.series)
        runs.push_back(runsOf(series, m_positions, range));
    // the series broken least keep their lines; the rest are drawn as points
    std::vector<std::size_t> order(runs.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return linesIn(runs[a]) < linesIn(runs[b]); });
    std::vector<bool> asLines(runs.size(), false);
    int budget = kLinePieces;
    for (std::size_t s : order) {
        asLines[s] = linesIn(runs[s]) <= budget;
        budget -= asLines[s] ? linesIn(runs[s]) : 0;
    }
    lstLegend->clear();
    for (std::size_t s = 0; s < data.series.size(); ++s) {
        const QPen pen = SeriesPen(int(s));
        plotRuns(chart, data.series[s].name, pen, runs[s], asLines[s]);
        auto *entry = new QListWidgetItem(legendIcon(pen), data.series[s].name, lstLegend);
        entry->setFlags(Qt::ItemIsEnabled);
    }
    fitValueAxis(yAxis, range);
    // the value axis joins the chart once its range is known; a series can only take an axis the chart has
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(m_xAxis);
        series->attachAxis(yAxis);
    }

    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
    connect(chart, &QChart::plotAreaChanged, this, &ChartWindow::labelAxis, Qt::QueuedConnection);
    labelAxis();
    m_view->setFocus();         // the legend is there to read, not to start in

    lblTitle->setText(plan.title);
    lblTitle->setVisible(!plan.title.isEmpty());
    fitLegend();
    m_view->setAccessibleName(plan.title.isEmpty() ? windowTitle() : plan.title);
    QStringList names;
    for (const auto &series : data.series)
        names.append(series.name);
    m_view->setAccessibleDescription(names.join(QStringLiteral(", ")));
}

void ChartWindow::labelAxis()
{
    if (!m_xAxis)
        return;
    const QFontMetrics metrics(m_xAxis->labelsFont());
    // the widest line a label can have, and room between two labels
    QStringList samples;
    if (m_timeAxis) {
        const QDateTime sample = QDateTime::fromMSecsSinceEpoch(qint64(m_first * 1000), Qt::UTC);
        samples << sample.date().toString(m_formats.dateFormat) << sample.time().toString(m_formats.timeFormat);
    } else if (!m_categories.isEmpty()) {
        samples << m_categories.first() << m_categories.at(m_categories.size() / 2) << m_categories.last()
                << QString::number(m_categories.size());
    }
    int labelWidth = 0;
    for (const QString &s : samples)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(s));
    labelWidth += metrics.averageCharWidth() * 3;
    const double plotWidth = chart()->plotArea().width() > 0 ? chart()->plotArea().width() : m_view->width() - 120;
    const int places = std::max(2, int(plotWidth / labelWidth));
    if (places == m_labelPlaces)
        return;
    m_labelPlaces = places;

    // a time axis spans the rows' times, a moment at least a minute
    const bool moment = m_last - m_first < 1;
    const double low = m_timeAxis ? (moment ? m_first - 30 : m_first) : 0;
    const double high = m_timeAxis ? (moment ? m_last + 30 : m_last) : std::max(1.0, double(m_categories.size() - 1));
    const std::vector<Tick> ticks = m_timeAxis ? timeTicks(low, high, places, m_formats)
                                               : categoryTicks(m_categories, places);
    for (const QString &label : m_xAxis->categoriesLabels())
        m_xAxis->remove(label);
    // the axis tells its labels apart by their text: a repeated one gets invisible marks
    QSet<QString> used;
    for (const Tick &tick : ticks) {
        QString label = tick.label;
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        m_xAxis->append(label, tick.at);
    }
    m_xAxis->setStartValue(low);
    m_xAxis->setRange(low, high);
    // a label at the right end of the axis stands half beyond it
    QMargins margins = chart()->margins();
    margins.setRight(std::max(margins.left(), labelWidth / 2));
    chart()->setMargins(margins);
}

void ChartWindow::fitLegend()
{
    const QFontMetrics metrics(lstLegend->font());
    int nameWidth = 0;
    for (int i = 0; i < lstLegend->count(); ++i)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(lstLegend->item(i)->text()));
    const QSize cell(lstLegend->iconSize().width() + nameWidth + metrics.averageCharWidth() * 4,
                     std::max(metrics.height(), lstLegend->iconSize().height()) + 6);
    lstLegend->setGridSize(cell);
    const int perRow = std::max(1, (width() - 12) / cell.width());
    const int rows = (lstLegend->count() + perRow - 1) / perRow;
    // many names take up to a third of the window and scroll beyond that
    const int wanted = rows * cell.height() + 2 * lstLegend->frameWidth() + 4;
    lstLegend->setFixedHeight(std::clamp(wanted, cell.height(), std::max(cell.height(), height() / 3)));
    lstLegend->setVisible(lstLegend->count() > 0);
}

void ChartWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitLegend();
}
