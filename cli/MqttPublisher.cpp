#include "cli/MqttPublisher.h"

#include "lang/Texts.h"

#include <MQTTAsync.h>

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

#include <netdb.h>
#include <sys/socket.h>

namespace Cli {

using namespace Lang;

namespace {

MQTTAsync handle(void *client)
{
    return static_cast<MQTTAsync>(client);
}

// CONNACK codes 4 and 5: user name or password wrong, not authorised
bool loginRefused(int code)
{
    return code == 4 || code == 5;
}

} // namespace

MqttPublisher::MqttPublisher(Settings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttPublisher::connectNow);
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, &MqttPublisher::poll);
}

MqttPublisher::~MqttPublisher()
{
    if (m_client) {
        MQTTAsync client = handle(m_client);
        MQTTAsync_destroy(&client);
    }
}

QString MqttPublisher::statusTopic() const
{
    const qsizetype slash = m_settings.topic.lastIndexOf(u'/');
    return (slash < 0 ? QString() : m_settings.topic.left(slash + 1)) + QStringLiteral("status");
}

bool MqttPublisher::start()
{
    const QUrl url(m_settings.url, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const bool tls = scheme == u"mqtts";
    if (!url.isValid() || (scheme != u"mqtt" && !tls) || url.host().isEmpty()
        || (!url.path().isEmpty() && url.path() != u"/")) {
        m_error = Format(Text(TxCliMqttBadUrl), {m_settings.url});
        return false;
    }
    m_host = url.host();
    const int port = url.port(tls ? 8883 : 1883);
    // the client reports a name that does not resolve as any other failure to connect
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(m_host.toUtf8().constData(), nullptr, &hints, &found) != 0) {
        m_error = Format(Text(TxCliMqttHostNotFound), {m_host});
        return false;
    }
    freeaddrinfo(found);
    const QString hostPart = m_host.contains(u':') ? u'[' + m_host + u']' : m_host;
    m_serverUri = (tls ? QStringLiteral("ssl://") : QStringLiteral("tcp://")) + hostPart + u':' + QString::number(port);

    if (!QDir().mkpath(m_settings.bufferDir) || !QFileInfo(m_settings.bufferDir).isWritable()) {
        m_error = Format(Text(TxCliMqttBufferFailed), {m_settings.bufferDir});
        return false;
    }
    MQTTAsync_createOptions create = MQTTAsync_createOptions_initializer;
    create.sendWhileDisconnected = 1;
    create.allowDisconnectedSendAtAnyTime = 1;
    create.maxBufferedMessages = bufferedMessages(m_settings.bufferMb);
    create.deleteOldestMessages = 1;
    create.restoreMessages = 1;
    create.persistQoS0 = 1;
    MQTTAsync client = nullptr;
    const QByteArray dir = QFile::encodeName(m_settings.bufferDir);
    const int rc = MQTTAsync_createWithOptions(&client, m_serverUri.toUtf8().constData(),
                                               m_settings.clientId.toUtf8().constData(), MQTTCLIENT_PERSISTENCE_DEFAULT,
                                               const_cast<char *>(dir.constData()), &create);
    if (rc != MQTTASYNC_SUCCESS) {
        m_error = Format(Text(TxCliMqttBufferFailed), {m_settings.bufferDir});
        return false;
    }
    m_client = client;
    MQTTAsync_setCallbacks(client, this, &MqttPublisher::onConnectionLost,
                           [](void *context, char *topic, int length, MQTTAsync_message *message) {
                               return onMessage(context, topic, length, message);
                           }, nullptr);
    MQTTAsync_setConnected(client, this, &MqttPublisher::onConnected);
    connectNow();
    return true;
}

void MqttPublisher::connectNow()
{
    {
        QMutexLocker lock(&m_sslMutex);
        m_sslError.clear();
    }
    const QByteArray user = m_settings.user.toUtf8(), password = m_settings.password.toUtf8();
    const QByteArray ca = QFile::encodeName(m_settings.caFile);
    const QByteArray status = statusTopic().toUtf8();
    MQTTAsync_willOptions will = MQTTAsync_willOptions_initializer;
    will.topicName = status.constData();
    will.message = "offline";
    will.retained = 1;
    will.qos = 1;
    MQTTAsync_SSLOptions ssl = MQTTAsync_SSLOptions_initializer;
    ssl.trustStore = ca.isEmpty() ? nullptr : ca.constData();
    ssl.enableServerCertAuth = 1;
    ssl.verify = 1;
    ssl.ssl_error_cb = &MqttPublisher::onSslError;
    ssl.ssl_error_context = this;
    MQTTAsync_connectOptions options = MQTTAsync_connectOptions_initializer;
    options.keepAliveInterval = 20;
    // no second try in an older protocol after a refusal: the refusal is the answer
    options.MQTTVersion = MQTTVERSION_3_1_1;
    // a session of its own at the broker: what was in flight is sent again, not forgotten
    options.cleansession = 0;
    // A broker takes only so many unfinished exactly-once messages (20 by default) and, under this
    // protocol version, cannot say it dropped the rest: a backlog after an outage goes out in steps.
    options.maxInflight = 10;
    options.automaticReconnect = 1;
    options.minRetryInterval = 1;
    options.maxRetryInterval = 8;
    options.will = &will;
    if (m_serverUri.startsWith(QLatin1String("ssl://")))
        options.ssl = &ssl;
    if (!user.isEmpty()) {
        options.username = user.constData();
        options.password = password.constData();
    }
    options.context = this;
    options.onFailure = [](void *context, MQTTAsync_failureData *failure) { onConnectFailure(context, failure); };
    m_connecting = MQTTAsync_connect(handle(m_client), &options) == MQTTASYNC_SUCCESS;
}

