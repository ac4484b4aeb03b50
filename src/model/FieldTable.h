#pragma once

#include "lang/MainWindowTextIds.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace Model {

// The instrument's values, in the order of the field table's rows.
enum class Field : int {
    SerialNumber, FirmwareVersion, OperatingHours, DeviceDate, DeviceTime,
    Range, Polarity, PolarityInterval, ZeroAtStart, AnalogOut,
    OutputMode, Placeholder11, DeviceLanguage, AnalogIn, MemoryEnd,
    StartDate, StartTime, Duration, StorageInterval, AnalogName,
    AnalogUnit, AnalogAtZero, AnalogAtTen, MemoryCleared, Recording,
    RecordingLamp, ZeroStarted, AlarmInfo, AlarmDisplay, MemoryUse,
    AlternatePolarity, RangeName, PolarityName, StartMode, StartModeStatus,
    ScaleBegin, ScaleEnd, ScaleParts, ValueScaleBegin, ValueScaleEnd,
    Count
};
inline constexpr int kFieldCount = int(Field::Count);

// How a field's text converts between telegram, file and control.
enum class FieldKind : quint8 {
    Text = 1,
    Date,               // "dd.mm.yyyy"
    ClockTime,          // "hh:mm:ss"
    ItemIndex,          // a selector's item by its position
    ItemInteger,        // a selector's item by the integer it carries
    MemoryCleared,      // acknowledgement
    DayMonth,           // "dd.mm" to the instrument, the year kept here
    HourMinute,
    Duration,           // "hhhh:mm"
    Decimal,
    RecordingFlag,
    ZeroAck,            // acknowledgement
    AlarmMask,
    RangeName,
    PolarityName,
    Lamp,
    Span,               // a time span, not a time of day
};

// A selector's items: how many there are and, for ItemInteger, the integer each one carries.
struct ItemData
{
    int count = 0;
    std::array<int, 3> integers{};
};

// One instrument value: the control that shows it, where configuration files keep it, and
// where the instrument's reply carries it.
struct TVComp
{
    Field id;
    FieldKind kind;
    const char *controlName;                // nullptr: shown nowhere
    const char *keyDe;                      // configuration file keys (UTF-8); nullptr: not in files
    const char *keyEn;
    int tokenPos;                           // read from reply token tokenPos + 1; 0: never read
    ItemData items = {};
    Field sameValueAs = Field::Count;       // another field whose value this one shares
};

// a selector's items as its captions list them
constexpr ItemData items(int firstText, std::array<int, 3> integers = {})
{
    return {Lang::ItemCount(firstText), integers};
}

