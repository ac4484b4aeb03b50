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
{
    Link::BuildTables(m_tables);
    m_store.SetPageDefaults();
    m_store.setDecimalSeparator(options.decimal);
    const QChar timeSep = Measure::SystemTimeSeparator(QLocale::system());
    m_store.setTimeSeparator(timeSep);
    m_session = std::make_unique<Link::Session>(
        m_tables, Link::SessionOptions{{}, QDir::currentPath(), QStringLiteral(QT8800_VERSION), timeSep});
    connect(m_session.get(), &Link::Session::statusMessage, this, &CliSession::StatusMessage);
    m_param.DecimalSepIndex = options.decimal == u',' ? 1 : 0;
    m_param.TwoColumns = options.twoColumns;
    m_param.SkipAlarmValues = options.skipAlarm;
}

CliSession::~CliSession() = default;

int CliSession::open()
{
    if (!m_options.logDir.isEmpty()) {
        if (const int made = makeFolder(m_options.logDir); made != ExitDone)
            return made;
        log().setDirectory(m_options.logDir);
        log().setLogging(true);
        log().OpenTrafficLog();
        if (!log().isOpen())
            return ExitFile;
    }
    if (!serial().SetPortParams(m_options.baud, QStringLiteral("n"), 8, 1)) {
        StatusMessage(serial().LastPortError(), true);
        return ExitUsage;
    }
    if (!serial().OpenPort(m_options.port)) {
        const QString device = Link::SerialLink::ResolvePortName(serial().baseDir(), m_options.port);
        StatusMessage(Lang::Format(Lang::Text(Lang::TxCliPortNotOpened), {m_options.port, device})
                          + u' ' + serial().LastPortError(), true);
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
    m_session->whenIdle(std::move(then));
}

void CliSession::StatusMessage(const QString &text, bool error)
{
    if (error) {
        m_errors << text;
        // the job in hand is the one the error is about
        if (m_session && engine().currentJob() >= 0)
            m_failedOrders << engine().queue()[std::size_t(engine().currentJob())].order;
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
