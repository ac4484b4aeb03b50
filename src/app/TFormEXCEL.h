#pragma once

#include "app/ExportWindow.h"
#include "app/MemoryDialogs.h"
#include "measure/ColumnLayout.h"

#include <QWidget>

#include <array>
#include <functional>

class ChartWindow;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowStatusBar;

namespace Files {
struct ParamRecord;
}
namespace Measure {
class MemoryReader;
struct TBlockHeader;
}

// The workbook window: progress of a workbook read, the chart (in the workbook and in a window
// of the program), cancelling, and closing with the offer to save. A stay-on-top tool window,
// created with the page and shown when a workbook read starts.
class TFormEXCEL : public QWidget, public ExportWindow
{
    Q_OBJECT
public:
    TFormEXCEL(Measure::MemoryReader &reader, const Files::ParamRecord &param, const MemoryDialogs &dialogs,
               QWidget *parent = nullptr);

    void ApplyLanguageTexts();

    void ReadStarted(const Measure::TBlockHeader &block, const Measure::DisplayFormats &formats);
    void RowsWritten(int rows);

    // ExportWindow
    void readStarted(const Measure::TBlockHeader &block, const Measure::DisplayFormats &formats) override
    {
        ReadStarted(block, formats);
    }
    void rowsWritten(int rows) override { RowsWritten(rows); }
    // the chart title is typed while the rows come
    void shown() override;

    void setStatusText(const QString &text);
    QString statusText() const;

    // btnDiagramm: the chart over the rows written so far
    void CreateChart();
    // Offers to save an unsaved workbook (Yes/No/Cancel) and closes it. `done` gets false
    // when the workbook stays open: Cancel, the save dialog cancelled, or saving failed.
    void CloseSpreadsheet(std::function<void(bool closed)> done = {});
    // a workbook with rows nobody saved yet
    bool hasUnsavedWorkbook() const;

    ChartWindow *chartWindow() const { return m_chart; }

    QLabel *lblExcelDiaTitle = nullptr, *lblBlockNr = nullptr, *lblEXCELMeasureNr = nullptr,
           *lblEXCELStartDateLabel = nullptr, *lblEXCELStartDate = nullptr, *lblExcelStartTimeLabel = nullptr,
           *lblExcelStartTime = nullptr, *lblEXCELREcordNrLabel = nullptr, *lblExcelRecordNr = nullptr;
    QLineEdit *txtEXCELDiaTitle = nullptr;
    QPushButton *btnCancel = nullptr, *btnDiagramm = nullptr, *btnClose = nullptr;
    WindowStatusBar *stb1 = nullptr;

Q_SIGNALS:
    // for the status line: what became of handing a saved workbook to the desktop
    void reportMessage(const QString &text, bool error);

public Q_SLOTS:
    void btnCancelClick();
    void btnCloseClick();

private:
    void saveAndClose(std::function<void(bool)> done);
    void offerToOpen(const QString &path, std::function<void()> done);
    void closeWorkbook();
    void showValue(QLabel *value, const QString &text);

    Measure::MemoryReader &m_reader;
    const Files::ParamRecord &m_param;
    const MemoryDialogs &m_dialogs;
    ChartWindow *m_chart = nullptr;
    // caption and value panel
    std::array<std::pair<QLabel *, QLabel *>, 4> m_values{};
    double m_firstRecord = 0;
    Measure::DisplayFormats m_formats;
};
