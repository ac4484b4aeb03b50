// Processor time of the device view with live values every 0.5 s from the stand-in process:
// the round meter, the analogue panel meter and the sensor window all showing.
#include "app/DeviceViewPage.h"
#include "app/TForm1.h"
#include "common/WindowSupport.h"
#include "app/TFormSens.h"
#include "common/BenchSupport.h"
#include "widgets/TMeter120.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void press(QWidget *window, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(window, &down);
    QApplication::sendEvent(window, &up);
}

} // namespace

int main(int argc, char **argv)
{
    return Bench::runWindow(argc, argv, [](TForm1 &window, const QTemporaryDir &, int seconds) {
        int rc = 0;
        window.pages()->setCurrentWidget(window.TabInfo);
        DeviceViewPage *page = window.devicePage();
        // ions, analogue meter and sensor window: the fullest view
        while (page->ViewState() != 2)
            press(&window, Qt::Key_F7);
        press(&window, Qt::Key_F8);
        Bench::idleFor(1500);                               // the first replies have set up the scales

        const QString cellBefore = window.sensorWindow()->cellText(4, TFormSens::kHumidityRow);
        double lastIon = page->anzeige->Value();
        int moves = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (page->anzeige->Value() != lastIon) {
                lastIon = page->anzeige->Value();
                ++moves;
            }
        });
        watch.start(100);

        const double cpu0 = Bench::cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        Bench::idleFor(seconds * 1000);
        const double cpu = Bench::cpuSeconds() - cpu0;
        const double elapsed = double(wall.elapsed()) / 1000.0;
        watch.stop();
        std::printf("deviceview_cpu_pct: %.2f\n", 100.0 * cpu / elapsed);
        std::printf("deviceview_meter_moves_per_s: %.2f\n", moves / elapsed);
        // a figure without live values would measure nothing
        if (moves < seconds || cellBefore.isEmpty()) {
            std::fprintf(stderr, "no live values arrived (%d meter moves, sensor cell \"%s\")\n", moves,
                         qPrintable(cellBefore));
            rc = 1;
        }
        press(&window, Qt::Key_F8);
        return rc;
    });
}
