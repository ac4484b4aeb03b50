#pragma once

#include <QListView>

class TextRowModel;

// The text window's memo: every line of the read in a fixed-pitch font, blue. A line is
// edited in place (typing, F2 or a double click), Delete takes the selected lines out,
// Ctrl+C copies them. It follows the end while new lines arrive, unless the user scrolled up.
class MemoView : public QListView
{
    Q_OBJECT
public:
    explicit MemoView(QWidget *parent = nullptr);

    void setRowModel(TextRowModel *model);
    TextRowModel *rowModel() const { return m_model; }
    QList<int> selectedLines() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    void updateItemSize();

    TextRowModel *m_model = nullptr;
    bool m_followEnd = true;
};
