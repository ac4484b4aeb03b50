#pragma once

namespace Lang {

// live trend window: 6500-6599
enum TrendTextId : int {
    TrendTextsBegin = 6500,
    TxTrendTitle = 6501,
    TxTrendMenu,
    TxTrendPageButton,
    TxTrendPause,
    TxTrendResume,
    TxTrendRecord,
    TxTrendStopRecord,
    TxTrendClose,
    TxTrendSpanLabel,
    TxTrendSpans,
    TxTrendIonLane,
    TxTrendAnalogLane,
    TxTrendHumidityLane,
    TxTrendTemperatureLane,
    TxTrendRecordFilter,
    TxTrendRecordDialogTitle,
    // hints
    TxTrendHintPause = 6531,
    TxTrendHintRecord,
    TxTrendHintSpan,
    TxTrendHintPlot,
    TxTrendHintPageButton,
    // status and messages
    TxTrendWaiting = 6551,
    TxTrendPaused,
    TxTrendRecording,
    TxTrendRecordEnded,
    TxTrendCannotWrite,
    TxTrendCannotRead = 6557,
    TxTrendPlotName,
    TxTrendNoValues,
    TxTrendLatest,
    TrendTextsEnd = 6599,
};

} // namespace Lang
