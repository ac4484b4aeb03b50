// Start-up time, memory and idle cost of the main window, connected to the stand-in process.
#include "app/TForm1.h"
#include "common/WindowSupport.h"
#include "common/BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {

struct FirstPaint : QObject
{
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir base;
    const Bench::StandIn sim(app.arguments(), base.path());
    if (!sim.ok())
        return 1;
    const qint64 simReady = sinceStart.elapsed();

    StartOptions options = Bench::windowOptions(base.path());
    FirstPaint paint;
    QElapsedTimer startup;
    startup.start();
    {
        TForm1 window(options);
        window.installEventFilter(&paint);
        window.show();
        while (!paint.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        std::printf("startup_ms: %lld\n", startup.elapsed());
        std::printf("process_startup_ms: %lld\n", sinceStart.elapsed() - simReady);
        Bench::idleFor(500);
        std::printf("rss_mb: %.1f\n", Bench::rssMegabytes());

        const double cpu0 = Bench::cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        Bench::idleFor(5000);
        std::printf("idle_cpu_pct: %.2f\n", 100.0 * (Bench::cpuSeconds() - cpu0) / (double(wall.elapsed()) / 1000.0));
        window.closeWithoutQuestion();
    }
    return 0;
}
