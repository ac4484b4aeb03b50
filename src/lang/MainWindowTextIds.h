#pragma once

namespace Lang {

// main window captions, item lists of the text spin selectors and hints: 5600-5999
// (the measurement page keeps its own in MemoryUiTextIds.h, the device view in its area)
enum MainWindowTextId : int {
    MainWindowTextsBegin = 5600,
    TxCapForm1 = 5601,
    TxCapDatei1 = 5602,
    TxCapKonfigurationladen1 = 5603,
    TxCapKonfigurationspeichern1 = 5604,
    TxCapProgrammbeenden1 = 5605,
    TxCapQT88001 = 5606,
    TxCapEinstellungenladen1 = 5607,
    TxCapKonfigurationzumQT8800bertragen1 = 5608,
    TxCapOptionen1 = 5609,
    TxCapProgrammkonfigurieren1 = 5610,
    TxCapHilfe1 = 5611,
    TxCapInfo1 = 5612,
    // pages
    TxCapTabConfig = 5613,
    TxCapTabMeasureConfig = 5614,
    TxCapTabInfo = 5615,
    TxCapTabProgram = 5616,
    // group boxes
    TxCapGbPort = 5617,
    TxCapGbBaud = 5618,
    TxCapGbMPath = 5619,
    TxCapGbZero = 5620,
    TxCapGbDevice = 5621,
    TxCapGbDate = 5622,
    TxCapGbQTLang = 5623,
    TxCapGbRange = 5624,
    TxCapGbPolarity = 5625,
    TxCapGbAnaOut = 5626,
    TxCapGbProgOptions = 5627,
    TxCapGbProgLang = 5628,
    TxCapGbEndMem = 5629,
    TxCapGbMem = 5630,
    TxCapGbManMem = 5631,
    TxCapGbMemClear = 5632,
    TxCapGbOut = 5633,
    TxCapGbAnaIn = 5634,
    TxCapGbDecimalSep = 5635,
    TxCapGbAnalogInput = 5636,
    // labels, buttons and check boxes
    TxCapLblSerialNr = 5637,
    TxCapLblFirmwareVesrion = 5638,
    TxCapLblTimeCount = 5639,
    TxCapLblSystemDate = 5640,
    TxCapLblSystemTime = 5641,
    TxCapLblQTDate = 5642,
    TxCapLblQTTime = 5643,
    TxCapLblAlterPol = 5644,
    TxCapLblPolInter = 5645,
    TxCapBtnSyncDT = 5646,
    TxCapBtnSetDT = 5647,
    TxCapBtnZero = 5648,
    TxCapBtnSaveQTKonfig = 5649,
    TxCapBtnLoadQTKonfig = 5650,
    TxCapBtnEnd = 5651,
    TxCapLedStatMem = 5652,
    TxCapLblStartDate = 5653,
    TxCapLblStartTime = 5654,
    TxCapLblEndDate = 5655,
    TxCapLblEndTime = 5656,
    TxCapLblDuration = 5657,
    TxCapLblStartMode = 5658,
    TxCapLblMeasInt = 5659,
    TxCapLblExtLabel = 5660,
    TxCapLblExtUnit = 5661,
    TxCapLblExtZero = 5662,
    TxCapLblExtTen = 5663,
    TxCapLblExtScaleBegin = 5664,
    TxCapLblExtScaleEnd = 5665,
    TxCapLblExtScaleParts = 5666,
    TxCapLblExtValueBegin = 5667,
    TxCapLblExtScaleValueEnd = 5668,
    TxCapLblStartStop = 5669,
    TxCapLblMemoryUse = 5670,
    TxCapLblMemory = 5671,
    TxCapLblClear = 5672,
    TxCapCboSaveConfig = 5673,
    TxCapCboReadAtStart = 5674,
    TxCapCboPrompt = 5675,
    TxCapCboQTTime = 5676,
    TxCapCbBeep = 5677,
    TxCapCboDebug = 5678,
    TxCapCbAskArProgrammClose = 5679,
    TxCapLblMeasRefresh = 5680,
    TxCapLblSeconds2 = 5681,
    TxCapLblSeconds = 5682,
    TxCapLblMeasPath = 5683,
    TxCapLblEXCELDat = 5684,
    TxCapLblKonfPath = 5685,
    TxCapLblDebugPath = 5686,
    // each selector's items, one number per item in list order
    TxItemsTsRange = 5701,          // 5701-5710
    TxItemsTsPol = 5711,            // 5711-5712
    TxItemsTsPolAlter = 5713,       // 5713-5714
    TxItemsTsAnaOut = 5715,         // 5715-5718
    TxItemsTsZeroAtStart = 5719,    // 5719-5720
    TxItemsTsQTLanguage = 5721,     // 5721-5722
    TxItemsTsStartMode = 5723,      // 5723-5724
    TxItemsTsAnaIn = 5725,          // 5725-5726
    TxItemsTsOutMeas = 5727,        // 5727-5729
    TxItemsTsMemEnd = 5730,         // 5730-5731
    TxItemsTsComPort = 5732,        // 5732-5739
    TxItemsTsBaud = 5740,           // 5740-5743
    TxItemsTsDecimalSep = 5744,     // 5744-5745
    TxItemsTsProgLang = 5746,       // 5746-5747
    TxItemsEnd = 5748,
    // hints; a "\n" in a hint is a line break
    TxHintLblSysDate = 5801,
    TxHintLblSysTime = 5802,
    TxHintLblSerNr = 5803,
    TxHintLblVersion = 5804,
    TxHintLblTime = 5805,
    TxHintDtpQTDate = 5806,
    TxHintBtnSyncDT = 5807,
    TxHintBtnSetDT = 5808,
    TxHintIsePolInter = 5809,
    TxHintTsPolAlter = 5810,
    TxHintTsRange = 5811,
    TxHintTsPol = 5812,
    TxHintTsAnaOut = 5813,
    TxHintTsZeroAtStart = 5814,
    TxHintBtnZero = 5815,
    TxHintTsQTLanguage = 5816,
    TxHintBtnSaveQTKonfig = 5817,
    TxHintBtnLoadQTKonfig = 5818,
    TxHintBtnEnd = 5819,
    TxHintLedStatMem = 5820,
    TxHintLblInfo = 5821,
    TxHintDtpStartDate = 5822,
    TxHintIseStartTime = 5823,
    TxHintDtpStopDate = 5824,
    TxHintIseStopTime = 5825,
    TxHintIseDuration = 5826,
    TxHintTsStartMode = 5827,
    TxHintIseMeasInt = 5828,
    TxHintTxtAnaName = 5829,
    TxHintTxtAnaUnit = 5830,
    TxHintTxtAnaValZero = 5831,
    TxHintTxtAnaVal10 = 5832,
    TxHintTxtScaleZero = 5833,
    TxHintTxtScaleEnd = 5834,
    TxHintTxtScaleParts = 5835,
    TxHintTxtValueScaleZero = 5836,
    TxHintTxtValueScaleEnd = 5837,
    TxHintTsAnaIn = 5838,
    TxHintTsOutMeas = 5839,
    TxHintTsMemEnd = 5840,
    TxHintBtnStart = 5841,
    TxHintBtnInfo1 = 5842,
    TxHintBtnMemClear = 5843,
    TxHintLblMemUse = 5844,
    TxHintTsComPort = 5845,
    TxHintTsBaud = 5846,
    TxHintTsProgLang = 5847,
    TxHintTsDecimalSep = 5848,
    TxHintBtnMPath = 5849,
    TxHintBtnExcelDat = 5850,
    TxHintBtnQTPath = 5851,
    TxHintBtnDebugPath = 5852,
    TxHintTxtMPath = 5853,
    TxHintTxtExcelDat = 5854,
    TxHintTxtQTPath = 5855,
    TxHintTxtDebugPath = 5856,
    TxModuleNotFound = 5860,
    TxNamePanInfo = 5861,
};
static_assert(TxCapLblDebugPath < TxItemsTsRange && TxItemsEnd <= TxHintLblSysDate && TxHintTxtDebugPath < 6000,
              "main window text numbers overlap");

// each selector's item list: its first number and how many items follow
struct ItemList
{
    int first;
    int count;
};
inline constexpr ItemList kItemLists[] = {
    {TxItemsTsRange, 10},      {TxItemsTsPol, 2},         {TxItemsTsPolAlter, 2},    {TxItemsTsAnaOut, 4},
    {TxItemsTsZeroAtStart, 2}, {TxItemsTsQTLanguage, 2},  {TxItemsTsStartMode, 2},   {TxItemsTsAnaIn, 2},
    {TxItemsTsOutMeas, 3},     {TxItemsTsMemEnd, 2},      {TxItemsTsComPort, 8},     {TxItemsTsBaud, 4},
    {TxItemsTsDecimalSep, 2},  {TxItemsTsProgLang, 2},
};

// the number of items in a selector's list, by its first number; 0 for any other number
constexpr int ItemCount(int firstItem)
{
    for (const ItemList &list : kItemLists)
        if (list.first == firstItem)
            return list.count;
    return 0;
}

constexpr bool itemListsApart()
{
    int next = TxItemsTsRange;
    for (const ItemList &list : kItemLists) {
        if (list.first < next)
            return false;
        next = list.first + list.count;
    }
    return next <= TxItemsEnd;
}
static_assert(itemListsApart(), "selector item lists overlap");

} // namespace Lang
