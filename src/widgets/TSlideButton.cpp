#include "widgets/TSlideButton.h"

#include "widgets/WidgetAccessibility.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

using Widgets::TSwitchPos;

TSlideButton::TSlideButton(QWidget *parent)
    : TRahmen(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(40, 65);
}

void TSlideButton::setPosition(TSwitchPos position)
{
    if (position == m_position)
        return;
    m_position = position;
    update();
    Widgets::announcePressed(this);
    Widgets::announceValue(this, shownText());
}

void TSlideButton::toggle()
{
    setPosition(m_position == TSwitchPos::swPos2 ? TSwitchPos::swPos1 : TSwitchPos::swPos2);
    emit KeyChange();
}

void TSlideButton::setTextPos1(const QString &text)
{
    m_text1 = text.left(kMaxTextLength);
    updateGeometry();
    update();
}

void TSlideButton::setTextPos2(const QString &text)
{
    m_text2 = text.left(kMaxTextLength);
    updateGeometry();
    update();
}

void TSlideButton::setColorPos1(const QColor &colour)
{
    m_color1 = colour;
    update();
}

void TSlideButton::setColorPos2(const QColor &colour)
{
    m_color2 = colour;
    update();
}

void TSlideButton::setColTextPos1(const QColor &colour)
{
    m_colText1 = colour;
    update();
}

void TSlideButton::setColTextPos2(const QColor &colour)
{
    m_colText2 = colour;
    update();
}

QColor TSlideButton::ColButton() const
{
    return m_colButton.isValid() ? m_colButton : palette().color(QPalette::Button);
}

void TSlideButton::setColButton(const QColor &colour)
{
    m_colButton = colour;
    update();
}

void TSlideButton::setBmpPos1(const QPixmap &pixmap)
{
    m_bmp1 = pixmap;
    update();
}

void TSlideButton::setBmpPos2(const QPixmap &pixmap)
{
    m_bmp2 = pixmap;
    update();
}

void TSlideButton::setBmpEnable(bool on)
{
    m_bmpEnable = on;
    update();
}

QString TSlideButton::shownText() const
{
    return m_position == TSwitchPos::swPos2 ? m_text1 : m_text2;
}

TSlideButton::Geometry TSlideButton::GeometryFor(const QRect &inner, TSwitchPos position)
{
    Geometry g;
    if (inner.width() <= 0 || inner.height() <= 0)
        return g;
    const bool first = position == TSwitchPos::swPos2;
    if (inner.height() >= inner.width()) {
        const int half = inner.height() / 2;
        const QRect top(inner.left(), inner.top(), inner.width(), half);
        const QRect bottom(inner.left(), inner.top() + half, inner.width(), inner.height() - half);
        g.text = first ? top : bottom;
        g.knob = first ? bottom : top;
    } else {
        const int half = inner.width() / 2;
        const QRect left(inner.left(), inner.top(), half, inner.height());
        const QRect right(inner.left() + half, inner.top(), inner.width() - half, inner.height());
        g.text = first ? left : right;
        g.knob = first ? right : left;
    }
    return g;
}

void TSlideButton::drawContent(QPainter &painter, const QRect &inner)
{
    const Geometry g = GeometryFor(inner, m_position);
    const bool first = m_position == TSwitchPos::swPos2;
    const QPalette &pal = palette();

    painter.fillRect(g.text, first ? m_color1 : m_color2);
    const QPixmap &bmp = first ? m_bmp1 : m_bmp2;
    if (m_bmpEnable && !bmp.isNull()) {
        painter.drawPixmap(g.text, bmp);
    } else {
        const QString text = shownText();
        const QFont f = FontAutom() ? fittedFont(g.text.height() / 2, text, g.text.width() - 4) : font();
        painter.save();
        painter.setFont(f);
        painter.setPen(first ? m_colText1 : m_colText2);
        painter.drawText(g.text, Qt::AlignCenter, text);
        painter.restore();
    }
    DrawBevel(painter, g.text, 1, pal.color(QPalette::Dark), pal.color(QPalette::Light));

    // the knob: raised, with grip grooves across the sliding direction
    painter.fillRect(g.knob, ColButton());
    DrawBevel(painter, g.knob, 2, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    const bool vertical = inner.height() >= inner.width();
    const QPoint c = g.knob.center();
    const int reach = (vertical ? g.knob.width() : g.knob.height()) / 4;
    for (int i = -1; i <= 1; ++i) {
        const int offset = i * 3;
        painter.setPen(pal.color(QPalette::Dark));
        if (vertical)
            painter.drawLine(c.x() - reach, c.y() + offset, c.x() + reach, c.y() + offset);
        else
            painter.drawLine(c.x() + offset, c.y() - reach, c.x() + offset, c.y() + reach);
        painter.setPen(pal.color(QPalette::Light));
        if (vertical)
            painter.drawLine(c.x() - reach, c.y() + offset + 1, c.x() + reach, c.y() + offset + 1);
        else
            painter.drawLine(c.x() + offset + 1, c.y() - reach, c.x() + offset + 1, c.y() + reach);
    }
    if (hasFocus()) {
        painter.setPen(QPen(first ? m_colText1 : m_colText2, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(g.text.adjusted(2, 2, -3, -3));
    }
}

void TSlideButton::mousePressEvent(QMouseEvent *event)
{
    // accepted, so that the release comes here
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        TRahmen::mousePressEvent(event);
}

void TSlideButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        toggle();
        return;
    }
    TRahmen::mouseReleaseEvent(event);
}

void TSlideButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        toggle();
        return;
    }
    TRahmen::keyPressEvent(event);
}

QSize TSlideButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent();
    const int text = std::max(fm.horizontalAdvance(m_text1), fm.horizontalAdvance(m_text2)) + 8;
    return QSize(std::max(text, fm.height() * 2) + f, 2 * (fm.height() + 8) + f);
}
