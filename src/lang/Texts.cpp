#include "lang/Texts.h"

#include <QHash>

namespace Lang {

namespace {

const QHash<int, QString> &german()
{
    static const QHash<int, QString> texts = {
        {TxBaudNotSupported, QStringLiteral("Baudrate %d wird nicht unterstützt!")},
        {TxParityNotSupported, QStringLiteral("Parität %s wird nicht unterstützt!")},
        {TxUnableToOpen, QStringLiteral("Unable to open com port")},
        {TxNeedDialout, QStringLiteral(" - der Benutzer muss zur Gruppe \"dialout\" gehören")},
        {TxReadFailed, QStringLiteral("ReadFile function failed")},
        {TxWriteFailed, QStringLiteral("WriteFile function failed")},
        {TxPortLost, QStringLiteral("Schnittstelle %s wurde geschlossen: %s")},
        {TxNoAnswer, QStringLiteral("QT 8800 antwortet nicht oder Baudrate stimmt nicht! Kommunikation wird abgebrochen.")},
        {TxPortNotReady, QStringLiteral("Serielle Schnittstelle nicht bereit! Kommunikation wird abgebrochen.")},
        {TxIncomplete, QStringLiteral("Unvollständigen Satz erhalten")},
        {TxNoChecksum, QStringLiteral("Prüfsumme kann nicht separiert werden.")},
        {TxChecksumError, QStringLiteral("Prüfsummenfehler.")},
        {TxNotWhileRecording, QStringLiteral("Funktion nicht während Speicherung möglich.")},
        {TxErrorTelegram, QStringLiteral("Fehlertelegramm >%s< auf Anfragetelegramm: \"%s\" erhalten.")},
        {TxUnknownTelegram, QStringLiteral("Unbekanntes Empfangstelegramm: >%s<")},
        {TxUnexpectedTelegram, QStringLiteral("Unerwartetes Telegramm von QT 8800 erhalten")},
        {TxTokenError, QStringLiteral("Bearbeitungsfehler!  Token-Nr.: %d  Telegramm: %s")},
        {TxNoOrderForObject, QStringLiteral("Kein Auftrag für Object: %s gefunden")},
        {TxReadingConfig, QStringLiteral("Konfiguration wird aus QT 8800 gelesen")},
        {TxWritingConfig, QStringLiteral("Konfiguration wird nach QT 8800 übertragen")},
        {TxInfoRequested, QStringLiteral("Informationen von QT 8800 angefordert.")},
        {TxPortProblemAtStart, QStringLiteral("Schnittstellenproblem!  Konfiguration kann nicht gelesen werden")},
        {TxLogCannotOpen, QStringLiteral("Datei >>%s<< konnte nicht geöffnet werden!")},
        {TxLogOpened, QStringLiteral("Protokolldatei: %s geöffnet")},
    };
    return texts;
}

QHash<int, QString> &catalogue()
{
    static QHash<int, QString> texts;
    return texts;
}

} // namespace

QString Text(TextId id)
{
    if (auto it = catalogue().constFind(id); it != catalogue().constEnd())
        return *it;
    return german().value(id, QStringLiteral("?%1?").arg(int(id)));
}

QString Format(const QString &pattern, const QStringList &args)
{
    QString out;
    out.reserve(pattern.size() + 32);
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const QChar kind = pattern.at(i + 1);
        if (kind == u'%') {
            out += u'%';
            ++i;
        } else if (kind == u's' || kind == u'd') {
            if (next < args.size())
                out += args.at(next);
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void SetCatalogue(const QHash<int, QString> &texts)
{
    catalogue() = texts;
}

} // namespace Lang
