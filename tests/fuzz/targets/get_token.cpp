// GetToken and TokenCount. Input: the separators on the first line, the text after it.
#include "FuzzSupport.h"

#include "link/TelegramCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "get_token";
    const Fuzz::Lines input = Fuzz::SplitFirstLine(Fuzz::Bytes(data, size));
    const QString separators = Link::TelegramToText(input.first);
    const QString text = Link::TelegramToText(input.rest);

    const int count = Link::TokenCount(text, separators);
    FUZZ_EXPECT(count >= 0 && count <= text.size() + 1, kTarget, QStringLiteral("count %1").arg(count));
    FUZZ_EXPECT(!Link::GetToken(text, separators, 0) && !Link::GetToken(text, separators, -1)
                     && !Link::GetToken(text, separators, count + 1),
                 kTarget, QStringLiteral("a token outside 1..%1").arg(count));
    if (separators.isEmpty() || text.isEmpty()) {
        FUZZ_EXPECT(count == 0 && !Link::GetToken(text, separators, 1), kTarget, QStringLiteral("tokens of nothing"));
        return 0;
    }
    // the tokens and the separators between them give the text back; the first few and the
    // last are enough, all of them would make long inputs quadratic
    QString joined;
    for (int n = 1; n <= count; ++n) {
        if (n > 16 && n < count)
            continue;
        const std::optional<QString> token = Link::GetToken(text, separators, n);
        FUZZ_EXPECT(token.has_value(), kTarget, QStringLiteral("token %1 of %2 missing").arg(n).arg(count));
        for (QChar c : *token)
            FUZZ_EXPECT(!separators.contains(c), kTarget, QStringLiteral("a separator inside token %1").arg(n));
        if (n <= 16 && n < count) {
            joined += *token;
            FUZZ_EXPECT(joined.size() < text.size() && separators.contains(text.at(joined.size())), kTarget,
                         QStringLiteral("token %1 does not end at a separator").arg(n));
            joined += text.at(joined.size());
        }
        if (n == count)
            FUZZ_EXPECT(text.endsWith(*token), kTarget, QStringLiteral("the last token is not the text's end"));
    }
    FUZZ_EXPECT(text.startsWith(joined), kTarget, QStringLiteral("the first tokens do not give the text back"));
    return 0;
}
