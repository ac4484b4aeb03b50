#include "files/ParameterFile.h"

#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/Win1252.h"
#include "model/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <bit>
#include <climits>
#include <cmath>
#include <optional>

namespace Files {

namespace {

// offsets inside ParamRecord
constexpr int kPortIndex = 0;
constexpr int kProgramLanguage = 4;
constexpr int kMeasureDir = 8;
constexpr int kConfigDir = 89;
constexpr int kLogDir = 170;
constexpr int kTemplateFile = 251;
constexpr int kLogTraffic = 332;
constexpr int kTransferAtOnce = 333;
constexpr int kCyclicStatus = 334;
constexpr int kBeepOnError = 335;
constexpr int kPageIndex = 336;
constexpr int kDecimalSepIndex = 340;
constexpr int kScaleAnalogValues = 344;
constexpr int kTwoColumns = 345;
constexpr int kSkipAlarmValues = 346;
constexpr int kStatusInterval = 348;
constexpr int kMeasureInterval = 352;
constexpr int kReadAtStart = 356;
constexpr int kAnalogPanelHeight = 360;
constexpr int kWindowHeight = 364;
constexpr int kWindowWidth = 368;
constexpr int kWindowTop = 372;
constexpr int kWindowLeft = 376;
constexpr int kRememberConfig = 380;
constexpr int kParamChecksum = 384;

// offsets inside SelectionRecord
constexpr int kBaudIndex = 0;
constexpr int kFieldSelection = 4;
constexpr int kReserved44 = 44;
constexpr int kAskOnClose = 45;
constexpr int kReservedTail = 46;
constexpr int kSelectionChecksum = 512;

static_assert(kReservedTail + SelectionRecord::kReservedTail == kSelectionChecksum);
static_assert(kFieldSelection + SelectionRecord::kFieldPositions == kReserved44);

constexpr float kDefaultStatusInterval = 1.0f;
constexpr float kDefaultMeasureInterval = 0.5f;

void putInt(QByteArray &out, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, out.data() + offset);
}

void putFloat(QByteArray &out, int offset, float value)
{
    qToLittleEndian<quint32>(std::bit_cast<quint32>(value), out.data() + offset);
}

void putBool(QByteArray &out, int offset, bool value)
{
    out[offset] = value ? 1 : 0;
}

void putShortString(QByteArray &out, int offset, const QString &text)
{
    const QByteArray bytes = CutShortString(text);
    out[offset] = char(bytes.size());
    std::copy(bytes.begin(), bytes.end(), out.begin() + offset + 1);
}

qint32 getInt(QByteArrayView in, int offset)
{
    return qFromLittleEndian<qint32>(in.data() + offset);
}

float getFloat(QByteArrayView in, int offset)
{
    return std::bit_cast<float>(qFromLittleEndian<quint32>(in.data() + offset));
}

bool getBool(QByteArrayView in, int offset)
{
    return in[offset] != 0;
}

// The stored text bytes, or nothing when the length byte claims more than the buffer holds.
std::optional<QByteArrayView> getShortString(QByteArrayView in, int offset)
{
    const int length = static_cast<unsigned char>(in[offset]);
    if (length > kShortStringMax)
        return std::nullopt;
    return in.sliced(offset + 1, length);
}

// A finite interval whose milliseconds fit the window's 32-bit countdowns; anything else is
// not a setting anyone made.
bool usableInterval(float seconds)
{
    return std::isfinite(seconds) && std::fabs(double(seconds)) * 1000.0 < double(INT_MAX);
}

struct DecodedParam
{
    ParamRecord record;
    bool stringsValid = true;
    qint32 computedChecksum = 0;    // over the bytes as stored, so foreign encodings check too
};

DecodedParam decodeParamRecord(QByteArrayView in)
{
    DecodedParam out;
    ParamRecord &p = out.record;
    p.PortIndex = getInt(in, kPortIndex);
    p.ProgramLanguage = getInt(in, kProgramLanguage);
    int stringSum = 0;
    auto text = [&](int offset) {
        const auto bytes = getShortString(in, offset);
        if (!bytes) {
            out.stringsValid = false;
            return QString();
        }
        stringSum += TextChecksum(*bytes);
        return Model::DecodeUtf8OrWin1252(*bytes);
    };
    p.MeasureDir = text(kMeasureDir);
    p.ConfigDir = text(kConfigDir);
    p.LogDir = text(kLogDir);
    p.TemplateFile = text(kTemplateFile);
    p.LogTraffic = getBool(in, kLogTraffic);
    p.TransferAtOnce = getBool(in, kTransferAtOnce);
    p.CyclicStatus = getBool(in, kCyclicStatus);
    p.BeepOnError = getBool(in, kBeepOnError);
    p.PageIndex = getInt(in, kPageIndex);
    p.DecimalSepIndex = getInt(in, kDecimalSepIndex);
    p.ScaleAnalogValues = getBool(in, kScaleAnalogValues);
    p.TwoColumns = getBool(in, kTwoColumns);
    p.SkipAlarmValues = getBool(in, kSkipAlarmValues);
    p.StatusInterval = getFloat(in, kStatusInterval);
    p.MeasureInterval = getFloat(in, kMeasureInterval);
    p.ReadAtStart = getBool(in, kReadAtStart);
    p.AnalogPanelHeight = getInt(in, kAnalogPanelHeight);
    p.WindowHeight = getInt(in, kWindowHeight);
    p.WindowWidth = getInt(in, kWindowWidth);
    p.WindowTop = getInt(in, kWindowTop);
    p.WindowLeft = getInt(in, kWindowLeft);
    p.RememberConfig = getBool(in, kRememberConfig);
    p.ParamChecksum = getInt(in, kParamChecksum);
    out.computedChecksum = TextChecksum(p.PortIndex) + TextChecksum(p.ProgramLanguage) + TextChecksum(p.WindowHeight)
                           + TextChecksum(p.WindowWidth) + stringSum;
    return out;
}

SelectionRecord decodeSelectionRecord(QByteArrayView in, const SelectionRecord &held)
{
    SelectionRecord s = held;
    s.BaudIndex = getInt(in, kBaudIndex);
    for (int i = 0; i < SelectionRecord::kFieldPositions; ++i)
        s.FieldSelection[std::size_t(i)] = getBool(in, kFieldSelection + i);
    s.Reserved44 = static_cast<quint8>(in[kReserved44]);
    s.AskOnClose = getBool(in, kAskOnClose);
    for (int i = 0; i < SelectionRecord::kReservedTail; ++i)
        s.Reserved[std::size_t(i)] = static_cast<quint8>(in[kReservedTail + i]);
    s.SelectionChecksum = getInt(in, kSelectionChecksum);
    return s;
}

// A default folder beside the program when it exists, else the program's folder. A path too
// long for the record is kept relative to the base directory, which is the current directory
// for the whole run, rather than cut into a folder that does not exist.
QString defaultFolder(const QString &baseDir, Lang::TextId subName)
{
    const QString sub = Lang::Text(subName);
    const QString full = JoinPath(baseDir, sub);
    const bool exists = QFileInfo(full).isDir();
    const QString wanted = exists ? full : baseDir;
    if (CutShortString(wanted).size() == wanted.toUtf8().size())
        return wanted;
    return exists ? FitShortString(sub) : QStringLiteral(".");
}

QString defaultTemplate(const QString &baseDir)
{
    const QString name = Lang::Text(Lang::TxTemplateFileName);
    const QString full = JoinPath(baseDir, name);
    if (!QFileInfo(full).isFile())
        return QString();
    if (CutShortString(full).size() == full.toUtf8().size())
        return full;
    return FitShortString(name);
}

} // namespace

