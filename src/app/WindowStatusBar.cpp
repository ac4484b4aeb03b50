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
    m_source.reset();
    showText(text);
}

void WindowStatusBar::setText(Lang::TextId id, const QStringList &args)
{
    m_source.emplace(id, args);
    showText(Lang::Format(Lang::Text(id), args));
}

void WindowStatusBar::ApplyLanguageTexts()
{
    if (m_source)
        showText(Lang::Format(Lang::Text(m_source->first), m_source->second));
    else if (!text().isEmpty())
        showText({});
}

void WindowStatusBar::showText(const QString &text)
{
    m_panel->setText(text);
    // the bar itself says nothing of a panel added to it
    setAccessibleName(text);
}

QString WindowStatusBar::text() const
{
    return m_panel->text();
}
