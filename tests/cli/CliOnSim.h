#pragma once

// The stand-in instrument on a pseudo-terminal in a folder of its own, the command-line program
// run in that folder, and the core layers reading the same block for comparison.
#include "CliTestSupport.h"
#include "MeasureTestSupport.h"

#include "link/ProtocolEngine.h"
#include "link/SerialLink.h"
#include "link/StatusSink.h"
#include "measure/MemoryReader.h"
#include "measure/SystemFormats.h"
#include "sim/PtyServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

struct Sink : Link::StatusSink
{
    QStringList errors;
    void StatusMessage(const QString &text, bool error) override
    {
        if (error)
            errors << text;
    }
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// What the windows take for a read when the page shows its defaults.
inline Measure::ReadOptions pageOptions(QChar decimal = u'.', bool twoColumns = false, bool skipAlarm = false)
{
    Measure::ReadOptions o;
    o.formats = Measure::SystemDisplayFormats(QLocale::system(), decimal);
    o.twoColumns = twoColumns;
    o.skipAlarm = skipAlarm;
    o.valueAtZero = QStringLiteral("0");
    o.valueAtTen = QStringLiteral("10");
    o.analogName = QStringLiteral("Extern");
    o.analogUnit = QStringLiteral("Volt");
    o.serialNumber = QStringLiteral("88000123");
    o.programVersion = QStringLiteral(QT8800_VERSION);
    return o;
}

class CliOnSim : public testing::Test
{
protected:
    QTemporaryDir dir;
    Sim::Instrument instrument;
    Sim::PtyServer server{instrument};
    QByteArrayList served;

    void SetUp() override
    {
        instrument.fillDemoMemory();
        if (server.start(dir.filePath("COM1")).isEmpty())
            GTEST_SKIP() << "no pseudo-terminal available";
        QObject::connect(&server, &Sim::PtyServer::requestServed, [this](const QByteArray &r) { served << r.left(3); });
    }

    CliRun cli(const QStringList &args, const std::function<void()> &inChild = {})
    {
        return RunCli(args, dir.path(), 30000, inChild);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // The same block read by the core layers through the same line, after the program is done.
    struct CoreRead
    {
        Link::Tables tables;
        Sink sink;
        Link::SerialLink serial{sink, nullptr};
        std::unique_ptr<Link::ProtocolEngine> engine;
        std::unique_ptr<Measure::MemoryReader> reader;
    };
    std::unique_ptr<CoreRead> coreRead(int index, bool workbook, const QList<bool> &marks,
                                       const Measure::ReadOptions &options)
    {
        auto core = std::make_unique<CoreRead>();
        Link::BuildTables(core->tables);
        core->engine = std::make_unique<Link::ProtocolEngine>(core->tables, core->serial, core->sink);
        QObject::connect(&core->serial, &Link::SerialLink::telegramReceived, core->engine.get(),
                         &Link::ProtocolEngine::RunProtocolEngine);
        core->serial.setBaseDir(dir.path());
        core->serial.SetPortParams(9600, "n", 8, 1);
        EXPECT_TRUE(core->serial.OpenPort("COM1"));
        core->reader = std::make_unique<Measure::MemoryReader>(*core->engine);
        core->engine->setAbandonBlockRead([r = core->reader.get()] { r->AbandonBlockRead(); });
        core->reader->setOptions(options);
        auto settle = [&] { return QTest::qWaitFor([&] { return core->reader->isIdle() && core->engine->isIdle(); }, 10000); };
        core->reader->LoadDirectory();
        EXPECT_TRUE(settle());
        EXPECT_TRUE(core->reader->BuildFieldList(index));
        const QString nr = QString::number(core->reader->directory()[std::size_t(index)].BlockNr);
        EXPECT_TRUE(core->reader->ReadSelectedBlock(workbook ? static_cast<Measure::RecordSink &>(core->reader->workbookSink()) : core->reader->textSink(), nr, marks));
        EXPECT_TRUE(settle());
        EXPECT_TRUE(core->reader->lastReadComplete());
        EXPECT_TRUE(core->sink.errors.isEmpty()) << qPrintable(core->sink.errors.join('\n'));
        return core;
    }
    QByteArray coreText(int index, const QList<bool> &marks, const Measure::ReadOptions &options)
    {
        return coreRead(index, false, marks, options)->reader->textRows().bytes();
    }

    void setConfig(Sim::Instrument &i)
    {
        i.range = 3;
        i.polarity = 1;
        i.polInter = "01:30:00";
        i.zeroAtStart = 1;
        i.anaOut = 1;
        i.outMeas = 3;
        i.language = 1;
        i.anaIn = 0;
        i.memEnd = 1;
        i.startDate = "24.12";
        i.startTime = "08:15:00";
        i.duration = "0100:30";
        i.measInt = "00:00:30";
        i.polAlter = 1;
        i.startMode = 1;
    }
};
