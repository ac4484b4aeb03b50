#pragma once

#include <QtGlobal>

#include <functional>

class WidgetTimerService;

// A software timer of the widget timer service: fires in the UI thread every
// ticksFor(interval) service ticks while active.
class SoftTimer
{
public:
    explicit SoftTimer(std::function<void()> onTimer);
    ~SoftTimer();
    SoftTimer(const SoftTimer &) = delete;
    SoftTimer &operator=(const SoftTimer &) = delete;

    // an interval of 0 or less does nothing; a running timer restarts
    void start(int intervalMs);
    // a running timer keeps running with the new period, counted from now
    void setInterval(int intervalMs);
    void stop();

    bool isActive() const { return m_active; }
    int intervalTicks() const { return m_ticks; }

private:
    friend class WidgetTimerService;

    std::function<void()> m_onTimer;
    quint64 m_serial = 0;
    int m_ticks = 1;
    int m_countdown = 1;
    bool m_active = false;
};
