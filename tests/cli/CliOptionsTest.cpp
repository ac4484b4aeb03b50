// The command line: what it accepts, what it refuses and with which message.
#include "cli/CliOptions.h"
#include "cli/FieldChoice.h"

#include "lang/GermanTexts.h"
#include "lang/Texts.h"
#include "measure/RecordParsing.h"

#include <gtest/gtest.h>

using namespace Cli;

namespace {

CliOptions parse(const QStringList &args)
{
    const ParseResult r = ParseCommandLine(args);
    EXPECT_TRUE(r.options.has_value()) << qPrintable(args.join(' ')) << ": " << qPrintable(r.error);
    return r.options.value_or(CliOptions{});
}

struct BadLine
{
    const char *name;
    QStringList args;
    const char *message;     // the refusal starts with this
};

void PrintTo(const BadLine &line, std::ostream *os)
{
    *os << line.name;
}

class RefusedCommandLines : public testing::TestWithParam<BadLine>
{
};

} // namespace

TEST(CliOptions, GlobalOptionsStandBeforeOrAfterTheCommand)
{
    const CliOptions a = parse({"--port", "/dev/ttyUSB0", "info", "--baud=38400", "--log", "logs"});
    EXPECT_EQ(a.command, Command::Info);
    EXPECT_EQ(a.port, "/dev/ttyUSB0");
    EXPECT_EQ(a.baud, 38400);
    EXPECT_EQ(a.logDir, "logs");
    const CliOptions d = parse({"info"});
    EXPECT_EQ(d.port, "COM1");
    EXPECT_EQ(d.baud, 9600);
    EXPECT_TRUE(d.logDir.isEmpty());
}

TEST(CliOptions, DownloadTakesBlocksOrAllAndOneTarget)
{
    const CliOptions a = parse({"download", "3", "1", "3", "--xlsx", "out", "--fields", "ions,-Ionen Min", "--decimal", ",",
                                "--two-columns", "--skip-alarm", "--force", "--template", "V 1.xlsm"});
    EXPECT_EQ(a.blocks, (QList<int>{3, 1}));
    EXPECT_TRUE(a.xlsx);
    EXPECT_EQ(a.outputDir, "out");
    EXPECT_EQ(a.fields, "ions,-Ionen Min");
    EXPECT_EQ(a.decimal, u',');
    EXPECT_TRUE(a.twoColumns && a.skipAlarm && a.force);
    EXPECT_EQ(a.templateFile, "V 1.xlsm");
    const CliOptions all = parse({"download", "--all", "--csv", "out"});
    EXPECT_TRUE(all.blocks.isEmpty());
    EXPECT_FALSE(all.xlsx);
    // a file name that starts like an option, after "--"
    EXPECT_EQ(parse({"read-config", "--", "-odd.QT8"}).file, "-odd.QT8");
    EXPECT_TRUE(parse({"read-config", "-", "--force"}).force);
    EXPECT_EQ(parse({"download", "2", "--csv", "/dev/stdout", "--iso"}).outputDir, "/dev/stdout");
}

TEST(CliOptions, LiveIntervalsAndDurations)
{
    const CliOptions a = parse({"live", "--interval", "0,5", "--for", "2m", "--csv", "live.csv"});
    EXPECT_EQ(a.intervalMs, 500);
    EXPECT_EQ(a.forMs, 120000);
    EXPECT_EQ(a.csvFile, "live.csv");
    EXPECT_EQ(a.retries, 2);
    EXPECT_FALSE(parse({"live", "--interval", "2", "--csv", "x"}).forMs.has_value());
    EXPECT_EQ(parse({"live", "--interval", "2", "--csv", "x", "--retries", "0"}).retries, 0);
    EXPECT_EQ(parse({"download", "--csv", "x", "--retries=20"}).retries, 20);

    EXPECT_EQ(ParseDuration("90"), 90000);
    EXPECT_EQ(ParseDuration("1.5h"), 5400000);
    EXPECT_EQ(ParseDuration(" 30 s "), 30000);
    for (const char *bad : {"", "0", "-5", "5d", "1e3", "h", "1.2.3"})
        EXPECT_FALSE(ParseDuration(bad).has_value()) << bad;
    EXPECT_EQ(ParseInterval("0.1"), 100);
    for (const char *bad : {"0", "0.05", "86401", "abc", ".", "1,2,3"})
        EXPECT_FALSE(ParseInterval(bad).has_value()) << bad;
}

