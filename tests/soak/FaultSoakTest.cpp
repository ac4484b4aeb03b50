// The main window, round after round, reads the configuration (F5), the directory and blocks to
// text and to a workbook against the stand-in instrument on a pty, while the stand-in meets
// random faults. Every record the stand-in sent whole must appear exactly once, in order, under
// its own time stamp; every other one must be reported; the queue must empty after each step;
// resident memory must not grow from round to round.
//
// SOAK_SEED picks the faults (printed, so a failing run can be repeated), SOAK_SECONDS how long
// the rounds go on (at least kMinRounds of them).
#include "app/MemoryDataPage.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "FaultDice.h"
#include "FormTestSupport.h"
#include "measure/MemoryReader.h"
#include "sim/PtyServer.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <set>

#if defined(__SANITIZE_ADDRESS__)
#define SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_ASAN 1
#endif
#endif

#ifdef SOAK_ASAN
// Freed memory waits in a quarantine of 256 MB by default before it is used again: resident
// memory would climb through the whole run and hide what the rounds themselves keep.
extern "C" const char *__asan_default_options() { return "quarantine_size_mb=16"; }
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

namespace {

constexpr int kMinRounds = 4;
constexpr int kIdleCapMs = 120000;

// The main window with a tap on its status line: every message of a step, in order.
class SoakForm : public TForm1
{
public:
    using TForm1::TForm1;
    QStringList messages;       // "E:" for errors, "I:" for the rest
    void StatusMessage(const QString &text, bool error) override
    {
        messages << (error ? QStringLiteral("E:") : QStringLiteral("I:")) + text;
        TForm1::StatusMessage(text, error);
    }
};

// bytes the program holds on the heap, apart from what the allocator keeps in reserve
long heapInUseKb()
{
#if defined(__GLIBC__) && !defined(SOAK_ASAN)
    return long(mallinfo2().uordblks / 1024);
#else
    return 0;
#endif
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Distinct values in every record, so a row under another record's time stamp shows.
Sim::Block makeBlock(int number, int records, int intervalSeconds, const QDateTime &start)
{
    Sim::Block b;
    b.number = number;
    b.start = start;
    b.intervalSeconds = intervalSeconds;
    for (int i = 0; i < records; ++i) {
        Sim::Record r;
        r.ionAvg = 1000 * number + 13 * i;
        r.ionMin = r.ionAvg - 50 - i;
        r.ionMax = r.ionAvg + 60 + i;
        r.anaMin = 1.0 + 0.013 * i;
        r.anaAvg = 2.0 + 0.017 * i;
        r.anaMax = 3.0 + 0.019 * i;
        b.records.push_back(r);
    }
    return b;
}

struct Row
{
    QDateTime when;
    QStringList values;
};

bool isFaulty(const Sim::Served &s)
{
    return s.faults.contains(QLatin1String("badsum")) || s.faults.contains(QLatin1String("noise"))
           || s.faults.contains(QLatin1String("truncate"));
}

// whole, but behind a line of junk that the program may take for the answer
bool isDisturbed(const Sim::Served &s)
{
    return s.answered && !s.refused && !s.intact && !isFaulty(s);
}

} // namespace

class FaultSoakTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QTemporaryDir m_lockDir;
    Sim::Instrument m_instrument;
    std::unique_ptr<Sim::PtyServer> m_server;
    std::unique_ptr<SoakForm> m_form;
    std::unique_ptr<FaultDice> m_dice;
    MemoryDataPage *m_page = nullptr;
    std::vector<Sim::Served> m_served;          // this step's requests, as the stand-in saw them
    std::optional<QString> m_chosenFile;
    QMessageBox::StandardButton m_answer = QMessageBox::No;
    QRandomGenerator m_values;
    quint32 m_seed = 8800;
    int m_seconds = 75;
    int m_round = 0;
    QString m_step;
    std::size_t m_largestQueue = 0;

