#include "app/TextRowModel.h"

#include "measure/TextRows.h"

#include <algorithm>

TextRowModel::TextRowModel(Measure::TextRows &rows, QObject *parent)
    : QAbstractListModel(parent)
    , m_rows(rows)
{
    m_flush.setSingleShot(true);
    m_flush.setInterval(kFlushMs);
    connect(&m_flush, &QTimer::timeout, this, &TextRowModel::flush);
    m_shown = m_rows.lineCount();
    measure(0, m_shown);
}

int TextRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

QVariant TextRowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return m_rows.line(index.row());
    case Qt::SizeHintRole:
        return m_itemSize.isValid() ? QVariant(m_itemSize) : QVariant();
    default:
        return {};
    }
}

bool TextRowModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_shown)
        return false;
    // a line must stay one line: what the user pastes with breaks is joined by blanks
    QString line = value.toString();
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    if (line == m_rows.line(index.row()))
        return false;
    flush();
    QStringList lines;
    lines.reserve(m_rows.lineCount());
    for (int i = 0; i < m_rows.lineCount(); ++i)
        lines.append(i == index.row() ? line : m_rows.line(i));
    m_rows.setLines(lines);
    measure(index.row(), 1);
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags TextRowModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

void TextRowModel::linesAppended()
{
    if (!m_flush.isActive())
        m_flush.start();
}

void TextRowModel::flush()
{
    m_flush.stop();
    const int total = m_rows.lineCount();
    if (total < m_shown) {
        resetFromStore();
        return;
    }
    if (total == m_shown)
        return;
    const int first = m_shown;
    beginInsertRows({}, first, total - 1);
    m_shown = total;
    endInsertRows();
    measure(first, total - first);
}

void TextRowModel::resetFromStore()
{
    m_flush.stop();
    beginResetModel();
    m_shown = m_rows.lineCount();
    m_longest = 0;
    endResetModel();
    measure(0, m_shown);
}

void TextRowModel::clear()
{
    m_rows.clear();
    resetFromStore();
}

void TextRowModel::removeLines(QList<int> rows)
{
    flush();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return;
    QStringList kept;
    kept.reserve(m_rows.lineCount());
    qsizetype next = 0;
    for (int i = 0; i < m_rows.lineCount(); ++i) {
        if (next < rows.size() && rows.at(next) == i) {
            ++next;
            continue;
        }
        kept.append(m_rows.line(i));
    }
    m_rows.setLines(kept);
    resetFromStore();
}

QString TextRowModel::linesText(QList<int> rows) const
{
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows)
        if (row >= 0 && row < m_shown)
            lines.append(m_rows.line(row));
    return lines.join(u'\n');
}

void TextRowModel::setItemSize(QSize size)
{
    m_itemSize = size;
}

void TextRowModel::measure(int first, int count)
{
    if (count <= 0)
        return;
    const int longest = std::max(m_longest, m_rows.longestLine(first, count));
    if (longest > m_longest) {
        m_longest = longest;
        Q_EMIT longestLineGrew();
    }
}
