// A record reply (TFM/TNM without checksum) of a block, as a memory read meets it: the block's
// header gives the field list, the record is parsed into the fields and becomes a text row and
// the cells of a workbook row.
// Input, one item a line: the header reply, the record reply, and optionally
// "flags;value at 0 V;value at 10 V" (flags: 1 skip alarm records, 2 scale the analogue input,
// 4 two ion columns, 8 decimal comma).
#include "FuzzSupport.h"

#include "link/TelegramCodec.h"
#include "measure/ColumnLayout.h"
#include "measure/RecordParsing.h"

namespace {

const char *kTarget = "measure_record";

// a block with every field a record can carry
Measure::TBlockHeader fullBlock()
{
    Measure::TBlockHeader h;
    h.BlockNr = 1;
    h.HasAnalog = 1;
    h.HumMaskLow = h.HumMaskHigh = h.TempMaskLow = h.TempMaskHigh = 255;
    h.HumCount = h.TempCount = 16;
    h.StartDate = 46000;
    h.Interval = 1.0 / 1440;
    h.FirstRecordTime = h.RecordTime = h.StartDate;
    return h;
}

bool numeric(const QString &text, QChar separator)
{
    for (QChar c : text)
        if (!(c.isDigit() || c == u' ' || c == u'-' || c == separator))
            return false;
    return !text.trimmed().isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Fuzz::Lines first = Fuzz::SplitFirstLine(Fuzz::Bytes(data, size));
    const Fuzz::Lines second = Fuzz::SplitFirstLine(first.rest);
    const QStringList options = Link::TelegramToText(Fuzz::SplitFirstLine(second.rest).first).split(u';');
    const int flags = options.value(0).toInt();

    const Measure::HeaderParse header = Measure::ParseBlockHeader(Link::TelegramToText(first.first));
    const Measure::TBlockHeader block = header.kind == Measure::HeaderParse::Header ? header.header : fullBlock();
    Measure::MeasureFields fields = Measure::BuildFieldList(block, QStringLiteral("Analog"));
    for (Measure::TField &f : fields)
        f.Selected = true;
    const Measure::ColumnLayout layout = Measure::BuildColumnLayout(fields, flags & 4);
    Measure::DisplayFormats formats;
    formats.decimalSep = flags & 8 ? u',' : u'.';
    (void)Measure::TextHeadingLines(layout, block.FirstRecordTime, QStringLiteral("88000123"));

    Measure::RecordOptions recordOptions;
    recordOptions.skipAlarm = flags & 1;
    recordOptions.scaleAnalog = flags & 2;
    recordOptions.valueAtZero = options.value(1);
    recordOptions.valueAtTen = options.value(2);
    const QString reply = Link::TelegramToText(second.first);
    const Measure::RecordParse parsed = Measure::ParseMeasureRecord(reply, block.BlockNr, fields, recordOptions);
    if (parsed.kind == Measure::RecordParse::Faulty)
        FUZZ_EXPECT(!parsed.errorText.isEmpty(), kTarget, QStringLiteral("a faulty record without its reason"));
    if (parsed.kind != Measure::RecordParse::Record)
        return 0;

    const QString row = Measure::TextRow(layout, fields, block.RecordTime, formats);
    FUZZ_EXPECT(row.count(u';') == qsizetype(layout.columns.size()) - 1, kTarget,
                 QStringLiteral("row '%1' for %2 columns").arg(row).arg(layout.columns.size()));
    for (const Measure::TColumn &c : layout.columns) {
        if (c.kind == Measure::KindDate || c.kind == Measure::KindTime)
            continue;
        for (bool sheet : {false, true}) {
            const std::optional<QString> value =
                Measure::ColumnValue(c, fields, block.RecordTime, formats, layout.twoColumns, sheet);
            if (value)
                FUZZ_EXPECT(numeric(*value, formats.decimalSep), kTarget,
                             QStringLiteral("'%1' in the column '%2' of row '%3'").arg(*value, c.heading, row));
        }
    }
    return 0;
}
