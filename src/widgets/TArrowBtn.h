#pragma once

#include "widgets/BlinkClient.h"
#include "widgets/PushLogic.h"
#include "widgets/SoftTimer.h"
#include "widgets/TInstrumentBase.h"

// A square button showing an arrow, a circle or a square, coloured by its state.
// It keeps itself square: the width is at least 20 pixels and the height follows it.
class TArrowBtn : public TInstrumentBase
{
    Q_OBJECT
    Q_PROPERTY(Widgets::TButtonMode ButtonMode READ ButtonMode WRITE setButtonMode)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(Widgets::TArrowShape Shape READ Shape WRITE setShape)
    Q_PROPERTY(Widgets::TOrientation Orientation READ Orientation WRITE setOrientation)
    Q_PROPERTY(QColor ColorUp READ ColorUp WRITE setColorUp)
    Q_PROPERTY(QColor ColorDown READ ColorDown WRITE setColorDown)
    Q_PROPERTY(QColor ColorButton READ ColorButton WRITE setColorButton)
    Q_PROPERTY(bool ShapeOn READ ShapeOn WRITE setShapeOn)
    Q_PROPERTY(bool ShapeBlink READ ShapeBlink WRITE setShapeBlink)
    Q_PROPERTY(int RepSpeed READ RepSpeed WRITE setRepSpeed)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)

public:
    static constexpr int kMinSide = 20;
    static constexpr int kMaxRepeatMs = 2001;

    explicit TArrowBtn(QWidget *parent = nullptr);

    Widgets::TButtonMode ButtonMode() const { return m_mode; }
    void setButtonMode(Widgets::TButtonMode mode);
    bool Down() const { return m_down; }
    // from program code: no event; a grouped button going down releases the others
    void setDown(bool down);
    // a whole click as the user makes it (press and release): OnDown, OnUp, onClick as the
    // style gives them; nothing when the button cannot be pressed
    void click();
    Widgets::TArrowShape Shape() const { return m_shape; }
    void setShape(Widgets::TArrowShape shape);
    Widgets::TOrientation Orientation() const { return m_orientation; }
    void setOrientation(Widgets::TOrientation orientation);
    QColor ColorUp() const { return m_colorUp; }
    void setColorUp(const QColor &colour);
    QColor ColorDown() const { return m_colorDown; }
    void setColorDown(const QColor &colour);
    // the face colour; the frame's ColBgnd under another name
    QColor ColorButton() const { return ColBgnd(); }
    void setColorButton(const QColor &colour) { setColBgnd(colour); }
    bool ShapeOn() const { return m_shapeOn; }
    void setShapeOn(bool on);
    bool ShapeBlink() const { return m_shapeBlink; }
    void setShapeBlink(bool on);
    int RepSpeed() const { return m_repSpeed; }
    void setRepSpeed(int ms) { m_repSpeed = ms; }
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index) { m_groupIndex = index; }

    // the size the control takes when asked for the given one
    static QSize SquareSize(const QSize &requested);
    // the shape's outline inside the inner rectangle, pressed look included
    static QPolygonF ShapePolygon(const QRect &inner, Widgets::TArrowShape shape,
                                  Widgets::TOrientation orientation, bool down);
    bool shapeVisible() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return SquareSize(QSize(width, width)).height(); }

signals:
    void OnDown();
    void OnUp();
    void onClick();

protected:
    void drawDynamic(QPainter &painter, const QRect &inner) override;
    bool isPressedLook() const override { return m_down; }
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    Widgets::TButtonStyle pushStyle() const;
    void press();
    void release(bool click);
    void repeat();
    void updateBlink();

    Widgets::TButtonMode m_mode = Widgets::TButtonMode::tbmPush;
    bool m_down = false;
    Widgets::TArrowShape m_shape = Widgets::TArrowShape::taArrow;
    Widgets::TOrientation m_orientation = Widgets::TOrientation::orTop;
    QColor m_colorUp = Qt::green;
    QColor m_colorDown = Qt::red;
    bool m_shapeOn = true;
    bool m_shapeBlink = false;
    int m_repSpeed = 0;
    int m_groupIndex = 0;
    BlinkClient m_blink;
    SoftTimer m_repeat;
    Widgets::PushGesture m_push;
};
