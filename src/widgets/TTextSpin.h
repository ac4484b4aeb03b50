#pragma once

#include "widgets/SoftTimer.h"
#include "widgets/TRahmen.h"
#include "widgets/TextSpinItem.h"

#include <QStringList>

#include <functional>

#include <vector>

// A selector for multiple-choice settings: a text field with the caption of the
// current item and two arrow boxes at its right end. Each item is a line
// "caption|colour|value"; the program reads the current item's colour, number or
// value through PosColor, PosInteger and PosFloat.
class TTextSpin : public TRahmen
{
    Q_OBJECT
    Q_PROPERTY(QStringList PosText READ PosText WRITE setPosText)
    Q_PROPERTY(int Position READ Position WRITE setPosition)
    Q_PROPERTY(QString PosString READ PosString WRITE setPosString)
    Q_PROPERTY(QColor PosColor READ PosColor WRITE setPosColor)
    Q_PROPERTY(int PosInteger READ PosInteger WRITE setPosInteger)
    Q_PROPERTY(double PosFloat READ PosFloat WRITE setPosFloat)
    Q_PROPERTY(bool Limiter READ Limiter WRITE setLimiter)
    Q_PROPERTY(int LimitUp READ LimitUp WRITE setLimitUp)
    Q_PROPERTY(int LimitDown READ LimitDown WRITE setLimitDown)
    Q_PROPERTY(bool SolidArrow READ SolidArrow WRITE setSolidArrow)
    Q_PROPERTY(Widgets::TTextAdjust TextAdjust READ TextAdjust WRITE setTextAdjust)
    Q_PROPERTY(QColor ColTxtBack READ ColTxtBack WRITE setColTxtBack)
    Q_PROPERTY(QColor ColDisabled READ ColDisabled WRITE setColDisabled)
    Q_PROPERTY(int RepSpeed READ RepSpeed WRITE setRepSpeed)

public:
    enum class Arrow { None, Up, Down };

    struct Geometry {
        QRect field;     // the text field, sunken frame included
        QRect upBox;
        QRect downBox;
        int margin = 0;
    };

    explicit TTextSpin(QWidget *parent = nullptr);

    QStringList PosText() const { return m_lines; }
    void setPosText(const QStringList &lines);   // keeps the position index
    int count() const { return int(m_items.size()); }

    int Position() const { return m_position; }
    // wraps (or, with Limiter, stops) at the ends, then LimitDown ... LimitUp; no event
    void setPosition(int position);
    // the setters below select the first matching item and leave the position when none
    // matches; no event
    QString PosString() const;
    void setPosString(const QString &caption);
    QColor PosColor() const;
    void setPosColor(const QColor &colour);
    int PosInteger() const;
    void setPosInteger(int value);
    double PosFloat() const;
    void setPosFloat(double value);

    bool Limiter() const { return m_limiter; }
    void setLimiter(bool on) { m_limiter = on; }
    int LimitUp() const { return m_limitUp; }
    void setLimitUp(int limit);
    int LimitDown() const { return m_limitDown; }
    void setLimitDown(int limit);
    bool SolidArrow() const { return m_solidArrow; }
    void setSolidArrow(bool on);
    Widgets::TTextAdjust TextAdjust() const { return m_textAdjust; }
    void setTextAdjust(Widgets::TTextAdjust adjust);
    QColor ColTxtBack() const { return m_colTxtBack; }
    void setColTxtBack(const QColor &colour);
    QColor ColDisabled() const { return m_colDisabled; }
    void setColDisabled(const QColor &colour);
    int RepSpeed() const { return m_repSpeed; }
    void setRepSpeed(int ms) { m_repSpeed = ms; }

    const Widgets::TextSpinItem *item(int index) const;
    // one step as the user makes it; true when it counts as done (it may land on the same item)
    bool Step(Arrow arrow);
    // a whole click on an arrow, for keyboardless users and scripts: the step, then
    // onChanging and onChanged when it counts; a disabled control does nothing
    bool UserStep(Arrow arrow);
    // the user picks an item directly (assistive technology): as one held step, onChanging
    // and onChanged when the position is valid
    bool UserSelect(int position);
    Arrow heldArrow() const { return m_held; }

    static Geometry GeometryFor(const QRect &inner);
    Geometry spinGeometry() const { return GeometryFor(InnerRect()); }
    static QPolygon ArrowPolygon(const QRect &box, bool up);
    // top-left corner of the caption's text cell
    static QPoint CaptionOrigin(const QRect &field, int textWidth, int fontPixelHeight,
                                Widgets::TTextAdjust adjust);
    // the font the caption is drawn with (FontAutom applied)
    QFont captionFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void onChanging();   // every step the user makes
    void onChanged();    // once when the mouse or key is released after at least one step
    void positionMoved(int position);    // every change of Position, the program's as well

protected:
    void drawContent(QPainter &painter, const QRect &inner) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void positionChanged(const QString &captionBefore);
    int boundPosition(int position) const;
    void selectFirst(const std::function<bool(const Widgets::TextSpinItem &)> &match);
    void repeatStep();
    void drawArrowBox(QPainter &painter, const QRect &box, bool up, bool pressed) const;

    QStringList m_lines;
    std::vector<Widgets::TextSpinItem> m_items;
    int m_position = 0;
    bool m_limiter = false;
    int m_limitUp = 1000;
    int m_limitDown = -1;
    bool m_solidArrow = false;
    Widgets::TTextAdjust m_textAdjust = Widgets::TTextAdjust::ttCenter;
    QColor m_colTxtBack = Qt::black;
    QColor m_colDisabled = QColor(128, 128, 128);
    int m_repSpeed = 0;

    Arrow m_held = Arrow::None;
    bool m_changed = false;
    SoftTimer m_repeat;
    mutable QFont m_autoFont;
    mutable QFont m_autoFontBase;
    mutable int m_autoFontHeight = -1;
};
