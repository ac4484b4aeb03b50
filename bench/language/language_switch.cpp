// How long a language switch takes: the module read, and every text applied to the main window,
// its pages and the secondary windows, laid out again. The window is connected to the stand-in.
#include "app/TForm1.h"
#include "common/WindowSupport.h"
#include "lang/Catalogue.h"
#include "lang/Texts.h"
#include "widgets/TTextSpin.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool copyModule(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// German as a module of its own, so that switching back replaces every text again
bool writeGermanModule(const QString &path)
{
    QHash<int, QString> german;
    for (int id : Lang::KnownTextIds())
        german.insert(id, Lang::GermanText(id));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(Lang::WriteCatalogue(german)) > 0;
}

// the offscreen platform remarks on every new window title
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")))
        qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    const QString buildDir = QCoreApplication::applicationDirPath() + "/..";
    QString simPath = buildDir + "/qt8800-sim";
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf("--sim"); i >= 0 && i + 1 < args.size())
        simPath = args[i + 1];

    QTemporaryDir base;
    QTemporaryDir programDir;
    const QString program = programDir.filePath("qt8800");
    if (!copyModule(buildDir + "/qt8800.ENU", program + ".ENU") || !writeGermanModule(program + ".DEU")) {
        std::fprintf(stderr, "no English module in %s\n", qPrintable(buildDir));
        return 1;
    }
    QProcess sim;
    sim.start(simPath, {"--link", base.path() + "/COM1"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000))
        return 1;

    StartOptions options = Bench::windowOptions(base.path());
    options.programFile = program;
    int result = 0;
    {
        TForm1 form(options);
        form.selection().AskOnClose = false;
        form.show();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

        auto switchTo = [&form](int index) {
            QElapsedTimer t;
            t.start();
            form.tsProgLang->setPosition(index);
            form.tsProgLangChanged();
            QCoreApplication::sendPostedEvents();       // the layouts the new texts asked for
            return double(t.nsecsElapsed()) / 1e6;
        };
        switchTo(1);
        switchTo(0);
        std::vector<double> times;
        for (int i = 0; i < 40; ++i)
            times.push_back(switchTo(i % 2 == 0 ? 1 : 0));
        const bool english = Lang::CurrentModuleFile().endsWith(".ENU");
        const QString title = form.findChild<QMenu *>("Datei1")->title();
        if (!(english ? title == "&File" : title == "&Datei")) {
            std::fprintf(stderr, "the switch did not change the texts (%s)\n", qPrintable(title));
            result = 1;
        }
        std::sort(times.begin(), times.end());
        std::printf("language_switch_ms: %.1f\n", times[times.size() / 2]);
        std::printf("language_switch_max_ms: %.1f\n", times.back());
        form.closeWithoutQuestion();
    }
    sim.terminate();
    sim.waitForFinished(3000);
    return result;
}
