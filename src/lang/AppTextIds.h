#pragma once

namespace Lang {

// main window: 5000-6999
enum AppTextId : int {
    AppTextsBegin = 5000,
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
