#include "measure/TrendBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Measure {

namespace {

constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

void widen(TrendBuffer::Span &span, float v)
{
    if (span.empty) {
        span = {v, v, false};
        return;
    }
    span.min = std::min(span.min, v);
    span.max = std::max(span.max, v);
}

} // namespace

TrendBuffer::TrendBuffer(int capacity)
    : m_ring(std::size_t(std::max(1, capacity)))
{
}

void TrendBuffer::Clear()
{
    m_first = 0;
    m_size = 0;
    m_counts.fill(0);
}

void TrendBuffer::count(const Sample &sample, int delta)
{
    for (std::size_t s = 0; s < sample.values.size(); ++s)
        if (!std::isnan(sample.values[s]))
            m_counts[s] += delta;
}

void TrendBuffer::Add(qint64 msecs, const CurrentValues &values)
{
    Sample sample;
    sample.msecs = msecs;
    sample.values.fill(kNone);
    sample.values[kIons] = float(values.polarity == 1 ? -double(values.ionValue) : double(values.ionValue));
    if (values.analogVolts && std::isfinite(*values.analogVolts))
        sample.values[kAnalog] = *values.analogVolts;
    for (const CurrentValues::Sensor &s : values.sensors)
        if (s.sensor >= 0 && s.sensor < 16 && std::isfinite(s.value) && !SensorMissing(s.humidity, s.value))
            sample.values[std::size_t(s.humidity ? HumiditySeries(s.sensor) : TemperatureSeries(s.sensor))] = s.value;

    if (m_size == capacity()) {
        count(m_ring[std::size_t(m_first)], -1);
        m_ring[std::size_t(m_first)] = sample;
        m_first = (m_first + 1) % capacity();
    } else {
        m_ring[std::size_t((m_first + m_size) % capacity())] = sample;
        ++m_size;
    }
    count(sample, +1);
}

void TrendBuffer::Spans(int series, qint64 from, qint64 to, std::vector<Span> &out, int buckets) const
{
    out.assign(std::size_t(std::max(0, buckets)), Span{});
    if (buckets <= 0 || to <= from || series < 0 || series >= kSeries)
        return;
    const double width = double(to - from) / buckets;
    // newest first: the visible stretch is usually a small tail of the ring
    for (int i = m_size - 1; i >= 0; --i) {
        const Sample &s = at(i);
        if (s.msecs >= to)
            continue;
        if (s.msecs < from)
            break;
        const float v = s.values[std::size_t(series)];
        if (std::isnan(v))
            continue;
        const int bucket = std::min(buckets - 1, int(double(s.msecs - from) / width));
        widen(out[std::size_t(bucket)], v);
    }
}

TrendBuffer::Span TrendBuffer::Range(int series, qint64 from, qint64 to) const
{
    Span span;
    if (series < 0 || series >= kSeries)
        return span;
    for (int i = m_size - 1; i >= 0; --i) {
        const Sample &s = at(i);
        if (s.msecs > to)
            continue;
        if (s.msecs < from)
            break;
        if (const float v = s.values[std::size_t(series)]; !std::isnan(v))
            widen(span, v);
    }
    return span;
}

} // namespace Measure
