#include "widgets/TOvalButton.h"

#include "widgets/WidgetAccessibility.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

TOvalButton::TOvalButton(QWidget *parent)
    : QAbstractButton(parent)
{
    Widgets::installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::clicked, this, &TOvalButton::OnClick);
    resize(25, 25);
}

void TOvalButton::setBevelWidth(int width)
{
    m_bevelWidth = std::max(0, width);
    update();
}

QColor TOvalButton::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Button);
}

void TOvalButton::setColor(const QColor &colour)
{
    m_color = colour;
    update();
}

void TOvalButton::setDown(bool down)
{
    if (isCheckable())
        setChecked(down);
    else
        QAbstractButton::setDown(down);
    update();
}

void TOvalButton::setFlat(bool on)
{
    m_flat = on;
    update();
}

void TOvalButton::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph;
    updateGeometry();
    update();
}

void TOvalButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    setCheckable(index != 0);
}

void TOvalButton::nextCheckState()
{
    // grouped keys go down and stay there; the others of the group come up
    if (isChecked() && !m_allowAllUp)
        return;
    setChecked(!isChecked());
    if (isChecked() && parentWidget()) {
        const auto siblings = parentWidget()->findChildren<TOvalButton *>(Qt::FindDirectChildrenOnly);
        for (TOvalButton *other : siblings)
            if (other != this && other->GroupIndex() == m_groupIndex)
                other->setChecked(false);
    }
}

QRectF TOvalButton::OvalRect(const QRect &widgetRect)
{
    if (widgetRect.width() <= 1 || widgetRect.height() <= 1)
        return {};
    return QRectF(widgetRect).adjusted(0.5, 0.5, -0.5, -0.5);
}

bool TOvalButton::hitButton(const QPoint &pos) const
{
    const QRectF oval = OvalRect(rect());
    if (oval.isEmpty())
        return false;
    const QPointF c = oval.center();
    const double dx = (pos.x() + 0.5 - c.x()) / (oval.width() / 2);
    const double dy = (pos.y() + 0.5 - c.y()) / (oval.height() / 2);
    return dx * dx + dy * dy <= 1.0;
}

void TOvalButton::paintEvent(QPaintEvent *)
{
    const QRectF oval = OvalRect(rect());
    if (oval.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool down = Down();
    const QPalette &pal = palette();
    const double bevel = std::min<double>(m_bevelWidth, std::min(oval.width(), oval.height()) / 4);
    const bool showBevel = bevel > 0 && (!m_flat || m_hovered || down);

    if (showBevel) {
        QLinearGradient rim(oval.topLeft(), oval.bottomRight());
        rim.setColorAt(0.0, pal.color(down ? QPalette::Dark : QPalette::Light));
        rim.setColorAt(0.45, pal.color(down ? QPalette::Dark : QPalette::Light));
        rim.setColorAt(0.55, pal.color(down ? QPalette::Light : QPalette::Dark));
        rim.setColorAt(1.0, pal.color(down ? QPalette::Light : QPalette::Dark));
        painter.setPen(QPen(pal.color(QPalette::Shadow), 1));
        painter.setBrush(rim);
        painter.drawEllipse(oval);
    }
    const QRectF face = showBevel ? oval.adjusted(bevel, bevel, -bevel, -bevel) : oval;
    QColor colour = Color();
    if (!isEnabled())
        colour = pal.color(QPalette::Disabled, QPalette::Button);
    painter.setPen(showBevel ? Qt::NoPen : QPen(pal.color(QPalette::Shadow), 1));
    painter.setBrush(down ? colour.darker(115) : colour);
    painter.drawEllipse(face);

    QRectF content = face;
    if (down)
        content.translate(1, 1);
    if (!m_glyph.isNull()) {
        const QSizeF glyphSize = m_glyph.deviceIndependentSize();
        const double scale = std::min({1.0, content.width() / glyphSize.width(), content.height() / glyphSize.height()});
        const QSizeF shown = glyphSize * scale;
        painter.drawPixmap(QRectF(content.center() - QPointF(shown.width() / 2, shown.height() / 2), shown),
                           m_glyph, QRectF(m_glyph.rect()));
    }
    if (!text().isEmpty()) {
        painter.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(content, Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(pal.color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(face.adjusted(2, 2, -2, -2));
    }
}

void TOvalButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && hitButton(event->position().toPoint()))
        emit OnDblClick();
    QAbstractButton::mouseDoubleClickEvent(event);
}

void TOvalButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    emit OnMouseEnter();
    QAbstractButton::enterEvent(event);
}

void TOvalButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    emit OnMouseExit();
    QAbstractButton::leaveEvent(event);
}

QSize TOvalButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const int side = std::max(fm.height() + 2 * m_bevelWidth + 8, fm.horizontalAdvance(text()) + 2 * m_bevelWidth + 12);
    return QSize(side, std::max(fm.height() + 2 * m_bevelWidth + 8, side * 2 / 3));
}

QSize TOvalButton::minimumSizeHint() const
{
    return QSize(12, 12);
}
