#pragma once

#include "widgets/WidgetTypes.h"

#include <QColor>
#include <QFont>
#include <QWidget>

class QPainter;

// The frame every instrument control sits in: outer bevel, a flat band in button
// face, inner bevel, and the inner rectangle the control draws into. A side whose
// flag is off carries none of the bands, so framed controls can be joined edge to
// edge.
class TRahmen : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Widgets::TBevelCut BevelOut READ BevelOut WRITE setBevelOut)
    Q_PROPERTY(Widgets::TBevelCut BevelIn READ BevelIn WRITE setBevelIn)
    Q_PROPERTY(int BevWidth READ BevWidth WRITE setBevWidth)
    Q_PROPERTY(int BordWidth READ BordWidth WRITE setBordWidth)
    Q_PROPERTY(bool BordLeft READ BordLeft WRITE setBordLeft)
    Q_PROPERTY(bool BordTop READ BordTop WRITE setBordTop)
    Q_PROPERTY(bool BordRight READ BordRight WRITE setBordRight)
    Q_PROPERTY(bool BordBottom READ BordBottom WRITE setBordBottom)
    Q_PROPERTY(QColor ColBgnd READ ColBgnd WRITE setColBgnd)
    Q_PROPERTY(bool FontAutom READ FontAutom WRITE setFontAutom)
    Q_PROPERTY(QColor fontColor READ fontColor WRITE setFontColor)

public:
    struct FrameStyle {
        Widgets::TBevelCut bevelOut = Widgets::TBevelCut::bvRaised;
        Widgets::TBevelCut bevelIn = Widgets::TBevelCut::bvNone;
        int bevWidth = 2;
        int bordWidth = 2;
        bool left = true, top = true, right = true, bottom = true;
        bool framed = false;    // one-pixel outline in the border colour first
        bool pressed = false;   // a pressed button turns its outer bevel round
    };

    explicit TRahmen(QWidget *parent = nullptr);

    Widgets::TBevelCut BevelOut() const { return m_frameStyle.bevelOut; }
    void setBevelOut(Widgets::TBevelCut cut);
    Widgets::TBevelCut BevelIn() const { return m_frameStyle.bevelIn; }
    void setBevelIn(Widgets::TBevelCut cut);
    int BevWidth() const { return m_frameStyle.bevWidth; }
    void setBevWidth(int width);
    int BordWidth() const { return m_frameStyle.bordWidth; }
    void setBordWidth(int width);
    bool BordLeft() const { return m_frameStyle.left; }
    void setBordLeft(bool on);
    bool BordTop() const { return m_frameStyle.top; }
    void setBordTop(bool on);
    bool BordRight() const { return m_frameStyle.right; }
    void setBordRight(bool on);
    bool BordBottom() const { return m_frameStyle.bottom; }
    void setBordBottom(bool on);
    // an invalid colour (the default) follows the palette's button face
    QColor ColBgnd() const;
    void setColBgnd(const QColor &colour);
    bool FontAutom() const { return m_fontAutom; }
    void setFontAutom(bool on);
    // the colour of the control's font; Qt fonts carry none
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor &colour);

    FrameStyle frameStyle() const;
    QRect InnerRect() const { return InnerRectOf(rect(), frameStyle()); }

    // geometry shared by painting, hit tests and tests
    static QRect InnerRectOf(const QRect &outer, const FrameStyle &style);
    static void DrawFrame(QPainter &painter, const QRect &outer, const FrameStyle &style,
                          const QPalette &palette, const QColor &outline, const QColor &fill);
    // a bevel band of the given width along the edge of r, mitred at the corners
    static void DrawBevel(QPainter &painter, const QRect &r, int width,
                          const QColor &topLeft, const QColor &bottomRight);
    static void DrawBevelCut(QPainter &painter, const QRect &r, int width, Widgets::TBevelCut cut,
                             const QPalette &palette);
    // The automatic font size: too high a font shrinks until the height is at least
    // 1.1 times its pixel size, a smaller one grows while 1.1 times its pixel size is
    // below the height.
    static QFont AutoFont(const QFont &base, int height);
    // AutoFont, then smaller still until text fits the width
    static QFont FitFont(const QFont &base, int height, const QString &text, int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnRepaint();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    // draws inside the inner rectangle, clipped to it
    virtual void drawContent(QPainter &painter, const QRect &inner);
    // the face changed: controls with a cached face drop it
    virtual void faceChanged();
    virtual bool isPressedLook() const { return false; }
    int frameExtent() const;
    // the area being repainted, so that parts outside it can be skipped
    QRect paintRect() const { return m_paintRect; }
    // FitFont of the control's font, remembered: blinking and live controls repaint
    // often, and fitting a font costs a dozen font lookups
    QFont fittedFont(int height, const QString &text, int width) const;

    bool m_framed = false;
    QColor m_colBtnBord = Qt::black;

private:
    FrameStyle m_frameStyle;
    QColor m_colBgnd;
    QColor m_fontColor = Qt::black;
    bool m_fontAutom = true;

    struct FittedFont {
        QFont base;
        QString text;
        int height = -1;
        int width = -1;
        QFont font;
    };
    mutable FittedFont m_fitted;
    QRect m_paintRect;
};
