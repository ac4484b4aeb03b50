#include "widgets/TMeter120.h"

#include "widgets/ScaleMath.h"
#include "widgets/TLedCheck.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

using Widgets::TOrientation;

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

QRectF circleRect(const QPointF &centre, double r)
{
    return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
}

} // namespace

QPointF TMeter120::DialGeometry::pointAt(double fromBegin, double r) const
{
    const double a = radians(screenAngle(fromBegin));
    return centre + QPointF(r * std::cos(a), -r * std::sin(a));
}

QPointF TMeter120::DialGeometry::labelCentre(double fromBegin) const
{
    // push each number out just far enough that its box clears the arc
    const double a = radians(screenAngle(fromBegin));
    const double reach = labelBox.width() / 2 * std::abs(std::cos(a)) + labelBox.height() / 2 * std::abs(std::sin(a));
    return pointAt(fromBegin, radius + gap + reach);
}

TMeter120::TMeter120(QWidget *parent)
    : MeterBase(parent)
{
    setColBack(QColor(0, 0, 128));
    setFontColor(Qt::white);
    setCaption(QStringLiteral("l/min"));
    resize(250, 112);
}

double TMeter120::MeterAngle(double start, double end, double value, bool logarithmic)
{
    return kArcDegrees * Widgets::scaleFraction(start, end, value, logarithmic);
}

TMeter120::DialGeometry TMeter120::DialGeometryFor(const QRect &inner, TOrientation orientation, double fontPx,
                                                   int labelChars)
{
    DialGeometry g;
    switch (orientation) {
    case TOrientation::orTop: g.midAngle = 90; g.direction = -1; break;
    case TOrientation::orBottom: g.midAngle = 270; g.direction = 1; break;
    case TOrientation::orLeft: g.midAngle = 180; g.direction = -1; break;
    case TOrientation::orRight: g.midAngle = 0; g.direction = 1; break;
    }
    if (inner.width() < 4 || inner.height() < 4)
        return g;
    const double minSide = std::min(inner.width(), inner.height());
    const double margin = std::max(1.0, 0.02 * minSide);
    g.face = QRectF(inner).adjusted(margin, margin, -margin, -margin);

    // Lay the dial out along the chord of the arc and the depth from the pivot
    // toward the arc, then turn it to the orientation.
    const bool across = orientation == TOrientation::orTop || orientation == TOrientation::orBottom;
    const double chord = across ? g.face.width() : g.face.height();
    const double depth = across ? g.face.height() : g.face.width();
    const double pad = std::max(2.0, 0.04 * std::min(chord, depth));
    fontPx = std::max(1.0, fontPx);
    g.fontPx = fontPx;
    const double textH = fontPx * 1.25;
    const double labelW = 0.62 * fontPx * std::max(1, labelChars) + 0.3 * fontPx;
    g.labelBox = QSizeF(labelW, textH);
    const double ec = (across ? labelW : textH) / 2;   // label half extent along the chord
    const double ed = (across ? textH : labelW) / 2;   // and along the depth
    g.gap = 0.35 * fontPx;
    const double pivotInset = pad + 0.6 * fontPx;
    const double depthRoom = depth - pivotInset - pad;
    const double chordRoom = chord / 2 - pad;

    // the largest radius whose numbers stay on the face at every angle of the arc
    double r = std::numeric_limits<double>::max();
    for (int step = 0; step <= 12; ++step) {
        const double t = radians(step * 5.0), s = std::sin(t), c = std::cos(t);
        const double lead = g.gap + ec * s + ed * c;
        r = std::min(r, (depthRoom - ed) / c - lead);
        if (s > 0)
            r = std::min(r, (chordRoom - ec) / s - lead);
    }
    if (!(r >= 4.0))
        return g;
    double used = 0;
    for (int step = 0; step <= 12; ++step) {
        const double t = radians(step * 5.0), s = std::sin(t), c = std::cos(t);
        used = std::max(used, (r + g.gap + ec * s + ed * c) * c + ed);
    }
    const double d0 = pivotInset + std::max(0.0, depthRoom - used) / 2;
    const QPointF mid = g.face.center();
    auto place = [&](double c, double d) {
        switch (orientation) {
        case TOrientation::orTop: return QPointF(mid.x() + c, g.face.bottom() - d);
        case TOrientation::orBottom: return QPointF(mid.x() + c, g.face.top() + d);
        case TOrientation::orLeft: return QPointF(g.face.right() - d, mid.y() + c);
        case TOrientation::orRight: return QPointF(g.face.left() + d, mid.y() + c);
        }
        return mid;
    };
    auto box = [](const QPointF &centre, double w, double h) {
        return QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h);
    };

    g.centre = place(0, d0);
    g.radius = r;
    g.mainTick = 0.14 * r;
    g.subTick = 0.07 * r;
    g.zoneWidth = std::max(2.0, 0.07 * r);
    g.caption = box(place(0, d0 + 0.56 * r), across ? std::min(1.1 * r, chord - 2 * pad) : 0.7 * r, fontPx * 1.6);
    g.display = box(place(0, d0 + 0.26 * r), across ? 0.42 * r : 0.36 * r, std::max(6.0, 0.15 * r));
    const double led = std::clamp(0.07 * minSide, 4.0, 18.0);
    const double beginSide = across ? -1.0 : 1.0;
    const double ledChord = chord / 2 - pad - led / 2, ledDepth = pad + led / 2;
    g.led1 = box(place(beginSide * ledChord, ledDepth), led, led);
    g.led2 = box(place(-beginSide * ledChord, ledDepth), led, led);
    return g;
}

