#pragma once

namespace Lang {

// device view page and sensor window: 5000-5499
enum DeviceViewTextId : int {
    DeviceViewTextsBegin = 5000,
    // device view captions
    TxTabInfo = 5001,
    TxModelLabel,
    TxFactorPrefix,
    TxMeterCaption,
    TxKeyPol,
    TxKeyRangeDown,
    TxKeyRangeUp,
    TxKeyZero,
    TxKeyF7,
    TxKeyF8,
    TxKeyF9,
    TxKeyF10,
    TxKeyF11,
    TxKeyF12,
    TxSwitchOff,
    TxSwitchOn,
    // device view hints
    TxHintMpAna = 5031,
    TxHintLblAnaName,
    TxHintBtnPol,
    TxHintBtnRaMin,
    TxHintBtnRaMax,
    TxHintBtnNull,
    TxHintBtnShowandHide,
    TxHintBtnInfo,
    TxHintLedMain,
    TxHintLedAlarm,
    // names for assistive technology where no caption says what a control is
    TxNameIonMeter = 5061,
    TxNameAnalogMeter,
    TxNamePolarity,
    TxNameRange,
    TxNameAlarmValue,
    TxNameFactor,
    TxNameLogo,
    TxNameBtnShowandHide,
    TxNameBtnPol,
    TxNameBtnRaMin,
    TxNameBtnRaMax,
    TxNameBtnNull,
    TxNameLedAlarm,
    TxNameLedMain,
    TxNameSwitch,
    TxNameSplitter,
    // device view messages
    TxScaleNotANumber = 5091,
    // sensor window
    TxSensCaption = 5101,
    TxSensCreateCaption,
    TxSensAddress,
    TxSensHumidity,
    TxSensTemperature,
    TxSensClose,
    TxSensCloseHint,
    TxSensGridName,
    DeviceViewTextsEnd = 5499
};

} // namespace Lang
