#include "widgets/TMeterPanelH.h"

#include "widgets/ScaleMath.h"
#include "widgets/TLedCheck.h"

#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

double pixelSizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

QFont withPixels(QFont font, double px)
{
    font.setPixelSize(std::max(1, int(std::lround(px))));
    return font;
}

} // namespace

TMeterPanelH::TMeterPanelH(QWidget *parent)
    : MeterBase(parent)
    , m_fontCapt(font())
{
    m_captionLimit = kMaxCaptionLength;
    setValueEnd(50);
    setScalaPart(5);
    setUpperLimit(45);
    setFontColor(Qt::green);
    setCaption(QStringLiteral("Panel Meter"));
    resize(250, 73);
}

void TMeterPanelH::setFontCapt(const QFont &font)
{
    m_fontCapt = font;
    faceChanged();
}

void TMeterPanelH::setFontCaptColor(const QColor &colour)
{
    m_fontCaptColor = colour;
    faceChanged();
}

TMeterPanelH::PanelGeometry TMeterPanelH::PanelGeometryFor(const QRect &inner, double fontPx, double captionPx,
                                                           int labelChars, bool leds)
{
    PanelGeometry g;
    if (inner.width() < 4 || inner.height() < 4)
        return g;
    const double minSide = std::min(inner.width(), inner.height());
    const double margin = std::max(1.0, 0.03 * minSide);
    g.face = QRectF(inner).adjusted(margin, margin, -margin, -margin);
    const double pad = std::max(2.0, 0.05 * minSide);
    g.fontPx = std::max(1.0, fontPx);
    g.captionPx = std::max(1.0, captionPx);
    const double textH = g.fontPx * 1.25;
    const double labelW = 0.62 * g.fontPx * std::max(1, labelChars) + 0.3 * g.fontPx;
    g.labelBox = QSizeF(labelW, textH);
    const double h = g.face.height() - 2 * pad;
    g.mainTick = std::max(3.0, 0.16 * h);
    g.subTick = g.mainTick / 2;
    g.markHeight = std::max(3.0, 0.1 * h);
    const double captionH = g.captionPx * 1.3;
    const double gap = 0.2 * g.fontPx;

    // numbers, ticks, the line, the limit marks and the caption row, centred in height
    const double column = textH + gap + g.mainTick + g.markHeight + captionH;
    const double top = g.face.top() + pad + std::max(0.0, (h - column) / 2);
    g.labelY = top + textH / 2;
    g.scaleY = top + textH + gap + g.mainTick;
    g.pointerTop = g.scaleY - g.mainTick - gap;
    g.pointerBottom = g.scaleY + g.markHeight;
    g.x0 = g.face.left() + pad + labelW / 2;
    g.x1 = g.face.right() - pad - labelW / 2;
    if (g.scaleY + g.markHeight > g.face.bottom() - pad)
        g.x1 = g.x0;   // no room for a scale: the face stays empty

    const double captionTop = g.scaleY + g.markHeight;
    const double captionBottom = std::min(captionTop + captionH, g.face.bottom() - pad);
    const double led = leds ? std::clamp(0.7 * captionH, 4.0, 16.0) : 0.0;
    const double ledY = (captionTop + captionBottom) / 2 - led / 2;
    if (leds) {
        g.led1 = QRectF(g.face.left() + pad, ledY, led, led);
        g.led2 = QRectF(g.face.right() - pad - led, ledY, led, led);
    }
    const double side = leds ? led + 2 * pad : pad;
    if (captionBottom > captionTop)
        g.caption = QRectF(g.face.left() + side, captionTop, g.face.width() - 2 * side, captionBottom - captionTop);
    return g;
}

double TMeterPanelH::numberPixels(const QRect &inner) const
{
    if (FontAutom())
        return std::clamp(0.17 * std::min<double>(inner.height(), inner.width() / 3.0), 6.0, 36.0);
    return pixelSizeOf(font());
}

double TMeterPanelH::captionPixels(const QRect &inner) const
{
    if (FontAutom())
        return std::clamp(0.2 * std::min<double>(inner.height(), inner.width() / 3.0), 6.0, 40.0);
    return pixelSizeOf(m_fontCapt);
}

TMeterPanelH::PanelGeometry TMeterPanelH::panelGeometry() const
{
    const QRect inner = InnerRect();
    int chars = 1;
    for (const QString &label : scaleLabels())
        chars = std::max(chars, int(label.size()));
    return PanelGeometryFor(inner, numberPixels(inner), captionPixels(inner), chars, LedEnable());
}

