#include "widgets/TBevel3D.h"

#include "widgets/PushLogic.h"
#include "widgets/WidgetAccessibility.h"
#include "widgets/WidgetTimerService.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

using Widgets::PushEdge;
using Widgets::TButtonStyle;

TBevel3D::TBevel3D(QWidget *parent)
    : TRahmen(parent)
    , m_blink([this](bool) { update(); })
    , m_push(this, &TBevel3D::press, &TBevel3D::release)
{
    setFontColor(Qt::white);
    setFocusPolicy(Qt::StrongFocus);
}

void TBevel3D::setButtonStyle(TButtonStyle style)
{
    m_style = style;
    setFocusPolicy(style == TButtonStyle::tsNone ? Qt::NoFocus : Qt::StrongFocus);
}

void TBevel3D::setDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    if (down)
        Widgets::releaseGroup(this);
    update();
    Widgets::announcePressed(this);
}

void TBevel3D::click()
{
    if (m_style != TButtonStyle::tsNone && isEnabled())
        m_push.click();
}

void TBevel3D::setCaption(const QString &text)
{
    m_caption = text;
    updateGeometry();
    update();
}

void TBevel3D::setCaption1(const QString &text)
{
    m_caption1 = text;
    update();
}

void TBevel3D::setColCaption(const QColor &colour)
{
    m_colCaption = colour;
    update();
}

void TBevel3D::setColCaption1(const QColor &colour)
{
    m_colCaption1 = colour;
    update();
}

void TBevel3D::setColCaptBack(const QColor &colour)
{
    m_colCaptBack = colour;
    update();
}

void TBevel3D::setCaptEnable(bool on)
{
    m_captEnable = on;
    updateBlink();
    update();
}

void TBevel3D::setCaptBevel(Widgets::TBevelCut cut)
{
    m_captBevel = cut;
    update();
}

void TBevel3D::setCaptBlink(bool on)
{
    m_captBlink = on;
    updateBlink();
    update();
}

void TBevel3D::setTextAdjust(Widgets::TTextAdjust adjust)
{
    m_textAdjust = adjust;
    update();
}

void TBevel3D::setWordWrap(bool on)
{
    m_wordWrap = on;
    update();
}

void TBevel3D::setColBtnBord(const QColor &colour)
{
    m_colBtnBord = colour;
    update();
}

void TBevel3D::setFramed(bool on)
{
    m_framed = on;
    update();
}

void TBevel3D::updateBlink()
{
    m_blink.setActive(m_captEnable && m_captBlink);
}

QRect TBevel3D::captionRect() const
{
    const QRect inner = InnerRect();
    const int m = std::min({2, inner.width() / 4, inner.height() / 4});
    return inner.adjusted(m, m, -m, -m);
}

QString TBevel3D::shownCaption() const
{
    return m_down && !m_caption1.isEmpty() ? m_caption1 : m_caption;
}

bool TBevel3D::captionVisible() const
{
    if (!m_captEnable)
        return false;
    return !m_captBlink || WidgetTimerService::instance().blinkPhase();
}

void TBevel3D::drawContent(QPainter &painter, const QRect &)
{
    if (!m_captEnable)
        return;
    const QRect field = captionRect();
    if (field.isEmpty())
        return;
    painter.fillRect(field, m_colCaptBack);
    DrawBevelCut(painter, field, 1, m_captBevel, palette());
    if (!captionVisible())
        return;
    const QRect textRect = field.adjusted(3, 1, -3, -1);
    const QString text = shownCaption();
    QFont f = font();
    if (FontAutom())
        f = m_wordWrap ? AutoFont(font(), std::min(textRect.height(), QFontMetrics(font()).height()))
                       : fittedFont(textRect.height() * 3 / 4, text, textRect.width());
    int align = Qt::AlignVCenter;
    switch (m_textAdjust) {
    case Widgets::TTextAdjust::ttCenter: align |= Qt::AlignHCenter; break;
    case Widgets::TTextAdjust::ttLeft: align |= Qt::AlignLeft; break;
    case Widgets::TTextAdjust::ttRight: align |= Qt::AlignRight; break;
    }
    if (m_wordWrap)
        align |= Qt::TextWordWrap;
    QRect shifted = textRect;
    if (m_down)
        shifted.translate(1, 1);
    painter.save();
    painter.setClipRect(field.adjusted(1, 1, -1, -1), Qt::IntersectClip);
    painter.setFont(f);
    painter.setPen(m_down && !m_caption1.isEmpty() ? m_colCaption1 : m_colCaption);
    painter.drawText(shifted, align, text);
    if (hasFocus()) {
        painter.setPen(QPen(m_colCaption, 1, Qt::DotLine));
        painter.drawRect(field.adjusted(2, 2, -3, -3));
    }
    painter.restore();
}

void TBevel3D::press()
{
    const PushEdge edge = Widgets::pushOnPress(m_style, m_down, m_groupIndex != 0, m_allowAllUp);
    if (edge == PushEdge::Down) {
        setDown(true);
        emit OnDown();
    } else if (edge == PushEdge::Up) {
        setDown(false);
        emit OnUp();
    }
}

void TBevel3D::release(bool click)
{
    if (Widgets::pushOnRelease(m_style, m_down) == PushEdge::Up) {
        setDown(false);
        emit OnUp();
    }
    if (click)
        emit onClick();
}

// a bevel without a button style still reports a mouse click: only its push does nothing
void TBevel3D::mousePressEvent(QMouseEvent *event)
{
    if (!m_push.mousePress(*event, true))
        TRahmen::mousePressEvent(event);
}

void TBevel3D::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_push.mouseRelease(*event))
        TRahmen::mouseReleaseEvent(event);
}

void TBevel3D::keyPressEvent(QKeyEvent *event)
{
    if (!m_push.keyPress(*event, m_style != TButtonStyle::tsNone))
        TRahmen::keyPressEvent(event);
}

void TBevel3D::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_push.keyRelease(*event, m_style != TButtonStyle::tsNone))
        TRahmen::keyReleaseEvent(event);
}

QSize TBevel3D::sizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent() + 10;
    const int text = std::max(fm.horizontalAdvance(m_caption), fm.horizontalAdvance(m_caption1));
    return QSize(std::max(text, fm.averageCharWidth() * 8) + f, fm.height() + 6 + f);
}
