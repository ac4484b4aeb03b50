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
    QString simPath = QCoreApplication::applicationDirPath() + "/../qt8800-sim";
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf("--sim"); i >= 0 && i + 1 < args.size())
        simPath = args[i + 1];

    QTemporaryDir base;
    QProcess sim;
    sim.start(simPath, {"--link", base.path() + "/COM1"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
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
    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
