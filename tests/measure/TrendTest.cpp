// The trend window's memory of live values, and recordings of them.
#include "FileSizeLimit.h"

#include "measure/LiveRecorder.h"
#include "measure/TrendBuffer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace Measure;

namespace {

CurrentValues values(int ion, int polarity = 0, std::optional<float> volts = std::nullopt,
                     std::vector<CurrentValues::Sensor> sensors = {})
{
    CurrentValues v;
    v.range = 2;
    v.ionValue = ion;
    v.polarity = polarity;
    v.analogVolts = volts;
    v.sensors = std::move(sensors);
    return v;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(TrendBuffer, ADayAtHalfSecondsStaysInItsRing)
{
    TrendBuffer buffer;
    const std::size_t bytes = buffer.bytes();
    EXPECT_LT(bytes, std::size_t(4) << 20);
    // a sensor on the bus for the first hour only
    const int day = 24 * 3600 * 2;
    for (int i = 0; i < day; ++i)
        buffer.Add(qint64(i) * 500, values(i, 0, std::nullopt,
                                           i < 7200 ? std::vector<CurrentValues::Sensor>{{true, 4, 50.0f}}
                                                    : std::vector<CurrentValues::Sensor>{}));
    EXPECT_EQ(buffer.bytes(), bytes);
    ASSERT_EQ(buffer.size(), buffer.capacity());
    EXPECT_EQ(buffer.at(0).msecs, qint64(day - buffer.capacity()) * 500);
    EXPECT_EQ(buffer.newest().msecs, qint64(day - 1) * 500);
    for (int i = 1; i < buffer.size(); ++i)
        ASSERT_EQ(buffer.at(i).msecs - buffer.at(i - 1).msecs, 500) << i;
    // the sensor's samples are gone, and with them its lane
    EXPECT_FALSE(buffer.has(TrendBuffer::HumiditySeries(4)));
    EXPECT_TRUE(buffer.has(TrendBuffer::kIons));
}

TEST(TrendBuffer, SampleHoldsSignedIonsAndOnlyRealReadings)
{
    TrendBuffer buffer(4);
    buffer.Add(1000, values(1520, 1, 2.5f, {{true, 2, 998.5f}, {false, 3, 21.5f}, {true, 16, 40.0f},
                                            {false, 5, 99.9f}}));
    const auto &s = buffer.newest();
    EXPECT_EQ(s.values[TrendBuffer::kIons], -1520.0f);
    EXPECT_EQ(s.values[TrendBuffer::kAnalog], 2.5f);
    EXPECT_EQ(s.values[std::size_t(TrendBuffer::TemperatureSeries(3))], 21.5f);
    // a missing sensor's reading and an address beyond the bus are no values
    EXPECT_TRUE(std::isnan(s.values[std::size_t(TrendBuffer::HumiditySeries(2))]));
    EXPECT_TRUE(std::isnan(s.values[std::size_t(TrendBuffer::TemperatureSeries(5))]));
    EXPECT_FALSE(buffer.has(TrendBuffer::HumiditySeries(2)));
    buffer.Add(1500, values(0));
    EXPECT_TRUE(std::isnan(buffer.newest().values[TrendBuffer::kAnalog]));
    buffer.Clear();
    EXPECT_EQ(buffer.size(), 0);
    EXPECT_FALSE(buffer.has(TrendBuffer::kIons));
}

TEST(TrendBuffer, SpansGiveEachColumnItsMinimumAndMaximum)
{
    TrendBuffer buffer(100);
    // 0..9 s, a value every 500 ms, with no value between 6 and 8 s
    for (int i = 0; i < 20; ++i)
        if (i < 12 || i >= 16)
            buffer.Add(i * 500, values(i * 10));
    std::vector<TrendBuffer::Span> spans;
    buffer.Spans(TrendBuffer::kIons, 2000, 10000, spans, 4);     // 2 s per column
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_FALSE(spans[0].empty);
    EXPECT_EQ(spans[0].min, 40.0f);
    EXPECT_EQ(spans[0].max, 70.0f);
    EXPECT_EQ(spans[1].min, 80.0f);
    EXPECT_EQ(spans[1].max, 110.0f);
    EXPECT_TRUE(spans[2].empty);
    EXPECT_EQ(spans[3].min, 160.0f);
    EXPECT_EQ(spans[3].max, 190.0f);

    const auto range = buffer.Range(TrendBuffer::kIons, 1000, 3000);
    EXPECT_EQ(range.min, 20.0f);
    EXPECT_EQ(range.max, 60.0f);
    EXPECT_TRUE(buffer.Range(TrendBuffer::kAnalog, 0, 10000).empty);
    buffer.Spans(TrendBuffer::kIons, 5000, 5000, spans, 3);
    EXPECT_TRUE(spans[0].empty && spans[2].empty);
}

TEST(LiveRecorder, RowsFollowOneHeadingAndAContinuedFileKeepsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("live.csv");
    DisplayFormats f;
    f.decimalSep = u',';
    const QDateTime t0(QDate(2026, 12, 9), QTime(6, 0, 0, 5));

    LiveRecorder recorder;
    ASSERT_TRUE(recorder.Open(path));
    EXPECT_FALSE(QFile::exists(path));      // nothing yet, so a recording without values leaves no file
    ASSERT_TRUE(recorder.Append(t0, values(1520, 0, 2.5f), "Druck [V]", f));
    ASSERT_TRUE(recorder.Append(t0.addMSecs(500), values(1400, 1, 2.25f), "Druck [V]", f));
    recorder.Close();
    EXPECT_EQ(contents(path), "Datum;Zeit;Messbereich;Ionen;Druck [V]\r\n"
                              "09.12.2026;06:00:00,005;2;1520;2,500\r\n"
                              "09.12.2026;06:00:00,505;2;-1400;2,250\r\n");

    // continued: no second heading while the columns stay; a sensor appearing brings one
    ASSERT_TRUE(recorder.Open(path));
    ASSERT_TRUE(recorder.Append(t0.addSecs(1), values(7, 0, 0.0f), "Druck [V]", f));
    ASSERT_TRUE(recorder.Append(t0.addSecs(2), values(8, 0, 0.0f, {{true, 1, 40.0f}}), "Druck [V]", f));
    EXPECT_EQ(recorder.rows(), 2);
    recorder.Close();
    EXPECT_TRUE(contents(path).endsWith("09.12.2026;06:00:01,005;2;7;0,000\r\n"
                                        "Datum;Zeit;Messbereich;Ionen;Druck [V];F 1\r\n"
                                        "09.12.2026;06:00:02,005;2;8;0,000;40,0\r\n"));
    EXPECT_EQ(contents(path).count("Datum;"), 2);

    // a run with "." decimals gets a heading of its own; a row cut short stays, the next starts below it
    QFile cut(path);
    ASSERT_TRUE(cut.open(QIODevice::Append));
    cut.write("09.12.2026;06:00:03,0");
    cut.close();
    f.decimalSep = u'.';
    ASSERT_TRUE(recorder.Open(path));
    ASSERT_TRUE(recorder.Append(t0.addSecs(4), values(9, 0, 0.0f, {{true, 1, 40.0f}}), "Druck [V]", f));
    recorder.Close();
    EXPECT_TRUE(contents(path).endsWith("09.12.2026;06:00:03,0\r\n"
                                        "Datum;Zeit;Messbereich;Ionen;Druck [V];F 1\r\n"
                                        "09.12.2026;06:00:04.005;2;9;0.000;40.0\r\n"));
}

TEST(LiveRecorder, RefusesWhatItCannotWriteAndSaysWhy)
{
    QTemporaryDir dir;
    LiveRecorder recorder;
    EXPECT_FALSE(recorder.Open(dir.path()));
    EXPECT_EQ(recorder.failure(), LiveRecorder::Failure::NotWritable);
    EXPECT_FALSE(recorder.Open(dir.filePath("no/such/folder/live.csv")));
    EXPECT_EQ(recorder.failure(), LiveRecorder::Failure::NotWritable);
    EXPECT_FALSE(recorder.Open(QString()));
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_FALSE(recorder.Append(QDateTime::currentDateTime(), values(1), "x", {}));

    // another program's file is not continued
    const QString other = dir.filePath("other.csv");
    QFile foreign(other);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("Messdaten Ionomter QT 8800\r\n\r\n");
    foreign.close();
    EXPECT_FALSE(recorder.Open(other));
    EXPECT_EQ(recorder.failure(), LiveRecorder::Failure::NotOurs);
    EXPECT_EQ(contents(other), "Messdaten Ionomter QT 8800\r\n\r\n");

    // a device that takes no bytes: the failure is reported and the recorder closes
    if (QFile::exists("/dev/full") && recorder.Open("/dev/full")) {
        EXPECT_FALSE(recorder.Append(QDateTime::currentDateTime(), values(1), "x", {}));
        EXPECT_EQ(recorder.failure(), LiveRecorder::Failure::WriteFailed);
        EXPECT_FALSE(recorder.failureReason().isEmpty());
        EXPECT_FALSE(recorder.isOpen());
    }

    // a disk that takes part of a row: the row is taken back whole
    const QString live = dir.filePath("live.csv");
    ASSERT_TRUE(recorder.Open(live));
    ASSERT_TRUE(recorder.Append(QDateTime::currentDateTime(), values(1), "x", {}));
    const QByteArray before = contents(live);
    {
        FileSizeLimit limit(rlim_t(before.size()) + 10);
        EXPECT_FALSE(recorder.Append(QDateTime::currentDateTime(), values(2), "x", {}));
    }
    EXPECT_EQ(recorder.failureReason(), "Datei zu groß");
    EXPECT_EQ(contents(live), before);
}
