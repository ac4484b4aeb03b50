// qt8800: configuration and measurement data of the QT 8800 air-ion counter.
#include "app/TForm1.h"
#include "files/ParameterFile.h"
#include "lang/LanguageModule.h"
#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/NumericLocale.h"
#include "model/StopSignals.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

// --help and --version are answered without a window, so they work where no display is
int printInfo(int argc, char **argv, bool version)
{
    QCoreApplication core(argc, argv);
    QString text = QStringLiteral("qt8800 ") + QStringLiteral(QT8800_VERSION);
    if (!version) {
        // in the language the program was last set to, as its window would speak
        Files::ParamRecord param;
        Files::SelectionRecord selection;
        const Files::ParamReadResult read = Files::ReadParameterFile(QDir::currentPath(), param, selection);
        if (!read.Failed && param.ProgramLanguage == 1)
            Lang::LoadLanguageModule(Lang::kProgramLanguages[1], QCoreApplication::applicationFilePath());
        text = Lang::Text(Lang::TxProgramHelp).trimmed();
    }
    const QByteArray bytes = (text + u'\n').toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size());
    return written && std::fflush(stdout) == 0 ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    // before --help too: a reader that leaves early makes a write error, not the end
    Model::IgnoreWriteSignals();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return printInfo(argc, argv, false);
        if (std::strcmp(argv[i], "--version") == 0)
            return printInfo(argc, argv, true);
    }

    QApplication app(argc, argv);
    Model::UseCNumericLocale();
    QApplication::setApplicationName(QStringLiteral("qt8800"));
    QApplication::setApplicationVersion(QStringLiteral(QT8800_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QT8800_APP_ID));
    Q_INIT_RESOURCE(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));

    // installed before the window exists, so a stop request during start-up is not lost
    Model::StopSignals stopSignals;
    // the notice of a second start waits for a click: a stop request ends it there
    const QMetaObject::Connection early = QObject::connect(&stopSignals, &Model::StopSignals::stopRequested, &app,
                                                           [] { QCoreApplication::exit(1); });

    TForm1 window;
    QObject::disconnect(early);
    if (window.secondStart())
        return 1;

    // the system asks us to stop: close as the menu would, files written, no question
    QObject::connect(&stopSignals, &Model::StopSignals::stopRequested, &window,
                     [&window] { window.closeWithoutQuestion(); });
    window.show();
    return app.exec();
}
