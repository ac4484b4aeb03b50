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
        {TxPortHint, "Gerät: %s"},
        {TxChooseDirectory, "Verzeichnis wählen"},
        {TxTemplateTitle, "Selektion EXCEL - Vorlagendatei"},
        {TxTemplateFilter, "EXCEL Dateien(*.xlsx *.xlsm *.xls)|*.xlsx;*.xlsm;*.xls|Alle Dateien (*.*)|*.*"},
        {TxPortTaken, "%s wird schon von einem anderen QT8800-Programm benutzt; die Schnittstelle bleibt, wie sie war."},
        {TxProgramHelp,
         "Aufruf: qt8800 [--help] [--version]\n"
         "\n"
         "Konfiguration und Messwerte des Ionometers QT 8800 über RS232.\n"
         "\n"
         "Das Programm hält seine Dateien (QT8800.dat, QT8800.LCF) im Ordner, in dem es\n"
         "gestartet wird. Ein Eintrag COM1 bis COM8 dort (z. B. ln -s /dev/ttyUSB0 COM1) ist\n"
         "die Schnittstelle dieses Namens, sonst stehen COM1 bis COM8 für /dev/ttyS0 bis\n"
         "/dev/ttyS7. An jeder Schnittstelle läuft höchstens ein Programm; für ein zweites\n"
         "Gerät ein zweites Programm in einem anderen Ordner starten.\n"
         "\n"
         "  --help      diese Hilfe\n"
         "  --version   Programmversion\n"
         "\n"
         "Ohne Fenster, für Skripte: qt8800-cli --help\n"},

        {TxModuleUnusable, "Sprachmodul %s ist nicht verwendbar: %s Die Texte bleiben, wie sie sind."},
        {TxModuleLinesSkipped, "Sprachmodul %s: übergangene Zeilen: %d, die erste: %s."},
        {TxModuleTextsMissing, "Sprachmodul %s: %d Texte fehlen und werden deutsch angezeigt."},
        {TxModuleEmpty, "Die Datei ist leer."},
        {TxModuleBinary, "Die Datei ist keine Textdatei in UTF-8."},
        {TxModuleTooLarge, "Die Datei ist größer als 4 MB."},
        {TxModuleUnreadable, "Die Datei kann nicht gelesen werden (%s)."},
        {TxModuleNotAFile, "Der Name gehört keiner gewöhnlichen Datei."},
        {TxModuleNoTexts, "Die Datei enthält keinen gültigen Text."},
        {TxModuleBadLine, "Zeile %d hat nicht die Form Nummer=Text"},
        {TxModuleUnknownId, "Zeile %d: unbekannte Textnummer %d"},
        {TxModuleDuplicateId, "Zeile %d: Textnummer %d steht schon in Zeile %d"},
        {TxModuleControlChars, "Zeile %d: Steuerzeichen im Text"},

        {TxAboutTitle, "Über QT 8800"},
        {TxAboutHeading, "<b>Ionometer QT 8800</b>"},
        {TxAboutNotice, "Konfiguration und Messdatenaufbereitung für das Ionometer QT 8800."},
        {TxAboutVersion, "Version %s"},
        {TxAboutProcessor, "Prozessor: %s"},
        {TxAboutClock, "Takt: %s MHz"},
        {TxAboutSystem, "Betriebssystem: %s (%s %s)"},
        {TxAboutMemory, "Speicher: %s MB, frei %s MB"},
        {TxAboutDisk, "Datenträger: %s, frei %s"},
        {TxAboutMegabytes, "%s MB"},
        {TxNameChooseMeasureDir, "Verzeichnis für Messdaten wählen"},
        {TxNameChooseTemplate, "Vorlagendatei wählen"},
        {TxNameChooseConfigDir, "Verzeichnis für Konfigurationen wählen"},
        {TxNameChooseLogDir, "Verzeichnis für Protokolle wählen"},
        {TxNameQueryMemoryUse, "Speicherbelegung abfragen"},
    };
    return texts;
}

} // namespace Lang