void MqttPublisher::onConnected(void *context, char *)
{
    auto *self = static_cast<MqttPublisher *>(context);
    QMetaObject::invokeMethod(self, [self] {
        self->m_connected = true;
        self->m_connecting = false;
        self->m_retryS = 2;
        if (std::exchange(self->m_awayNoted, false))
            emit self->note(Format(Text(TxCliMqttBack), {self->m_host}));
        self->m_everConnected = true;
        self->send(self->statusTopic(), QByteArrayLiteral("online"), true);
    }, Qt::QueuedConnection);
}

void MqttPublisher::onConnectionLost(void *context, char *)
{
    auto *self = static_cast<MqttPublisher *>(context);
    QMetaObject::invokeMethod(self, [self] {
        self->m_connected = false;
        if (!std::exchange(self->m_awayNoted, true))
            emit self->note(Format(Text(TxCliMqttAway), {self->m_host}));
    }, Qt::QueuedConnection);
}

int MqttPublisher::onMessage(void *, char *topic, int, void *message)
{
    auto *m = static_cast<MQTTAsync_message *>(message);
    MQTTAsync_freeMessage(&m);
    MQTTAsync_free(topic);
    return 1;
}

void MqttPublisher::onConnectFailure(void *context, void *data)
{
    auto *self = static_cast<MqttPublisher *>(context);
    const auto *failure = static_cast<MQTTAsync_failureData *>(data);
    const int code = failure ? failure->code : -1;
    const QString message = failure && failure->message ? QString::fromUtf8(failure->message) : QString();
    QMetaObject::invokeMethod(self, [self, code, message] { self->connectFailed(code, message); }, Qt::QueuedConnection);
}

int MqttPublisher::onSslError(const char *text, size_t length, void *context)
{
    auto *self = static_cast<MqttPublisher *>(context);
    QMutexLocker lock(&self->m_sslMutex);
    if (self->m_sslError.isEmpty())
        self->m_sslError = QString::fromUtf8(text, qsizetype(length)).trimmed();
    return 0;
}

void MqttPublisher::connectFailed(int code, const QString &message)
{
    m_connecting = false;
    QString sslError;
    {
        QMutexLocker lock(&m_sslMutex);
        sslError = m_sslError;
    }
    if (loginRefused(code))
        return emit fatal(Format(Text(TxCliMqttLoginRefused), {m_host, message}));
    if (!sslError.isEmpty())
        return emit fatal(Format(Text(TxCliMqttTlsFailed), {m_host, sslError}));
    // not there yet: the client reconnects by itself only after a first connection
    if (m_everConnected || m_done)
        return;
    if (!std::exchange(m_awayNoted, true))
        emit note(Format(Text(TxCliMqttAway), {m_host}));
    m_retry.start(m_retryS * 1000);
    m_retryS = std::min(m_retryS * 2, 30);
}

int MqttPublisher::pending() const
{
    MQTTAsync_token *tokens = nullptr;
    if (!m_client || MQTTAsync_getPendingTokens(handle(m_client), &tokens) != MQTTASYNC_SUCCESS || !tokens)
        return 0;
    int count = 0;
    while (tokens[count] != -1)
        ++count;
    MQTTAsync_free(tokens);
    return count;
}

void MqttPublisher::send(const QString &topic, const QByteArray &payload, bool retained)
{
    MQTTAsync_message message = MQTTAsync_message_initializer;
    message.payload = const_cast<char *>(payload.constData());
    message.payloadlen = int(payload.size());
    message.qos = retained ? 1 : m_settings.qos;
    message.retained = retained;
    const int rc = MQTTAsync_sendMessage(handle(m_client), topic.toUtf8().constData(), &message, nullptr);
    if (rc == MQTTASYNC_PERSISTENCE_ERROR)
        m_error = Format(Text(TxCliMqttBufferFailed), {m_settings.bufferDir});
}

bool MqttPublisher::publish(const QByteArray &payload)
{
    if (!m_client)
        return false;
    // the client drops the oldest itself; only the count is ours
    if (pending() >= bufferedMessages(m_settings.bufferMb))
        ++m_dropped;
    m_error.clear();
    send(m_settings.topic, payload, false);
    return m_error.isEmpty();
}

void MqttPublisher::finish(std::function<void()> done)
{
    m_done = std::move(done);
    m_retry.stop();
    if (!m_client)
        return std::exchange(m_done, {})();
    if (m_connected)
        send(statusTopic(), QByteArrayLiteral("offline"), true);
    m_pollsLeft = 50;
    m_poll.start();
    poll();
}

void MqttPublisher::poll()
{
    if (!m_done)
        return;
    // a login refused at the end of a short run is still refused
    const bool waiting = (m_connected && pending() > 0) || (!m_everConnected && m_connecting);
    if (waiting && --m_pollsLeft > 0)
        return;
    m_poll.stop();
    if (m_connected) {
        MQTTAsync_disconnectOptions options = MQTTAsync_disconnectOptions_initializer;
        options.timeout = 1000;
        MQTTAsync_disconnect(handle(m_client), &options);
    }
    std::exchange(m_done, {})();
}

} // namespace Cli
