#pragma once

#include "app/MemoryDialogs.h"
#include "lang/Texts.h"
#include "measure/FieldSelection.h"
#include "measure/MemoryReader.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class TFormEXCEL;
class TFormMeasure;

namespace Files {
struct ParamRecord;
struct SelectionRecord;
}

// The page "Messwertaufbereitung": the memory directory, the fields of the picked block with
// the group buttons, the three options and the two ways to read a block. It is the memory
// reader's view and owns the text and workbook windows, which it shows when a read starts.
class MemoryDataPage : public QWidget, public Measure::MemoryView
{
    Q_OBJECT
public:
    // `readOptions` gives the settings and configuration values a read takes at its start
    MemoryDataPage(Measure::MemoryReader &reader, Files::ParamRecord &param, Files::SelectionRecord &selection,
                   MemoryDialogs dialogs, std::function<Measure::ReadOptions()> readOptions,
                   QWidget *parent = nullptr);
    ~MemoryDataPage() override;

    void ApplyLanguageTexts();
    // the status line's texts in the status bars of the windows that are visible
    void MirrorMessage(const QString &text);
    void ResetDirectoryGrid();

    // Measure::MemoryView
    void DirectoryCleared() override;
    void DirectoryRowAdded(int index) override;
    void DirectoryFinished() override;
    void FieldListBuilt(int index) override;
    void ReadStarted(const Measure::TBlockHeader &block) override;
    void RowsWritten(int rows) override;
    void ReadEnded() override;

    // the grid's row that the shown field list belongs to (1 = first entry), -1 after focus moved
    int directoryTag() const { return m_tag; }
    MemoryDialogs &dialogs() { return m_dialogs; }
    TFormMeasure *formMeasure() const { return FormMeasure; }
    TFormEXCEL *formExcel() const { return FormEXCEL; }

    QGroupBox *gbDirectory = nullptr, *gbMeasureFields = nullptr, *gbSelectBtn = nullptr, *gbMeasureMode = nullptr;
    QTableWidget *sgDirectory = nullptr;
    QListWidget *clBMeasureFields = nullptr;
    QLabel *lblSelectAll = nullptr, *lblSelectDateTime = nullptr, *lblSelectIon = nullptr, *lblSelectAna = nullptr,
           *lblSelectSensor = nullptr, *lblSelectAvg = nullptr;
    QPushButton *btnSelAll0 = nullptr, *btnSelAll1 = nullptr, *btnSelDate0 = nullptr, *btnSelDate1 = nullptr,
                *btnSelIon0 = nullptr, *btnSelIon1 = nullptr, *btnSelAna0 = nullptr, *btnSelAna1 = nullptr,
                *btnSelSensor0 = nullptr, *btnSelSensor1 = nullptr, *btnSelAvg0 = nullptr, *btnSelAvg1 = nullptr;
    QCheckBox *cboTwoCol = nullptr, *cboAnaScale = nullptr, *cboAlarmNotValid = nullptr;
    QPushButton *btnLoadDirectory = nullptr, *btnText = nullptr, *btnExcel = nullptr;
    TFormMeasure *FormMeasure = nullptr;
    TFormEXCEL *FormEXCEL = nullptr;

public Q_SLOTS:
    void LoadDirectory();
    void btnTextClick();
    void btnExcelClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct GroupPair
    {
        QLabel *panel;
        QPushButton *unmark;
        QPushButton *mark;
        Measure::SelectGroup group;
        Lang::TextId caption, unmarkHint, markHint;
    };

    void buildDirectoryBox();
    void buildFieldsBox();
    void buildSelectBox();
    void buildModeBox();
    void connectHandlers();
    void fitColumns();
    bool sgDirectorySelectCell(int col, int row);
    void sgDirectoryEnter();
    void sgDirectoryExit();
    // the handler the two buttons of a pair share
    void selectGroupClick(QObject *sender, Measure::SelectGroup group);
    QList<bool> checkMarks() const;
    void setFieldListColour(bool filled);
    void startRead(Measure::RecordSink &sink);
    // the window that shows a read into each of the reader's sinks
    QWidget *windowOf(const Measure::RecordSink *sink) const;
    void placeAtFieldList(QWidget *window);
    Measure::DisplayFormats formats() const;

    Measure::MemoryReader &m_reader;
    Files::ParamRecord &m_param;
    Files::SelectionRecord &m_selection;
    MemoryDialogs m_dialogs;
    std::function<Measure::ReadOptions()> m_readOptions;
    std::vector<GroupPair> m_groups;
    int m_tag = -1;
    int m_listRow = -1;             // the grid row whose fields the list shows
    int m_rowsShown = 0;            // entries in the grid
    bool m_revertingPick = false;
};
