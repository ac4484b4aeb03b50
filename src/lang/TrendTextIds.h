#pragma once

namespace Lang {

// live trend window: 6500-6599
enum TrendTextId : int {
    TrendTextsBegin = 6500,
    TxTrendTitle = 6501,
    TxTrendMenu = 6502,
    TxTrendPageButton = 6503,
    TxTrendPause = 6504,
    TxTrendResume = 6505,
    TxTrendRecord = 6506,
    TxTrendStopRecord = 6507,
    TxTrendClose = 6508,
    TxTrendSpanLabel = 6509,
    TxTrendSpans = 6510,
    TxTrendIonLane = 6511,
    TxTrendAnalogLane = 6512,
    TxTrendHumidityLane = 6513,
    TxTrendTemperatureLane = 6514,
    TxTrendRecordFilter = 6515,
    TxTrendRecordDialogTitle = 6516,
    // hints
    TxTrendHintPause = 6531,
    TxTrendHintRecord = 6532,
    TxTrendHintSpan = 6533,
    TxTrendHintPlot = 6534,
    TxTrendHintPageButton = 6535,
    // status and messages
    TxTrendWaiting = 6551,
    TxTrendPaused = 6552,
    TxTrendRecording = 6553,
    TxTrendRecordEnded = 6554,
    TxTrendCannotWrite = 6555,
    TxTrendCannotRead = 6557,
    TxTrendPlotName = 6558,
    TxTrendNoValues = 6559,
    TxTrendLatest = 6560,
    TrendTextsEnd = 6599,
};

} // namespace Lang