TEST(CliOptions, HelpAndVersion)
{
    EXPECT_EQ(parse({"--help"}).command, Command::Help);
    const CliOptions h = parse({"download", "--help"});
    EXPECT_EQ(h.command, Command::Help);
    EXPECT_EQ(h.helpFor, Command::Download);
    EXPECT_EQ(parse({"help", "live"}).helpFor, Command::Live);
    EXPECT_EQ(parse({"-h"}).command, Command::Help);
    EXPECT_EQ(parse({"--version"}).command, Command::Version);
    // every command has its own help, naming its own usage
    for (Command c : {Command::Info, Command::ReadConfig, Command::WriteConfig, Command::SetClock, Command::Directory,
                      Command::Download, Command::Live})
        EXPECT_TRUE(HelpText(c).startsWith(QStringLiteral("Aufruf: qt8800-cli ") + CommandName(c))) << qPrintable(CommandName(c));
}

// The texts are chosen before the line is checked; the check then refuses what the look-ahead passed over.
TEST(CliOptions, LanguageIsFoundBeforeTheLineIsChecked)
{
    EXPECT_EQ(LanguageArgument({"info", "--language", "en"}), 1);
    EXPECT_EQ(LanguageArgument({"--language=EN", "info"}), 1);
    EXPECT_EQ(LanguageArgument({"--language", "en", "info", "--language", "de"}), 0);
    EXPECT_FALSE(LanguageArgument({"info"}).has_value());
    EXPECT_FALSE(LanguageArgument({"info", "--language", "fr"}).has_value());
    EXPECT_FALSE(LanguageArgument({"info", "--language"}).has_value());
    // the value of another option, and anything after "--", is no --language; an option is no value
    EXPECT_FALSE(LanguageArgument({"info", "--log", "de", "--language"}).has_value());
    EXPECT_EQ(LanguageArgument({"info", "--log", "--language", "en"}), 1);
    EXPECT_FALSE(LanguageArgument({"read-config", "--", "--language", "en"}).has_value());
    EXPECT_EQ(parse({"info", "--language", "en"}).language, 1);
    EXPECT_EQ(parse({"download", "--csv", "x", "--language=de"}).language, 0);
    EXPECT_FALSE(parse({"info"}).language.has_value());
}

TEST_P(RefusedCommandLines, WithAMessage)
{
    const ParseResult r = ParseCommandLine(GetParam().args);
    ASSERT_FALSE(r.options.has_value());
    EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(GetParam().message))) << qPrintable(r.error);
}

INSTANTIATE_TEST_SUITE_P(
    CliOptions, RefusedCommandLines,
    testing::Values(BadLine{"Nothing", {}, "Kein Befehl"},
                    BadLine{"UnknownCommand", {"erase"}, "Unbekannter Befehl: erase"},
                    BadLine{"UnknownOption", {"info", "--verbose"}, "Unbekannte Option: --verbose"},
                    BadLine{"ShortOption", {"info", "-v"}, "Unbekannte Option: -v"},
                    BadLine{"OptionOfAnotherCommand", {"info", "--force"}, "Die Option --force gilt nicht für den Befehl info"},
                    BadLine{"MissingValue", {"info", "--port"}, "Die Option --port braucht einen Wert"},
                    BadLine{"OptionForAValue", {"info", "--port", "--baud", "9600"}, "Die Option --port braucht einen Wert"},
                    BadLine{"CommandForAValue", {"--baud", "info"}, "Baudrate info ist nicht"},
                    BadLine{"IsoWithCommas", {"live", "--interval", "1", "--csv", "x", "--iso", "--decimal", ","}, "--iso"},
                    BadLine{"BlocksToStdout", {"download", "--all", "--csv", "-"}, "Auf die Standardausgabe"},
                    BadLine{"JsonOfADownload", {"download", "2", "--csv", "x", "--json"}, "Die Option --json gilt nicht"},
                    BadLine{"EmptyValue", {"info", "--port="}, "Die Option --port braucht einen Wert"},
                    BadLine{"ValueOnAFlag", {"download", "--all=yes", "--csv", "x"}, "Die Option --all nimmt keinen Wert"},
                    BadLine{"Baud", {"info", "--baud", "115200"}, "Baudrate 115200"},
                    BadLine{"ExtraArgument", {"info", "now"}, "Zu viele Angaben für info: now"},
                    BadLine{"NoFile", {"write-config"}, "Der Befehl write-config braucht einen Dateinamen"},
                    BadLine{"TwoFiles", {"read-config", "a", "b"}, "Zu viele Angaben für read-config: b"},
                    BadLine{"BlockZero", {"download", "0", "--csv", "x"}, "Keine gültige Blocknummer: 0"},
                    BadLine{"NegativeBlock", {"download", "-2", "--csv", "x"}, "Keine gültige Blocknummer: -2"},
                    BadLine{"BlockWord", {"download", "two", "--csv", "x"}, "Keine gültige Blocknummer: two"},
                    BadLine{"BlocksAndAll", {"download", "2", "--all", "--csv", "x"}, "Blocknummern und --all"},
                    BadLine{"NoTarget", {"download", "2"}, "Der Befehl download braucht genau eines"},
                    BadLine{"NewWithoutState", {"download", "--new", "--csv", "x"}, "--new und --state"},
                    BadLine{"NewToAWorkbook", {"download", "--new", "--state", "s", "--xlsx", "x"}, "--new schreibt Textdateien"},
                    BadLine{"TwoTargets", {"download", "--csv", "x", "--xlsx", "y"}, "Der Befehl download braucht genau eines"},
                    BadLine{"Decimal", {"download", "--csv", "x", "--decimal", ";"}, "Das Dezimaltrennzeichen"},
                    BadLine{"TemplateForText", {"download", "--csv", "x", "--template", "v.xlsx"}, "--template gilt nur mit --xlsx"},
                    BadLine{"NoInterval", {"live", "--csv", "x"}, "Der Befehl live braucht --interval"},
                    BadLine{"NoCsv", {"live", "--interval", "1"}, "Der Befehl live braucht --csv"},
                    BadLine{"BadInterval", {"live", "--interval", "0", "--csv", "x"}, "Ungültiges Intervall"},
                    BadLine{"BadDuration", {"live", "--interval", "1", "--for", "soon", "--csv", "x"}, "Ungültige Dauer"},
                    BadLine{"Retries", {"download", "--csv", "x", "--retries", "21"}, "Ungültige Zahl von Wiederholungen (0 bis 20): 21"},
                    BadLine{"RetriesWord", {"live", "--interval", "1", "--csv", "x", "--retries", "-1"}, "Ungültige Zahl von Wiederholungen"},
                    BadLine{"RetriesForInfo", {"info", "--retries", "1"}, "Die Option --retries gilt nicht für den Befehl info"},
                    BadLine{"HelpForNothing", {"help", "erase"}, "Unbekannter Befehl: erase"},
                    BadLine{"Language", {"info", "--language", "fr"}, "Die Sprache fr gibt es nicht"},
                    BadLine{"NoLanguage", {"live", "--language="}, "Die Option --language braucht einen Wert"}),
    [](const testing::TestParamInfo<BadLine> &info) { return std::string(info.param.name); });

