#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &LinkTexts()
{
    static const TextTable texts = {
        {TxBaudNotSupported, "Baudrate %d wird nicht unterstützt!"},
        {TxParityNotSupported, "Parität %s wird nicht unterstützt!"},
        {TxUnableToOpen, "Unable to open com port"},
        {TxNeedDialout, " - der Benutzer muss zur Gruppe \"%s\" gehören"},
        {TxReadFailed, "Lesen von der Schnittstelle fehlgeschlagen"},
        {TxWriteFailed, "Schreiben auf die Schnittstelle fehlgeschlagen"},
        {TxPortLost, "Schnittstelle %s wurde geschlossen: %s"},
        {TxPortReopened, "Schnittstelle %s ist wieder verfügbar und wurde geöffnet."},
        {TxPortNotReopened, "Schnittstelle %s ist wieder verfügbar, kann aber nicht geöffnet werden: %s"},
        {TxLatencyTimer, "Latenz-Timer des USB-Adapters steht auf %d ms: höchstens etwa %d Anfragen je Sekunde. "
                         "Auf 1 ms stellen: echo 1 | sudo tee %s"},
        {TxHintNoRights, "Keine Berechtigung für das Gerät: der Benutzer muss zur Gruppe \"%s\" gehören "
                         "(sudo adduser $USER %s, danach neu anmelden)."},
        {TxPortIsFolder, "ein Ordner, keine serielle Schnittstelle"},
        {TxPortNotSerial, "keine serielle Schnittstelle"},
        {TxPortInUse, "von einem anderen Programm belegt"},
        {TxPortInUseBy, "belegt von %s"},
        {TxPortDescription, "%s, %d Baud"},
        {TxNoAnswer, "QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird abgebrochen."},
        {TxPortNotReady, "Serielle Schnittstelle nicht bereit! Kommunikation wird abgebrochen."},
        {TxIncomplete, "Unvollständigen Satz erhalten"},
        {TxNoChecksum, "Prüfsumme kann nicht separiert werden."},
        {TxChecksumError, "Prüfsummenfehler."},
        {TxNotWhileRecording, "Funktion nicht während Speicherung möglich."},
        {TxErrorTelegram, "Fehlertelegramm >%s< auf Anfragetelegramm: \"%s\" erhalten."},
        {TxUnknownTelegram, "Unbekanntes Empfangstelegramm: >%s<"},
        {TxUnexpectedTelegram, "Unerwartetes Telegramm von QT 8800 erhalten"},
        {TxTokenError, "Bearbeitungsfehler!  Token-Nr.: %d  Telegramm: %s"},
        {TxNoOrderForObject, "Kein Auftrag für Object: %s gefunden"},
        {TxReadingConfig, "Konfiguration wird aus QT 8800 gelesen"},
        {TxWritingConfig, "Konfiguration wird nach QT 8800 übertragen"},
        {TxInfoRequested, "Informationen von QT 8800 angefordert."},
        {TxPortProblemAtStart, "Schnittstellenproblem!  Konfiguration kann nicht gelesen werden"},
        {TxNoAnswerRetry, "Keine Antwort auf %s, neuer Versuch (%d von %d)"},
        {TxLogCannotOpen, "Datei >>%s<< konnte nicht geöffnet werden!"},
        {TxLogOpened, "Protokolldatei: %s geöffnet"},
        {TxLatencyTimerNow, "Latenz-Timer %s ms"},
    };
    return texts;
}

} // namespace Lang
