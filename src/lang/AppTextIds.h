#pragma once

namespace Lang {

// main window messages, language modules and the about box: 5500-5599
// (5000-5499 is the device view's area, MainWindowTextIds.h holds the window's captions and hints)
enum AppTextId : int {
    AppTextsBegin = 5500,
    TxMemCleared = 5501,
    TxZeroStarted = 5502,
    TxDat2FormIndex = 5503,
    TxForm2DatIndex = 5504,
    TxAskMemClear = 5505,
    TxMemClearing = 5506,
    TxMemNotCleared = 5507,
    TxOnlyNumberChars = 5508,
    TxNoValidValue = 5509,
    TxNoValidInterval = 5510,
    TxSecondStart = 5511,
    TxAskClose = 5512,
    TxPortHint = 5513,
    TxChooseDirectory = 5514,
    TxTemplateTitle = 5515,
    TxTemplateFilter = 5516,
    TxPortTaken = 5528,
    TxProgramHelp = 5529,
    // language modules
    TxModuleUnusable = 5531,
    TxModuleLinesSkipped = 5532,
    TxModuleTextsMissing = 5533,
    TxModuleEmpty = 5534,
    TxModuleBinary = 5535,
    TxModuleTooLarge = 5536,
    TxModuleUnreadable = 5537,
    TxModuleNotAFile = 5538,
    TxModuleNoTexts = 5539,
    TxModuleBadLine = 5540,
    TxModuleUnknownId = 5541,
    TxModuleDuplicateId = 5542,
    TxModuleControlChars = 5543,
    // about box
    TxAboutTitle = 5561,
    TxAboutHeading = 5562,
    TxAboutNotice = 5563,
    TxAboutVersion = 5564,
    TxAboutProcessor = 5565,
    TxAboutClock = 5566,
    TxAboutSystem = 5567,
    TxAboutMemory = 5568,
    TxAboutDisk = 5569,
    TxAboutMegabytes = 5570,
    // spoken names of buttons whose face does not say what they do
    TxNameChooseMeasureDir = 5571,
    TxNameChooseTemplate = 5572,
    TxNameChooseConfigDir = 5573,
    TxNameChooseLogDir = 5574,
    TxNameQueryMemoryUse = 5575,
};

} // namespace Lang