TEST(FieldChoice, GroupsCaptionsPositionsAndTakingAway)
{
    Measure::TBlockHeader block;
    block.HasAnalog = 1;
    block.HumMaskLow = 5;
    block.TempMaskHigh = 128;
    const Measure::MeasureFields fields = Measure::BuildFieldList(block, QStringLiteral("Druck"));
    ASSERT_EQ(fields.size(), 11u);   // date, time, 3 ions, 3 analog, F 0, F 2, T F

    auto marked = [&](const QString &plan) {
        const FieldChoice c = ChooseFields(fields, plan);
        QList<int> on;
        for (int i = 0; i < c.marks.size(); ++i)
            if (c.marks[i])
                on << i;
        return on;
    };
    EXPECT_EQ(marked(""), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(marked("datetime, ions"), (QList<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(marked("averages"), (QList<int>{3, 6}));
    EXPECT_EQ(marked("ionen  avg,f 2,  t f"), (QList<int>{3, 9, 10}));
    EXPECT_EQ(marked("1,2,11"), (QList<int>{0, 1, 10}));
    // taking away first starts from everything
    EXPECT_EQ(marked("-analog,-sensors,-Ionen Max"), (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(marked("all,-3"), (QList<int>{0, 1, 3, 4, 5, 6, 7, 8, 9, 10}));

    const FieldChoice c = ChooseFields(fields, QStringLiteral("ions,F 9,12,-bogus"));
    EXPECT_EQ(c.unmatched, (QStringList{"F 9", "12", "-bogus"}));
}

TEST(CliTexts, EveryAreaKeepsToItsOwnNumbers)
{
    // a number used twice would show one area's text in the other's place
    QHash<int, int> seen;
    const Lang::TextTable *areas[] = {&Lang::LinkTexts(), &Lang::FilesTexts(), &Lang::MeasureTexts(), &Lang::AppTexts(),
                                      &Lang::CliTexts()};
    for (int area = 0; area < 5; ++area)
        for (const auto &[id, text] : *areas[area]) {
            EXPECT_FALSE(seen.contains(id)) << "text " << id << " in areas " << seen.value(id) << " and " << area;
            seen.insert(id, area);
        }
    for (const auto &[id, text] : Lang::CliTexts())
        EXPECT_TRUE(id > Lang::CliTextsBegin && id < Lang::CliTextsEnd) << id;
}
