#include "link/ProtocolEngine.h"

#include "lang/Texts.h"
#include "link/StatusSink.h"
#include "link/TelegramCodec.h"
#include "link/TrafficLog.h"

#include <QElapsedTimer>

namespace Link {

namespace {

ProtocolEngine::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

ProtocolEngine::ProtocolEngine(Tables &tables, Port &port, StatusSink &sink, TrafficLog *log, Clock clock,
                               QObject *parent)
    : QObject(parent)
    , m_tables(tables)
    , m_port(port)
    , m_sink(sink)
    , m_log(log)
    , m_clock(clock ? std::move(clock) : steadyClock())
{
    m_deadlineTimer.setSingleShot(true);
    m_deadlineTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_deadlineTimer, &QTimer::timeout, this, &ProtocolEngine::RunProtocolEngine);
}

void ProtocolEngine::QueueOrder(int orderIndex, const QString &parameter)
{
    if (orderIndex < 0 || orderIndex >= int(m_tables.Orders.size()))
        return;
    TOrder job;
    job.orderIndex = orderIndex;
    // composed now: the values are those of the controls at the moment of the request
    job.telegram = ComposeRequest(m_tables, orderIndex, parameter);
    job.state = TOrder::Ready;
    m_queue.push_back(std::move(job));
    scheduleRun();
}

void ProtocolEngine::scheduleRun()
{
    if (m_running) {
        m_runAgain = true;
        return;
    }
    if (m_runScheduled)
        return;
    m_runScheduled = true;
    QMetaObject::invokeMethod(this, [this] {
        m_runScheduled = false;
        RunProtocolEngine();
    }, Qt::QueuedConnection);
}

void ProtocolEngine::QueueOrdersForControl(const QObject *control)
{
    const int field = m_tables.FieldTable.FindByControl(control);
    if (field < 0)
        return;
    bool queued = false;
    for (std::size_t order = 0; order < m_tables.Orders.size(); ++order) {
        if (!m_tables.Orders[order].Fields.contains(field))
            continue;
        m_noAnswerCount = 0;
        QueueOrderByIndex(int(order));
        queued = true;
    }
    if (!queued)
        m_sink.StatusMessage(Lang::Format(Lang::Text(Lang::TxNoOrderForObject), {control->objectName()}), true);
}

void ProtocolEngine::RunProtocolEngine()
{
    // a handler that queues during a run only asks for another pass
    if (m_running) {
        m_runAgain = true;
        return;
    }
    m_running = true;
    do {
        m_runAgain = false;
        pass();
    } while (m_runAgain);
    m_running = false;
}

void ProtocolEngine::pass()
{
    if (m_currentJob < 0) {
        if (m_queue.empty())
            return;
        m_currentJob = 0;
    }
    while (m_currentJob >= 0) {
        if (m_currentJob > kCompactAfter) {
            m_queue.erase(m_queue.begin(), m_queue.begin() + m_currentJob);
            m_currentJob = 0;
        }
        // jobs are addressed afresh each step: handlers may append and reallocate
        TOrder &job = m_queue[std::size_t(m_currentJob)];
        if (job.state > 90) {
            if (m_currentJob + 1 < int(m_queue.size())) {
                ++m_currentJob;
                continue;
            }
            m_queue.clear();
            m_currentJob = -1;
            m_deadlineTimer.stop();
            Q_EMIT queueFinished();
            return;
        }
        if (job.state == TOrder::Ready) {
            sendStep(job);
        } else if (job.state == TOrder::Sent) {
            if (!replyStep(m_currentJob))
                return;
        } else {
            return;
        }
    }
}

void ProtocolEngine::sendStep(TOrder &job)
{
    const QString notReady = Lang::Text(Lang::TxPortNotReady);
    if (!m_port.PortReady()) {
        job.state = TOrder::Done;
        ReportMessage(notReady, true);
        return;
    }
    if (m_log && m_log->Logging())
        m_log->WriteTrafficLine(QStringLiteral("PC"), QByteArrayView(job.telegram));
    // the write may call back into us (a fake port answering at once): keep the index, not the job
    const int index = m_currentJob;
    const QByteArray telegram = job.telegram;
    const bool sent = m_port.SendText(telegram);
    TOrder &sentJob = m_queue[std::size_t(index)];
    if (!sent) {
        sentJob.state = TOrder::Done;
        ReportMessage(notReady, true);
        return;
    }
    sentJob.state = TOrder::Sent;
    sentJob.deadline = now() + kReplyTimeoutMs;
    m_deadlineTimer.start(int(kReplyTimeoutMs) + 1);
}

bool ProtocolEngine::replyStep(int jobIndex)
{
    const std::optional<QByteArray> telegram = m_port.FetchTelegram();
    if (!telegram && !m_port.PortReady()) {
        // the line went while the reply was out; the port has told why, and a time-out
        // message would send the user looking at the instrument instead
        AbandonBlockRead();
        dropQueue();
        return true;
    }
    if (!telegram) {
        const TOrder &job = m_queue[std::size_t(jobIndex)];
        const qint64 remaining = job.deadline - now();
        if (remaining >= 0) {
            m_deadlineTimer.start(int(remaining) + 1);
            return false;
        }
        if (!job.damage.isEmpty()) {
            TOrder &damaged = m_queue[std::size_t(jobIndex)];
            damaged.state = TOrder::Done;
            const int orderIndex = damaged.orderIndex;
            const QString message = damaged.damage, text = damaged.damagedText;
            if (m_damagedChain)
                m_damagedChain(orderIndex, message, text);
            else
                ReportMessage(message, true);
            return true;
        }
        if (job.strayReply) {
            // the instrument did answer, only never this request
            m_queue[std::size_t(jobIndex)].state = TOrder::Done;
            ReportMessage(Lang::Text(Lang::TxUnexpectedTelegram), true);
            AbandonBlockRead();
            return true;
        }
        Q_EMIT replyMissed(job.orderIndex);
        if (retryUnanswered(jobIndex))
            return true;
        if (m_noAnswerCount == 0)
            SetNoAnswer(true);
        ++m_noAnswerCount;
        AbandonBlockRead();
        dropQueue();
        return true;
    }
    m_deadlineTimer.stop();
    handleReply(jobIndex, *telegram);
    return true;
}

bool ProtocolEngine::retryUnanswered(int jobIndex)
{
    TOrder &job = m_queue[std::size_t(jobIndex)];
    if (job.silentRetries >= m_noAnswerRetries)
        return false;
    const int attempt = ++job.silentRetries;
    const int orderIndex = job.orderIndex;
    const QString code = TelegramToText(job.telegram.left(3));
    if (AdvancesInstrument(orderIndex)) {
        if (!m_chainRestart || !m_chainRestart(orderIndex))
            return false;
        // the restart queued behind this job: addressed afresh
        m_queue[std::size_t(jobIndex)].state = TOrder::Done;
    } else {
        job.reply.clear();
        job.state = TOrder::Ready;
    }
    ShowStatusText(Lang::Format(Lang::Text(Lang::TxNoAnswerRetry),
                                {code, QString::number(attempt), QString::number(m_noAnswerRetries)}));
    return true;
}

void ProtocolEngine::dropQueue()
{
    m_queue.clear();
    m_currentJob = -1;
    m_deadlineTimer.stop();
    Q_EMIT queueFinished();
}

void ProtocolEngine::handleReply(int jobIndex, const QByteArray &telegram)
{
    m_noAnswerCount = 0;
    TOrder *job = &m_queue[std::size_t(jobIndex)];
    job->reply = telegram;
    job->state = TOrder::Done;
    const int orderIndex = job->orderIndex;
    const QString requestCode = TelegramToText(job->telegram.left(3));
    const bool storageRead = orderIndex == Orders::GFH || orderIndex == Orders::GFM;

    const ReplyCheck check = CheckReply(m_tables.Replies, telegram);
    auto failWithRetry = [&](const QString &message, bool abandon) {
        if (AdvancesInstrument(orderIndex) && check.status != ReplyStatus::Refused) {
            // The instrument answered, so it has moved on; or this was junk and its reply is
            // still coming. Either way the request is not sent again: the job waits on for a
            // readable reply and, at the deadline, hands the damage to the chain's owner.
            job->state = TOrder::Sent;
            job->damage = message;
            job->damagedText = TelegramToText(QByteArrayView(telegram).chopped(telegram.endsWith("\r\n") ? 2 : 1));
            job->reply.clear();
            return;
        }
        if (!RetryJob()) {
            ReportMessage(message, true);
            if (abandon)
                AbandonBlockRead();
        }
    };
    switch (check.status) {
    case ReplyStatus::Incomplete:
        return failWithRetry(Lang::Text(Lang::TxIncomplete), false);
    case ReplyStatus::NoChecksum:
        return failWithRetry(Lang::Text(Lang::TxNoChecksum), false);
    case ReplyStatus::BadChecksum:
        return failWithRetry(Lang::Text(Lang::TxChecksumError), false);
    case ReplyStatus::Refused:
        return failWithRetry(storageRead ? Lang::Text(Lang::TxNotWhileRecording)
                                         : Lang::Format(Lang::Text(Lang::TxErrorTelegram), {check.text, requestCode}),
                             true);
    case ReplyStatus::Unknown:
        return failWithRetry(Lang::Format(Lang::Text(Lang::TxUnknownTelegram), {check.text}), true);
    case ReplyStatus::Ok:
        break;
    }

    SetNoAnswer(false);
    if (check.replyIndex != m_tables.Orders[std::size_t(orderIndex)].ReplyIndex) {
        // Most likely the late or second reply to an earlier request, arriving after this
        // one went out. Taken as this job's answer, this job's own reply would then answer
        // the next request, and so on to the end of the queue; so it is passed over and the
        // job waits on. Only when nothing fitting comes before the deadline is it reported.
        job->state = TOrder::Sent;
        job->reply.clear();
        job->strayReply = true;
        return;
    }
    const TRXTab &reply = m_tables.Replies[std::size_t(check.replyIndex)];
    if (reply.IsBlock == 1) {
        if (auto handler = m_blockHandlers.find(check.replyIndex); handler != m_blockHandlers.end())
            handler->second(check.replyIndex, check.text);
        return;
    }
    for (int field : reply.Fields) {
        Model::TVComp &entry = m_tables.FieldTable[field];
        if (entry.TokenPos <= 0)
            continue;
        const int tokenNr = entry.TokenPos + 1;
        std::optional<QString> token = GetToken(check.text, u";", tokenNr);
        // Every value is closed by its ";". Past the last one the reader sees an empty token,
        // which in a reply cut short would be taken for an empty value and shown without a word.
        if (token && token->isEmpty() && tokenNr > check.text.count(u';'))
            token.reset();
        if (!token) {
            // What was stored before the gap stays shown. A read of stored records is given up
            // only when no attempt is left: abandoned while the request is asked again, it
            // would end without a word once the second answer came whole.
            if (!RetryJob()) {
                AbandonBlockRead();
                ReportMessage(Lang::Format(Lang::Text(Lang::TxTokenError), {QString::number(tokenNr), check.text}),
                              true);
            }
            return;
        }
        entry.TelegramText = *token;
        m_tables.FieldTable.Dat2Form(field, Model::TelegramSlot);
    }
}

bool ProtocolEngine::RetryJob()
{
    TOrder &job = m_queue[std::size_t(m_currentJob)];
    if (--job.attemptsLeft > 0) {
        job.reply.clear();
        job.strayReply = false;
        job.state = TOrder::Ready;
        return true;
    }
    job.state = TOrder::Done;
    return false;
}

void ProtocolEngine::SetNoAnswer(bool flag)
{
    if (flag) {
        if (!m_noAnswerShown) {
            // which device was asked, at which speed: the text blames one or the other
            const QString port = m_port.PortDescription();
            ReportMessage(Lang::Text(Lang::TxNoAnswer) + (port.isEmpty() ? QString() : QStringLiteral(" (") + port + u')'),
                          true);
            m_noAnswerShown = true;
        }
    } else if (m_noAnswerShown) {
        ShowStatusText(QStringLiteral(" "));
    }
}

void ProtocolEngine::ReportMessage(const QString &text, bool error)
{
    m_sink.StatusMessage(text, error);
    if (error && m_log && m_log->Logging())
        m_log->WriteTrafficText(QStringLiteral("Con"), text);
    m_sink.MirrorMessage(text);
    m_noAnswerShown = false;
}

void ProtocolEngine::ShowStatusText(const QString &text)
{
    m_sink.StatusMessage(text, false);
    m_sink.MirrorMessage(text);
    m_noAnswerShown = false;
}

void ProtocolEngine::AbandonBlockRead()
{
    if (m_abandonBlockRead)
        m_abandonBlockRead();
}

void ProtocolEngine::ReadConfigFromDevice()
{
    using namespace Orders;
    ShowStatusText(Lang::Text(Lang::TxReadingConfig));
    m_noAnswerCount = 0;
    for (int order : {GIN, GST, GDA, GAO, GZP, GAT, GDO, GMT, GDM, GRA, GLA, GSM, GTI, GIP, GMM, GAE, GPT, GTM})
        QueueOrderByIndex(order);
}

const std::vector<int> &ProtocolEngine::ConfigWriteOrders()
{
    using namespace Orders;
    static const std::vector<int> orders{GST, SAO, SZP, SAT, SDO, SMT, SDM, SRA, SLA, SSM, STI, SIP, SAE, SPT, STM};
    return orders;
}

void ProtocolEngine::WriteConfigToDevice()
{
    ShowStatusText(Lang::Text(Lang::TxWritingConfig));
    m_noAnswerCount = 0;
    for (int order : ConfigWriteOrders())
        QueueOrderByIndex(order);
}

void ProtocolEngine::CyclicStatusRead()
{
    for (int order : {Orders::GIN, Orders::GST, Orders::GDA})
        QueueOrderByIndex(order);
}

void ProtocolEngine::MeasurementQuery(bool cyclicStatusOn)
{
    QueueOrderByIndex(Orders::GAM);
    if (!cyclicStatusOn)
        QueueOrderByIndex(Orders::GST);
}

void ProtocolEngine::InformationRequest()
{
    ShowStatusText(Lang::Text(Lang::TxInfoRequested));
    m_noAnswerCount = 0;
    QueueOrderByIndex(Orders::GIN);
}

} // namespace Link
