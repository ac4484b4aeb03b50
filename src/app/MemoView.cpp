#include "app/MemoView.h"

#include "app/TextRowModel.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>

MemoView::MemoView(QWidget *parent)
    : QListView(parent)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, Qt::blue);
    setPalette(pal);
    // all items have one size, so a long read lays out in constant time
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { m_followEnd = value >= verticalScrollBar()->maximum(); });
}

void MemoView::setRowModel(TextRowModel *model)
{
    m_model = model;
    setModel(model);
    connect(model, &TextRowModel::longestLineGrew, this, &MemoView::updateItemSize);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        m_followEnd = true;
        updateItemSize();
    });
    updateItemSize();
}

QList<int> MemoView::selectedLines() const
{
    QList<int> rows;
    const QModelIndexList indexes = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    rows.reserve(indexes.size());
    for (const QModelIndex &index : indexes)
        rows.append(index.row());
    return rows;
}

void MemoView::keyPressEvent(QKeyEvent *event)
{
    if (m_model && state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(m_model->linesText(selectedLines()));
            return;
        }
        if (event->key() == Qt::Key_Delete && !selectedLines().isEmpty()) {
            const int row = currentIndex().row();
            m_model->removeLines(selectedLines());
            if (m_model->rowCount() > 0)
                setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1)));
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void MemoView::changeEvent(QEvent *event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateItemSize();
}

void MemoView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    const bool follow = m_followEnd;
    QListView::rowsInserted(parent, start, end);
    if (follow)
        scrollToBottom();
}

void MemoView::updateItemSize()
{
    if (!m_model)
        return;
    const QFontMetrics metrics(font());
    // a fixed-pitch font: the longest line in characters gives the widest row
    const int width = metrics.horizontalAdvance(u'0') * std::max(m_model->longestLine() + 2, 10);
    m_model->setItemSize(QSize(width, metrics.height() + 2));
    scheduleDelayedItemsLayout();
}
