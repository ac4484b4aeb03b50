#pragma once

#include "measure/CurrentValues.h"

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <vector>

namespace Measure {

// The live values of the trend window over time. A ring of fixed size: polling every 0.5 s
// for a day must not grow memory, so the oldest samples make room for the newest.
class TrendBuffer
{
public:
    // the series a sample can carry
    static constexpr int kIons = 0;
    static constexpr int kAnalog = 1;
    static constexpr int kFirstHumidity = 2;      // humidity sensors 0..F
    static constexpr int kFirstTemperature = 18;  // temperature sensors 0..F
    static constexpr int kSeries = 34;
    static constexpr int kDefaultCapacity = 14400; // two hours at 0.5 s

    static int HumiditySeries(int sensor) { return kFirstHumidity + sensor; }
    static int TemperatureSeries(int sensor) { return kFirstTemperature + sensor; }

    struct Sample
    {
        qint64 msecs = 0;                       // since the epoch, as received
        std::array<float, kSeries> values{};    // NaN where the reply had no value
    };

    // min and max of one series over a slice of time; empty when no value fell into it
    struct Span
    {
        float min = 0, max = 0;
        bool empty = true;
    };

    explicit TrendBuffer(int capacity = kDefaultCapacity);

    // The ion value is signed by its polarity; a sensor that reports itself missing is no value.
    void Add(qint64 msecs, const CurrentValues &values);
    void Clear();

    int size() const { return m_size; }
    int capacity() const { return int(m_ring.size()); }
    // oldest first
    const Sample &at(int i) const { return m_ring[std::size_t((m_first + i) % capacity())]; }
    const Sample &newest() const { return at(m_size - 1); }
    // the series that had a value in any sample still held
    bool has(int series) const { return m_counts[std::size_t(series)] > 0; }
    // memory the samples take; fixed at construction
    std::size_t bytes() const { return m_ring.capacity() * sizeof(Sample); }

    // `buckets` equal slices of [from, to): what a plot needs to draw one pixel column each
    void Spans(int series, qint64 from, qint64 to, std::vector<Span> &out, int buckets) const;
    // min and max of a series over [from, to]
    Span Range(int series, qint64 from, qint64 to) const;

private:
    void count(const Sample &sample, int delta);

    std::vector<Sample> m_ring;
    int m_first = 0;
    int m_size = 0;
    std::array<int, kSeries> m_counts{};
};

} // namespace Measure
