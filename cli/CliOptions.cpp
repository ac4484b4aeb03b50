#include "cli/CliOptions.h"

#include "lang/Texts.h"
#include "link/SerialLink.h"
#include "model/FileTargets.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace Cli {

namespace {

using namespace Lang;

// a silent instrument costs 3 s a try: past this a script waits minutes for every request
constexpr int kMaxRetries = 20;

unsigned bit(Command command)
{
    return 1u << unsigned(command);
}

// which commands an option belongs to
const unsigned kLink = bit(Command::Info) | bit(Command::ReadConfig) | bit(Command::WriteConfig)
                       | bit(Command::SetClock) | bit(Command::Directory) | bit(Command::Download) | bit(Command::Live);
const unsigned kAny = ~0u;
const unsigned kDownload = bit(Command::Download);
const unsigned kLive = bit(Command::Live);

struct OptionRule
{
    const char *name;
    bool takesValue;
    unsigned commands;
};

const OptionRule kOptions[] = {
    {"port", true, kLink},           {"baud", true, kLink},
    {"log", true, kLink},            {"help", false, kAny},
    {"version", false, kAny},        {"all", false, kDownload},
    {"csv", true, kDownload | kLive}, {"xlsx", true, kDownload},
    {"force", false, kDownload | bit(Command::ReadConfig)}, {"fields", true, kDownload},
    {"decimal", true, kDownload | kLive}, {"two-columns", false, kDownload},
    {"skip-alarm", false, kDownload}, {"interval", true, kLive},
    {"for", true, kLive},            {"language", true, kAny},
    {"iso", false, bit(Command::Info) | bit(Command::SetClock) | bit(Command::Directory) | kDownload | kLive},
    {"json", false, bit(Command::Info) | bit(Command::Directory)},
    {"template", true, kDownload},
    {"retries", true, kDownload | kLive},
    {"new", false, kDownload},       {"state", true, kDownload},
    // live to a message broker
    {"mqtt", true, kLive},           {"topic", true, kLive},
    {"qos", true, kLive},            {"ca", true, kLive},
    {"mqtt-auth", true, kLive},      {"buffer-mb", true, kLive},
    {"buffer-dir", true, kLive},     {"ha-discovery", false, kLive},
};

const struct
{
    Command command;
    const char *name;
} kCommands[] = {
    {Command::Help, "help"},           {Command::Info, "info"},
    {Command::ReadConfig, "read-config"}, {Command::WriteConfig, "write-config"},
    {Command::SetClock, "set-clock"},  {Command::Directory, "directory"},
    {Command::Download, "download"},   {Command::Live, "live"},
};

std::optional<Command> commandNamed(const QString &name)
{
    for (const auto &c : kCommands)
        if (name == QLatin1String(c.name))
            return c.command;
    return std::nullopt;
}

const OptionRule *optionNamed(const QString &name)
{
    for (const OptionRule &o : kOptions)
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

// "--baud" and "--baud=..." of a known option: no value of the option before it
bool isOptionWord(const QString &arg)
{
    if (arg == u"--")
        return true;
    if (!arg.startsWith(QLatin1String("--")))
        return false;
    const qsizetype eq = arg.indexOf(u'=');
    return optionNamed(arg.mid(2, eq < 0 ? -1 : eq - 2)) != nullptr;
}

struct Given
{
    const OptionRule *rule;
    QString spelled;    // as typed, for messages
    QString value;
};

ParseResult fail(const QString &text)
{
    return {std::nullopt, text};
}

// the options of live to a message broker: an error text, or nothing
std::optional<QString> takeMqttOption(std::string_view name, const QString &value, CliOptions &o)
{
    bool ok = false;
    if (name == "mqtt") {
        o.mqttUrl = value;
    } else if (name == "topic") {
        // a reading sent to a filter would reach nobody
        if (value.contains(u'+') || value.contains(u'#') || value.startsWith(u'/') || value.endsWith(u'/'))
            return Format(Text(TxCliMqttWildcard), {value});
        o.topic = value;
    } else if (name == "qos") {
        o.qos = value.toInt(&ok);
        if (!ok || o.qos < 0 || o.qos > 2)
            return Format(Text(TxCliBadQos), {value});
    } else if (name == "ca") {
        o.caFile = value;
    } else if (name == "mqtt-auth") {
        o.mqttAuthFile = value;
    } else if (name == "buffer-mb") {
        o.bufferMb = value.toInt(&ok);
        if (!ok || o.bufferMb < 1 || o.bufferMb > 100000)
            return Format(Text(TxCliBadBufferMb), {value});
    } else if (name == "buffer-dir") {
        o.bufferDir = value;
    } else if (name == "ha-discovery") {
        o.haDiscovery = true;
    }
    return std::nullopt;
}

std::optional<double> decimalNumber(QString text)
{
    text = text.trimmed();
    text.replace(u',', u'.');
    static const QRegularExpression number(QStringLiteral("^\\d+(\\.\\d+)?$|^\\.\\d+$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

} // namespace

std::optional<int> LanguageNamed(const QString &name)
{
    if (name.compare(QLatin1String("de"), Qt::CaseInsensitive) == 0)
        return 0;
    if (name.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return 1;
    return std::nullopt;
}

std::optional<int> LanguageArgument(const QStringList &arguments)
{
    std::optional<int> language;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == u"--")
            break;
        if (arg == u"--language" && i + 1 < arguments.size() && !isOptionWord(arguments[i + 1])) {
            if (const auto named = LanguageNamed(arguments[++i]))
                language = named;
        } else if (arg.startsWith(QLatin1String("--language="))) {
            if (const auto named = LanguageNamed(arg.mid(11)))
                language = named;
        } else if (const OptionRule *rule = arg.startsWith(QLatin1String("--")) && !arg.contains(u'=')
                                                ? optionNamed(arg.mid(2)) : nullptr;
                   rule && rule->takesValue && i + 1 < arguments.size() && !isOptionWord(arguments[i + 1])) {
            // another option's value is no --language of its own: --log de --language
            ++i;
        }
    }
    return language;
}

QString CommandName(Command command)
{
    for (const auto &c : kCommands)
        if (c.command == command)
            return QString::fromLatin1(c.name);
    return {};
}

std::optional<qint64> ParseInterval(const QString &text)
{
    const std::optional<double> seconds = decimalNumber(text);
    if (!seconds || *seconds < 0.1 || *seconds > 86400.0)
        return std::nullopt;
    return qint64(std::llround(*seconds * 1000.0));
}

std::optional<qint64> ParseDuration(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9.,]+)\\s*([smh]?)\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<double> value = decimalNumber(m.captured(1));
    if (!value)
        return std::nullopt;
    const QString unit = m.captured(2);
    const double factor = unit == u"h" ? 3600000.0 : unit == u"m" ? 60000.0 : 1000.0;
    const double ms = *value * factor;
    // a year is longer than any recording a station runs in one go
    if (ms < 1.0 || ms > 366.0 * 86400000.0)
        return std::nullopt;
    return qint64(std::llround(ms));
}

ParseResult ParseCommandLine(const QStringList &arguments)
{
    QList<Given> given;
    QStringList positional;
    bool optionsEnded = false;
    static const QRegularExpression negativeNumber(QStringLiteral("^-\\d+$"));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || arg == u"-" || !arg.startsWith(u'-') || negativeNumber.match(arg).hasMatch()) {
            positional << arg;
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        if (arg == u"-h") {
            given.append({optionNamed(QStringLiteral("help")), arg, {}});
            continue;
        }
        if (!arg.startsWith(QLatin1String("--")))
            return fail(Format(Text(TxCliUnknownOption), {arg}));
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = arg.mid(2, eq < 0 ? -1 : eq - 2);
        const OptionRule *rule = optionNamed(name);
        const QString spelled = QStringLiteral("--") + name;
        if (!rule)
            return fail(Format(Text(TxCliUnknownOption), {spelled}));
        QString value;
        if (rule->takesValue) {
            if (eq >= 0)
                value = arg.mid(eq + 1);
            else if (i + 1 < arguments.size() && !isOptionWord(arguments[i + 1]))
                value = arguments[++i];
            else
                return fail(Format(Text(TxCliOptionNeedsValue), {spelled}));
            if (value.isEmpty())
                return fail(Format(Text(TxCliOptionNeedsValue), {spelled}));
        } else if (eq >= 0) {
            return fail(Format(Text(TxCliOptionTakesNoValue), {spelled}));
        }
        given.append({rule, spelled, value});
    }

