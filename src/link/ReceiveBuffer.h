#pragma once

#include <QByteArray>

#include <optional>

namespace Link {

// Assembles the byte stream into one telegram at a time: the bytes up to the first LF,
// when there are more than 8 of them.
class ReceiveBuffer
{
public:
    static constexpr qsizetype kMinTelegram = 9;
    static constexpr qsizetype kMaxWithoutLf = 4096;

    // true when this byte completed a telegram
    bool feed(char byte);

    // The complete telegram, handed out once.
    std::optional<QByteArray> fetch();

    // Forgets a waiting telegram and a partial line alike.
    void discard();

    const QByteArray &text() const { return m_text; }
    bool complete() const { return m_complete; }

private:
    QByteArray m_text;
    bool m_complete = false;
    bool m_fetched = false;
};

} // namespace Link
