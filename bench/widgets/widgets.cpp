// Prints the paint time of a 500 x 250 round meter per value change and the CPU
// share of the widget timer service with 50 blinking LEDs. Runs offscreen; a
// "--sim PATH" argument from the bench runner is accepted and ignored.
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/WidgetTimerService.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double meterPaintMedianMs()
{
    TMeter120 meter;
    meter.resize(500, 250);
    meter.setValueEnd(15);
    meter.setScalaPart(5);
    meter.setScalaPsub(4);
    meter.setValueMinE(1);
    meter.setValueMidA(7.5);
    meter.setValueMidE(9);
    meter.setValueMaxA(13.5);
    meter.setValueMaxE(15);
    meter.setColScala(Qt::black);
    meter.setCaption(QStringLiteral("Ionen/cm³"));
    meter.show();
    QCoreApplication::processEvents();
    meter.repaint();   // the face is built once, like the first reading on a page

    std::vector<double> samples;
    constexpr int kReadings = 400;
    for (int i = 0; i < kReadings; ++i) {
        meter.setValue(15.0 * ((i * 37) % 100) / 100.0);
        QElapsedTimer timer;
        timer.start();
        meter.repaint();
        samples.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::nth_element(samples.begin(), samples.begin() + kReadings / 2, samples.end());
    return samples[kReadings / 2];
}

double blinkServiceCpuPercent()
{
    WidgetTimerService::instance().setSystemTimerEnabled(true);
    QWidget page;
    auto *grid = new QGridLayout(&page);
    for (int i = 0; i < 50; ++i) {
        auto *led = new TLedCheck(&page);
        led->setCaption(QStringLiteral("LED %1").arg(i));
        led->setLedSize(12);
        led->setLedBlink(true);
        led->setChecked(true);
        grid->addWidget(led, i / 5, i % 5);
    }
    page.show();
    QCoreApplication::processEvents();

    constexpr int kRunMs = 4000;
    QEventLoop loop;
    QTimer::singleShot(kRunMs, &loop, &QEventLoop::quit);
    QElapsedTimer wall;
    const double cpuBefore = processCpuMs();
    wall.start();
    loop.exec();
    const double cpu = processCpuMs() - cpuBefore;
    return 100.0 * cpu / double(wall.elapsed());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const double paintMs = meterPaintMedianMs();
    const double cpuPercent = blinkServiceCpuPercent();
    std::printf("meter_paint_ms_median: %.3f\n", paintMs);
    std::printf("blink_service_cpu_pct: %.3f\n", cpuPercent);
    return 0;
}
