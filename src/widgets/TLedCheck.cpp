#include "widgets/TLedCheck.h"

#include "widgets/WidgetAccessibility.h"
#include "widgets/WidgetTimerService.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QStyle>

#include <algorithm>

using Widgets::TCheckMode;
using Widgets::TOrientation;

TLedCheck::TLedCheck(QWidget *parent)
    : TRahmen(parent)
    , m_blink([this](bool) {
        // only the lamp changes, and only when its look differs from the last paint
        if (isLit() != m_drawnLit)
            update(ledGeometry().led.adjusted(-1, -1, 1, 1));
    })
    , m_flash([this] {
        m_flash.stop();
        setChecked(false);
    })
{
    setBevelOut(Widgets::TBevelCut::bvNone);
    setBevelIn(Widgets::TBevelCut::bvNone);
    m_colBtnBord = palette().color(QPalette::Button);
    setFocusPolicy(Qt::NoFocus);
    resize(113, 17);
}

void TLedCheck::setChecked(bool on)
{
    if (on && m_ledFlash)
        m_flash.start(m_ledFlashTime);
    else if (!on)
        m_flash.stop();
    if (on == m_checked)
        return;
    m_checked = on;
    updateBlink();
    update();
    Widgets::announcePressed(this);
}

void TLedCheck::click()
{
    if (!isEnabled())
        return;
    if (m_checkMode == TCheckMode::lcButton) {
        setChecked(true);
        emit OnDown();
        setChecked(false);
        emit OnUp();
    }
    userToggle();
    emit onClick();
}

void TLedCheck::setLedCol(const QColor &colour)
{
    m_ledCol = colour;
    update();
}

void TLedCheck::setLedShape(Widgets::TLedShape shape)
{
    m_ledShape = shape;
    update();
}

void TLedCheck::setLedSize(int pixels)
{
    m_ledSize = std::max(0, pixels);
    updateGeometry();
    update();
}

void TLedCheck::setLedBevel(Widgets::TBevelCut cut)
{
    m_ledBevel = cut;
    update();
}

void TLedCheck::setLedBlink(bool on)
{
    m_ledBlink = on;
    updateBlink();
    update();
}

void TLedCheck::setLedFlash(bool on)
{
    m_ledFlash = on;
    if (!on)
        m_flash.stop();
}

void TLedCheck::setCaption(const QString &text)
{
    m_caption = text;
    updateGeometry();
    update();
}

void TLedCheck::setCaption1(const QString &text)
{
    m_caption1 = text;
    update();
}

void TLedCheck::setCaptionCol(const QColor &colour)
{
    m_captionCol = colour;
    update();
}

void TLedCheck::setCaptionCol1(const QColor &colour)
{
    m_captionCol1 = colour;
    update();
}

void TLedCheck::setCaptPos(TOrientation side)
{
    m_captPos = side;
    update();
}

void TLedCheck::setCaptFrame(bool on)
{
    m_captFrame = on;
    update();
}

void TLedCheck::setCaptFrmCol(const QColor &colour)
{
    m_captFrmCol = colour;
    update();
}

void TLedCheck::setCaptAutoFrm(bool on)
{
    m_captAutoFrm = on;
    update();
}

void TLedCheck::setCheckMode(TCheckMode mode)
{
    m_checkMode = mode;
    setFocusPolicy(mode == TCheckMode::lcNone ? Qt::NoFocus : Qt::StrongFocus);
}

void TLedCheck::updateBlink()
{
    m_blink.setActive(m_checked && m_ledBlink);
}

bool TLedCheck::isLit() const
{
    if (!m_checked)
        return false;
    return !m_ledBlink || WidgetTimerService::instance().blinkPhase();
}

QString TLedCheck::shownCaption() const
{
    return m_checked && !m_caption1.isEmpty() ? m_caption1 : m_caption;
}

TLedCheck::Geometry TLedCheck::GeometryFor(const QRect &inner, int ledSize, TOrientation captPos,
                                           bool hasCaption)
{
    Geometry g;
    if (inner.width() <= 0 || inner.height() <= 0)
        return g;
    const int gap = 2;
    const int size = std::clamp(ledSize, 0, std::max(0, std::min(inner.width(), inner.height()) - 2 * gap));
    const QPoint centre = inner.center();
    if (!hasCaption) {
        g.led = QRect(centre.x() - size / 2, centre.y() - size / 2, size, size);
        return g;
    }
    const int ledBand = size + 2 * gap;
    switch (captPos) {
    case TOrientation::orRight:
        g.led = QRect(inner.left() + gap, centre.y() - size / 2, size, size);
        g.caption = QRect(inner.left() + ledBand, inner.top(), inner.width() - ledBand, inner.height());
        break;
    case TOrientation::orLeft:
        g.led = QRect(inner.right() - gap - size + 1, centre.y() - size / 2, size, size);
        g.caption = QRect(inner.left(), inner.top(), inner.width() - ledBand, inner.height());
        break;
    case TOrientation::orTop:
        g.led = QRect(centre.x() - size / 2, inner.bottom() - gap - size + 1, size, size);
        g.caption = QRect(inner.left(), inner.top(), inner.width(), inner.height() - ledBand);
        break;
    case TOrientation::orBottom:
        g.led = QRect(centre.x() - size / 2, inner.top() + gap, size, size);
        g.caption = QRect(inner.left(), inner.top() + ledBand, inner.width(), inner.height() - ledBand);
        break;
    }
    if (g.caption.width() <= 0 || g.caption.height() <= 0)
        g.caption = QRect();
    return g;
}

TLedCheck::Geometry TLedCheck::ledGeometry() const
{
    return GeometryFor(InnerRect(), m_ledSize, m_captPos, !m_caption.isEmpty() || !m_caption1.isEmpty());
}

