#include "app/StatusLineAccessible.h"

#include "app/StatusLine.h"

namespace {

QAccessibleInterface *statusLineFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("StatusLine") && object && object->isWidgetType())
        return new StatusLineAccessible(static_cast<StatusLine *>(object));
    return nullptr;
}

} // namespace

StatusLineAccessible::StatusLineAccessible(StatusLine *line)
    : QAccessibleWidget(line, QAccessible::StatusBar)
{
    for (int i = 0; i < int(m_panels.size()); ++i)
        m_panels[std::size_t(i)] = QAccessible::registerAccessibleInterface(new StatusPanelAccessible(line, i));
}

StatusLineAccessible::~StatusLineAccessible()
{
    // the cache owns the panels; one already gone (application shut-down) is skipped there
    for (QAccessible::Id id : m_panels)
        QAccessible::deleteAccessibleInterface(id);
}

void StatusLineAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(statusLineFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString StatusLineAccessible::text(QAccessible::Text t) const
{
    const auto *line = static_cast<const StatusLine *>(widget());
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return line->panel(StatusLine::MessagePanel).text;
    if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
        return line->panel(StatusLine::PortPanel).text;
    return QAccessibleWidget::text(t);
}

int StatusLineAccessible::childCount() const
{
    return int(m_panels.size());
}

QAccessibleInterface *StatusLineAccessible::child(int index) const
{
    return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(m_panels[std::size_t(index)])
                                                : nullptr;
}

int StatusLineAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessible::accessibleInterface(m_panels[std::size_t(i)]) == child)
            return i;
    return -1;
}

QAccessibleInterface *StatusLineAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface *panel = child(i); panel && panel->rect().contains(x, y))
            return panel;
    return nullptr;
}

// ---------------------------------------------------------------------------------------

StatusPanelAccessible::StatusPanelAccessible(StatusLine *line, int index)
    : m_line(line)
    , m_index(index)
{
}

QWindow *StatusPanelAccessible::window() const
{
    QAccessibleInterface *p = parent();
    return p ? p->window() : nullptr;
}

QAccessibleInterface *StatusPanelAccessible::parent() const
{
    return m_line ? QAccessible::queryAccessibleInterface(m_line.data()) : nullptr;
}

QString StatusPanelAccessible::text(QAccessible::Text t) const
{
    if (!m_line || t != QAccessible::Name)
        return {};
    return m_line->panel(m_index).text;
}

QRect StatusPanelAccessible::rect() const
{
    if (!m_line)
        return {};
    const QRect local = m_line->panel(m_index).rect.intersected(m_line->rect());
    return QRect(m_line->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State StatusPanelAccessible::state() const
{
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = !m_line || !m_line->isVisible();
    return s;
}
