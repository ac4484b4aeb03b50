// A station's broker link: how fast readings go out (headroom for catching up after an outage),
// and what a broker outage costs a live run against the stand-in at 0.5 s: readings lost and
// readings delivered twice, at QoS 1 and 2. STATION_OUTAGE_S sets the outage (default 60 s).
#include "cli/MqttPublisher.h"
#include "common/BenchSupport.h"
#include "measure/LiveJson.h"

#include "TestBroker.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>

#include <cctype>
#include <cstdio>

namespace {

constexpr int kReadings = 10000;

double readingsPerSecond(const QString &dir)
{
    TestBroker broker(dir);
    if (!broker.start())
        return -1;
    Cli::MqttPublisher::Settings s;
    s.url = broker.url();
    s.topic = QStringLiteral("qt8800/bench/live");
    s.bufferDir = dir + QStringLiteral("/buffer");
    s.clientId = QStringLiteral("qt8800-bench");
    Cli::MqttPublisher publisher(s);
    if (!publisher.start() || !QTest::qWaitFor([&] { return publisher.pending() == 0; }, 5000))
        return -1;
    Bench::idleFor(500);
    Measure::CurrentValues values;
    values.range = 2;
    values.polarity = 1;
    values.analogVolts = 2.799f;
    values.sensors = {{true, 3, 45.6f}, {false, 3, 21.5f}};
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < kReadings; ++i) {
        values.ionValue = i;
        if (!publisher.publish(Measure::LiveJson(QDateTime::currentDateTime(), values, QStringLiteral("Extern"))))
            return -1;
    }
    if (!QTest::qWaitFor([&] { return publisher.pending() == 0; }, 120000))
        return -1;
    return kReadings / (double(wall.nsecsElapsed()) / 1e9);
}

struct Outage
{
    int lost = -1;
    int duplicates = -1;
};

// live at 0.5 s with the broker gone for `outageS` after 5 s, running on 20 s after its return
Outage outage(const QStringList &args, const QString &cliPath, const QString &qos, int outageS)
{
    QTemporaryDir dir;
    const Bench::StandIn sim(args, dir.path());
    TestBroker broker(dir.path());
    if (!sim.ok() || !broker.start())
        return {};
    Subscriber sub(broker.port, QStringLiteral("bench"), true);
    if (!sub.ready())
        return {};
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(cliPath, {"live", "--interval", "0.5", "--for", QString::number(outageS + 25), "--iso", "--csv", "live.csv",
                        "--mqtt", broker.url(), "--qos", qos, "--buffer-dir", dir.filePath("buffer")});
    Bench::idleFor(5000);
    broker.stop();
    Bench::idleFor(outageS * 1000);
    if (!broker.start())
        return {};
    if (!QTest::qWaitFor([&] { return cli.state() == QProcess::NotRunning; }, (outageS + 60) * 1000) || cli.exitCode() != 0) {
        std::fprintf(stderr, "live: %s\n", cli.readAllStandardError().constData());
        return {};
    }
    QFile csv(dir.filePath("live.csv"));
    if (!csv.open(QIODevice::ReadOnly))
        return {};
    int rows = 0;
    for (const QByteArray &line : csv.readAll().split('\n'))
        rows += !line.isEmpty() && std::isdigit(static_cast<unsigned char>(line.at(0)));
    (void)QTest::qWaitFor([&] { return sub.payloads(QStringLiteral("/live")).size() >= rows; }, 30000);
    Bench::idleFor(1000);
    QSet<QString> times;
    const QList<QByteArray> got = sub.payloads(QStringLiteral("/live"));
    for (const QByteArray &p : got)
        times.insert(QJsonDocument::fromJson(p).object().value(QStringLiteral("time")).toString());
    int left = 0;
    for (QDirIterator it(dir.filePath("buffer"), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++left;
    std::fprintf(stderr, "qos %s: %d readings recorded, %d messages, %d distinct, %d files left in the buffer\n",
                 qPrintable(qos), rows, int(got.size()), int(times.size()), left);
    return {rows - int(times.size()), int(got.size() - times.size())};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (!TestBroker::available()) {
        std::fprintf(stderr, "no mosquitto\n");
        return 1;
    }
    QTemporaryDir dir;
    std::printf("mqtt_readings_per_s: %.0f\n", readingsPerSecond(dir.path()));
    std::fflush(stdout);
    const QString cliPath = QFileInfo(Bench::standInPath(args)).absolutePath() + QStringLiteral("/qt8800-cli");
    const int outageS = qEnvironmentVariableIsSet("STATION_OUTAGE_S") ? qEnvironmentVariableIntValue("STATION_OUTAGE_S") : 60;
    std::printf("mqtt_outage_s: %d\n", outageS);
    for (const char *qos : {"1", "2"}) {
        const Outage o = outage(args, cliPath, QString::fromLatin1(qos), outageS);
        std::printf("mqtt_outage_loss_qos%s: %d\nmqtt_outage_duplicates_qos%s: %d\n", qos, o.lost, qos, o.duplicates);
        std::fflush(stdout);
    }
    return 0;
}
