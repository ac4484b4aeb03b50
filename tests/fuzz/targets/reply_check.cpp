// A received telegram through the reply check and, as the answer to the request it fits,
// through the protocol engine: identification, retries and the storage of its tokens into
// the fields, which then go through the value conversions.
#include "FuzzSupport.h"

#include "link/ProtocolEngine.h"
#include "link/TelegramCodec.h"
#include "measure/CurrentValues.h"
#include "measure/RecordParsing.h"

#include <QCoreApplication>

namespace {

const char *kTarget = "reply_check";

// Answers every request with the input, as a line that repeats itself would.
struct EchoPort : Link::Port
{
    QByteArray reply;
    bool pending = false;
    int sent = 0;
    bool PortReady() const override { return true; }
    bool SendText(const QByteArray &) override
    {
        ++sent;
        pending = true;
        return true;
    }
    std::optional<QByteArray> FetchTelegram() override
    {
        if (!pending)
            return std::nullopt;
        pending = false;
        return reply;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::EnsureApplication();
    Link::Tables &tables = Fuzz::Shared().tables;
    static Fuzz::CoreFieldView view(tables.FieldTable, tables.Status);
    tables.FieldTable.setView(&view);

    const QByteArray telegram = Fuzz::Bytes(data, size);
    const Link::ReplyCheck check = Link::CheckReply(tables.Replies, telegram);
    if (check.status == Link::ReplyStatus::Ok)
        FUZZ_EXPECT(check.replyIndex >= 0 && check.replyIndex < int(tables.Replies.size()), kTarget,
                     QStringLiteral("reply index %1").arg(check.replyIndex));

    // the request this reply answers; an unknown reply answers the first order
    int order = Link::Orders::GIN;
    for (std::size_t i = 0; i < tables.Orders.size(); ++i) {
        if (check.replyIndex >= 0 && tables.Orders[i].ReplyIndex == check.replyIndex) {
            order = int(i);
            break;
        }
    }

    EchoPort port;
    port.reply = telegram;
    Fuzz::NullSink sink;
    qint64 now = 0;
    Link::ProtocolEngine engine(tables, port, sink, nullptr, [&now] { return now; });
    int blocks = 0;
    auto block = [&](int replyIndex, const QString &reply) {
        ++blocks;
        if (replyIndex == Link::Replies::TAM) {
            (void)Measure::ParseCurrentValues(reply);
        } else if (replyIndex == Link::Replies::TFH || replyIndex == Link::Replies::TNH) {
            (void)Measure::ParseBlockHeader(reply);
        } else {
            Measure::MeasureFields fields = Measure::BuildFieldList(Measure::TBlockHeader{}, QStringLiteral("A"));
            for (Measure::TField &f : fields)
                f.Selected = true;
            (void)Measure::ParseMeasureRecord(reply, 1, fields, {});
        }
    };
    for (int reply : {Link::Replies::TAM, Link::Replies::TFH, Link::Replies::TNH, Link::Replies::TFM, Link::Replies::TNM})
        engine.setBlockHandler(reply, block);

    engine.QueueOrderByIndex(order);
    engine.RunProtocolEngine();
    // a reply of another kind leaves the request waiting for its deadline
    now += Link::ProtocolEngine::kReplyTimeoutMs + 1;
    engine.RunProtocolEngine();
    FUZZ_EXPECT(engine.isIdle(), kTarget, QStringLiteral("the queue did not run empty"));
    FUZZ_EXPECT(port.sent >= 1 && port.sent <= 2, kTarget, QStringLiteral("%1 requests for one order").arg(port.sent));
    FUZZ_EXPECT(blocks <= 1, kTarget, QStringLiteral("%1 block replies for one order").arg(blocks));
    tables.FieldTable.setView(nullptr);
    return 0;
}
