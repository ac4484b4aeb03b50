#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Link {

// What the protocol engine needs of the line; tests put a fake in its place.
class Port
{
public:
    virtual ~Port() = default;
    virtual bool PortReady() const = 0;
    // Whatever was received and not yet fetched is dropped first: it cannot answer this
    // request, and kept it would pair with it and leave every later exchange one reply behind.
    virtual bool SendText(const QByteArray &telegram) = 0;
    virtual std::optional<QByteArray> FetchTelegram() = 0;
    // Which device at which speed, for a message that the instrument does not answer.
    virtual QString PortDescription() const { return {}; }
};

} // namespace Link
