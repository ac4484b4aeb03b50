#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <QTimer>

namespace Measure {
class TextRows;
}

// The rows of a text read as a list model, one item per line, straight from the store that
// saving writes: showing costs no copy, and however long the read, every line stays in view.
// New lines are announced in batches at most ten times a second: a list view lays out all its
// rows on every insertion, so announcing each record would make a long read quadratic.
class TextRowModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int kFlushMs = 100;

    explicit TextRowModel(Measure::TextRows &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // the store has lines the model has not announced yet
    void linesAppended();
    // announces what is pending at once
    void flush();
    // the store was emptied or replaced behind the model's back
    void resetFromStore();
    // empties the store
    void clear();
    // takes the lines at the given rows out of the store
    void removeLines(QList<int> rows);
    // the lines at the given rows, joined by "\n"
    QString linesText(QList<int> rows) const;

    // the widest line so far in characters; a fixed-pitch view sizes its rows by it
    int longestLine() const { return m_longest; }
    // every item gets this size (the view's font and the longest line); the view lays out again
    void setItemSize(QSize size);

Q_SIGNALS:
    void longestLineGrew();

private:
    void measure(int first, int count);

    Measure::TextRows &m_rows;
    int m_shown = 0;
    int m_longest = 0;
    QSize m_itemSize;
    QTimer m_flush;
};
