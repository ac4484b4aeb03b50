// Reads the whole configuration of the instrument on COM1 and prints every field's telegram text.
#include "ConsoleSink.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/TrafficLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString port = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("COM1");
    const int baud = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 9600;

    ConsoleSink sink;
    Link::Tables tables;
    Link::BuildTables(tables);
    Link::TrafficLog log(sink);
    Link::SerialLink serial(sink, &log);
    serial.setBaseDir(QDir::currentPath());
    Link::ProtocolEngine engine(tables, serial, sink, &log);
    QObject::connect(&serial, &Link::SerialLink::telegramReceived, &engine, &Link::ProtocolEngine::RunProtocolEngine);
    QObject::connect(&serial, &Link::SerialLink::portError, &engine,
                     [&](const QString &text) { engine.ReportMessage(text, true); });

    if (!serial.SetPortParams(baud, QStringLiteral("n"), 8, 1) || !serial.OpenPort(port)) {
        std::fprintf(stderr, "%s\n", qPrintable(serial.LastPortError()));
        return 1;
    }
    std::printf("%s - %d\n", qPrintable(port), baud);
    engine.ReadConfigFromDevice();
    QObject::connect(&engine, &Link::ProtocolEngine::queueFinished, &app, [&] {
        for (int i = 0; i < tables.FieldTable.size(); ++i) {
            const Model::TVComp &f = tables.FieldTable[i];
            std::printf("%2d %-18s %s\n", i, qPrintable(f.ControlName.isEmpty() ? QStringLiteral("-") : f.ControlName),
                        qPrintable(f.TelegramText));
        }
        app.quit();
    });
    return app.exec();
}
