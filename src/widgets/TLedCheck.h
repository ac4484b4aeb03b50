#pragma once

#include "widgets/BlinkClient.h"
#include "widgets/SoftTimer.h"
#include "widgets/TRahmen.h"

// An LED with an optional caption beside it. Blinking LEDs follow the program-wide
// blink phase, so all of them are lit at the same time; a flashing LED goes dark
// again by itself, which suits activity indicators.
class TLedCheck : public TRahmen
{
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE setChecked)
    Q_PROPERTY(QColor LedCol READ LedCol WRITE setLedCol)
    Q_PROPERTY(Widgets::TLedShape LedShape READ LedShape WRITE setLedShape)
    Q_PROPERTY(int LedSize READ LedSize WRITE setLedSize)
    Q_PROPERTY(Widgets::TBevelCut LedBevel READ LedBevel WRITE setLedBevel)
    Q_PROPERTY(bool LedBlink READ LedBlink WRITE setLedBlink)
    Q_PROPERTY(bool LedFlash READ LedFlash WRITE setLedFlash)
    Q_PROPERTY(int LedFlashTime READ LedFlashTime WRITE setLedFlashTime)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Caption1 READ Caption1 WRITE setCaption1)
    Q_PROPERTY(QColor CaptionCol READ CaptionCol WRITE setCaptionCol)
    Q_PROPERTY(QColor CaptionCol1 READ CaptionCol1 WRITE setCaptionCol1)
    Q_PROPERTY(Widgets::TOrientation CaptPos READ CaptPos WRITE setCaptPos)
    Q_PROPERTY(bool CaptFrame READ CaptFrame WRITE setCaptFrame)
    Q_PROPERTY(QColor CaptFrmCol READ CaptFrmCol WRITE setCaptFrmCol)
    Q_PROPERTY(bool CaptAutoFrm READ CaptAutoFrm WRITE setCaptAutoFrm)
    Q_PROPERTY(Widgets::TCheckMode CheckMode READ CheckMode WRITE setCheckMode)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)

public:
    struct Geometry {
        QRect led;
        QRect caption;
    };

    explicit TLedCheck(QWidget *parent = nullptr);

    bool Checked() const { return m_checked; }
    // from program code; with LedFlash on, lighting starts the flash time again
    void setChecked(bool on);
    // a whole click as the user makes it: what the check mode does, then onClick
    void click();
    QColor LedCol() const { return m_ledCol; }
    void setLedCol(const QColor &colour);
    Widgets::TLedShape LedShape() const { return m_ledShape; }
    void setLedShape(Widgets::TLedShape shape);
    int LedSize() const { return m_ledSize; }
    void setLedSize(int pixels);
    Widgets::TBevelCut LedBevel() const { return m_ledBevel; }
    void setLedBevel(Widgets::TBevelCut cut);
    bool LedBlink() const { return m_ledBlink; }
    void setLedBlink(bool on);
    bool LedFlash() const { return m_ledFlash; }
    void setLedFlash(bool on);
    int LedFlashTime() const { return m_ledFlashTime; }
    void setLedFlashTime(int ms) { m_ledFlashTime = ms; }
    QString Caption() const { return m_caption; }
    void setCaption(const QString &text);
    QString Caption1() const { return m_caption1; }
    void setCaption1(const QString &text);
    QColor CaptionCol() const { return m_captionCol; }
    void setCaptionCol(const QColor &colour);
    QColor CaptionCol1() const { return m_captionCol1; }
    void setCaptionCol1(const QColor &colour);
    Widgets::TOrientation CaptPos() const { return m_captPos; }
    void setCaptPos(Widgets::TOrientation side);
    bool CaptFrame() const { return m_captFrame; }
    void setCaptFrame(bool on);
    QColor CaptFrmCol() const { return m_captFrmCol; }
    void setCaptFrmCol(const QColor &colour);
    bool CaptAutoFrm() const { return m_captAutoFrm; }
    void setCaptAutoFrm(bool on);
    Widgets::TCheckMode CheckMode() const { return m_checkMode; }
    void setCheckMode(Widgets::TCheckMode mode);
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index) { m_groupIndex = index; }

    // lit right now: checked, and with LedBlink in the bright half of the blink phase
    bool isLit() const;
    QString shownCaption() const;

    static Geometry GeometryFor(const QRect &inner, int ledSize, Widgets::TOrientation captPos,
                                bool hasCaption);
    Geometry ledGeometry() const;
    // the lamp itself, shared with the meters' LEDs
    static void DrawLed(QPainter &painter, const QRectF &r, const QColor &colour, bool lit,
                        Widgets::TLedShape shape, Widgets::TBevelCut bevel, const QPalette &palette);

    QSize sizeHint() const override;

signals:
    void onClick();
    void OnDown();
    void OnUp();

protected:
    void drawContent(QPainter &painter, const QRect &inner) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void updateBlink();
    void userToggle();

    bool m_checked = false;
    QColor m_ledCol = Qt::red;
    Widgets::TLedShape m_ledShape = Widgets::TLedShape::ledCircle;
    int m_ledSize = 8;
    Widgets::TBevelCut m_ledBevel = Widgets::TBevelCut::bvRaised;
    bool m_ledBlink = false;
    bool m_ledFlash = false;
    int m_ledFlashTime = 300;
    QString m_caption;
    QString m_caption1;
    QColor m_captionCol = Qt::black;
    QColor m_captionCol1 = Qt::black;
    Widgets::TOrientation m_captPos = Widgets::TOrientation::orRight;
    bool m_captFrame = false;
    QColor m_captFrmCol = Qt::black;
    bool m_captAutoFrm = false;
    Widgets::TCheckMode m_checkMode = Widgets::TCheckMode::lcNone;
    int m_groupIndex = 0;
    bool m_pressing = false;
    bool m_drawnLit = false;
    BlinkClient m_blink;
    SoftTimer m_flash;
};
