#pragma once

#include "measure/ColumnLayout.h"
#include "measure/MeasureTypes.h"
#include "measure/RecordParsing.h"
#include "measure/TextSink.h"
#include "measure/WorkbookSink.h"
#include "link/TelegramTables.h"
#include "xlsx/TemplateConverter.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace Link {
class ProtocolEngine;
}

namespace Measure {

// What the page and the two windows show of the memory read. The reader tells; the view
// fetches what it needs from the reader (directory(), fields(), sink()).
class MemoryView
{
public:
    virtual ~MemoryView() = default;
    // ResetDirectoryGrid: one empty row, the field list emptied and in button face
    virtual void DirectoryCleared() = 0;
    // entry `index` of directory() arrived; DirectoryRowTexts() gives its cells
    virtual void DirectoryRowAdded(int index) = 0;
    // the directory read is over: ended by the instrument, refused or unanswered
    virtual void DirectoryFinished() = 0;
    // fields() was rebuilt for entry `index`; the view sets the marks from FieldSelection
    virtual void FieldListBuilt(int index) = 0;
    // a read into sink() begins; the sink holds nothing yet
    virtual void ReadStarted(const TBlockHeader &block) = 0;
    // the sink took the heading or a row; `rows` data rows so far
    virtual void RowsWritten(int rows) = 0;
    // the read is over (end of block, cancel, refusal, time-out); the view may unlock its controls
    virtual void ReadEnded() = 0;
};

// Everything a read takes from the settings and the configuration page. The reader copies it
// when a read starts, so changing a setting mid-read changes nothing of that read.
struct ReadOptions
{
    DisplayFormats formats;
    bool twoColumns = false;            // cboTwoCol
    bool scaleAnalog = false;           // cboAnaScale
    bool skipAlarm = false;             // cboAlarmNotValid
    QString valueAtZero;                // txtAnaValZero
    QString valueAtTen;                 // txtAnaVal10
    QString analogName;                 // txtAnaName: the analogue field captions
    QString analogUnit;                 // txtAnaUnit: the chart's value axis
    QString serialNumber;               // lblSerNr
    QString programVersion;
    QString templateFile;               // spreadsheet template; empty for none
    // records of the block taken by an earlier read: passed over, and no heading, since the
    // rows continue a file that has one
    qint64 startSkip = 0;
};

// Reads the memory directory and the records of one block through the protocol engine and
// hands each record to the sink the read was started with. Replies drive it: each processed reply
// queues the next request, a reply with block number 0 ends the chain. The constructor installs
// the engine's handlers for TFH, TNH, TFM and TNM; the engine's AbandonBlockRead hook must call
// AbandonBlockRead() here.
class MemoryReader : public QObject
{
    Q_OBJECT
public:
    MemoryReader(Link::ProtocolEngine &engine, QObject *parent = nullptr);
    ~MemoryReader() override;

    void setView(MemoryView *view) { m_view = view; }
    void setOptions(const ReadOptions &options) { m_options = options; }
    const ReadOptions &options() const { return m_options; }

    // btnLoadDirectory; does nothing while a read runs
    void LoadDirectory();
    void ResetDirectoryGrid();
    // builds fields() for directory entry `index`; refused (false) while a block is read, so
    // the list on screen is the one being read
    bool BuildFieldList(int index);

    // btnText / btnExcel, the records into `sink` (its announcement shown first). `selectedBlockText` is cell 0
    // of the grid row the user picked, `marks` the check marks by position (the caller stores
    // them as FieldSelection too). False when nothing started; the reason is reported. A
    // workbook read with an old binary template converts it first and starts when that is
    // done, unless the read was cancelled meanwhile.
    bool ReadSelectedBlock(RecordSink &sink, const QString &selectedBlockText, const QList<bool> &marks);
    // The workbook to fill for the template `path`: the template itself (or nothing, for a new
    // workbook, when no such file exists), or the package an old binary one was converted to,
    // while the event loop goes on. `done` gets nothing when the template cannot be used; the
    // reason is reported.
    void PrepareTemplate(const QString &path, std::function<void(std::optional<QString> usable)> done);
    // The windows' cancel and close buttons: the next record reply ends the read.
    void CancelRead();

