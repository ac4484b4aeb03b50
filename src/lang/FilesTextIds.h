#pragma once

namespace Lang {

// files: 3000-3999
enum FilesTextId : int {
    FilesTextsBegin = 3000,
    // program parameter file
    TxParamCannotRead = 3001,
    TxParamReadError = 3002,
    TxParamChecksumError = 3003,
    TxParamLoaded = 3004,
    TxFileWriteProblem = 3005,
    // names of the default folders and the template beside the program
    TxMeasureSubDir = 3101,
    TxConfigSubDir = 3102,
    TxLogSubDir = 3103,
    TxTemplateFileName = 3104,
    // configuration files
    TxConfigHeadSection = 3201,
    TxConfigGenerated = 3202,
    TxConfigName = 3203,
    TxConfigCannotOpen = 3204,
    TxConfigReading = 3205,
    TxConfigIsRead = 3206,
    TxMissingKeysIntro = 3207,
    TxMissingKeysInFile = 3208,
    TxMissingKeysNotFound = 3209,
    TxMissingKeysTakeAnyway = 3210,
    TxConfigNotTaken = 3211,
    // load and save commands
    TxLoadConfigTitle = 3301,
    TxSaveConfigTitle = 3302,
    TxConfigFilter = 3303,
    TxLoadConfigCancelled = 3304,
    TxSaveConfigCancelled = 3305,
    TxLoadingConfigFrom = 3306,
    TxSavingConfigTo = 3307,
    // the system's reasons for a failed read or write
    TxReasonDiskFull = 3401,
    TxReasonNoPermission = 3402,
    TxReasonReadOnly = 3403,
    TxReasonMissing = 3404,
    TxReasonNotAFolder = 3405,
    TxReasonIsAFolder = 3406,
    TxReasonTooLarge = 3407,
    TxReasonInputOutput = 3408,
    TxReasonReaderGone = 3409,
    TxReasonNoReader = 3410,
    TxReasonNotOpen = 3411,
    TxReasonNameTooLong = 3412,
    TxReasonBlockDevice = 3413,
    TxReasonOther = 3414,
    TxParamMissing = 3420,
};

} // namespace Lang
