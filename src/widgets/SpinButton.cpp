#include "widgets/SpinButton.h"

#include "widgets/TRahmen.h"
#include "widgets/TTextSpin.h"

#include <QMouseEvent>
#include <QPainter>

SpinButton::SpinButton(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeatMs);
        step();
    });
}

QRect SpinButton::upRect() const
{
    return QRect(0, 0, width(), height() / 2);
}

QRect SpinButton::downRect() const
{
    return QRect(0, height() / 2, width(), height() - height() / 2);
}

void SpinButton::step()
{
    if (m_held == Half::Up)
        emit upStep();
    else if (m_held == Half::Down)
        emit downStep();
}

void SpinButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_held = upRect().contains(pos) ? Half::Up : downRect().contains(pos) ? Half::Down : Half::None;
    if (m_held == Half::None)
        return;
    update();
    step();
    m_repeat.start(kFirstRepeatMs);
}

void SpinButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_repeat.stop();
    m_held = Half::None;
    update();
}

void SpinButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
    const QColor arrow = isEnabled() ? pal.color(QPalette::ButtonText) : dark;
    for (const bool up : {true, false}) {
        const QRect r = up ? upRect() : downRect();
        if (r.width() <= 0 || r.height() <= 0)
            continue;
        const bool pressed = m_held == (up ? Half::Up : Half::Down);
        painter.fillRect(r, pal.color(QPalette::Button));
        if (pressed)
            TRahmen::DrawBevel(painter, r, 1, dark, light);
        else
            TRahmen::DrawBevel(painter, r, 1, light, dark);
        QPolygon triangle = TTextSpin::ArrowPolygon(r.adjusted(1, 1, -1, -1), up);
        if (pressed)
            triangle.translate(1, 1);
        painter.setPen(arrow);
        painter.setBrush(arrow);
        painter.drawPolygon(triangle);
    }
}
