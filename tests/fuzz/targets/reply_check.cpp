// A received telegram through the reply check and, as the answer to the request it fits,
// through the protocol engine: identification, retries and the storage of its tokens into
// the fields, which then go through the value conversions.
#include "FakePort.h"
#include "FuzzSupport.h"

#include "link/ProtocolEngine.h"
#include "link/TelegramCodec.h"
#include "measure/CurrentValues.h"
#include "measure/RecordParsing.h"

#include <QCoreApplication>

namespace {

const char *kTarget = "reply_check";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::EnsureApplication();
    Link::Tables &tables = Fuzz::Shared().tables;
    static Fuzz::CoreFieldView view(tables.Fields, tables.Status);
    tables.Fields.setView(&view);

    const QByteArray telegram = Fuzz::Bytes(data, size);
    const Link::ReplyCheck check = Link::CheckReply(telegram);
    if (check.status == Link::ReplyStatus::Ok)
        FUZZ_EXPECT(check.reply && std::size_t(*check.reply) < Link::ReplyTable.size(), kTarget,
                     QStringLiteral("reply index %1").arg(check.reply ? int(*check.reply) : -1));

    // the request this reply answers; an unknown reply answers the first order
    Link::Order order = Link::Order::GIN;
    for (const Link::TTXTab &entry : Link::OrderTable) {
        if (check.reply && entry.reply == *check.reply) {
            order = entry.id;
            break;
        }
    }

    // the input answers the request and, asked again, once more
    FakePort port;
    port.script = {telegram, telegram};
    Fuzz::NullSink sink;
    qint64 now = 0;
    Link::ProtocolEngine engine(tables, port, sink, nullptr, [&now] { return now; });
    int blocks = 0;
    auto block = [&](Link::Reply replyId, const QString &reply) {
        ++blocks;
        if (replyId == Link::Reply::TAM) {
            (void)Measure::ParseCurrentValues(reply);
        } else if (replyId == Link::Reply::TFH || replyId == Link::Reply::TNH) {
            (void)Measure::ParseBlockHeader(reply);
        } else {
            Measure::MeasureFields fields = Measure::BuildFieldList(Measure::TBlockHeader{}, QStringLiteral("A"));
            for (Measure::TField &f : fields)
                f.Selected = true;
            (void)Measure::ParseMeasureRecord(reply, 1, fields, {});
        }
    };
    QObject::connect(&engine, &Link::ProtocolEngine::blockReply, block);

    engine.QueueOrder(order);
    engine.RunProtocolEngine();
    // a reply of another kind leaves the request waiting for its deadline
    now += Link::ProtocolEngine::kReplyTimeoutMs + 1;
    engine.RunProtocolEngine();
    FUZZ_EXPECT(engine.isIdle(), kTarget, QStringLiteral("the queue did not run empty"));
    FUZZ_EXPECT(port.sent.size() >= 1 && port.sent.size() <= 2, kTarget,
                QStringLiteral("%1 requests for one order").arg(port.sent.size()));
    FUZZ_EXPECT(blocks <= 1, kTarget, QStringLiteral("%1 block replies for one order").arg(blocks));
    tables.Fields.setView(nullptr);
    return 0;
}
