#pragma once

#include "link/Port.h"
#include "link/ReceiveBuffer.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

namespace Link {

// the baud rates the instrument offers, in the baud selector's order
inline constexpr std::array<int, 4> kBaudRates{4800, 9600, 19200, 38400};

class StatusSink;
class TrafficLog;

// The instrument's serial line: settings, open and close, sending requests and cutting the
// incoming bytes into telegrams.
class SerialLink : public QObject, public Port
{
    Q_OBJECT
public:
    SerialLink(StatusSink &sink, TrafficLog *log, QObject *parent = nullptr);
    ~SerialLink() override;

    // "COM1" … "COM8": an entry of that name in the base directory, else /dev/ttyS0 … /dev/ttyS7.
    static QString ResolvePortName(const QString &baseDir, const QString &name);
    // The entry in the base directory that stands for the name (a path names itself): the name as
    // written, else, for a COMn name, one spelled in another case ("com1" finds "COM1").
    // Empty when there is none.
    static QString PortEntry(const QString &baseDir, const QString &name);
    void setBaseDir(const QString &dir) { m_baseDir = dir; }
    QString baseDir() const { return m_baseDir; }

    bool SetPortParams(int baud, const QString &parity, int dataBits, int stopBits);
    // A port whose device is missing or went away is watched: when a device appears under
    // the same name, it is opened again and portReopened tells so. Any call here ends that.
    bool OpenPort(const QString &name);
    QString LastPortError() const { return m_lastError; }

    // errno for a device the user may not open (EACCES), else 0; the default asks access(2).
    // Tests run as root, so they put their own in.
    using AccessCheck = std::function<int(const QString &device)>;
    void setAccessCheck(AccessCheck check) { m_access = std::move(check); }
    // Whether this process has the group; the default asks its own groups.
    using GroupCheck = std::function<bool(unsigned gid)>;
    void setGroupCheck(GroupCheck check) { m_inGroup = std::move(check); }
    // Asks the driver of the open port (its descriptor) for low latency; false where it refuses.
    // The default sets the serial driver's low-latency flag, which USB adapters turn into a 1 ms
    // latency timer and which needs no root; a pseudo-terminal refuses it.
    using LowLatency = std::function<bool(int fd)>;
    void setLowLatency(LowLatency set) { m_lowLatency = std::move(set); }
    static bool RequestLowLatency(int fd);
    // the device the port name resolved to at the last open
    QString device() const { return m_device; }
    // "/sys" in use; tests point it at a fake tree
    void setSysfsRoot(const QString &root) { m_sysfsRoot = root; }
    // The latency timer of a USB serial adapter in ms, when the device is one.
    std::optional<int> LatencyTimer(const QString &device) const;
    // What the port selector's hint adds below the device it resolves to: missing rights, a
    // slow latency timer; each note on a line of its own, empty when there is nothing to say.
    QString PortNotes(const QString &name) const;
    // the port is closed and its device is looked for
    bool watching() const { return m_watch.isActive(); }
    static constexpr int kWatchIntervalMs = 500;

    bool PortReady() const override;
    bool SendText(const QByteArray &telegram) override;
    std::optional<QByteArray> FetchTelegram() override;
    QString PortDescription() const override;

    QString portName() const { return m_name; }
    int baudRate() const { return m_baud; }

Q_SIGNALS:
    void telegramReceived();
    // the line failed while open (adapter removed, line closed), or its device came back but
    // cannot be opened; the port is closed
    void portError(const QString &text);
    // the device came back and the port is open again
    void portReopened(const QString &text);

private:
    bool open(const QString &name);
    // Why the device cannot be the port, before anything opens it; empty when it may be tried.
    QString refusal(const QString &device) const;
    QString openFailure(const QString &device, QSerialPort::SerialPortError error) const;
    QString failure(const QString &where, const QString &reason) const;
    QString noRightsHint(const QString &device) const;
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void applySettings();
    void watchForDevice();
    QString latencyNote(const QString &device) const;

    StatusSink &m_sink;
    TrafficLog *m_log;
    QSerialPort *m_port;
    ReceiveBuffer m_buffer;
    QString m_baseDir = QStringLiteral(".");
    QString m_name;
    QString m_device;           // what the name resolved to at the last open
    QString m_entry;            // ... through this entry in the base directory; empty for none
    QString m_lastError;
    int m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    bool m_opened = false;
    quint64 m_sends = 0;    // requests written; tells the receive loop that its bytes went stale
    AccessCheck m_access;
    GroupCheck m_inGroup;
    LowLatency m_lowLatency;
    QString m_sysfsRoot = QStringLiteral("/sys");
    QTimer m_watch;
    QString m_watchFailure;     // why the last attempt to reopen failed
    bool m_watchReported = false;
};

} // namespace Link