QString BaseDirAtStart()
{
    return QDir::currentPath();
}

QString JoinPath(const QString &dir, const QString &name)
{
    if (dir.isEmpty())
        return name;
    if (dir.endsWith(u'/'))
        return dir + name;
    return dir + u'/' + name;
}

QString ParameterFileName(const QString &baseDir)
{
    return JoinPath(baseDir, QStringLiteral("QT8800.dat"));
}

QByteArray CutShortString(QStringView text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= kShortStringMax)
        return bytes;
    qsizetype cut = kShortStringMax;
    // never end inside a character: step back over continuation bytes to its lead byte
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    bytes.truncate(cut);
    return bytes;
}

QString FitShortString(QStringView text)
{
    return QString::fromUtf8(CutShortString(text));
}

int TextChecksum(qint32 value)
{
    return TextChecksum(QByteArray::number(value));
}

int TextChecksum(QByteArrayView bytes)
{
    int sum = 0;
    for (char b : bytes)
        sum += static_cast<unsigned char>(b);
    return sum;
}

qint32 ComputeParamChecksum(const ParamRecord &param)
{
    return decodeParamRecord(EncodeParamRecord(param)).computedChecksum;
}

qint32 ComputeSelectionChecksum(const SelectionRecord &selection)
{
    return TextChecksum(selection.BaudIndex);
}

