#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &CliTexts()
{
    static const TextTable texts = {
        {TxCliNoCommand, "Kein Befehl angegeben."},
        {TxCliUnknownCommand, "Unbekannter Befehl: %s"},
        {TxCliUnknownOption, "Unbekannte Option: %s"},
        {TxCliOptionNeedsValue, "Die Option %s braucht einen Wert."},
        {TxCliOptionTakesNoValue, "Die Option %s nimmt keinen Wert."},
        {TxCliOptionNotFor, "Die Option %s gilt nicht für den Befehl %s."},
        {TxCliTooManyArguments, "Zu viele Angaben für %s: %s"},
        {TxCliFileMissing, "Der Befehl %s braucht einen Dateinamen."},
        {TxCliBadBaud, "Baudrate %s ist nicht möglich (4800, 9600, 19200 oder 38400)."},
        {TxCliBadBlock, "Keine gültige Blocknummer: %s"},
        {TxCliBlocksAndAll, "Blocknummern und --all schließen einander aus."},
        {TxCliOneTarget, "Der Befehl download braucht genau eines von --csv ORDNER und --xlsx ORDNER."},
        {TxCliBadDecimal, "Das Dezimaltrennzeichen muss \".\" oder \",\" sein: %s"},
        {TxCliBadInterval, "Ungültiges Intervall (Sekunden, 0.1 bis 86400): %s"},
        {TxCliBadDuration, "Ungültige Dauer (z. B. 90, 90s, 15m, 2h): %s"},
        {TxCliIntervalMissing, "Der Befehl live braucht --interval S."},
        {TxCliCsvMissing, "Der Befehl live braucht --csv DATEI oder --mqtt URL."},
        {TxCliSeeHelp, "Hilfe: qt8800-cli --help"},
        {TxCliBadLanguage, "Die Sprache %s gibt es nicht (de oder en)."},
        {TxCliTemplateNeedsXlsx, "--template gilt nur mit --xlsx."},
        {TxCliStdoutOneBlock, "Auf die Standardausgabe (-) geht genau ein Block; bitte eine Blocknummer angeben."},
        {TxCliIsoDecimal, "--iso schreibt Dezimalpunkte und passt nicht zu --decimal ,"},
        {TxCliBadRetries, "Ungültige Zahl von Wiederholungen (0 bis %s): %s"},

        {TxCliPortNotOpened, "Schnittstelle %s (%s) kann nicht geöffnet werden:"},
        {TxCliValueNotConverted, "Wert für %s nicht verwendbar: >%s<"},
        {TxCliInterrupted, "Abgebrochen."},
        {TxCliConfigPartly, "Das QT 8800 hat nicht alles übernommen. Übernommen: %s. Nicht übernommen: %s."},
        {TxCliNothing, "nichts"},
        {TxCliEntriesSkipped, "Unbrauchbare Einträge des Messwertverzeichnisses wurden übersprungen."},
        {TxCliLiveWaitsForPort, "Die Aufzeichnung geht weiter, sobald die Schnittstelle wieder da ist."},

        {TxCliCannotRead, "Die Datei %s kann nicht gelesen werden."},
        {TxCliCannotWrite, "Die Datei %s kann nicht geschrieben werden: %s"},
        {TxCliCannotCreateDir, "Der Ordner %s kann nicht angelegt werden: %s"},
        {TxCliDirNotWritable, "In den Ordner %s kann nicht geschrieben werden: %s"},
        {TxCliFileExists, "Die Datei %s gibt es schon; --force überschreibt sie."},
        {TxCliKeysMissing, "In der Datei %s fehlen Einstellungen für das QT 8800: %s"},
        {TxCliKeysMissingKept, "Nicht in der Datei, Vorgabe bleibt: %s"},
        {TxCliNoModule, "Kein englisches Sprachmodul gefunden (gesucht: %s); die Texte bleiben deutsch."},
        {TxCliStdoutFailed, "Die Standardausgabe kann nicht geschrieben werden: %s"},

        {TxCliInfoSerial, "Serien-Nr.: %s"},
        {TxCliInfoVersion, "Version: %s"},
        {TxCliInfoHours, "Betriebsstunden: %s"},
        {TxCliInfoClock, "Datum und Uhrzeit: %s %s"},
        {TxCliInfoRecording, "Manuelle Speicherung: %s"},
        {TxCliInfoStartMode, "Speicherstart: %s"},
        {TxCliInfoMemoryUse, "Speicher belegt: %s %%"},
        {TxCliInfoAlarms, "Alarme: %s"},
        {TxCliOn, "läuft"},
        {TxCliOff, "aus"},
        {TxCliStartManual, "Start manuell"},
        {TxCliStartTimer, "Start nach Zeitvorwahl"},
        {TxCliNoAlarms, "keine"},
        {TxCliClockSet, "Uhr des QT 8800 gestellt: %s %s"},
        {TxCliMemoryEmpty, "Der Messwertspeicher des QT 8800 ist leer."},
        {TxCliNoSuchBlock, "Block %s gibt es im QT 8800 nicht."},
        {TxCliNoFieldsInBlock, "Keine der gewählten Messgrößen in Block %s."},
        {TxCliUnknownField, "Messgröße in --fields unbekannt: %s"},
        {TxCliBlockProgress, "Block %s: %s Messwerte"},
        {TxCliLiveProgress, "%s Messwerte aufgezeichnet"},

        {TxCliHelpOverview,
         "qt8800-cli - das Ionometer QT 8800 ohne Fenster, für Messplätze und Skripte.\n"
         "\n"
         "Aufruf: qt8800-cli [OPTIONEN] BEFEHL [ANGABEN]\n"
         "\n"
         "Befehle:\n"
         "  info                  Geräteinformation und Status anzeigen\n"
         "  read-config DATEI     Konfiguration aus dem QT 8800 lesen und in DATEI speichern\n"
         "  write-config DATEI    Konfiguration aus DATEI zum QT 8800 übertragen\n"
         "  set-clock             Uhr des QT 8800 auf die Zeit des Rechners stellen\n"
         "  directory             Messwertverzeichnis anzeigen\n"
         "  download [BLOCK...|--all] --csv ORDNER | --xlsx ORDNER\n"
         "                        Messwertblöcke als Textdateien oder Arbeitsmappen speichern\n"
         "  live --interval S [--for DAUER] --csv DATEI\n"
         "                        aktuelle Messwerte laufend an DATEI anhängen\n"
         "  help [BEFEHL]         diese Übersicht oder die Hilfe eines Befehls\n"
         "\n"
         "Optionen aller Befehle, die mit dem QT 8800 sprechen:\n"
         "  --port COMn|PFAD      Schnittstelle; COMn ist ein Eintrag dieses Namens im aktuellen\n"
         "                        Ordner, sonst /dev/ttyS0 bis /dev/ttyS7 (Vorgabe COM1)\n"
         "  --baud N              4800, 9600, 19200 oder 38400 (Vorgabe 9600)\n"
         "  --log ORDNER          Datenverkehr in ORDNER/QT8800_<Zeit>.txt protokollieren\n"
         "\n"
         "Optionen aller Befehle:\n"
         "  --language de|en      Texte für diesen Aufruf deutsch oder englisch (Vorgabe: die\n"
         "                        Programmsprache der Parameterdatei QT8800.dat)\n"
         "  --help                Hilfe zum Befehl\n"
         "  --version             Programmversion\n"
         "\n"
         "Für Skripte:\n"
         "  --iso                 Datum und Zeit nach ISO 8601, Dezimalpunkt (info, set-clock,\n"
         "                        directory, download, live)\n"
         "  --json                info und directory als JSON\n"
         "  -                     als Dateiname: die Standardausgabe\n"
         "\n"
         "Dateien werden ganz oder gar nicht geschrieben. Ergebnisse stehen auf der\n"
         "Standardausgabe, Meldungen auf der Fehlerausgabe.\n"
         "Rückgabewert: 0 erledigt, 1 Fehler oder keine Antwort des QT 8800,\n"
         "2 falscher Aufruf, 3 Dateifehler.\n"},
        {TxCliHelpInfo,
         "Aufruf: qt8800-cli info [--json] [--iso] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Liest Geräteinformation, Status, Datum und Uhrzeit des QT 8800 (GIN, GST, GDA)\n"
         "und zeigt Serien-Nr., Version, Betriebsstunden, Uhr, Speicherung, Speicherstart,\n"
         "Speicherbelegung und Alarme, je eine Zeile, mit --json als ein JSON-Objekt.\n"},
        {TxCliHelpReadConfig,
         "Aufruf: qt8800-cli read-config DATEI|- [--force] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Liest die ganze Konfiguration aus dem QT 8800, wie \"Konfiguration aus QT 8800 lesen\"\n"
         "(F5), und speichert sie als Konfigurationsdatei (.QT8), wie \"Konfigurationsdatei\n"
         "speichern\" (F3). Die Werte, die nur das Programm kennt (Analogeingang, Skala),\n"
         "erhalten die Vorgaben der Seite. Antwortet das Gerät nicht ganz, wird nichts gespeichert.\n"
         "Eine vorhandene Datei wird nur mit --force ersetzt; \"-\" schreibt auf die Standardausgabe.\n"},
        {TxCliHelpWriteConfig,
         "Aufruf: qt8800-cli write-config DATEI [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Liest eine Konfigurationsdatei, wie \"Konfigurationsdatei laden\" (F2), und überträgt\n"
         "sie zum QT 8800, wie \"Konfiguration zum QT 8800 übertragen\" (F6). Fehlt in der Datei\n"
         "eine Einstellung des Geräts oder nimmt das Gerät einen Wert nicht an, wird nichts\n"
         "übertragen (Rückgabewert 3); die Meldung nennt jeden Schlüssel und Wert. Lehnt das\n"
         "Gerät dennoch etwas ab, nennt die Meldung, was es übernommen hat und was nicht.\n"},
        {TxCliHelpSetClock,
         "Aufruf: qt8800-cli set-clock [--iso] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Stellt Datum und Uhrzeit des QT 8800 zur nächsten vollen Sekunde auf die Zeit des\n"
         "Rechners und zeigt, was das Gerät meldet.\n"},
        {TxCliHelpDirectory,
         "Aufruf: qt8800-cli directory [--json] [--iso] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Liest das Messwertverzeichnis und zeigt je Block eine Zeile, \";\"-getrennt:\n"
         "Nr, Datum, Zeit, Intervall, Analog, Feuchte, Temperatur, Gelöscht; mit --json\n"
         "ein JSON-Objekt. Ein unbrauchbarer Eintrag wird gemeldet und übersprungen (Rückgabewert 1).\n"},
        {TxCliHelpDownload,
         "Aufruf: qt8800-cli download [BLOCK...|--all] --csv ORDNER | --xlsx ORDNER\n"
         "                  [--force] [--fields LISTE] [--decimal .|,] [--two-columns]\n"
         "                  [--skip-alarm] [--template DATEI] [--iso] [--retries N]\n"
         "                  [--new --state DATEI] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Speichert jeden genannten Block (ohne Nummern: alle) als eigene Datei, mit denselben\n"
         "Zeilen, Formaten und Überschriften wie das Textfenster (--csv) oder als Arbeitsmappe\n"
         "mit Diagramm (--xlsx). Der Name ist QT8800_ und die Zeit des ersten Messwerts\n"
         "(jjjjmmtthhnnss), z. B. QT8800_20261201091500.csv. Eine vorhandene Datei wird nur mit\n"
         "--force überschrieben; vor dem ersten Messwert wird alles geprüft. --csv - schreibt\n"
         "einen einzelnen Block auf die Standardausgabe. Ein unbrauchbarer Eintrag des\n"
         "Verzeichnisses wird übersprungen, die anderen Blöcke werden gespeichert (Rückgabewert 1).\n"
         "\n"
         "  --fields LISTE    durch Kommas getrennt: Gruppen (all, datetime, ions, analog,\n"
         "                    sensors, averages), Namen (\"Ionen Avg\", \"F 0\") oder Positionen\n"
         "                    ab 1; ein \"-\" davor nimmt sie heraus. Vorgabe: alle Messgrößen.\n"
         "  --decimal .|,     Dezimaltrennzeichen (Vorgabe \".\")\n"
         "  --two-columns     Ionen nach Polarität in zwei Spalten\n"
         "  --skip-alarm      im Alarmzustand gespeicherte Messwerte weglassen\n"
         "  --template DATEI  mit --xlsx: diese Arbeitsmappe (.xlsx, .xlsm; .xls mit LibreOffice\n"
         "                    umgewandelt) füllen statt einer neuen; die Vorlage bleibt, wie\n"
         "                    sie ist. Aus einer .xlsm wird eine .xlsm.\n"
         "  --retries N       eine Anfrage ohne Antwort bis zu N-mal wiederholen (Vorgabe 2);\n"
         "                    ein Block beginnt dann von vorn, ohne Messwerte doppelt zu schreiben\n"
         "  --new --state DATEI  nur, was noch nicht geholt wurde (nach Seriennummer, Blocknummer\n"
         "                    und Startzeit in DATEI vermerkt): neue Blöcke ganz, ein wachsender\n"
         "                    Block ab seinem ersten neuen Messwert, an seine Datei angehängt.\n"
         "                    DATEI wird erst geschrieben, wenn die Zeilen gespeichert sind; eine\n"
         "                    beschädigte oder fremde DATEI wird abgelehnt (Rückgabewert 3).\n"
         "\n"
         "Die geschriebenen Dateien stehen auf der Standardausgabe. Eine unbekannte Blocknummer\n"
         "ergibt 2, eine vorhandene Datei 3.\n"},
        {TxCliHelpLive,
         "Aufruf: qt8800-cli live --interval S [--for DAUER] [--csv DATEI|-] [--decimal .|,]\n"
         "                  [--mqtt URL [--topic T] [--qos N] [--ca DATEI] [--mqtt-auth DATEI]]\n"
         "                  [--iso] [--retries N] [--port COMn|PFAD] [--baud N] [--log ORDNER]\n"
         "\n"
         "Fragt alle S Sekunden (0.1 bis 86400) die aktuellen Messwerte ab und hängt je\n"
         "Antwort eine Zeile an DATEI an: Datum; Uhrzeit mit Millisekunden; Messbereich;\n"
         "Ionen (negativ bei negativer Polarität); Analogeingang in Volt; Sensoren. Jede Zeile\n"
         "wird sofort und ganz geschrieben. Eine Überschrift steht am Anfang, wo sich die\n"
         "Sensoren ändern und wo ein Lauf Datum, Zeit oder Dezimalzeichen anders schreibt. Eine\n"
         "Datei, die keine solche Aufzeichnung ist, bleibt unberührt (Rückgabewert 3). Ende nach\n"
         "DAUER (90, 90s, 15m, 2h) oder mit Strg+C (Rückgabewert 0).\n"
         "Eine Anfrage ohne Antwort wird bis zu N-mal wiederholt (--retries, Vorgabe 2); erst\n"
         "wenn alle ausbleiben oder mehr als N Antworten nacheinander unbrauchbar sind, endet\n"
         "die Aufzeichnung mit 1. Eine verschwundene Schnittstelle wird abgewartet. Wo Werte\n"
         "fehlen, steht eine leere Zeile.\n"
         "\n"
         "  --mqtt URL        jeden Messwert auch als JSON an einen MQTT-Broker senden\n"
         "                    (mqtt://RECHNER[:PORT], mqtts://RECHNER[:PORT]); mit oder statt --csv\n"
         "  --topic TOPIC     Vorgabe qt8800/<Seriennummer>/live; der Zustand (\"online\",\n"
         "                    \"offline\") steht gespeichert daneben unter .../status\n"
         "  --qos 0|1|2       Vorgabe 1\n"
         "  --ca DATEI        mit mqtts://: das Zertifikat der Zertifizierungsstelle des Brokers\n"
         "  --mqtt-auth DATEI Benutzer in der ersten, Passwort in der zweiten Zeile; sonst aus\n"
         "                    QT8800_MQTT_USER und QT8800_MQTT_PASSWORD\n"
         "  --buffer-mb N     solange der Broker fehlt, bleiben die Messwerte auf der Platte,\n"
         "                    bis zu N MiB (Vorgabe 64, etwa 16000 Messwerte); dann fallen\n"
         "                    die ältesten weg und werden gezählt\n"
         "  --buffer-dir ORDNER  Vorgabe $STATE_DIRECTORY/mqtt oder ~/.local/state/qt8800/mqtt;\n"
         "                    ein neuer Lauf sendet zuerst, was dort liegt\n"
         "Lehnt der Broker die Anmeldung oder sein Zertifikat ab oder ist sein Rechner\n"
         "unbekannt, endet der Lauf mit 1.\n"},

        {TxCliMqttBadUrl, "Keine MQTT-Adresse (mqtt://RECHNER[:PORT] oder mqtts://RECHNER[:PORT]): %s"},
        {TxCliMqttHostNotFound, "Der Rechner des Brokers wurde nicht gefunden: %s"},
        {TxCliMqttLoginRefused, "Der Broker %s hat die Anmeldung abgelehnt (%s)."},
        {TxCliMqttTlsFailed, "Keine TLS-Verbindung zu %s: %s"},
        {TxCliMqttAway, "Der Broker %s ist nicht erreichbar; die Messwerte werden auf der Platte gehalten, bis er wieder da ist."},
        {TxCliMqttBack, "Der Broker %s ist wieder erreichbar."},
        {TxCliMqttDropped, "Der Puffer war voll: die %s ältesten Messwerte wurden verworfen."},
        {TxCliMqttBufferFailed, "In den Pufferordner %s kann nicht geschrieben werden."},
        {TxCliMqttWildcard, "Ein Topic darf keine Platzhalter (+, #) enthalten: %s"},
        {TxCliBadQos, "QoS muss 0, 1 oder 2 sein: %s"},
        {TxCliBadBufferMb, "Ungültige Puffergröße in MiB (1 bis 100000): %s"},
        {TxCliMqttAuthUnreadable, "Die Anmeldedatei %s ist nicht lesbar: erste Zeile Benutzer, zweite Zeile Passwort."},
        {TxCliMqttOptionNeedsMqtt, "%s gilt nur mit --mqtt."},
        {TxCliNewNeedsState, "--new und --state gehören zusammen."},
        {TxCliNewTextOnly, "--new schreibt Textdateien aller Blöcke in einen Ordner: --csv ORDNER, ohne Blocknummern."},
        {TxCliStateDamaged, "Die Zustandsdatei %s ist unbrauchbar; sie bleibt, wie sie ist."},
        {TxCliStateForeign, "Die Zustandsdatei %s gehört zum QT 8800 mit der Seriennummer %s, angeschlossen ist %s."},
        {TxCliStateFuture, "Die Zustandsdatei %s stammt von einer neueren Programmversion; sie bleibt, wie sie ist."},
        {TxCliNothingNew, "Keine neuen Messwerte."},
        {TxCliInfoLatency, "Latenz-Timer des USB-Adapters: %s ms"},
        {TxCliFileChanged, "Die Datei %s ist nicht mehr die zuletzt geschriebene; neue Messwerte werden nicht angehängt."},
    };
    return texts;
}

} // namespace Lang