    // figures for the closing line
    int m_recordsChecked = 0, m_rowsWritten = 0, m_recordsReported = 0, m_readsComplete = 0, m_readsEnded = 0,
        m_directoryLoads = 0, m_configReads = 0, m_reopened = 0, m_readsSkipped = 0;

    QString link() const { return m_dir.path() + QStringLiteral("/COM1"); }
    Measure::MemoryReader &reader() { return m_form->memoryReader(); }

    void beginStep(const QString &step)
    {
        m_step = step;
        m_served.clear();
        m_form->messages.clear();
    }
    QString where() const
    {
        return QStringLiteral("seed %1, round %2, %3: ").arg(m_seed).arg(m_round).arg(m_step);
    }
    QString journal() const
    {
        QStringList served;
        for (const Sim::Served &s : m_served)
            served << QStringLiteral("%1 %2/%3%4%5").arg(QString::fromLatin1(s.code)).arg(s.block).arg(s.record)
                          .arg(s.faults.isEmpty() ? QString() : u' ' + s.faults.join(u'+'))
                          .arg(s.intact ? QString() : QStringLiteral(" (not intact)"));
        return QStringLiteral("\n  served: ") + served.join(QStringLiteral(", ")) + QStringLiteral("\n  messages: ")
               + m_form->messages.join(QStringLiteral("\n            "));
    }
    QStringList errors(bool records) const
    {
        QStringList out;
        for (const QString &m : m_form->messages)
            if (m.startsWith(QLatin1String("E:")) && m.contains(QLatin1String("Record: ")) == records)
                out << m.mid(2);
        return out;
    }

    // a plain event loop: qWaitFor sleeps between its rounds, which would slow every exchange
    bool waitIdle()
    {
        auto done = [this] { return m_form->engine().isIdle() && reader().isIdle(); };
        QEventLoop loop;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, &loop, [&] {
            m_largestQueue = std::max(m_largestQueue, m_form->engine().queue().size());
            if (done() || waited.elapsed() > kIdleCapMs)
                loop.quit();
        });
        poll.start(20);
        if (!done())
            loop.exec();
        return done() && m_form->engine().queue().empty();
    }

    // a closed line comes back under the same name; the user picks the port again
    bool reopenIfClosed()
    {
        if (m_server->isOpen())
            return true;
        if (m_server->start(link()).isEmpty())
            return false;
        ++m_reopened;
        QMetaObject::invokeMethod(m_form->tsComPort, "onChanged");
        return m_form->serial().PortReady();
    }

    int gridRowOf(int blockNumber) const
    {
        QTableWidget *grid = m_page->sgDirectory;
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 0) && grid->item(r, 0)->text() == QString::number(blockNumber))
                return r;
        return -1;
    }
    const Sim::Block *block(int number) const
    {
        for (const Sim::Block &b : m_instrument.blocks)
            if (b.number == number)
                return &b;
        return nullptr;
    }

    QString configStep();
    QString directoryStep(bool *complete);
    QString readStep(bool text, int blockNumber);
    QString checkRecords(const Sim::Block &b, const QList<Row> &rows);
    QString checkRowValues(const Sim::Block &b, int index, const Row &row) const;
    QList<Row> textRows();
    QList<Row> sheetRows();

private Q_SLOTS:
    void initTestCase();
    void roundsUnderRandomFaults();
    void cleanupTestCase();
};

