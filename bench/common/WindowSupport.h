#pragma once

#include "app/TForm1.h"
#include "common/BenchSupport.h"

#include <QApplication>
#include <QTemporaryDir>

#include <functional>

namespace Bench {

// The main window in its own base folder, answering every question with yes: nothing waits on a user.
inline StartOptions windowOptions(const QString &baseDir)
{
    StartOptions options;
    options.baseDir = baseDir;
    options.lockDir = baseDir;
    options.ask = [](const QString &) { return true; };
    return options;
}

// The main window (offscreen unless told otherwise) on the stand-in process, a second after it
// showed, with live values asked for every 0.5 s. `measure` gets the window, its base folder and
// the `--seconds` to measure for (20 unless told), and returns the exit code.
inline int runWindow(int &argc, char **argv,
                     const std::function<int(TForm1 &window, const QTemporaryDir &base, int seconds)> &measure)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir base;
    const StandIn sim(args, base.path());
    if (!sim.ok())
        return 1;
    TForm1 window(windowOptions(base.path()));
    window.show();
    idleFor(1000);
    window.param().MeasureInterval = 0.5f;
    const int rc = measure(window, base, seconds(args, 20));
    window.closeWithoutQuestion();
    return rc;
}

} // namespace Bench