double TMeter120::numberPixels(const QRect &inner) const
{
    if (FontAutom())
        return std::clamp(0.1 * std::min(inner.width(), inner.height()), 6.0, 40.0);
    return font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
}

QFont TMeter120::pixelFont(double px) const
{
    QFont f = font();
    f.setPixelSize(std::max(1, int(std::lround(px))));
    return f;
}

TMeter120::DialGeometry TMeter120::dialGeometry() const
{
    const QRect inner = InnerRect();
    int chars = 1;
    for (const QString &label : scaleLabels())
        chars = std::max(chars, int(label.size()));
    return DialGeometryFor(inner, m_orientation, numberPixels(inner), chars);
}

QString TMeter120::displayText() const
{
    const int decimals = Widgets::displayDecimals(ValueStart(), ValueEnd(), ShownValue(), m_dispFixPnt);
    QString text = QString::number(ShownValue(), 'f', decimals);
    if (DecimalSeparator() != u'.')
        text.replace(u'.', DecimalSeparator());
    return text;
}

void TMeter120::drawFace(QPainter &painter, const QRect &inner)
{
    painter.fillRect(inner, ColBack());
    const DialGeometry g = dialGeometry();
    if (g.face.isEmpty())
        return;
    drawShape(painter, g.face, 0.08);

    if (g.isValid()) {
        const QRectF outer = circleRect(g.centre, g.radius);
        const QRectF innerZone = circleRect(g.centre, g.radius - g.zoneWidth);
        for (const Zone &zone : m_zone) {
            const double f1 = fraction(std::min(zone.begin, zone.end));
            const double f2 = fraction(std::max(zone.begin, zone.end));
            if (f2 - f1 < 1e-9)
                continue;
            const double a1 = g.screenAngle(kArcDegrees * f1), a2 = g.screenAngle(kArcDegrees * f2);
            QPainterPath band;
            band.arcMoveTo(outer, a1);
            band.arcTo(outer, a1, a2 - a1);
            band.arcTo(innerZone, a2, a1 - a2);
            band.closeSubpath();
            painter.fillPath(band, zone.colour);
        }

        const double line = std::max(1.0, g.radius / 110.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ColScala(), line, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(outer, int(std::lround(g.screenAngle(0) * 16)), int(std::lround(g.direction * kArcDegrees * 16)));

        const int parts = mainParts();
        const int sub = subParts();
        painter.setPen(QPen(ColScala(), std::max(1.0, g.radius / 160.0), Qt::SolidLine, Qt::FlatCap));
        if (sub > 1) {
            for (int i = 0; i < parts; ++i)
                for (int j = 1; j < sub; ++j) {
                    const double a = kArcDegrees * (i + double(j) / sub) / parts;
                    painter.drawLine(g.pointAt(a, g.radius - g.subTick), g.pointAt(a, g.radius));
                }
        }
        painter.setPen(QPen(ColScala(), std::max(1.0, g.radius / 80.0), Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i <= parts; ++i) {
            const double a = kArcDegrees * i / parts;
            painter.drawLine(g.pointAt(a, g.radius - g.mainTick), g.pointAt(a, g.radius));
        }

        const QStringList labels = scaleLabels();
        painter.setFont(pixelFont(g.fontPx));
        for (int i = 0; i <= parts && i < labels.size(); ++i) {
            const QPointF c = g.labelCentre(kArcDegrees * i / parts);
            const QRectF r(c.x() - g.labelBox.width() / 2, c.y() - g.labelBox.height() / 2, g.labelBox.width(),
                           g.labelBox.height());
            painter.drawText(r, Qt::AlignCenter, labels.at(i));
        }
    }

    if (!Caption().isEmpty() && !g.caption.isEmpty()) {
        painter.setFont(FontAutom() ? pixelFont(g.fontPx * 1.15) : font());
        painter.setPen(fontColor());
        painter.drawText(g.caption, Qt::AlignCenter, Caption());
    }
}

void TMeter120::drawDynamic(QPainter &painter, const QRect &)
{
    const DialGeometry g = dialGeometry();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (m_dispEnable && g.display.width() > 2 && g.display.height() > 2) {
        painter.setPen(QPen(m_colDRand, 1));
        painter.setBrush(m_colDBack);
        painter.drawRect(g.display.adjusted(0.5, 0.5, -0.5, -0.5));
        QFont digits = pixelFont(g.display.height() * 0.72);
        digits.setItalic(m_dispItalic);
        digits.setBold(true);
        painter.setFont(digits);
        painter.setPen(m_colDisplay);
        painter.drawText(g.display.adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter, displayText());
    }
    if (LedEnable()) {
        TLedCheck::DrawLed(painter, g.led1, ColLed1(), ledLit(0), Widgets::TLedShape::ledCircle,
                           Widgets::TBevelCut::bvRaised, palette());
        TLedCheck::DrawLed(painter, g.led2, ColLed2(), ledLit(1), Widgets::TLedShape::ledCircle,
                           Widgets::TBevelCut::bvRaised, palette());
    }
    if (!g.isValid())
        return;

    const double width = std::max(1.5, g.radius * 0.018);
    if (TripPointer()) {
        const double a = kArcDegrees * fraction(ValueTrip());
        painter.setPen(QPen(ColTripPtr(), 2 * width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(g.pointAt(a, g.radius * 0.6), g.pointAt(a, g.radius));
    }
    if (PeakMode() != Widgets::TPeakMode::ppNone) {
        const double a = kArcDegrees * fraction(PeakValue());
        painter.setPen(QPen(ColPeakPtr(), width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(g.pointAt(a, g.radius * 0.35), g.pointAt(a, g.radius * 0.95));
    }
    const double a = pointerAngle();
    painter.setPen(QPen(ColPointer(), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(g.centre, g.pointAt(a, g.radius * 0.97));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColPointer());
    const double hub = std::max(2.0, 0.045 * g.radius);
    painter.drawEllipse(circleRect(g.centre, hub));
}

void TMeter120::scaleStateChanged()
{
    if (BelowScale() != m_wasBelow) {
        m_wasBelow = BelowScale();
        emit OnValueMin(m_wasBelow);
    }
    if (AboveScale() != m_wasAbove) {
        m_wasAbove = AboveScale();
        emit OnValueMax(m_wasAbove);
    }
}

void TMeter120::setZone(int zone, double Zone::*field, double value)
{
    m_zone[zone].*field = value;
    faceChanged();
}

void TMeter120::setZoneColour(int zone, const QColor &colour)
{
    m_zone[zone].colour = colour;
    faceChanged();
}

void TMeter120::setColDBack(const QColor &colour)
{
    m_colDBack = colour;
    update();
}

void TMeter120::setColDRand(const QColor &colour)
{
    m_colDRand = colour;
    update();
}

void TMeter120::setColDisplay(const QColor &colour)
{
    m_colDisplay = colour;
    update();
}

void TMeter120::setOrientation(TOrientation orientation)
{
    m_orientation = orientation;
    faceChanged();
}

void TMeter120::setDispEnable(bool on)
{
    m_dispEnable = on;
    update();
}

void TMeter120::setDispItalic(bool on)
{
    m_dispItalic = on;
    update();
}

void TMeter120::setDispFixPnt(bool on)
{
    m_dispFixPnt = on;
    update();
}

QSize TMeter120::sizeHint() const
{
    const int h = fontMetrics().height();
    const int f = 2 * frameExtent();
    return QSize(16 * h + f, 7 * h + f);
}

QSize TMeter120::minimumSizeHint() const
{
    const int h = fontMetrics().height();
    const int f = 2 * frameExtent();
    return QSize(6 * h + f, 3 * h + f);
}