void FaultSoakTest::initTestCase()
{
    bool ok = false;
    if (const quint32 seed = qEnvironmentVariable("SOAK_SEED").toUInt(&ok); ok)
        m_seed = seed;
    if (const int seconds = qEnvironmentVariableIntValue("SOAK_SECONDS", &ok); ok && seconds > 0)
        m_seconds = seconds;
    std::printf("soak: seed %u (SOAK_SEED), %d seconds (SOAK_SECONDS)%s\n", m_seed, m_seconds,
                kSanitized ? ", sanitized build" : "");
    std::fflush(stdout);
    m_dice = std::make_unique<FaultDice>(m_seed, 0.08);
    m_values.seed(m_seed ^ 0x5a5a5a5au);

    // ions only with an alarm and an unreadable record; analogue input and three climate
    // sensors, negative ions, another unreadable one; four sensors of the high masks with
    // alternating polarity
    const QDateTime day(QDate(2026, 11, 30), QTime(9, 0));
    Sim::Block ions = makeBlock(1, 30, 600, day);
    ions.records[5].alarm = true;
    ions.records[17].garbled = true;
    Sim::Block climate = makeBlock(2, 80, 300, day.addDays(1).addSecs(900));
    climate.analog = 1;
    climate.humLow = 5;
    climate.tempLow = 1;
    climate.overwriteCount = 3;
    climate.records[40].garbled = true;
    for (std::size_t i = 0; i < climate.records.size(); ++i) {
        climate.records[i].negative = true;
        climate.records[i].sensors = {40.0 + 0.1 * double(i), 60.0 - 0.1 * double(i), 15.0 + 0.2 * double(i)};
    }
    Sim::Block sensors = makeBlock(3, 20, 3600, QDateTime(QDate(2026, 12, 2), QTime(14, 0)));
    sensors.humLow = 5;
    sensors.humHigh = 1;
    sensors.tempHigh = 128;
    for (std::size_t i = 0; i < sensors.records.size(); ++i) {
        sensors.records[i].negative = i % 2 == 1;
        sensors.records[i].sensors = {30.0 + double(i), 55.5 - double(i) / 2, 61.4, 18.5 + 0.3 * double(i)};
    }
    m_instrument.blocks = {ions, climate, sensors};

    m_server = std::make_unique<Sim::PtyServer>(m_instrument);
    m_server->setSeed(m_seed);
    if (m_server->start(link()).isEmpty())
        QSKIP("no pseudo-terminal available");
    connect(m_server.get(), &Sim::PtyServer::delivered, this, [this](const Sim::Served &served) {
        m_served.push_back(served);
        m_dice->tally(served);
        m_dice->arm(m_instrument.faults);
    });

    StartOptions o;
    o.baseDir = m_dir.path();
    o.lockDir = m_lockDir.path();
    o.ask = [](const QString &) { return true; };
    o.notify = [](const QString &) {};
    o.chooseFile = [this](const Files::FileDialogSetup &, bool) { return m_chosenFile; };
    m_form = std::make_unique<SoakForm>(o);
    m_form->applySystemFormats(QLocale(QLocale::German, QLocale::Germany));
    m_form->param().MeasureDir = m_dir.path();
    m_page = m_form->memoryPage();
    QVERIFY(m_page);
    m_page->dialogs().ask = [this](const QString &, QMessageBox::StandardButtons) { return m_answer; };
    m_page->dialogs().openExternal = [](const QString &) { return true; };
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QApplication::setActiveWindow(m_form.get());
    m_form->pages()->setCurrentWidget(m_form->TabMemoryData);
    QVERIFY(m_form->serial().PortReady());
    QVERIFY(waitIdle());
}

