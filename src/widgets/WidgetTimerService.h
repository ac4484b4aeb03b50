#pragma once

#include <QObject>

#include <vector>

class SoftTimer;
class BlinkClient;

// One 55 ms system timer for all instrument widgets. Meters damp their pointers,
// selectors repeat and LEDs blink from it, so a page full of controls costs one
// wake-up per tick instead of one per control, and every blinking element of the
// program shares the same phase. It lives as long as the application object; the
// system timer only runs while a software timer is active or a blink client is
// registered.
class WidgetTimerService : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPeriodMs = 55;
    static constexpr double kTickMs = 55.5;
    static constexpr int kBlinkTicks = 7;

    static WidgetTimerService &instance();
    // null once the application object is gone
    static WidgetTimerService *existing();

    // a software timer holds its interval in ticks: max(1, round(interval / 55.5))
    static int ticksFor(int intervalMs);

    // One service tick: software timers first, then the blink slot of this tick.
    // Tests call it directly after switching the system timer off.
    void tick();

    bool blinkPhase() const { return m_blinkPhase; }
    quint64 tickCount() const { return m_tickCount; }
    int activeTimerCount() const { return int(m_timers.size()); }
    int blinkClientCount() const { return int(m_blinkClients.size()); }

    bool isSystemTimerRunning() const { return m_systemTimerId != 0; }
    void setSystemTimerEnabled(bool on);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    friend class SoftTimer;
    friend class BlinkClient;

    explicit WidgetTimerService(QObject *parent);
    ~WidgetTimerService() override;

    void addTimer(SoftTimer *timer);
    void removeTimer(SoftTimer *timer);
    int addBlinkClient(BlinkClient *client);
    void removeBlinkClient(BlinkClient *client);
    void updateSystemTimer();

    std::vector<SoftTimer *> m_timers;          // active timers only
    std::vector<BlinkClient *> m_blinkClients;
    quint64 m_nextSerial = 1;
    quint64 m_tickCount = 0;
    int m_nextSlot = 0;
    int m_systemTimerId = 0;
    bool m_systemTimerEnabled = true;
    bool m_blinkPhase = false;
};
