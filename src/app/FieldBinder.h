#pragma once

#include "model/FieldStore.h"

#include <QObject>
#include <QPointer>

#include <array>

class QDateEdit;
class QLabel;
class QLineEdit;
class QWidget;
class TInterSpinEdit;
class TTextSpin;

// Shows the configuration model's values in the window's controls and hands what the user
// changes back to it, so that the store always holds what is shown and sending reads the store.
//
// A value from the instrument shows silver, one from a file light yellow, a text that did not
// convert red; the user's and the program's own values leave the colour as it is. A control
// being edited keeps its value and colour; the store then takes the shown value back.
class FieldBinder : public QObject
{
    Q_OBJECT
public:
    explicit FieldBinder(Model::FieldStore &store, QObject *parent = nullptr);

    void bind(Model::Field field, QLabel *label);
    void bind(Model::Field field, QLineEdit *edit);
    void bind(Model::Field field, QDateEdit *picker);
    void bind(Model::Field field, TInterSpinEdit *spinEdit);
    void bind(Model::Field field, TTextSpin *selector);

    QWidget *control(Model::Field field) const;
    // the field a control shows; Model::Field::Count for none
    Model::Field field(const QObject *control) const;

    // the store's value into the control, coloured by where it came from
    void show(Model::Field field, Model::FieldOrigin origin);
    // what the control shows into the store
    void take(Model::Field field, Model::FieldOrigin origin);
    void takeAll();

    // a control the user touched has left the instrument's or the file's colour: its value
    // counts as the user's
    void touched(QWidget *control);
    // a value the program wrote into a control with its signals blocked
    void programSet(QWidget *control);

signals:
    void edited(Model::Field field);

private:
    void bindControl(Model::Field field, QWidget *control);
    void showRejected(Model::Field field);
    QString shownText(Model::Field field) const;
    bool guarded(Model::Field field) const;
    bool beingTaken(Model::Field field) const;

    Model::FieldStore &m_store;
    std::array<QPointer<QWidget>, Model::kFieldCount> m_controls;
    Model::Field m_taking = Model::Field::Count;
};
