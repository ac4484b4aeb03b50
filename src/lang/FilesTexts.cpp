#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &FilesTexts()
{
    static const TextTable texts = {
        {TxParamCannotRead, "Problem beim Lesen der Datei: %s ! Defaultwerte gesetzt."},
        {TxParamReadError, "Lesefehler bei Parameterdatei: %s ! Bitte Programmeinstellung prüfen."},
        {TxParamChecksumError, "Prüfsummenfehler bei Parameterdatei: %s ! Bitte Programmeinstellung prüfen."},
        {TxParamLoaded, "Parameter aus Datei: %s geladen."},
        {TxFileWriteProblem, "Problem beim Schreiben der Datei: %s !"},
        {TxMeasureSubDir, "Messwert"},
        {TxConfigSubDir, "Konfig"},
        {TxLogSubDir, "Proto"},
        {TxTemplateFileName, "QT8800Vorlage.XLS"},
        {TxConfigHeadSection, "[KOPF]"},
        {TxConfigGenerated, "Generierung="},
        {TxConfigName, "Name="},
        {TxConfigCannotOpen, "Datei %s konnte nicht geöffnet werden "},
        {TxConfigReading, "Die Konfigurationsdatei %s wird gelesen."},
        {TxConfigIsRead, "Die Konfigurationsdatei %s ist gelesen."},
        {TxMissingKeysIntro, "Es wurden folgende Einstellungen"},
        {TxMissingKeysInFile, "in der Datei "},
        {TxMissingKeysNotFound, "n i c h t  gefunden!"},
        {TxMissingKeysTakeAnyway, "Sollen die Daten trotzdem übernommen werden?"},
        {TxConfigNotTaken, "Daten wurden nicht übernommen"},
        {TxLoadConfigTitle, "Selektion Konfigurationsdatei für QT 8800"},
        {TxSaveConfigTitle, "Speichern Konfigurationsdatei für QT 8800"},
        {TxConfigFilter, "QT8800-Konfigurationsdateien (*.QT8)|*.QT8|Alle Dateien (*.*)|*.*"},
        {TxLoadConfigCancelled, "Funktion Konfiguration aus Datei lesen abgebrochen."},
        {TxSaveConfigCancelled, "Funktion Konfiguration in Datei schreiben abgebrochen."},
        {TxLoadingConfigFrom, "Daten werden aus der Datei %s gelesen."},
        {TxSavingConfigTo, "Daten werden in die Datei %s geschrieben."},
        {TxReasonDiskFull, "Datenträger voll"},
        {TxReasonNoPermission, "keine Berechtigung"},
        {TxReasonReadOnly, "Dateisystem nur lesbar"},
        {TxReasonMissing, "Datei oder Ordner fehlt"},
        {TxReasonNotAFolder, "ein Teil des Pfads ist kein Ordner"},
        {TxReasonIsAFolder, "ist ein Ordner"},
        {TxReasonTooLarge, "Datei zu groß"},
        {TxReasonInputOutput, "Ein-/Ausgabefehler des Datenträgers"},
        {TxReasonReaderGone, "der Empfänger hat die Verbindung geschlossen"},
        {TxReasonNoReader, "niemand liest aus der Pipe, oder das Gerät fehlt"},
        {TxReasonNotOpen, "nicht geöffnet"},
        {TxReasonNameTooLong, "Name zu lang"},
        {TxReasonBlockDevice, "ist ein Laufwerk und wird nicht beschrieben"},
        {TxReasonOther, "Systemfehler %d (%s)"},
        {TxParamMissing, "Keine Parameterdatei %s: Defaultwerte gesetzt."},
    };
    return texts;
}

} // namespace Lang
