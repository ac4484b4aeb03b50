#pragma once

#include "widgets/BlinkClient.h"
#include "widgets/SoftTimer.h"
#include "widgets/TInstrumentBase.h"

// What the round and the panel meter share: the value and the damped value shown,
// the scale range, limit events, peak and trip pointers, and the two face LEDs.
// The damping runs on the widget timer service, one step per tick, so a reading
// glides to its place at the same pace however often the program sets values.
class MeterBase : public TInstrumentBase
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(double ValueStart READ ValueStart WRITE setValueStart)
    Q_PROPERTY(double ValueEnd READ ValueEnd WRITE setValueEnd)
    Q_PROPERTY(int ScalaPart READ ScalaPart WRITE setScalaPart)
    Q_PROPERTY(int ScalaPsub READ ScalaPsub WRITE setScalaPsub)
    Q_PROPERTY(double UpperLimit READ UpperLimit WRITE setUpperLimit)
    Q_PROPERTY(double LowerLimit READ LowerLimit WRITE setLowerLimit)
    Q_PROPERTY(double ValueTrip READ ValueTrip WRITE setValueTrip)
    Q_PROPERTY(bool TripPointer READ TripPointer WRITE setTripPointer)
    Q_PROPERTY(int Damping READ Damping WRITE setDamping)
    Q_PROPERTY(Widgets::TPeakMode PeakMode READ PeakMode WRITE setPeakMode)
    Q_PROPERTY(int DampPeak READ DampPeak WRITE setDampPeak)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(Widgets::TMeterShape Shape READ Shape WRITE setShape)
    Q_PROPERTY(QColor ColShape READ ColShape WRITE setColShape)
    Q_PROPERTY(QColor ColBack READ ColBack WRITE setColBack)
    Q_PROPERTY(QColor ColScala READ ColScala WRITE setColScala)
    Q_PROPERTY(QColor ColPointer READ ColPointer WRITE setColPointer)
    Q_PROPERTY(QColor ColPeakPtr READ ColPeakPtr WRITE setColPeakPtr)
    Q_PROPERTY(QColor ColTripPtr READ ColTripPtr WRITE setColTripPtr)
    Q_PROPERTY(bool LedEnable READ LedEnable WRITE setLedEnable)
    Q_PROPERTY(bool LedOn1 READ LedOn1 WRITE setLedOn1)
    Q_PROPERTY(bool LedOn2 READ LedOn2 WRITE setLedOn2)
    Q_PROPERTY(bool LedBlink1 READ LedBlink1 WRITE setLedBlink1)
    Q_PROPERTY(bool LedBlink2 READ LedBlink2 WRITE setLedBlink2)
    Q_PROPERTY(QColor ColLed1 READ ColLed1 WRITE setColLed1)
    Q_PROPERTY(QColor ColLed2 READ ColLed2 WRITE setColLed2)
    Q_PROPERTY(bool NonLinear READ NonLinear WRITE setNonLinear)
    Q_PROPERTY(QChar DecimalSeparator READ DecimalSeparator WRITE setDecimalSeparator)

