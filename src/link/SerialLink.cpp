#include "link/SerialLink.h"

#include "lang/Texts.h"
#include "link/PortProbe.h"
#include "link/StatusSink.h"
#include "link/TrafficLog.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <grp.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Link {

namespace {

// asked without opening: an open and close would pulse the modem lines of a real port
int accessError(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0 ? 0 : errno;
}

// The group that may use the device: Debian gives serial ports to "dialout", others differ.
QString deviceGroup(const QString &device)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(device).constData(), &st) == 0 && st.st_gid != 0) {
        if (const group *g = ::getgrgid(st.st_gid))
            return QString::fromLocal8Bit(g->gr_name);
    }
    return QStringLiteral("dialout");
}

bool isComName(const QString &name)
{
    return name.size() >= 4 && name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)
           && std::all_of(name.begin() + 3, name.end(), [](QChar c) { return c.isDigit(); });
}

// The adapter's setting in sysfs, named after the device the path resolves to ("ttyUSB0").
QString latencyTimerPath(const QString &sysfsRoot, const QString &device)
{
    const QString resolved = QFileInfo(device).canonicalFilePath();
    const QString tty = QFileInfo(resolved.isEmpty() ? device : resolved).fileName();
    if (tty.isEmpty())
        return {};
    return sysfsRoot + QStringLiteral("/bus/usb-serial/devices/") + tty + QStringLiteral("/latency_timer");
}

} // namespace

SerialLink::SerialLink(StatusSink &sink, TrafficLog *log, QObject *parent)
    : QObject(parent)
    , m_sink(sink)
    , m_log(log)
    , m_port(new QSerialPort(this))
    , m_access(accessError)
    , m_inGroup(ProcessInGroup)
    , m_lowLatency(RequestLowLatency)
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
    // a stat of one path twice a second, and only while the port is missing
    m_watch.setInterval(kWatchIntervalMs);
    connect(&m_watch, &QTimer::timeout, this, &SerialLink::watchForDevice);
}

SerialLink::~SerialLink()
{
    m_port->disconnect(this);
    m_port->close();
}

QString SerialLink::PortEntry(const QString &baseDir, const QString &name)
{
    const QDir dir(baseDir);
    const QFileInfo entry(dir.filePath(name));
    if (entry.isSymLink() || entry.exists())
        return entry.absoluteFilePath();
    if (!isComName(name))
        return {};
    // Windows users type "com1"; the entry made by the README's instructions is "COM1"
    QStringList found = dir.entryList({name}, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                      QDir::Name);
    if (found.isEmpty())
        return {};
    const QString upper = name.toUpper();
    return dir.absoluteFilePath(found.contains(upper) ? upper : found.first());
}

QString SerialLink::ResolvePortName(const QString &baseDir, const QString &name)
{
    if (const QString entry = PortEntry(baseDir, name); !entry.isEmpty()) {
        // the link's target, so the lock Qt takes is per device, not per "COM1" in any folder
        const QString target = QFileInfo(entry).canonicalFilePath();
        return target.isEmpty() ? entry : target;
    }
    if (isComName(name) && name.size() == 4) {
        const int n = name.mid(3).toInt();
        if (n >= 1 && n <= 8)
            return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    }
    return QFileInfo(QDir(baseDir).filePath(name)).absoluteFilePath();
}

