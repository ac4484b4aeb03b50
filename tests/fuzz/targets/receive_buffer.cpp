// The receive buffer fed byte by byte, as the serial line hands the bytes over.
#include "FuzzSupport.h"

#include "link/ReceiveBuffer.h"
#include "link/TelegramCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "receive_buffer";
    Link::ReceiveBuffer buffer;
    qsizetype sinceTelegram = 0;
    for (size_t i = 0; i < size; ++i) {
        const char byte = char(data[i]);
        const bool complete = buffer.feed(byte);
        ++sinceTelegram;
        FUZZ_EXPECT(buffer.text().size() <= Link::ReceiveBuffer::kMaxWithoutLf + 1, kTarget,
                     QStringLiteral("%1 bytes held without LF").arg(buffer.text().size()));
        if (!complete)
            continue;
        const std::optional<QByteArray> telegram = buffer.fetch();
        FUZZ_EXPECT(telegram.has_value(), kTarget, QStringLiteral("a completed telegram was not handed out"));
        FUZZ_EXPECT(!buffer.fetch(), kTarget, QStringLiteral("a telegram was handed out twice"));
        FUZZ_EXPECT(telegram->size() >= Link::ReceiveBuffer::kMinTelegram && telegram->endsWith('\n')
                         && telegram->indexOf('\n') == telegram->size() - 1,
                     kTarget, QStringLiteral("not one line of at least nine bytes: %1").arg(QString::fromLatin1(telegram->toHex())));
        FUZZ_EXPECT(telegram->size() <= sinceTelegram, kTarget, QStringLiteral("the telegram holds bytes from before"));
        // what the engine does next with it
        (void)Link::CheckReply(*telegram);
        sinceTelegram = 0;
    }
    return 0;
}