QString FaultSoakTest::configStep()
{
    Sim::Instrument &in = m_instrument;
    in.range = int(m_values.bounded(10));
    in.duration = QStringLiteral("%1:%2").arg(m_values.bounded(1, 100), 4, 10, QChar(u'0'))
                      .arg(m_values.bounded(60), 2, 10, QChar(u'0'));
    in.measInt = QStringLiteral("00:%1:%2").arg(m_values.bounded(6), 2, 10, QChar(u'0'))
                     .arg(m_values.bounded(10, 60), 2, 10, QChar(u'0'));
    in.polInter = QStringLiteral("00:%1:00").arg(m_values.bounded(1, 60), 2, 10, QChar(u'0'));
    beginStep(QStringLiteral("configuration (F5)"));
    QApplication::setActiveWindow(m_form.get());      // back from the windows of the last reads
    QTest::keyClick(m_form.get(), Qt::Key_F5);
    if (!m_form->messages.contains(QStringLiteral("I:Konfiguration wird aus QT 8800 gelesen")))
        return QStringLiteral("F5 did not start the read");
    if (!waitIdle())
        return QStringLiteral("the queue did not empty");
    ++m_configReads;

    auto intact = [this](const char *code) {
        return std::any_of(m_served.begin(), m_served.end(),
                           [code](const Sim::Served &s) { return s.code == code && s.intact && !s.refused; });
    };
    const struct
    {
        const char *code;
        QString shown, sent;
    } values[] = {{"GRA", QString::number(m_form->tsRange->Position()), QString::number(in.range)},
                  {"GDM", m_form->iseDuration->StringValue(), in.duration},
                  {"GTI", m_form->iseMeasInt->StringValue(), in.measInt},
                  {"GAT", m_form->isePolInter->StringValue(), in.polInter}};
    for (const auto &v : values)
        if (intact(v.code) && v.shown != v.sent)
            return QStringLiteral("%1 was answered whole with %2, the window shows %3").arg(v.code, v.sent, v.shown);
    // a value that never came whole is owed a message, or its control shows it did not convert
    for (const char *code : {"GIN", "GST", "GDA", "GAO", "GZP", "GAT", "GDO", "GMT", "GDM", "GRA", "GLA", "GSM",
                             "GTI", "GIP", "GMM", "GAE", "GPT", "GTM"})
        if (!intact(code) && errors(false).isEmpty())
            return QStringLiteral("no whole reply to %1 and no message").arg(QLatin1String(code));
    return {};
}

QString FaultSoakTest::directoryStep(bool *complete)
{
    beginStep(QStringLiteral("directory"));
    QTest::mouseClick(m_page->btnLoadDirectory, Qt::LeftButton);
    if (!waitIdle())
        return QStringLiteral("the queue did not empty");
    ++m_directoryLoads;

    std::set<int> intact, maybe, served, grid;
    int damagedEnds = 0;
    bool nextAsked = false;
    for (const Sim::Served &s : m_served) {
        if (s.code != "GFH" && s.code != "GNH")
            continue;
        nextAsked = nextAsked || s.code == "GNH";
        if (s.block > 0) {
            served.insert(s.block);
            if (s.intact && !s.refused)
                intact.insert(s.block);
            if ((s.intact && !s.refused) || isDisturbed(s))
                maybe.insert(s.block);
        } else if (s.code == "GNH" && isFaulty(s)) {
            ++damagedEnds;
        }
    }
    QTableWidget *table = m_page->sgDirectory;
    int previous = 0;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString number = table->item(r, 0) ? table->item(r, 0)->text() : QString();
        if (number.isEmpty())
            continue;
        const Sim::Block *b = block(number.toInt());
        if (!b || b->number <= previous || !maybe.count(b->number))
            return QStringLiteral("grid row %1 shows block %2, not sent whole or out of order").arg(r).arg(number);
        previous = b->number;
        grid.insert(b->number);
        const QStringList expected{number, b->start.toString(QStringLiteral("dd.MM.yyyy")),
                                   b->start.toString(QStringLiteral("HH:mm:00"))};
        for (int c = 0; c < expected.size(); ++c)
            if (table->item(r, c)->text() != expected[c])
                return QStringLiteral("grid row %1 column %2 shows %3, sent %4").arg(r).arg(c)
                    .arg(table->item(r, c)->text(), expected[c]);
    }
    for (int number : intact)
        if (!grid.count(number))
            return QStringLiteral("block %1 was sent whole but is not in the grid").arg(number);
    // every header sent and not shown is reported, once; the first one by the engine when it
    // never came readable (then no GNH followed)
    std::size_t lost = 0;
    for (int number : served)
        if (!grid.count(number) && (nextAsked || number != m_instrument.blocks.front().number))
            ++lost;
    const qsizetype reports = errors(true).size();
    if (reports != qsizetype(lost) + damagedEnds)
        return QStringLiteral("%1 headers lost, %2 damaged end marks, but %3 reports").arg(lost).arg(damagedEnds)
            .arg(reports);
    if (!m_form->messages.contains(QStringLiteral("I:Messwertverzeichnis ist eingelesen.")) && errors(false).isEmpty())
        return QStringLiteral("the directory read stopped without a message");
    *complete = grid.size() == m_instrument.blocks.size();
    return {};
}