    CliOptions o;
    auto has = [&](const char *name) {
        for (const Given &g : given)
            if (g.rule->name == std::string_view(name))
                return true;
        return false;
    };

    // the values first: a value that is no value is named as such, also where a command
    // word was taken for one ("--baud info")
    for (const Given &g : given) {
        const std::string_view name = g.rule->name;
        if (name == "port") {
            o.port = g.value;
        } else if (name == "baud") {
            bool ok = false;
            const int baud = g.value.toInt(&ok);
            if (!ok || std::find(Link::kBaudRates.begin(), Link::kBaudRates.end(), baud) == Link::kBaudRates.end())
                return fail(Format(Text(TxCliBadBaud), {g.value}));
            o.baud = baud;
        } else if (name == "log") {
            o.logDir = g.value;
        } else if (name == "language") {
            o.language = LanguageNamed(g.value);
            if (!o.language)
                return fail(Format(Text(TxCliBadLanguage), {g.value}));
        } else if (name == "csv" || name == "xlsx") {
            if (!o.outputDir.isEmpty())
                return fail(Text(TxCliOneTarget));
            o.outputDir = g.value;
            o.xlsx = name == "xlsx";
        } else if (name == "template") {
            o.templateFile = g.value;
        } else if (name == "force") {
            o.force = true;
        } else if (name == "fields") {
            o.fields = g.value;
        } else if (name == "decimal") {
            if (g.value != u"." && g.value != u",")
                return fail(Format(Text(TxCliBadDecimal), {g.value}));
            o.decimal = g.value.at(0);
        } else if (name == "two-columns") {
            o.twoColumns = true;
        } else if (name == "skip-alarm") {
            o.skipAlarm = true;
        } else if (name == "iso") {
            o.iso = true;
        } else if (name == "json") {
            o.json = true;
        } else if (name == "interval") {
            const auto ms = ParseInterval(g.value);
            if (!ms)
                return fail(Format(Text(TxCliBadInterval), {g.value}));
            o.intervalMs = *ms;
        } else if (name == "retries") {
            bool ok = false;
            const int retries = g.value.toInt(&ok);
            if (!ok || retries < 0 || retries > kMaxRetries)
                return fail(Format(Text(TxCliBadRetries), {QString::number(kMaxRetries), g.value}));
            o.retries = retries;
        } else if (name == "new") {
            o.newOnly = true;
        } else if (name == "state") {
            o.stateFile = g.value;
        } else if (name == "for") {
            const auto ms = ParseDuration(g.value);
            if (!ms)
                return fail(Format(Text(TxCliBadDuration), {g.value}));
            o.forMs = *ms;
        } else if (const auto error = takeMqttOption(name, g.value, o)) {
            return fail(*error);
        }
    }
    if (o.iso && o.decimal != u'.')
        return fail(Text(TxCliIsoDecimal));

