// qt8800: configuration and measurement data of the QT 8800 air-ion counter.
#include "app/TForm1.h"

#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    (void)!::write(g_signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qt8800"));
    QApplication::setApplicationVersion(QStringLiteral(QT8800_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QT8800_APP_ID));
    Q_INIT_RESOURCE(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    // installed before the window exists, so a stop request during start-up is not lost
    const bool piped = ::pipe(g_signalPipe) == 0;
    if (piped) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }

    TForm1 window;
    if (window.secondStart())
        return 1;

    // the system asks us to stop: close as the menu would, files written, no question
    if (piped) {
        auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] { window.closeWithoutQuestion(); });
    }
    window.show();
    return app.exec();
}
