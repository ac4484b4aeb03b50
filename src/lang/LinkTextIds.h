#pragma once

namespace Lang {

// serial line, protocol engine and traffic log: 1000-1999
enum LinkTextId : int {
    // serial port
    TxBaudNotSupported = 1001,
    TxParityNotSupported,
    TxUnableToOpen,
    TxNeedDialout,
    TxReadFailed,
    TxWriteFailed,
    TxPortLost,
    TxPortReopened,
    TxPortNotReopened,
    TxLatencyTimer,
    TxHintNoRights,
    TxPortIsFolder,
    TxPortNotSerial,
    TxPortInUse,
    TxPortInUseBy,
    TxPortDescription,
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
    TxNoAnswerRetry,
    // traffic log
    TxLogCannotOpen = 1201,
    TxLogOpened,
};

} // namespace Lang