    if (has("version")) {
        o.command = Command::Version;
        return {o, {}};
    }
    if (positional.isEmpty()) {
        if (has("help")) {
            o.command = Command::Help;
            return {o, {}};
        }
        return fail(Text(TxCliNoCommand));
    }
    const QString commandWord = positional.takeFirst();
    const std::optional<Command> command = commandNamed(commandWord);
    if (!command)
        return fail(Format(Text(TxCliUnknownCommand), {commandWord}));
    o.command = *command;
    if (o.command == Command::Help) {
        o.helpFor = Command::None;
        if (!positional.isEmpty()) {
            const std::optional<Command> about = commandNamed(positional.first());
            if (!about || *about == Command::Help || positional.size() > 1)
                return fail(Format(Text(TxCliUnknownCommand), {positional.join(u' ')}));
            o.helpFor = *about;
        }
        return {o, {}};
    }
    if (has("help")) {
        o.helpFor = o.command;
        o.command = Command::Help;
        return {o, {}};
    }

    const QString commandText = CommandName(o.command);
    for (const Given &g : given)
        if (!(g.rule->commands & bit(o.command)))
            return fail(Format(Text(TxCliOptionNotFor), {g.spelled, commandText}));
    if (o.command == Command::Live)
        o.csvFile = std::exchange(o.outputDir, {});

