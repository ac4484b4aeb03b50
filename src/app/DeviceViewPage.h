#pragma once

#include "measure/CurrentValues.h"

#include <QFrame>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QSplitter;
class TFormSens;
class ConfigurationPage;
class TLedCheck;
class TMeter120;
class TMeterPanelH;
class TOvalButton;
class TSlideButton;

namespace Link {
class ProtocolEngine;
}
namespace Model {
struct DeviceState;
struct StatusTables;
}

// The texts of the analogue input's edits on the memory configuration page.
struct AnalogInputTexts
{
    QString name, unit;
    QString valueAtZero, valueAtTen;                  // calibration: value at 0 V and at +10 V
    QString scaleZero, scaleEnd, scaleParts;          // the panel meter's own scale
    QString valueScaleZero, valueScaleEnd;            // the values at the scale's begin and end
};

// The page TabInfo: the instrument's front with the round meter, the analogue panel meter,
// the display window, the keys with their function keys F7 to F12, and the live-update switch.
// It shows the live values (TAM replies) and drives the sensor window through the view switch.
class DeviceViewPage : public QFrame, public Measure::CurrentValuesSink
{
    Q_OBJECT
public:
    struct Links
    {
        Link::ProtocolEngine &engine;
        const Model::StatusTables &tables;
        const Model::DeviceState &state;
        ConfigurationPage &configuration;   // the polarity and range it steps
        TFormSens *sensors;
        std::function<AnalogInputTexts()> analogInput;
        std::function<QChar()> decimalSeparator;
        std::function<int()> language; // 1 English, else German: picks the alarm texts to fit
    };

    static constexpr int kAnalogHeight = 85;     // the analogue panel when shown
    static constexpr int kMaxAnalogHeight = 4096;
    static constexpr int kMinBarHeight = 40;
    // the round meter stays readable above its bar however the splitter or the window is moved
    static constexpr int kMinMeterHeight = kMinBarHeight + 100;
    static constexpr int kMaxBarHeight = 64;
    static constexpr int kLogoSide = 32;
    static constexpr int kRightColumnWidth = 211;

    explicit DeviceViewPage(Links links, QWidget *parent = nullptr);

    // captions and hints from the current texts; called again after a language switch
    void ApplyLanguageTexts();

    // F7 to F12 while the page is shown; false for any other key
    bool FunctionKey(int key);
    void CycleDeviceViews();
    void btnInfoKeyChange();
    void btnPolClick();
    void btnRaMinClick();
    void btnRaMaxClick();
    void btnNullClick();
    // The analogue scale from the memory configuration page. A scale edit that holds no number
    // is reported and leaves the scale as it was.
    void TabInfoShow();

    void ShowCurrentValues(const Measure::CurrentValues &values) override;
    // both meters to 0 while the live update is off
    void ZeroMeters();

    int ViewState() const { return m_viewState; }
    bool liveUpdateOn() const;
    // the analogue panel's height as the splitter lays it out
    void setAnalogHeight(int height);
    int analogHeight() const;
    float ValueScaleZero() const { return m_valueScaleZero; }
    float ValueScaleEnd() const { return m_valueScaleEnd; }
    // the panel meter's value for a scaled physical value; its start when the value scale is empty
    static double PanelMeterValue(double value, double meterStart, double meterEnd, double valueScaleZero,
                                  double valueScaleEnd);
    // bar height for a given height of panAnzeige
    static int BarHeight(int panAnzeigeHeight);
    // the page's own 32 x 32 logo
    static QPixmap Logo(qreal pixelRatio = 1.0);

    // the controls, named as the window definition names them
    QWidget *panAnzeigeBack = nullptr, *panAnzeige = nullptr, *panAnzBar = nullptr, *panAnzBarIn = nullptr,
            *panAnalog = nullptr, *panRight = nullptr, *Panel9 = nullptr;
    QSplitter *Splitter1 = nullptr;
    TMeter120 *anzeige = nullptr;
    TMeterPanelH *mpAna = nullptr;
    QLabel *imgLogo = nullptr, *lblIScale = nullptr, *Label38 = nullptr, *lblAnaName = nullptr, *lblPol = nullptr,
           *lblRange = nullptr, *lblAlarm = nullptr;
    QLabel *lblPolKey = nullptr, *lblRaMinKey = nullptr, *lblRaMaxKey = nullptr, *lblNullKey = nullptr;
    QLabel *lblF7 = nullptr, *lblF8 = nullptr, *lblF9 = nullptr, *lblF10 = nullptr, *lblF11 = nullptr,
           *lblF12 = nullptr;
    TOvalButton *btnShowandHide = nullptr, *btnPol = nullptr, *btnRaMin = nullptr, *btnRaMax = nullptr,
                *btnNull = nullptr;
    TLedCheck *ledAlarm = nullptr, *ledMain = nullptr;
    TSlideButton *btnInfo = nullptr;
    QPushButton *btnTrend = nullptr;

signals:
    // the live update switch moved: Timer1 polls while it is on
    void liveUpdateChanged(bool on);
    // the analogue panel's height, to be kept for the next start
    void analogHeightChanged(int height);
    // the trend window's key
    void trendRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildCentre();
    void buildRightColumn();
    void fitAlarmFont();
    void panAnzeigeResize();
    void panAnalogResize();
    void placeBarLabels();
    void applyAnalogHeight();
    void rememberAnalogHeight(int height);
    void setSensorWindowVisible(bool visible);
    void report(const QString &text);

    Links m_links;
    int m_viewState = 0;
    int m_analogHeight = kAnalogHeight;
    QString m_factorText;
    float m_valueScaleZero = 0.0f;
    float m_valueScaleEnd = 10.0f;
};
