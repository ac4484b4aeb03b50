#pragma once

namespace Lang {

// serial line, protocol engine and traffic log: 1000-1999
enum LinkTextId : int {
    // serial port
    TxBaudNotSupported = 1001,
    TxParityNotSupported = 1002,
    TxUnableToOpen = 1003,
    TxNeedDialout = 1004,
    TxReadFailed = 1005,
    TxWriteFailed = 1006,
    TxPortLost = 1007,
    TxPortReopened = 1008,
    TxPortNotReopened = 1009,
    TxLatencyTimer = 1010,
    TxHintNoRights = 1011,
    TxPortIsFolder = 1012,
    TxPortNotSerial = 1013,
    TxPortInUse = 1014,
    TxPortInUseBy = 1015,
    TxPortDescription = 1016,
    // protocol engine
    TxNoAnswer = 1101,
    TxPortNotReady = 1102,
    TxIncomplete = 1103,
    TxNoChecksum = 1104,
    TxChecksumError = 1105,
    TxNotWhileRecording = 1106,
    TxErrorTelegram = 1107,
    TxUnknownTelegram = 1108,
    TxUnexpectedTelegram = 1109,
    TxTokenError = 1110,
    TxNoOrderForObject = 1111,
    TxReadingConfig = 1112,
    TxWritingConfig = 1113,
    TxInfoRequested = 1114,
    TxPortProblemAtStart = 1115,
    TxNoAnswerRetry = 1116,
    // traffic log
    TxLogCannotOpen = 1201,
    TxLogOpened = 1202,
    // the port
    TxLatencyTimerNow = 1120,
};

} // namespace Lang
