#include "BrokerOnSim.h"

#include <QJsonDocument>
#include <QJsonObject>

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
    int outageAtMs;     // the broker goes away then for 1.5 s; 0: it stays
    const char *qos;
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
        QTimer::singleShot(at + 1500, [this] { startBroker(); });
    }
    QStringList args{"--for", "5", "--csv", "live.csv", "--iso", "--qos", GetParam().qos};
    if (!ca.isEmpty())
        args << "--ca" << ca;
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
    // a newcomer learns the state from the retained status
    Subscriber later(port, "later", false, ca);
    EXPECT_TRUE(QTest::qWaitFor([&] { return later.payloads("88000123/status") == QList<QByteArray>{"offline"}; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Broker, CliMqttTest,
                         testing::Values(DeliveryRow{"plain", BrokerOnSim::Listener::Plain, 0, "1"},
                                         DeliveryRow{"outage", BrokerOnSim::Listener::Plain, 600, "1"},
                                         DeliveryRow{"outageExactlyOnce", BrokerOnSim::Listener::Plain, 600, "2"},
                                         DeliveryRow{"tls", BrokerOnSim::Listener::Tls, 0, "1"}),
                         [](const auto &info) { return std::string(info.param.name); });
