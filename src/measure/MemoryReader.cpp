#include "measure/MemoryReader.h"

#include "lang/Texts.h"
#include "link/ProtocolEngine.h"
#include "model/FileTargets.h"
#include "xlsx/Book.h"

namespace Measure {

MemoryReader::MemoryReader(Link::ProtocolEngine &engine, QObject *parent) : QObject(parent), m_engine(engine)
{
    auto header = [this](Link::Reply reply, const QString &text) { ParseBlockHeader(reply, text); };
    auto record = [this](Link::Reply reply, const QString &text) { ParseMeasureRecord(reply, text); };
    m_engine.setBlockHandler(Link::Reply::TFH, header);
    m_engine.setBlockHandler(Link::Reply::TNH, header);
    m_engine.setBlockHandler(Link::Reply::TFM, record);
    m_engine.setBlockHandler(Link::Reply::TNM, record);
    m_engine.setDamagedChainHandler([this](Link::Order order, const QString &message, const QString &reply) {
        DamagedChainReply(order, message, reply);
    });
    m_engine.setChainRestart([this](Link::Order order) { return RestartChain(order); });
    connect(&m_engine, &Link::ProtocolEngine::queueFinished, this, &MemoryReader::onQueueFinished);
}

MemoryReader::~MemoryReader()
{
    for (Link::Reply reply : {Link::Reply::TFH, Link::Reply::TNH, Link::Reply::TFM, Link::Reply::TNM})
        m_engine.setBlockHandler(reply, {});
    m_engine.setDamagedChainHandler({});
    m_engine.setChainRestart({});
}

void MemoryReader::LoadDirectory()
{
    if (!isIdle())
        return;
    ResetDirectoryGrid();
    m_directory.clear();
    m_directoryComplete = false;
    m_headerIndex = m_headerSkip = 0;
    m_restarts = 0;
    DirectoryReading = true;
    m_engine.ShowStatusText(Lang::Text(Lang::TxDirReading));
    m_engine.setNoAnswerCount(0);
    m_engine.QueueOrder(Link::Order::GIN);
    m_engine.QueueOrder(Link::Order::GFH);
}

void MemoryReader::ResetDirectoryGrid()
{
    m_fields.clear();
    m_fieldListIndex = -1;
    if (m_view)
        m_view->DirectoryCleared();
}

bool MemoryReader::BuildFieldList(int index)
{
    if (CurrentBlock >= 0 || m_cancelPending || index < 0 || index >= int(m_directory.size()))
        return false;
    m_fields = Measure::BuildFieldList(m_directory[std::size_t(index)], m_options.analogName);
    m_fieldListIndex = index;
    if (m_view)
        m_view->FieldListBuilt(index);
    return true;
}

bool MemoryReader::ReadSelectedBlock(RecordSink &sink, const QString &selectedBlockText, const QList<bool> &marks)
{
    using namespace Lang;
    if (const QString announcement = sink.announcement(); !announcement.isEmpty())
        m_engine.ShowStatusText(announcement);
    if (!isIdle())
        return false;
    m_readComplete = false;
    if (m_fields.empty() || marks.isEmpty()) {
        m_engine.ReportMessage(Text(TxNoDirectorySelected), true);
        return false;
    }
    MeasureFields fields = m_fields;
    bool any = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i].Selected = marks.value(qsizetype(i), false);
        any = any || fields[i].Selected;
    }
    if (!any) {
        m_engine.ReportMessage(Text(TxNoFieldsSelected), true);
        return false;
    }
    const std::optional<qint32> blockNr = ToInteger(selectedBlockText);
    if (!blockNr) {
        m_engine.ReportMessage(Text(TxSelectionImpossible), true);
        return false;
    }
    int index = -1;
    for (std::size_t i = 0; i < m_directory.size() && index < 0; ++i)
        if (m_directory[i].BlockNr == *blockNr)
            index = int(i);
    if (index < 0)
        return false;
    // the field list must be the picked block's: another block's token positions would put
    // values under the wrong headings
    if (index != m_fieldListIndex) {
        m_engine.ReportMessage(Text(TxSelectionImpossible), true);
        return false;
    }

    m_readOptions = m_options;
    m_readFields = std::move(fields);
    m_layout = BuildColumnLayout(m_readFields, m_readOptions.twoColumns);
    m_sink = &sink;
    m_recordIndex = 0;
    m_recordSkip = std::max<qint64>(m_readOptions.startSkip, 0);
    m_restarts = 0;
    m_headingPending = m_recordSkip == 0;
    TBlockHeader &block = m_directory[std::size_t(index)];
    block.RecordTime = block.FirstRecordTime;

    QString templateFile;
    if (sink.fillsTemplate()) {
        templateFile = m_readOptions.templateFile;
        if (Xlsx::Book::Inspect(templateFile) == Xlsx::Book::Kind::Binary) {
            templateFile = m_converter.converted(templateFile);
            if (templateFile.isEmpty()) {
                // converted first; the read starts (checked anew) when that is done
                m_preparing = true;
                m_preparationCancelled = false;
                PrepareTemplate(m_readOptions.templateFile, [this, &sink, selectedBlockText, marks](std::optional<QString> usable) {
                    m_preparing = false;
                    if (usable && !std::exchange(m_preparationCancelled, false))
                        ReadSelectedBlock(sink, selectedBlockText, marks);
                });
                // done at once only when it cannot be converted
                return m_preparing;
            }
        }
    }
    if (!sink.begin({block.FirstRecordTime, m_readOptions.formats, templateFile})) {
        m_engine.ReportMessage(sink.failure(), true);
        return false;
    }
    CurrentBlock = index;
    if (m_view)
        m_view->ReadStarted(block);
    m_engine.ShowStatusText(Format(Text(TxReadingBlock), {QString::number(block.BlockNr)}));
    m_engine.setNoAnswerCount(0);
    m_engine.QueueOrder(Link::Order::GFM, QString::number(block.BlockNr));
    return true;
}

