#include "measure/LiveRows.h"

#include "lang/Texts.h"

#include <QStringList>

#include <algorithm>

namespace Measure {

namespace {

QString sensorCaption(const LiveColumns::Sensor &s)
{
    using namespace Lang;
    return Text(s.humidity ? TxFieldHumidityPrefix : TxFieldTemperaturePrefix)
           + QString::number(s.sensor, 16).toUpper();
}

QString decimalText(double value, int decimals, QChar separator)
{
    QString text = QString::number(value, 'f', decimals);
    if (separator != u'.')
        text.replace(u'.', separator);
    return text;
}

} // namespace

LiveColumns LiveColumnsFor(const CurrentValues &values)
{
    LiveColumns columns;
    columns.analog = values.analogVolts.has_value();
    for (const CurrentValues::Sensor &s : values.sensors) {
        const LiveColumns::Sensor key{s.humidity, s.sensor};
        if (std::find(columns.sensors.begin(), columns.sensors.end(), key) == columns.sensors.end())
            columns.sensors.push_back(key);
    }
    std::sort(columns.sensors.begin(), columns.sensors.end(), [](const auto &a, const auto &b) {
        return a.humidity != b.humidity ? a.humidity : a.sensor < b.sensor;
    });
    return columns;
}

QStringList LiveHeadingCells(const LiveColumns &columns, const QString &analogCaption)
{
    using namespace Lang;
    QStringList cells{Text(TxFieldDate).trimmed(), Text(TxFieldTime).trimmed(), Text(TxLiveRangeCaption),
                      Text(TxLiveIonCaption)};
    if (columns.analog)
        cells << analogCaption.trimmed();
    for (const LiveColumns::Sensor &s : columns.sensors)
        cells << sensorCaption(s);
    return cells;
}

QString LiveHeading(const LiveColumns &columns, const QString &analogCaption)
{
    return LiveHeadingCells(columns, analogCaption).join(u';');
}

void LiveCells(const LiveColumns &columns, const QDateTime &when, const CurrentValues &values,
               const DisplayFormats &formats, std::vector<QString> &cells)
{
    cells.clear();
    cells.push_back(when.date().toString(formats.dateFormat));
    cells.push_back(when.time().toString(formats.timeFormat) + formats.decimalSep
                    + QStringLiteral("%1").arg(when.time().msec(), 3, 10, QChar(u'0')));
    cells.push_back(QString::number(values.range));
    cells.push_back(QString::number(values.polarity == 1 ? -qint64(values.ionValue) : qint64(values.ionValue)));
    if (columns.analog)
        cells.push_back(values.analogVolts ? decimalText(*values.analogVolts, 3, formats.decimalSep) : QString());
    for (const LiveColumns::Sensor &column : columns.sensors) {
        QString cell;
        for (const CurrentValues::Sensor &s : values.sensors)
            if (s.humidity == column.humidity && s.sensor == column.sensor && !SensorMissing(s.humidity, s.value))
                cell = decimalText(s.value, 1, formats.decimalSep);
        cells.push_back(std::move(cell));
    }
}

QString LiveRow(const LiveColumns &columns, const QDateTime &when, const CurrentValues &values,
                const DisplayFormats &formats)
{
    std::vector<QString> cells;
    LiveCells(columns, when, values, formats, cells);
    QString row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            row += u';';
        row += cells[i];
    }
    return row;
}

} // namespace Measure
