#pragma once

#include "widgets/MeterBase.h"

// An analogue pointer instrument with a 120 degree scale arc, three colour zones,
// scale numbers, a caption, an optional digital display and two LEDs on its face.
class TMeter120 : public MeterBase
{
    Q_OBJECT
    Q_PROPERTY(double ValueMinA READ ValueMinA WRITE setValueMinA)
    Q_PROPERTY(double ValueMinE READ ValueMinE WRITE setValueMinE)
    Q_PROPERTY(double ValueMidA READ ValueMidA WRITE setValueMidA)
    Q_PROPERTY(double ValueMidE READ ValueMidE WRITE setValueMidE)
    Q_PROPERTY(double ValueMaxA READ ValueMaxA WRITE setValueMaxA)
    Q_PROPERTY(double ValueMaxE READ ValueMaxE WRITE setValueMaxE)
    Q_PROPERTY(QColor ColMin READ ColMin WRITE setColMin)
    Q_PROPERTY(QColor ColMid READ ColMid WRITE setColMid)
    Q_PROPERTY(QColor ColMax READ ColMax WRITE setColMax)
    Q_PROPERTY(QColor ColDBack READ ColDBack WRITE setColDBack)
    Q_PROPERTY(QColor ColDRand READ ColDRand WRITE setColDRand)
    Q_PROPERTY(QColor ColDisplay READ ColDisplay WRITE setColDisplay)
    Q_PROPERTY(Widgets::TOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(bool DispEnable READ DispEnable WRITE setDispEnable)
    Q_PROPERTY(bool DispItalic READ DispItalic WRITE setDispItalic)
    Q_PROPERTY(bool DispFixPnt READ DispFixPnt WRITE setDispFixPnt)

public:
    static constexpr double kArcDegrees = 120.0;

    // Dial layout inside the inner rectangle. Angles are in degrees, counter-clockwise
    // from three o'clock; "from begin" counts along the scale, 0 to 120.
    struct DialGeometry {
        QRectF face;
        QPointF centre;            // pivot of the pointers
        double radius = 0;         // the scale arc; ticks and zones lie inside it
        double mainTick = 0;
        double subTick = 0;
        double zoneWidth = 0;
        double gap = 0;            // between the arc and the scale numbers
        QSizeF labelBox;           // one scale number
        double fontPx = 0;         // scale number size
        double midAngle = 90;
        int direction = -1;        // +1: values grow counter-clockwise
        QRectF caption;
        QRectF display;
        QRectF led1;
        QRectF led2;

        bool isValid() const { return radius > 0; }
        double screenAngle(double fromBegin) const { return midAngle - direction * 60.0 + direction * fromBegin; }
        QPointF pointAt(double fromBegin, double r) const;
        // the centre of the scale number at that place on the arc
        QPointF labelCentre(double fromBegin) const;
    };

    explicit TMeter120(QWidget *parent = nullptr);

    double ValueMinA() const { return m_zone[0].begin; }
    void setValueMinA(double v) { setZone(0, &Zone::begin, v); }
    double ValueMinE() const { return m_zone[0].end; }
    void setValueMinE(double v) { setZone(0, &Zone::end, v); }
    double ValueMidA() const { return m_zone[1].begin; }
    void setValueMidA(double v) { setZone(1, &Zone::begin, v); }
    double ValueMidE() const { return m_zone[1].end; }
    void setValueMidE(double v) { setZone(1, &Zone::end, v); }
    double ValueMaxA() const { return m_zone[2].begin; }
    void setValueMaxA(double v) { setZone(2, &Zone::begin, v); }
    double ValueMaxE() const { return m_zone[2].end; }
    void setValueMaxE(double v) { setZone(2, &Zone::end, v); }
    QColor ColMin() const { return m_zone[0].colour; }
    void setColMin(const QColor &colour) { setZoneColour(0, colour); }
    QColor ColMid() const { return m_zone[1].colour; }
    void setColMid(const QColor &colour) { setZoneColour(1, colour); }
    QColor ColMax() const { return m_zone[2].colour; }
    void setColMax(const QColor &colour) { setZoneColour(2, colour); }
    QColor ColDBack() const { return m_colDBack; }
    void setColDBack(const QColor &colour);
    QColor ColDRand() const { return m_colDRand; }
    void setColDRand(const QColor &colour);
    QColor ColDisplay() const { return m_colDisplay; }
    void setColDisplay(const QColor &colour);
    Widgets::TOrientation Orientation() const { return m_orientation; }
    void setOrientation(Widgets::TOrientation orientation);
    bool DispEnable() const { return m_dispEnable; }
    void setDispEnable(bool on);
    bool DispItalic() const { return m_dispItalic; }
    void setDispItalic(bool on);
    bool DispFixPnt() const { return m_dispFixPnt; }
    void setDispFixPnt(bool on);

    // angle of a value from the scale begin, 0 ... 120 degrees
    static double MeterAngle(double start, double end, double value, bool logarithmic);
    double pointerAngle() const { return kArcDegrees * pointerFraction(); }
    static DialGeometry DialGeometryFor(const QRect &inner, Widgets::TOrientation orientation, double fontPx,
                                        int labelChars);
    DialGeometry dialGeometry() const;
    // the digits of the display for the value shown
    QString displayText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // the shown value left (true) or came back into (false) the scale below its begin
    void OnValueMin(bool below);
    // the shown value left (true) or came back into (false) the scale above its end
    void OnValueMax(bool above);

protected:
    void drawFace(QPainter &painter, const QRect &inner) override;
    void drawDynamic(QPainter &painter, const QRect &inner) override;
    void scaleStateChanged() override;

private:
    struct Zone {
        double begin;
        double end;
        QColor colour;
    };
    void setZone(int zone, double Zone::*field, double value);
    void setZoneColour(int zone, const QColor &colour);
    double numberPixels(const QRect &inner) const;
    QFont pixelFont(double px) const;

    Zone m_zone[3] = {{0, 10, Qt::yellow}, {50, 75, Qt::green}, {75, 100, Qt::red}};
    QColor m_colDBack = Qt::black;
    QColor m_colDRand = Qt::white;
    QColor m_colDisplay = Qt::cyan;
    Widgets::TOrientation m_orientation = Widgets::TOrientation::orTop;
    bool m_dispEnable = true;
    bool m_dispItalic = false;
    bool m_dispFixPnt = false;
    bool m_wasBelow = false;
    bool m_wasAbove = false;
};
