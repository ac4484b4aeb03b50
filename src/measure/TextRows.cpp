#include "measure/TextRows.h"

#include "model/WholeFile.h"

#include <algorithm>

namespace Measure {

namespace {

constexpr qsizetype kBlockBytes = 1 << 20;

} // namespace

void TextRows::clear()
{
    m_blocks.clear();
    m_starts.clear();
    m_characters = 0;
}

void TextRows::appendLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    const qsizetype needed = bytes.size() + 2;
    if (m_blocks.empty() || m_blocks.back().size() + needed > m_blocks.back().capacity()) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(std::max(kBlockBytes, needed));
    }
    QByteArray &block = m_blocks.back();
    m_starts.push_back({quint32(m_blocks.size() - 1), quint32(block.size())});
    block += bytes;
    block += "\r\n";
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

QByteArrayView TextRows::lineBytes(int index) const
{
    const Start start = m_starts[std::size_t(index)];
    const QByteArray &block = m_blocks[start.block];
    qsizetype end = block.size();
    if (index + 1 < lineCount() && m_starts[std::size_t(index) + 1].block == start.block)
        end = m_starts[std::size_t(index) + 1].offset;
    return QByteArrayView(block.constData() + start.offset, end - start.offset - 2);
}

QString TextRows::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return {};
    return QString::fromUtf8(lineBytes(index));
}

QString TextRows::text(int first, int count) const
{
    first = qMax(0, first);
    count = qMin(count, lineCount() - first);
    if (count <= 0)
        return {};
    QByteArray joined;
    for (int i = first; i < first + count; ++i) {
        if (i > first)
            joined += '\n';
        joined += lineBytes(i);
    }
    return QString::fromUtf8(joined);
}

QByteArray TextRows::bytes() const
{
    QByteArray all;
    for (const QByteArray &block : m_blocks)
        all += block;
    return all;
}

int TextRows::longestLine(int first, int count) const
{
    first = qMax(0, first);
    const int last = qMin(lineCount(), first + qMax(0, count));
    int longest = 0;
    for (int i = first; i < last; ++i) {
        int units = 0;
        for (const char c : lineBytes(i)) {
            const auto byte = uchar(c);
            // continuation bytes add nothing; a four-byte sequence is a surrogate pair
            units += (byte & 0xC0) != 0x80;
            units += byte >= 0xF0;
        }
        longest = std::max(longest, units);
    }
    return longest;
}

bool TextRows::Save(const QString &path, QString *error) const
{
    Model::WholeFile file(path);
    bool written = file.open();
    for (std::size_t i = 0; written && i < m_blocks.size(); ++i)
        written = file.write(m_blocks[i]);
    if (written && file.commit())
        return true;
    if (error)
        *error = file.errorText();
    return false;
}

} // namespace Measure