QList<Row> FaultSoakTest::textRows()
{
    static const QRegularExpression dated(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4};"));
    QList<Row> rows;
    const Measure::TextRows &text = reader().textRows();
    for (int i = 0; i < text.lineCount(); ++i) {
        const QString line = text.line(i);
        if (!dated.match(line).hasMatch())
            continue;
        const QStringList cells = line.split(u';');
        rows.push_back({QDateTime::fromString(cells[0] + u' ' + cells[1], QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                        cells.mid(2)});
    }
    return rows;
}

QList<Row> FaultSoakTest::sheetRows()
{
    static const QRegularExpression dated(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}$"));
    QList<Row> rows;
    const Measure::Workbook &book = reader().sheet().workbook();
    for (int r = 1; r <= book.lastRow(); ++r) {
        if (!dated.match(book.cellText(r, 1)).hasMatch())
            continue;
        Row row{QDateTime::fromString(book.cellText(r, 1) + u' ' + book.cellText(r, 2),
                                      QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                {}};
        for (int c = 3; book.cell(r, c).type != Measure::Workbook::Cell::Empty; ++c)
            row.values << book.cellText(r, c);
        rows.push_back(row);
    }
    return rows;
}

QString FaultSoakTest::checkRowValues(const Sim::Block &b, int index, const Row &row) const
{
    const Sim::Record &r = b.records[std::size_t(index)];
    const double sign = r.negative ? -1 : 1;
    std::vector<std::pair<double, double>> expected{
        {sign * r.ionMin, 0.5}, {sign * r.ionAvg, 0.5}, {sign * r.ionMax, 0.5}};
    if (b.analog == 1)
        for (double v : {r.anaMin, r.anaAvg, r.anaMax})
            expected.push_back({v, 0.0006});
    for (double v : r.sensors)
        expected.push_back({v, 0.051});
    if (row.values.size() != qsizetype(expected.size()))
        return QStringLiteral("%1 values, expected %2").arg(row.values.size()).arg(expected.size());
    for (std::size_t c = 0; c < expected.size(); ++c) {
        bool ok = false;
        const double value = QString(row.values[qsizetype(c)]).replace(u',', u'.').trimmed().toDouble(&ok);
        if (!ok || std::abs(value - expected[c].first) > expected[c].second)
            return QStringLiteral("value %1 is %2, record %3 holds %4").arg(c).arg(row.values[qsizetype(c)])
                .arg(index).arg(expected[c].first);
    }
    return {};
}

QString FaultSoakTest::checkRecords(const Sim::Block &b, const QList<Row> &rows)
{
    // what the stand-in sent of this block: whole, whole behind junk, or spoiled
    std::set<int> intact, maybe, served, written;
    int damagedEnds = 0;
    bool nextAsked = false;     // a GNM went out: the reader had the first record in hand
    for (const Sim::Served &s : m_served) {
        if (s.code != "GFM" && s.code != "GNM")
            continue;
        nextAsked = nextAsked || s.code == "GNM";
        if (s.record >= 0 && s.block == b.number) {
            served.insert(s.record);
            const bool readable = b.records[std::size_t(s.record)].garbled == false;
            if (s.intact && !s.refused && readable)
                intact.insert(s.record);
            if (((s.intact && !s.refused) || isDisturbed(s)) && readable)
                maybe.insert(s.record);
        } else if (s.code == "GNM" && s.record < 0 && isFaulty(s)) {
            ++damagedEnds;
        }
    }
    int previous = -1;
    for (const Row &row : rows) {
        // the oldest record still stored comes after those the instrument wrote over
        const qint64 secs = b.start.addSecs(qint64(b.overwriteCount) * b.intervalSeconds).secsTo(row.when);
        const int index = int(secs / b.intervalSeconds);
        if (!row.when.isValid() || secs < 0 || secs % b.intervalSeconds != 0 || index >= int(b.records.size()))
            return QStringLiteral("a row stamped %1 is off the block's grid").arg(row.when.toString());
        if (index <= previous)
            return QStringLiteral("record %1 appears again or out of order").arg(index);
        if (!maybe.count(index))
            return QStringLiteral("record %1 was written but never sent whole").arg(index);
        if (const QString wrong = checkRowValues(b, index, row); !wrong.isEmpty())
            return QStringLiteral("the row of record %1 (%2): %3").arg(index).arg(row.when.toString(), wrong);
        previous = index;
        written.insert(index);
    }
    for (int index : intact)
        if (!written.count(index))
            return QStringLiteral("record %1 was sent whole but is missing").arg(index);
    // every record sent and not written is reported once, with its reply; the first by the
    // engine alone when it never came readable (then no GNM followed)
    std::size_t lost = 0;
    for (int index : served)
        if (!written.count(index) && (nextAsked || index != 0))
            ++lost;
    const qsizetype reports = errors(true).size();
    if (reports != qsizetype(lost) + damagedEnds)
        return QStringLiteral("%1 records lost, %2 damaged end marks, but %3 reports").arg(lost).arg(damagedEnds)
            .arg(reports);
    const bool complete =
        m_form->messages.contains(QStringLiteral("I:Alle Sätze aus Block %1 gelesen.").arg(b.number));
    if (complete && served.size() != b.records.size())
        return QStringLiteral("the read ended as complete after %1 of %2 records").arg(served.size())
            .arg(b.records.size());
    if (!complete && errors(false).isEmpty())
        return QStringLiteral("the read stopped without a message");
    ++(complete ? m_readsComplete : m_readsEnded);
    m_recordsChecked += int(served.size());
    m_rowsWritten += int(written.size());
    m_recordsReported += int(reports) - damagedEnds;
    return {};
}

QString FaultSoakTest::readStep(bool text, int blockNumber)
{
    const Sim::Block *b = block(blockNumber);
    const int row = gridRowOf(blockNumber);
    if (!b || row < 0) {
        ++m_readsSkipped;          // the directory never came whole this round
        return {};
    }
    // the grid is entered anew, the block's row picked and all its fields marked
    QTableWidget *grid = m_page->sgDirectory;
    m_page->btnText->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 0)).center());
    if (m_page->directoryTag() != row + 1)
        return QStringLiteral("picking block %1 did not take").arg(blockNumber);
    QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);

    beginStep(QStringLiteral("block %1 to %2").arg(blockNumber).arg(text ? "text" : "workbook"));
    m_answer = QMessageBox::No;                  // an unsaved workbook of an earlier round may go
    QTest::mouseClick(text ? m_page->btnText : m_page->btnExcel, Qt::LeftButton);
    if (!waitIdle())
        return QStringLiteral("the queue did not empty");
    if (const QString wrong = checkRecords(*b, text ? textRows() : sheetRows()); !wrong.isEmpty())
        return wrong;

    // the rows go to real files, as the user would save them
    if (text) {
        TFormMeasure *window = m_page->FormMeasure;
        const QString path = m_dir.path() + QStringLiteral("/block.csv");
        QFile::remove(path);
        m_chosenFile = path;
        QTest::mouseClick(window->btnSaveMeasure, Qt::LeftButton);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != reader().textRows().bytes())
            return QStringLiteral("the saved text file differs from the rows");
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
    } else {
        TFormEXCEL *window = m_page->FormEXCEL;
        const bool rows = reader().sheet().RowsWritten() > 0;
        if (rows)
            QTest::mouseClick(window->btnDiagramm, Qt::LeftButton);
        const QString path = m_dir.path() + QStringLiteral("/block.xlsx");
        QFile::remove(path);
        m_chosenFile = path;
        m_answer = QMessageBox::Yes;
        const bool unsaved = window->hasUnsavedWorkbook();
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
        QFile file(path);
        if (unsaved && (!file.open(QIODevice::ReadOnly) || file.read(2) != "PK"))
            return QStringLiteral("the workbook was not saved");
        if (window->isVisible())
            return QStringLiteral("the workbook window stayed open");
    }
    return {};
}

