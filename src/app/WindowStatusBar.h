#pragma once

#include <QStatusBar>

class QLabel;

// The one-panel status bar of the text and workbook windows. A screen reader hears the
// panel's text, and the bar is named by it, as the main window's status line is.
class WindowStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit WindowStatusBar(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const;

private:
    QLabel *m_panel = nullptr;
};
