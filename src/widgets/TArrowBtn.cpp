#include "widgets/TArrowBtn.h"

#include "widgets/PushLogic.h"
#include "widgets/WidgetAccessibility.h"
#include "widgets/WidgetTimerService.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

using Widgets::PushEdge;
using Widgets::TArrowShape;
using Widgets::TButtonMode;
using Widgets::TButtonStyle;
using Widgets::TOrientation;

TArrowBtn::TArrowBtn(QWidget *parent)
    : TInstrumentBase(parent)
    , m_blink([this](bool) { update(); })
    , m_repeat([this] { repeat(); })
    , m_push(this, &TArrowBtn::press, &TArrowBtn::release)
{
    setFocusPolicy(Qt::StrongFocus);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    resize(30, 30);
}

QSize TArrowBtn::SquareSize(const QSize &requested)
{
    const int side = std::max(kMinSide, requested.width());
    return QSize(side, side);
}

void TArrowBtn::resizeEvent(QResizeEvent *event)
{
    TInstrumentBase::resizeEvent(event);
    const QSize square = SquareSize(size());
    if (square != size())
        resize(square);
}

void TArrowBtn::setButtonMode(TButtonMode mode)
{
    m_mode = mode;
    setFocusPolicy(mode == TButtonMode::tbmLocked ? Qt::NoFocus : Qt::StrongFocus);
}

void TArrowBtn::setDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    if (down)
        Widgets::releaseGroup(this);
    faceChanged();
    Widgets::announcePressed(this);
}

void TArrowBtn::click()
{
    if (m_mode != TButtonMode::tbmLocked && isEnabled())
        m_push.click();
}

void TArrowBtn::setShape(TArrowShape shape)
{
    m_shape = shape;
    update();
}

void TArrowBtn::setOrientation(TOrientation orientation)
{
    m_orientation = orientation;
    update();
}

void TArrowBtn::setColorUp(const QColor &colour)
{
    m_colorUp = colour;
    update();
}

void TArrowBtn::setColorDown(const QColor &colour)
{
    m_colorDown = colour;
    update();
}

void TArrowBtn::setShapeOn(bool on)
{
    m_shapeOn = on;
    updateBlink();
    update();
}

void TArrowBtn::setShapeBlink(bool on)
{
    m_shapeBlink = on;
    updateBlink();
    update();
}

void TArrowBtn::updateBlink()
{
    m_blink.setActive(m_shapeOn && m_shapeBlink);
}

bool TArrowBtn::shapeVisible() const
{
    return m_shapeOn && (!m_shapeBlink || WidgetTimerService::instance().blinkPhase());
}

QPolygonF TArrowBtn::ShapePolygon(const QRect &inner, TArrowShape shape, TOrientation orientation, bool down)
{
    if (inner.width() <= 0 || inner.height() <= 0)
        return {};
    const double side = std::min(inner.width(), inner.height()) * 0.56;
    QPointF c = QRectF(inner).center();
    if (down)
        c += QPointF(1, 1);
    const double h = side / 2;
    QPolygonF poly;
    switch (shape) {
    case TArrowShape::taArrow:
        switch (orientation) {
        case TOrientation::orTop: poly << QPointF(c.x(), c.y() - h) << QPointF(c.x() + h, c.y() + h * 0.7) << QPointF(c.x() - h, c.y() + h * 0.7); break;
        case TOrientation::orBottom: poly << QPointF(c.x(), c.y() + h) << QPointF(c.x() - h, c.y() - h * 0.7) << QPointF(c.x() + h, c.y() - h * 0.7); break;
        case TOrientation::orLeft: poly << QPointF(c.x() - h, c.y()) << QPointF(c.x() + h * 0.7, c.y() - h) << QPointF(c.x() + h * 0.7, c.y() + h); break;
        case TOrientation::orRight: poly << QPointF(c.x() + h, c.y()) << QPointF(c.x() - h * 0.7, c.y() + h) << QPointF(c.x() - h * 0.7, c.y() - h); break;
        }
        break;
    case TArrowShape::taCircle: {
        const QRectF box(c.x() - h, c.y() - h, side, side);
        QPainterPath path;
        path.addEllipse(box);
        poly = path.toFillPolygon();
        break;
    }
    case TArrowShape::taSquare: {
        const double s = h * 0.8;
        poly << QPointF(c.x() - s, c.y() - s) << QPointF(c.x() + s, c.y() - s) << QPointF(c.x() + s, c.y() + s)
             << QPointF(c.x() - s, c.y() + s);
        break;
    }
    }
    return poly;
}

void TArrowBtn::drawDynamic(QPainter &painter, const QRect &inner)
{
    if (!shapeVisible())
        return;
    const QPolygonF poly = ShapePolygon(inner, m_shape, m_orientation, m_down);
    if (poly.isEmpty())
        return;
    const QColor colour = isEnabled() ? (m_down ? m_colorDown : m_colorUp) : palette().color(QPalette::Dark);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    painter.drawPolygon(poly);
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner.adjusted(1, 1, -2, -2));
    }
    painter.restore();
}

TButtonStyle TArrowBtn::pushStyle() const
{
    switch (m_mode) {
    case TButtonMode::tbmPush: return TButtonStyle::tsPush;
    case TButtonMode::tbmPushPull: return TButtonStyle::tsPushPull;
    case TButtonMode::tbmLocked: break;
    }
    return TButtonStyle::tsNone;
}

void TArrowBtn::press()
{
    const PushEdge edge = Widgets::pushOnPress(pushStyle(), m_down, m_groupIndex != 0, false);
    if (edge == PushEdge::Down) {
        setDown(true);
        emit OnDown();
        const int period = m_repSpeed % kMaxRepeatMs;
        if (period > 0)
            m_repeat.start(period);
    } else if (edge == PushEdge::Up) {
        setDown(false);
        emit OnUp();
    }
}

void TArrowBtn::repeat()
{
    if (m_push.pressing() && m_down)
        emit OnDown();
    else
        m_repeat.stop();
}

void TArrowBtn::release(bool click)
{
    m_repeat.stop();
    if (Widgets::pushOnRelease(pushStyle(), m_down) == PushEdge::Up) {
        setDown(false);
        emit OnUp();
    }
    if (click)
        emit onClick();
}

void TArrowBtn::mousePressEvent(QMouseEvent *event)
{
    if (!m_push.mousePress(*event, m_mode != TButtonMode::tbmLocked))
        TInstrumentBase::mousePressEvent(event);
}

void TArrowBtn::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_push.mouseRelease(*event))
        TInstrumentBase::mouseReleaseEvent(event);
}

void TArrowBtn::keyPressEvent(QKeyEvent *event)
{
    if (!m_push.keyPress(*event, m_mode != TButtonMode::tbmLocked))
        TInstrumentBase::keyPressEvent(event);
}

void TArrowBtn::keyReleaseEvent(QKeyEvent *event)
{
    if (!m_push.keyRelease(*event, m_mode != TButtonMode::tbmLocked))
        TInstrumentBase::keyReleaseEvent(event);
}

QSize TArrowBtn::sizeHint() const
{
    const int side = std::max(kMinSide, fontMetrics().height() + 2 * frameExtent() + 8);
    return QSize(side, side);
}

QSize TArrowBtn::minimumSizeHint() const
{
    return QSize(kMinSide, kMinSide);
}
