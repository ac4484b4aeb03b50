#include "app/TrendPlot.h"
#include "lang/Texts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDateTime>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

using Measure::TrendBuffer;

namespace {

constexpr int kAxisWidth = 64;
constexpr int kTimeAxisHeight = 22;
constexpr int kLaneGap = 6;
constexpr int kTitleHeight = 18;

// a step of 1, 2 or 5 times a power of ten that gives about `parts` divisions
double niceStep(double range, int parts)
{
    const double raw = range / std::max(1, parts);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return m * power;
    return 10.0 * power;
}

qint64 timeStep(qint64 span, int width)
{
    static const std::array<qint64, 13> steps{1000,      2000,      5000,       10000,      15000,
                                              30000,     60000,     120000,     300000,     600000,
                                              900000,    1800000,   3600000};
    const int maxTicks = std::max(1, width / 90);
    for (qint64 s : steps)
        if (span / s <= maxTicks)
            return s;
    return steps.back();
}

// The plot is read as a chart whose value is the newest reading of each series.
class TrendPlotAccessible : public QAccessibleWidget
{
public:
    explicit TrendPlotAccessible(TrendPlot *plot)
        : QAccessibleWidget(plot, QAccessible::Chart)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        auto *plot = static_cast<TrendPlot *>(widget());
        if (t == QAccessible::Value)
            return plot->summary();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *trendPlotFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TrendPlot") && object && object->isWidgetType())
        return new TrendPlotAccessible(static_cast<TrendPlot *>(object));
    return nullptr;
}

} // namespace