void MemoryReader::PrepareTemplate(const QString &path, std::function<void(std::optional<QString>)> done)
{
    using namespace Lang;
    auto usable = [this, done](const QString &package) {
        // checked now, so that nobody waits for a read whose workbook cannot be made
        if (!package.isEmpty() && Xlsx::Book().load(package) != Xlsx::Book::LoadResult::Ok) {
            m_engine.ReportMessage(Text(TxSheetCannotLoad), true);
            return done(std::nullopt);
        }
        done(package);
    };
    switch (Xlsx::Book::Inspect(path)) {
    case Xlsx::Book::Kind::Missing:
        return done(QString());
    case Xlsx::Book::Kind::Binary:
        break;
    default:
        return usable(path);
    }
    if (const QString converted = m_converter.converted(path); !converted.isEmpty())
        return usable(converted);
    if (Xlsx::TemplateConverter::Program().isEmpty()) {
        m_engine.ReportMessage(Format(Text(TxTemplateOldFormat), {path}), true);
        return done(std::nullopt);
    }
    m_engine.ShowStatusText(Format(Text(TxTemplateConverting), {path}));
    m_converter.convert(path, [this, usable, done](const QString &package) {
        if (package.isEmpty()) {
            m_engine.ReportMessage(Text(TxSheetCannotLoad), true);
            return done(std::nullopt);
        }
        usable(package);
    });
}

void MemoryReader::CancelRead()
{
    if (m_preparing)
        m_preparationCancelled = true;
    if (CurrentBlock >= 0)
        m_cancelPending = true;
    CurrentBlock = -1;
}

