// Reading a block of records into text rows and into a workbook with its chart, saved to disk:
// the reader on the real protocol engine, with the stand-in's replies played back at once, so
// what is measured is the program's own cost per record, not the serial line. A text read goes
// through the measurement page into the text window, as in the program, before it is saved.
#include "app/MemoryDataPage.h"
#include "app/TFormMeasure.h"
#include "app/TextRowModel.h"
#include "files/ParamRecord.h"
#include "link/ProtocolEngine.h"
#include "link/StatusSink.h"
#include "link/TelegramCodec.h"
#include "measure/MemoryReader.h"
#include "sim/Instrument.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <deque>

namespace {

struct QuietSink : Link::StatusSink
{
    int errors = 0;
    void StatusMessage(const QString &, bool error) override { errors += error ? 1 : 0; }
};

// Answers every request at once: with the stand-in's live reply until `replay` is filled,
// then with the recorded replies in order, so the stand-in's own cost stays out of the clock.
struct ReplayPort : Link::Port
{
    Sim::Instrument &instrument;
    std::deque<QByteArray> replay;
    std::optional<QByteArray> pending;
    explicit ReplayPort(Sim::Instrument &i) : instrument(i) {}
    bool PortReady() const override { return true; }
    bool SendText(const QByteArray &telegram) override
    {
        if (replay.empty()) {
            pending = instrument.handle(telegram);
        } else {
            pending = std::move(replay.front());
            replay.pop_front();
        }
        return true;
    }
    std::optional<QByteArray> FetchTelegram() override
    {
        auto out = pending;
        pending.reset();
        return out;
    }
};

double cpuSeconds()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double peakRssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

struct Timing
{
    double wall = -1;   // seconds from the start of the read until the file is saved
    double cpu = -1;    // the processor time of the same: what the machine's other work does not change
};

// One read of block 2 with `records` records, every field taken; a workbook read fills `templateFile`.
Timing readAndSave(int records, bool text, const QString &path, const QString &templateFile = {})
{
    Sim::Instrument instrument;
    instrument.fillDemoMemory(records);
    Link::Tables tables;
    Link::BuildTables(tables);
    QuietSink sink;
    ReplayPort port(instrument);
    Link::ProtocolEngine engine(tables, port, sink);
    Measure::MemoryReader reader(engine);
    engine.setAbandonBlockRead([&] { reader.AbandonBlockRead(); });
    Measure::ReadOptions options;
    options.formats.decimalSep = u',';
    options.serialNumber = instrument.serial;
    options.analogName = QStringLiteral("Druck");
    options.analogUnit = QStringLiteral("hPa");
    options.templateFile = templateFile;
    reader.setOptions(options);
    // the page shows the text window when the read starts; the window shows every row
    Files::ParamRecord param;
    Files::SelectionRecord selection;
    std::unique_ptr<MemoryDataPage> page;
    if (text)
        page = std::make_unique<MemoryDataPage>(reader, param, selection, MemoryDialogs{}, [&] { return options; });

    reader.LoadDirectory();
    engine.RunProtocolEngine();
    if (!reader.BuildFieldList(1))
        return {};
    const QList<bool> marks(int(reader.fields().size()), true);
    port.replay.push_back(instrument.handle(Link::ComposeRequest(tables, Link::Order::GFM, QStringLiteral("2"))));
    const QByteArray next = Link::ComposeRequest(tables, Link::Order::GNM, QStringLiteral("2"));
    for (int i = 0; i < records; ++i)
        port.replay.push_back(instrument.handle(next));

    QElapsedTimer clock;
    clock.start();
    const double cpu0 = cpuSeconds();
    if (!reader.ReadSelectedBlock(text ? static_cast<Measure::RecordSink &>(reader.textSink()) : reader.workbookSink(), QStringLiteral("2"), marks))
        return {};
    engine.RunProtocolEngine();
    if (!reader.isIdle())
        return {};
    if (page) {
        // the rows reach the memo in one batch here, as they would at its next update, and are painted
        page->FormMeasure->rowModel()->flush();
        QCoreApplication::processEvents();
        if (page->FormMeasure->rowModel()->rowCount() != records + 7)
            return {};
    }
    bool saved = false;
    if (text) {
        saved = reader.textRows().lineCount() == records + 7 && reader.SaveText(path);
    } else {
        saved = reader.sheet().RowsWritten() == records && reader.CreateChart(QStringLiteral("Benchmark"))
                && reader.SaveWorkbook(path);
    }
    if (!saved || sink.errors != 0)
        return {};
    return {double(clock.nsecsElapsed()) / 1e9, cpuSeconds() - cpu0};
}

} // namespace

int main(int argc, char **argv)
{
    // the text window needs a window system; without a display it is drawn off screen
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);           // --sim is accepted and not needed: the replies are played in process
    QTemporaryDir dir;
    constexpr int kLarge = 100000;
    constexpr int kSmall = 1000;

    const Timing text = readAndSave(kLarge, true, dir.filePath(QStringLiteral("big.csv")));
    const double rss = peakRssMb();
    if (text.wall < 0)
        return 1;
    std::printf("text_100k_s: %.3f\n", text.wall);
    std::printf("text_100k_rss_mb: %.1f\n", rss);

    const Timing sheet = readAndSave(kLarge, false, dir.filePath(QStringLiteral("big.xlsx")));
    if (sheet.wall < 0)
        return 1;
    std::printf("xlsx_100k_s: %.3f\n", sheet.wall);

    // a template with a chart sheet (a small workbook of the program's own), filled with the rows
    const QString templateFile = dir.filePath(QStringLiteral("template.xlsx"));
    const Timing filled = readAndSave(10, false, templateFile).wall < 0
                              ? Timing{}
                              : readAndSave(kLarge, false, dir.filePath(QStringLiteral("filled.xlsx")),
                                            templateFile);
    if (filled.wall < 0)
        return 1;
    std::printf("xlsx_template_100k_s: %.3f\n", filled.wall);

    // cost per record in processor time, which other work on the machine leaves alone; the
    // least of several reads of each size, so a disturbed run does not decide the ratio
    auto leastCpu = [&](int records, int runs) {
        double least = 1e9;
        for (int i = 0; i < runs; ++i) {
            const Timing t = readAndSave(records, true, dir.filePath(QStringLiteral("growth.csv")));
            if (t.wall < 0)
                return -1.0;
            least = std::min(least, t.cpu);
        }
        return least;
    };
    const double large = std::min(text.cpu, leastCpu(kLarge, 2));
    const double small = leastCpu(kSmall, 10);
    if (large < 0 || small <= 0)
        return 1;
    std::printf("per_record_growth: %.3f\n", (large / kLarge) / (small / kSmall));
    return 0;
}
