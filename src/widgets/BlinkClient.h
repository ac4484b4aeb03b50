#pragma once

#include <QtGlobal>

#include <functional>

// A blinking element's registration with the widget timer service. While active it
// is called once per blink cycle, in the tick slot it received on registering, with
// the program-wide blink phase. Elements register only while they actually blink,
// so a page without blinking costs no ticks.
class BlinkClient
{
public:
    explicit BlinkClient(std::function<void(bool phase)> onBlink);
    ~BlinkClient();
    BlinkClient(const BlinkClient &) = delete;
    BlinkClient &operator=(const BlinkClient &) = delete;

    void setActive(bool on);
    bool isActive() const { return m_active; }
    int slot() const { return m_slot; }

private:
    friend class WidgetTimerService;

    std::function<void(bool)> m_onBlink;
    quint64 m_serial = 0;
    int m_slot = -1;
    bool m_active = false;
};
