#include "BrokerOnSim.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>

namespace {

// the CSV rows a run wrote: every reading the broker must have got
QStringList csvRows(const QByteArray &csv)
{
    QStringList rows;
    for (const QString &line : QString::fromUtf8(csv).split('\n', Qt::SkipEmptyParts))
        if (line.at(0).isDigit())
            rows << line;
    return rows;
}

// the readings' times, each once, in the order they first came; false when one came after a later one
bool inOrder(const QList<QByteArray> &payloads, QStringList &times)
{
    for (const QByteArray &p : payloads) {
        const QString time = QJsonDocument::fromJson(p).object().value("time").toString();
        if (times.contains(time))
            continue;
        if (!times.isEmpty() && time < times.last())
            return false;
        times << time;
    }
    return true;
}

} // namespace

struct DeliveryRow
{
    const char *name;
    BrokerOnSim::Listener listener;
    int outageAtMs;     // the broker goes away then for `outageMs`; 0: it stays
    const char *qos;
    bool discovery = false;
    int outageMs = 1500;
    const char *forS = "5";
};

class CliMqttTest : public BrokerOnSim, public testing::WithParamInterface<DeliveryRow>
{
};

// Every reading the CSV got also reaches the broker as JSON, in order, through an outage too; the
// status says "online" while the run lasts and stays "offline" after it.
TEST_P(CliMqttTest, EveryReadingArrivesInOrder)
{
    listener = GetParam().listener;
    ASSERT_TRUE(startBroker());
    const QString ca = listener == Listener::Tls ? path("ca.pem") : QString();
    Subscriber sub(port, "watch", true, ca);
    ASSERT_TRUE(sub.ready());
    if (const int at = GetParam().outageAtMs) {
        QTimer::singleShot(at, [this] { stopBroker(); });
        QTimer::singleShot(at + GetParam().outageMs, [this] { startBroker(); });
    }
    QStringList args{"--for", GetParam().forS, "--csv", "live.csv", "--iso", "--qos", GetParam().qos};
    if (!ca.isEmpty())
        args << "--ca" << ca;
    if (GetParam().discovery)
        args << "--ha-discovery";
    const CliRun run = live(args);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList rows = csvRows(readAll(path("live.csv")));
    EXPECT_GE(rows.size(), 5);
    QStringList times;
    ASSERT_TRUE(QTest::qWaitFor([&] { return sub.payloads("/live").size() >= rows.size(); }, 20000))
        << sub.payloads("/live").size() << " of " << rows.size() << qPrintable(run.err);
    EXPECT_TRUE(inOrder(sub.payloads("qt8800/88000123/live"), times));
    ASSERT_EQ(times.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(rows[i].contains(times[i].left(23).replace('T', ';'))) << qPrintable(rows[i] + " " + times[i]);
    const QJsonObject first = QJsonDocument::fromJson(sub.payloads("/live").first()).object();
    EXPECT_TRUE(first.contains("ions") && first.contains("range") && first.contains("polarity")) << first.keys().join(',').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sub.payloads("88000123/status").endsWith("offline"); }, 5000));
    EXPECT_TRUE(sub.payloads("88000123/status").contains("online"));
    const QList<QByteArray> config = sub.payloads("homeassistant/sensor/qt8800_88000123_ions/config");
    EXPECT_EQ(config.size(), GetParam().discovery ? 1 : 0);
    if (!config.isEmpty()) {
        const QJsonObject o = QJsonDocument::fromJson(config.first()).object();
        EXPECT_EQ(o.value("state_topic").toString(), "qt8800/88000123/live");
        EXPECT_EQ(o.value("availability_topic").toString(), "qt8800/88000123/status");
    }
    // a newcomer learns the state from the retained status
    Subscriber later(port, "later", false, ca);
    EXPECT_TRUE(QTest::qWaitFor([&] { return later.payloads("88000123/status") == QList<QByteArray>{"offline"}; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Broker, CliMqttTest,
                         testing::Values(DeliveryRow{"plain", BrokerOnSim::Listener::Plain, 0, "1", true},
                                         DeliveryRow{"outage", BrokerOnSim::Listener::Plain, 600, "1"},
                                         DeliveryRow{"outageExactlyOnce", BrokerOnSim::Listener::Plain, 600, "2"},
                                         // more unfinished than a broker takes at once
                                         DeliveryRow{"backlogExactlyOnce", BrokerOnSim::Listener::Plain, 600, "2", false, 5000, "10"},
                                         DeliveryRow{"tls", BrokerOnSim::Listener::Tls, 0, "1"}),
                         [](const auto &info) { return std::string(info.param.name); });

// A run killed while the broker is away leaves its readings on disk; the next run sends them first.
TEST_F(BrokerOnSim, ReadingsOfAKilledRunGoOutWithTheNext)
{
    live({"--for", "60", "--csv", "live.csv", "--iso"}, 2500);
    const int before = int(csvRows(readAll(path("live.csv"))).size());
    ASSERT_GE(before, 3);
    ASSERT_TRUE(startBroker());
    Subscriber sub(port, "watch", true);
    ASSERT_TRUE(sub.ready());
    const CliRun run = live({"--for", "1", "--csv", "live.csv", "--iso"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QStringList rows = csvRows(readAll(path("live.csv")));
    QStringList times;
    EXPECT_TRUE(QTest::qWaitFor([&] { return inOrder(sub.payloads("/live"), times = {}) && times.size() >= rows.size(); }, 20000))
        << times.size() << " of " << rows.size() << ", " << before << " before the kill";
    EXPECT_EQ(times.size(), rows.size());
}

struct RefusalRow
{
    const char *name;
    BrokerOnSim::Listener listener;
    QStringList args;
    const char *password;   // in the environment, with the user "station"
    int exitCode;
    const char *message;
};

class CliMqttRefusalTest : public BrokerOnSim, public testing::WithParamInterface<RefusalRow>
{
};

TEST_P(CliMqttRefusalTest, SaysWhyTheBrokerIsNotUsed)
{
    const RefusalRow &row = GetParam();
    listener = row.listener;
    ASSERT_TRUE(startBroker());
    writeAll(path("login"), "station\nright\n");
    QStringList args = row.args;
    args.replaceInStrings("CA", path("other-ca.pem"));
    args.replaceInStrings("LOGIN", path("login"));
    const QByteArray password = row.password;
    const CliRun run = live(QStringList{"--for", "1"} + args, 30000, [password] {
        if (!password.isEmpty()) {
            setenv("QT8800_MQTT_USER", "station", 1);
            setenv("QT8800_MQTT_PASSWORD", password.constData(), 1);
        }
    });
    EXPECT_EQ(run.exitCode, row.exitCode) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.message))) << qPrintable(run.err);
}

INSTANTIATE_TEST_SUITE_P(
    Broker, CliMqttRefusalTest,
    testing::Values(RefusalRow{"loginFromFile", BrokerOnSim::Listener::Login, {"--mqtt-auth", "LOGIN"}, "", 0, ""},
                    RefusalRow{"loginFromEnvironment", BrokerOnSim::Listener::Login, {}, "right", 0, ""},
                    RefusalRow{"wrongPassword", BrokerOnSim::Listener::Login, {}, "wrong", 1, "hat die Anmeldung abgelehnt"},
                    RefusalRow{"noLogin", BrokerOnSim::Listener::Login, {}, "", 1, "hat die Anmeldung abgelehnt"},
                    RefusalRow{"wrongCa", BrokerOnSim::Listener::Tls, {"--ca", "CA"}, "", 1, "Keine TLS-Verbindung zu 127.0.0.1"},
                    RefusalRow{"unknownHost", BrokerOnSim::Listener::Plain, {"--mqtt", "mqtt://no-such-host.invalid"}, "", 1,
                               "nicht gefunden: no-such-host.invalid"},
                    RefusalRow{"wildcard", BrokerOnSim::Listener::Plain, {"--topic", "a/#"}, "", 2, "Platzhalter"}),
    [](const auto &info) { return std::string(info.param.name); });
