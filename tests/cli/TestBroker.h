#pragma once

// A real message broker on a free loopback port with a configuration in a folder of the caller's,
// and a subscriber that keeps its session across the broker's restarts, so nothing sent while it
// reconnects escapes. Certificates and the password file are made in that folder.
#include <MQTTAsync.h>

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTest>

#include <atomic>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

struct Received
{
    QString topic;
    QByteArray payload;
    bool retained;
};

// Subscribes to everything; collects what arrives on the client's own thread.
class Subscriber
{
public:
    // `ca`: over TLS, trusting that certificate
    Subscriber(int port, const QString &id, bool keepSession, const QString &ca = {})
    {
        const QByteArray uri = (ca.isEmpty() ? "tcp://127.0.0.1:" : "ssl://127.0.0.1:") + QByteArray::number(port);
        const QByteArray caFile = QFile::encodeName(ca);
        MQTTAsync_create(&m_client, uri.constData(), id.toUtf8().constData(), MQTTCLIENT_PERSISTENCE_NONE, nullptr);
        MQTTAsync_setCallbacks(m_client, this, nullptr, &Subscriber::arrived, nullptr);
        MQTTAsync_setConnected(m_client, this, [](void *self, char *) {
            MQTTAsync_responseOptions r = MQTTAsync_responseOptions_initializer;
            r.context = self;
            r.onSuccess = [](void *self, MQTTAsync_successData *) { static_cast<Subscriber *>(self)->m_subscribed = true; };
            MQTTAsync_subscribe(static_cast<Subscriber *>(self)->m_client, "#", 2, &r);
        });
        MQTTAsync_connectOptions o = MQTTAsync_connectOptions_initializer;
        o.cleansession = keepSession ? 0 : 1;
        o.automaticReconnect = 1;
        o.minRetryInterval = 1;
        o.maxRetryInterval = 1;
        MQTTAsync_SSLOptions ssl = MQTTAsync_SSLOptions_initializer;
        ssl.trustStore = caFile.constData();
        if (!ca.isEmpty())
            o.ssl = &ssl;
        MQTTAsync_connect(m_client, &o);
    }
    ~Subscriber() { MQTTAsync_destroy(&m_client); }
    bool ready() { return QTest::qWaitFor([this] { return m_subscribed.load(); }, 5000); }
    QList<Received> received()
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }
    QList<QByteArray> payloads(const QString &topicEnd)
    {
        QList<QByteArray> out;
        for (const Received &r : received())
            if (r.topic.endsWith(topicEnd))
                out << r.payload;
        return out;
    }

private:
    static int arrived(void *self, char *topic, int, MQTTAsync_message *m)
    {
        auto *s = static_cast<Subscriber *>(self);
        {
            QMutexLocker lock(&s->m_mutex);
            s->m_received.append({QString::fromUtf8(topic), QByteArray(static_cast<const char *>(m->payload), m->payloadlen),
                                  m->retained != 0});
        }
        MQTTAsync_freeMessage(&m);
        MQTTAsync_free(topic);
        return 1;
    }
    MQTTAsync m_client = nullptr;
    std::atomic<bool> m_subscribed{false};
    QMutex m_mutex;
    QList<Received> m_received;
};

class TestBroker
{
public:
    enum class Listener { Plain, Tls, Login };
    explicit TestBroker(const QString &dir) : m_dir(dir), port(freePort()) {}
    ~TestBroker() { stop(); }
    static bool available() { return QFile::exists(QStringLiteral("/usr/sbin/mosquitto")); }

    static int freePort()
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &length);
        close(fd);
        return ntohs(a.sin_port);
    }
    bool listening() const
    {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(quint16(port));
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
        close(fd);
        return ok;
    }
    static bool run(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(30000) && p.exitCode() == 0;
    }
    // a CA of its own signs the broker's certificate for 127.0.0.1; "other-ca.pem" signs nothing
    bool makeCertificates()
    {
        const auto req = [this](const QString &name, const QString &cn) {
            return run("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + cn,
                                   "-keyout", filePath(name + "-key.pem"), "-out", filePath(name + ".pem")});
        };
        writeFile(filePath("san.ext"), "subjectAltName=IP:127.0.0.1\n");
        return req("ca", "ca") && req("other-ca", "other")
               && run("openssl", {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout",
                                  filePath("server-key.pem"), "-out", filePath("server.csr")})
               && run("openssl", {"x509", "-req", "-in", filePath("server.csr"), "-CA", filePath("ca.pem"), "-CAkey",
                                  filePath("ca-key.pem"), "-CAcreateserial", "-days", "2", "-extfile", filePath("san.ext"),
                                  "-out", filePath("server.pem")});
    }
    bool start()
    {
        QByteArray conf = "listener " + QByteArray::number(port) + " 127.0.0.1\npersistence true\npersistence_location "
                          + QFile::encodeName(filePath("broker")) + "/\nlog_dest stderr\n";
        QDir(m_dir).mkpath("broker");
        // as root the broker would drop to a user that cannot read the keys made here
        if (geteuid() == 0)
            conf += "user root\n";
        if (listener == Listener::Login) {
            if (!QFile::exists(filePath("passwords"))
                && !run("/usr/bin/mosquitto_passwd", {"-c", "-b", filePath("passwords"), "station", "right"}))
                return false;
            conf += "allow_anonymous false\npassword_file " + QFile::encodeName(filePath("passwords")) + "\n";
        } else {
            conf += "allow_anonymous true\n";
        }
        if (listener == Listener::Tls) {
            if (!QFile::exists(filePath("server.pem")) && !makeCertificates())
                return false;
            conf += "cafile " + QFile::encodeName(filePath("ca.pem")) + "\ncertfile " + QFile::encodeName(filePath("server.pem"))
                    + "\nkeyfile " + QFile::encodeName(filePath("server-key.pem")) + "\n";
        }
        writeFile(filePath("broker.conf"), conf);
        process.setStandardErrorFile(filePath("broker.log"), QIODevice::Append);
        process.start("/usr/sbin/mosquitto", {"-c", filePath("broker.conf")});
        return process.waitForStarted(5000) && QTest::qWaitFor([this] { return listening(); }, 5000);
    }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        process.waitForFinished(5000);
    }
    QString url() const
    {
        return (listener == Listener::Tls ? "mqtts://127.0.0.1:" : "mqtt://127.0.0.1:") + QString::number(port);
    }

private:
    QString filePath(const QString &name) const { return m_dir + u'/' + name; }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QString m_dir;

public:
    int port;
    Listener listener = Listener::Plain;
    QProcess process;
};
