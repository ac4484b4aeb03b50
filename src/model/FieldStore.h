#pragma once

#include "model/FieldTable.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace Model {

// Where a field's value last came from; a window shows it as the control's colour.
enum class FieldOrigin { None, Device, File, Set, Bad };

// The field view of a program without controls: it keeps each field's value as a text, in the
// form a configuration file carries it, and converts it to and from the two transfer texts by
// the field's kind, accepting and rejecting what the window's controls accept and reject. So
// the engine's read and write sequences and the configuration files work on it unchanged.
//
// A field that shares another's value keeps it there (the start-mode selector is filled by two
// replies and written from either field). A field without a control is left alone.
class FieldStore : public FieldView
{
public:
    // Installs itself as the table's view, and removes itself again when destroyed.
    explicit FieldStore(FieldSlots &fields);
    ~FieldStore() override;
    FieldStore(const FieldStore &) = delete;
    FieldStore &operator=(const FieldStore &) = delete;

    void Dat2Form(Field field, Slot slot) override;
    void Form2Dat(Field field, Slot slot) override;

    // The value as a configuration file holds it; empty when nothing was stored yet.
    QString value(Field field) const;
    FieldOrigin origin(Field field) const;
    // A value given by the program itself (the computer's clock, say), checked like a file
    // text; false, and nothing changed, when it does not convert.
    bool setValue(Field field, const QString &text);

    // Fields whose text did not convert since the last call; their values stayed as they were.
    QList<Field> takeRejected();

    // What a fresh configuration page shows in the values that only the program keeps
    // (analogue input name, unit and calibration, the bar's scale).
    void SetPageDefaults();

    // Numbers are kept with this separator; times from files may also use this one.
    void setDecimalSeparator(QChar sep) { m_decimalSep = sep; }
    void setTimeSeparator(QChar sep) { m_timeSep = sep; }
    // The year a start date without one takes while no date is stored.
    void setToday(QDate today) { m_today = today; }

    // The status reply's recording flag, as the request to switch recording reads it.
    bool RecordingRunning() const;
    // Memory-clear and zero-adjustment acknowledgements received.
    int acknowledgements() const { return m_acks; }

private:
    struct Entry
    {
        QString text;
        FieldOrigin origin = FieldOrigin::None;
    };

    Entry *entryFor(Field field);
    const Entry *entryFor(Field field) const;
    // The stored form of `text` for this field's kind, or nothing when it does not convert.
    std::optional<QString> convert(Field field, const QString &text, Slot slot, const Entry &current) const;

    FieldSlots &m_slots;
    std::array<Entry, kFieldCount> m_entries;    // by the field that owns the value
    QList<Field> m_rejected;
    QChar m_decimalSep = u'.';
    QChar m_timeSep = u':';
    QDate m_today = QDate::currentDate();
    int m_acks = 0;
};

} // namespace Model
