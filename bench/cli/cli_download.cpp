// qt8800-cli downloading 100,000 records at full speed, against the link alone doing the same
// exchanges with the same stand-in in the same run; the program's peak memory; and a download
// of only what is new that finds nothing.
#include "common/BenchSupport.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "link/TelegramCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRecords = 100000;

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

// The exchanges of a download without anything done with the replies: the directory, then
// the block's records, each reply asking for the next.
double linkAlone(const QString &dir)
{
    QuietSink sink;
    Link::Tables tables;
    Link::BuildTables(tables);
    Link::SerialLink serial(sink, nullptr);
    Link::ProtocolEngine engine(tables, serial, sink);
    QObject::connect(&serial, &Link::SerialLink::telegramReceived, &engine, &Link::ProtocolEngine::RunProtocolEngine);
    serial.setBaseDir(dir);
    if (!serial.SetPortParams(38400, "n", 8, 1) || !serial.OpenPort("COM1"))
        return -1;
    auto more = [](const QString &reply) { return Link::GetToken(reply, u";", 2).value_or("0") != QLatin1String("0"); };
    int records = 0;
    engine.setBlockHandler(Link::Reply::TFH, [&](Link::Reply, const QString &r) {
        if (more(r))
            engine.QueueOrder(Link::Order::GNH);
    });
    engine.setBlockHandler(Link::Reply::TNH, [&](Link::Reply, const QString &r) {
        if (more(r))
            engine.QueueOrder(Link::Order::GNH);
        else
            engine.QueueOrder(Link::Order::GFM, "2");
    });
    auto record = [&](Link::Reply, const QString &r) {
        if (more(r)) {
            ++records;
            engine.QueueOrder(Link::Order::GNM, "2");
        }
    };
    engine.setBlockHandler(Link::Reply::TFM, record);
    engine.setBlockHandler(Link::Reply::TNM, record);
    QSignalSpy done(&engine, &Link::ProtocolEngine::queueFinished);
    QElapsedTimer wall;
    wall.start();
    engine.QueueOrder(Link::Order::GIN);
    engine.QueueOrder(Link::Order::GFH);
    if (!done.wait(600000) || records != kRecords || sink.errors > 0)
        return -1;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    serial.OpenPort(QString());
    return seconds;
}

double cliDownload(const QString &cli, const QString &dir, int round)
{
    const QString out = QStringLiteral("out%1").arg(round);
    QProcess p;
    p.setWorkingDirectory(dir);
    QElapsedTimer wall;
    wall.start();
    p.start(cli, {"download", "2", "--csv", out, "--baud", "38400"});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "cli: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    QDir(QDir(dir).filePath(out)).removeRecursively();
    return seconds;
}

// A station's nightly download when nothing was recorded since the last: the second of two
// `download --new` runs on a stand-in of its own.
double downloadNewNothing(const QString &cli, const QStringList &args)
{
    QTemporaryDir dir;
    const Bench::StandIn sim(args, dir.path(), {}, 20000);
    if (!sim.ok())
        return -1;
    double seconds = -1;
    for (int run = 0; run < 2; ++run) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QElapsedTimer wall;
        wall.start();
        p.start(cli, {"download", "--new", "--state", "state.json", "--csv", "out", "--baud", "38400"});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            std::fprintf(stderr, "cli --new: %s\n", p.readAllStandardError().constData());
            return -1;
        }
        seconds = double(wall.nsecsElapsed()) / 1e9;
    }
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString cliPath = QFileInfo(Bench::standInPath(args)).absolutePath() + "/qt8800-cli";

    QTemporaryDir dir;
    const Bench::StandIn sim(args, dir.path(), {"--records", QString::number(kRecords)}, 20000);
    if (!sim.ok())
        return 1;

    // alternating, best of two each: the machine is shared, the lesser time is the truer one
    double link = 1e9, cli = 1e9;
    for (int round = 0; round < 2; ++round) {
        const double l = linkAlone(dir.path());
        const double c = cliDownload(cliPath, dir.path(), round);
        if (l <= 0 || c <= 0)
            return 1;
        link = std::min(link, l);
        cli = std::min(cli, c);
    }
    // the stand-in has not been waited for yet: the children's peak is the program's
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    // after the peak was taken: its stand-in is another child
    const double nothingNew = downloadNewNothing(cliPath, args);
    if (nothingNew <= 0)
        return 1;

    std::printf("cli_download_s: %.3f\n", cli);
    std::printf("link_download_s: %.3f\n", link);
    std::printf("cli_download_ratio_to_link: %.3f\n", cli / link);
    std::printf("cli_rss_mb: %.1f\n", double(children.ru_maxrss) / 1024.0);
    std::printf("download_new_nothing_s: %.3f\n", nothingNew);
    return 0;
}
