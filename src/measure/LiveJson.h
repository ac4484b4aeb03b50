#pragma once

#include "measure/CurrentValues.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace Measure {

// One reading as a compact JSON object for a message broker: ISO 8601 time with milliseconds
// and offset, range, polarity, ions, the analogue input in volts, sensors by address (null for
// a missing one). Numbers never follow the locale.
QByteArray LiveJson(const QDateTime &when, const CurrentValues &values, const QString &analogName);

struct RetainedMessage
{
    QString topic;
    QByteArray payload;
};

// Announcements for home automation, one per value `reading` (a LiveJson object) holds: a sensor
// named after the instrument `serial`, read from `liveTopic`, available while `statusTopic` says so.
QList<RetainedMessage> DiscoveryMessages(const QString &serial, const QString &liveTopic, const QString &statusTopic,
                                         const QByteArray &reading);

} // namespace Measure
