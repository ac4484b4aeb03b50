#pragma once

namespace Lang {

// main window messages, language modules and the about box: 5500-5599
// (5000-5499 is the device view's area, MainWindowTextIds.h holds the window's captions and hints)
enum AppTextId : int {
    AppTextsBegin = 5500,
    TxMemCleared,
    TxZeroStarted,
    TxDat2FormIndex,
    TxForm2DatIndex,
    TxAskMemClear,
    TxMemClearing,
    TxMemNotCleared,
    TxOnlyNumberChars,
    TxNoValidValue,
    TxNoValidInterval,
    TxSecondStart,
    TxAskClose,
    TxPortHint,
    TxChooseDirectory,
    TxTemplateTitle,
    TxTemplateFilter,
    TxPortTaken = 5528,
    TxProgramHelp,
    // language modules
    TxModuleUnusable = 5531,
    TxModuleLinesSkipped,
    TxModuleTextsMissing,
    TxModuleEmpty,
    TxModuleBinary,
    TxModuleTooLarge,
    TxModuleUnreadable,
    TxModuleNotAFile,
    TxModuleNoTexts,
    TxModuleBadLine,
    TxModuleUnknownId,
    TxModuleDuplicateId,
    TxModuleControlChars,
    // about box
    TxAboutTitle = 5561,
    TxAboutHeading,
    TxAboutNotice,
    TxAboutVersion,
    TxAboutProcessor,
    TxAboutClock,
    TxAboutSystem,
    TxAboutMemory,
    TxAboutDisk,
    TxAboutMegabytes,
    // spoken names of buttons whose face does not say what they do
    TxNameChooseMeasureDir,
    TxNameChooseTemplate,
    TxNameChooseConfigDir,
    TxNameChooseLogDir,
    TxNameQueryMemoryUse,
};

} // namespace Lang
