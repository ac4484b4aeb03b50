#pragma once

#include "link/Port.h"
#include "link/ReceiveBuffer.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

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
    bool OpenPort(const QString &name);
    QString LastPortError() const { return m_lastError; }

    bool PortReady() const override;
    bool SendText(const QByteArray &telegram) override;
    std::optional<QByteArray> FetchTelegram() override;

    QString portName() const { return m_name; }
    int baudRate() const { return m_baud; }

Q_SIGNALS:
    void telegramReceived();
    // the line failed while open (adapter removed, line closed); the port is closed
    void portError(const QString &text);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void applySettings();

    StatusSink &m_sink;
    TrafficLog *m_log;
    QSerialPort *m_port;
    ReceiveBuffer m_buffer;
    QString m_baseDir = QStringLiteral(".");
    QString m_name;
    QString m_lastError;
    int m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    bool m_opened = false;
    quint64 m_sends = 0;    // requests written; tells the receive loop that its bytes went stale
};

} // namespace Link
