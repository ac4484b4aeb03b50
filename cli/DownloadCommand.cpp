#include "cli/DownloadCommand.h"

#include "cli/CliSession.h"
#include "cli/FieldChoice.h"

#include "lang/Texts.h"
#include "model/FileTargets.h"
#include "model/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace Cli {

using namespace Lang;

DownloadCommand::DownloadCommand(CliSession &session, Finish finish, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_finish(std::move(finish))
    , m_reader(session.engine())
    , m_sink(session.options().xlsx ? static_cast<Measure::RecordSink *>(&m_workbook) : &m_text)
{
    m_reader.setView(this);
    m_session.engine().setAbandonBlockRead([this] { m_reader.AbandonBlockRead(); });
    // a block read that must start over passes over the records it has, so none is doubled
    m_session.engine().setNoAnswerRetries(m_session.options().retries);
}

DownloadCommand::~DownloadCommand()
{
    m_session.engine().setAbandonBlockRead({});
}

QString DownloadCommand::FileNameFor(const Measure::TBlockHeader &block, const QString &suffix)
{
    return Text(TxExcelFilePrefix) + Measure::DaysToDateTime(block.FirstRecordTime).toString(QStringLiteral("yyyyMMddHHmmss"))
           + u'.' + suffix;
}

void DownloadCommand::done(int code)
{
    if (m_finish)
        std::exchange(m_finish, {})(code);
}

void DownloadCommand::start()
{
    if (m_session.options().newOnly && !loadState())
        return;
    // the folder first: a download that cannot be saved is not worth the wait
    if (!toStandardOutput())
        if (const int made = m_session.makeFolder(m_session.options().outputDir); made != ExitDone)
            return done(made);
    const QString templateFile = m_session.options().templateFile;
    if (templateFile.isEmpty())
        return readDirectory();
    if (!QFileInfo(templateFile).isFile()) {
        m_session.StatusMessage(Format(Text(TxCliCannotRead), {templateFile}), true);
        return done(ExitFile);
    }
    // the template is checked (and an old one converted) before the instrument is asked anything
    m_reader.PrepareTemplate(templateFile, [this](std::optional<QString> usable) {
        if (!usable)
            return done(ExitFile);
        m_template = *usable;
        Measure::Workbook probe;
        probe.loadTemplate(m_template);
        m_workbook.suffix = probe.fileSuffix();
        readDirectory();
    });
}

void DownloadCommand::readDirectory()
{
    // whose memory it is, and whether the last block still grows
    if (m_session.options().newOnly) {
        m_session.engine().QueueOrder(Link::Order::GIN);
        m_session.engine().QueueOrder(Link::Order::GST);
    }
    m_reader.LoadDirectory();
    m_session.whenIdle([this] { directoryRead(); });
}

bool DownloadCommand::toStandardOutput() const
{
    return Model::NamedDescriptor(m_session.options().outputDir).has_value();
}

void DownloadCommand::directoryRead()
{
    // an entry the reader skipped (reported as it came) costs the exit status, not the other blocks
    const bool complete = m_reader.lastDirectoryComplete();
    if ((m_session.hasErrors() && !complete) || m_session.reportRejectedValues(Model::TelegramSlot))
        return done(ExitInstrument);
    m_entriesSkipped = !m_session.takeErrors().isEmpty();
    const CliOptions &o = m_session.options();
    const Model::FieldStore &store = m_session.store();
    Measure::ReadOptions read;
    read.formats = m_session.formats();
    read.twoColumns = o.twoColumns;
    read.skipAlarm = o.skipAlarm;
    read.valueAtZero = store.value(Model::Field::AnalogAtZero);
    read.valueAtTen = store.value(Model::Field::AnalogAtTen);
    read.analogName = store.value(Model::Field::AnalogName);
    read.analogUnit = store.value(Model::Field::AnalogUnit);
    read.serialNumber = store.value(Model::Field::SerialNumber);
    read.programVersion = QStringLiteral(QT8800_VERSION);
    read.templateFile = m_template;
    m_reader.setOptions(read);

    if (m_reader.directory().empty() && o.blocks.isEmpty()) {
        m_session.console().message(Text(TxCliMemoryEmpty));
        return done(finalCode(ExitDone));
    }
    if (!planJobs())
        return;
    readNext();
}

bool DownloadCommand::planJobs()
{
    const CliOptions &o = m_session.options();
    const Measure::MeasureDirectory &directory = m_reader.directory();
    QList<int> indices;
    if (o.newOnly) {
        if (!newBlocks(indices))
            return false;
    } else if (o.blocks.isEmpty()) {
        for (int i = 0; i < int(directory.size()); ++i)
            indices << i;
    } else {
        for (int nr : o.blocks) {
            int found = -1;
            for (int i = 0; i < int(directory.size()) && found < 0; ++i)
                if (directory[std::size_t(i)].BlockNr == nr)
                    found = i;
            if (found < 0) {
                m_session.StatusMessage(Format(Text(TxCliNoSuchBlock), {QString::number(nr)}), true);
                done(ExitUsage);
                return false;
            }
            indices << found;
        }
    }

    QSet<QString> unmatchedEverywhere;
    QStringList emptyBlocks;
    bool first = true;
    QSet<QString> names;
    for (int index : std::as_const(indices)) {
        const Measure::TBlockHeader &block = directory[std::size_t(index)];
        m_reader.BuildFieldList(index);
        const FieldChoice choice = ChooseFields(m_reader.fields(), o.fields);
        // an item counts as unknown only when no chosen block has such a field
        const QSet<QString> unmatched(choice.unmatched.begin(), choice.unmatched.end());
        unmatchedEverywhere = first ? unmatched : unmatchedEverywhere.intersect(unmatched);
        first = false;
        if (!choice.marks.contains(true))
            emptyBlocks << QString::number(block.BlockNr);
        QString name = FileNameFor(block, m_sink->fileSuffix());
        // two blocks started in the same second would share a name
        if (names.contains(name)) {
            const QFileInfo n(name);
            name = QStringLiteral("%1_%2.%3").arg(n.completeBaseName()).arg(block.BlockNr).arg(n.suffix());
        }
        names.insert(name);
        Job job;
        job.index = index;
        job.blockNr = block.BlockNr;
        job.marks = choice.marks;
        job.path = toStandardOutput() ? o.outputDir : QDir(o.outputDir).filePath(name);
        if (o.newOnly) {
            job.start = Measure::DaysToDateTime(block.FirstRecordTime).toString(Qt::ISODate);
            job.open = index == int(directory.size()) - 1;
            if (const Files::DownloadState::Block *seen = m_state.find(block.BlockNr, job.start)) {
                job.skip = seen->records;
                job.keepBytes = seen->bytes;
                job.path = QDir(o.outputDir).filePath(seen->file);
            }
        }
        m_jobs.push_back(job);
    }
    if (!unmatchedEverywhere.isEmpty()) {
        QStringList items(unmatchedEverywhere.begin(), unmatchedEverywhere.end());
        items.sort();
        m_session.StatusMessage(Format(Text(TxCliUnknownField), {items.join(QStringLiteral(", "))}), true);
        done(ExitUsage);
        return false;
    }
    if (!emptyBlocks.isEmpty()) {
        m_session.StatusMessage(Format(Text(TxCliNoFieldsInBlock), {emptyBlocks.join(QStringLiteral(", "))}), true);
        done(ExitUsage);
        return false;
    }
    for (const Job &job : m_jobs) {
        const Model::TargetInfo target = Model::InspectTarget(job.path);
        QString refusal;
        if (target.kind == Model::TargetKind::Refused)
            refusal = CliSession::cannotWrite(job.path, Model::SystemReason(target.error));
        else if (job.keepBytes >= 0 && QFileInfo(job.path).size() < job.keepBytes)
            refusal = Format(Text(TxCliFileChanged), {job.path});
        // a block the state has not seen is this run's: a file of its name is what a run that
        // ended before its state was saved left, and is replaced whole
        else if (target.exists && !o.force && !o.newOnly)
            refusal = Format(Text(TxCliFileExists), {job.path});
        if (!refusal.isEmpty()) {
            m_session.StatusMessage(refusal, true);
            done(ExitFile);
            return false;
        }
    }
    return true;
}

void DownloadCommand::readNext()
{
    if (m_next >= m_jobs.size())
        return done(finalCode(m_session.hasErrors() ? ExitInstrument : ExitDone));
    const Job &job = m_jobs[m_next];
    Measure::ReadOptions read = m_reader.options();
    read.startSkip = job.skip;
    m_reader.setOptions(read);
    m_reader.BuildFieldList(job.index);
    if (!m_reader.ReadSelectedBlock(*m_sink, QString::number(job.blockNr), job.marks))
        return done(ExitInstrument);
    m_session.whenIdle([this] { blockRead(); });
}

void DownloadCommand::blockRead()
{
    showCount(true);
    const Job &job = m_jobs[m_next];
    // a block the instrument did not deliver to its end is not saved
    if (!m_reader.lastReadComplete() || !m_reader.isIdle())
        return done(ExitInstrument);
    if (job.keepBytes >= 0 ? !appendBlock(job) : !saveBlock(job))
        return done(ExitFile);
    if (!toStandardOutput() && (job.keepBytes < 0 || m_sink->rows() > 0))
        m_session.console().result(job.path);
    // the rows are on disk before the state says so: a run cut off here reads them again
    if (m_session.options().newOnly && !saveState(job))
        return done(ExitFile);
    ++m_next;
    readNext();
}

bool DownloadCommand::saveBlock(const Job &job)
{
    // someone may have put a file there while the block was read
    if (!m_session.options().force && !m_session.options().newOnly && Model::InspectTarget(job.path).exists) {
        m_session.StatusMessage(Format(Text(TxCliFileExists), {job.path}), true);
        return false;
    }
    // what the sink could not add at the end (a chart without rows, say) is told, not fatal
    if (const QString note = m_sink->failure(); !note.isEmpty())
        m_session.StatusMessage(note, false);
    QString error;
    const bool saved = m_sink->save(job.path, &error);
    if (!saved)
        m_session.StatusMessage(CliSession::cannotWrite(job.path, error), true);
    return saved;
}

bool DownloadCommand::appendBlock(const Job &job)
{
    if (m_sink->rows() == 0 && QFileInfo(job.path).size() == job.keepBytes)
        return true;
    QFile old(job.path);
    QByteArray bytes;
    if (old.open(QIODevice::ReadOnly))
        bytes = old.read(job.keepBytes);
    // what lies past the length the state knows came from a run cut off before its state was saved
    if (bytes.size() != job.keepBytes) {
        m_session.StatusMessage(Format(Text(TxCliFileChanged), {job.path}), true);
        return false;
    }
    bytes += m_text.textRows().bytes();
    QString error;
    if (!Model::WriteWholeFile(job.path, bytes, &error)) {
        m_session.StatusMessage(CliSession::cannotWrite(job.path, error), true);
        return false;
    }
    return true;
}

bool DownloadCommand::loadState()
{
    const QString &path = m_session.options().stateFile;
    const Files::DownloadState::Load load = Files::DownloadState::read(path, m_state);
    if (load == Files::DownloadState::Load::Damaged || load == Files::DownloadState::Load::Future) {
        m_session.StatusMessage(Format(Text(load == Files::DownloadState::Load::Future ? TxCliStateFuture : TxCliStateDamaged), {path}), true);
        done(ExitFile);
        return false;
    }
    return true;
}

bool DownloadCommand::newBlocks(QList<int> &indices)
{
    const Measure::MeasureDirectory &directory = m_reader.directory();
    const QString serial = m_session.store().value(Model::Field::SerialNumber).trimmed();
    if (serial.isEmpty()) {
        done(ExitInstrument);
        return false;
    }
    if (!m_state.serial.isEmpty() && m_state.serial != serial) {
        m_session.StatusMessage(Format(Text(TxCliStateForeign), {m_session.options().stateFile, m_state.serial, serial}), true);
        done(ExitFile);
        return false;
    }
    m_state.serial = serial;
    m_memoryUse = m_session.store().value(Model::Field::MemoryUse).trimmed();
    const int last = int(directory.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const Measure::TBlockHeader &block = directory[std::size_t(i)];
        const QString start = Measure::DaysToDateTime(block.FirstRecordTime).toString(Qt::ISODate);
        const Files::DownloadState::Block *seen = m_state.find(block.BlockNr, start);
        // an open block is read on only when something was recorded since
        if (!seen || (seen->open && (i != last || m_memoryUse != m_state.memoryUse)))
            indices << i;
    }
    if (indices.isEmpty()) {
        m_session.console().message(Text(TxCliNothingNew));
        done(finalCode(ExitDone));
        return false;
    }
    return true;
}

bool DownloadCommand::saveState(const Job &job)
{
    Files::DownloadState::Block entry;
    entry.nr = job.blockNr;
    entry.start = job.start;
    entry.records = m_reader.recordsRead();
    entry.file = QFileInfo(job.path).fileName();
    entry.bytes = QFileInfo(job.path).size();
    entry.open = job.open;
    m_state.put(entry);
    // only a run that read every block it meant to may say the memory was seen at this use
    if (m_next + 1 == m_jobs.size())
        m_state.memoryUse = m_memoryUse;
    const QString &path = m_session.options().stateFile;
    QString error;
    if (Model::WriteWholeFile(path, m_state.toJson(), &error))
        return true;
    m_session.StatusMessage(CliSession::cannotWrite(path, error), true);
    return false;
}

int DownloadCommand::finalCode(int code)
{
    if (m_entriesSkipped && code == ExitDone) {
        m_session.StatusMessage(Text(TxCliEntriesSkipped), true);
        return ExitInstrument;
    }
    return code;
}

void DownloadCommand::ReadStarted(const Measure::TBlockHeader &block)
{
    m_readingBlock = block.BlockNr;
    m_rows = 0;
    m_shown.invalidate();
    showCount(true);
}

void DownloadCommand::RowsWritten(int rows)
{
    m_rows = rows;
    showCount(false);
}

void DownloadCommand::showCount(bool force)
{
    if (!m_session.console().interactive())
        return;
    if (!force && m_shown.isValid() && m_shown.elapsed() < 200)
        return;
    m_shown.start();
    m_session.console().transient(Format(Text(TxCliBlockProgress), {QString::number(m_readingBlock), QString::number(m_rows)}));
}

} // namespace Cli