    switch (o.command) {
    case Command::ReadConfig:
    case Command::WriteConfig:
        if (positional.isEmpty())
            return fail(Format(Text(TxCliFileMissing), {commandText}));
        if (positional.size() > 1)
            return fail(Format(Text(TxCliTooManyArguments), {commandText, positional.mid(1).join(u' ')}));
        o.file = positional.first();
        break;
    case Command::Download:
        for (const QString &p : std::as_const(positional)) {
            bool ok = false;
            const int block = p.toInt(&ok);
            if (!ok || block < 1)
                return fail(Format(Text(TxCliBadBlock), {p}));
            if (!o.blocks.contains(block))
                o.blocks.append(block);
        }
        if (has("all") && !o.blocks.isEmpty())
            return fail(Text(TxCliBlocksAndAll));
        if (o.outputDir.isEmpty())
            return fail(Text(TxCliOneTarget));
        if (!o.templateFile.isEmpty() && !o.xlsx)
            return fail(Text(TxCliTemplateNeedsXlsx));
        if (Model::NamedDescriptor(o.outputDir) && o.blocks.size() != 1)
            return fail(Text(TxCliStdoutOneBlock));
        if (o.newOnly != !o.stateFile.isEmpty())
            return fail(Text(TxCliNewNeedsState));
        // rows are appended to the files of earlier runs: text files in a folder, every block
        if (o.newOnly && (o.xlsx || !o.blocks.isEmpty() || Model::NamedDescriptor(o.outputDir)))
            return fail(Text(TxCliNewTextOnly));
        break;
    case Command::Live:
        if (!positional.isEmpty())
            return fail(Format(Text(TxCliTooManyArguments), {commandText, positional.join(u' ')}));
        if (o.intervalMs <= 0)
            return fail(Text(TxCliIntervalMissing));
        if (o.csvFile.isEmpty() && o.mqttUrl.isEmpty())
            return fail(Text(TxCliCsvMissing));
        for (const char *name : {"topic", "qos", "ca", "mqtt-auth", "buffer-mb", "buffer-dir", "ha-discovery"})
            if (has(name) && o.mqttUrl.isEmpty())
                return fail(Format(Text(TxCliMqttOptionNeedsMqtt), {QStringLiteral("--") + QLatin1String(name)}));
        break;
    default:
        if (!positional.isEmpty())
            return fail(Format(Text(TxCliTooManyArguments), {commandText, positional.join(u' ')}));
        break;
    }
    return {o, {}};
}

QString HelpText(Command command)
{
    switch (command) {
    case Command::Info: return Text(TxCliHelpInfo);
    case Command::ReadConfig: return Text(TxCliHelpReadConfig);
    case Command::WriteConfig: return Text(TxCliHelpWriteConfig);
    case Command::SetClock: return Text(TxCliHelpSetClock);
    case Command::Directory: return Text(TxCliHelpDirectory);
    case Command::Download: return Text(TxCliHelpDownload);
    case Command::Live: return Text(TxCliHelpLive);
    default: return Text(TxCliHelpOverview);
    }
}

} // namespace Cli
