#include "model/TimeText.h"

#include <QList>

#include <cmath>

namespace Model {

namespace {

// The text cut at any of the separators; an empty text has no tokens at all.
QList<QStringView> tokens(QStringView text, QStringView separators)
{
    QList<QStringView> out;
    if (text.isEmpty())
        return out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !separators.contains(text[i]))
            continue;
        out.append(text.sliced(start, i - start));
        start = i + 1;
    }
    return out;
}

std::optional<int> wholeNumber(QStringView token)
{
    bool ok = false;
    const int n = token.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

QString separators(QChar localeSeparator)
{
    QString s(u':');
    if (localeSeparator != u':' && !localeSeparator.isNull())
        s += localeSeparator;
    return s;
}

} // namespace

std::optional<QTime> ReadFileTime(QStringView text, QChar localeSeparator)
{
    const QList<QStringView> parts = tokens(text.trimmed(), separators(localeSeparator));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int values[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const auto n = wholeNumber(parts[i]);
        if (!n)
            return std::nullopt;
        values[i] = *n;
    }
    const QTime time(values[0], values[1], values[2]);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

std::optional<QTime> ReadTelegramTime(QStringView text, int parts)
{
    const QList<QStringView> found = tokens(text, u":");
    if (found.isEmpty())
        return std::nullopt;
    int values[3] = {0, 0, 0};
    for (int i = 0; i < std::min<int>(parts, 3) && i < found.size(); ++i) {
        const auto n = wholeNumber(found[i]);
        if (!n)
            return std::nullopt;
        values[i] = *n;
    }
    const QTime time(values[0], values[1], values[2]);
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

std::optional<QString> ReadSpanText(QStringView text, QChar localeSeparator)
{
    const QString seps = separators(localeSeparator);
    const QList<QStringView> found = tokens(text, seps);
    if (found.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < std::min<qsizetype>(found.size(), 3); ++i)
        if (!wholeNumber(found[i]))
            return std::nullopt;
    QString out = text.toString();
    if (seps.size() > 1)
        out.replace(seps.at(1), u':');
    return out;
}

QString TimeOfDayText(double days, bool zeroSeconds)
{
    const qint64 ms = std::llround((days - std::floor(days)) * 86400000.0) % 86400000;
    const QTime t = QTime(0, 0).addMSecs(int(ms));
    return t.toString(zeroSeconds ? QStringLiteral("HH:mm:'00'") : QStringLiteral("HH:mm:ss"));
}

} // namespace Model