    // engine handlers
    void ParseBlockHeader(Link::Reply, const QString &reply);
    void ParseMeasureRecord(Link::Reply, const QString &reply);
    // a GNH or GNM reply that came damaged: the entry is lost, reported, and the chain goes on;
    // where the engine has retries, the chain starts over instead (see RestartChain)
    void DamagedChainReply(Link::Order order, const QString &message, const QString &reply);
    // A GNH or GNM that got no reply: the chain starts over at its first entry and passes over
    // the entries it already took, so none is written twice or left out. False when there is no
    // such chain, or the last starts over (as many as the engine's retries) got no further.
    bool RestartChain(Link::Order order);
    void AbandonBlockRead();

    // btnDiagramm: reports and returns false without data rows
    bool CreateChart(const QString &title);

    // btnSaveMeasure after the dialog: all text rows to `path`, the outcome in the status line
    // (and so in the windows' status bars). A failure leaves the previous file and the rows.
    bool SaveText(const QString &path);
    void SaveTextCancelled();
    // The workbook to `path` (.xlsx), marking it saved; a failure is reported, never swallowed,
    // so nobody closes a workbook believing it saved.
    bool SaveWorkbook(const QString &path);
    // the message of the last save that failed, with the system's reason
    QString saveFailure() const { return m_saveFailure; }

    // idle: neither the directory nor a block is being read, nor a cancelled read awaits its reply
    bool isIdle() const { return !DirectoryReading && CurrentBlock < 0 && !m_cancelPending && !m_preparing; }
    // the last block read reached the end of its block (it was not refused, cut off or cancelled)
    bool lastReadComplete() const { return m_readComplete; }
    // the last directory read reached the end of the directory (entries it skipped aside)
    bool lastDirectoryComplete() const { return m_directoryComplete; }
    // the records of the block the last complete read went through, passed over ones included
    qint64 recordsRead() const { return m_recordIndex; }
    bool DirectoryReading = false;
    int CurrentBlock = -1;
    // the sink of the running or last read
    RecordSink *sink() const { return m_sink; }

    const MeasureDirectory &directory() const { return m_directory; }
    const MeasureFields &fields() const { return m_fields; }
    const ColumnLayout &layout() const { return m_layout; }
    // the windows' two sinks, kept with the reader so a read's rows outlive the windows' closing
    TextSink &textSink() { return m_text; }
    WorkbookSink &workbookSink() { return m_workbook; }
    const TextSink &textSink() const { return m_text; }
    const WorkbookSink &workbookSink() const { return m_workbook; }
    TextRows &textRows() { return m_text.textRows(); }
    SheetExport &sheet() { return m_workbook.sheet(); }
    const ReadOptions &readOptions() const { return m_readOptions; }

private:
    void endRead();
    void endDirectory();
    void writeRecord(const MeasureFields &fields, double recordTime, bool skipped);
    void nextRecord(TBlockHeader &block);
    // the entry at `index` was taken before the chain started over
    bool takenBefore(qint64 index, qint64 skip);
    bool endCancelledRead();
    void onQueueFinished();

    Link::ProtocolEngine &m_engine;
    MemoryView *m_view = nullptr;
    ReadOptions m_options;
    ReadOptions m_readOptions;          // locked for the running read
    MeasureDirectory m_directory;
    MeasureFields m_fields;             // the list on the page
    MeasureFields m_readFields;         // the running read's copy
    ColumnLayout m_layout;
    RecordSink *m_sink = nullptr;
    std::vector<QString> m_cells;       // reused for every record
    std::vector<CellKind> m_kinds;
    qint64 m_recordIndex = 0;           // records consumed so far, skipped and faulty ones included
    qint64 m_recordSkip = 0;            // after a start over: records consumed before it
    qint64 m_headerIndex = 0;           // directory entries consumed, faulty ones included
    qint64 m_headerSkip = 0;
    int m_restarts = 0;                 // starts over since an entry was last taken
    bool m_headingPending = false;
    bool m_cancelPending = false;
    bool m_readComplete = false;
    bool m_preparing = false;           // a template is converted before the read starts
    bool m_preparationCancelled = false;
    bool m_directoryComplete = false;
    int m_fieldListIndex = -1;
    Xlsx::TemplateConverter m_converter;
    TextSink m_text;
    QString m_saveFailure;
    WorkbookSink m_workbook;
};

} // namespace Measure
