#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace Cli {

// Sends each reading to a message broker. Readings wait on disk, one file each, while the broker
// is away, also across a restart of the program with the same client id and address, and go out
// in order when it returns; a full buffer drops the oldest and counts them. A retained status
// topic says "online", and the broker says "offline" for a run that vanishes.
class MqttPublisher : public QObject
{
    Q_OBJECT
public:
    struct Settings
    {
        QString url;                // mqtt://host[:port] or mqtts://host[:port]
        QString topic;              // the readings'; the status is its sibling "status"
        int qos = 1;
        QString caFile;
        QString user, password;
        QString bufferDir;
        int bufferMb = 64;
        QString clientId;
    };

    explicit MqttPublisher(Settings settings, QObject *parent = nullptr);
    ~MqttPublisher() override;
    MqttPublisher(const MqttPublisher &) = delete;
    MqttPublisher &operator=(const MqttPublisher &) = delete;

    // Checks the address, the host and the buffer folder and starts connecting; false with error().
    bool start();
    // false when the buffer disk refuses the reading (error() says so)
    bool publish(const QByteArray &payload);
    // a message the broker keeps for every later subscriber
    void publishRetained(const QString &topic, const QByteArray &payload) { send(topic, payload, true); }
    QString topic() const { return m_settings.topic; }
    // Says "offline", waits a few seconds for what is buffered to go out while the broker is there,
    // and disconnects; what is left stays on disk for the next run.
    void finish(std::function<void()> done);

    // readings handed over and not yet acknowledged (or not sent) by the broker
    int pending() const;
    QString error() const { return m_error; }
    qint64 dropped() const { return m_dropped; }
    QString statusTopic() const;
    // messages a file costs at least one block of the buffer disk
    static int bufferedMessages(int bufferMb) { return int(qint64(bufferMb) * 1024 * 1024 / 4096); }

signals:
    void fatal(const QString &text);    // the broker refused the login or its certificate
    void note(const QString &text);     // the broker went away or came back

private:
    static void onConnected(void *context, char *cause);
    static void onConnectionLost(void *context, char *cause);
    static int onMessage(void *, char *, int, void *);
    static void onConnectFailure(void *context, void *data);
    static int onSslError(const char *text, size_t length, void *context);

    void connectNow();
    void connectFailed(int code, const QString &message);

    void send(const QString &topic, const QByteArray &payload, bool retained);
    void poll();

    Settings m_settings;
    QString m_serverUri;
    QString m_host;
    void *m_client = nullptr;
    QTimer m_retry;
    int m_retryS = 2;
    bool m_everConnected = false;
    bool m_connected = false;
    bool m_connecting = false;      // a first connection is under way
    bool m_awayNoted = false;
    qint64 m_dropped = 0;
    QString m_error;
    mutable QMutex m_sslMutex;
    QString m_sslError;             // the TLS library's reason, from the client's thread
    std::function<void()> m_done;
    QTimer m_poll;
    int m_pollsLeft = 0;
};

} // namespace Cli