void FaultSoakTest::roundsUnderRandomFaults()
{
    QElapsedTimer clock;
    clock.start();
    std::vector<long> resident;
    auto step = [this](const QString &wrong) {
        if (!wrong.isEmpty())
            QTest::qFail(qPrintable(where() + wrong + journal()), __FILE__, __LINE__);
        return wrong.isEmpty() && reopenIfClosed();
    };
    while (m_round < kMinRounds || clock.elapsed() < qint64(m_seconds) * 1000) {
        ++m_round;
        if (!step(configStep()))
            return;
        bool complete = false;
        for (int attempt = 0; attempt < 6 && !complete; ++attempt)
            if (!step(directoryStep(&complete)))
                return;
        const int blocks = int(m_instrument.blocks.size());
        if (!step(readStep(true, m_instrument.blocks[std::size_t(m_round % blocks)].number)))
            return;
        if (!step(readStep(false, m_instrument.blocks[std::size_t((m_round + 1) % blocks)].number)))
            return;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resident.push_back(residentKb());
        const QString heap = kSanitized ? QString() : QStringLiteral(", %1 kB heap in use").arg(heapInUseKb());
        std::printf("soak: round %d at %lld s: %ld kB resident%s, %d faults so far\n", m_round,
                    clock.elapsed() / 1000, resident.back(), qPrintable(heap), m_dice->struckTotal());
        std::fflush(stdout);
    }

    QStringList faults;
    for (auto it = m_dice->struck.cbegin(); it != m_dice->struck.cend(); ++it)
        faults << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    QStringList perRound;
    for (long kb : resident)
        perRound << QString::number(kb);
    // the first rounds fill caches and pools; growth is measured from there
    const std::size_t warmUp = kSanitized ? 3 : 2;
    const long base = resident[warmUp - 1];
    const long growth = resident.back() - base;
    std::printf("soak: seed %u, %d rounds in %lld s\n"
                "soak: records checked %d: %d written, %d reported; reads %d complete, %d ended early, %d skipped\n"
                "soak: F5 reads %d, directory loads %d, line reopened %d times, largest queue %zu\n"
                "soak: faults injected %d: %s\n"
                "soak: resident kB per round: %s\n"
                "soak: growth after round %zu: %+ld kB (%+.2f %%)\n",
                m_seed, m_round, clock.elapsed() / 1000, m_recordsChecked, m_rowsWritten, m_recordsReported,
                m_readsComplete, m_readsEnded, m_readsSkipped, m_configReads, m_directoryLoads, m_reopened, m_largestQueue,
                m_dice->struckTotal(), qPrintable(faults.join(QStringLiteral(", "))),
                qPrintable(perRound.join(u' ')), warmUp, growth, 100.0 * double(growth) / double(base));
    std::fflush(stdout);

    QVERIFY2(m_dice->neverStruck().isEmpty(), qPrintable("never injected: " + m_dice->neverStruck().join(", ")));
    QVERIFY(m_readsComplete > 0);
    // Under the sanitizer resident memory swings with the quarantine's 16 MB, so that much more
    // room; still less than what keeping each round's rows, workbook or chart would add up to.
    const long allowed = kSanitized ? base / 20 + 16 * 1024 : base / 20;
    QVERIFY2(growth <= allowed, qPrintable(QStringLiteral("resident memory grew by %1 kB after round %2, allowed %3 kB")
                                               .arg(growth).arg(warmUp).arg(allowed)));
}

void FaultSoakTest::cleanupTestCase()
{
    if (!m_form)
        return;
    m_form->selection().AskOnClose = false;
    m_form->closeWithoutQuestion();
    m_form.reset();
}

int main(int argc, char *argv[])
{
    // the whole soak is one test function: Qt's watchdog would end it after five minutes
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")) {
        const qint64 seconds = qMax(75, qEnvironmentVariableIntValue("SOAK_SECONDS"));
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((seconds + 900) * 1000));
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    FaultSoakTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "FaultSoakTest.moc"
