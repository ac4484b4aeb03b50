#include "app/WindowStatusBar.h"

#include <QLabel>

WindowStatusBar::WindowStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("stb1"));
    m_panel = new QLabel(this);
    m_panel->setMinimumWidth(200);
    addWidget(m_panel, 1);
}

void WindowStatusBar::setText(const QString &text)
{
    m_panel->setText(text);
    // the bar itself says nothing of a panel added to it
    setAccessibleName(text);
}

QString WindowStatusBar::text() const
{
    return m_panel->text();
}
