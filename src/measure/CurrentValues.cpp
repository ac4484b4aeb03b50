#include "measure/CurrentValues.h"

#include "lang/Texts.h"
#include "link/ProtocolEngine.h"
#include "measure/RecordParsing.h"

#include <QList>

namespace Measure {

CurrentValuesParse ParseCurrentValues(QStringView reply)
{
    using namespace Lang;
    const QList<QStringView> tokens = reply.isEmpty() ? QList<QStringView>{} : reply.split(u';');
    auto token = [&](int n) -> std::optional<QStringView> {
        if (n < 1 || n > tokens.size())
            return std::nullopt;
        return tokens[n - 1];
    };
    CurrentValuesParse out;
    CurrentValues &v = out.values;
    QString error;

    // the fixed tokens each replace the error text; the value tokens add to it
    if (const auto t = token(2); !t) {
        error = Text(TxNoRangeToken);
    } else if (const auto range = ToInteger(*t); !range || *range < 0 || *range > 9) {
        // the range indexes the range tables: one outside them is as bad as no number
        error = Text(TxConvRangeToken);
    } else {
        v.range = *range;
    }
    if (const auto t = token(3); !t)
        error = Text(TxNoPolarityTokenLive);
    else if (*t == QLatin1String("-"))
        v.polarity = 1;
    else if (*t == QLatin1String("+"))
        v.polarity = 0;
    else
        error = Text(TxConvPolarityToken);
    if (const auto t = token(4); !t) {
        error = Format(Text(TxNoValueTokenNo), {QStringLiteral("4")});
    } else if (const auto ion = ToInteger(*t); !ion) {
        error = Text(TxConvValueToken);
    } else {
        v.ionValue = *ion;
    }

    // the reply ends with the separator before the checksum, so its last token is empty
    const int count = int(tokens.size());
    for (int n = 5; n <= count - 1; ++n) {
        const auto t = token(n);
        if (!t) {
            error += Format(Text(TxNoValueTokenNo), {QString::number(n)});
            break;
        }
        const SensorToken s = ParseSensorToken(*t);
        switch (s.result) {
        case SensorToken::Invalid:
            error += Format(Text(TxErrorValue), {t->toString(), QString::number(n)});
            break;
        case SensorToken::Unknown:
            error += Format(Text(TxUnknownMeasureType), {t->toString(), QString::number(n)});
            break;
        case SensorToken::Analog:
            v.analogVolts = s.value;
            break;
        case SensorToken::Temperature:
            v.sensors.push_back({false, s.address - 16, s.value});
            break;
        case SensorToken::Humidity:
            v.sensors.push_back({true, s.address, s.value});
            break;
        }
    }
    out.errorText = error;
    out.ok = error.isEmpty();
    return out;
}

void ParseCurrentValues(QStringView reply, CurrentValuesSink &sink, Link::ProtocolEngine &engine)
{
    const CurrentValuesParse parsed = ParseCurrentValues(reply);
    if (!parsed.ok) {
        engine.ReportMessage(parsed.errorText, true);
        return;
    }
    sink.ShowCurrentValues(parsed.values);
}

bool SensorMissing(bool humidity, double v)
{
    return humidity ? (v > 998.0 && v < 1000.0) : (v > 99.8 && v < 100.0);
}

QString SensorCellText(bool humidity, float value, QChar decimalSep)
{
    if (SensorMissing(humidity, value))
        return Lang::Text(Lang::TxSensorOutOfRange);
    QString text = QString::asprintf("%5.1f", double(value));
    if (decimalSep != u'.')
        text.replace(u'.', decimalSep);
    return text;
}

} // namespace Measure