void TLedCheck::DrawLed(QPainter &painter, const QRectF &r, const QColor &colour, bool lit,
                        Widgets::TLedShape shape, Widgets::TBevelCut bevel, const QPalette &palette)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QColor body = lit ? colour : colour.darker(350);
    const bool circle = shape == Widgets::TLedShape::ledCircle;
    const double ring = bevel == Widgets::TBevelCut::bvNone ? 0.0 : std::max(1.0, r.width() / 8.0);
    if (ring > 0) {
        // the rim: light from the top left on a raised lamp, from the bottom right on a sunk one
        const bool raised = bevel == Widgets::TBevelCut::bvRaised;
        QLinearGradient rim(r.topLeft(), r.bottomRight());
        rim.setColorAt(0, palette.color(raised ? QPalette::Light : QPalette::Dark));
        rim.setColorAt(1, palette.color(raised ? QPalette::Dark : QPalette::Light));
        painter.setPen(Qt::NoPen);
        painter.setBrush(rim);
        if (circle)
            painter.drawEllipse(r);
        else
            painter.drawRect(r);
    }
    const QRectF lamp = r.adjusted(ring, ring, -ring, -ring);
    if (lamp.width() > 0 && lamp.height() > 0) {
        painter.setPen(Qt::NoPen);
        if (lit) {
            // a highlight spot makes a lit lamp read as glowing glass
            QRadialGradient glow(lamp.left() + lamp.width() * 0.35, lamp.top() + lamp.height() * 0.35,
                                 lamp.width() * 0.75);
            glow.setColorAt(0, body.lighter(170));
            glow.setColorAt(0.45, body);
            glow.setColorAt(1, body.darker(130));
            painter.setBrush(glow);
        } else {
            painter.setBrush(body);
        }
        if (circle)
            painter.drawEllipse(lamp);
        else
            painter.drawRect(lamp);
    }
    painter.restore();
}

void TLedCheck::drawContent(QPainter &painter, const QRect &)
{
    const Geometry g = ledGeometry();
    m_drawnLit = isLit();
    DrawLed(painter, QRectF(g.led), m_ledCol, m_drawnLit, m_ledShape, m_ledBevel, palette());

    const QString text = shownCaption();
    if (g.caption.isEmpty() || text.isEmpty() || !paintRect().intersects(g.caption))
        return;
    const QFont f = FontAutom() ? fittedFont(g.caption.height() * 4 / 5, text, g.caption.width() - 4)
                                : font();
    const QFontMetrics fm(f);
    QRect frameRect = g.caption;
    const int align = Qt::AlignVCenter
        | (m_captPos == TOrientation::orLeft ? Qt::AlignRight
           : m_captPos == TOrientation::orRight ? Qt::AlignLeft
                                                 : Qt::AlignHCenter);
    if (m_captAutoFrm) {
        const int w = std::min(g.caption.width(), fm.horizontalAdvance(text) + 6);
        const int h = std::min(g.caption.height(), fm.height() + 2);
        frameRect = QStyle::alignedRect(layoutDirection(), Qt::Alignment(align), QSize(w, h), g.caption);
    }
    painter.save();
    painter.setFont(f);
    painter.setPen(m_checked && !m_caption1.isEmpty() ? m_captionCol1 : m_captionCol);
    painter.drawText(frameRect.adjusted(3, 0, -3, 0), align, text);
    if (m_captFrame) {
        painter.setPen(m_captFrmCol);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frameRect.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(m_captionCol, 1, Qt::DotLine));
        painter.drawRect(frameRect.adjusted(1, 1, -2, -2));
    }
    painter.restore();
}

void TLedCheck::userToggle()
{
    switch (m_checkMode) {
    case TCheckMode::lcCheckBox:
        setChecked(!m_checked);
        break;
    case TCheckMode::lcRadioBtn:
        setChecked(true);
        if (m_groupIndex != 0 && parentWidget()) {
            const auto siblings = parentWidget()->findChildren<TLedCheck *>(Qt::FindDirectChildrenOnly);
            for (TLedCheck *other : siblings)
                if (other != this && other->GroupIndex() == m_groupIndex)
                    other->setChecked(false);
        }
        break;
    case TCheckMode::lcNone:
    case TCheckMode::lcButton:
        break;
    }
}

void TLedCheck::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        TRahmen::mousePressEvent(event);
        return;
    }
    m_pressing = true;
    if (m_checkMode == TCheckMode::lcButton) {
        setChecked(true);
        emit OnDown();
    }
}

void TLedCheck::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressing) {
        TRahmen::mouseReleaseEvent(event);
        return;
    }
    m_pressing = false;
    if (m_checkMode == TCheckMode::lcButton) {
        setChecked(false);
        emit OnUp();
    }
    if (rect().contains(event->position().toPoint())) {
        userToggle();
        emit onClick();
    }
}

void TLedCheck::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && m_checkMode != TCheckMode::lcNone
        && m_checkMode != TCheckMode::lcButton) {
        userToggle();
        emit onClick();
        return;
    }
    TRahmen::keyPressEvent(event);
}

QSize TLedCheck::sizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent();
    const int text = std::max(fm.horizontalAdvance(m_caption), fm.horizontalAdvance(m_caption1));
    const int led = m_ledSize + 4;
    if (text == 0)
        return QSize(led + f, led + f);
    if (m_captPos == TOrientation::orTop || m_captPos == TOrientation::orBottom)
        return QSize(std::max(led, text + 6) + f, led + fm.height() + 2 + f);
    return QSize(led + text + 8 + f, std::max(led, fm.height() + 2) + f);
}
