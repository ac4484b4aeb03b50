#include "widgets/TRahmen.h"

#include "widgets/WidgetAccessibility.h"

#include <QEvent>
#include <QPaintEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

using Widgets::TBevelCut;

TRahmen::TRahmen(QWidget *parent)
    : QWidget(parent)
{
    Widgets::installAccessibility();
    // the frame covers every pixel, so nothing underneath needs painting first
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 100);
}

void TRahmen::setBevelOut(TBevelCut cut)
{
    m_frameStyle.bevelOut = cut;
    faceChanged();
}

void TRahmen::setBevelIn(TBevelCut cut)
{
    m_frameStyle.bevelIn = cut;
    faceChanged();
}

void TRahmen::setBevWidth(int width)
{
    m_frameStyle.bevWidth = std::max(0, width);
    faceChanged();
}

void TRahmen::setBordWidth(int width)
{
    m_frameStyle.bordWidth = std::max(0, width);
    faceChanged();
}

void TRahmen::setBordLeft(bool on)
{
    m_frameStyle.left = on;
    faceChanged();
}

void TRahmen::setBordTop(bool on)
{
    m_frameStyle.top = on;
    faceChanged();
}

void TRahmen::setBordRight(bool on)
{
    m_frameStyle.right = on;
    faceChanged();
}

void TRahmen::setBordBottom(bool on)
{
    m_frameStyle.bottom = on;
    faceChanged();
}

QColor TRahmen::ColBgnd() const
{
    return m_colBgnd.isValid() ? m_colBgnd : palette().color(QPalette::Button);
}

void TRahmen::setColBgnd(const QColor &colour)
{
    m_colBgnd = colour;
    // a see-through fill needs what lies underneath painted first
    setAttribute(Qt::WA_OpaquePaintEvent, !colour.isValid() || colour.alpha() == 255);
    faceChanged();
}

void TRahmen::setFontAutom(bool on)
{
    m_fontAutom = on;
    faceChanged();
}

void TRahmen::setFontColor(const QColor &colour)
{
    m_fontColor = colour;
    faceChanged();
}

TRahmen::FrameStyle TRahmen::frameStyle() const
{
    FrameStyle style = m_frameStyle;
    style.framed = m_framed;
    style.pressed = isPressedLook();
    return style;
}

namespace {

// a band of width w on the sides whose flag is on; an off side is first widened by
// the band so that the band falls outside the rectangle there
QRect bandOuter(const QRect &r, int w, const TRahmen::FrameStyle &style)
{
    return r.adjusted(style.left ? 0 : -w, style.top ? 0 : -w, style.right ? 0 : w, style.bottom ? 0 : w);
}

QRect shrunk(const QRect &r, int w)
{
    return QRect(r.left() + w, r.top() + w, std::max(0, r.width() - 2 * w), std::max(0, r.height() - 2 * w));
}

TBevelCut turned(TBevelCut cut)
{
    switch (cut) {
    case TBevelCut::bvRaised: return TBevelCut::bvLowered;
    case TBevelCut::bvLowered:
    case TBevelCut::bvSpace: return TBevelCut::bvRaised;
    case TBevelCut::bvNone: break;
    }
    return cut;
}

} // namespace

QRect TRahmen::InnerRectOf(const QRect &outer, const FrameStyle &style)
{
    QRect r(outer.topLeft(), QSize(std::max(0, outer.width()), std::max(0, outer.height())));
    if (style.framed)
        r = shrunk(r, 1);
    if (style.bevelOut != TBevelCut::bvNone)
        r = shrunk(bandOuter(r, style.bevWidth, style), style.bevWidth);
    if (style.bordWidth > 0)
        r = shrunk(bandOuter(r, style.bordWidth, style), style.bordWidth);
    if (style.bevelIn != TBevelCut::bvNone)
        r = shrunk(bandOuter(r, style.bevWidth, style), style.bevWidth);
    return r;
}

void TRahmen::DrawBevel(QPainter &painter, const QRect &r, int width, const QColor &topLeft,
                        const QColor &bottomRight)
{
    const int w = std::min({width, r.width() / 2, r.height() / 2});
    if (w <= 0)
        return;
    // pixel-edge coordinates: the band covers exactly w pixels on each side
    const int x0 = r.left(), y0 = r.top();
    const int x1 = x0 + r.width(), y1 = y0 + r.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(topLeft);
    painter.drawPolygon(QPolygon({QPoint(x0, y0), QPoint(x1, y0), QPoint(x1 - w, y0 + w),
                                  QPoint(x0 + w, y0 + w), QPoint(x0 + w, y1 - w), QPoint(x0, y1)}));
    painter.setBrush(bottomRight);
    painter.drawPolygon(QPolygon({QPoint(x1, y0), QPoint(x1, y1), QPoint(x0, y1),
                                  QPoint(x0 + w, y1 - w), QPoint(x1 - w, y1 - w), QPoint(x1 - w, y0 + w)}));
    painter.restore();
}

