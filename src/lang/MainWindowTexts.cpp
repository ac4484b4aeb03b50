#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &MainWindowTexts()
{
    static const TextTable texts = {
        {TxCapForm1, "QT 8800"},
        {TxCapDatei1, "&Datei"},
        {TxCapKonfigurationladen1, "Konfigurationsdatei &laden"},
        {TxCapKonfigurationspeichern1, "Konfigurationsdatei &speichern"},
        {TxCapProgrammbeenden1, "Programm b&eenden"},
        {TxCapQT88001, "&QT 8800"},
        {TxCapEinstellungenladen1, "Konfiguration aus QT 8800 lesen"},
        {TxCapKonfigurationzumQT8800bertragen1, "Konfiguration zum QT 8800 übertragen"},
        {TxCapOptionen1, "&Optionen"},
        {TxCapProgrammkonfigurieren1, "Programm &konfigurieren"},
        {TxCapHilfe1, "?"},
        {TxCapInfo1, "&Info"},
        {TxCapTabConfig, "&Geräteeinstellung"},
        {TxCapTabMeasureConfig, "Einstellungen &Messwertspeicher"},
        {TxCapTabInfo, "Gerätean&sicht"},
        {TxCapTabProgram, "&Programmeinstellung"},
        {TxCapGbPort, "Serieller Schnittstellenport"},
        {TxCapGbBaud, "Baudrate"},
        {TxCapGbMPath, "Verzeichnis- und Dateinamen"},
        {TxCapGbZero, "Nullpunktabgleich"},
        {TxCapGbDevice, "Gerätedaten"},
        {TxCapGbDate, "Datum und Uhrzeit"},
        {TxCapGbQTLang, "Sprache Ionometer"},
        {TxCapGbRange, "Messbereich in Ionen/cm³"},
        {TxCapGbPolarity, "Ionenpolarität"},
        {TxCapGbAnaOut, "Analogausgang"},
        {TxCapGbProgOptions, "Programmoptionen"},
        {TxCapGbProgLang, "Programmsprache"},
        {TxCapGbEndMem, "Verhalten bei Speicherende"},
        {TxCapGbMem, "Messdatenspeicherung"},
        {TxCapGbManMem, "Manuelle Speicherung"},
        {TxCapGbMemClear, "Messwertspeicher löschen"},
        {TxCapGbOut, "Ausgabe Messwerte"},
        {TxCapGbAnaIn, "Analogeingang"},
        {TxCapGbDecimalSep, "Dezimaltrennzeichen"},
        {TxCapGbAnalogInput, "Bezeichnung und Skalierung Analogeingang"},
        {TxCapLblSerialNr, "Serien-Nr.:"},
        {TxCapLblFirmwareVesrion, "Firmwareversion:"},
        {TxCapLblTimeCount, "Betriebsstunden:"},
        {TxCapLblSystemDate, "System-Datum"},
        {TxCapLblSystemTime, "System-Zeit:"},
        {TxCapLblQTDate, "QT8800-Datum:"},
        {TxCapLblQTTime, "QT8800-Zeit:"},
        {TxCapLblAlterPol, "Alternierende Polaritätsumschaltung"},
        {TxCapLblPolInter, "Umschaltintervall:"},
        {TxCapBtnSyncDT, "Datum/Zeit mit System synchronisieren"},
        {TxCapBtnSetDT, "Datum und Zeit zu QT 8800 übertragen"},
        {TxCapBtnZero, "Nullpunktabgleich"},
        {TxCapBtnSaveQTKonfig, "PC  ---> QT8800   [F6]"},
        {TxCapBtnLoadQTKonfig, "QT 8800  ---> PC  [F5]"},
        {TxCapBtnEnd, "&Ende"},
        {TxCapLedStatMem, "Speichern"},
        {TxCapLblStartDate, "Start-Datum:"},
        {TxCapLblStartTime, "Start-Zeit:"},
        {TxCapLblEndDate, "Ende-Datum:"},
        {TxCapLblEndTime, "Ende-Zeit:"},
        {TxCapLblDuration, "Dauer:"},
        {TxCapLblStartMode, "Startmodus Messwertspeicherung"},
        {TxCapLblMeasInt, "Speicherintervall:"},
        {TxCapLblExtLabel, "Bezeichnung:"},
        {TxCapLblExtUnit, "Einheit:"},
        {TxCapLblExtZero, "Wert bei 0 Volt:"},
        {TxCapLblExtTen, "Wert bei +10 Volt:"},
        {TxCapLblExtScaleBegin, "Skala Anfang:"},
        {TxCapLblExtScaleEnd, " Ende:"},
        {TxCapLblExtScaleParts, "Teilung:"},
        {TxCapLblExtValueBegin, "Wert bei Skalenanfang:"},
        {TxCapLblExtScaleValueEnd, "Wert bei Skalenende:"},
        {TxCapLblStartStop, "Start / Stop"},
        {TxCapLblMemoryUse, "Belegt:"},
        {TxCapLblMemory, "Speicher"},
        {TxCapLblClear, "Löschen"},
        {TxCapCboSaveConfig, "Einstellungen bei Programmende merken und bei Programmstart laden"},
        {TxCapCboReadAtStart, "Konfiguration aus QT 8800 bei Programmstart lesen"},
        {TxCapCboPrompt, "Konfigurationsänderungen sofort im QT 8800 durchführen"},
        {TxCapCboQTTime, "Status, Datum und Uhrzeit aus QT 8800 zyklisch lesen, alle:"},
        {TxCapCbBeep, "Ton bei Fehlermeldungen"},
        {TxCapCboDebug, "Datenverkehr von und zu QT 8800 protokollieren "},
        {TxCapCbAskArProgrammClose, "Nachfrage bei Programmende"},
        {TxCapLblMeasRefresh, "Messwertabfrage in Geräteansicht alle:"},
        {TxCapLblSeconds2, "Sekunden"},
        {TxCapLblSeconds, "Sekunden"},
        {TxCapLblMeasPath, "Messwert-Dateien:"},
        {TxCapLblEXCELDat, "EXCEL-Vorlagedatei:"},
        {TxCapLblKonfPath, "Konfigurations-Dateien:"},
        {TxCapLblDebugPath, "Protokoll-Dateien:"},

        {TxItemsTsRange + 0, "Auto | clBlue | 0"},
        {TxItemsTsRange + 1, "500 (0,5k) | clBlack | 1"},
        {TxItemsTsRange + 2, "1.500 (1,5k)  | clBlack | 2"},
        {TxItemsTsRange + 3, "5.000 (5k)| clBlack | 3"},
        {TxItemsTsRange + 4, "15.000 (15k)| clBlack | 4"},
        {TxItemsTsRange + 5, "50.000 (50k)| clBlack | 5"},
        {TxItemsTsRange + 6, "150.000 (150k)| clBlack | 6"},
        {TxItemsTsRange + 7, "500.000 (500k)| clBlack | 7"},
        {TxItemsTsRange + 8, "1.500.000 (1,5M) | clBlack | 8"},
        {TxItemsTsRange + 9, "5.000.000 (5M)| clBlack | 9"},
        {TxItemsTsPol + 0, "Positiv | clBlack | 0"},
        {TxItemsTsPol + 1, "Negativ | clBlue | 1"},
        {TxItemsTsPolAlter + 0, "Keine Umschaltung|0|0"},
        {TxItemsTsPolAlter + 1, "Umschaltung aktiv|0|2"},
        {TxItemsTsAnaOut + 0, "1 Volt DC | clBlue | 0"},
        {TxItemsTsAnaOut + 1, "2,5 Volt DC | clBlack | 1"},
        {TxItemsTsAnaOut + 2, "5 Volt DC | clBlack | 1"},
        {TxItemsTsAnaOut + 3, "10 Volt DC | clBlack | 1"},
        {TxItemsTsZeroAtStart + 0, "nur Manuell| clBlack | 0"},
        {TxItemsTsZeroAtStart + 1, "automatisch nach Start| clBlue | 1"},
        {TxItemsTsQTLanguage + 0, "Deutsch | clBlue | G "},
        {TxItemsTsQTLanguage + 1, "English | clBlack | E"},
        {TxItemsTsStartMode + 0, "Start manuell|0|0"},
        {TxItemsTsStartMode + 1, "Start nach Zeitvorwahl|1|1"},
        {TxItemsTsAnaIn + 0, "Ausgeschaltet|clRed|0"},
        {TxItemsTsAnaIn + 1, "Eingeschaltet|clRed|1"},
        {TxItemsTsOutMeas + 0, "Speicher|2|2"},
        {TxItemsTsOutMeas + 1, "Speicher und RS232|3|3"},
        {TxItemsTsOutMeas + 2, "RS232|1|1"},
        {TxItemsTsMemEnd + 0, "Stop|clRed|0"},
        {TxItemsTsMemEnd + 1, "Überschreiben|clRed|1"},
        {TxItemsTsComPort + 0, "COM1| clBlack|0"},
        {TxItemsTsComPort + 1, "COM2| clBlack|1"},
        {TxItemsTsComPort + 2, "COM3| clBlack|1"},
        {TxItemsTsComPort + 3, "COM4| clBlack|1"},
        {TxItemsTsComPort + 4, "COM5| clBlack|1"},
        {TxItemsTsComPort + 5, "COM6| clBlack|1"},
        {TxItemsTsComPort + 6, "COM7| clBlack|1"},
        {TxItemsTsComPort + 7, "COM8| clBlack|1"},
        {TxItemsTsBaud + 0, " 4800| clBlack|4800"},
        {TxItemsTsBaud + 1, " 9600| clBlack|9600"},
        {TxItemsTsBaud + 2, "19200| clBlack|19200"},
        {TxItemsTsBaud + 3, "38400| clBlack|38400"},
        {TxItemsTsDecimalSep + 0, "Punkt (.)| clBlack|0"},
        {TxItemsTsDecimalSep + 1, "Komma (,)| clBlack|1"},
        {TxItemsTsProgLang + 0, "Deutsch|  |1031"},
        {TxItemsTsProgLang + 1, "English|  |1033"},

        {TxHintLblSysDate, "Hier wird kontinuierlich das Systemdatum angezeigt"},
        {TxHintLblSysTime, "Hier wird kontinuierlich die Systemzeit angezeigt"},
        {TxHintLblSerNr, "Die Serien-Nr. vom QT 8800 erhalten Sie mit einem Click in diesem Feld"},
        {TxHintLblVersion, "Die Version der Firmware vom QT 8800 erhalten Sie mit einem Click in diesem Feld"},
        {TxHintLblTime, "Hier wird die Lüfterlaufzeit in Stunden ausgegeben"},
        {TxHintDtpQTDate, "Hier wird das im QT 8800 eingestellte Datum ausgegeben"},
        {TxHintBtnSyncDT, "Datum und Zeit vom QT 8800 werden mit Datum und Zeit vom System synchronisiert"},
        {TxHintBtnSetDT, "Das eingestellte Datum und die eingestellte Zeit werden in das QT 8800 übertragen"},
        {TxHintIsePolInter, "Wählen Sie das Intervall mit dem sich die Ionen-Polarität ändert \nDamit die alternierende Polaritätsumschaltung wirksam ist, muss diese aktiviert sein"},
        {TxHintTsPolAlter, "Aktivieren Sie oder deaktivieren Sie die alternierende Polaritätsumschaltung"},
        {TxHintTsRange, "Wählen Sie den Messbereich, Auto ist automatische Messbereichsumschaltung"},
        {TxHintTsPol, "Wählen Sie Polarität der zu messenden Luftionen"},
        {TxHintTsAnaOut, "Stellen Sie hier die Analogausgangsspannung bei Messbereichsende ein"},
        {TxHintTsZeroAtStart, "Wählen Sie hier, ob der Nullpunktabgleich nach jedem Einschalten vom QT 8800 erfolgen soll oder nur manuell durch Tastendruck"},
        {TxHintBtnZero, "Hiermit lösen Sie einen Nullpunktabgleich aus (wenn QT 8800 keine Messdaten speichert)"},
        {TxHintTsQTLanguage, "Wählen Sie hier die Sprache der Bedienerführung im QT 8800"},
        {TxHintBtnSaveQTKonfig, "Die Konfigurationsdaten werden in das QT 8800 übertragen"},
        {TxHintBtnLoadQTKonfig, "Die Konfigurationsdaten werden aus dem QT 8800 gelesen"},
        {TxHintBtnEnd, "Hiermit beenden Sie das Programm QT8800.EXE"},
        {TxHintLedStatMem, "Wenn die gelbe LED blinkt, dann speichert das QT 8800 die Messwerte"},
        {TxHintLblInfo, "Hier werden die Alarmmeldungen vom QT 8800 ausgegeben"},
        {TxHintDtpStartDate, "Startdatum der Messwertspeicherung \nEin Klick auf den Pfeil öffnet den Hilfskalender"},
        {TxHintIseStartTime, "Startzeit der Messwertspeicherung\nSekunden sind immer 0"},
        {TxHintDtpStopDate, "Endedatum der Messwertspeicherung \nEin Klick auf den Pfeil öffnet den Hilfskalender"},
        {TxHintIseStopTime, "Endezeit der Messwertspeicherung\nSekunden sind immer 0"},
        {TxHintIseDuration, "Alternativ zu Endedatum und Endezeit können Sie hier die Dauer der Messwertspeicherung in Stunden und Minuten eingeben"},
        {TxHintTsStartMode, "Wählen Sie ob die der eingestellte Startzeitpunkt die Messwertspeicherung im QT 8800 aktivieren"},
        {TxHintIseMeasInt, "Stellen Sie hier die Intervallzeit ein, mit der die Messwerte gespeichert werden"},
        {TxHintTxtAnaName, "Hier können Sie eine Bezeichnung für den Analogeingang eingeben (z.B. CO2-Monitor)\nDie Bezeichnung wird bei der Messwertverarbeitung weiter verwendet."},
        {TxHintTxtAnaUnit, "Hier können Sie die Einheit für den Analogeingang eingeben (z.B. ppm)\nDer Einheitenname wird bei der Messwertverarbeitung weiter verwendet."},
        {TxHintTxtAnaValZero, "Geben Sie hier den Messwert des Gerätes bei 0 Volt am Analogeingang ein."},
        {TxHintTxtAnaVal10, "Geben Sie hier den Messwert des Gerätes bei +10 Volt am Analogeingang ein."},
        {TxHintTxtScaleZero, "Geben Sie hier den Skalenanfangswert für die Analogskala in der Gerätesansicht ein."},
        {TxHintTxtScaleEnd, "Geben Sie hier den Skalenendwert für die Analogskala in der Gerätesansicht ein (Max: 1000)."},
        {TxHintTxtScaleParts, "Geben Sie hier den Skalenteilung für die Analogskala in der Gerätesansicht ein (Max: 10)."},
        {TxHintTxtValueScaleZero, "Weisen Sie hier den entsprechenden Messwert dem Skalenanfangswert zu"},
        {TxHintTxtValueScaleEnd, "Weisen Sie hier den entsprechenden Messwert dem Skalenendwert zu"},
        {TxHintTsAnaIn, "Aktivieren Sie oder Deaktivieren Sie hier den Analogeingang"},
        {TxHintTsOutMeas, "Wählen Sie hier die Stelle an die die Messwerte ausgegeben werden"},
        {TxHintTsMemEnd, "Wählen Sie hier das Verhalten des QT 8800 bei 100% Messwertspeicherbelegung"},
        {TxHintBtnStart, "Manueller Start und Stop der Messwertspeicherung"},
        {TxHintBtnInfo1, "Klicken Sie hier zur Aktualisierung der Speicherbelegungsanzeige"},
        {TxHintBtnMemClear, "Löschen des Messwertspeichers im QT 8800"},
        {TxHintLblMemUse, "Hier wird der mit Messwerten belegte Speicherplatz in % ausgegeben"},
        {TxHintTsComPort, "Wählen Sie den Schnittstellenport aus an dem das QT 8800 angeschlossen ist"},
        {TxHintTsBaud, "Wählen Sie die Baudrate der seriellen Schnittstelle aus\nIm QT 8800 muss die gleiche Baudrate eingestellt sein!"},
        {TxHintTsProgLang, "Wählen Sie die Programmsprache"},
        {TxHintTsDecimalSep, "Wählen Sie das Dezimaltrennzeichen für die Ausgabe der Messwerte aus"},
        {TxHintBtnMPath, "Öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Messwert-Dateien"},
        {TxHintBtnExcelDat, "Öffnet ein Auswahlfenster zur Selektion oder Eingabe der EXCEL-Vorlagedatei"},
        {TxHintBtnQTPath, "Öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Konfigurations-Dateien"},
        {TxHintBtnDebugPath, "Öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Protokoll-Dateien der Datenkommunikation mit dem QT 8800"},
        {TxHintTxtMPath, "Ein Doppelklick öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Messwert-Dateien"},
        {TxHintTxtExcelDat, "Ein Doppelklick öffnet ein Auswahlfenster zur Selektion oder Eingabe der EXCEL-Vorlagedatei"},
        {TxHintTxtQTPath, "Ein Doppelklick öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Konfigurations-Dateien"},
        {TxHintTxtDebugPath, "Ein Doppelklick öffnet ein Auswahlfenster zur Selektion oder Eingabe des Verzeichnisnamen für die Protokoll-Dateien der Datenkommunikation mit dem QT 8800"},
    };
    return texts;
}

int ItemCount(int firstItem)
{
    switch (firstItem) {
    case TxItemsTsRange:
        return 10;
    case TxItemsTsPol:
        return 2;
    case TxItemsTsPolAlter:
        return 2;
    case TxItemsTsAnaOut:
        return 4;
    case TxItemsTsZeroAtStart:
        return 2;
    case TxItemsTsQTLanguage:
        return 2;
    case TxItemsTsStartMode:
        return 2;
    case TxItemsTsAnaIn:
        return 2;
    case TxItemsTsOutMeas:
        return 3;
    case TxItemsTsMemEnd:
        return 2;
    case TxItemsTsComPort:
        return 8;
    case TxItemsTsBaud:
        return 4;
    case TxItemsTsDecimalSep:
        return 2;
    case TxItemsTsProgLang:
        return 2;
    default:
        return 0;
    }
}

} // namespace Lang
