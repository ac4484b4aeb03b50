#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &DeviceViewTexts()
{
    static const TextTable texts = {
        {TxTabInfo, "Gerätean&sicht"},
        {TxModelLabel, "QT 8800   "},
        {TxFactorPrefix, "Faktor: "},
        {TxMeterCaption, "Ionen/cm³"},
        {TxKeyPol, "Pol"},
        {TxKeyRangeDown, "-"},
        {TxKeyRangeUp, "+"},
        {TxKeyZero, "0"},
        {TxKeyF7, "F7"},
        {TxKeyF8, "F8"},
        {TxKeyF9, "F9"},
        {TxKeyF10, "F10"},
        {TxKeyF11, "F11"},
        {TxKeyF12, "F12"},
        {TxSwitchOff, "Aus"},
        {TxSwitchOn, "Ein"},

        {TxHintMpAna, "Ausgabe der Messwerte des Analogeinganges"},
        {TxHintLblAnaName,
         "Hier steht die Bezeichnung des Analogeinganges wie im Register \"Einstellung Messwertspeicher\" angegeben"},
        {TxHintBtnPol, "Ändern Sie die Polarität der zu messenden Luftionen durch Klick oder Taste [F9]"},
        {TxHintBtnRaMin,
         "Sie wählen den nächst kleineren Messbereich, bzw. aktivieren die automatische Messbereichsumschaltung"},
        {TxHintBtnRaMax,
         "Sie wählen den nächst größeren Messbereich, bzw. aktivieren die automatische Messbereichsumschaltung"},
        {TxHintBtnNull,
         "Sie aktivieren den Nullpunktabgleich\nSchließen Sie das Mess-System während des Nullpunktabgleichs!"},
        {TxHintBtnShowandHide, "Zur Umschaltung der Ansichten Ionenkonzentration - Analogeingang - Klimasensoren"},
        {TxHintBtnInfo, "Aktivieren Sie die Aktualisierung mit Stellung \"Ein\""},
        {TxHintLedMain, "Leuchtet wenn die Aktualisierung eingeschaltet ist"},
        {TxHintLedAlarm, "Blinkt wenn die Aktualisiserung eingeschaltet ist und das QT 8800 einen Alarm meldet"},

        {TxNameIonMeter, "Ionenkonzentration"},
        {TxNameAnalogMeter, "Analogeingang"},
        {TxNamePolarity, "Polarität"},
        {TxNameRange, "Messbereich"},
        {TxNameAlarmValue, "Messwert / Alarm"},
        {TxNameFactor, "Skalenfaktor"},
        {TxNameLogo, "QT 8800"},
        {TxNameBtnShowandHide, "Ansicht umschalten [F7]"},
        {TxNameBtnPol, "Polarität umschalten [F9]"},
        {TxNameBtnRaMin, "Messbereich kleiner [F10]"},
        {TxNameBtnRaMax, "Messbereich größer [F11]"},
        {TxNameBtnNull, "Nullpunktabgleich [F12]"},
        {TxNameLedAlarm, "Alarm"},
        {TxNameLedMain, "Aktualisierung"},
        {TxNameSwitch, "Aktualisierung der Geräteansicht [F8]"},
        {TxNameSplitter, "Höhe der Analoganzeige"},

        {TxScaleNotANumber, "Skalierung der Analoganzeige: '%s' ist kein gültiger Gleitkommawert."},

        {TxSensCaption, "QT 8800  Sensoren"},
        {TxSensCreateCaption, "QT8800-Sensoren"},
        {TxSensAddress, "  Adresse"},
        {TxSensHumidity, "  rel.Feuchte in %"},
        {TxSensTemperature, "  Temperatur in °C"},
        {TxSensClose, "Schli&eßen"},
        {TxSensCloseHint, "Schließt dieses Fenster"},
        {TxSensGridName, "Klimasensoren"},
    };
    return texts;
}

} // namespace Lang
