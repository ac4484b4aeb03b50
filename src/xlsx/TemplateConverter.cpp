#include "xlsx/TemplateConverter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace Xlsx {

TemplateConverter::TemplateConverter(QObject *parent) : QObject(parent)
{
}

TemplateConverter::~TemplateConverter()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

QString TemplateConverter::Program()
{
    for (const char *name : {"soffice", "libreoffice"})
        if (const QString path = QStandardPaths::findExecutable(QLatin1String(name)); !path.isEmpty())
            return path;
    return {};
}

QString TemplateConverter::key(const QString &path)
{
    const QFileInfo info(path);
    return info.absoluteFilePath() + u'|' + QString::number(info.size()) + u'|'
           + QString::number(info.lastModified().toMSecsSinceEpoch());
}

QString TemplateConverter::converted(const QString &binary) const
{
    const QString package = m_done.value(key(binary));
    return QFileInfo::exists(package) ? package : QString();
}

void TemplateConverter::convert(const QString &binary, std::function<void(const QString &)> done)
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_callback = std::move(done);
    const QString program = Program();
    const QString run = m_dir.filePath(QStringLiteral("run%1").arg(++m_runs));
    const QString input = run + QStringLiteral("/in/template.xls");
    if (!m_dir.isValid() || program.isEmpty() || !QDir().mkpath(run + QStringLiteral("/in"))
        || !QFile::copy(binary, input)) {
        QTimer::singleShot(0, this, [this] { finish({}); });
        return;
    }
    m_key = key(binary);
    m_output = run + QStringLiteral("/out/template.xlsx");
    m_process = new QProcess(this);
    m_process->setProgram(program);
    // a profile of its own: a LibreOffice the user has open is not disturbed, nor disturbs
    const QString profile = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString();
    m_process->setArguments({QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                             QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"), QStringLiteral("--convert-to"),
                             QStringLiteral("xlsx"), QStringLiteral("--outdir"), run + QStringLiteral("/out"), input});
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const bool ok = status == QProcess::NormalExit && code == 0 && QFileInfo(m_output).size() > 0;
        finish(ok ? m_output : QString());
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish({});
    });
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        // a conversion that hangs (a password prompt nobody sees) is given up
        connect(m_timer, &QTimer::timeout, this, [this] {
            if (m_process)
                m_process->kill();
        });
    }
    m_timer->start(m_timeoutMs);
    m_process->start();
}

void TemplateConverter::finish(const QString &package)
{
    if (m_timer)
        m_timer->stop();
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    if (!package.isEmpty())
        m_done.insert(m_key, package);
    if (auto callback = std::exchange(m_callback, {}))
        callback(package);
}

} // namespace Xlsx
