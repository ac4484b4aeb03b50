#include "measure/TextRows.h"

#include "model/WholeFile.h"

namespace Measure {

void TextRows::clear()
{
    m_bytes.clear();
    m_starts.clear();
    m_characters = 0;
}

void TextRows::appendLine(const QString &line)
{
    m_starts.push_back(m_bytes.size());
    m_bytes += line.toUtf8();
    m_bytes += "\r\n";
    m_characters += line.size();
}

void TextRows::appendLines(const QStringList &lines)
{
    for (const QString &line : lines)
        appendLine(line);
}

void TextRows::setLines(const QStringList &lines)
{
    clear();
    appendLines(lines);
}

QString TextRows::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return {};
    const qsizetype start = m_starts[std::size_t(index)];
    const qsizetype end = index + 1 < lineCount() ? m_starts[std::size_t(index) + 1] : m_bytes.size();
    return QString::fromUtf8(m_bytes.constData() + start, end - start - 2);
}

QString TextRows::text(int first, int count) const
{
    first = qMax(0, first);
    count = qMin(count, lineCount() - first);
    if (count <= 0)
        return {};
    const qsizetype start = m_starts[std::size_t(first)];
    const int last = first + count;
    const qsizetype end = last < lineCount() ? m_starts[std::size_t(last)] : m_bytes.size();
    QString out = QString::fromUtf8(m_bytes.constData() + start, end - start - 2);
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return out;
}

bool TextRows::Save(const QString &path, QString *error) const
{
    return Model::WriteWholeFile(path, m_bytes, error);
}

} // namespace Measure
