#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Cli {

// What the program tells its caller: scripts branch on these.
enum ExitCode : int {
    ExitDone = 0,
    ExitInstrument = 1,     // the instrument refused, answered wrongly or not at all; the port failed
    ExitUsage = 2,          // the command line asks for something that cannot be done
    ExitFile = 3,           // a file could not be read or written
};

enum class Command { None, Help, Version, Info, ReadConfig, WriteConfig, SetClock, Directory, Download, Live };

// One run's command line, checked.
struct CliOptions
{
    Command command = Command::None;
    Command helpFor = Command::None;    // Help: the command asked about, None for the overview

    QString port = QStringLiteral("COM1");
    int baud = 9600;
    QString logDir;                     // traffic log into this folder; empty: no log
    std::optional<int> language;        // --language: 0 German, 1 English (ProgramLanguage's values)

    QString file;                       // read-config ("-": stdout), write-config
    QList<int> blocks;                  // download; empty: every block
    bool xlsx = false;                  // download: workbooks instead of text files
    QString templateFile;               // download --xlsx: the workbook to fill
    QString outputDir;                  // download; "-": one block to stdout
    bool force = false;
    QString fields;                     // download: the field list, as given
    QChar decimal = u'.';
    bool twoColumns = false;
    bool skipAlarm = false;
    bool iso = false;                   // ISO 8601 dates and times, "." decimals
    bool json = false;                  // info, directory: one JSON document

    bool newOnly = false;               // download --new: only what the state file has not seen
    QString stateFile;                  // download --state

    int retries = 2;                    // download, live: a request without any reply is sent again so often

    QString csvFile;                    // live; "-": stdout
    qint64 intervalMs = 0;
    std::optional<qint64> forMs;

    // live to a message broker
    QString mqttUrl;
    QString topic;                      // empty: qt8800/<serial number>/live
    int qos = 1;
    QString caFile;
    QString mqttAuthFile;               // user and password; else from the environment
    int bufferMb = 64;
    QString bufferDir;                  // empty: $STATE_DIRECTORY or ~/.local/state/qt8800/mqtt
    bool haDiscovery = false;
};

struct ParseResult
{
    std::optional<CliOptions> options;
    QString error;                      // the reason, when options is empty
};

// The arguments after the program name.
ParseResult ParseCommandLine(const QStringList &arguments);

// "de" 0, "en" 1, as the parameter file counts languages; nothing for anything else.
std::optional<int> LanguageNamed(const QString &name);
// The texts are chosen before the command line is checked, so that its complaints come in that
// language: the valid value of the last --language before "--", if any.
std::optional<int> LanguageArgument(const QStringList &arguments);

QString CommandName(Command command);
// The overview of all commands, or the help of one.
QString HelpText(Command command);

// "0.5", "2", "1,5": seconds; nothing for anything else or a value outside (0, 1 day].
std::optional<qint64> ParseInterval(const QString &text);
// "90", "90s", "15m", "2h", "1.5h": a duration; nothing for anything else or not above 0.
std::optional<qint64> ParseDuration(const QString &text);

} // namespace Cli
