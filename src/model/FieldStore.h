#pragma once

#include "model/FieldTable.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace Model {

// Where a field's value last came from; a window shows it as the control's colour.
// Program: set by code (the computer's clock, a default); shown without changing the colour.
enum class FieldOrigin { None, Device, File, User, Program };

// One instrument setting: its value as a configuration file holds it, where it came from, and
// whether the last text offered for it did not convert (shown red).
struct Fact
{
    QString value;
    FieldOrigin origin = FieldOrigin::None;
    bool bad = false;
};

// The one configuration model: every instrument setting as a Fact, converted by the field's
// kind from replies, files and user input in this one place.
//
//   Dat2Form(field, slot, text)      reply token or file value in; origin Device or File
//   setValue(field, text, origin)    user input (User) or the program's own (Program);
//                                    false when the text does not convert
//   Form2Dat(field, slot)            the text a request or a file carries
//   fact(field), value(field)        what is held
//   changed(field, origin)           a value was taken (also a bad selector text that moved it);
//                                    from the instrument or a file also when it is the same
//   rejected(field, text, origin)    a text did not convert; the fact is marked bad
//   acknowledged(field)              memory cleared, zero adjustment started
//
// Selectors follow the window: a selector text that is no number picks the first item and is
// bad; a number the selector does not offer keeps the value and is bad. Numbers follow the
// one number rule (no exponents). A field that shares another's value keeps it there (the
// start-mode selector is filled by two replies). A field without a control is left alone.
//
// Constructed on a field table, it is that table's view: the engine's read and write
// sequences and the configuration files then work on it through the transfer texts.
class FieldStore : public QObject
{
    Q_OBJECT
public:
    explicit FieldStore(QObject *parent = nullptr);
    // Installs itself as the table's view, and removes itself again when destroyed.
    explicit FieldStore(FieldSlots &fields, QObject *parent = nullptr);
    ~FieldStore() override;

    void Dat2Form(Field field, Slot slot, const QString &text);
    bool setValue(Field field, const QString &text, FieldOrigin origin = FieldOrigin::Program);
    // Empty for a field without a value here.
    QString Form2Dat(Field field, Slot slot) const;

    // false: the field has no control and no value here
    static bool holds(Field field);
    const Fact &fact(Field field) const;
    QString value(Field field) const { return fact(field).value; }
    FieldOrigin origin(Field field) const { return fact(field).origin; }

    // Fields whose text did not convert since the last call, for callers that report after a run.
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

signals:
    void changed(Model::Field field, Model::FieldOrigin origin);
    void rejected(Model::Field field, const QString &text, Model::FieldOrigin origin);
    void acknowledged(Model::Field field);

private:
    class TableView;
    struct Conversion
    {
        std::optional<QString> value;    // nothing: the value stays
        bool bad = false;
    };

    Fact *factFor(Field field);
    Conversion convert(Field field, const QString &text, Slot slot, const Fact &current) const;
    bool take(Field field, const QString &text, Slot slot, FieldOrigin origin);

    std::unique_ptr<TableView> m_view;
    std::array<Fact, kFieldCount> m_facts;    // by the field that owns the value
    QList<Field> m_rejected;
    QChar m_decimalSep = u'.';
    QChar m_timeSep = u':';
    QDate m_today = QDate::currentDate();
    int m_acks = 0;
};

} // namespace Model
