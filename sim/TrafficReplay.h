#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Sim {

// The instrument's side of a traffic log the program wrote: every request is answered with
// what followed the same request in the log. A request the log never saw gets no answer; one
// seen several times gets the recorded replies in turn, the last one again once they run out.
// A request the instrument left unanswered is answered with silence again.
class TrafficReplay
{
public:
    struct Parsed;

    // Nothing, with the reason in `error`, for a file that is not such a log: binary, from
    // another program, cut off within its heading, or without a single request. A last line
    // cut off mid-way is dropped, and said so in `warnings`.
    static std::optional<TrafficReplay> Parse(const QByteArray &log, QString *error, QStringList *warnings = nullptr);

    // The reply bytes for one request line (CR LF included or not); empty for no answer.
    QByteArray handle(const QByteArray &request);
    bool knows(const QByteArray &request) const;

    int exchangeCount() const { return m_exchanges; }
    int requestCount() const { return int(m_answers.size()); }

    // "<13>" back to the byte it stands for; text that no log escape can be stays as it is.
    static QByteArray Unescape(const QByteArray &data);

private:
    struct Answers
    {
        std::vector<QByteArray> replies;    // one per time the request was sent; empty: silence
        std::size_t next = 0;
    };
    static QByteArray key(QByteArray request);

    QHash<QByteArray, Answers> m_answers;
    int m_exchanges = 0;
};

} // namespace Sim
