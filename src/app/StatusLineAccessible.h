#pragma once

#include <QAccessibleWidget>
#include <QPointer>

#include <array>

class StatusLine;

// The status line to assistive technology: a status bar whose children are its four
// panels, each a piece of static text. The bar's name is the message, so that a screen
// reader following name changes hears each message, and an error comes as an alert.
class StatusLineAccessible : public QAccessibleWidget
{
public:
    explicit StatusLineAccessible(StatusLine *line);
    ~StatusLineAccessible() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    static void install();

private:
    std::array<QAccessible::Id, 4> m_panels{};
};

// one panel of the status line
class StatusPanelAccessible : public QAccessibleInterface
{
public:
    StatusPanelAccessible(StatusLine *line, int index);

    bool isValid() const override { return !m_line.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;

private:
    QPointer<StatusLine> m_line;
    int m_index;
};
