#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &MemoryUiTexts()
{
    static const TextTable texts = {
        {TxPageTab, "Messwert&aufbereitung"},
        {TxPageGbDirectory, "Messwertverzeichnis laden"},
        {TxPageGbMeasureFields, "Verfügbare Messwertfelder"},
        {TxPageGbSelectBtn, "Selektion"},
        {TxPageGbMeasureMode, "Messwertübernahme"},
        {TxPageSelectAll, "Alle"},
        {TxPageSelectDateTime, "Datum / Zeit"},
        {TxPageSelectIon, "Ionen"},
        {TxPageSelectAna, "Analogeingang"},
        {TxPageSelectSensor, "Sensoren"},
        {TxPageSelectAvg, "Mittelwerte"},
        {TxPageUnmarkCaption, "−"},
        {TxPageMarkCaption, "+"},
        {TxPageHintSelAll1, "Datum, Zeit und alle verfügbaren Messwerte übernehmen"},
        {TxPageHintSelAll0, "Kein Datum, keine Zeit und keine Messwerte übernehmen"},
        {TxPageHintSelDate1, "Datum und Zeitangaben übernehmen"},
        {TxPageHintSelDate0, "Kein Datum und keine Zeitangaben übernehmen"},
        {TxPageHintSelIon1, "Alle Ionenkonzentrationsmesswerte übernehmen"},
        {TxPageHintSelIon0, "Keine Ionenkonzentrationsmesswerte übernehmen"},
        {TxPageHintSelAna1, "Die Messwerte vom Analogeingang übernehmen"},
        {TxPageHintSelAna0, "Keine Messwerte vom Analogeingang übernehmen"},
        {TxPageHintSelSensor1, "Alle verfügbaren Messwerte der Klimasensoren übernehmen"},
        {TxPageHintSelSensor0, "Keine Messwerte der Klimasensoren übernehmen"},
        {TxPageHintSelAvg1, "Nur die Mittelwerte der Ionenkonzentration und des Analogeinganges übernehmen"},
        {TxPageHintSelAvg0, "Keine Mittelwerte der Ionenkonzentration und des Analogeinganges übernehmen"},
        {TxPageHintDirectory,
         "Hier wird das Messwertverzeichnis des QT 8800 zur Selektion ausgegeben (Kopfsätze der Messwertblöcke)"},
        {TxPageHintMeasureFields,
         "Hier werden die verfügbaren Messwertfelder des selektierten Messwertverzeichnisses ausgegeben"},
        {TxPageHintLoadDirectory,
         "zum Auslesen des Messwertverzeichnisses aus dem QT 8800 (nicht im Messwertspeichermodus)"},
        {TxPageHintText, "Messwerte als Textdatei mit Trennzeichen \";\" einlesen"},
        {TxPageHintExcel, "Messwerte direkt in EXCEL einlesen und grafisch darstellen"},
        {TxPageCboTwoCol, "Unterschiedliche Ionen&polaritäten in separate Spalten"},
        {TxPageCboAnaScale, "Analogwerte &skalieren (\"Einstellungen Messwertspeicher\")"},
        {TxPageCboAlarmNotValid, "Messwerte während Alarm im QT8800 nicht übernehmen"},
        {TxPageBtnLoadDirectory, "&Messwertverzeichnis laden"},
        {TxPageBtnText, "Als &Textdatei einlesen"},
        {TxPageBtnExcel, "Daten nach E&XCEL"},

        {TxMemoCaption, "Messwerte in Text-Format"},
        {TxMemoGroup, "Eingelesene Messwerte"},
        {TxMemoBtnSave, "Messwerte &speichern"},
        {TxMemoBtnClear, "&Löschen"},
        {TxMemoBtnCancel, "&Abbrechen"},
        {TxMemoBtnClose, "Schli&eßen"},
        {TxMemoHintMemo, "Hier werden die Messwerte angezeigt\nDas Fenster lässt sich in der Größe verändern"},
        {TxMemoHintSave, "Zum Abspeichern der eingelesenen Messwerte in eine Datei"},
        {TxMemoHintClear, "Löscht die Messwerte in dem Anzeigefeld"},
        {TxMemoHintCancel, "Bricht den Einlesevorgang ab"},
        {TxMemoHintClose, "Schließt dieses Fenster"},

        {TxSheetWinCaption, "Messwerte nach EXCEL"},
        {TxSheetWinLblTitle, "Diagramm-Titel:"},
        {TxSheetWinHintTitle, "Geben Sie hier den Titel des Diagramms ein"},
        {TxSheetWinLblBlockNr, "Messwert Block Nr.:"},
        {TxSheetWinLblStartDate, "Start-Datum:"},
        {TxSheetWinLblStartTime, "Start-Zeit:"},
        {TxSheetWinLblRecordNr, "Satz - Nr.:"},
        {TxSheetWinBtnCancel, "&Abbrechen"},
        {TxSheetWinHintCancel, "Bricht den Einlesevorgang ab"},
        {TxSheetWinBtnDiagramm, "&Diagramm erstellen"},
        {TxSheetWinHintDiagramm, "Erstellt und zeigt das Diagramm in EXCEL"},
        {TxSheetWinBtnClose, "Schli&eßen"},
        {TxSheetWinHintClose, "Schließt dieses Fenster"},
        {TxChartWinCaption, "QT 8800 Diagramm"},
    };
    return texts;
}

} // namespace Lang
