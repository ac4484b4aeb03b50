#include "files/ParameterFile.h"

#include "TestDirs.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

using namespace Files;

namespace {

qint32 intAt(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

void setIntAt(QByteArray &bytes, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

// Settings that differ from every default, so a record taken from the file is told apart
// from one that fell back.
ParamRecord customParam()
{
    ParamRecord p;
    p.PortIndex = 3;
    p.ProgramLanguage = 1;
    p.MeasureDir = QStringLiteral("/data/Messwerte");
    p.ConfigDir = QStringLiteral("/data/Konfigurationen");
    p.LogDir = QStringLiteral("/data/Protokolle");
    p.TemplateFile = QStringLiteral("/data/Vorlage.xlsx");
    p.LogTraffic = true;
    p.CyclicStatus = true;
    p.PageIndex = 4;
    p.DecimalSepIndex = 1;
    p.TwoColumns = true;
    p.SkipAlarmValues = true;
    p.StatusInterval = 2.5f;
    p.MeasureInterval = 0.75f;
    p.ReadAtStart = true;
    p.AnalogPanelHeight = 120;
    p.WindowHeight = 600;
    p.WindowWidth = 800;
    p.WindowTop = 10;
    p.WindowLeft = 20;
    p.RememberConfig = true;
    return p;
}

SelectionRecord customSelection()
{
    SelectionRecord s;
    s.BaudIndex = 3;
    s.FieldSelection[5] = true;
    s.FieldSelection[39] = true;
    s.AskOnClose = true;
    s.Reserved[10] = 0x5A;
    return s;
}

class ParameterFileTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString base() const { return dir.path(); }
    QString fileName() const { return ParameterFileName(base()); }

    // the bytes WriteParameterFile produces for the custom records
    QByteArray goodFile()
    {
        ParamRecord p = customParam();
        SelectionRecord s = customSelection();
        EXPECT_TRUE(WriteParameterFile(base(), p, s));
        written = p;
        writtenSelection = s;
        return ReadBytes(fileName());
    }

    ParamRecord defaults() const
    {
        ParamRecord p;
        SetParamDefaults(p, base());
        return p;
    }

    QTemporaryDir dir;
    ParamRecord written;
    SelectionRecord writtenSelection;
};

} // namespace

TEST(ParamChecksum, SumsTheDecimalTextsOfTheCoveredMembers)
{
    ParamRecord p;
    p.ProgramLanguage = 1;
    p.WindowHeight = 490;
    p.WindowWidth = 700;
    EXPECT_EQ(ComputeParamChecksum(p), 405);

    p.PortIndex = -3;                                   // "-3": 45 + 51 instead of "0": 48
    p.ConfigDir = QStringLiteral("ü");                  // stored as UTF-8: 0xC3 + 0xBC
    p.PageIndex = 7;                                    // not covered
    EXPECT_EQ(ComputeParamChecksum(p), 405 - 48 + 45 + 51 + 0xC3 + 0xBC);

    SelectionRecord s;
    s.BaudIndex = -12;
    s.FieldSelection[0] = true;                         // not covered
    EXPECT_EQ(ComputeSelectionChecksum(s), 45 + 49 + 50);
}

TEST_F(ParameterFileTest, EveryMemberLiesAtItsOffset)
{
    const QByteArray file = goodFile();
    ASSERT_EQ(file.size(), 904);
    EXPECT_EQ(intAt(file, 0), 3);
    EXPECT_EQ(intAt(file, 4), 1);
    EXPECT_EQ(file.mid(8, 16), QByteArray("\x0F/data/Messwerte"));
    EXPECT_EQ(file.mid(89, 1 + 21), QByteArray("\x15/data/Konfigurationen"));
    EXPECT_EQ(file.mid(170, 1 + 16), QByteArray("\x10/data/Protokolle"));
    EXPECT_EQ(file.mid(251, 1 + 18), QByteArray("\x12/data/Vorlage.xlsx"));
    EXPECT_EQ(file.mid(332, 4), QByteArray("\x01\x00\x01\x00", 4));
    EXPECT_EQ(intAt(file, 336), 4);
    EXPECT_EQ(intAt(file, 340), 1);
    EXPECT_EQ(file.mid(344, 4), QByteArray("\x00\x01\x01\x00", 4));
    EXPECT_EQ(std::bit_cast<float>(intAt(file, 348)), 2.5f);
    EXPECT_EQ(std::bit_cast<float>(intAt(file, 352)), 0.75f);
    EXPECT_EQ(file.mid(356, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(intAt(file, 360), 120);
    EXPECT_EQ(intAt(file, 364), 600);
    EXPECT_EQ(intAt(file, 368), 800);
    EXPECT_EQ(intAt(file, 372), 10);
    EXPECT_EQ(intAt(file, 376), 20);
    EXPECT_EQ(file.mid(380, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(intAt(file, 384), ComputeParamChecksum(customParam()));
    EXPECT_EQ(intAt(file, 384), written.ParamChecksum);

    EXPECT_EQ(intAt(file, 388), 3);
    EXPECT_EQ(file.at(388 + 4 + 5), 1);
    EXPECT_EQ(file.at(388 + 4 + 39), 1);
    EXPECT_EQ(file.at(388 + 4 + 6), 0);
    EXPECT_EQ(file.at(388 + 45), 1);
    EXPECT_EQ(file.at(388 + 46 + 10), 0x5A);
    EXPECT_EQ(intAt(file, 900), 51);                    // "3"
}

TEST_F(ParameterFileTest, WrittenFileReadsBackUnchangedAndRewritesByteForByte)
{
    const QByteArray first = goodFile();
    ParamRecord p;
    SelectionRecord s;
    const ParamReadResult result = ReadParameterFile(base(), p, s);
    EXPECT_FALSE(result.Failed);
    EXPECT_EQ(result.ParamMessage, QStringLiteral("Parameter aus Datei: %1 geladen.").arg(fileName()));
    EXPECT_EQ(p, written);
    EXPECT_EQ(s, writtenSelection);

    ASSERT_TRUE(WriteParameterFile(base(), p, s));
    EXPECT_EQ(ReadBytes(fileName()), first);
}

namespace {

enum class ParamExpect { FromFile, Defaults, DefaultsKeepingFileOnlyMembers };
enum class SelectionExpect { FromFile, FileWithDefaultBaud, HeldWithDefaultBaud };

struct DamageCase
{
    const char *name;
    // the good file's bytes to what lies on disk; nothing: no file at all
    std::function<std::optional<QByteArray>(QByteArray)> damage;
    bool failed;
    ParamExpect param;
    SelectionExpect selection;
    const char *message;    // "%1" stands for the file name
};

void PrintTo(const DamageCase &c, std::ostream *os) { *os << c.name; }

class DamagedParameterFile : public ParameterFileTest, public testing::WithParamInterface<DamageCase> {};

const char *const kCannotRead = "Problem beim Lesen der Datei: %1 ! Defaultwerte gesetzt.";
const char *const kReadError = "Lesefehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen.";
const char *const kSumError = "  Prüfsummenfehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen.";

QByteArray randomBytes(int size)
{
    QRandomGenerator random(8800);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

} // namespace

TEST_P(DamagedParameterFile, FallsBackPerRecordAndSaysWhy)
{
    const DamageCase &c = GetParam();
    const QByteArray good = goodFile();
    QFile::remove(fileName());
    const std::optional<QByteArray> onDisk = c.damage(good);
    if (onDisk)
        WriteBytes(fileName(), *onDisk);

    ParamRecord p = customParam();                      // whatever memory held before
    SelectionRecord held;
    held.FieldSelection[0] = true;
    held.Reserved[0] = 0x77;
    SelectionRecord s = held;
    const ParamReadResult result = ReadParameterFile(base(), p, s);

    EXPECT_EQ(result.Failed, c.failed);
    EXPECT_EQ(result.ParamMessage, QString::fromUtf8(c.message).arg(fileName()));
    EXPECT_EQ(result.Missing, !onDisk);

    ParamRecord expectedParam = written;
    if (c.param != ParamExpect::FromFile) {
        // SkipAlarmValues has no default: it keeps what the file said, or the zero the reader starts from
        expectedParam.SkipAlarmValues = c.param == ParamExpect::DefaultsKeepingFileOnlyMembers && onDisk->at(346);
        SetParamDefaults(expectedParam, base());
        expectedParam.ParamChecksum = p.ParamChecksum;
    }
    EXPECT_EQ(p, expectedParam);
    EXPECT_EQ(result.ParamRecordBad, c.param != ParamExpect::FromFile);

    switch (c.selection) {
    case SelectionExpect::FromFile:
        EXPECT_EQ(s, writtenSelection);
        break;
    case SelectionExpect::FileWithDefaultBaud:
        // only BaudIndex falls back; the flags and reserved bytes are the file's
        EXPECT_EQ(s.BaudIndex, 1);
        for (int i = 0; i < SelectionRecord::kFieldPositions; ++i)
            EXPECT_EQ(s.FieldSelection[std::size_t(i)], onDisk->at(388 + 4 + i) != 0);
        EXPECT_EQ(s.AskOnClose, onDisk->at(388 + 45) != 0);
        EXPECT_EQ(EncodeSelectionRecord(s).mid(46, 466), onDisk->mid(388 + 46, 466));
        break;
    case SelectionExpect::HeldWithDefaultBaud:
        held.BaudIndex = 1;
        EXPECT_EQ(s, held);
        break;
    }
    EXPECT_EQ(result.SelectionRecordBad, c.selection != SelectionExpect::FromFile);
}

INSTANTIATE_TEST_SUITE_P(
    ParameterFile, DamagedParameterFile,
    testing::Values(
        DamageCase{"Missing", [](QByteArray) { return std::optional<QByteArray>(); }, true, ParamExpect::Defaults,
                   SelectionExpect::HeldWithDefaultBaud, "Keine Parameterdatei %1: Defaultwerte gesetzt."},
        DamageCase{"Empty", [](QByteArray) { return std::optional(QByteArray()); }, true, ParamExpect::Defaults,
                   SelectionExpect::HeldWithDefaultBaud, kReadError},
        DamageCase{"Truncated", [](QByteArray b) { return std::optional(b.left(100)); }, true, ParamExpect::Defaults,
                   SelectionExpect::HeldWithDefaultBaud, kReadError},
        DamageCase{"FirstRecordOnly", [](QByteArray b) { return std::optional(b.left(388)); }, true,
                   ParamExpect::FromFile, SelectionExpect::HeldWithDefaultBaud, kReadError},
        DamageCase{"OneByteShort", [](QByteArray b) { return std::optional(b.left(903)); }, true,
                   ParamExpect::FromFile, SelectionExpect::HeldWithDefaultBaud, kReadError},
        DamageCase{"Oversized", [](QByteArray b) { return std::optional(b + randomBytes(5000)); }, false,
                   ParamExpect::FromFile, SelectionExpect::FromFile, "Parameter aus Datei: %1 geladen."},
        DamageCase{"ParamSumOffByOne",
                   [](QByteArray b) {
                       setIntAt(b, 384, intAt(b, 384) + 1);
                       return std::optional(b);
                   },
                   true, ParamExpect::DefaultsKeepingFileOnlyMembers, SelectionExpect::FromFile, kSumError},
        DamageCase{"SelectionSumOff",
                   [](QByteArray b) {
                       setIntAt(b, 900, 0);
                       return std::optional(b);
                   },
                   true, ParamExpect::FromFile, SelectionExpect::FileWithDefaultBaud, kSumError},
        DamageCase{"FirstRecordOnlyWithBadSum",
                   [](QByteArray b) {
                       setIntAt(b, 384, 0);
                       return std::optional(b.left(500));
                   },
                   true, ParamExpect::DefaultsKeepingFileOnlyMembers, SelectionExpect::HeldWithDefaultBaud,
                   "Lesefehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen.  Prüfsummenfehler bei "
                   "Parameterdatei: %1 ! Bitte Programmeinstellung prüfen."},
        // a length byte past the 80-byte buffer, with the sum a reader would get that ran on
        // into the next member's length byte
        DamageCase{"StringLengthBeyondBuffer",
                   [](QByteArray b) {
                       b[8] = char(81);
                       setIntAt(b, 384, intAt(b, 384) + static_cast<unsigned char>(b[89]));
                       return std::optional(b);
                   },
                   true, ParamExpect::DefaultsKeepingFileOnlyMembers, SelectionExpect::FromFile, kSumError},
        DamageCase{"ZeroFilled", [](QByteArray) { return std::optional(QByteArray(904, '\0')); }, true,
                   ParamExpect::DefaultsKeepingFileOnlyMembers, SelectionExpect::FileWithDefaultBaud,
                   "  Prüfsummenfehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen."
                   "  Prüfsummenfehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen."},
        DamageCase{"Random", [](QByteArray) { return std::optional(randomBytes(904)); }, true,
                   ParamExpect::DefaultsKeepingFileOnlyMembers, SelectionExpect::FileWithDefaultBaud,
                   "  Prüfsummenfehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen."
                   "  Prüfsummenfehler bei Parameterdatei: %1 ! Bitte Programmeinstellung prüfen."}),
    [](const testing::TestParamInfo<DamageCase> &info) { return std::string(info.param.name); });

TEST_F(ParameterFileTest, RandomFilesOfAnySizeNeverPass)
{
    QRandomGenerator random(4711);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(int(random.bounded(2000)), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        WriteBytes(fileName(), bytes);
        ParamRecord p;
        SelectionRecord s;
        const ParamReadResult result = ReadParameterFile(base(), p, s);
        EXPECT_TRUE(result.Failed);
        EXPECT_FALSE(result.ParamMessage.isEmpty());
        EXPECT_EQ(p.WindowWidth, 700);
        EXPECT_EQ(s.BaudIndex, 1);
        EXPECT_TRUE(std::isfinite(p.StatusInterval) && std::isfinite(p.MeasureInterval));
    }
}

namespace {

struct CoverageCase
{
    const char *name;
    int offset;
    bool breaksChecksum;
};

void PrintTo(const CoverageCase &c, std::ostream *os) { *os << c.name; }

class ChecksumCoverage : public ParameterFileTest, public testing::WithParamInterface<CoverageCase> {};

} // namespace

TEST_P(ChecksumCoverage, OnlyCoveredMembersInvalidateTheRecord)
{
    QByteArray bytes = goodFile();
    bytes[GetParam().offset] = char(bytes[GetParam().offset] ^ 0x01);
    WriteBytes(fileName(), bytes);
    ParamRecord p;
    SelectionRecord s;
    EXPECT_EQ(ReadParameterFile(base(), p, s).Failed, GetParam().breaksChecksum);
}

INSTANTIATE_TEST_SUITE_P(
    ParameterFile, ChecksumCoverage,
    testing::Values(CoverageCase{"PageIndex", 336, false}, CoverageCase{"DecimalSepIndex", 340, false},
                    CoverageCase{"LogTraffic", 332, false}, CoverageCase{"RememberConfig", 380, false},
                    CoverageCase{"StatusInterval", 350, false}, CoverageCase{"Padding", 357, false},
                    CoverageCase{"StringTail", 8 + 1 + 40, false}, CoverageCase{"FieldSelection", 388 + 4, false},
                    CoverageCase{"AskOnClose", 388 + 45, false}, CoverageCase{"PortIndex", 0, true},
                    CoverageCase{"ProgramLanguage", 4, true}, CoverageCase{"WindowWidth", 368, true},
                    CoverageCase{"WindowHeight", 364, true}, CoverageCase{"ConfigDirText", 89 + 3, true},
                    CoverageCase{"TemplateText", 251 + 3, true}, CoverageCase{"BaudIndex", 388, true}),
    [](const testing::TestParamInfo<CoverageCase> &info) { return std::string(info.param.name); });

namespace {

struct CutCase
{
    const char *name;
    QString text;
    QByteArray stored;
};

void PrintTo(const CutCase &c, std::ostream *os) { *os << c.name; }

class ShortStringCut : public ParameterFileTest, public testing::WithParamInterface<CutCase> {};

QString as(int n) { return QString(n, u'a'); }
QByteArray asBytes(int n) { return QByteArray(n, 'a'); }

} // namespace

TEST_P(ShortStringCut, KeepsWholeCharactersWithinEightyBytes)
{
    const CutCase &c = GetParam();
    EXPECT_EQ(CutShortString(c.text), c.stored);

    ParamRecord p;
    p.LogDir = c.text;
    SelectionRecord s;
    ASSERT_TRUE(WriteParameterFile(base(), p, s));
    const QByteArray file = ReadBytes(fileName());
    EXPECT_EQ(file.mid(170, 1 + c.stored.size()), char(c.stored.size()) + c.stored);

    ParamRecord back;
    EXPECT_FALSE(ReadParameterFile(base(), back, s).Failed);
    EXPECT_EQ(back.LogDir, QString::fromUtf8(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    ParameterFile, ShortStringCut,
    testing::Values(CutCase{"Exactly80", as(80), asBytes(80)}, CutCase{"Ascii90", as(90), asBytes(80)},
                    CutCase{"TwoByteFits", as(78) + QChar(u'ü'), asBytes(78) + "\xC3\xBC"},
                    CutCase{"TwoByteStraddles", as(79) + QChar(u'ü'), asBytes(79)},
                    CutCase{"FourByteStraddles", as(77) + QString::fromUtf8("\xF0\x9F\x98\x80"), asBytes(77)},
                    CutCase{"AllTwoByte", QString(50, u'ä'), QString(40, u'ä').toUtf8()}),
    [](const testing::TestParamInfo<CutCase> &info) { return std::string(info.param.name); });

TEST_F(ParameterFileTest, PathsFromAWindowsInstallationReadAndCheck)
{
    QByteArray bytes = goodFile();
    const QByteArray path = "C:\\Programme\\M\xFCller";     // Windows-1252, not UTF-8
    bytes[8] = char(path.size());
    std::copy(path.begin(), path.end(), bytes.begin() + 9);
    int sum = TextChecksum(3) + TextChecksum(1) + TextChecksum(600) + TextChecksum(800) + TextChecksum(path)
              + TextChecksum(CutShortString(written.ConfigDir)) + TextChecksum(CutShortString(written.LogDir))
              + TextChecksum(CutShortString(written.TemplateFile));
    setIntAt(bytes, 384, sum);
    WriteBytes(fileName(), bytes);

    ParamRecord p;
    SelectionRecord s;
    EXPECT_FALSE(ReadParameterFile(base(), p, s).Failed);
    EXPECT_EQ(p.MeasureDir, QStringLiteral("C:\\Programme\\Müller"));
}

TEST_F(ParameterFileTest, IntervalsThatCannotBeCountedInMillisecondsGetDefaults)
{
    QByteArray bytes = goodFile();
    setIntAt(bytes, 348, std::bit_cast<qint32>(std::numeric_limits<float>::quiet_NaN()));
    setIntAt(bytes, 352, std::bit_cast<qint32>(3.0e9f));
    WriteBytes(fileName(), bytes);
    ParamRecord p;
    SelectionRecord s;
    EXPECT_FALSE(ReadParameterFile(base(), p, s).Failed);
    EXPECT_EQ(p.StatusInterval, 1.0f);
    EXPECT_EQ(p.MeasureInterval, 0.5f);
    EXPECT_EQ(p.WindowWidth, 800);
}

TEST_F(ParameterFileTest, DefaultFoldersAreThoseFoundBesideTheProgram)
{
    ASSERT_TRUE(QDir(base()).mkdir(QStringLiteral("Messwert")));
    ASSERT_TRUE(QDir(base()).mkdir(QStringLiteral("Proto")));
    WriteBytes(base() + QStringLiteral("/Konfig"), "a file, not a folder");
    WriteBytes(base() + QStringLiteral("/QT8800Vorlage.XLS"), "template");

    ParamRecord p;
    SetParamDefaults(p, base());
    EXPECT_EQ(p.MeasureDir, base() + QStringLiteral("/Messwert"));
    EXPECT_EQ(p.LogDir, base() + QStringLiteral("/Proto"));
    EXPECT_EQ(p.ConfigDir, base());
    EXPECT_EQ(p.TemplateFile, base() + QStringLiteral("/QT8800Vorlage.XLS"));

    QFile::remove(base() + QStringLiteral("/QT8800Vorlage.XLS"));
    SetParamDefaults(p, base());
    EXPECT_EQ(p.TemplateFile, QString());
}

TEST_F(ParameterFileTest, DefaultsBesideADeepProgramFolderStayRelativeInsteadOfCut)
{
    const QString deep = base() + u'/' + QString(60, u'x') + u'/' + QString(30, u'y');
    ASSERT_TRUE(QDir().mkpath(deep + QStringLiteral("/Messwert")));
    WriteBytes(deep + QStringLiteral("/QT8800Vorlage.XLS"), "template");

    ParamRecord p;
    SetParamDefaults(p, deep);
    EXPECT_EQ(p.MeasureDir, QStringLiteral("Messwert"));
    EXPECT_EQ(p.ConfigDir, QStringLiteral("."));
    EXPECT_EQ(p.TemplateFile, QStringLiteral("QT8800Vorlage.XLS"));
}

TEST_F(ParameterFileTest, AFolderInPlaceOfTheFileReadsAsUnopenable)
{
    ASSERT_TRUE(QDir(base()).mkdir(QStringLiteral("QT8800.dat")));
    ParamRecord p;
    SelectionRecord s;
    const ParamReadResult result = ReadParameterFile(base(), p, s);
    EXPECT_TRUE(result.Failed);
    EXPECT_FALSE(result.Missing);
    EXPECT_EQ(result.ParamMessage, QString::fromUtf8(kCannotRead).arg(fileName()));
    EXPECT_EQ(p.WindowWidth, 700);
    EXPECT_EQ(s.BaudIndex, 1);
}

TEST_F(ParameterFileTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const QByteArray old = goodFile();
    QStringList errors;
    const ReportFn report = [&](const QString &text, bool error) {
        if (error)
            errors << text;
    };
    const QString expected = QStringLiteral("Problem beim Schreiben der Datei: %1 ! (keine Berechtigung)").arg(fileName());

    ParamRecord p;
    SelectionRecord s;
    {
        ReadOnlyDir readOnly(base());
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a directory read-only here";
        EXPECT_FALSE(WriteParameterFile(base(), p, s, report));
    }
    EXPECT_EQ(ReadBytes(fileName()), old);
    EXPECT_EQ(errors, QStringList{expected});

    // a folder that does not exist fails the same way instead of passing silently
    errors.clear();
    const QString missing = base() + QStringLiteral("/gone");
    EXPECT_FALSE(WriteParameterFile(missing, p, s, report));
    EXPECT_EQ(errors, QStringList{QStringLiteral("Problem beim Schreiben der Datei: %1 ! (Datei oder Ordner fehlt)")
                                      .arg(ParameterFileName(missing))});
}
