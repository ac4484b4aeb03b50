#include "widgets/MeterBase.h"

#include "widgets/ScaleMath.h"
#include "widgets/WidgetAccessibility.h"
#include "widgets/WidgetTimerService.h"

#include <QPainter>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

using Widgets::TPeakMode;

namespace {

// the damping timer asks for 10 ms, which the service turns into every tick
constexpr int kDampingIntervalMs = 10;

} // namespace

MeterBase::MeterBase(QWidget *parent)
    : TInstrumentBase(parent)
    , m_damper([this] { damperTick(); })
    , m_blink([this](bool) { update(); })
{
}

bool MeterBase::settled(double a, double b) const
{
    // closer than a millionth of the scale moves no pixel
    const double span = std::abs(m_valueEnd - m_valueStart);
    return std::abs(a - b) <= 1e-6 * (span > 0 ? span : std::max(1.0, std::abs(b)));
}

double MeterBase::clampToScale(double value) const
{
    const double low = std::min(m_valueStart, m_valueEnd), high = std::max(m_valueStart, m_valueEnd);
    return std::clamp(value, low, high);
}

double MeterBase::fraction(double value) const
{
    return Widgets::scaleFraction(m_valueStart, m_valueEnd, value, m_nonLinear);
}

void MeterBase::setValue(double value)
{
    if (std::isnan(value) || value == m_value)
        return;
    m_value = value;
    if (m_damping == 0)
        applyShown(value);
    updateDamper();
    Widgets::announceValue(this, value);
}

void MeterBase::applyShown(double shown)
{
    const double before = m_shown;
    m_shown = shown;
    if (const int c = Widgets::limitCrossing(before, shown, m_upperLimit))
        emit OnUpperLim(c > 0);
    if (const int c = Widgets::limitCrossing(before, shown, m_lowerLimit))
        emit OnLowerLim(c > 0);
    if (const int c = Widgets::limitCrossing(before, shown, m_valueTrip))
        emit OnTrip(c > 0);
    updateScaleState();
    stepPeak();
    update();
}

void MeterBase::stepPeak()
{
    switch (m_peakMode) {
    case TPeakMode::ppNone:
        m_peak = m_shown;
        break;
    case TPeakMode::ppPeak:
        m_peak = clampToScale(std::max(m_peak, m_shown));
        break;
    case TPeakMode::ppDrag: {
        const double target = clampToScale(m_shown);
        const double next = Widgets::dampStep(m_peak, target, m_dampPeak);
        m_peak = clampToScale(settled(next, target) ? target : next);
        break;
    }
    }
}

void MeterBase::damperTick()
{
    if (m_damping > 0 && m_shown != m_value) {
        const double next = Widgets::dampStep(m_shown, m_value, m_damping);
        applyShown(settled(next, m_value) ? m_value : next);
    } else if (m_peakMode == TPeakMode::ppDrag) {
        stepPeak();
        update();
    }
    updateDamper();
}

void MeterBase::updateDamper()
{
    const bool pointerMoving = m_damping > 0 && m_shown != m_value;
    const bool peakMoving = m_peakMode == TPeakMode::ppDrag && m_peak != clampToScale(m_shown);
    if (pointerMoving || peakMoving) {
        if (!m_damper.isActive())
            m_damper.start(kDampingIntervalMs);
    } else {
        m_damper.stop();
    }
}

void MeterBase::updateScaleState()
{
    const double raw = Widgets::rawScaleFraction(m_valueStart, m_valueEnd, m_shown, m_nonLinear);
    const bool below = raw < 0.0, above = raw > 1.0;
    if (below == m_below && above == m_above)
        return;
    m_below = below;
    m_above = above;
    scaleStateChanged();
}

void MeterBase::resetPeak()
{
    m_peak = m_peakMode == TPeakMode::ppNone ? m_shown : clampToScale(m_shown);
    updateDamper();
    update();
}

void MeterBase::setValueStart(double value)
{
    if (!std::isfinite(value))
        return;
    m_valueStart = value;
    updateScaleState();
    faceChanged();
}

void MeterBase::setValueEnd(double value)
{
    if (!std::isfinite(value))
        return;
    m_valueEnd = value;
    updateScaleState();
    faceChanged();
}

void MeterBase::setScalaPart(int parts)
{
    m_scalaPart = parts;
    faceChanged();
}

void MeterBase::setScalaPsub(int parts)
{
    m_scalaPsub = parts;
    faceChanged();
}

int MeterBase::mainParts() const
{
    return std::clamp(m_scalaPart, 1, kMaxScalaPart);
}

