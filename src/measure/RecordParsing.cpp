#include "measure/RecordParsing.h"

#include "lang/Texts.h"
#include "model/DayCount.h"

#include <QDate>
#include <QList>

#include <cmath>
#include <limits>

namespace Measure {

namespace {

using Tokens = QList<QStringView>;

// Tokens by position from 1, as GetToken gives them: a trailing ";" leaves an empty last token.
Tokens splitReply(QStringView reply)
{
    return reply.isEmpty() ? Tokens{} : reply.split(u';');
}

std::optional<QStringView> token(const Tokens &tokens, int number)
{
    if (number < 1 || number > tokens.size())
        return std::nullopt;
    return tokens[number - 1];
}

std::optional<float> toFloat(QStringView text)
{
    const std::optional<double> value = ToNumber(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

// "a.b.c" or "a:b" split into integers within their ranges; nothing when a part is missing,
// left over or out of range.
std::optional<QList<int>> integerParts(QStringView text, QChar separator, const QList<std::pair<int, int>> &ranges,
                                       int optionalTail = 0)
{
    const QList<QStringView> parts = text.trimmed().split(separator);
    if (parts.size() > ranges.size() || parts.size() < ranges.size() - optionalTail)
        return std::nullopt;
    QList<int> out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::optional<qint32> v = ToInteger(parts[i]);
        if (!v || *v < ranges[i].first || *v > ranges[i].second)
            return std::nullopt;
        out << *v;
    }
    return out;
}

int bitCount(int mask)
{
    int n = 0;
    for (int bit = 0; bit < 8; ++bit)
        n += (mask >> bit) & 1;
    return n;
}

constexpr double kSecondsPerDay = 86400.0;

} // namespace

float ScaleAnalog(float volts, QStringView valueAtZero, QStringView valueAtTen)
{
    const float low = toFloat(valueAtZero).value_or(0.0f);
    const float high = toFloat(valueAtTen).value_or(10.0f);
    return (high - low) * volts / 10.0f + low;
}

SensorToken ParseSensorToken(QStringView text)
{
    SensorToken out;
    if (text.isEmpty())
        return out;
    if (text[0] == u'-' || text[0] == u'+') {
        if (const std::optional<float> value = toFloat(text)) {
            out.result = SensorToken::Analog;
            out.value = *value;
        }
        return out;
    }
    const QList<QStringView> parts = text.split(u':');
    if (parts.size() != 2) {
        out.result = SensorToken::Unknown;
        return out;
    }
    const std::optional<qint32> address = ToInteger(parts[0]);
    const std::optional<float> value = toFloat(parts[1]);
    if (!address || !value)
        return out;
    out.address = *address;
    out.value = *value;
    if (*address >= 0 && *address <= 15)
        out.result = SensorToken::Humidity;
    else if (*address >= 16 && *address <= 31)
        out.result = SensorToken::Temperature;
    else
        out.result = SensorToken::Unknown;
    return out;
}

HeaderParse ParseBlockHeader(QStringView reply)
{
    using namespace Lang;
    const Tokens tokens = splitReply(reply);
    HeaderParse out;

    // a missing block number or 0 ends the directory; one that is there but unreadable ends it
    // too, and says so
    // an empty number is read as a missing one: both are the instrument's "no more"
    const std::optional<QStringView> nrToken = token(tokens, 2);
    if (!nrToken || nrToken->trimmed().isEmpty())
        return out;
    const std::optional<qint32> nr = ToInteger(*nrToken);
    if (!nr || *nr < 0) {
        out.errorText = Text(TxHdrConvRecordNr);
        return out;
    }
    if (*nr == 0)
        return out;

    QString errors;
    TBlockHeader &h = out.header;
    h.BlockNr = *nr;
    // one small integer token: missing and malformed texts by position
    auto integer = [&](int number, int high, TextId missing, TextId malformed) -> qint32 {
        const std::optional<QStringView> t = token(tokens, number);
        if (!t) {
            errors += Text(missing);
            return 0;
        }
        const std::optional<qint32> v = ToInteger(*t);
        if (!v || *v < 0 || *v > high) {
            errors += Text(malformed);
            return 0;
        }
        return *v;
    };
    h.HasAnalog = integer(3, 1, TxHdrNoAnalog, TxHdrConvAnalog);
    h.HumMaskLow = integer(4, 255, TxHdrNoHumidity, TxHdrConvHumidity);
    h.HumMaskHigh = integer(5, 255, TxHdrNoHumidity, TxHdrConvHumidity);
    h.TempMaskLow = integer(6, 255, TxHdrNoTempLow, TxHdrConvTempLow);
    h.TempMaskHigh = integer(7, 255, TxHdrNoTempHigh, TxHdrConvTempHigh);
    h.HumCount = bitCount(h.HumMaskLow) + bitCount(h.HumMaskHigh);
    h.TempCount = bitCount(h.TempMaskLow) + bitCount(h.TempMaskHigh);

    if (const std::optional<QStringView> t = token(tokens, 8); !t) {
        errors += Text(TxHdrNoStartDate);
    } else {
        const auto parts = integerParts(*t, u'.', {{1, 31}, {1, 12}, {1, 9999}});
        const QDate date = parts ? QDate((*parts)[2], (*parts)[1], (*parts)[0]) : QDate();
        if (!date.isValid())
            errors += Text(TxHdrConvStartDate);
        else
            h.StartDate = Model::DateToDays(date);
    }
    if (const std::optional<QStringView> t = token(tokens, 9); !t) {
        errors += Text(TxHdrNoStartTime);
    } else if (const auto parts = integerParts(*t, u':', {{0, 23}, {0, 59}, {0, 59}}, 1); !parts) {
        errors += Text(TxHdrConvStartTime);
    } else {
        // the block starts on a whole minute: seconds are not part of the start time
        h.StartTime = ((*parts)[0] * 3600 + (*parts)[1] * 60) / kSecondsPerDay;
    }
    if (const std::optional<QStringView> t = token(tokens, 10); !t) {
        errors += Text(TxHdrNoInterval);
    } else if (const auto parts = integerParts(*t, u':', {{0, 9999}, {0, 59}, {0, 59}}); !parts) {
        errors += Text(TxHdrConvInterval);
    } else {
        h.Interval = ((*parts)[0] * 3600.0 + (*parts)[1] * 60 + (*parts)[2]) / kSecondsPerDay;
        h.IntervalText = t->trimmed().toString();
    }
    if (const std::optional<QStringView> t = token(tokens, 11); !t) {
        errors += Text(TxHdrNoOverwrite);
    } else if (const std::optional<qint32> v = ToInteger(*t); !v || *v < 0) {
        errors += Text(TxHdrConvOverwrite);
    } else {
        h.OverwriteCount = *v;
    }

    if (!errors.isEmpty()) {
        out.kind = HeaderParse::Faulty;
        out.errorText = errors;
        return out;
    }
    h.FirstRecordTime = h.StartDate + h.StartTime + h.OverwriteCount * h.Interval;
    h.RecordTime = h.FirstRecordTime;
    out.kind = HeaderParse::Header;
    return out;
}

MeasureFields BuildFieldList(const TBlockHeader &block, const QString &analogName)
{
    using namespace Lang;
    MeasureFields fields;
    auto add = [&](qint32 tokenNr, const QString &caption, qint32 kind, bool isMin, bool isMax) {
        TField f;
        f.TokenNr = tokenNr;
        f.Caption = caption.left(30);
        f.Kind = kind;
        f.IsMin = isMin;
        f.IsMax = isMax;
        fields.push_back(f);
    };
    add(0, Text(TxFieldDate), KindDate, false, false);
    add(0, Text(TxFieldTime), KindTime, false, false);
    add(6, Text(TxFieldIonMin), KindIon, true, false);
    add(7, Text(TxFieldIonAvg), KindIon, false, false);
    add(8, Text(TxFieldIonMax), KindIon, false, true);
    qint32 next = 9;
    if (block.HasAnalog == 1) {
        add(next++, analogName + Text(TxFieldAnaMinSuffix), KindAnalog, true, false);
        add(next++, analogName + Text(TxFieldAnaAvgSuffix), KindAnalog, false, false);
        add(next++, analogName + Text(TxFieldAnaMaxSuffix), KindAnalog, false, true);
    }
    const struct { qint32 mask; int firstSensor; qint32 kind; TextId prefix; } groups[] = {
        {block.HumMaskLow, 0, KindHumidity, TxFieldHumidityPrefix},
        {block.HumMaskHigh, 8, KindHumidity, TxFieldHumidityPrefix},
        {block.TempMaskLow, 0, KindTemperature, TxFieldTemperaturePrefix},
        {block.TempMaskHigh, 8, KindTemperature, TxFieldTemperaturePrefix},
    };
    for (const auto &g : groups)
        for (int bit = 0; bit < 8; ++bit)
            if (g.mask & (1 << bit))
                add(next++, Text(g.prefix) + QString::number(g.firstSensor + bit, 16).toUpper(), g.kind, false, false);
    return fields;
}

RecordParse ParseMeasureRecord(QStringView reply, qint32 blockNr, MeasureFields &fields, const RecordOptions &options)
{
    using namespace Lang;
    const Tokens tokens = splitReply(reply);
    RecordParse out;
    QString errors;

    const std::optional<QStringView> nrToken = token(tokens, 2);
    if (!nrToken || nrToken->trimmed().isEmpty())
        return out;
    const std::optional<qint32> nr = ToInteger(*nrToken);
    if (nr && *nr == 0)
        return out;
    // an unreadable block number is a faulty record, not the end: the instrument has moved on
    // by one record, and reading on keeps the rows after it
    if (!nr)
        errors += Text(TxHdrConvRecordNr);
    else if (*nr != blockNr)
        errors += Text(TxBlockNrNotValid);
    out.first = token(tokens, 1).value_or(QStringView()) == QLatin1String("TFM");

    if (const std::optional<QStringView> alarm = token(tokens, 4); !alarm)
        errors += Text(TxNoAlarmToken);
    else if (*alarm == QLatin1String("1") && options.skipAlarm)
        out.skipped = true;
    bool negative = false;
    if (const std::optional<QStringView> polarity = token(tokens, 5); !polarity)
        errors += Text(TxNoPolarityToken);
    else
        negative = *polarity == QLatin1String("-");

    for (std::size_t i = 2; i < fields.size(); ++i) {
        TField &f = fields[i];
        if (!f.Selected || f.TokenNr < 1)
            continue;
        const std::optional<QStringView> t = token(tokens, f.TokenNr);
        if (!t) {
            errors += Text(TxTokenErrorAt) + f.Caption.trimmed();
            continue;
        }
        bool converted = true;
        switch (f.Kind) {
        case KindIon:
            // the polarity token carries the sign; a signed count would be counted twice
            if (const std::optional<qint32> v = ToInteger(*t); v && *v >= 0) {
                f.IonValue = *v;
                f.Negative = negative;
            } else {
                converted = false;
            }
            break;
        case KindAnalog:
            if (const std::optional<float> v = toFloat(*t)) {
                const float value = options.scaleAnalog ? ScaleAnalog(*v, options.valueAtZero, options.valueAtTen) : *v;
                // a calibration can carry a reading past what a float holds: that is no value either
                if (std::isfinite(value))
                    f.FloatValue = value;
                else
                    converted = false;
            } else {
                converted = false;
            }
            break;
        case KindHumidity:
        case KindTemperature: {
            // a token that is not a sensor reading carries no value: better reported than a 0
            const SensorToken s = ParseSensorToken(*t);
            if (s.result >= SensorToken::Analog)
                f.FloatValue = s.value;
            else
                converted = false;
            break;
        }
        default:
            break;
        }
        if (!converted)
            errors += Text(TxConvertErrorAt) + f.Caption.trimmed();
    }

    out.kind = errors.isEmpty() ? RecordParse::Record : RecordParse::Faulty;
    out.errorText = errors;
    return out;
}

QString RecordErrorMessage(const QString &errorText, QStringView reply)
{
    return errorText + Lang::Text(Lang::TxRecordPrefix) + reply.toString();
}

} // namespace Measure
