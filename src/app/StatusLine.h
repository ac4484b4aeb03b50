#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>

// The window's bottom line: port, "PC" and "QT" activity lamps and the message panel, each
// drawn in one of two states.
class StatusLine : public QWidget
{
    Q_OBJECT
public:
    enum Panel { PortPanel = 0, TransmitPanel = 1, ReceivePanel = 2, MessagePanel = 3 };

    struct StatusPanel
    {
        QRect rect;
        QString text;
        QColor back[2];
        QColor fore[2];
        int state = 0;
        int flashTime = 0;
        int countdown = 0;
        int width = 0;
    };

    explicit StatusLine(QWidget *parent = nullptr);

    void setTickLength(int ms) { m_tick = ms; }
    void setErrorBeep(bool on) { m_errorBeep = on; }
    bool errorBeep() const { return m_errorBeep; }

    void StatusMessage(const QString &text, bool error);
    void StatusClear();
    void StatusPortText(const QString &text, bool error);
    void StatusFlash(int indicator);
    void StatusTick();

    const StatusPanel &panel(int index) const { return m_panels[std::size_t(index)]; }
    QSize sizeHint() const override;

Q_SIGNALS:
    void beeped();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void layoutPanels();
    void setPanel(int index, const QString &text, int state);
    void announcePanel(int index);

    std::array<StatusPanel, 4> m_panels;
    int m_tick = 40;
    bool m_errorBeep = false;
};
