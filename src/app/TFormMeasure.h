#pragma once

#include "app/ExportWindow.h"
#include "app/MemoryDialogs.h"

#include <QWidget>

class MemoView;
class QGroupBox;
class QPushButton;
class TextRowModel;
class WindowStatusBar;

namespace Files {
struct ParamRecord;
}
namespace Measure {
class MemoryReader;
}

// The text window: the rows of a text read under their heading, to look at, edit, clear and
// save as a CSV or TXT file; it can also cancel the running read. A stay-on-top tool window,
// created with the page and shown when a text read starts.
class TFormMeasure : public QWidget, public ExportWindow
{
    Q_OBJECT
public:
    TFormMeasure(Measure::MemoryReader &reader, const Files::ParamRecord &param, const MemoryDialogs &dialogs,
                 QWidget *parent = nullptr);

    void ApplyLanguageTexts();

    // the reader emptied the rows for a new read
    void ReadStarted();
    // new rows are in the store; the memo shows them with its next batch
    void LinesAdded();
    void ReadEnded();

    // ExportWindow
    void readStarted(const Measure::TBlockHeader &, const Measure::DisplayFormats &) override { ReadStarted(); }
    void rowsWritten(int) override { LinesAdded(); }

    // stb1's one panel: the status line's texts while the window is visible, and save results
    void setStatusText(const QString &text);
    QString statusText() const;

    TextRowModel *rowModel() const { return m_model; }

    QGroupBox *gbMeasure = nullptr;
    MemoView *memMeasure = nullptr;
    QPushButton *btnSaveMeasure = nullptr, *btnClear = nullptr, *btnCancel = nullptr, *btnClose = nullptr;
    WindowStatusBar *stb1 = nullptr;

public Q_SLOTS:
    void btnSaveMeasureClick();
    void btnClearClick();
    void btnCancelClick();
    void btnCloseClick();

private:
    Measure::MemoryReader &m_reader;
    const Files::ParamRecord &m_param;
    const MemoryDialogs &m_dialogs;
    TextRowModel *m_model = nullptr;
};