bool SerialLink::SetPortParams(int baud, const QString &parity, int dataBits, int stopBits)
{
    m_lastError.clear();
    static const int kRates[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
    if (std::find(std::begin(kRates), std::end(kRates), baud) == std::end(kRates)) {
        m_lastError = Lang::Format(Lang::Text(Lang::TxBaudNotSupported), {QString::number(baud)});
        return false;
    }
    const QString p = parity.toLower();
    QSerialPort::Parity par;
    if (p == QLatin1String("n"))
        par = QSerialPort::NoParity;
    else if (p == QLatin1String("o"))
        par = QSerialPort::OddParity;
    else if (p == QLatin1String("e"))
        par = QSerialPort::EvenParity;
    else {
        m_lastError = Lang::Format(Lang::Text(Lang::TxParityNotSupported), {parity});
        return false;
    }
    if ((dataBits != 7 && dataBits != 8) || (stopBits != 1 && stopBits != 2)) {
        m_lastError = QStringLiteral("%1 data bits, %2 stop bits are not supported").arg(dataBits).arg(stopBits);
        return false;
    }
    m_baud = baud;
    m_parity = par;
    m_dataBits = dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8;
    m_stopBits = stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    if (m_port->isOpen())
        applySettings();
    return true;
}

void SerialLink::applySettings()
{
    m_port->setBaudRate(m_baud);
    m_port->setParity(m_parity);
    m_port->setDataBits(m_dataBits);
    m_port->setStopBits(m_stopBits);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
}

bool SerialLink::OpenPort(const QString &name)
{
    m_watch.stop();
    m_watchFailure.clear();
    m_watchReported = false;
    if (open(name)) {
        if (const QString note = name.isEmpty() ? QString() : latencyNote(m_device); !note.isEmpty())
            m_sink.StatusMessage(note, false);
        return true;
    }
    // an adapter not plugged in yet is opened once it is
    if (!QFileInfo::exists(m_device))
        m_watch.start();
    return false;
}

bool SerialLink::open(const QString &name)
{
    m_lastError.clear();
    if (m_port->isOpen())
        m_port->close();
    m_opened = false;
    m_name = name;
    m_device.clear();
    m_entry.clear();
    if (name.isEmpty())
        return true;

    m_entry = PortEntry(m_baseDir, name);
    const QString device = ResolvePortName(m_baseDir, name);
    m_device = device;
    if (const QString refused = refusal(device); !refused.isEmpty()) {
        m_lastError = refused;
        return false;
    }
    m_port->setPortName(device);
    applySettings();
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_lastError = openFailure(device, m_port->error());
        m_port->clearError();
        return false;
    }
    // a pseudo-terminal has no modem lines: that failure is harmless
    m_port->setDataTerminalReady(false);
    m_port->setRequestToSend(false);
    m_port->clearError();
    m_opened = true;
    // a driver that refuses keeps its timer, and the hint names it
    if (m_lowLatency)
        m_lowLatency(int(m_port->handle()));
    if (const std::optional<int> ms = LatencyTimer(device); ms && m_log && m_log->Logging())
        m_log->WriteTrafficText(QStringLiteral("Con"), Lang::Format(Lang::Text(Lang::TxLatencyTimerNow), {QString::number(*ms)}));
    return true;
}

bool SerialLink::RequestLowLatency(int fd)
{
    serial_struct settings = {};
    if (fd < 0 || ::ioctl(fd, TIOCGSERIAL, &settings) != 0)
        return false;
    if (settings.flags & ASYNC_LOW_LATENCY)
        return true;
    settings.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &settings) == 0;
}

QString SerialLink::failure(const QString &where, const QString &reason) const
{
    return Lang::Text(Lang::TxUnableToOpen) + QStringLiteral(" (") + where + QStringLiteral(": ") + reason
           + QLatin1Char(')');
}

QString SerialLink::refusal(const QString &device) const
{
    struct stat st = {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0) {
        const int code = errno;
        // a link to a device that is not there: both named, so the user sees which one to fix
        const QFileInfo entry(m_entry);
        const QString where = entry.isSymLink() ? m_entry + QStringLiteral(" -> ") + entry.symLinkTarget() : device;
        return failure(where, SystemMessage(code));
    }
    // nothing but a character device is opened: a named pipe or a file is no line to talk on
    if (S_ISDIR(st.st_mode))
        return failure(device, Lang::Text(Lang::TxPortIsFolder));
    if (!S_ISCHR(st.st_mode))
        return failure(device, Lang::Text(Lang::TxPortNotSerial));
    if (m_access(device) == EACCES)
        return failure(device, SystemMessage(EACCES)) + noRightsHint(device);
    return {};
}

QString SerialLink::noRightsHint(const QString &device) const
{
    // only where the group would help: a user who has it lacks something else
    struct stat st = {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || m_inGroup(st.st_gid))
        return {};
    return Lang::Format(Lang::Text(Lang::TxNeedDialout), {deviceGroup(device)});
}

QString SerialLink::openFailure(const QString &device, QSerialPort::SerialPortError error) const
{
    int code = ProbeOpen(device);
    // it opens for us, yet not for Qt: the lock Qt keeps for the device is another process's
    if (code == 0 && error == QSerialPort::PermissionError)
        code = EBUSY;
    switch (code) {
    case 0:
        return failure(device, m_port->errorString());
    case EBUSY: {
        const QStringList holders = ProcessesHolding(device);
        return failure(device, holders.isEmpty() ? Lang::Text(Lang::TxPortInUse)
                                                 : Lang::Format(Lang::Text(Lang::TxPortInUseBy), {holders.join(QStringLiteral(", "))}));
    }
    case ENOTTY:
        return failure(device, Lang::Text(Lang::TxPortNotSerial));
    case EACCES:
    case EPERM:
        return failure(device, SystemMessage(code)) + noRightsHint(device);
    default:
        return failure(device, SystemMessage(code));
    }
}

QString SerialLink::PortDescription() const
{
    if (m_name.isEmpty())
        return {};
    const QString device = m_device.isEmpty() ? ResolvePortName(m_baseDir, m_name) : m_device;
    const QString where = device == m_name ? device : m_name + QStringLiteral(" = ") + device;
    return Lang::Format(Lang::Text(Lang::TxPortDescription), {where, QString::number(m_baud)});
}

