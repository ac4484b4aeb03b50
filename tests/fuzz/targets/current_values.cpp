// A live-values reply (TAM without checksum) through the parser the device view relies on.
#include "FuzzSupport.h"

#include "link/TelegramCodec.h"
#include "measure/CurrentValues.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "current_values";
    const Model::StatusTables &status = Fuzz::Shared().tables.Status;
    const QString reply = Link::TelegramToText(Fuzz::Bytes(data, size));
    const Measure::CurrentValuesParse parsed = Measure::ParseCurrentValues(reply);
    if (!parsed.ok) {
        FUZZ_EXPECT(!parsed.errorText.isEmpty(), kTarget, QStringLiteral("refused without a reason"));
        return 0;
    }
    const Measure::CurrentValues &v = parsed.values;
    // the device view indexes its tables with these
    FUZZ_EXPECT(status.Scale(v.range) != nullptr, kTarget, QStringLiteral("range %1 has no scale").arg(v.range));
    FUZZ_EXPECT(v.polarity == 0 || v.polarity == 1, kTarget, QStringLiteral("polarity %1").arg(v.polarity));
    if (v.analogVolts)
        FUZZ_EXPECT(std::isfinite(*v.analogVolts), kTarget, QStringLiteral("analogue value not finite"));
    for (const Measure::CurrentValues::Sensor &s : v.sensors) {
        FUZZ_EXPECT(s.sensor >= 0 && s.sensor <= 15 && std::isfinite(s.value), kTarget,
                     QStringLiteral("sensor %1 value %2").arg(s.sensor).arg(s.value));
        const QString cell = Measure::SensorCellText(s.humidity, s.value, u',');
        FUZZ_EXPECT(!cell.isEmpty() && !cell.contains(u'.'), kTarget, QStringLiteral("cell '%1'").arg(cell));
    }
    return 0;
}
