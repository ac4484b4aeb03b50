#pragma once

#include "widgets/TRahmen.h"

#include <QPixmap>

// A two-position switch: a slider knob covers one half of the track, the other half
// shows the text of the current position on its colour.
class TSlideButton : public TRahmen
{
    Q_OBJECT
    Q_PROPERTY(Widgets::TSwitchPos Position READ Position WRITE setPosition)
    Q_PROPERTY(QString TextPos1 READ TextPos1 WRITE setTextPos1)
    Q_PROPERTY(QString TextPos2 READ TextPos2 WRITE setTextPos2)
    Q_PROPERTY(QColor ColorPos1 READ ColorPos1 WRITE setColorPos1)
    Q_PROPERTY(QColor ColorPos2 READ ColorPos2 WRITE setColorPos2)
    Q_PROPERTY(QColor ColTextPos1 READ ColTextPos1 WRITE setColTextPos1)
    Q_PROPERTY(QColor ColTextPos2 READ ColTextPos2 WRITE setColTextPos2)
    Q_PROPERTY(QColor ColButton READ ColButton WRITE setColButton)
    Q_PROPERTY(QPixmap BmpPos1 READ BmpPos1 WRITE setBmpPos1)
    Q_PROPERTY(QPixmap BmpPos2 READ BmpPos2 WRITE setBmpPos2)
    Q_PROPERTY(bool BmpEnable READ BmpEnable WRITE setBmpEnable)

public:
    static constexpr int kMaxTextLength = 32;

    struct Geometry {
        QRect knob;
        QRect text;
    };

    explicit TSlideButton(QWidget *parent = nullptr);

    // position value 0 (swPos2) shows TextPos1, value 1 (swPos1) TextPos2
    Widgets::TSwitchPos Position() const { return m_position; }
    // from program code: repaints, raises no KeyChange
    void setPosition(Widgets::TSwitchPos position);
    void toggle();                  // as the user does it: raises KeyChange
    QString TextPos1() const { return m_text1; }
    void setTextPos1(const QString &text);
    QString TextPos2() const { return m_text2; }
    void setTextPos2(const QString &text);
    QColor ColorPos1() const { return m_color1; }
    void setColorPos1(const QColor &colour);
    QColor ColorPos2() const { return m_color2; }
    void setColorPos2(const QColor &colour);
    QColor ColTextPos1() const { return m_colText1; }
    void setColTextPos1(const QColor &colour);
    QColor ColTextPos2() const { return m_colText2; }
    void setColTextPos2(const QColor &colour);
    // an invalid colour (the default) follows the palette's button face
    QColor ColButton() const;
    void setColButton(const QColor &colour);
    QPixmap BmpPos1() const { return m_bmp1; }
    void setBmpPos1(const QPixmap &pixmap);
    QPixmap BmpPos2() const { return m_bmp2; }
    void setBmpPos2(const QPixmap &pixmap);
    bool BmpEnable() const { return m_bmpEnable; }
    void setBmpEnable(bool on);

    QString shownText() const;
    // vertical switch when the inner rectangle is taller than wide, else horizontal
    static Geometry GeometryFor(const QRect &inner, Widgets::TSwitchPos position);
    Geometry slideGeometry() const { return GeometryFor(InnerRect(), m_position); }

    QSize sizeHint() const override;

signals:
    void KeyChange();

protected:
    void drawContent(QPainter &painter, const QRect &inner) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Widgets::TSwitchPos m_position = Widgets::TSwitchPos::swPos2;
    QString m_text1 = QStringLiteral("ON");
    QString m_text2 = QStringLiteral("OFF");
    QColor m_color1 = Qt::red;
    QColor m_color2 = Qt::blue;
    QColor m_colText1 = Qt::green;
    QColor m_colText2 = Qt::yellow;
    QColor m_colButton;
    QPixmap m_bmp1;
    QPixmap m_bmp2;
    bool m_bmpEnable = false;
};
