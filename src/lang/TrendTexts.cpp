#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &TrendTexts()
{
    static const TextTable texts = {
        {TxTrendTitle, "Live-Verlauf"},
        {TxTrendMenu, "&Live-Verlauf..."},
        {TxTrendPageButton, "&Verlauf"},
        {TxTrendPause, "&Pause"},
        {TxTrendResume, "&Weiter"},
        {TxTrendRecord, "&Aufzeichnen..."},
        {TxTrendStopRecord, "Aufzeichnung &beenden"},
        {TxTrendClose, "&Schließen"},
        {TxTrendSpanLabel, "&Zeitachse:"},
        {TxTrendSpans, "1 min\n5 min\n15 min\n1 h\n2 h"},
        {TxTrendIonLane, "Ionen/cm³"},
        {TxTrendAnalogLane, "Analogeingang [V]"},
        {TxTrendHumidityLane, "Feuchte [%]"},
        {TxTrendTemperatureLane, "Temperatur [°C]"},
        {TxTrendRecordFilter, "Textdateien (*.csv *.txt);;Alle Dateien (*)"},
        {TxTrendRecordDialogTitle, "Live-Werte aufzeichnen"},

        {TxTrendHintPause, "Hält die Anzeige an; die Werte werden weiter gesammelt und aufgezeichnet"},
        {TxTrendHintRecord,
         "Schreibt jeden Live-Wert mit Millisekunden-Zeitstempel in eine Textdatei; eine vorhandene Datei wird "
         "fortgesetzt"},
        {TxTrendHintSpan, "Die Zeitspanne, die der Verlauf zeigt"},
        {TxTrendHintPlot, "Ionen mit Polarität, Analogeingang und Klimasensoren über der Zeit"},
        {TxTrendHintPageButton, "Öffnet den Live-Verlauf der Messwerte (Strg+L)"},

        {TxTrendWaiting, "Warte auf Messwerte..."},
        {TxTrendPaused, "Angehalten"},
        {TxTrendRecording, "Aufzeichnung in %s: %d Zeilen"},
        {TxTrendRecordEnded, "Aufzeichnung beendet: %d Zeilen in %s"},
        {TxTrendCannotWrite, "Die Datei %s kann nicht geschrieben werden: %s"},
        {TxTrendCannotRead, "Die Datei %s kann nicht gelesen werden: %s"},
        {TxTrendPlotName, "Verlauf der Live-Werte"},
        {TxTrendNoValues, "noch keine Werte"},
        {TxTrendLatest, "zuletzt um %s"},
    };
    return texts;
}

} // namespace Lang
