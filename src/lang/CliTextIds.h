#pragma once

namespace Lang {

// the command-line program: 6000-6499
enum CliTextId : int {
    CliTextsBegin = 6000,
    // command line
    TxCliNoCommand = 6001,
    TxCliUnknownCommand,
    TxCliUnknownOption,
    TxCliOptionNeedsValue,
    TxCliOptionTakesNoValue,
    TxCliOptionNotFor,
    TxCliTooManyArguments,
    TxCliFileMissing,
    TxCliBadBaud,
    TxCliBadBlock,
    TxCliBlocksAndAll,
    TxCliOneTarget,
    TxCliBadDecimal,
    TxCliBadInterval,
    TxCliBadDuration,
    TxCliIntervalMissing,
    TxCliCsvMissing,
    TxCliSeeHelp,
    // link and instrument
    TxCliPortNotOpened = 6101,
    TxCliValueNotConverted,
    TxCliInterrupted,
    // files
    TxCliCannotRead = 6151,
    TxCliCannotWrite,
    TxCliNotWritable,
    TxCliCannotCreateDir,
    TxCliDirNotWritable,
    TxCliFileExists,
    TxCliKeysMissing,
    TxCliKeysMissingKept,
    // results and progress
    TxCliInfoSerial = 6201,
    TxCliInfoVersion,
    TxCliInfoHours,
    TxCliInfoClock,
    TxCliInfoRecording,
    TxCliInfoStartMode,
    TxCliInfoMemoryUse,
    TxCliInfoAlarms,
    TxCliOn,
    TxCliOff,
    TxCliStartManual,
    TxCliStartTimer,
    TxCliNoAlarms,
    TxCliClockSet,
    TxCliMemoryEmpty,
    TxCliNoSuchBlock,
    TxCliNoFieldsInBlock,
    TxCliUnknownField,
    TxCliBlockProgress,
    TxCliLiveProgress,
    // help
    TxCliHelpOverview = 6401,
    TxCliHelpInfo,
    TxCliHelpReadConfig,
    TxCliHelpWriteConfig,
    TxCliHelpSetClock,
    TxCliHelpDirectory,
    TxCliHelpDownload,
    TxCliHelpLive,
    CliTextsEnd = 6499,
};

} // namespace Lang
