#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class QTableWidget;

// The climate sensors of the instrument's sensor bus: one column per address, humidity in
// row 1, temperature in row 2. A top-level window of its own, shown and hidden by the device
// view's view switch; F7 inside it steps that switch on.
class TFormSens : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSensors = 16;
    static constexpr int kHumidityRow = 1;
    static constexpr int kTemperatureRow = 2;

    TFormSens();

    // captions, titles and the hint from the current texts; called again after a language switch
    void ApplyLanguageTexts();
    // the cell of one sensor: humidity sensors 0..15 in row 1, temperature sensors 0..15 in row 2
    void ShowSensor(bool humidity, int sensor, const QString &text);
    QString cellText(int column, int row) const;

    // hiding the window ends a running read of stored records at its next reply
    void setOnHidden(std::function<void()> onHidden) { m_onHidden = std::move(onHidden); }

    QTableWidget *sg1 = nullptr;
    QWidget *panBottom = nullptr;
    QPushButton *btnClose = nullptr;

signals:
    // F7 pressed in this window
    void cycleViews();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setTitle(int column, int row, const QString &text);
    void fitColumns();

    std::function<void()> m_onHidden;
    bool m_placed = false;
};