int MeterBase::subParts() const
{
    return std::clamp(m_scalaPsub, 1, kMaxScalaPsub);
}

QStringList MeterBase::scaleLabels() const
{
    QStringList labels;
    const int parts = mainParts();
    for (int i = 0; i <= parts; ++i)
        labels << Widgets::scaleNumber(Widgets::scaleValueAt(m_valueStart, m_valueEnd, double(i) / parts, m_nonLinear),
                                       m_decimalSep);
    return labels;
}

void MeterBase::setDecimalSeparator(QChar separator)
{
    if (separator == m_decimalSep)
        return;
    m_decimalSep = separator;
    faceChanged();
}

void MeterBase::setUpperLimit(double value)
{
    m_upperLimit = value;
    faceChanged();
}

void MeterBase::setLowerLimit(double value)
{
    m_lowerLimit = value;
    faceChanged();
}

void MeterBase::setValueTrip(double value)
{
    m_valueTrip = value;
    update();
}

void MeterBase::setTripPointer(bool on)
{
    m_tripPointer = on;
    update();
}

void MeterBase::setDamping(int damping)
{
    m_damping = std::clamp(damping, 0, kMaxDamping);
    if (m_damping == 0 && m_shown != m_value)
        applyShown(m_value);
    updateDamper();
}

void MeterBase::setPeakMode(TPeakMode mode)
{
    m_peakMode = mode;
    resetPeak();
}

void MeterBase::setDampPeak(int damping)
{
    m_dampPeak = std::clamp(damping, 0, kMaxDamping);
    updateDamper();
}

void MeterBase::setCaption(const QString &caption)
{
    QString text = caption;
    if (m_captionLimit >= 0 && text.size() > m_captionLimit) {
        qsizetype cut = m_captionLimit;
        if (cut > 0 && text.at(cut - 1).isHighSurrogate())
            --cut;   // never half a character
        text.truncate(cut);
    }
    m_caption = text;
    faceChanged();
}

void MeterBase::setShape(Widgets::TMeterShape shape)
{
    m_shape = shape;
    faceChanged();
}

void MeterBase::setColShape(const QColor &colour)
{
    m_colShape = colour;
    faceChanged();
}

void MeterBase::setColBack(const QColor &colour)
{
    m_colBack = colour;
    faceChanged();
}

void MeterBase::setColScala(const QColor &colour)
{
    m_colScala = colour;
    faceChanged();
}

void MeterBase::setColPointer(const QColor &colour)
{
    m_colPointer = colour;
    update();
}

void MeterBase::setColPeakPtr(const QColor &colour)
{
    m_colPeakPtr = colour;
    update();
}

void MeterBase::setColTripPtr(const QColor &colour)
{
    m_colTripPtr = colour;
    update();
}

void MeterBase::setLedEnable(bool on)
{
    m_ledEnable = on;
    updateBlink();
    update();
}

void MeterBase::setLed(int led, bool *flags, bool on)
{
    flags[led] = on;
    updateBlink();
    update();
}

void MeterBase::setColLed1(const QColor &colour)
{
    m_colLed[0] = colour;
    update();
}

void MeterBase::setColLed2(const QColor &colour)
{
    m_colLed[1] = colour;
    update();
}

void MeterBase::setNonLinear(bool on)
{
    m_nonLinear = on;
    updateScaleState();
    faceChanged();
}

void MeterBase::updateBlink()
{
    m_blink.setActive(m_ledEnable && ((m_ledOn[0] && m_ledBlink[0]) || (m_ledOn[1] && m_ledBlink[1])));
}

bool MeterBase::ledLit(int led) const
{
    if (led < 0 || led > 1 || !m_ledEnable || !m_ledOn[led])
        return false;
    return !m_ledBlink[led] || WidgetTimerService::instance().blinkPhase();
}

void MeterBase::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressing = true;
        return;
    }
    TInstrumentBase::mousePressEvent(event);
}

void MeterBase::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_pressing) {
        m_pressing = false;
        if (rect().contains(event->position().toPoint()))
            emit onClick();
        return;
    }
    TInstrumentBase::mouseReleaseEvent(event);
}

void MeterBase::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit onDblClick();
    TInstrumentBase::mouseDoubleClickEvent(event);
}

void MeterBase::drawShape(QPainter &painter, const QRectF &face, double cornerFactor) const
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ColShape());
    if (Shape() == Widgets::TMeterShape::smtRoundrect) {
        const double corner = cornerFactor * std::min(face.width(), face.height());
        painter.drawRoundedRect(face, corner, corner);
    } else {
        painter.drawRect(face);
    }
}
