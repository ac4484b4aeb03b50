// A directory reply (TFH/TNH without checksum, as the engine hands it over) through the
// header parser, and a header it accepts on into the directory grid and the field list.
#include "FuzzSupport.h"

#include "link/TelegramCodec.h"
#include "measure/ColumnLayout.h"
#include "measure/RecordParsing.h"

#include <QSet>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "block_header";
    const QString reply = Link::TelegramToText(Fuzz::Bytes(data, size));
    const Measure::HeaderParse parsed = Measure::ParseBlockHeader(reply);
    if (parsed.kind == Measure::HeaderParse::Faulty) {
        FUZZ_EXPECT(!parsed.errorText.isEmpty(), kTarget, QStringLiteral("a faulty header without its reason"));
        (void)Measure::RecordErrorMessage(parsed.errorText, reply);
    }
    if (parsed.kind != Measure::HeaderParse::Header)
        return 0;

    const Measure::TBlockHeader &h = parsed.header;
    FUZZ_EXPECT(h.BlockNr > 0, kTarget, QStringLiteral("block number %1 accepted").arg(h.BlockNr));
    FUZZ_EXPECT(h.HumCount >= 0 && h.HumCount <= 16 && h.TempCount >= 0 && h.TempCount <= 16, kTarget,
                 QStringLiteral("%1 humidity and %2 temperature sensors").arg(h.HumCount).arg(h.TempCount));
    FUZZ_EXPECT(std::isfinite(h.FirstRecordTime) && h.Interval >= 0, kTarget, QStringLiteral("record time"));
    (void)Measure::DirectoryRowTexts(h, {});

    const Measure::MeasureFields fields = Measure::BuildFieldList(h, QStringLiteral("Analog"));
    FUZZ_EXPECT(int(fields.size()) <= Measure::kMaxFields, kTarget, QStringLiteral("%1 fields").arg(fields.size()));
    FUZZ_EXPECT(int(fields.size()) == 5 + 3 * h.HasAnalog + h.HumCount + h.TempCount, kTarget,
                 QStringLiteral("field list does not match the header"));
    QSet<qint32> tokens;
    for (const Measure::TField &f : fields) {
        if (f.TokenNr == 0)
            continue;
        FUZZ_EXPECT(!tokens.contains(f.TokenNr), kTarget, QStringLiteral("token %1 twice").arg(f.TokenNr));
        tokens.insert(f.TokenNr);
    }
    return 0;
}
