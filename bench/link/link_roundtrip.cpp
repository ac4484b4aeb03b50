// Exchange rate, idle cost and paced throughput of the link against the stand-in process.
#include "common/BenchSupport.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "link/TelegramCodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct QuietSink : Link::StatusSink
{
    int errors = 0;
    void StatusMessage(const QString &text, bool error) override
    {
        if (error) {
            ++errors;
            std::fprintf(stderr, "link: %s\n", qPrintable(text));
        }
    }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One stand-in process and a link to it.
struct Rig
{
    QTemporaryDir dir;
    QuietSink sink;
    Link::Tables tables;
    Link::SerialLink serial{sink, nullptr};
    std::unique_ptr<Link::ProtocolEngine> engine;
    std::unique_ptr<Bench::StandIn> sim; // ended first, as the link is closed after it

    bool start(const QStringList &appArgs, const QStringList &simOptions, int baud)
    {
        Link::BuildTables(tables);
        sim = std::make_unique<Bench::StandIn>(appArgs, dir.path(), simOptions);
        if (!sim->ok())
            return false;
        serial.setBaseDir(dir.path());
        engine = std::make_unique<Link::ProtocolEngine>(tables, serial, sink);
        QObject::connect(&serial, &Link::SerialLink::telegramReceived, engine.get(),
                         &Link::ProtocolEngine::RunProtocolEngine);
        return serial.SetPortParams(baud, "n", 8, 1) && serial.OpenPort("COM1");
    }
    bool runUntilIdle(int ms)
    {
        QSignalSpy done(engine.get(), &Link::ProtocolEngine::queueFinished);
        engine->RunProtocolEngine();
        return engine->isIdle() || done.wait(ms);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();

    // 1. exchanges per second, the stand-in answering at once
    {
        Rig rig;
        if (!rig.start(args, {}, 38400))
            return 1;
        constexpr int kExchanges = 3000;
        std::vector<qint64> stamps;
        stamps.reserve(kExchanges);
        QElapsedTimer clock;
        rig.engine->setBlockHandler(Link::Reply::TFH, [&](Link::Reply, const QString &) { stamps.push_back(clock.nsecsElapsed()); });
        clock.start();
        for (int i = 0; i < kExchanges; ++i)
            rig.engine->QueueOrder(Link::Order::GFH);
        if (!rig.runUntilIdle(60000))
            return 1;
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        std::vector<double> gaps;
        for (std::size_t i = 1; i < stamps.size(); ++i)
            gaps.push_back(double(stamps[i] - stamps[i - 1]) / 1e6);
        std::nth_element(gaps.begin(), gaps.begin() + long(gaps.size() / 2), gaps.end());
        std::printf("exchanges_per_s: %.0f\n", double(stamps.size()) / seconds);
        std::printf("exchange_ms_median: %.3f\n", gaps.empty() ? 0.0 : gaps[gaps.size() / 2]);
    }

    // 2. what waiting for a slow reply costs
    {
        Rig rig;
        if (!rig.start(args, {"--fault", "delay:1000"}, 38400))
            return 1;
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        rig.engine->QueueOrder(Link::Order::GIN);
        if (!rig.runUntilIdle(5000))
            return 1;
        const double pct = 100.0 * (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
        std::printf("cpu_while_waiting_pct: %.2f\n", pct);
    }

    // 3. paced at 38400 baud: 2,000 record reads against the wire time of their bytes
    {
        constexpr int kRecords = 2000;
        constexpr int kBaud = 38400;
        Rig rig;
        if (!rig.start(args, {"--pace", "--baud", QString::number(kBaud), "--records", QString::number(kRecords)},
                       kBaud))
            return 1;
        qint64 bytes = 0;
        int records = 0;
        auto onRecord = [&](Link::Reply, const QString &text) {
            bytes += text.size() + 7 + 13;    // the reply's checksum and CR LF, and the request "GNM;2;nnnnn\r\n"
            if (Link::GetToken(text, u";", 2).value_or("0") != QLatin1String("0") && ++records < kRecords)
                rig.engine->QueueOrder(Link::Order::GNM, "2");
        };
        rig.engine->setBlockHandler(Link::Reply::TFM, onRecord);
        rig.engine->setBlockHandler(Link::Reply::TNM, onRecord);
        QElapsedTimer wall;
        wall.start();
        rig.engine->QueueOrder(Link::Order::GFM, "2");
        if (!rig.runUntilIdle(600000))
            return 1;
        const double wire = double(bytes) * 10.0 / kBaud;
        std::printf("paced_exchanges: %d\n", records);
        std::printf("paced_ratio_to_wire: %.3f\n", (double(wall.nsecsElapsed()) / 1e9) / wire);
    }
    return 0;
}
