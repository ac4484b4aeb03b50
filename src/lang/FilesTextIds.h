#pragma once

namespace Lang {

// files: 3000-3999
enum FilesTextId : int {
    FilesTextsBegin = 3000,
    // program parameter file
    TxParamCannotRead = 3001,
    TxParamReadError,
    TxParamChecksumError,
    TxParamLoaded,
    TxFileWriteProblem,
    // names of the default folders and the template beside the program
    TxMeasureSubDir = 3101,
    TxConfigSubDir,
    TxLogSubDir,
    TxTemplateFileName,
    // configuration files
    TxConfigHeadSection = 3201,
    TxConfigGenerated,
    TxConfigName,
    TxConfigCannotOpen,
    TxConfigReading,
    TxConfigIsRead,
    TxMissingKeysIntro,
    TxMissingKeysInFile,
    TxMissingKeysNotFound,
    TxMissingKeysTakeAnyway,
    TxConfigNotTaken,
    // load and save commands
    TxLoadConfigTitle = 3301,
    TxSaveConfigTitle,
    TxConfigFilter,
    TxLoadConfigCancelled,
    TxSaveConfigCancelled,
    TxLoadingConfigFrom,
    TxSavingConfigTo,
    // the system's reasons for a failed read or write
    TxReasonDiskFull = 3401,
    TxReasonNoPermission,
    TxReasonReadOnly,
    TxReasonMissing,
    TxReasonNotAFolder,
    TxReasonIsAFolder,
    TxReasonTooLarge,
    TxReasonInputOutput,
    TxReasonReaderGone,
    TxReasonNoReader,
    TxReasonNotOpen,
    TxReasonNameTooLong,
    TxReasonBlockDevice,
    TxReasonOther,
};

} // namespace Lang
