#include "files/ConfigFiles.h"

#include "TestDirs.h"
#include "model/Win1252.h"

#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Files;
using Model::Field;

namespace {

const QStringList kGermanKeys = {
    "Messbereich", "Polarität", "PolInter", "NullpunktNachStart", "AnalogAusgang", "Ausgabe", "Sprache",
    "AnalogEingang", "Speichermodus", "StartDatum", "StartZeit", "SpeicherDauer", "Speicherintervall",
    "NameAnalogEingang", "EinheitAnalogEingang", "NullwertAnalogEingang", "EndwertAnalogEingang", "PolAlter",
    "TimerAktiv", "SkalaAnfang", "SkalaEnde", "Skalenteilung", "WertSkalaAnfang", "WertSkalaEnde"};
const QStringList kEnglishKeys = {
    "Range", "Polarity", "PolInter", "ZeroAdjustOnStart", "AnalogOut", "Output", "Languages", "AnalogInput",
    "MemoryMode", "MemoyStartDate", "MemoyStartTime", "MemoryDuration", "MemInterTime", "AnalogInputName",
    "AnalogInputUnit", "AnalogInputZero", "AnalogInputEnd", "PolAlter", "TimerActive", "ScaleBegin", "ScaleEnd",
    "ScaleParts", "ValueScaleBegin", "ValueScaleEnd"};
const QList<Field> kKeyedFields = {
    Field::Range, Field::Polarity, Field::PolarityInterval, Field::ZeroAtStart, Field::AnalogOut, Field::OutputMode,
    Field::DeviceLanguage, Field::AnalogIn, Field::MemoryEnd, Field::StartDate, Field::StartTime, Field::Duration,
    Field::StorageInterval, Field::AnalogName, Field::AnalogUnit, Field::AnalogAtZero, Field::AnalogAtTen,
    Field::AlternatePolarity, Field::StartMode, Field::ScaleBegin, Field::ScaleEnd, Field::ScaleParts,
    Field::ValueScaleBegin, Field::ValueScaleEnd};

// the fake controls' value of a field
QString fakeValue(Field field)
{
    return QStringLiteral("v%1").arg(int(field));
}

// The window's side of the conversions: "controls" hold the values.
class FakeView : public Model::FieldView
{
public:
    explicit FakeView(Model::FieldSlots &table)
        : m_table(table)
    {
    }
    void Dat2Form(Field field, Model::Slot slot) override
    {
        if (slot == Model::FileSlot)
            controls[field] = m_table[field].FileText;
        shown.append(field);
    }
    void Form2Dat(Field field, Model::Slot slot) override
    {
        if (slot == Model::FileSlot)
            m_table[field].FileText = controls.value(field);
    }

    QMap<Field, QString> controls;
    QList<Field> shown;

private:
    Model::FieldSlots &m_table;
};

struct Message
{
    QString text;
    bool error;
    bool operator==(const Message &) const = default;
};

// public, so the rows' file builders can use germanFile
class ConfigFilesTest : public testing::Test
{
public:
    ConfigFilesTest()
        : view(fields)
    {
        fields.setView(&view);
        for (Field field : kKeyedFields)
            view.controls[field] = fakeValue(field);
        param.ConfigDir = dir.path();
        hooks.ReportMessage = [this](const QString &text, bool error) { reports.append({text, error}); };
        hooks.ShowStatusText = [this](const QString &text) { shownTexts.append(text); };
        hooks.StatusMessage = [this](const QString &text, bool error) { status.append({text, error}); };
        hooks.ConfirmMissingKeys = [this](const QString &question, const QStringList &keys) {
            questions.append(question);
            askedKeys = keys;
            return answerYes;
        };
        hooks.Now = [] { return QDateTime(QDate(2024, 3, 5), QTime(6, 7, 8)); };
    }

    ConfigFiles files() { return ConfigFiles(fields, param, dir.path(), hooks); }
    QString path(const QString &name) const { return dir.path() + u'/' + name; }

    // A file as the program writes it, with German keys and the fake controls' values,
    // plus whatever lines a case adds; keys listed in `drop` are left out.
    QByteArray germanFile(const QByteArray &extra = {}, const QStringList &drop = {}) const
    {
        QByteArray bytes = "[KOPF]\r\nName=x.QT8\r\n[QT8800]\r\n" + extra;
        for (int i = 0; i < kGermanKeys.size(); ++i)
            if (!drop.contains(kGermanKeys[i]))
                bytes += kGermanKeys[i].toUtf8() + "=" + fakeValue(kKeyedFields[i]).toUtf8() + "\r\n";
        return bytes;
    }

