// One value token of a record or a live-values reply: an analogue reading or "address:value".
#include "FuzzSupport.h"

#include "link/TelegramCodec.h"
#include "measure/CurrentValues.h"
#include "measure/RecordParsing.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *kTarget = "sensor_token";
    const QString token = Link::TelegramToText(Fuzz::Bytes(data, size));
    const Measure::SensorToken s = Measure::ParseSensorToken(token);
    using Measure::SensorToken;
    FUZZ_EXPECT(s.result >= SensorToken::Invalid && s.result <= SensorToken::Humidity, kTarget,
                 QStringLiteral("result %1").arg(s.result));
    if (s.result >= SensorToken::Analog)
        FUZZ_EXPECT(std::isfinite(s.value), kTarget, QStringLiteral("value not finite"));
    if (s.result == SensorToken::Humidity)
        FUZZ_EXPECT(s.address >= 0 && s.address <= 15, kTarget, QStringLiteral("humidity at %1").arg(s.address));
    if (s.result == SensorToken::Temperature)
        FUZZ_EXPECT(s.address >= 16 && s.address <= 31, kTarget, QStringLiteral("temperature at %1").arg(s.address));
    if (s.result >= SensorToken::Temperature)
        (void)Measure::SensorCellText(s.result == SensorToken::Humidity, s.value, u'.');
    // the number reader under it, on the same text
    if (const std::optional<double> n = Measure::ToNumber(token))
        FUZZ_EXPECT(std::isfinite(*n), kTarget, QStringLiteral("number not finite"));
    (void)Measure::ToInteger(token);
    return 0;
}
