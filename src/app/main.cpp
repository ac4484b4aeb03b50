// qt8800: configuration and measurement data of the QT 8800 air-ion counter.
#include "app/TForm1.h"
#include "model/FileTargets.h"
#include "model/NumericLocale.h"
#include "model/StopSignals.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv)
{
    Model::IgnoreWriteSignals();
    QApplication app(argc, argv);
    Model::UseCNumericLocale();
    QApplication::setApplicationName(QStringLiteral("qt8800"));
    QApplication::setApplicationVersion(QStringLiteral(QT8800_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QT8800_APP_ID));
    Q_INIT_RESOURCE(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    // installed before the window exists, so a stop request during start-up is not lost
    Model::StopSignals stopSignals;

    TForm1 window;
    if (window.secondStart())
        return 1;

    // the system asks us to stop: close as the menu would, files written, no question
    QObject::connect(&stopSignals, &Model::StopSignals::stopRequested, &window,
                     [&window] { window.closeWithoutQuestion(); });
    window.show();
    return app.exec();
}
