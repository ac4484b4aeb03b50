#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace Lang {

// Every user-visible text has a number; the German text is compiled in and a language
// catalogue may replace it at run time.
enum TextId : int {
    // serial port
    TxBaudNotSupported = 1001,
    TxParityNotSupported,
    TxUnableToOpen,
    TxNeedDialout,
    TxReadFailed,
    TxWriteFailed,
    TxPortLost,
    // protocol engine
    TxNoAnswer = 1101,
    TxPortNotReady,
    TxIncomplete,
    TxNoChecksum,
    TxChecksumError,
    TxNotWhileRecording,
    TxErrorTelegram,
    TxUnknownTelegram,
    TxUnexpectedTelegram,
    TxTokenError,
    TxNoOrderForObject,
    TxReadingConfig,
    TxWritingConfig,
    TxInfoRequested,
    TxPortProblemAtStart,
    // traffic log
    TxLogCannotOpen = 1201,
    TxLogOpened,
};

QString Text(TextId id);

// Fills "%s" and "%d" placeholders in order of appearance; "%%" is a literal percent sign.
QString Format(const QString &pattern, const QStringList &args);

// Replaces the texts of the given numbers (a language module); an empty map restores German.
void SetCatalogue(const QHash<int, QString> &texts);

} // namespace Lang
