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
    return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
    , m_version(new QLabel(this))
    , m_picture(new QLabel(this))
    , m_figures(new QLabel(this))
{
    initResources();
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(Lang::Text(Lang::TxAboutTitle));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_picture->setPixmap(QPixmap(QStringLiteral(":/about.jpg")));
    m_picture->setAlignment(Qt::AlignCenter);
    auto *title = new QLabel(QStringLiteral("<b>Ionometer QT 8800</b>"), this);
    auto *notice = new QLabel(Lang::Text(Lang::TxAboutNotice), this);
    notice->setWordWrap(true);
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_figures->setText(SystemFigures(QDir::currentPath()).join(u'\n'));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QWidget *w : {static_cast<QWidget *>(m_picture), static_cast<QWidget *>(title),
                       static_cast<QWidget *>(m_version), static_cast<QWidget *>(notice),
                       static_cast<QWidget *>(m_figures), static_cast<QWidget *>(buttons)})
        layout->addWidget(w);
    setVersion(QStringLiteral("?"));
}

void TAboutBox::setVersion(const QString &version)
{
    m_version->setText(QStringLiteral("Version %1").arg(version));
}

QString TAboutBox::version() const
{
    return m_version->text();
}

bool TAboutBox::hasPicture() const
{
    return !m_picture->pixmap().isNull();
}

QStringList TAboutBox::SystemFigures(const QString &diskPath)
{
    QStringList lines;
    const QString cpu = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    const QString mhz = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("cpu MHz"));
    lines << QStringLiteral("Prozessor: %1").arg(cpu.isEmpty() ? QSysInfo::currentCpuArchitecture() : cpu);
    if (!mhz.isEmpty())
        lines << QStringLiteral("Takt: %1 MHz").arg(mhz.section(u'.', 0, 0));
    lines << QStringLiteral("Betriebssystem: %1 (%2 %3)")
                 .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion());
    const QString total = firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    const QString avail = firstMatch(QStringLiteral("/proc/meminfo"), QStringLiteral("MemAvailable"));
    if (!total.isEmpty())
        lines << QStringLiteral("Speicher: %1 MB, frei %2 MB")
                     .arg(total.section(u' ', 0, 0).toLongLong() / 1024)
                     .arg(avail.section(u' ', 0, 0).toLongLong() / 1024);
    const QStorageInfo disk(diskPath);
    if (disk.isValid())
        lines << QStringLiteral("Datenträger: %1, frei %2").arg(megabytes(disk.bytesTotal()), megabytes(disk.bytesAvailable()));
    return lines;
}
