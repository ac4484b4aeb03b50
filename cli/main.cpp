// qt8800-cli: the instrument from scripts and measurement stations, without a window.
#include "cli/CliLanguage.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Console.h"
#include "cli/DeviceCommands.h"
#include "cli/DownloadCommand.h"
#include "cli/LiveCommand.h"

#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/NumericLocale.h"
#include "model/StopSignals.h"

#include <QCoreApplication>
#include <QDir>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// A closed standard descriptor would be handed to the next file opened, the port say, and
// results would go there. It is kept taken by /dev/null opened for reading only, so that a
// write to it still fails as it would have on the closed one.
void reserveStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_RDONLY) != fd)
            break;
}

} // namespace

int main(int argc, char **argv)
{
    reserveStandardDescriptors();
    Model::IgnoreWriteSignals();
    QCoreApplication app(argc, argv);
    Model::UseCNumericLocale();
    QCoreApplication::setApplicationName(QStringLiteral("qt8800-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QT8800_VERSION));
    using namespace Cli;

    Console console;
    // what stdout did not take turns a success into the file error
    const auto conclude = [&console](int code) {
        if (const int error = console.outputError()) {
            console.message(Lang::Format(Lang::Text(Lang::TxCliStdoutFailed), {Model::SystemReason(error)}));
            if (code == ExitDone)
                return int(ExitFile);
        }
        return code;
    };
    const QStringList arguments = app.arguments().mid(1);
    // the window program's files lie in the folder it starts in; so does its parameter file
    const int language = RunLanguage(LanguageArgument(arguments), QDir::currentPath());
    if (const QString note = SelectRunLanguage(language, QCoreApplication::applicationFilePath()); !note.isEmpty())
        console.message(note);
    const ParseResult parsed = ParseCommandLine(arguments);
    if (!parsed.options) {
        console.message(parsed.error);
        console.message(Lang::Text(Lang::TxCliSeeHelp));
        return ExitUsage;
    }
    const CliOptions &options = *parsed.options;
    if (options.command == Command::Version) {
        console.result(QStringLiteral("qt8800-cli ") + QStringLiteral(QT8800_VERSION));
        return conclude(ExitDone);
    }
    if (options.command == Command::Help) {
        console.result(HelpText(options.helpFor).trimmed());
        return conclude(ExitDone);
    }

    // a signal ends a live recording as --for does; anything else stops where it is, with
    // every file either whole or not written
    Model::StopSignals stopSignals;
    if (!stopSignals.isValid())
        return ExitInstrument;

    CliSession session(options, console);
    // configuration files carry their keys in the program's language, as the window program's do
    session.param().ProgramLanguage = language;
    const int opened = session.open();
    if (opened != ExitDone) {
        session.folders().removeEmpty();
        return conclude(opened);
    }

    int exitCode = ExitInstrument;
    bool finished = false;
    const Finish finish = [&](int code) {
        if (finished)
            return;
        finished = true;
        exitCode = code;
        QCoreApplication::exit(code);
    };

    std::unique_ptr<DownloadCommand> download;
    std::unique_ptr<LiveCommand> live;
    int signalsSeen = 0;
    QObject::connect(&stopSignals, &Model::StopSignals::stopRequested, &app, [&] {
        // the first one lets the request in flight finish its row; a second one does not wait
        if (live && ++signalsSeen == 1) {
            live->stop();
            return;
        }
        if (live)
            return finish(ExitDone);
        console.message(Lang::Text(Lang::TxCliInterrupted));
        finish(ExitInstrument);
    });

    switch (options.command) {
    case Command::Info: RunInfo(session, finish); break;
    case Command::ReadConfig: RunReadConfig(session, finish); break;
    case Command::WriteConfig: RunWriteConfig(session, finish); break;
    case Command::SetClock: RunSetClock(session, finish); break;
    case Command::Directory: RunDirectory(session, finish); break;
    case Command::Download:
        download = std::make_unique<DownloadCommand>(session, finish);
        download->start();
        break;
    case Command::Live:
        live = std::make_unique<LiveCommand>(session, finish);
        live->start();
        break;
    default:
        return ExitUsage;
    }
    if (!finished)
        app.exec();
    exitCode = conclude(exitCode);
    // a command that failed leaves no folder it made and did not fill
    if (exitCode != ExitDone)
        session.folders().removeEmpty();
    return exitCode;
}
