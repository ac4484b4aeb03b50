#include "model/Win1252.h"

#include <QStringDecoder>

#include <array>

namespace Model {

namespace {

// 0x80..0x9F; zero marks the five undefined positions, which map to themselves
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c || (kHigh[i] == 0 && c == 0x80 + i))
            return char(0x80 + i);
    return '?';
}

} // namespace

QByteArray ToWin1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out += encodeOne(c.unicode());
    return out;
}

QString FromWin1252(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] != 0)
            out += QChar(kHigh[u - 0x80]);
        else
            out += QChar(u);
    }
    return out;
}

QString DecodeUtf8OrWin1252(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return FromWin1252(bytes);
}

} // namespace Model
