#pragma once

namespace Lang {

// main window: 5500-6999 (5000-5499 are the device view's)
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
    TxBaudHint,
    TxPortHint,
    TxChooseDirectory,
    TxTemplateTitle,
    TxTemplateFilter,
    TxAboutNotice,
    TxAboutTitle,
    // spoken names of buttons whose face does not say what they do
    TxNameChooseMeasureDir,
    TxNameChooseTemplate,
    TxNameChooseConfigDir,
    TxNameChooseLogDir,
    TxNameQueryMemoryUse,
};

} // namespace Lang