    QTemporaryDir dir;
    Model::FieldSlots fields;
    FakeView view;
    ParamRecord param;
    ConfigFileHooks hooks;
    QList<Message> reports, status;
    QStringList shownTexts, questions, askedKeys;
    bool answerYes = true;
};

} // namespace

TEST_F(ConfigFilesTest, WritesWindows1252WithCrLfInFieldOrder)
{
    view.controls[Field::AnalogName] = QStringLiteral("Druck € µ");
    view.controls[Field::AnalogUnit] = QStringLiteral("hPa\r\nMessbereich=9");     // a line break must not start a line
    view.controls[Field::AnalogAtZero] = QStringLiteral("漢");                       // not in the code page
    ASSERT_TRUE(files().WriteConfigFile(path("geräte.QT8")));

    QByteArray expected = "[KOPF]\r\nGenerierung=05.03.2024 06:07:08\r\nName=ger\xE4te.QT8\r\n[QT8800]\r\n";
    for (int i = 0; i < kGermanKeys.size(); ++i) {
        const Field field = kKeyedFields[i];
        QByteArray value = fakeValue(field).toUtf8();
        if (field == Field::AnalogName)
            value = "Druck \x80 \xB5";
        else if (field == Field::AnalogUnit)
            value = "hPa  Messbereich=9";
        else if (field == Field::AnalogAtZero)
            value = "?";
        expected += Model::ToWin1252(kGermanKeys[i]) + "=" + value + "\r\n";
    }
    EXPECT_EQ(ReadBytes(path("geräte.QT8")), expected);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(ConfigFilesTest, WritesEnglishKeysOnlyWhenTheProgramIsEnglish)
{
    param.ProgramLanguage = 1;
    ASSERT_TRUE(files().WriteConfigFile(path("en.QT8")));
    const QList<QByteArray> lines = ReadBytes(path("en.QT8")).split('\n');
    ASSERT_EQ(lines.size(), 4 + 24 + 1);
    EXPECT_EQ(lines[3], "[QT8800]\r");
    for (int i = 0; i < kEnglishKeys.size(); ++i)
        EXPECT_EQ(lines[4 + i], kEnglishKeys[i].toUtf8() + "=" + fakeValue(kKeyedFields[i]).toUtf8() + "\r");
}

TEST_F(ConfigFilesTest, AFileWrittenInOneLanguageReadsCompletelyInTheOther)
{
    view.controls[Field::AnalogName] = QStringLiteral("Spannung äöü");
    ASSERT_TRUE(files().WriteConfigFile(path("de.QT8")));
    const auto written = view.controls;
    for (Field field : kKeyedFields)
        view.controls[field].clear();

    param.ProgramLanguage = 1;
    const ConfigReadResult result = files().ReadConfigFile(path("de.QT8"));
    EXPECT_EQ(result.outcome, ConfigReadResult::Taken);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(view.controls, written);
    EXPECT_EQ(view.shown, kKeyedFields);
    EXPECT_EQ(status, (QList<Message>{
                          {QStringLiteral("Die Konfigurationsdatei %1 wird gelesen.").arg(path("de.QT8")), false},
                          {QStringLiteral("Die Konfigurationsdatei %1 ist gelesen.").arg(path("de.QT8")), false}}));
}

namespace {

struct ReadCase
{
    const char *name;
    std::function<QByteArray(const ConfigFilesTest &)> file;
    int language;
    bool answerYes;
    QStringList missing;                    // keys the question lists (none: no question)
    QMap<Field, QString> values;            // field -> value shown afterwards
    ConfigReadResult::Outcome outcome = ConfigReadResult::Taken;
};

void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }

class ReadConfigCase : public ConfigFilesTest, public testing::WithParamInterface<ReadCase> {};

QByteArray garbage(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

} // namespace

TEST_P(ReadConfigCase, TakesWhatTheFileHoldsAndAsksAboutTheRest)
{
    const ReadCase &c = GetParam();
    WriteBytes(path("in.QT8"), c.file(*this));
    for (Field field : kKeyedFields)
        view.controls[field] = QStringLiteral("old");
    param.ProgramLanguage = c.language;
    answerYes = c.answerYes;

    const ConfigReadResult result = files().ReadConfigFile(path("in.QT8"));
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.MissingKeys, c.missing);
    EXPECT_EQ(askedKeys, c.missing);
    EXPECT_EQ(questions.size(), c.missing.isEmpty() ? 0 : 1);
    for (auto it = c.values.begin(); it != c.values.end(); ++it)
        EXPECT_EQ(view.controls.value(it.key()), it.value()) << "field " << int(it.key());
    for (const QString &key : c.missing) {
        const Field field = kKeyedFields[int((c.language == 1 ? kEnglishKeys : kGermanKeys).indexOf(key))];
        EXPECT_EQ(view.controls.value(field), QStringLiteral("old"))
            << "missing field " << int(field) << " was changed";
    }
    if (c.outcome == ConfigReadResult::Declined) {
        EXPECT_TRUE(view.shown.isEmpty());
        EXPECT_EQ(status.last(), (Message{QStringLiteral("Daten wurden nicht übernommen"), true}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ConfigFile, ReadConfigCase,
    testing::Values(
        ReadCase{"OwnLanguageKeyWins",
                 [](const ConfigFilesTest &t) { return t.germanFile("Range=5\r\n", {"Messbereich"}) + "Messbereich=3\r\n"; },
                 0, true, {}, {{Field::Range, "3"}, {Field::Polarity, "v6"}}},
        ReadCase{"OwnLanguageKeyWinsInEnglish",
                 [](const ConfigFilesTest &t) { return t.germanFile("Range=5\r\n"); }, 1, true, {},
                 {{Field::Range, "5"}, {Field::Polarity, "v6"}}},
        ReadCase{"MissingKeyAnsweredYes",
                 [](const ConfigFilesTest &t) { return t.germanFile({}, {"SpeicherDauer"}); }, 0, true,
                 {"SpeicherDauer"}, {{Field::StartTime, "v16"}, {Field::StorageInterval, "v18"}}},
        ReadCase{"MissingKeyAnsweredNo",
                 [](const ConfigFilesTest &t) { return t.germanFile({}, {"SpeicherDauer"}); }, 0, false,
                 {"SpeicherDauer"}, {{Field::StartTime, "old"}}, ConfigReadResult::Declined},
        ReadCase{"MissingKeyListedInOwnLanguage",
                 [](const ConfigFilesTest &t) { return t.germanFile({}, {"SpeicherDauer", "WertSkalaEnde"}); }, 1,
                 true, {"MemoryDuration", "ValueScaleEnd"}, {{Field::Range, "v5"}}},
        ReadCase{"EmptyValueCountsAsMissing",
                 [](const ConfigFilesTest &t) { return t.germanFile("Sprache=\r\n", {"Sprache"}); }, 0, true,
                 {"Sprache"}, {}},
        ReadCase{"EmptyOwnValueCountsAsMissingDespiteTheOtherLanguage",
                 [](const ConfigFilesTest &t) { return t.germanFile("Range=5\r\nMessbereich=\r\n", {"Messbereich"}); },
                 0, true, {"Messbereich"}, {{Field::Polarity, "v6"}}},
        ReadCase{"EmptyOwnValueCountsAsMissingInEnglish",
                 [](const ConfigFilesTest &t) { return t.germanFile("Polarity=  \r\n"); }, 1, true, {"Polarity"},
                 {{Field::Range, "v5"}}},
        ReadCase{"ValueCutTo255",
                 [](const ConfigFilesTest &t) {
                     return t.germanFile("NameAnalogEingang=" + QByteArray(300, 'n') + "\r\n", {"NameAnalogEingang"});
                 },
                 0, true, {}, {{Field::AnalogName, QString(255, u'n')}}},
        ReadCase{"FirstOfDuplicateKeysCounts",
                 [](const ConfigFilesTest &t) { return t.germanFile("Messbereich=2\r\nMessbereich=9\r\n"); }, 0, true,
                 {}, {{Field::Range, "2"}}},
        ReadCase{"NamesIgnoreCaseAndBlanks",
                 [](const ConfigFilesTest &t) {
                     QByteArray f = t.germanFile({}, {"Messbereich", "Polarität"});
                     return f.replace("[QT8800]", "[ qt8800 ]") + "  MESSBEREICH =  4 \r\nPOLARITÄT=1\r\n";
                 },
                 0, true, {}, {{Field::Range, "4"}, {Field::Polarity, "1"}}},
        ReadCase{"Windows1252Input",
                 [](const ConfigFilesTest &t) {
                     return t.germanFile("Polarit\xE4t=1\r\nNameAnalogEingang=Gr\xF6\xDF" "e \x80\r\n",
                                         {"Polarität", "NameAnalogEingang"});
                 },
                 0, true, {}, {{Field::Polarity, "1"}, {Field::AnalogName, "Größe €"}}},
        ReadCase{"Utf8InputWithBomAndBareLineFeeds",
                 [](const ConfigFilesTest &t) {
                     return "\xEF\xBB\xBF" + t.germanFile("NameAnalogEingang=Größe €\n", {"NameAnalogEingang"})
                                                 .replace("\r\n", "\n");
                 },
                 0, true, {}, {{Field::AnalogName, "Größe €"}, {Field::ValueScaleEnd, "v39"}}},
        ReadCase{"KeysOutsideTheSectionDoNotCount",
                 [](const ConfigFilesTest &t) {
                     QByteArray f = "Messbereich=1\r\n[KOPF]\r\nPolarität=1\r\n" + t.germanFile({}, {"Messbereich", "Polarität"});
                     return f + "[Anderes]\r\nMessbereich=7\r\n";
                 },
                 0, true, {"Messbereich", "Polarität"}, {{Field::PolarityInterval, "v7"}}},
        ReadCase{"MissingSectionListsEveryKey",
                 [](const ConfigFilesTest &t) { return t.germanFile().replace("[QT8800]", "[QT8801]"); }, 0, true,
                 kGermanKeys, {}},
        ReadCase{"BinaryGarbage", [](const ConfigFilesTest &) { return garbage(20000, 1); }, 0, true, kGermanKeys,
                 {}},
        ReadCase{"GarbageAroundTheSection",
                 [](const ConfigFilesTest &t) { return garbage(3000, 2) + "\r\n" + t.germanFile() + garbage(3000, 3); },
                 0, true, {}, {{Field::Range, "v5"}, {Field::ValueScaleBegin, "v38"}}},
        ReadCase{"TenThousandCharacterLines",
                 [](const ConfigFilesTest &t) {
                     return QByteArray(10000, 'x') + "\r\n"
                            + t.germanFile("SkalaEnde=" + QByteArray(10000, '9') + "\r\n" + QByteArray(10000, '=')
                                               + "\r\n[" + QByteArray(10000, 's') + "\r\n[QT8800]\r\n",
                                           {"SkalaEnde"});
                 },
                 0, true, {}, {{Field::ScaleEnd, QString(255, u'9')}, {Field::ScaleBegin, "v35"}}}),
    [](const testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

TEST_F(ConfigFilesTest, TheQuestionNamesTheFileAndTheMissingKeys)
{
    WriteBytes(path("q.QT8"), germanFile({}, {"SpeicherDauer", "StartZeit"}));
    files().ReadConfigFile(path("q.QT8"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], QStringLiteral("Es wurden folgende Einstellungen\nin der Datei \n%1\nn i c h t  gefunden!\n"
                                           "StartZeit\nSpeicherDauer\n\nSollen die Daten trotzdem übernommen werden?")
                                .arg(path("q.QT8")));
}

// Missing, a folder, far too large: nothing can be read, so the question lists every key of
// the program's language; Yes changes nothing, No says that nothing was taken.
TEST_F(ConfigFilesTest, AFileThatCannotBeReadListsEveryKey)
{
    QDir(dir.path()).mkdir(QStringLiteral("folder.QT8"));
    QByteArray huge = germanFile();
    huge += QByteArray(2 * 1024 * 1024, ' ');
    WriteBytes(path("huge.QT8"), huge);

    for (int language : {0, 1})
        for (bool yes : {true, false})
            for (const QString &name : {path("none.QT8"), path("folder.QT8"), path("huge.QT8")}) {
                SCOPED_TRACE(qPrintable(QStringLiteral("%1 language %2 yes %3").arg(name).arg(language).arg(yes)));
                status.clear();
                questions.clear();
                param.ProgramLanguage = language;
                answerYes = yes;
                const ConfigReadResult result = files().ReadConfigFile(name);
                EXPECT_EQ(result.outcome, yes ? ConfigReadResult::Taken : ConfigReadResult::Declined);
                EXPECT_EQ(askedKeys, language == 1 ? kEnglishKeys : kGermanKeys);
                ASSERT_EQ(questions.size(), 1);
                EXPECT_TRUE(questions[0].contains(name));
                ASSERT_EQ(status.size(), 2);
                const Message expected = yes ? Message{QStringLiteral("Die Konfigurationsdatei %1 ist gelesen.").arg(name), false}
                                             : Message{QStringLiteral("Daten wurden nicht übernommen"), true};
                EXPECT_EQ(status[1], expected);
            }
    EXPECT_TRUE(view.shown.isEmpty());
    for (Field field : kKeyedFields)
        EXPECT_EQ(view.controls.value(field), fakeValue(field));
}

TEST_F(ConfigFilesTest, AFailedWriteKeepsTheOldFile)
{
    ASSERT_TRUE(files().WriteConfigFile(path("keep.QT8")));
    const QByteArray old = ReadBytes(path("keep.QT8"));
    view.controls[Field::Range] = QStringLiteral("changed");
    {
        ReadOnlyDir readOnly(dir.path());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a directory read-only here";
        EXPECT_FALSE(files().WriteConfigFile(path("keep.QT8")));
    }
    EXPECT_EQ(ReadBytes(path("keep.QT8")), old);
    EXPECT_EQ(reports, (QList<Message>{
                           {QStringLiteral("Datei %1 konnte nicht geöffnet werden (keine Berechtigung)").arg(path("keep.QT8")), true}}));
}

TEST_F(ConfigFilesTest, LoadCommandRemembersTheFolderAndReads)
{
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QString chosen = path("sub/a.QT8");
    WriteBytes(chosen, germanFile("Messbereich=6\r\n"));
    FileDialogSetup seen;
    hooks.ChooseOpenFile = [&](const FileDialogSetup &setup) {
        seen = setup;
        return std::optional(chosen);
    };
    param.ConfigDir = QStringLiteral("/start");
    EXPECT_TRUE(files().LoadConfigCommand());
    EXPECT_EQ(seen.Directory, QStringLiteral("/start"));
    EXPECT_EQ(seen.Title, QStringLiteral("Selektion Konfigurationsdatei für QT 8800"));
    EXPECT_EQ(seen.Filter, QStringLiteral("QT8800-Konfigurationsdateien (*.QT8);;Alle Dateien (*.*)"));
    EXPECT_EQ(param.ConfigDir, path("sub"));
    EXPECT_EQ(shownTexts, QStringList{QStringLiteral("Daten werden aus der Datei %1 gelesen.").arg(chosen)});
    EXPECT_EQ(view.controls[Field::Range], QStringLiteral("6"));
}

TEST_F(ConfigFilesTest, CancelledCommandsChangeNothing)
{
    hooks.ChooseOpenFile = [](const FileDialogSetup &) { return std::optional<QString>(); };
    hooks.ChooseSaveFile = [](const FileDialogSetup &) { return std::optional<QString>(); };
    param.ConfigDir = QStringLiteral("/start");
    EXPECT_FALSE(files().LoadConfigCommand());
    EXPECT_FALSE(files().SaveConfigCommand());
    EXPECT_EQ(param.ConfigDir, QStringLiteral("/start"));
    EXPECT_EQ(reports, (QList<Message>{{QStringLiteral("Funktion Konfiguration aus Datei lesen abgebrochen."), true},
                                       {QStringLiteral("Funktion Konfiguration in Datei schreiben abgebrochen."), true}}));
    EXPECT_TRUE(view.shown.isEmpty());
}

TEST_F(ConfigFilesTest, SaveCommandAddsTheDefaultExtension)
{
    hooks.ChooseSaveFile = [&](const FileDialogSetup &) { return std::optional(path("ohne")); };
    EXPECT_TRUE(files().SaveConfigCommand());
    EXPECT_TRUE(QFileInfo(path("ohne.QT8")).isFile());
    EXPECT_FALSE(QFileInfo(path("ohne")).exists());
    EXPECT_EQ(shownTexts, QStringList{QStringLiteral("Daten werden in die Datei %1 geschrieben.").arg(path("ohne.QT8"))});
}

TEST_F(ConfigFilesTest, LastConfigurationFollowsRememberConfig)
{
    ConfigFiles config = files();
    EXPECT_EQ(config.LastConfigFile(), path("QT8800.LCF"));
    EXPECT_FALSE(config.SaveLastConfig());
    EXPECT_FALSE(QFileInfo::exists(path("QT8800.LCF")));

    param.RememberConfig = true;
    EXPECT_FALSE(config.LoadLastConfig());              // no file yet: nothing asked, nothing shown
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(config.SaveLastConfig());
    view.controls[Field::Range].clear();
    EXPECT_TRUE(config.LoadLastConfig());
    EXPECT_EQ(view.controls[Field::Range], QStringLiteral("v5"));

    param.RememberConfig = false;
    view.shown.clear();
    EXPECT_FALSE(config.LoadLastConfig());
    EXPECT_TRUE(view.shown.isEmpty());
}