void MemoryReader::ParseBlockHeader(Link::Reply, const QString &reply)
{
    // a header after the read was given up starts nothing
    if (!DirectoryReading)
        return;
    const HeaderParse parsed = Measure::ParseBlockHeader(reply);
    if (parsed.kind != HeaderParse::EndOfDirectory && takenBefore(m_headerIndex++, m_headerSkip)) {
        m_engine.QueueOrder(Link::Order::GNH);
        return;
    }
    switch (parsed.kind) {
    case HeaderParse::EndOfDirectory:
        endDirectory();
        if (!parsed.errorText.isEmpty())
            m_engine.ReportMessage(RecordErrorMessage(parsed.errorText, reply), true);
        return;
    case HeaderParse::Faulty:
        m_engine.ReportMessage(RecordErrorMessage(parsed.errorText, reply), true);
        break;
    case HeaderParse::Header:
        m_directory.push_back(parsed.header);
        if (m_view)
            m_view->DirectoryRowAdded(int(m_directory.size()) - 1);
        break;
    }
    m_engine.QueueOrder(Link::Order::GNH);
}

void MemoryReader::endDirectory()
{
    DirectoryReading = false;
    m_directoryComplete = true;
    m_engine.ShowStatusText(Lang::Text(Lang::TxDirRead));
    // a single block is offered at once
    if (m_directory.size() == 1)
        BuildFieldList(0);
    if (m_view)
        m_view->DirectoryFinished();
}

void MemoryReader::ParseMeasureRecord(Link::Reply, const QString &reply)
{
    using namespace Lang;
    if (endCancelledRead())
        return;
    TBlockHeader &block = m_directory[std::size_t(CurrentBlock)];
    RecordOptions options;
    options.skipAlarm = m_readOptions.skipAlarm;
    options.scaleAnalog = m_readOptions.scaleAnalog;
    options.valueAtZero = m_readOptions.valueAtZero;
    options.valueAtTen = m_readOptions.valueAtTen;
    const RecordParse parsed = Measure::ParseMeasureRecord(reply, block.BlockNr, m_readFields, options);
    if (parsed.kind == RecordParse::EndOfBlock) {
        m_engine.ShowStatusText(Format(Text(TxAllRecordsRead), {QString::number(block.BlockNr)}));
        m_readComplete = true;
        endRead();
        return;
    }
    if (takenBefore(m_recordIndex, m_recordSkip)) {
        nextRecord(block);
        return;
    }
    if (parsed.kind == RecordParse::Faulty)
        m_engine.ReportMessage(RecordErrorMessage(parsed.errorText, reply), true);
    else
        writeRecord(m_readFields, block.RecordTime, parsed.skipped);
    nextRecord(block);
}

bool MemoryReader::endCancelledRead()
{
    if (CurrentBlock >= 0)
        return false;
    // the user cancelled: this reply ends the chain, no further request goes out
    m_cancelPending = false;
    m_engine.ReportMessage(Lang::Text(Lang::TxReadCancelled), true);
    if (m_view)
        m_view->ReadEnded();
    return true;
}

void MemoryReader::nextRecord(TBlockHeader &block)
{
    // skipped, faulty and lost records take their interval too: stamps stay on the storage grid.
    // Computed from the count, not summed, so 100,000 intervals add no rounding drift.
    ++m_recordIndex;
    block.RecordTime = block.FirstRecordTime + double(m_recordIndex) * block.Interval;
    m_engine.QueueOrder(Link::Order::GNM, QString::number(block.BlockNr));
}

bool MemoryReader::takenBefore(qint64 index, qint64 skip)
{
    if (index < skip)
        return true;
    // a new entry: the chain got further than before it started over
    m_restarts = 0;
    return false;
}

void MemoryReader::DamagedChainReply(Link::Order order, const QString &message, const QString &reply)
{
    if (order == Link::Order::GNM && endCancelledRead())
        return;
    // where retries are allowed, a reply spoilt on the line costs a start over, not the entry
    if (RestartChain(order))
        return;
    const QString report = RecordErrorMessage(message, reply);
    if (order == Link::Order::GNH) {
        if (!DirectoryReading || !takenBefore(m_headerIndex++, m_headerSkip))
            m_engine.ReportMessage(report, true);
        if (DirectoryReading)
            m_engine.QueueOrder(Link::Order::GNH);
        return;
    }
    if (order != Link::Order::GNM)
        return;
    if (!takenBefore(m_recordIndex, m_recordSkip))
        m_engine.ReportMessage(report, true);
    nextRecord(m_directory[std::size_t(CurrentBlock)]);
}

