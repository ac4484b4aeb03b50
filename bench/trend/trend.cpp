// Processor time of the trend window with live values every 0.5 s from the stand-in process,
// the device view's own switch off so the window is what keeps them coming; then the memory
// a day of values at 0.5 s takes when fed straight in.
#include "app/TForm1.h"
#include "common/WindowSupport.h"
#include "app/TrendPlot.h"
#include "app/TrendWindow.h"
#include "common/BenchSupport.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    return Bench::runWindow(argc, argv, [](TForm1 &window, const QTemporaryDir &base, int seconds) {
        int rc = 0;
        TrendWindow *trend = window.trendWindow();
        trend->setSpanIndex(0);                 // one minute: the densest picture
        window.showTrend();
        trend->StartRecording(base.filePath("live.csv"));
        Bench::idleFor(2000);

        const int before = trend->buffer().size();
        const double cpu0 = Bench::cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        Bench::idleFor(seconds * 1000);
        const double cpu = Bench::cpuSeconds() - cpu0;
        const double elapsed = double(wall.elapsed()) / 1000.0;
        const int arrived = trend->buffer().size() - before;
        std::printf("trend_cpu_pct: %.2f\n", 100.0 * cpu / elapsed);
        std::printf("trend_values_per_s: %.2f\n", arrived / elapsed);
        if (arrived < seconds || trend->recordedRows() < arrived) {
            std::fprintf(stderr, "live values did not arrive or were not recorded (%d values, %lld rows)\n",
                         arrived, static_cast<long long>(trend->recordedRows()));
            rc = 1;
        }
        trend->close();

        // a day at 0.5 s, straight into the window: the ring is full long before the end
        Measure::CurrentValues v;
        v.range = 2;
        v.analogVolts = 2.5f;
        v.sensors = {{true, 3, 45.6f}, {false, 3, 21.5f}};
        const double rss0 = Bench::rssMegabytes();
        QElapsedTimer feed;
        feed.start();
        for (int i = 0; i < 24 * 3600 * 2; ++i) {
            v.ionValue = i % 5000;
            v.polarity = (i / 600) % 2;
            trend->ShowCurrentValues(v);
        }
        std::printf("trend_day_feed_s: %.2f\n", double(feed.elapsed()) / 1000.0);
        std::printf("trend_day_rss_growth_mb: %.2f\n", Bench::rssMegabytes() - rss0);
        std::printf("trend_buffer_mb: %.2f\n", double(trend->buffer().bytes()) / (1024.0 * 1024.0));

        // a full ring of a day's last two hours across the widest span: the costliest picture
        Measure::TrendBuffer day;
        const qint64 start = QDateTime::currentMSecsSinceEpoch() - qint64(24) * 3600 * 1000;
        for (int i = 0; i < 24 * 3600 * 2; ++i) {
            v.ionValue = int(2000 + 1500 * std::sin(i / 300.0));
            v.analogVolts = float(2.5 + std::sin(i / 50.0));
            day.Add(start + qint64(i) * 500, v);
        }
        TrendPlot plot(day);
        plot.setLaneTitle(TrendPlot::IonLane, QStringLiteral("ions"));
        plot.setSpan(TrendWindow::kSpans[std::size(TrendWindow::kSpans) - 1]);
        plot.setEnd(day.newest().msecs);
        plot.resize(1600, 900);
        QElapsedTimer paint;
        paint.start();
        constexpr int kPaints = 20;
        for (int i = 0; i < kPaints; ++i)
            plot.grab();
        std::printf("trend_full_paint_ms: %.2f\n", double(paint.elapsed()) / kPaints);
        return rc;
    });
}