public:
    static constexpr int kMaxDamping = 10;
    static constexpr int kMaxScalaPart = 100;
    static constexpr int kMaxScalaPsub = 50;

    explicit MeterBase(QWidget *parent = nullptr);

    double Value() const { return m_value; }
    // a value that is not a number is ignored
    void setValue(double value);
    double ValueStart() const { return m_valueStart; }
    void setValueStart(double value);
    double ValueEnd() const { return m_valueEnd; }
    void setValueEnd(double value);
    int ScalaPart() const { return m_scalaPart; }
    void setScalaPart(int parts);
    int ScalaPsub() const { return m_scalaPsub; }
    void setScalaPsub(int parts);
    double UpperLimit() const { return m_upperLimit; }
    void setUpperLimit(double value);
    double LowerLimit() const { return m_lowerLimit; }
    void setLowerLimit(double value);
    double ValueTrip() const { return m_valueTrip; }
    void setValueTrip(double value);
    bool TripPointer() const { return m_tripPointer; }
    void setTripPointer(bool on);
    int Damping() const { return m_damping; }
    // limited to 0 ... 10; 0 shows the value at once
    void setDamping(int damping);
    Widgets::TPeakMode PeakMode() const { return m_peakMode; }
    void setPeakMode(Widgets::TPeakMode mode);
    int DampPeak() const { return m_dampPeak; }
    void setDampPeak(int damping);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Widgets::TMeterShape Shape() const { return m_shape; }
    void setShape(Widgets::TMeterShape shape);
    QColor ColShape() const { return m_colShape; }
    void setColShape(const QColor &colour);
    QColor ColBack() const { return m_colBack; }
    void setColBack(const QColor &colour);
    QColor ColScala() const { return m_colScala; }
    void setColScala(const QColor &colour);
    QColor ColPointer() const { return m_colPointer; }
    void setColPointer(const QColor &colour);
    QColor ColPeakPtr() const { return m_colPeakPtr; }
    void setColPeakPtr(const QColor &colour);
    QColor ColTripPtr() const { return m_colTripPtr; }
    void setColTripPtr(const QColor &colour);
    bool LedEnable() const { return m_ledEnable; }
    void setLedEnable(bool on);
    bool LedOn1() const { return m_ledOn[0]; }
    void setLedOn1(bool on) { setLed(0, m_ledOn, on); }
    bool LedOn2() const { return m_ledOn[1]; }
    void setLedOn2(bool on) { setLed(1, m_ledOn, on); }
    bool LedBlink1() const { return m_ledBlink[0]; }
    void setLedBlink1(bool on) { setLed(0, m_ledBlink, on); }
    bool LedBlink2() const { return m_ledBlink[1]; }
    void setLedBlink2(bool on) { setLed(1, m_ledBlink, on); }
    QColor ColLed1() const { return m_colLed[0]; }
    void setColLed1(const QColor &colour);
    QColor ColLed2() const { return m_colLed[1]; }
    void setColLed2(const QColor &colour);
    bool NonLinear() const { return m_nonLinear; }
    void setNonLinear(bool on);
    // of the scale numbers and the digital display; the program passes its own setting
    QChar DecimalSeparator() const { return m_decimalSep; }
    void setDecimalSeparator(QChar separator);

    // the value the pointer shows now (damped), and the peak pointer's value
    double ShownValue() const { return m_shown; }
    double PeakValue() const { return m_peak; }
    bool BelowScale() const { return m_below; }
    bool AboveScale() const { return m_above; }
    void resetPeak();

    // where a value sits on this meter's scale, 0 ... 1 (limited)
    double fraction(double value) const;
    double pointerFraction() const { return fraction(m_shown); }
    // led 0 or 1: enabled, on, and in the bright blink phase when blinking
    bool ledLit(int led) const;
    // the scale numbers at the main divisions, begin to end
    QStringList scaleLabels() const;
    int mainParts() const;
    int subParts() const;

signals:
    void OnUpperLim(bool upward);
    void OnLowerLim(bool upward);
    void OnTrip(bool upward);
    void onClick();
    void onDblClick();

protected:
    // the meter's body behind the scale: its colour, square or with rounded corners
    void drawShape(QPainter &painter, const QRectF &face, double cornerFactor) const;
    // below or above the scale changed
    virtual void scaleStateChanged() {}
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    int m_captionLimit = -1;

private:
    void applyShown(double shown);
    void stepPeak();
    void damperTick();
    void updateDamper();
    void updateScaleState();
    void updateBlink();
    void setLed(int led, bool *flags, bool on);
    bool settled(double a, double b) const;
    double clampToScale(double value) const;

    double m_value = 0.0;
    double m_shown = 0.0;
    double m_peak = 0.0;
    double m_valueStart = 0.0;
    double m_valueEnd = 100.0;
    int m_scalaPart = 10;
    int m_scalaPsub = -1;
    double m_upperLimit = 0.0;
    double m_lowerLimit = 0.0;
    double m_valueTrip = 0.0;
    bool m_tripPointer = false;
    int m_damping = 0;
    Widgets::TPeakMode m_peakMode = Widgets::TPeakMode::ppNone;
    int m_dampPeak = 0;
    QString m_caption;
    Widgets::TMeterShape m_shape = Widgets::TMeterShape::smtRoundrect;
    QColor m_colShape = Qt::white;
    QColor m_colBack = Qt::black;
    QColor m_colScala = Qt::white;
    QColor m_colPointer = Qt::red;
    QColor m_colPeakPtr = Qt::yellow;
    QColor m_colTripPtr = Qt::cyan;
    bool m_ledEnable = true;
    bool m_ledOn[2] = {false, false};
    bool m_ledBlink[2] = {false, false};
    QColor m_colLed[2] = {Qt::red, Qt::green};
    bool m_nonLinear = false;
    QChar m_decimalSep = u'.';
    bool m_below = false;
    bool m_above = false;
    bool m_pressing = false;
    SoftTimer m_damper;
    BlinkClient m_blink;
};
