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

void ProtocolEngine::QueueOrder(Order order, const QString &parameter)
{
    if (std::size_t(order) >= OrderTable.size())
        return;
    TOrder job;
    job.order = order;
    // composed now: the values are those of the controls at the moment of the request
    job.telegram = ComposeRequest(m_tables, order, parameter);
    job.state = OrderState::Ready;
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
    const std::optional<Model::Field> field = m_tables.Fields.FindByControl(control);
    if (!field)
        return;
    bool queued = false;
    for (const TTXTab &order : OrderTable) {
        if (!order.fields.contains(*field))
            continue;
        m_noAnswerCount = 0;
        QueueOrder(order.id);
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
        if (job.state == OrderState::Done) {
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
        if (job.state == OrderState::Ready) {
            sendStep(job);
        } else if (job.state == OrderState::Sent) {
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
        job.state = OrderState::Done;
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
        sentJob.state = OrderState::Done;
        ReportMessage(notReady, true);
        return;
    }
    sentJob.state = OrderState::Sent;
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
            damaged.state = OrderState::Done;
            const Order order = damaged.order;
            const QString message = damaged.damage, text = damaged.damagedText;
            Q_EMIT damagedReply(order, message, text);
            if (m_damagedChain)
                m_damagedChain(order, message, text);
            else
                ReportMessage(message, true);
            return true;
        }
        if (job.strayReply) {
            // the instrument did answer, only never this request
            m_queue[std::size_t(jobIndex)].state = OrderState::Done;
            ReportMessage(Lang::Text(Lang::TxUnexpectedTelegram), true);
            AbandonBlockRead();
            return true;
        }
        Q_EMIT replyMissed(job.order);
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
    const Order order = job.order;
    const QString code = TelegramToText(job.telegram.left(3));
    if (AdvancesInstrument(order)) {
        if (!m_chainRestart || !m_chainRestart(order))
            return false;
        // the restart queued behind this job: addressed afresh
        m_queue[std::size_t(jobIndex)].state = OrderState::Done;
    } else {
        job.reply.clear();
        job.state = OrderState::Ready;
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
    job->state = OrderState::Done;
    const Order order = job->order;
    const QString requestCode = TelegramToText(job->telegram.left(3));
    const bool storageRead = order == Order::GFH || order == Order::GFM;

    const ReplyCheck check = CheckReply(telegram);
    auto failWithRetry = [&](const QString &message, bool abandon) {
        if (AdvancesInstrument(order) && check.status != ReplyStatus::Refused) {
            // The instrument answered, so it has moved on; or this was junk and its reply is
            // still coming. Either way the request is not sent again: the job waits on for a
            // readable reply and, at the deadline, hands the damage to the chain's owner.
            job->state = OrderState::Sent;
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
    if (*check.reply != orderInfo(order).reply) {
        // Most likely the late or second reply to an earlier request, arriving after this
        // one went out. Taken as this job's answer, this job's own reply would then answer
        // the next request, and so on to the end of the queue; so it is passed over and the
        // job waits on. Only when nothing fitting comes before the deadline is it reported.
        job->state = OrderState::Sent;
        job->reply.clear();
        job->strayReply = true;
        return;
    }
    const TRXTab &reply = replyInfo(*check.reply);
    if (reply.block) {
        Q_EMIT blockReply(reply.id, check.text);
        if (auto handler = m_blockHandlers.find(reply.id); handler != m_blockHandlers.end())
            handler->second(reply.id, check.text);
        return;
    }
    for (Model::Field field : reply.fields) {
        const int tokenPos = Model::fieldInfo(field).tokenPos;
        if (tokenPos <= 0)
            continue;
        const int tokenNr = tokenPos + 1;
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
        m_tables.Fields[field].TelegramText = *token;
        m_tables.Fields.Dat2Form(field, Model::TelegramSlot);
    }
}

bool ProtocolEngine::RetryJob()
{
    TOrder &job = m_queue[std::size_t(m_currentJob)];
    if (--job.attemptsLeft > 0) {
        job.reply.clear();
        job.strayReply = false;
        job.state = OrderState::Ready;
        return true;
    }
    job.state = OrderState::Done;
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
    Q_EMIT chainBroken();
    if (m_abandonBlockRead)
        m_abandonBlockRead();
}

void ProtocolEngine::ReadConfigFromDevice()
{
    ShowStatusText(Lang::Text(Lang::TxReadingConfig));
    m_noAnswerCount = 0;
    for (Order order : kReadConfigOrders)
        QueueOrder(order);
}

void ProtocolEngine::WriteConfigToDevice()
{
    ShowStatusText(Lang::Text(Lang::TxWritingConfig));
    m_noAnswerCount = 0;
    for (Order order : kConfigWriteOrders)
        QueueOrder(order);
}

void ProtocolEngine::CyclicStatusRead()
{
    for (Order order : kCyclicStatusOrders)
        QueueOrder(order);
}

void ProtocolEngine::MeasurementQuery(bool cyclicStatusOn)
{
    QueueOrder(Order::GAM);
    if (!cyclicStatusOn)
        QueueOrder(Order::GST);
}

void ProtocolEngine::InformationRequest()
{
    ShowStatusText(Lang::Text(Lang::TxInfoRequested));
    m_noAnswerCount = 0;
    QueueOrder(Order::GIN);
}

} // namespace Link
