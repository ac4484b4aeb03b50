#include "cli/LiveCommand.h"

#include "cli/CliSession.h"

#include "lang/Texts.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace Cli {

using namespace Lang;

LiveCommand::LiveCommand(CliSession &session, Finish finish, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_finish(std::move(finish))
{
    m_interval.setTimerType(Qt::PreciseTimer);
    connect(&m_interval, &QTimer::timeout, this, &LiveCommand::tick);
    m_end.setSingleShot(true);
    connect(&m_end, &QTimer::timeout, this, &LiveCommand::stop);
    connect(&m_session.engine(), &Link::ProtocolEngine::queueFinished, this, &LiveCommand::queueFinished,
            Qt::QueuedConnection);
}

LiveCommand::~LiveCommand()
{
    m_session.engine().setBlockHandler(Link::Replies::TAM, {});
}

void LiveCommand::done(int code)
{
    m_interval.stop();
    m_end.stop();
    m_file.close();
    if (m_finish)
        std::exchange(m_finish, {})(code);
}

void LiveCommand::start()
{
    const CliOptions &o = m_session.options();
    const QFileInfo file(o.csvFile);
    const QFileInfo dir(file.absolutePath());
    if (file.isDir() || (file.exists() && !file.isWritable()) || !dir.isDir() || !dir.isWritable()) {
        m_session.StatusMessage(Format(Text(TxCliCannotWrite), {o.csvFile, Text(TxCliNotWritable)}), true);
        return done(ExitFile);
    }
    if (file.size() > 0) {
        QFile existing(o.csvFile);
        if (!existing.open(QIODevice::ReadOnly)) {
            m_session.StatusMessage(Format(Text(TxCliCannotRead), {o.csvFile}), true);
            return done(ExitFile);
        }
        m_fileHeading = QString::fromUtf8(existing.readLine(4096)).trimmed();
    }
    m_file.setFileName(o.csvFile);

    Link::ProtocolEngine &engine = m_session.engine();
    engine.setBlockHandler(Link::Replies::TAM, [this, &engine](int, const QString &reply) {
        Measure::ParseCurrentValues(reply, *this, engine);
    });
    engine.setNoAnswerCount(0);
    m_interval.start(int(o.intervalMs));
    if (o.forMs)
        m_end.start(int(std::min<qint64>(*o.forMs, std::numeric_limits<int>::max())));
    tick();
}

void LiveCommand::tick()
{
    Link::ProtocolEngine &engine = m_session.engine();
    if (m_stopping || !engine.isIdle())
        return;
    engine.QueueOrderByIndex(Link::Orders::GAM);
}

void LiveCommand::stop()
{
    m_stopping = true;
    m_interval.stop();
    if (m_session.engine().isIdle())
        QTimer::singleShot(0, this, [this] { queueFinished(); });
}

void LiveCommand::queueFinished()
{
    if (m_session.hasErrors())
        return done(ExitInstrument);
    if (m_stopping)
        return done(m_file.error() == QFile::NoError ? ExitDone : ExitFile);
}

void LiveCommand::ShowCurrentValues(const Measure::CurrentValues &values)
{
    if (!m_finish)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const Measure::LiveColumns columns = Measure::LiveColumnsFor(values);
    QString lines;
    const QString heading = Measure::LiveHeading(columns, m_session.store().value(19).trimmed() + QStringLiteral(" [V]"));
    // a heading starts the file, and stands again wherever the sensors on the bus change
    if (m_haveColumns ? columns != m_columns : heading != m_fileHeading)
        lines += heading + QStringLiteral("\r\n");
    m_columns = columns;
    m_haveColumns = true;
    lines += Measure::LiveRow(columns, now, values, m_session.formats()) + QStringLiteral("\r\n");
    if (!append(lines))
        return done(ExitFile);
    ++m_rows;
    m_session.console().transient(Format(Text(TxCliLiveProgress), {QString::number(m_rows)}));
}

bool LiveCommand::append(const QString &lines)
{
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_session.StatusMessage(Format(Text(TxCliCannotWrite), {m_file.fileName(), m_file.errorString()}), true);
        return false;
    }
    const qint64 before = m_file.size();
    const QByteArray bytes = lines.toUtf8();
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        const QString reason = m_file.errorString();
        // a row cut off by a full disk would spoil the file for every reader: it goes again
        m_file.unsetError();
        m_file.resize(before);
        m_session.StatusMessage(Format(Text(TxCliCannotWrite), {m_file.fileName(), reason}), true);
        return false;
    }
    return true;
}

} // namespace Cli