TrendPlot::TrendPlot(const TrendBuffer &buffer, QWidget *parent)
    : QWidget(parent)
    , m_buffer(buffer)
{
    static const bool installed = [] {
        QAccessible::installFactory(trendPlotFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("trendPlot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(320, 200);
}

void TrendPlot::setLaneTitle(LaneKind lane, const QString &title)
{
    m_titles[lane] = title;
    update();
}

void TrendPlot::setSpan(qint64 msecs)
{
    m_span = std::max<qint64>(1000, msecs);
    update();
}

void TrendPlot::setEnd(qint64 msecs)
{
    m_end = msecs;
    update();
}

void TrendPlot::setEmptyText(const QString &text)
{
    m_emptyText = text;
    update();
}

QColor TrendPlot::SeriesColour(int series)
{
    static const std::array<QColor, 16> sensors{
        QColor(0, 114, 178),  QColor(213, 94, 0),   QColor(0, 158, 115),  QColor(204, 121, 167),
        QColor(230, 159, 0),  QColor(86, 180, 233), QColor(120, 60, 20),  QColor(100, 100, 100),
        QColor(0, 60, 120),   QColor(160, 40, 40),  QColor(0, 110, 80),   QColor(140, 70, 140),
        QColor(170, 120, 0),  QColor(40, 130, 170), QColor(90, 90, 0),    QColor(0, 0, 0)};
    if (series == TrendBuffer::kIons)
        return QColor(0, 0, 160);
    if (series == TrendBuffer::kAnalog)
        return QColor(160, 0, 0);
    return sensors[std::size_t((series - TrendBuffer::kFirstHumidity) % 16)];
}

QString TrendPlot::seriesName(int series) const
{
    if (series == TrendBuffer::kIons)
        return m_titles[IonLane];
    if (series == TrendBuffer::kAnalog)
        return m_titles[AnalogLane];
    const bool humidity = series < TrendBuffer::kFirstTemperature;
    const int sensor = series - (humidity ? TrendBuffer::kFirstHumidity : TrendBuffer::kFirstTemperature);
    return Lang::Text(humidity ? Lang::TxFieldHumidityPrefix : Lang::TxFieldTemperaturePrefix)
           + QString::number(sensor, 16).toUpper();
}

std::vector<int> TrendPlot::laneSeries(LaneKind lane) const
{
    std::vector<int> series;
    switch (lane) {
    case IonLane: series.push_back(TrendBuffer::kIons); break;
    case AnalogLane: series.push_back(TrendBuffer::kAnalog); break;
    case HumidityLane:
        for (int s = 0; s < 16; ++s)
            series.push_back(TrendBuffer::HumiditySeries(s));
        break;
    case TemperatureLane:
        for (int s = 0; s < 16; ++s)
            series.push_back(TrendBuffer::TemperatureSeries(s));
        break;
    }
    std::erase_if(series, [this](int s) { return !m_buffer.has(s); });
    return series;
}

std::vector<TrendPlot::LaneKind> TrendPlot::lanes() const
{
    std::vector<LaneKind> shown{IonLane};
    for (LaneKind lane : {AnalogLane, HumidityLane, TemperatureLane})
        if (!laneSeries(lane).empty())
            shown.push_back(lane);
    return shown;
}

QString TrendPlot::number(double v, int decimals) const
{
    QString text = QString::number(v, 'f', decimals);
    if (m_decimalSep != u'.')
        text.replace(u'.', m_decimalSep);
    return text;
}

int TrendPlot::decimalsOf(int series)
{
    return series == TrendBuffer::kIons ? 0 : series == TrendBuffer::kAnalog ? 3 : 1;
}

QString TrendPlot::summary() const
{
    if (m_buffer.size() == 0)
        return m_emptyText;
    const TrendBuffer::Sample &newest = m_buffer.newest();
    QStringList parts;
    for (LaneKind lane : lanes())
        for (int series : laneSeries(lane)) {
            const float v = newest.values[std::size_t(series)];
            if (std::isnan(v))
                continue;
            parts << seriesName(series) + QStringLiteral(": ") + number(v, decimalsOf(series));
        }
    parts << QDateTime::fromMSecsSinceEpoch(newest.msecs).time().toString(m_timeFormat);
    return parts.join(QStringLiteral("; "));
}

void TrendPlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const std::vector<LaneKind> shown = lanes();
    const QRect area = rect().adjusted(kAxisWidth, 4, -8, -kTimeAxisHeight);
    if (area.width() < 10 || area.height() < 10)
        return;
    const qint64 from = m_end - m_span;
    const QFontMetrics metrics(font());
    p.setFont(font());

    // the time axis with a grid line at every tick
    const qint64 step = timeStep(m_span, area.width());
    auto xOf = [&](qint64 t) { return area.left() + double(t - from) * area.width() / double(m_span); };
    p.setPen(QColor(225, 225, 225));
    for (qint64 t = (from / step + 1) * step; t <= m_end; t += step)
        p.drawLine(QPointF(xOf(t), area.top()), QPointF(xOf(t), area.bottom()));
    p.setPen(Qt::black);
    for (qint64 t = (from / step + 1) * step; t <= m_end; t += step) {
        const QString label = QDateTime::fromMSecsSinceEpoch(t).time().toString(m_timeFormat);
        const int w = metrics.horizontalAdvance(label);
        const double x = std::clamp(xOf(t) - w / 2.0, double(area.left() - kAxisWidth / 2), double(width() - w - 2));
        p.drawText(QPointF(x, area.bottom() + metrics.ascent() + 4), label);
    }

    const int laneCount = int(shown.size());
    const int laneHeight = (area.height() - kLaneGap * (laneCount - 1)) / laneCount;
    for (int li = 0; li < laneCount; ++li) {
        const LaneKind lane = shown[std::size_t(li)];
        const QRect box(area.left(), area.top() + li * (laneHeight + kLaneGap), area.width(), laneHeight);
        const QRect plot = box.adjusted(0, kTitleHeight, 0, 0);
        p.setPen(QColor(160, 160, 160));
        p.drawRect(plot.adjusted(0, 0, -1, -1));
        const std::vector<int> series = laneSeries(lane);

        // the title, then each series' newest value in its colour, named where a lane has several
        p.setPen(Qt::black);
        const int baseline = box.top() + metrics.ascent() + 2;
        int x = box.left() + 4;
        p.drawText(QPoint(x, baseline), m_titles[lane]);
        x += metrics.horizontalAdvance(m_titles[lane]) + 12;
        const bool sensors = lane == HumidityLane || lane == TemperatureLane;
        for (int s : series) {
            const float latest = m_buffer.size() ? m_buffer.newest().values[std::size_t(s)] : std::nanf("");
            QString text = sensors ? seriesName(s) : QString();
            if (!std::isnan(latest))
                text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + number(latest, decimalsOf(s));
            if (text.isEmpty())
                continue;
            p.setPen(SeriesColour(s));
            p.drawText(QPoint(x, baseline), text);
            x += metrics.horizontalAdvance(text) + 10;
        }

        Measure::TrendBuffer::Span range;
        for (int s : series) {
            const auto r = m_buffer.Range(s, from, m_end);
            if (r.empty)
                continue;
            range = range.empty ? r : Measure::TrendBuffer::Span{std::min(range.min, r.min), std::max(range.max, r.max), false};
        }
        if (range.empty) {
            if (lane == IonLane && !m_emptyText.isEmpty()) {
                p.setPen(Qt::darkGray);
                p.drawText(plot, Qt::AlignCenter, m_emptyText);
            }
            continue;
        }
        double low = range.min, high = range.max;
        if (lane == IonLane) {          // the zero line tells the polarity
            low = std::min(low, 0.0);
            high = std::max(high, 0.0);
        }
        if (high - low < 1e-6) {
            const double pad = std::max(1.0, std::abs(high) * 0.1);
            low -= pad;
            high += pad;
        }
        const double tick = niceStep(high - low, std::max(2, plot.height() / 40));
        low = std::floor(low / tick) * tick;
        high = std::ceil(high / tick) * tick;
        auto yOf = [&](double v) { return plot.bottom() - (v - low) * (plot.height() - 1) / (high - low); };
        const int decimals = tick >= 1 ? 0 : int(std::ceil(-std::log10(tick)));
        for (double v = low; v <= high + tick / 2; v += tick) {
            const double y = yOf(v);
            p.setPen(std::abs(v) < tick / 2 && lane == IonLane ? QColor(120, 120, 120) : QColor(230, 230, 230));
            p.drawLine(QPointF(plot.left() + 1, y), QPointF(plot.right() - 1, y));
            p.setPen(Qt::black);
            const QString label = number(std::abs(v) < tick / 2 ? 0.0 : v, decimals);
            p.drawText(QRectF(0, y - metrics.height() / 2.0, kAxisWidth - 6, metrics.height()),
                       Qt::AlignRight | Qt::AlignVCenter, label);
        }

        // one stroke per pixel column; a gap in time breaks the line
        p.save();
        p.setClipRect(plot.adjusted(1, 1, -1, -1));
        const int columns = plot.width();
        const double columnMs = double(m_span) / columns;
        const int gapColumns = std::max(2, int(std::ceil(double(m_gap) / columnMs)));
        for (int s : series) {
            m_buffer.Spans(s, from, m_end, m_spans, columns);
            // a cosmetic one-pixel pen keeps the raster engine on its fast line path
            QPen pen(SeriesColour(s), 1);
            pen.setCosmetic(true);
            p.setPen(pen);
            m_points.clear();
            int last = -gapColumns - 1;
            for (int c = 0; c < columns; ++c) {
                const auto &span = m_spans[std::size_t(c)];
                if (span.empty)
                    continue;
                const double px = plot.left() + c + 0.5;
                if (c - last > gapColumns) {
                    if (!m_points.empty())
                        p.drawPolyline(m_points.data(), int(m_points.size()));
                    m_points.clear();
                    m_points.emplace_back(px - 1, yOf(span.max));   // a lone sample shows too
                }
                m_points.emplace_back(px, yOf(span.max));
                if (span.min != span.max)
                    m_points.emplace_back(px, yOf(span.min));
                last = c;
            }
            if (!m_points.empty())
                p.drawPolyline(m_points.data(), int(m_points.size()));
        }
        p.restore();
    }
}
