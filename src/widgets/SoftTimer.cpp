#include "widgets/SoftTimer.h"

#include "widgets/WidgetTimerService.h"

#include <utility>

SoftTimer::SoftTimer(std::function<void()> onTimer)
    : m_onTimer(std::move(onTimer))
{
}

SoftTimer::~SoftTimer()
{
    stop();
}

void SoftTimer::start(int intervalMs)
{
    if (intervalMs <= 0)
        return;
    m_ticks = WidgetTimerService::ticksFor(intervalMs);
    m_countdown = m_ticks;
    m_active = true;
    WidgetTimerService::instance().addTimer(this);
}

void SoftTimer::setInterval(int intervalMs)
{
    m_ticks = WidgetTimerService::ticksFor(intervalMs);
    m_countdown = m_ticks;
}

void SoftTimer::stop()
{
    if (!m_active)
        return;
    m_active = false;
    if (WidgetTimerService *service = WidgetTimerService::existing())
        service->removeTimer(this);
}