QByteArray EncodeParamRecord(const ParamRecord &p)
{
    QByteArray out(kParamRecordSize, '\0');
    putInt(out, kPortIndex, p.PortIndex);
    putInt(out, kProgramLanguage, p.ProgramLanguage);
    putShortString(out, kMeasureDir, p.MeasureDir);
    putShortString(out, kConfigDir, p.ConfigDir);
    putShortString(out, kLogDir, p.LogDir);
    putShortString(out, kTemplateFile, p.TemplateFile);
    putBool(out, kLogTraffic, p.LogTraffic);
    putBool(out, kTransferAtOnce, p.TransferAtOnce);
    putBool(out, kCyclicStatus, p.CyclicStatus);
    putBool(out, kBeepOnError, p.BeepOnError);
    putInt(out, kPageIndex, p.PageIndex);
    putInt(out, kDecimalSepIndex, p.DecimalSepIndex);
    putBool(out, kScaleAnalogValues, p.ScaleAnalogValues);
    putBool(out, kTwoColumns, p.TwoColumns);
    putBool(out, kSkipAlarmValues, p.SkipAlarmValues);
    putFloat(out, kStatusInterval, p.StatusInterval);
    putFloat(out, kMeasureInterval, p.MeasureInterval);
    putBool(out, kReadAtStart, p.ReadAtStart);
    putInt(out, kAnalogPanelHeight, p.AnalogPanelHeight);
    putInt(out, kWindowHeight, p.WindowHeight);
    putInt(out, kWindowWidth, p.WindowWidth);
    putInt(out, kWindowTop, p.WindowTop);
    putInt(out, kWindowLeft, p.WindowLeft);
    putBool(out, kRememberConfig, p.RememberConfig);
    putInt(out, kParamChecksum, p.ParamChecksum);
    return out;
}

QByteArray EncodeSelectionRecord(const SelectionRecord &s)
{
    QByteArray out(kSelectionRecordSize, '\0');
    putInt(out, kBaudIndex, s.BaudIndex);
    for (int i = 0; i < SelectionRecord::kFieldPositions; ++i)
        putBool(out, kFieldSelection + i, s.FieldSelection[std::size_t(i)]);
    out[kReserved44] = char(s.Reserved44);
    putBool(out, kAskOnClose, s.AskOnClose);
    for (int i = 0; i < SelectionRecord::kReservedTail; ++i)
        out[kReservedTail + i] = char(s.Reserved[std::size_t(i)]);
    putInt(out, kSelectionChecksum, s.SelectionChecksum);
    return out;
}

void SetParamDefaults(ParamRecord &p, const QString &baseDir)
{
    p.PortIndex = 0;
    p.ProgramLanguage = 0;
    p.MeasureDir = defaultFolder(baseDir, Lang::TxMeasureSubDir);
    p.ConfigDir = defaultFolder(baseDir, Lang::TxConfigSubDir);
    p.LogDir = defaultFolder(baseDir, Lang::TxLogSubDir);
    p.TemplateFile = defaultTemplate(baseDir);
    p.LogTraffic = false;
    p.TransferAtOnce = false;
    p.CyclicStatus = false;
    p.BeepOnError = true;
    p.PageIndex = 0;
    p.DecimalSepIndex = 0;
    p.ScaleAnalogValues = false;
    p.TwoColumns = false;
    p.StatusInterval = kDefaultStatusInterval;
    p.MeasureInterval = kDefaultMeasureInterval;
    p.ReadAtStart = false;
    p.AnalogPanelHeight = 85;
    p.WindowHeight = 490;
    p.WindowWidth = 700;
    p.WindowTop = -1;
    p.WindowLeft = -1;
    p.RememberConfig = false;
}

