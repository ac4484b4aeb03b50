#include "measure/LiveJson.h"

#include <QJsonDocument>
#include <QJsonArray>
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

QList<RetainedMessage> DiscoveryMessages(const QString &serial, const QString &liveTopic, const QString &statusTopic,
                                         const QByteArray &reading)
{
    const QJsonObject values = QJsonDocument::fromJson(reading).object();
    struct Value
    {
        QString key, name, unit, deviceClass, path;
    };
    QList<Value> present{{QStringLiteral("ions"), QStringLiteral("Ions"), QStringLiteral("1/cm³"), {},
                          QStringLiteral("value_json.ions")}};
    if (values.contains(QLatin1String("analog")))
        present.append({QStringLiteral("analog"), values.value(QLatin1String("analog"))[QLatin1String("name")].toString(),
                        QStringLiteral("V"), QStringLiteral("voltage"), QStringLiteral("value_json.analog.value")});
    for (const char *kind : {"humidity", "temperature"}) {
        const bool humidity = kind[0] == 'h';
        const QStringList sensors = values.value(QLatin1String(kind)).toObject().keys();
        for (const QString &nr : sensors)
            present.append({QLatin1String(kind) + nr, (humidity ? QStringLiteral("H ") : QStringLiteral("T ")) + nr,
                            humidity ? QStringLiteral("%") : QStringLiteral("°C"), QLatin1String(kind),
                            QStringLiteral("value_json.%1['%2']").arg(QLatin1String(kind), nr)});
    }
    const QJsonObject device{{QStringLiteral("identifiers"), QJsonArray{serial}},
                             {QStringLiteral("name"), QStringLiteral("QT 8800 ") + serial},
                             {QStringLiteral("model"), QStringLiteral("QT 8800")}};
    QList<RetainedMessage> out;
    for (const Value &v : std::as_const(present)) {
        const QString id = QStringLiteral("qt8800_%1_%2").arg(serial, v.key);
        QJsonObject config{{QStringLiteral("name"), v.name},
                           {QStringLiteral("unique_id"), id},
                           {QStringLiteral("state_topic"), liveTopic},
                           {QStringLiteral("value_template"), QStringLiteral("{{ %1 }}").arg(v.path)},
                           {QStringLiteral("unit_of_measurement"), v.unit},
                           {QStringLiteral("state_class"), QStringLiteral("measurement")},
                           {QStringLiteral("availability_topic"), statusTopic},
                           {QStringLiteral("device"), device}};
        if (!v.deviceClass.isEmpty())
            config.insert(QStringLiteral("device_class"), v.deviceClass);
        out.append({QStringLiteral("homeassistant/sensor/%1/config").arg(id), QJsonDocument(config).toJson(QJsonDocument::Compact)});
    }
    return out;
}

} // namespace Measure
