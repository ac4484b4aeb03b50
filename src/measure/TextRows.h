#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace Measure {

// Every line of a text read, however many: a view may show only part of them, but saving
// always writes them all. Kept as UTF-8 with CR LF, the file's own form, in blocks of a fixed
// size that a line never straddles: a long read costs memory in proportion to its bytes, and
// growing never copies what is already stored.
class TextRows
{
public:
    void clear();
    void appendLine(const QString &line);
    void appendLines(const QStringList &lines);
    // Replaces everything, for instance with what the user edited in the window.
    void setLines(const QStringList &lines);

    int lineCount() const { return int(m_starts.size()); }
    QString line(int index) const;
    // Lines [first, first + count) joined by "\n", for a view that appends in batches.
    QString text(int first, int count) const;
    qsizetype characterCount() const { return m_characters; }
    // The longest of lines [first, first + count) in UTF-16 units, as line() would give them,
    // counted in the stored bytes: a batch of 100,000 lines needs no text of its own.
    int longestLine(int first, int count) const;
    // everything as the file holds it
    QByteArray bytes() const;

    // Writes all lines, each ended by CR LF, replacing `path` only when the whole file is
    // written: a failure leaves the previous file as it was. `error` gets the system's reason.
    bool Save(const QString &path, QString *error = nullptr) const;

private:
    struct Start
    {
        quint32 block;
        quint32 offset;
    };
    // the bytes of line `index` without its CR LF
    QByteArrayView lineBytes(int index) const;

    std::vector<QByteArray> m_blocks;
    std::vector<Start> m_starts;
    qsizetype m_characters = 0;
};

} // namespace Measure