bool MemoryReader::RestartChain(Link::Order order)
{
    if (m_restarts >= m_engine.noAnswerRetries())
        return false;
    if (order == Link::Order::GNH && DirectoryReading) {
        ++m_restarts;
        m_headerSkip = std::max(m_headerSkip, m_headerIndex);
        m_headerIndex = 0;
        m_engine.QueueOrder(Link::Order::GFH);
        return true;
    }
    if (order == Link::Order::GNM && CurrentBlock >= 0) {
        ++m_restarts;
        TBlockHeader &block = m_directory[std::size_t(CurrentBlock)];
        m_recordSkip = std::max(m_recordSkip, m_recordIndex);
        m_recordIndex = 0;
        block.RecordTime = block.FirstRecordTime;
        m_engine.QueueOrder(Link::Order::GFM, QString::number(block.BlockNr));
        return true;
    }
    return false;
}

void MemoryReader::writeRecord(const MeasureFields &fields, double recordTime, bool skipped)
{
    const TBlockHeader &block = m_directory[std::size_t(CurrentBlock)];
    // the heading goes before the first record that decodes, also when the very first was faulty,
    // so no read produces rows without headings
    if (m_headingPending) {
        m_headingPending = false;
        QStringList columns;
        for (const TColumn &c : m_layout.columns)
            columns << c.heading;
        m_sink->heading({m_layout, columns, block.FirstRecordTime, m_readOptions.serialNumber,
                         m_readOptions.programVersion, m_readOptions.analogUnit});
        if (m_view)
            m_view->RowsWritten(m_sink->rows());
    }
    if (skipped)
        return;
    FillRecordCells(m_layout, fields, recordTime, m_readOptions.formats, m_cells, m_kinds);
    m_sink->row({recordTime, m_cells, m_kinds});
    if (m_view)
        m_view->RowsWritten(m_sink->rows());
}

void MemoryReader::endRead()
{
    const bool wasReading = CurrentBlock >= 0 || m_cancelPending;
    CurrentBlock = -1;
    m_cancelPending = false;
    if (wasReading && m_sink)
        m_sink->end(m_readComplete);
    if (wasReading && m_view)
        m_view->ReadEnded();
}

void MemoryReader::AbandonBlockRead()
{
    const bool directory = DirectoryReading;
    DirectoryReading = false;
    endRead();
    if (directory && m_view)
        m_view->DirectoryFinished();
}

void MemoryReader::onQueueFinished()
{
    // every reply of a chain queues the next request; a queue that runs dry while a chain is
    // open lost its request (port not ready, unexpected reply): the chain cannot go on
    if (DirectoryReading || CurrentBlock >= 0 || m_cancelPending)
        AbandonBlockRead();
}

bool MemoryReader::CreateChart(const QString &title)
{
    m_engine.ShowStatusText(Lang::Text(Lang::TxChartGenerating));
    QString error;
    if (!sheet().CreateChart(title, &error)) {
        m_engine.ReportMessage(error, true);
        return false;
    }
    m_engine.ShowStatusText(Lang::Text(Lang::TxChartCreated));
    return true;
}

bool MemoryReader::SaveText(const QString &path)
{
    using namespace Lang;
    QString reason;
    if (!m_text.save(path, &reason)) {
        m_saveFailure = Model::WithReason(Text(TxDataNotSaved), reason);
        m_engine.ReportMessage(m_saveFailure, true);
        return false;
    }
    m_engine.ShowStatusText(Text(TxDataSaved));
    return true;
}

void MemoryReader::SaveTextCancelled()
{
    m_engine.ReportMessage(Lang::Text(Lang::TxSaveMeasureCancelled), true);
}

bool MemoryReader::SaveWorkbook(const QString &path)
{
    QString reason;
    if (!m_workbook.save(path, &reason)) {
        m_saveFailure = Model::WithReason(Lang::Text(Lang::TxDataNotSaved), reason);
        m_engine.ReportMessage(m_saveFailure, true);
        return false;
    }
    return true;
}

} // namespace Measure
