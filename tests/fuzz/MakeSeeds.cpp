// Writes the fuzz targets' seed corpora: replies of the stand-in instrument as they arrive over
// a pseudo-terminal, and the files the program writes. Run it when the protocol or the file
// formats change: fuzz_make_seeds tests/fuzz/corpus
#include "FuzzSupport.h"

#include "files/ConfigFiles.h"
#include "files/ParameterFile.h"
#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/TelegramCodec.h"
#include "sim/PtyServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

QString g_root;

void seed(const char *target, const QString &name, const QByteArray &bytes)
{
    const QString dir = g_root + u'/' + QLatin1StringView(target);
    QDir().mkpath(dir);
    QFile file(dir + u'/' + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// One request on the raw line; everything that arrives until the line has been quiet a while.
// The stand-in serves from this thread's event loop, so the wait runs one.
QByteArray exchange(QSerialPort &port, const QByteArray &request)
{
    QByteArray received;
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection = QObject::connect(&port, &QSerialPort::readyRead, &loop, [&] {
        received += port.readAll();
        quiet.start(150);
    });
    port.write(Link::AppendChecksum(request));
    quiet.start(500);
    loop.exec();
    QObject::disconnect(connection);
    return received;
}

// The first line of what arrived.
QByteArray firstTelegram(const QByteArray &bytes)
{
    return bytes.left(bytes.indexOf('\n') + 1);
}

struct NoView : Model::FieldView
{
    Model::FieldSlots &table;
    explicit NoView(Model::FieldSlots &t) : table(t) { t.setView(this); }
    void Dat2Form(Model::Field, Model::Slot) override {}
    void Form2Dat(Model::Field, Model::Slot) override {}
};

// The configuration read from the instrument, then written as the program writes it.
void configurationSeeds(const QString &work)
{
    Link::Tables tables;
    Link::BuildTables(tables);
    NoView view(tables.Fields);
    Fuzz::NullSink sink;
    Link::SerialLink serial(sink, nullptr);
    serial.setBaseDir(work);
    if (!serial.SetPortParams(38400, QStringLiteral("n"), 8, 1) || !serial.OpenPort(QStringLiteral("COM1"))) {
        std::fprintf(stderr, "cannot open the stand-in: %s\n", qPrintable(serial.LastPortError()));
        std::exit(1);
    }
    Link::ProtocolEngine engine(tables, serial, sink);
    QObject::connect(&serial, &Link::SerialLink::telegramReceived, &engine, &Link::ProtocolEngine::RunProtocolEngine);
    QEventLoop loop;
    QObject::connect(&engine, &Link::ProtocolEngine::queueFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    engine.ReadConfigFromDevice();
    loop.exec();
    serial.OpenPort(QString());

    Model::FieldSlots &fields = tables.Fields;
    for (const Model::TVComp &info : Model::FieldTable)
        fields[info.id].FileText = fields[info.id].TelegramText;
    // what the page holds for the values the instrument does not report
    const QHash<QString, QString> page{{"txtAnaName", "Druck"},     {"txtAnaUnit", "hPa"},  {"txtAnaValZero", "0"},
                                       {"txtAnaVal10", "1000,5"},  {"txtScaleZero", "0"}, {"txtScaleEnd", "10"},
                                       {"txtScaleParts", "5"},      {"txtValueScaleZero", "-2.5"},
                                       {"txtValueScaleEnd", "2.5"}};
    for (const Model::TVComp &info : Model::FieldTable)
        if (page.contains(Model::controlName(info.id)))
            fields[info.id].FileText = page.value(Model::controlName(info.id));

    Files::ParamRecord param;
    Files::ConfigFileHooks hooks;
    hooks.Now = [] { return QDateTime(QDate(2026, 11, 30), QTime(9, 15, 0)); };
    Files::ConfigFiles files(fields, param, work, hooks);
    auto write = [&](const char *name, int language) {
        param.ProgramLanguage = language;
        const QString path = work + u'/' + QLatin1StringView(name);
        QFile file(path);
        if (!files.WriteConfigFile(path) || !file.open(QIODevice::ReadOnly))
            std::exit(1);
        seed("config_file", QLatin1StringView(name), file.readAll());
    };
    write("german.QT8", 0);
    write("english.QT8", 1);
    // a name with an umlaut goes out in Windows-1252
    fields[Model::Field::AnalogName].FileText = QStringLiteral("Lüftung");
    write("QT8800.LCF", 0);

    // the parameter file, with defaults and with settings a user made
    Files::ParamRecord defaults;
    Files::SelectionRecord selection;
    Files::SetParamDefaults(defaults, work);
    Files::SetSelectionDefaults(selection);
    auto writeParam = [&](const char *name, Files::ParamRecord p, Files::SelectionRecord s) {
        if (!Files::WriteParameterFile(work, p, s))
            std::exit(1);
        QFile file(Files::ParameterFileName(work));
        if (!file.open(QIODevice::ReadOnly))
            std::exit(1);
        seed("parameter_file", QLatin1StringView(name), file.readAll());
    };
    defaults.MeasureDir = QStringLiteral("/home/user/Messdaten");
    defaults.ConfigDir = QStringLiteral("/home/user/Konfiguration");
    defaults.LogDir = QStringLiteral("/home/user/Protokolle");
    writeParam("defaults.dat", defaults, selection);
    Files::ParamRecord user = defaults;
    user.PortIndex = 2;
    user.ProgramLanguage = 1;
    user.TemplateFile = QStringLiteral("/home/user/Vorlagen/QT8800Vorlage.xlsx");
    user.LogTraffic = user.CyclicStatus = user.TwoColumns = user.RememberConfig = true;
    user.PageIndex = 3;
    user.DecimalSepIndex = 1;
    user.StatusInterval = 2.5f;
    user.MeasureInterval = 0.2f;
    user.WindowTop = 40;
    user.WindowLeft = 100;
    Files::SelectionRecord picked = selection;
    picked.BaudIndex = 3;
    picked.AskOnClose = true;
    for (int i = 0; i < 12; i += 2)
        picked.FieldSelection[std::size_t(i)] = true;
    writeParam("settings.dat", user, picked);
}

void telegramSeeds(QSerialPort &port, Sim::Instrument &instrument)
{
    using Link::TelegramToText;
    auto text = [&](const QByteArray &telegram) { return Link::CheckReply(telegram).text.toLatin1(); };

    // every reply of a configuration read, and the live values
    for (const char *order : {"GIN", "GST", "GDA", "GAO", "GZP", "GAT", "GDO", "GMT", "GDM", "GRA", "GLA", "GSM",
                              "GTI", "GIP", "GMM", "GAE", "GPT", "GTM", "GAM"}) {
        const QByteArray reply = firstTelegram(exchange(port, QByteArray(order) + ';'));
        seed("reply_check", QString::fromLatin1(reply.left(3)), reply);
    }
    const QByteArray tin = firstTelegram(exchange(port, "GIN;"));
    const QByteArray tda = firstTelegram(exchange(port, "GDA;"));
    const QByteArray tst = firstTelegram(exchange(port, "GST;"));
    seed("reply_check", "SRA-echo", firstTelegram(exchange(port, "SRA;7;")));
    seed("reply_check", "SSM-echo", firstTelegram(exchange(port, "SSM;24.12;08:30:00;")));
    seed("reply_check", "CME", firstTelegram(exchange(port, "CME;")));
    instrument.fillDemoMemory(6);
    instrument.blocks[1].records[2].garbled = true;
    instrument.faults.errorTelegram = 1;
    seed("reply_check", "refused", firstTelegram(exchange(port, "GIN;")));
    instrument.faults.badChecksum = 1;
    seed("reply_check", "bad-checksum", firstTelegram(exchange(port, "GRA;")));

    // live values: with the analogue input and sensors, one of them missing, and without
    const QByteArray tam = firstTelegram(exchange(port, "GAM;"));
    seed("current_values", "TAM", text(tam));
    instrument.liveSensors = {{0, 45.6}, {2, 999.0}, {8, 61.4}, {16, 21.5}, {31, 99.9}};
    instrument.polarity = 1;
    seed("current_values", "TAM-sensors", text(firstTelegram(exchange(port, "GAM;"))));
    instrument.anaIn = 0;
    instrument.liveSensors.clear();
    seed("current_values", "TAM-ions-only", text(firstTelegram(exchange(port, "GAM;"))));
    instrument.anaIn = 1;
    instrument.polarity = 0;

    // the directory and the records of each block
    QList<QByteArray> headers{firstTelegram(exchange(port, "GFH;"))};
    while (headers.size() < 8 && !text(headers.last()).startsWith("TNH;0;"))
        headers << firstTelegram(exchange(port, "GNH;"));
    seed("reply_check", "TFH", headers.first());
    for (int i = 0; i < headers.size(); ++i)
        seed("block_header", QStringLiteral("header-%1").arg(i), text(headers[i]));
    seed("receive_buffer", "directory", headers.join());

    const char *options[] = {"0", "2;-5;100", "12;0;10"};
    for (int block = 1; block <= 3; ++block) {
        const QByteArray header = text(headers[block - 1]);
        QList<QByteArray> records{firstTelegram(exchange(port, "GFM;" + QByteArray::number(block) + ';'))};
        for (int i = 0; i < 6; ++i)
            records << firstTelegram(exchange(port, "GNM;" + QByteArray::number(block) + ';'));
        if (block == 1)
            seed("reply_check", "TFM", records.first());
        for (int i : {0, 2, 5, 6}) {
            seed("measure_record", QStringLiteral("block%1-record%2").arg(block).arg(i),
                 header + '\n' + text(records[i]) + '\n' + options[block - 1]);
        }
        // the value tokens one by one
        if (block >= 2) {
            const QList<QByteArray> tokens = text(records[1]).split(';');
            for (int t = 7; t < tokens.size() - 1; ++t)
                seed("sensor_token", QStringLiteral("block%1-token%2").arg(block).arg(t), tokens[t]);
        }
    }
    const QList<QByteArray> live = text(tam).split(';');
    for (int t = 4; t < live.size() - 1; ++t)
        seed("sensor_token", QStringLiteral("live-token%1").arg(t), live[t]);

    // token splitting as the program uses it
    seed("get_token", "reply", ";\n" + text(tin));
    seed("get_token", "status", ";\n" + text(tst));
    seed("get_token", "date", ".\n" + text(tda).split(';').value(1));
    seed("get_token", "time", ":\n" + text(tda).split(';').value(2));
    seed("get_token", "header", ";\n" + text(headers.first()));

    // whole telegrams and disturbed lines, byte by byte
    seed("receive_buffer", "TIN", tin);
    instrument.faults.noise = 1;
    seed("receive_buffer", "noise", exchange(port, "GIN;"));
    instrument.faults.garbage = 1;
    seed("receive_buffer", "garbage", exchange(port, "GRA;"));
    instrument.faults.trailing = 1;
    seed("receive_buffer", "trailing", exchange(port, "GAE;"));
    instrument.faults.duplicate = 1;
    seed("receive_buffer", "duplicate", exchange(port, "GST;"));
    instrument.faults.truncate = 1;
    seed("receive_buffer", "truncated", exchange(port, "GIN;"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds CORPUS-DIR\n");
        return 2;
    }
    g_root = QFile::decodeName(argv[1]);
    QTemporaryDir work;
    Sim::Instrument instrument;
    // a fixed clock, so the seeds come out the same each time
    instrument.now = [] { return QDateTime(QDate(2026, 11, 30), QTime(9, 15, 0)); };
    instrument.fillDemoMemory(6);
    Sim::PtyServer server(instrument);
    const QString device = server.start(work.filePath(QStringLiteral("COM1")));
    if (device.isEmpty()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    configurationSeeds(work.path());

    QSerialPort port(device);
    port.setBaudRate(38400);
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(device));
        return 1;
    }
    telegramSeeds(port, instrument);
    std::printf("seeds written to %s\n", qPrintable(g_root));
    return 0;
}
