#pragma once

#include "measure/ColumnLayout.h"
#include "measure/MeasureTypes.h"

// A window that shows a read into its sink as it runs: the memory page places and shows it
// when the read starts and passes on the rows.
class ExportWindow
{
public:
    virtual ~ExportWindow() = default;
    virtual void readStarted(const Measure::TBlockHeader &block, const Measure::DisplayFormats &formats) = 0;
    virtual void rowsWritten(int rows) = 0;
    // after it was placed and shown
    virtual void shown() {}
};
