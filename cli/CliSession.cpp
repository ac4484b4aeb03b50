#include "cli/CliSession.h"

#include "lang/Texts.h"
#include "measure/SystemFormats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <unistd.h>

namespace Cli {

CliSession::CliSession(const CliOptions &options, Console &console, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_console(console)
    , m_formats(options.iso ? Measure::DisplayFormats{QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm:ss"), u'.'}
                            : Measure::SystemDisplayFormats(QLocale::system(), options.decimal))
    , m_store(m_tables.Fields)
    , m_log(*this)
    , m_serial(*this, &m_log)
    , m_engine(std::make_unique<Link::ProtocolEngine>(m_tables, m_serial, *this, &m_log))
{
    Link::BuildTables(m_tables);
    m_store.SetPageDefaults();
    m_store.setDecimalSeparator(options.decimal);
    const QChar timeSep = Measure::SystemTimeSeparator(QLocale::system());
    m_store.setTimeSeparator(timeSep);
    m_log.setVersion(QStringLiteral(QT8800_VERSION));
    m_log.setTimeSeparator(timeSep);
    m_param.DecimalSepIndex = options.decimal == u',' ? 1 : 0;
    m_param.TwoColumns = options.twoColumns;
    m_param.SkipAlarmValues = options.skipAlarm;

    connect(&m_serial, &Link::SerialLink::telegramReceived, m_engine.get(), &Link::ProtocolEngine::RunProtocolEngine);
    connect(&m_serial, &Link::SerialLink::portError, m_engine.get(), [this](const QString &text) {
        m_engine->ReportMessage(text, true);
        // the engine learns of the lost line on its next pass and drops what waits
        m_engine->RunProtocolEngine();
    });
}

CliSession::~CliSession()
{
    m_log.CloseTrafficLog();
}

int CliSession::open()
{
    if (!m_options.logDir.isEmpty()) {
        if (const int made = makeFolder(m_options.logDir); made != ExitDone)
            return made;
        m_log.setDirectory(m_options.logDir);
        m_log.setLogging(true);
        m_log.OpenTrafficLog();
        if (!m_log.isOpen())
            return ExitFile;
    }
    m_serial.setBaseDir(QDir::currentPath());
    if (!m_serial.SetPortParams(m_options.baud, QStringLiteral("n"), 8, 1)) {
        StatusMessage(m_serial.LastPortError(), true);
        return ExitUsage;
    }
    if (!m_serial.OpenPort(m_options.port)) {
        const QString device = Link::SerialLink::ResolvePortName(QDir::currentPath(), m_options.port);
        StatusMessage(Lang::Format(Lang::Text(Lang::TxCliPortNotOpened), {m_options.port, device})
                          + u' ' + m_serial.LastPortError(), true);
        return ExitInstrument;
    }
    return ExitDone;
}

int CliSession::makeFolder(const QString &dir)
{
    int error = 0;
    if (!m_folders.make(dir, &error)) {
        StatusMessage(Lang::Format(Lang::Text(Lang::TxCliCannotCreateDir), {dir, Model::SystemReason(error)}), true);
        return ExitFile;
    }
    if (::access(QFile::encodeName(dir).constData(), W_OK | X_OK) != 0) {
        StatusMessage(Lang::Format(Lang::Text(Lang::TxCliDirNotWritable), {dir, Model::SystemReason(errno)}), true);
        return ExitFile;
    }
    return ExitDone;
}

void CliSession::whenIdle(std::function<void()> then)
{
    // always from the event loop: the engine finishes its pass before the next step queues
    if (m_engine->isIdle()) {
        QTimer::singleShot(0, this, std::move(then));
        return;
    }
    connect(m_engine.get(), &Link::ProtocolEngine::queueFinished, this,
            [this, then = std::move(then)] { QTimer::singleShot(0, this, then); }, Qt::SingleShotConnection);
}

void CliSession::StatusMessage(const QString &text, bool error)
{
    if (error) {
        m_errors << text;
        // the job in hand is the one the error is about
        if (m_engine && m_engine->currentJob() >= 0)
            m_failedOrders << m_engine->queue()[std::size_t(m_engine->currentJob())].order;
        m_console.message(text);
    } else {
        m_console.progress(text);
    }
}

QString CliSession::cannotWrite(const QString &path, const QString &reason)
{
    if (Model::NamedDescriptor(path) == 1)
        return Lang::Format(Lang::Text(Lang::TxCliStdoutFailed), {reason});
    return Lang::Format(Lang::Text(Lang::TxCliCannotWrite), {path, reason});
}

QString CliSession::fieldName(Model::Field field) const
{
    const QString key = Model::fileKey(field, m_param.ProgramLanguage == 1 ? 1 : 0);
    return key.isEmpty() ? Model::controlName(field) : key;
}

bool CliSession::reportRejectedValues(Model::Slot slot)
{
    const QList<Model::Field> rejected = m_store.takeRejected();
    for (Model::Field field : rejected) {
        const Model::FieldSlot &f = m_tables.Fields[field];
        StatusMessage(Lang::Format(Lang::Text(Lang::TxCliValueNotConverted), {fieldName(field), slot == Model::FileSlot ? f.FileText : f.TelegramText}), true);
    }
    return !rejected.isEmpty();
}

} // namespace Cli