void SetSelectionDefaults(SelectionRecord &selection)
{
    selection.BaudIndex = 1;
}

ParamReadResult ReadParameterFile(const QString &baseDir, ParamRecord &param, SelectionRecord &selection)
{
    ParamReadResult result;
    param = ParamRecord{};
    const QString name = ParameterFileName(baseDir);

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Missing = !QFileInfo::exists(name);
        result.ParamMessage = Lang::Format(Lang::Text(result.Missing ? Lang::TxParamMissing : Lang::TxParamCannotRead),
                                           {name});
        SetParamDefaults(param, baseDir);
        SetSelectionDefaults(selection);
        return result;
    }
    result.FileOpened = true;

    // never more than the two records: bytes past them do not matter, and a device or a
    // huge file must not be read whole
    const QByteArray data = file.read(kParameterFileSize);
    const bool readError = file.error() != QFileDevice::NoError;
    file.close();
    const qsizetype n = readError ? 0 : data.size();

    std::optional<DecodedParam> first;
    if (n < kParamRecordSize) {
        SetParamDefaults(param, baseDir);
    } else {
        first = decodeParamRecord(QByteArrayView(data).first(kParamRecordSize));
        param = first->record;
        result.ParamRecordBad = false;
    }
    bool secondRead = false;
    if (n < kParameterFileSize) {
        SetSelectionDefaults(selection);
    } else {
        selection = decodeSelectionRecord(QByteArrayView(data).sliced(kParamRecordSize), selection);
        result.SelectionRecordBad = false;
        secondRead = true;
    }

    if (result.ParamRecordBad || result.SelectionRecordBad)
        result.ParamMessage = Lang::Format(Lang::Text(Lang::TxParamReadError), {name});

    const QString checksumText = Lang::Format(Lang::Text(Lang::TxParamChecksumError), {name});
    // a length byte beyond the buffer cannot come from a writer: the record is as broken as
    // one with a wrong sum
    if (first && (!first->stringsValid || first->computedChecksum != param.ParamChecksum)) {
        SetParamDefaults(param, baseDir);
        result.ParamMessage += QStringLiteral("  ") + checksumText;
        result.ParamRecordBad = true;
    }
    if (secondRead && ComputeSelectionChecksum(selection) != selection.SelectionChecksum) {
        SetSelectionDefaults(selection);
        result.ParamMessage += QStringLiteral("  ") + checksumText;
        result.SelectionRecordBad = true;
    }

    // the intervals are not covered by the checksum; the window turns them into millisecond counts
    if (!usableInterval(param.StatusInterval))
        param.StatusInterval = kDefaultStatusInterval;
    if (!usableInterval(param.MeasureInterval))
        param.MeasureInterval = kDefaultMeasureInterval;

    if (!result.ParamRecordBad && !result.SelectionRecordBad) {
        result.ParamMessage = Lang::Format(Lang::Text(Lang::TxParamLoaded), {name});
        result.Failed = false;
    }
    return result;
}

bool WriteParameterFile(const QString &baseDir, ParamRecord &param, SelectionRecord &selection,
                        const ReportFn &report)
{
    const QString name = ParameterFileName(baseDir);
    // written beside the old file and renamed over it, so a failure keeps the old settings
    Model::WholeFile file(name);
    param.ParamChecksum = ComputeParamChecksum(param);
    selection.SelectionChecksum = ComputeSelectionChecksum(selection);
    if (file.open() && file.write(EncodeParamRecord(param) + EncodeSelectionRecord(selection)) && file.commit())
        return true;
    if (report)
        report(Model::WithReason(Lang::Format(Lang::Text(Lang::TxFileWriteProblem), {name}), file.errorText()), true);
    return false;
}

} // namespace Files
