#pragma once

#include "link/Port.h"
#include "link/ReceiveBuffer.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace Link {

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
    bool m_viaEntry = false;    // ... through an entry in the base directory
    QString m_lastError;
    int m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    bool m_opened = false;
    quint64 m_sends = 0;    // requests written; tells the receive loop that its bytes went stale
    AccessCheck m_access;
    QString m_sysfsRoot = QStringLiteral("/sys");
    QTimer m_watch;
    QString m_watchFailure;     // why the last attempt to reopen failed
    bool m_watchReported = false;
};

} // namespace Link