void TMeterPanelH::drawFace(QPainter &painter, const QRect &inner)
{
    painter.fillRect(inner, ColBack());
    const PanelGeometry g = panelGeometry();
    if (g.face.isEmpty())
        return;
    drawShape(painter, g.face, 0.12);
    if (g.isValid()) {
        // horizontal and vertical lines on whole pixels stay sharp
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(ColScala(), 1));
        const double y = std::floor(g.scaleY);
        painter.drawLine(QPointF(g.x0, y), QPointF(g.x1, y));
        const int parts = mainParts();
        const int sub = subParts();
        for (int i = 0; i <= parts; ++i) {
            const double x = std::round(g.xAt(double(i) / parts));
            painter.drawLine(QPointF(x, y - g.mainTick), QPointF(x, y));
            if (i < parts)
                for (int j = 1; j < sub; ++j) {
                    const double xs = std::round(g.xAt((i + double(j) / sub) / parts));
                    painter.drawLine(QPointF(xs, y - g.subTick), QPointF(xs, y));
                }
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(ColScala());
        painter.setBrush(ColScala());
        for (const double limit : {LowerLimit(), UpperLimit()}) {
            const double f = Widgets::rawScaleFraction(ValueStart(), ValueEnd(), limit, NonLinear());
            if (!(f > 0.0 && f < 1.0))
                continue;
            const double x = g.xAt(f), m = g.markHeight;
            painter.drawPolygon(QPolygonF({QPointF(x, y + 1), QPointF(x + m * 0.6, y + 1 + m), QPointF(x - m * 0.6, y + 1 + m)}));
        }

        const QStringList labels = scaleLabels();
        QFont numbers = FontAutom() ? withPixels(font(), g.fontPx) : font();
        painter.setFont(numbers);
        painter.setPen(fontColor());
        for (int i = 0; i <= parts && i < labels.size(); ++i) {
            const double x = g.xAt(double(i) / parts);
            painter.drawText(QRectF(x - g.labelBox.width() / 2, g.labelY - g.labelBox.height() / 2,
                                    g.labelBox.width(), g.labelBox.height()),
                             Qt::AlignCenter, labels.at(i));
        }
    }
    if (!Caption().isEmpty() && !g.caption.isEmpty()) {
        painter.setFont(FontAutom() ? withPixels(m_fontCapt, g.captionPx) : m_fontCapt);
        painter.setPen(m_fontCaptColor);
        painter.drawText(g.caption, Qt::AlignCenter, Caption());
    }
}

void TMeterPanelH::drawDynamic(QPainter &painter, const QRect &)
{
    const PanelGeometry g = panelGeometry();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (LedEnable()) {
        TLedCheck::DrawLed(painter, g.led1, ColLed1(), ledLit(0), Widgets::TLedShape::ledCircle,
                           Widgets::TBevelCut::bvRaised, palette());
        TLedCheck::DrawLed(painter, g.led2, ColLed2(), ledLit(1), Widgets::TLedShape::ledCircle,
                           Widgets::TBevelCut::bvRaised, palette());
    }
    if (!g.isValid())
        return;
    const double width = std::max(2.0, g.face.height() * 0.03);
    if (TripPointer()) {
        const double x = g.xAt(fraction(ValueTrip()));
        painter.setPen(QPen(ColTripPtr(), width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x, g.scaleY - g.mainTick), QPointF(x, g.pointerBottom));
    }
    if (PeakMode() != Widgets::TPeakMode::ppNone) {
        const double x = g.xAt(fraction(PeakValue()));
        painter.setPen(QPen(ColPeakPtr(), width / 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x, g.pointerTop), QPointF(x, g.scaleY));
    }
    const double x = g.xAt(pointerFraction());
    painter.setPen(QPen(ColPointer(), width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, g.pointerTop), QPointF(x, g.pointerBottom));
}

QSize TMeterPanelH::sizeHint() const
{
    const int h = fontMetrics().height();
    const int f = 2 * frameExtent();
    return QSize(16 * h + f, 4 * h + f + 4);
}

QSize TMeterPanelH::minimumSizeHint() const
{
    const int h = fontMetrics().height();
    const int f = 2 * frameExtent();
    return QSize(6 * h + f, 2 * h + f);
}
