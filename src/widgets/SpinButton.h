#pragma once

#include <QTimer>
#include <QWidget>

// The up/down button at the right of a spin edit. Each half steps once when pressed
// and repeats while held: first after 400 ms, then every 100 ms.
class SpinButton : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWidth = 15;
    static constexpr int kFirstRepeatMs = 400;
    static constexpr int kRepeatMs = 100;

    enum class Half { None, Up, Down };

    explicit SpinButton(QWidget *parent = nullptr);

    QRect upRect() const;
    QRect downRect() const;
    Half heldHalf() const { return m_held; }
    bool isRepeating() const { return m_repeat.isActive(); }

    QSize sizeHint() const override { return QSize(kWidth, 17); }

signals:
    void upStep();
    void downStep();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void step();

    Half m_held = Half::None;
    QTimer m_repeat;
};
