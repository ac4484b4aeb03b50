#pragma once

#include "link/Port.h"
#include "link/TelegramTables.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace Link {

class StatusSink;
class TrafficLog;

enum class OrderState { Composing, Ready, Sent, Done };

// One request telegram waiting for its reply.
struct TOrder
{
    OrderState state = OrderState::Composing;
    Order order = Order::GIN;
    qint64 deadline = 0;        // monotonic ms; set when sent
    int attemptsLeft = 2;
    int silentRetries = 0;      // times sent again because no reply came at all
    bool strayReply = false;    // a reply of another kind came while this job waited
    QString damage;             // GNH, GNM: the failure of a damaged reply, while a readable one may follow
    QString damagedText;        // that reply as text
    QByteArray telegram;
    QByteArray reply;
};

// Works the order queue strictly in order, one request outstanding at a time. It never
// waits: each run goes as far as it can and returns; the next telegram, the deadline timer,
// a newly queued job or the window's timer start the next run.
class ProtocolEngine : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;                     // monotonic milliseconds
    using BlockHandler = std::function<void(Reply reply, const QString &text)>;
    // A reply to GNH or GNM that came damaged, with nothing readable behind it before the
    // deadline. The instrument has moved on to the next entry when it answered, so sending the
    // request again would fetch that one in this one's place; the chain's owner reports the lost
    // entry and goes on with the next.
    using DamagedHandler = std::function<void(Order order, const QString &message, const QString &reply)>;

    // True when the owner of the GNH or GNM chain started it over from its first entry.
    using ChainRestart = std::function<bool(Order order)>;

    static constexpr qint64 kReplyTimeoutMs = 3000;
    static constexpr int kCompactAfter = 300;

    ProtocolEngine(Tables &tables, Port &port, StatusSink &sink, TrafficLog *log = nullptr,
                   Clock clock = {}, QObject *parent = nullptr);

    // An explicit parameter replaces the order's fields.
    void QueueOrder(Order order, const QString &parameter = {});
    void QueueOrdersForControl(const QObject *control);

    void RunProtocolEngine();
    bool RetryJob();

    void SetNoAnswer(bool flag);
    int NoAnswerCount() const { return m_noAnswerCount; }
    void setNoAnswerCount(int count) { m_noAnswerCount = count; }

    void ReportMessage(const QString &text, bool error);
    void ShowStatusText(const QString &text);

    void setBlockHandler(Reply reply, BlockHandler handler) { m_blockHandlers[reply] = std::move(handler); }
    void setAbandonBlockRead(std::function<void()> abandon) { m_abandonBlockRead = std::move(abandon); }
    void setDamagedChainHandler(DamagedHandler handler) { m_damagedChain = std::move(handler); }
    // A request that gets no reply at all is sent again up to this many times before the queue is
    // dropped; 0, the window's way, drops it at the first silence. A GNH or GNM is not sent
    // again: the instrument may have moved on and its answer got lost, so the chain's owner
    // starts the chain over instead, and without one the queue is dropped.
    void setNoAnswerRetries(int retries) { m_noAnswerRetries = std::max(0, retries); }
    int noAnswerRetries() const { return m_noAnswerRetries; }
    void setChainRestart(ChainRestart restart) { m_chainRestart = std::move(restart); }
    // GNH and GNM ask for the entry after the last one the instrument sent
    static bool AdvancesInstrument(Order order) { return order == Order::GNH || order == Order::GNM; }
    void AbandonBlockRead();

    // the sequences the window starts
    void ReadConfigFromDevice();
    void WriteConfigToDevice();
    void CyclicStatusRead();
    void MeasurementQuery(bool cyclicStatusOn);
    void InformationRequest();

    bool isIdle() const { return m_currentJob < 0 && m_queue.empty(); }
    const std::vector<TOrder> &queue() const { return m_queue; }
    int currentJob() const { return m_currentJob; }

Q_SIGNALS:
    // the queue ran empty or was dropped
    void queueFinished();
    // a request's deadline passed without any reply, whether or not it is asked again
    void replyMissed(Link::Order order);
    // a readable reply of a block kind (TAM, TFH, TNH, TFM, TNM), before the hook of that kind
    void blockReply(Link::Reply reply, const QString &text);
    // a damaged GNH or GNM reply at its deadline, before the damaged-chain hook
    void damagedReply(Link::Order order, const QString &message, const QString &reply);
    // a chained read cannot go on, before the abandon hook
    void chainBroken();

private:
    void pass();
    void sendStep(TOrder &job);
    bool replyStep(int jobIndex);    // false: still waiting
    bool retryUnanswered(int jobIndex);
    void handleReply(int jobIndex, const QByteArray &telegram);
    void dropQueue();
    void scheduleRun();
    qint64 now() const { return m_clock(); }

    Tables &m_tables;
    Port &m_port;
    StatusSink &m_sink;
    TrafficLog *m_log;
    Clock m_clock;
    std::vector<TOrder> m_queue;
    int m_currentJob = -1;
    int m_noAnswerCount = 0;
    bool m_noAnswerShown = false;
    bool m_running = false;
    bool m_runAgain = false;
    bool m_runScheduled = false;
    QTimer m_deadlineTimer;
    std::map<Reply, BlockHandler> m_blockHandlers;
    std::function<void()> m_abandonBlockRead;
    DamagedHandler m_damagedChain;
    ChainRestart m_chainRestart;
    int m_noAnswerRetries = 0;
};

} // namespace Link
