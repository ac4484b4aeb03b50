// qt8800-sim: a stand-in instrument on a pseudo-terminal, for development and tests.
#include "model/NumericLocale.h"
#include "model/StopSignals.h"
#include "sim/PtyServer.h"
#include "sim/TrafficReplay.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <optional>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Model::UseCNumericLocale();
    QCoreApplication::setApplicationName(QStringLiteral("qt8800-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in QT 8800 instrument on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("link"), QStringLiteral("Path of the link to create, e.g. DIR/COM1."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("baud"), QStringLiteral("Baud rate used for pacing (default 9600)."), QStringLiteral("rate"), QStringLiteral("9600")});
    parser.addOption({QStringLiteral("pace"), QStringLiteral("Send replies at the wire speed of the baud rate.")});
    parser.addOption({QStringLiteral("empty"), QStringLiteral("Start with an empty measurement memory.")});
    parser.addOption({QStringLiteral("records"), QStringLiteral("Records in the second memory block (default 60)."), QStringLiteral("n"), QStringLiteral("60")});
    parser.addOption({QStringLiteral("replay"), QStringLiteral("Answer with the replies recorded in a traffic log of the program, by request."), QStringLiteral("trafficlog")});
    parser.addOption({QStringLiteral("fault"), QStringLiteral("Fault for the next requests: silence:N, badsum:N, error:N, garbage:N, noise:N, split:N, trailing:N, duplicate:N, truncate:N, delay:MS, close."), QStringLiteral("fault")});
    parser.process(app);

    // a replayed log answers by itself: memory and instrument faults would silently do nothing
    std::optional<Sim::TrafficReplay> replay;
    if (parser.isSet(QStringLiteral("replay"))) {
        for (const char *other : {"empty", "records", "fault"}) {
            if (parser.isSet(QString::fromLatin1(other))) {
                std::fprintf(stderr, "qt8800-sim: --replay cannot be combined with --%s\n", other);
                return 2;
            }
        }
        const QString path = parser.value(QStringLiteral("replay"));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "qt8800-sim: cannot read %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            return 2;
        }
        QString error;
        QStringList warnings;
        replay = Sim::TrafficReplay::Parse(file.readAll(), &error, &warnings);
        for (const QString &warning : warnings)
            std::fprintf(stderr, "qt8800-sim: %s: %s\n", qPrintable(path), qPrintable(warning));
        if (!replay) {
            std::fprintf(stderr, "qt8800-sim: %s: %s\n", qPrintable(path), qPrintable(error));
            return 2;
        }
        std::fprintf(stderr, "qt8800-sim: replaying %d exchanges of %d different requests\n", replay->exchangeCount(),
                     replay->requestCount());
    }

    Sim::Instrument instrument;
    if (!replay && !parser.isSet(QStringLiteral("empty")))
        instrument.fillDemoMemory(std::clamp(parser.value(QStringLiteral("records")).toInt(), 0, 1000000));
    for (const QString &fault : parser.values(QStringLiteral("fault"))) {
        if (!instrument.faults.parse(fault)) {
            std::fprintf(stderr, "qt8800-sim: unknown fault '%s'\n", qPrintable(fault));
            return 2;
        }
    }
    bool ok = false;
    const int baud = parser.value(QStringLiteral("baud")).toInt(&ok);
    if (!ok || baud <= 0) {
        std::fprintf(stderr, "qt8800-sim: bad baud rate\n");
        return 2;
    }

    // before the device is announced: whoever reads it may stop us at once
    Model::StopSignals stopSignals;
    if (!stopSignals.isValid())
        return 1;
    QObject::connect(&stopSignals, &Model::StopSignals::stopRequested, &app, &QCoreApplication::quit);

    Sim::PtyServer server(instrument);
    server.setBaud(baud);
    server.setPacing(parser.isSet(QStringLiteral("pace")));
    if (replay) {
        server.setResponder([&replay](const QByteArray &request) {
            // the technician sees where the program asks what the customer's never did
            if (!replay->knows(request))
                std::fprintf(stderr, "qt8800-sim: not in the log, no answer: %s\n",
                             Sim::TrafficReplay::Unescape(request).trimmed().constData());
            return replay->handle(request);
        });
    }
    const QString device = server.start(parser.value(QStringLiteral("link")));
    if (device.isEmpty()) {
        std::fprintf(stderr, "qt8800-sim: cannot open a pseudo-terminal or create the link\n");
        return 1;
    }
    std::printf("%s\n", qPrintable(device));
    std::fflush(stdout);

    const int rc = app.exec();
    server.stop();
    return rc;
}
