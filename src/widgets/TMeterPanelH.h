#pragma once

#include "widgets/MeterBase.h"

// A horizontal panel meter: a straight scale across the face, a pointer moving from
// the scale begin on the left to its end on the right, limit marks, a caption and
// two LEDs.
class TMeterPanelH : public MeterBase
{
    Q_OBJECT
    Q_PROPERTY(QFont FontCapt READ FontCapt WRITE setFontCapt)
    Q_PROPERTY(QColor fontCaptColor READ fontCaptColor WRITE setFontCaptColor)

public:
    static constexpr int kMaxCaptionLength = 32;

    struct PanelGeometry {
        QRectF face;
        double x0 = 0;             // scale begin
        double x1 = 0;             // scale end
        double scaleY = 0;         // the scale line
        double mainTick = 0;
        double subTick = 0;
        double markHeight = 0;     // limit marks below the line
        double fontPx = 0;         // scale number size
        double captionPx = 0;
        QSizeF labelBox;
        double labelY = 0;         // centre of the scale numbers
        double pointerTop = 0;
        double pointerBottom = 0;
        QRectF caption;
        QRectF led1;
        QRectF led2;

        bool isValid() const { return x1 > x0; }
        double xAt(double fraction) const { return x0 + fraction * (x1 - x0); }
    };

    explicit TMeterPanelH(QWidget *parent = nullptr);

    QFont FontCapt() const { return m_fontCapt; }
    void setFontCapt(const QFont &font);
    // the caption font's colour
    QColor fontCaptColor() const { return m_fontCaptColor; }
    void setFontCaptColor(const QColor &colour);

    // the pointer's place as a percentage of the scale length, 0 ... 100
    double PointerPercent() const { return 100.0 * pointerFraction(); }
    static PanelGeometry PanelGeometryFor(const QRect &inner, double fontPx, double captionPx, int labelChars,
                                          bool leds);
    PanelGeometry panelGeometry() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void drawFace(QPainter &painter, const QRect &inner) override;
    void drawDynamic(QPainter &painter, const QRect &inner) override;

private:
    double numberPixels(const QRect &inner) const;
    double captionPixels(const QRect &inner) const;

    QFont m_fontCapt;
    QColor m_fontCaptColor = Qt::white;
};
