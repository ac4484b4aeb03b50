#pragma once

#include "measure/TrendBuffer.h"

#include <QWidget>

#include <vector>

// The live values over time in stacked lanes that share one time axis: ions signed by their
// polarity, the analogue input, humidity and temperature. A lane appears once its values do.
// It draws from the buffer at paint time, one min-max stroke per pixel column, so the cost of
// a repaint follows the width, not the number of samples.
class TrendPlot : public QWidget
{
    Q_OBJECT
public:
    enum LaneKind { IonLane, AnalogLane, HumidityLane, TemperatureLane };

    explicit TrendPlot(const Measure::TrendBuffer &buffer, QWidget *parent = nullptr);

    void setLaneTitle(LaneKind lane, const QString &title);
    // the time shown across the width, and the time at the right edge
    void setSpan(qint64 msecs);
    void setEnd(qint64 msecs);
    qint64 span() const { return m_span; }
    qint64 end() const { return m_end; }
    // samples further apart than this are not joined by a line
    void setGapMsecs(qint64 msecs) { m_gap = msecs; }
    void setTimeFormat(const QString &format) { m_timeFormat = format; }
    void setDecimalSeparator(QChar separator) { m_decimalSep = separator; }
    void setEmptyText(const QString &text);

    // the lanes with values, in drawing order
    std::vector<LaneKind> lanes() const;
    QString laneTitle(LaneKind lane) const { return m_titles[lane]; }
    // the newest value of every series, in words: what assistive technology reads out
    QString summary() const;

    static QColor SeriesColour(int series);
    QString seriesName(int series) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<int> laneSeries(LaneKind lane) const;
    QString number(double v, int decimals) const;
    static int decimalsOf(int series);

    const Measure::TrendBuffer &m_buffer;
    QString m_titles[4];
    QString m_emptyText;
    QString m_timeFormat = QStringLiteral("HH:mm:ss");
    QChar m_decimalSep = u'.';
    qint64 m_span = 5 * 60 * 1000;
    qint64 m_end = 0;
    qint64 m_gap = 3000;
    std::vector<Measure::TrendBuffer::Span> m_spans;    // reused between paints
    std::vector<QPointF> m_points;
};
