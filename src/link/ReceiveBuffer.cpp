#include "link/ReceiveBuffer.h"

namespace Link {

bool ReceiveBuffer::feed(char byte)
{
    if (m_complete) {
        // whatever follows a telegram replaces it, fetched or not
        m_text.clear();
        m_complete = false;
        m_fetched = false;
    }
    m_text += byte;
    if (byte == '\n') {
        if (m_text.size() < kMinTelegram) {
            // too short to be a telegram; dropping it keeps the next one from being blocked
            m_text.clear();
            return false;
        }
        m_complete = true;
        return true;
    }
    if (m_text.size() > kMaxWithoutLf)
        m_text.clear();    // noise must not exhaust memory or block reception
    return false;
}

std::optional<QByteArray> ReceiveBuffer::fetch()
{
    if (!m_complete || m_fetched)
        return std::nullopt;
    m_fetched = true;
    return m_text;
}

void ReceiveBuffer::discard()
{
    m_text.clear();
    m_complete = false;
    m_fetched = false;
}

} // namespace Link