// clang-format off
inline constexpr std::array<TVComp, kFieldCount> FieldTable{{
    {Field::SerialNumber,      FieldKind::Text,          "lblSerNr",          nullptr, nullptr, 1},
    {Field::FirmwareVersion,   FieldKind::Text,          "lblVersion",        nullptr, nullptr, 2},
    {Field::OperatingHours,    FieldKind::Text,          "lblTime",           nullptr, nullptr, 3},
    {Field::DeviceDate,        FieldKind::Date,          "dtpQTDate",         nullptr, nullptr, 1},
    {Field::DeviceTime,        FieldKind::ClockTime,     "iseQTTime",         nullptr, nullptr, 2},
    {Field::Range,             FieldKind::ItemIndex,     "tsRange",           "Messbereich", "Range", 1,
     items(Lang::TxItemsTsRange)},
    {Field::Polarity,          FieldKind::ItemIndex,     "tsPol",             "Polarität", "Polarity", 1,
     items(Lang::TxItemsTsPol)},
    {Field::PolarityInterval,  FieldKind::Span,          "isePolInter",       "PolInter", "PolInter", 1},
    {Field::ZeroAtStart,       FieldKind::ItemIndex,     "tsZeroAtStart",     "NullpunktNachStart", "ZeroAdjustOnStart", 1,
     items(Lang::TxItemsTsZeroAtStart)},
    {Field::AnalogOut,         FieldKind::ItemIndex,     "tsAnaOut",          "AnalogAusgang", "AnalogOut", 1,
     items(Lang::TxItemsTsAnaOut)},
    {Field::OutputMode,        FieldKind::ItemInteger,   "tsOutMeas",         "Ausgabe", "Output", 1,
     items(Lang::TxItemsTsOutMeas, {2, 3, 1})},
    {Field::Placeholder11,     FieldKind::ClockTime,     nullptr,             nullptr, nullptr, 1},
    {Field::DeviceLanguage,    FieldKind::ItemIndex,     "tsQTLanguage",      "Sprache", "Languages", 1,
     items(Lang::TxItemsTsQTLanguage)},
    {Field::AnalogIn,          FieldKind::ItemIndex,     "tsAnaIn",           "AnalogEingang", "AnalogInput", 1,
     items(Lang::TxItemsTsAnaIn)},
    {Field::MemoryEnd,         FieldKind::ItemIndex,     "tsMemEnd",          "Speichermodus", "MemoryMode", 1,
     items(Lang::TxItemsTsMemEnd)},
    {Field::StartDate,         FieldKind::DayMonth,      "dtpStartDate",      "StartDatum", "MemoyStartDate", 1},
    {Field::StartTime,         FieldKind::HourMinute,    "iseStartTime",      "StartZeit", "MemoyStartTime", 2},
    {Field::Duration,          FieldKind::Duration,      "iseDuration",       "SpeicherDauer", "MemoryDuration", 1},
    {Field::StorageInterval,   FieldKind::Span,          "iseMeasInt",        "Speicherintervall", "MemInterTime", 1},
    {Field::AnalogName,        FieldKind::Text,          "txtAnaName",        "NameAnalogEingang", "AnalogInputName", 0},
    {Field::AnalogUnit,        FieldKind::Text,          "txtAnaUnit",        "EinheitAnalogEingang", "AnalogInputUnit", 0},
    {Field::AnalogAtZero,      FieldKind::Decimal,       "txtAnaValZero",     "NullwertAnalogEingang", "AnalogInputZero", 0},
    {Field::AnalogAtTen,       FieldKind::Decimal,       "txtAnaVal10",       "EndwertAnalogEingang", "AnalogInputEnd", 0},
    {Field::MemoryCleared,     FieldKind::MemoryCleared, "btnMemClear",       nullptr, nullptr, 1},
    {Field::Recording,         FieldKind::RecordingFlag, "btnStart",          nullptr, nullptr, 1},
    {Field::RecordingLamp,     FieldKind::Lamp,          "ledStatMem",        nullptr, nullptr, 1},
    {Field::ZeroStarted,       FieldKind::ZeroAck,       "btnZero",           nullptr, nullptr, 1},
    {Field::AlarmInfo,         FieldKind::AlarmMask,     "lblInfo",           nullptr, nullptr, 4},
    {Field::AlarmDisplay,      FieldKind::AlarmMask,     "lblAlarm",          nullptr, nullptr, 4},
    {Field::MemoryUse,         FieldKind::Text,          "lblMemUse",         nullptr, nullptr, 5},
    {Field::AlternatePolarity, FieldKind::ItemIndex,     "tsPolAlter",        "PolAlter", "PolAlter", 1,
     items(Lang::TxItemsTsPolAlter)},
    {Field::RangeName,         FieldKind::RangeName,     "lblRange",          nullptr, nullptr, 1},
    {Field::PolarityName,      FieldKind::PolarityName,  "lblPol",            nullptr, nullptr, 1},
    {Field::StartMode,         FieldKind::ItemIndex,     "tsStartMode",       "TimerAktiv", "TimerActive", 1,
     items(Lang::TxItemsTsStartMode)},
    // the status reply's view of the start mode: one selector, one value
    {Field::StartModeStatus,   FieldKind::ItemIndex,     "tsStartMode",       nullptr, nullptr, 2,
     items(Lang::TxItemsTsStartMode), Field::StartMode},
    {Field::ScaleBegin,        FieldKind::Decimal,       "txtScaleZero",      "SkalaAnfang", "ScaleBegin", 0},
    {Field::ScaleEnd,          FieldKind::Decimal,       "txtScaleEnd",       "SkalaEnde", "ScaleEnd", 0},
    {Field::ScaleParts,        FieldKind::Decimal,       "txtScaleParts",     "Skalenteilung", "ScaleParts", 0},
    {Field::ValueScaleBegin,   FieldKind::Decimal,       "txtValueScaleZero", "WertSkalaAnfang", "ValueScaleBegin", 0},
    {Field::ValueScaleEnd,     FieldKind::Decimal,       "txtValueScaleEnd",  "WertSkalaEnde", "ValueScaleEnd", 0},
}};
// clang-format on

// Row i of a table describes id i, so a lookup is an index.
template <typename Table>
constexpr bool rowsInOrder(const Table &table)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (std::size_t(table[i].id) != i)
            return false;
    return true;
}
static_assert(rowsInOrder(FieldTable), "the field table's rows follow Model::Field");

constexpr const TVComp &fieldInfo(Field field)
{
    return FieldTable[std::size_t(field)];
}

// The field whose value this one shows: itself unless it shares another's.
constexpr Field valueOwner(Field field)
{
    const Field other = fieldInfo(field).sameValueAs;
    return other == Field::Count ? field : other;
}

QString controlName(Field field);
// The configuration file key in language 0 (German) or 1 (English); empty when not in files.
QString fileKey(Field field, int language);

enum Slot : int { FileSlot = 0, TelegramSlot = 1 };

// How a field's text reaches its control and back; the main window implements it.
class FieldView
{
public:
    virtual ~FieldView() = default;
    virtual void Dat2Form(Field field, Slot slot) = 0;
    virtual void Form2Dat(Field field, Slot slot) = 0;
};

// What a field holds at run time: the control bound to it and the two transfer texts.
struct FieldSlot
{
    QObject *Control = nullptr;     // bound by the main window; not owned
    QString FileText;
    QString TelegramText;
};

class FieldSlots
{
public:
    FieldSlot &operator[](Field field) { return m_slots.at(std::size_t(field)); }
    const FieldSlot &operator[](Field field) const { return m_slots.at(std::size_t(field)); }

    // controls unbound, texts emptied; the view stays
    void clear() { m_slots = {}; }

    // the first field whose control it is
    std::optional<Field> FindByControl(const QObject *control) const;
    // binds every field that names this component
    void BindControl(const QString &controlName, QObject *control);

    void setView(FieldView *view) { m_view = view; }
    FieldView *view() const { return m_view; }

    // Without a view the texts stay as they are: the core works on them alone.
    void Dat2Form(Field field, Slot slot) const;
    void Form2Dat(Field field, Slot slot) const;

private:
    std::array<FieldSlot, kFieldCount> m_slots;
    FieldView *m_view = nullptr;
};

} // namespace Model
