#include "measure/LiveJson.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace Measure {

namespace {

// a float's shortest decimal, so 45.6 stays 45.6 and not 45.599998
double tidy(float value)
{
    return QString::number(value, 'g', 7).toDouble();
}

} // namespace

QByteArray LiveJson(const QDateTime &when, const CurrentValues &values, const QString &analogName)
{
    QJsonObject o;
    o.insert(QStringLiteral("time"), when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("range"), values.range);
    o.insert(QStringLiteral("polarity"), values.polarity ? QStringLiteral("neg") : QStringLiteral("pos"));
    o.insert(QStringLiteral("ions"), values.polarity ? -values.ionValue : values.ionValue);
    if (values.analogVolts)
        o.insert(QStringLiteral("analog"), QJsonObject{{QStringLiteral("name"), analogName.trimmed()},
                                                       {QStringLiteral("unit"), QStringLiteral("V")},
                                                       {QStringLiteral("value"), tidy(*values.analogVolts)}});
    QJsonObject humidity, temperature;
    for (const CurrentValues::Sensor &s : values.sensors) {
        const QJsonValue value = SensorMissing(s.humidity, s.value) ? QJsonValue() : QJsonValue(tidy(s.value));
        (s.humidity ? humidity : temperature).insert(QString::number(s.sensor), value);
    }
    if (!humidity.isEmpty())
        o.insert(QStringLiteral("humidity"), humidity);
    if (!temperature.isEmpty())
        o.insert(QStringLiteral("temperature"), temperature);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

} // namespace Measure
