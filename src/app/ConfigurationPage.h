#pragma once

#include "app/SettingsPage.h"

class QDateEdit;
class QLabel;
class QPushButton;
class TBevel3D;
class TInterSpinEdit;
class TTextSpin;
class TextBindings;

// The instrument's identity, clock, range, polarity, analogue output, zeroing and language.
class ConfigurationPage : public SettingsPage
{
    Q_OBJECT
public:
    ConfigurationPage(TextBindings &texts, Link::ProtocolEngine &engine, QWidget *parent = nullptr);

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

private:
    void build(TextBindings &texts);
    void connectHandlers();
    void btnSetDTClick();
    void btnSyncDTClick();

};
