#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &AppTexts()
{
    static const TextTable texts = {
        {TxMemCleared, "Messwertspeicher im QT 8800 wurde gelöscht"},
        {TxZeroStarted, "Nullpunktabgleich gestartet"},
        {TxDat2FormIndex, "ProgrammFehler: Dat2Form() Index="},
        {TxForm2DatIndex, "ProgrammFehler: Form2Dat() Index="},
        {TxAskMemClear, "Wollen Sie wirklich den Messwertspeicher im QT 8800 löschen?"},
        {TxMemClearing, "Messwertspeicher im QT 8800 wird gelöscht ..."},
        {TxMemNotCleared, "Messwertspeicher im QT8800 wurde nicht gelöscht."},
        {TxOnlyNumberChars, "Nur Zeichen \"-0123456789,.\" möglich!"},
        {TxNoValidValue, "Kein gültiger Wert!"},
        {TxNoValidInterval, "Keine gültige Eingabe im Feld Zeitinetrvall!"},
        {TxSecondStart, "QT8800 wurde bereits gestartet! \nZweiter Start ist nicht möglich."},
        {TxAskClose, "Programm wirklich beenden? "},
        {TxBaudHint, "Im QT 8800 muss die gleiche Baudrate eingestellt sein!"},
        {TxPortHint, "Gerät: %s"},
        {TxChooseDirectory, "Verzeichnis wählen"},
        {TxTemplateTitle, "Selektion EXCEL - Vorlagendatei"},
        {TxTemplateFilter, "EXCEL Dateien(*.XLS)|*.XLS|Alle Dateien (*.*)|*.*"},
        {TxAboutNotice, "Konfiguration und Messdatenaufbereitung für das Ionometer QT 8800."},
        {TxAboutTitle, "Über QT 8800"},
        {TxNameChooseMeasureDir, "Verzeichnis für Messdaten wählen"},
        {TxNameChooseTemplate, "Vorlagendatei wählen"},
        {TxNameChooseConfigDir, "Verzeichnis für Konfigurationen wählen"},
        {TxNameChooseLogDir, "Verzeichnis für Protokolle wählen"},
        {TxNameQueryMemoryUse, "Speicherbelegung abfragen"},
    };
    return texts;
}

} // namespace Lang
