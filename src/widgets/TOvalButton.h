#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

// A round key drawn as an ellipse with a bevel, like the keys on an instrument's
// front. Only a press inside the ellipse counts.
class TOvalButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QPixmap Glyph READ Glyph WRITE setGlyph)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE setAllowAllUp)

public:
    explicit TOvalButton(QWidget *parent = nullptr);

    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    // an invalid colour (the default) follows the palette's button face
    QColor Color() const;
    void setColor(const QColor &colour);
    bool Down() const { return isDown() || isChecked(); }
    // from program code: a grouped button stays down, as a speed button does
    void setDown(bool down);
    bool Flat() const { return m_flat; }
    void setFlat(bool on);
    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    QPixmap Glyph() const { return m_glyph; }
    void setGlyph(const QPixmap &glyph);
    // a non-zero group index makes the key stay down until another of its group goes down
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool on) { m_allowAllUp = on; }

    // the ellipse of the key inside the control
    static QRectF OvalRect(const QRect &widgetRect);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseEnter();
    void OnMouseExit();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void nextCheckState() override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_bevelWidth = 2;
    QColor m_color;
    bool m_flat = false;
    bool m_hovered = false;
    QPixmap m_glyph;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
};
