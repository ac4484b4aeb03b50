#include "model/Numbers.h"

#include <charconv>
#include <cmath>

namespace Model {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QString NormalizeDecimal(QStringView text, QChar separator)
{
    QString out = text.toString();
    for (QChar &c : out)
        if (c == u'.' || c == u',')
            c = separator;
    return out;
}

std::optional<double> ToNumber(QStringView text)
{
    // checked and converted by hand: records carry tens of thousands of these, and the
    // conversion must not follow the user's locale
    const QStringView t = text.trimmed();
    char buffer[64];
    if (t.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    qsizetype n = 0;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            buffer[n++] = '-';
        ++i;
    }
    int digits = 0;
    bool separator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            ++digits;
            buffer[n++] = char(c.unicode());
        } else if ((c == u'.' || c == u',') && !separator) {
            separator = true;
            buffer[n++] = '.';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error != std::errc() || end != buffer + n || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint32> ToInteger(QStringView text)
{
    const QStringView t = text.trimmed();
    char buffer[24];
    if (t.isEmpty() || t.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    qsizetype n = 0;
    qsizetype i = 0;
    if (t[0] == u'+' || t[0] == u'-') {
        if (t[0] == u'-')
            buffer[n++] = '-';
        i = 1;
    }
    if (i == t.size())
        return std::nullopt;
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i]))
            return std::nullopt;
        buffer[n++] = char(t[i].unicode());
    }
    qint32 value = 0;
    const auto [end, error] = std::from_chars(buffer, buffer + n, value);
    if (error != std::errc() || end != buffer + n)
        return std::nullopt;
    return value;
}

} // namespace Model
