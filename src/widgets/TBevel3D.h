#pragma once

#include "widgets/BlinkClient.h"
#include "widgets/PushLogic.h"
#include "widgets/TRahmen.h"

// A framed push button with a caption on a coloured caption field.
class TBevel3D : public TRahmen
{
    Q_OBJECT
    Q_PROPERTY(Widgets::TButtonStyle ButtonStyle READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(bool Down READ Down WRITE setDown)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QString Caption1 READ Caption1 WRITE setCaption1)
    Q_PROPERTY(QColor ColCaption READ ColCaption WRITE setColCaption)
    Q_PROPERTY(QColor ColCaption1 READ ColCaption1 WRITE setColCaption1)
    Q_PROPERTY(QColor ColCaptBack READ ColCaptBack WRITE setColCaptBack)
    Q_PROPERTY(bool CaptEnable READ CaptEnable WRITE setCaptEnable)
    Q_PROPERTY(Widgets::TBevelCut CaptBevel READ CaptBevel WRITE setCaptBevel)
    Q_PROPERTY(bool CaptBlink READ CaptBlink WRITE setCaptBlink)
    Q_PROPERTY(Widgets::TTextAdjust TextAdjust READ TextAdjust WRITE setTextAdjust)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE setWordWrap)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(QColor ColBtnBord READ ColBtnBord WRITE setColBtnBord)
    Q_PROPERTY(bool Framed READ Framed WRITE setFramed)

public:
    explicit TBevel3D(QWidget *parent = nullptr);

    Widgets::TButtonStyle ButtonStyle() const { return m_style; }
    void setButtonStyle(Widgets::TButtonStyle style);
    bool Down() const { return m_down; }
    // from program code: no event; a grouped button going down releases the others
    void setDown(bool down);
    // a whole click as the user makes it (press and release): OnDown, OnUp, onClick as the
    // style gives them; nothing when the button cannot be pressed
    void click();
    QString Caption() const { return m_caption; }
    void setCaption(const QString &text);
    QString Caption1() const { return m_caption1; }
    void setCaption1(const QString &text);
    QColor ColCaption() const { return m_colCaption; }
    void setColCaption(const QColor &colour);
    QColor ColCaption1() const { return m_colCaption1; }
    void setColCaption1(const QColor &colour);
    QColor ColCaptBack() const { return m_colCaptBack; }
    void setColCaptBack(const QColor &colour);
    bool CaptEnable() const { return m_captEnable; }
    void setCaptEnable(bool on);
    Widgets::TBevelCut CaptBevel() const { return m_captBevel; }
    void setCaptBevel(Widgets::TBevelCut cut);
    bool CaptBlink() const { return m_captBlink; }
    void setCaptBlink(bool on);
    Widgets::TTextAdjust TextAdjust() const { return m_textAdjust; }
    void setTextAdjust(Widgets::TTextAdjust adjust);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index) { m_groupIndex = index; }
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool on) { m_allowAllUp = on; }
    QColor ColBtnBord() const { return m_colBtnBord; }
    void setColBtnBord(const QColor &colour);
    bool Framed() const { return m_framed; }
    void setFramed(bool on);

    // the caption field inside the inner rectangle
    QRect captionRect() const;
    // the caption shown now: Caption1 while down, when there is one
    QString shownCaption() const;
    bool captionVisible() const;

    QSize sizeHint() const override;

signals:
    void OnDown();
    void OnUp();
    void onClick();

protected:
    void drawContent(QPainter &painter, const QRect &inner) override;
    bool isPressedLook() const override { return m_down; }
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void press();
    void release(bool click);
    void updateBlink();

    Widgets::TButtonStyle m_style = Widgets::TButtonStyle::tsPush;
    bool m_down = false;
    QString m_caption;
    QString m_caption1;
    QColor m_colCaption = Qt::white;
    QColor m_colCaption1 = Qt::white;
    QColor m_colCaptBack = Qt::blue;
    bool m_captEnable = false;
    Widgets::TBevelCut m_captBevel = Widgets::TBevelCut::bvLowered;
    bool m_captBlink = false;
    Widgets::TTextAdjust m_textAdjust = Widgets::TTextAdjust::ttCenter;
    bool m_wordWrap = false;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    BlinkClient m_blink;
    Widgets::PushGesture m_push;
};
