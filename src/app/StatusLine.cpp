#include "app/StatusLine.h"

#include "app/StatusLineAccessible.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

StatusLine::StatusLine(QWidget *parent)
    : QWidget(parent)
{
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::WindowText);
    m_panels[PortPanel] = {{}, {}, {face, Qt::white}, {text, Qt::red}, 0, 0, 0, 75};
    m_panels[TransmitPanel] = {{}, QStringLiteral("PC"), {QColor(0, 128, 0), QColor(0, 255, 0)}, {text, text}, 0, 100, 0, 21};
    m_panels[ReceivePanel] = {{}, QStringLiteral("QT"), {QColor(128, 128, 0), QColor(255, 255, 0)}, {text, text}, 0, 100, 0, 21};
    m_panels[MessagePanel] = {{}, {}, {face, Qt::white}, {text, Qt::red}, 0, 0, 0, 2000};
    // the port text must fit at any font size: "COM8 - 38400"
    m_panels[PortPanel].width = std::max(75, fontMetrics().horizontalAdvance(QStringLiteral("COM8 -  38400")) + 8);
    m_panels[TransmitPanel].width = m_panels[ReceivePanel].width =
        std::max(21, fontMetrics().horizontalAdvance(QStringLiteral("QT")) + 6);
    setMinimumHeight(fontMetrics().height() + 6);
    layoutPanels();
    StatusLineAccessible::install();
}

QSize StatusLine::sizeHint() const
{
    return {400, fontMetrics().height() + 6};
}

void StatusLine::layoutPanels()
{
    int left = 0;
    for (StatusPanel &p : m_panels) {
        p.rect = QRect(left, 0, p.width, height());
        left += p.width + 2;
    }
}

void StatusLine::setPanel(int index, const QString &text, int state)
{
    StatusPanel &p = m_panels[std::size_t(index)];
    // the same text again (a repeated failure) is not said again
    const bool changed = p.text != text || p.state != state;
    p.text = text;
    p.state = state;
    update(p.rect);
    if (changed)
        announcePanel(index);
}

void StatusLine::announcePanel(int index)
{
    // a screen reader hears the panel's new text, and the message through the line's name;
    // an error message is an alert
    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface *panel = line ? line->child(index) : nullptr) {
        QAccessibleEvent event(panel, QAccessible::NameChanged);
        Widgets::announce(&event);
    }
    if (index != MessagePanel) {
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        Widgets::announce(&described);
        return;
    }
    QAccessibleEvent named(this, QAccessible::NameChanged);
    Widgets::announce(&named);
    const StatusPanel &message = m_panels[MessagePanel];
    if (message.state == 1 && !message.text.isEmpty()) {
        QAccessibleEvent alert(this, QAccessible::Alert);
        Widgets::announce(&alert);
    }
}

void StatusLine::StatusMessage(const QString &text, bool error)
{
    setPanel(MessagePanel, text, error ? 1 : 0);
    if (error && m_errorBeep) {
        QApplication::beep();
        Q_EMIT beeped();
    }
}

void StatusLine::StatusClear()
{
    setPanel(MessagePanel, QString(), 0);
}

void StatusLine::StatusPortText(const QString &text, bool error)
{
    setPanel(PortPanel, text, error ? 1 : 0);
}

void StatusLine::StatusFlash(int indicator)
{
    const int index = indicator == 0 ? TransmitPanel : ReceivePanel;
    StatusPanel &p = m_panels[std::size_t(index)];
    p.state = 1;
    p.countdown = p.flashTime;
    update(p.rect);
}

void StatusLine::StatusTick()
{
    for (int index : {TransmitPanel, ReceivePanel}) {
        StatusPanel &p = m_panels[std::size_t(index)];
        if (p.countdown <= 0)
            continue;
        p.countdown -= m_tick;
        if (p.countdown <= 0) {
            p.countdown = -1;
            p.state = 0;
            update(p.rect);
        }
    }
}

void StatusLine::paintEvent(QPaintEvent *)
{
    layoutPanels();
    QPainter painter(this);
    for (const StatusPanel &p : m_panels) {
        const QRect r = p.rect.intersected(rect());
        if (r.isEmpty())
            continue;
        painter.fillRect(r, p.back[p.state]);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(p.fore[p.state]);
        painter.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, p.text);
    }
}

bool StatusLine::event(QEvent *event)
{
    // a message cut by its panel shows whole where the pointer rests on it
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const StatusPanel &p = m_panels[MessagePanel];
        const QRect r = p.rect.intersected(rect());
        if (r.contains(help->pos()) && fontMetrics().horizontalAdvance(p.text) > r.width() - 4)
            QToolTip::showText(help->globalPos(), p.text, this, r);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void StatusLine::mouseDoubleClickEvent(QMouseEvent *event)
{
    StatusClear();
    event->accept();
}
