#pragma once

#include <QByteArray>

#include <optional>

namespace Link {

// What the protocol engine needs of the line; tests put a fake in its place.
class Port
{
public:
    virtual ~Port() = default;
    virtual bool PortReady() const = 0;
    virtual bool SendText(const QByteArray &telegram) = 0;
    virtual std::optional<QByteArray> FetchTelegram() = 0;
};

} // namespace Link
