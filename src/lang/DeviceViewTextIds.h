#pragma once

namespace Lang {

// device view page and sensor window: 5000-5499
enum DeviceViewTextId : int {
    DeviceViewTextsBegin = 5000,
    // device view captions
    TxTabInfo = 5001,
    TxModelLabel = 5002,
    TxFactorPrefix = 5003,
    TxMeterCaption = 5004,
    TxKeyPol = 5005,
    TxKeyRangeDown = 5006,
    TxKeyRangeUp = 5007,
    TxKeyZero = 5008,
    TxKeyF7 = 5009,
    TxKeyF8 = 5010,
    TxKeyF9 = 5011,
    TxKeyF10 = 5012,
    TxKeyF11 = 5013,
    TxKeyF12 = 5014,
    TxSwitchOff = 5015,
    TxSwitchOn = 5016,
    // device view hints
    TxHintMpAna = 5031,
    TxHintLblAnaName = 5032,
    TxHintBtnPol = 5033,
    TxHintBtnRaMin = 5034,
    TxHintBtnRaMax = 5035,
    TxHintBtnNull = 5036,
    TxHintBtnShowandHide = 5037,
    TxHintBtnInfo = 5038,
    TxHintLedMain = 5039,
    TxHintLedAlarm = 5040,
    // names for assistive technology where no caption says what a control is
    TxNameIonMeter = 5061,
    TxNameAnalogMeter = 5062,
    TxNamePolarity = 5063,
    TxNameRange = 5064,
    TxNameAlarmValue = 5065,
    TxNameFactor = 5066,
    TxNameLogo = 5067,
    TxNameBtnShowandHide = 5068,
    TxNameBtnPol = 5069,
    TxNameBtnRaMin = 5070,
    TxNameBtnRaMax = 5071,
    TxNameBtnNull = 5072,
    TxNameLedAlarm = 5073,
    TxNameLedMain = 5074,
    TxNameSwitch = 5075,
    TxNameSplitter = 5076,
    // device view messages
    TxScaleNotANumber = 5091,
    // sensor window
    TxSensCaption = 5101,
    TxSensCreateCaption = 5102,
    TxSensAddress = 5103,
    TxSensHumidity = 5104,
    TxSensTemperature = 5105,
    TxSensClose = 5106,
    TxSensCloseHint = 5107,
    TxSensGridName = 5108,
    DeviceViewTextsEnd = 5499
};

} // namespace Lang
