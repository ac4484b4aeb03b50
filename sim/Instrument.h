#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Sim {

struct Record
{
    bool alarm = false;
    bool negative = false;
    int ionMin = 0, ionAvg = 0, ionMax = 0;
    double anaMin = 0, anaAvg = 0, anaMax = 0;          // volts
    std::vector<double> sensors;                        // humidity sensors first, then temperature
    bool garbled = false;                               // the average ion token arrives unreadable
};

struct Block
{
    int number = 1;
    int analog = 0;
    int humLow = 0, humHigh = 0, tempLow = 0, tempHigh = 0;
    QDateTime start;                                    // seconds are not transmitted
    int intervalSeconds = 60;
    int overwriteCount = 0;
    std::vector<Record> records;
};

// Faults the next requests meet, each counted down as it is used.
struct Faults
{
    int silence = 0;        // requests that get no reply at all
    int badChecksum = 0;    // replies whose checksum is off by one
    int errorTelegram = 0;  // replies replaced by a refusal
    int garbage = 0;        // replies preceded by random bytes ending in LF
    int noise = 0;          // replies preceded by bytes without LF
    int split = 0;          // replies sent one byte at a time
    int splitDelayMs = 2;
    int trailing = 0;       // replies followed by stray bytes
    int duplicate = 0;      // replies sent twice
    int truncate = 0;       // replies cut after their first value
    int delayMs = 0;        // the next reply waits this long
    bool closeLine = false; // close the line instead of answering the next request

    // "silence:3", "badsum", "error:2", "garbage", "noise", "split:5", "trailing", "duplicate", "truncate",
    // "delay:1000", "close"
    bool parse(const QString &text);
};

// What became of one request: which record its reply carried and which faults it met, so a
// test of a faulty line knows what reached the program whole.
struct Served
{
    QByteArray code;            // the request's code, "GNM"
    int block = 0;              // GFM, GNM: the block asked for; GFH, GNH: the block whose header is sent
    int record = -1;            // GFM, GNM: index of the record the reply carries; -1 none or the end mark
    QStringList faults;         // "silence", "error", "truncate", "badsum"; the line adds its own
    bool answered = false;      // a reply went out
    bool refused = false;       // the reply is a refusal: nothing was served, the next request asks again
    bool intact = false;        // the reply left as composed, alone on the line: it can be read
};

// The instrument's side of the protocol: one reply telegram per request.
class Instrument
{
public:
    Instrument();

    // The reply to one request line (CR LF included or not); empty for no reply.
    QByteArray handle(const QByteArray &request);

    // What the last call of handle() served.
    const Served &lastServed() const { return m_served; }

    // A reply body ("TIN;1;2;3;") with checksum and CR LF.
    static QByteArray frame(const QByteArray &body);

    // state, open to tests
    QString serial = QStringLiteral("88000123");
    QString version = QStringLiteral("2.13");
    QString hours = QStringLiteral("1234");
    qint64 clockOffsetSecs = 0;
    int anaOut = 2, outMeas = 2, memEnd = 0, range = 0, language = 0, anaIn = 1;
    int polarity = 0, polAlter = 0, startMode = 0, zeroAtStart = 0;
    QString polInter = QStringLiteral("00:10:00");
    QString zi = QStringLiteral("00:00:00");
    QString duration = QStringLiteral("0024:00");
    QString startDate = QStringLiteral("01.01");
    QString startTime = QStringLiteral("12:00:00");
    QString measInt = QStringLiteral("00:01:00");
    bool recording = false;
    bool timerStarted = false;
    int alarmMask = 0;
    int memUse = 12;
    int ionValue = 1520;
    double analogVolts = 2.5;
    std::vector<std::pair<int, double>> liveSensors{{3, 45.6}, {19, 21.5}};    // address, value
    std::vector<Block> blocks;
    Faults faults;
    int requests = 0;

    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // three blocks: ions only (positive, one record in alarm); analogue input and climate
    // sensors (negative) with `records` records; sensors of the high masks with alternating
    // polarity and one record in alarm
    void fillDemoMemory(int records = 60);

private:
    QByteArray answer(const QString &code, const QStringList &values);
    QByteArray header(const char *code, std::size_t index) const;
    QByteArray record(const char *code, const Block &block, std::size_t index) const;
    QByteArray serve(const QByteArray &line);

    std::size_t m_nextHeader = 0;
    int m_readBlock = -1;
    std::size_t m_nextRecord = 0;
    Served m_served;
};

} // namespace Sim