void TRahmen::DrawBevelCut(QPainter &painter, const QRect &r, int width, TBevelCut cut,
                           const QPalette &palette)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    switch (cut) {
    case TBevelCut::bvRaised: DrawBevel(painter, r, width, light, dark); break;
    case TBevelCut::bvLowered:
    case TBevelCut::bvSpace: DrawBevel(painter, r, width, dark, light); break;
    case TBevelCut::bvNone: break;
    }
}

void TRahmen::DrawFrame(QPainter &painter, const QRect &outer, const FrameStyle &style,
                        const QPalette &palette, const QColor &outline, const QColor &fill)
{
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(outer);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QRect r = outer;
    if (style.framed) {
        painter.fillRect(r, outline);
        r = shrunk(r, 1);
    }
    const TBevelCut out = style.pressed ? turned(style.bevelOut) : style.bevelOut;
    if (out != TBevelCut::bvNone) {
        const QRect band = bandOuter(r, style.bevWidth, style);
        DrawBevelCut(painter, band, style.bevWidth, out, palette);
        r = shrunk(band, style.bevWidth);
    }
    if (style.bordWidth > 0) {
        const QRect band = bandOuter(r, style.bordWidth, style);
        painter.fillRect(band, palette.color(QPalette::Button));
        r = shrunk(band, style.bordWidth);
    }
    if (style.bevelIn != TBevelCut::bvNone) {
        const QRect band = bandOuter(r, style.bevWidth, style);
        DrawBevelCut(painter, band, style.bevWidth, style.bevelIn, palette);
        r = shrunk(band, style.bevWidth);
    }
    if (!r.isEmpty())
        painter.fillRect(r, fill);
    painter.restore();
}

namespace {

int pixelSizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

constexpr int kMaxFontPixels = 400;

} // namespace

QFont TRahmen::AutoFont(const QFont &base, int height)
{
    QFont font = base;
    int size = std::clamp(pixelSizeOf(base), 1, kMaxFontPixels);
    font.setPixelSize(size);
    if (height <= 0) {
        font.setPixelSize(1);
        return font;
    }
    auto fits = [height](int px) { return height >= int(std::lround(1.1 * px)); };
    if (height < size) {
        while (size > 1 && !fits(size))
            --size;
    } else {
        while (size < kMaxFontPixels && std::lround(1.1 * size) < height)
            ++size;
    }
    font.setPixelSize(size);
    return font;
}

QFont TRahmen::FitFont(const QFont &base, int height, const QString &text, int width)
{
    QFont font = AutoFont(base, height);
    int size = font.pixelSize();
    while (size > 1 && QFontMetrics(font).horizontalAdvance(text) > width) {
        // the advance shrinks roughly in proportion, so jump close and then step
        const int advance = QFontMetrics(font).horizontalAdvance(text);
        const int guess = advance > 0 ? size * std::max(0, width) / advance : size - 1;
        size = std::clamp(guess, 1, size - 1);
        font.setPixelSize(size);
    }
    return font;
}

QFont TRahmen::fittedFont(int height, const QString &text, int width) const
{
    if (m_fitted.height != height || m_fitted.width != width || m_fitted.text != text || m_fitted.base != font()) {
        m_fitted.base = font();
        m_fitted.text = text;
        m_fitted.height = height;
        m_fitted.width = width;
        m_fitted.font = FitFont(font(), height, text, width);
    }
    return m_fitted.font;
}

int TRahmen::frameExtent() const
{
    const QRect inner = InnerRect();
    return std::max(0, inner.left() - rect().left());
}

QSize TRahmen::sizeHint() const
{
    const QFontMetrics fm(font());
    const int f = 2 * frameExtent();
    return QSize(fm.averageCharWidth() * 20 + f, fm.height() * 4 + f);
}

QSize TRahmen::minimumSizeHint() const
{
    const int f = 2 * frameExtent();
    return QSize(f + 4, f + 4);
}

void TRahmen::paintEvent(QPaintEvent *event)
{
    m_paintRect = event->rect();
    QPainter painter(this);
    DrawFrame(painter, rect(), frameStyle(), palette(), m_colBtnBord, ColBgnd());
    const QRect inner = InnerRect();
    if (!inner.isEmpty()) {
        painter.save();
        painter.setClipRect(inner);
        drawContent(painter, inner);
        painter.restore();
    }
    painter.end();
    emit OnRepaint();
}

void TRahmen::drawContent(QPainter &, const QRect &)
{
}

void TRahmen::faceChanged()
{
    update();
}

void TRahmen::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
        faceChanged();
        updateGeometry();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}
