#pragma once

#include "model/FieldTable.h"

#include <QWidget>

#include <bitset>

class QDateEdit;
class QLabel;
class QPushButton;
class TBevel3D;
class TInterSpinEdit;
class TTextSpin;
class TextBindings;

namespace Link {
class ProtocolEngine;
}

// The instrument's identity, clock, range, polarity, analogue output, zeroing and language.
class ConfigurationPage : public QWidget
{
    Q_OBJECT
public:
    ConfigurationPage(TextBindings &texts, Link::ProtocolEngine &engine, QWidget *parent = nullptr);

    // a change is sent at once only while the settings page asks for it
    void setTransferAtOnce(bool on) { m_transferAtOnce = on; }
    // the controls start in button face; the value's origin recolours them later
    void setInitialColours();
    void GetInfoKlickClick();

    // what the device view changes without a user's touch on this page: the selectors move,
    // keep their colour and send nothing themselves
    void stepPolarity();
    // one range down, held at Auto; one range up, past the largest back to Auto
    void stepRangeDown();
    void stepRangeUp();
    // the polarity the instrument measures with, by its name in this page's list
    QString showPolarity(int position);

    QLabel *lblSerNr = nullptr, *lblVersion = nullptr, *lblTime = nullptr, *lblSysDate = nullptr,
           *lblSysTime = nullptr;
    QDateEdit *dtpQTDate = nullptr;
    TInterSpinEdit *iseQTTime = nullptr, *isePolInter = nullptr;
    TTextSpin *tsRange = nullptr, *tsPol = nullptr, *tsPolAlter = nullptr, *tsAnaOut = nullptr,
              *tsZeroAtStart = nullptr, *tsQTLanguage = nullptr;
    QPushButton *btnSetDT = nullptr, *btnSyncDT = nullptr;
    TBevel3D *btnZero = nullptr;

signals:
    // the user touched a value control: it leaves the instrument's or the file's colour
    void touched(QWidget *control);
    // the page wrote a value of its own into a control, with the control's signals blocked
    void programSet(QWidget *control);

private:
    void build(TextBindings &texts);
    void connectHandlers();
    QColor base() const { return palette().color(QPalette::Base); }
    // the window's colour, and the control counts as touched
    void touch(QWidget *control);
    void queueForControl(QObject *control);
    void btnSetDTClick();
    void btnSyncDTClick();

    Link::ProtocolEngine &m_engine;
    std::bitset<std::size_t(Model::Field::Count)> m_changed;   // changed since the control was entered
    bool m_transferAtOnce = false;
};
