#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace Link {
class ProtocolEngine;
}

namespace Measure {

// The instrument's live values of one TAM reply.
struct CurrentValues
{
    int range = 0;                      // measuring range index
    int polarity = 0;                   // 0 positive, 1 negative
    int ionValue = 0;
    std::optional<float> analogVolts;   // unscaled; the last analogue token wins
    struct Sensor
    {
        bool humidity = true;           // false: temperature
        int sensor = 0;                 // 0..15 within its kind
        float value = 0;
    };
    std::vector<Sensor> sensors;        // in the order of the reply
};

struct CurrentValuesParse
{
    bool ok = false;
    QString errorText;                  // reported as it is; nothing is shown then
    CurrentValues values;
};
CurrentValuesParse ParseCurrentValues(QStringView reply);

// Who shows the live values: the device view and the sensor window, or for now a stand-in.
class CurrentValuesSink
{
public:
    virtual ~CurrentValuesSink() = default;
    virtual void ShowCurrentValues(const CurrentValues &values) = 0;
};

// Several views of the same replies, each only while it wants them.
class CurrentValuesFanOut : public CurrentValuesSink
{
public:
    void Add(CurrentValuesSink &sink, std::function<bool()> wanted)
    {
        m_sinks.push_back({&sink, std::move(wanted)});
    }
    void ShowCurrentValues(const CurrentValues &values) override
    {
        for (const auto &[sink, wanted] : m_sinks)
            if (!wanted || wanted())
                sink->ShowCurrentValues(values);
    }

private:
    std::vector<std::pair<CurrentValuesSink *, std::function<bool()>>> m_sinks;
};

// The engine's TAM handler: a reply with any token error is reported and changes nothing.
void ParseCurrentValues(QStringView reply, CurrentValuesSink &sink, Link::ProtocolEngine &engine);

// A missing sensor sends a reading just under the top of its range: humidity strictly between
// 998 and 1000, temperature strictly between 99.8 and 100. The bounds are compared as doubles,
// so a temperature that arrives as 99.8 (a float a hair above) counts as missing too.
bool SensorMissing(bool humidity, double value);

// A sensor window cell: "%5.1f", or "???" for a missing sensor.
QString SensorCellText(bool humidity, float value, QChar decimalSep);

} // namespace Measure
