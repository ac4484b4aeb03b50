#include "sim/TrafficReplay.h"

#include <QList>

namespace Sim {

namespace {

const QByteArray kTitle = "Ionometer QT 8800";
constexpr int kHeadingLines = 12;

} // namespace

QByteArray TrafficReplay::Unescape(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '<') {
            const qsizetype close = data.indexOf('>', i + 1);
            const qsizetype digits = close - i - 1;
            if (close > 0 && digits >= 1 && digits <= 3) {
                bool ok = false;
                const int value = data.mid(i + 1, digits).toInt(&ok);
                // the log escapes exactly these; "<65>" typed into a name is text
                if (ok && value >= 0 && value <= 255 && (value < 32 || value > 126)) {
                    out += char(value);
                    i = close;
                    continue;
                }
            }
        }
        out += data[i];
    }
    return out;
}

QByteArray TrafficReplay::key(QByteArray request)
{
    while (request.endsWith('\n') || request.endsWith('\r'))
        request.chop(1);
    return request;
}

std::optional<TrafficReplay> TrafficReplay::Parse(const QByteArray &log, QString *error, QStringList *warnings)
{
    auto fail = [error](const QString &text) -> std::optional<TrafficReplay> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    // the log escapes every control byte but TAB between its columns and its line ends
    for (char c : log) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 && b != '\t' && b != '\r' && b != '\n')
            return fail(QStringLiteral("not a traffic log: the file holds binary data"));
    }
    QList<QByteArray> lines = log.split('\n');
    if (!log.endsWith('\n')) {
        if (!lines.isEmpty() && !lines.last().isEmpty() && warnings)
            *warnings << QStringLiteral("the log's last line is cut off and was left out: %1")
                             .arg(QString::fromLatin1(lines.last().left(60)));
        lines.removeLast();
    } else {
        lines.removeLast();     // after the final line end
    }
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);

    if (lines.isEmpty() || !lines.first().startsWith(kTitle))
        return fail(QStringLiteral("not a traffic log of the QT 8800 program: its first line does not start with \"%1\"")
                        .arg(QString::fromLatin1(kTitle)));
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines.size() && i < kHeadingLines && first < 0; ++i)
        if (lines[i] == QByteArray(74, '-'))
            first = i + 1;
    if (first < 0)
        return fail(QStringLiteral("the traffic log's heading is incomplete (no line of hyphens)"));

    TrafficReplay replay;
    Answers *open = nullptr;    // the request the next replies belong to
    int skipped = 0;
    for (qsizetype i = first; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const QList<QByteArray> columns = line.split('\t');
        if (columns.size() != 3) {
            // restart and end lines of the log itself
            if (!line.startsWith("Protokollstart") && !line.startsWith("Ende Protokoll") && !line.trimmed().isEmpty())
                ++skipped;
            continue;
        }
        const QByteArray sender = columns[0].trimmed();
        if (sender == "PC") {
            Answers &answers = replay.m_answers[key(Unescape(columns[2]))];
            answers.replies.emplace_back();
            open = &answers;
            ++replay.m_exchanges;
        } else if (sender == "QT8800") {
            // a reply before any request answers nothing that can be asked again
            if (open)
                open->replies.back() += Unescape(columns[2]);
        } else if (sender != "Con") {
            ++skipped;
        }
    }
    if (skipped > 0 && warnings)
        *warnings << QStringLiteral("%1 line(s) of the log were not entries and were left out").arg(skipped);
    if (replay.m_exchanges == 0)
        return fail(QStringLiteral("the traffic log holds no request"));
    return replay;
}

bool TrafficReplay::knows(const QByteArray &request) const
{
    return m_answers.contains(key(request));
}

QByteArray TrafficReplay::handle(const QByteArray &request)
{
    const auto it = m_answers.find(key(request));
    if (it == m_answers.end())
        return {};
    Answers &answers = *it;
    const QByteArray reply = answers.replies[std::min(answers.next, answers.replies.size() - 1)];
    if (answers.next < answers.replies.size())
        ++answers.next;
    return reply;
}

} // namespace Sim
