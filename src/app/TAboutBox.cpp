#include "app/TAboutBox.h"

#include "lang/Texts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QStorageInfo>
#include <QSysInfo>
#include <QVBoxLayout>

// the picture lives in the app library's resources, which a static library must pull in
static void initResources()
{
    Q_INIT_RESOURCE(app);
}

namespace {

QString firstMatch(const QString &file, const QString &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine());
        if (line.startsWith(key))
            return line.section(u':', 1).trimmed();
    }
    return {};
}

QString megabytes(qint64 bytes)
{
    return Lang::Format(Lang::Text(Lang::TxAboutMegabytes), {QString::number(bytes / (1024 * 1024))});
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
    , m_heading(new QLabel(this))
    , m_version(new QLabel(this))
    , m_picture(new QLabel(this))
    , m_notice(new QLabel(this))
    , m_figures(new QLabel(this))
    , m_system(ReadFigures(QDir::currentPath()))
{
    initResources();
    setObjectName(QStringLiteral("AboutBox"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_picture->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    m_picture->setAlignment(Qt::AlignCenter);
    m_notice->setWordWrap(true);
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QWidget *w : {static_cast<QWidget *>(m_picture), static_cast<QWidget *>(m_heading),
                       static_cast<QWidget *>(m_version), static_cast<QWidget *>(m_notice),
                       static_cast<QWidget *>(m_figures), static_cast<QWidget *>(buttons)})
        layout->addWidget(w);
    ApplyLanguageTexts();
}

void TAboutBox::ApplyLanguageTexts()
{
    setWindowTitle(Lang::Text(Lang::TxAboutTitle));
    m_heading->setText(Lang::Text(Lang::TxAboutHeading));
    m_notice->setText(Lang::Text(Lang::TxAboutNotice));
    m_figures->setText(FigureLines(m_system).join(u'\n'));
    setVersion(m_versionNumber);
}

void TAboutBox::setVersion(const QString &version)
{
    m_versionNumber = version;
    m_version->setText(Lang::Format(Lang::Text(Lang::TxAboutVersion), {version}));
}

QString TAboutBox::version() const
{
    return m_version->text();
}

bool TAboutBox::hasPicture() const
{
    return !m_picture->pixmap().isNull();
}

TAboutBox::Figures TAboutBox::ReadFigures(const QString &diskPath)
{
    Figures f;
    f.cpu = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    if (f.cpu.isEmpty())
        f.cpu = QSysInfo::currentCpuArchitecture();
    f.mhz = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("cpu MHz")).section(u'.', 0, 0);
    f.os = QSysInfo::prettyProductName();
    f.kernelType = QSysInfo::kernelType();
    f.kernelVersion = QSysInfo::kernelVersion();
    const QString total = firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    const QString avail = firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("MemAvailable"));
    if (!total.isEmpty()) {
        f.memoryMB = total.section(u' ', 0, 0).toLongLong() / 1024;
        f.freeMemoryMB = avail.section(u' ', 0, 0).toLongLong() / 1024;
    }
    const QStorageInfo disk(diskPath);
    if (disk.isValid()) {
        f.diskBytes = disk.bytesTotal();
        f.freeDiskBytes = disk.bytesAvailable();
    }
    return f;
}

QStringList TAboutBox::FigureLines(const Figures &f)
{
    using namespace Lang;
    QStringList lines;
    lines << Format(Text(TxAboutProcessor), {f.cpu});
    if (!f.mhz.isEmpty())
        lines << Format(Text(TxAboutClock), {f.mhz});
    lines << Format(Text(TxAboutSystem), {f.os, f.kernelType, f.kernelVersion});
    if (f.memoryMB >= 0)
        lines << Format(Text(TxAboutMemory), {QString::number(f.memoryMB), QString::number(f.freeMemoryMB)});
    if (f.diskBytes >= 0)
        lines << Format(Text(TxAboutDisk), {megabytes(f.diskBytes), megabytes(f.freeDiskBytes)});
    return lines;
}