void SerialLink::watchForDevice()
{
    if (m_port->isOpen() || m_name.isEmpty()) {
        m_watch.stop();
        return;
    }
    // a port reached through an entry in the base directory waits for that entry: without it
    // the name would fall back to a serial port of the PC, which is not the device that went
    if (!QFileInfo::exists(m_entry.isEmpty() ? ResolvePortName(m_baseDir, m_name) : m_entry)) {
        m_watchFailure.clear();
        return;
    }
    if (open(m_name)) {
        m_watch.stop();
        m_watchFailure.clear();
        m_watchReported = false;
        QString text = Lang::Format(Lang::Text(Lang::TxPortReopened), {m_name});
        if (const QString note = latencyNote(m_device); !note.isEmpty())
            text += QStringLiteral("  ") + note;
        Q_EMIT portReopened(text);
        return;
    }
    // a device node appears a moment before its rights are set: only a failure that stays
    // is reported, and once
    if (m_lastError != m_watchFailure) {
        m_watchFailure = m_lastError;
        m_watchReported = false;
        return;
    }
    if (!m_watchReported) {
        m_watchReported = true;
        Q_EMIT portError(Lang::Format(Lang::Text(Lang::TxPortNotReopened), {m_name, m_lastError}));
    }
}

std::optional<int> SerialLink::LatencyTimer(const QString &device) const
{
    QFile file(latencyTimerPath(m_sysfsRoot, device));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int ms = file.read(16).trimmed().toInt(&ok);
    return ok ? std::optional<int>(ms) : std::nullopt;
}

QString SerialLink::latencyNote(const QString &device) const
{
    const std::optional<int> ms = LatencyTimer(device);
    // each reply waits for the timer: 16 ms, the usual default, allows about 60 rounds a second
    if (!ms || *ms <= 1)
        return {};
    return Lang::Format(Lang::Text(Lang::TxLatencyTimer),
                        {QString::number(*ms), QString::number(1000 / *ms), latencyTimerPath(m_sysfsRoot, device)});
}

QString SerialLink::PortNotes(const QString &name) const
{
    const QString device = ResolvePortName(m_baseDir, name);
    QString notes;
    struct stat st = {};
    if (QFileInfo::exists(device) && m_access(device) == EACCES
        && (::stat(QFile::encodeName(device).constData(), &st) != 0 || !m_inGroup(st.st_gid))) {
        const QString group = deviceGroup(device);
        notes += u'\n' + Lang::Format(Lang::Text(Lang::TxHintNoRights), {group, group});
    }
    if (const QString note = latencyNote(device); !note.isEmpty())
        notes += u'\n' + note;
    return notes;
}

bool SerialLink::PortReady() const
{
    return m_opened && m_port->isOpen();
}

bool SerialLink::SendText(const QByteArray &telegram)
{
    if (!PortReady())
        return false;
    // a late reply, a second copy or the rest of a disturbed line: none of it answers this
    m_buffer.discard();
    m_port->clear(QSerialPort::Input);
    ++m_sends;
    m_sink.StatusFlash(0);
    return m_port->write(telegram) > 0;
}

std::optional<QByteArray> SerialLink::FetchTelegram()
{
    return m_buffer.fetch();
}

void SerialLink::onReadyRead()
{
    m_sink.StatusFlash(1);
    const QByteArray data = m_port->readAll();
    const quint64 sends = m_sends;
    for (char byte : data) {
        // the telegram handed over below may have led to a new request: the bytes left in
        // this read arrived before it, so they cannot answer it
        if (m_sends != sends)
            return;
        if (!m_buffer.feed(byte))
            continue;
        if (m_log && m_log->Logging())
            m_log->WriteTrafficLine(QStringLiteral("QT8800"), QByteArrayView(m_buffer.text()));
        // handed over before the next byte is taken: stray bytes behind a telegram
        // arriving in the same read would otherwise replace it unseen
        Q_EMIT telegramReceived();
    }
}

void SerialLink::onError(QSerialPort::SerialPortError error)
{
    if (!m_opened)
        return;
    QString text;
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        text = Lang::Text(Lang::TxReadFailed);
        break;
    case QSerialPort::WriteError:
        text = Lang::Text(Lang::TxWriteFailed);
        break;
    default:
        return;    // modem-line and timeout notices change nothing for us
    }
    // Qt's text for these is the system's message
    text += QStringLiteral(" (") + m_device + QStringLiteral(": ") + m_port->errorString() + QLatin1Char(')');
    // the device is gone: close once, tell once, and open it again when it comes back
    m_opened = false;
    m_port->clearError();
    m_port->close();
    m_watchFailure.clear();
    m_watchReported = false;
    m_watch.start();
    Q_EMIT portError(Lang::Format(Lang::Text(Lang::TxPortLost), {m_name, text}));
}

} // namespace Link
