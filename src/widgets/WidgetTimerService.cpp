#include "widgets/WidgetTimerService.h"

#include "widgets/BlinkClient.h"
#include "widgets/SoftTimer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
QPointer<WidgetTimerService> s_instance;
}

WidgetTimerService &WidgetTimerService::instance()
{
    if (!s_instance)
        s_instance = new WidgetTimerService(QCoreApplication::instance());
    return *s_instance;
}

WidgetTimerService *WidgetTimerService::existing()
{
    return s_instance.data();
}

int WidgetTimerService::ticksFor(int intervalMs)
{
    return std::max(1, int(std::lround(intervalMs / kTickMs)));
}

WidgetTimerService::WidgetTimerService(QObject *parent)
    : QObject(parent)
{
}

WidgetTimerService::~WidgetTimerService()
{
    // handles that outlive the application must not call back into a dead service
    for (SoftTimer *timer : m_timers)
        timer->m_active = false;
    for (BlinkClient *client : m_blinkClients)
        client->m_active = false;
}

void WidgetTimerService::tick()
{
    // Callbacks may start, stop or destroy any timer or client, so work on a
    // snapshot and skip entries that left the service meanwhile. The serial tells a
    // still registered handle from a new one that took over a freed address.
    std::vector<std::pair<SoftTimer *, quint64>> due;
    due.reserve(m_timers.size());
    for (SoftTimer *timer : m_timers)
        due.emplace_back(timer, timer->m_serial);
    for (const auto &[timer, serial] : due) {
        if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end()
            || timer->m_serial != serial)
            continue;
        if (--timer->m_countdown > 0)
            continue;
        timer->m_countdown = timer->m_ticks;
        if (timer->m_onTimer)
            timer->m_onTimer();
    }

    const int slot = int(m_tickCount % kBlinkTicks);
    if (slot == 0)
        m_blinkPhase = !m_blinkPhase;
    ++m_tickCount;

    std::vector<std::pair<BlinkClient *, quint64>> blinkers;
    for (BlinkClient *client : m_blinkClients)
        if (client->m_slot == slot)
            blinkers.emplace_back(client, client->m_serial);
    for (const auto &[client, serial] : blinkers) {
        if (std::find(m_blinkClients.begin(), m_blinkClients.end(), client) == m_blinkClients.end()
            || client->m_serial != serial)
            continue;
        if (client->m_onBlink)
            client->m_onBlink(m_blinkPhase);
    }
}

void WidgetTimerService::setSystemTimerEnabled(bool on)
{
    m_systemTimerEnabled = on;
    updateSystemTimer();
}

void WidgetTimerService::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_systemTimerId)
        tick();
    else
        QObject::timerEvent(event);
}

void WidgetTimerService::addTimer(SoftTimer *timer)
{
    if (std::find(m_timers.begin(), m_timers.end(), timer) == m_timers.end())
        m_timers.push_back(timer);
    timer->m_serial = m_nextSerial++;
    updateSystemTimer();
}

void WidgetTimerService::removeTimer(SoftTimer *timer)
{
    std::erase(m_timers, timer);
    updateSystemTimer();
}

int WidgetTimerService::addBlinkClient(BlinkClient *client)
{
    if (std::find(m_blinkClients.begin(), m_blinkClients.end(), client) == m_blinkClients.end())
        m_blinkClients.push_back(client);
    client->m_serial = m_nextSerial++;
    // slots are handed out in turn so that the redraws spread over the cycle
    const int slot = m_nextSlot;
    m_nextSlot = (m_nextSlot + 1) % kBlinkTicks;
    updateSystemTimer();
    return slot;
}

void WidgetTimerService::removeBlinkClient(BlinkClient *client)
{
    std::erase(m_blinkClients, client);
    updateSystemTimer();
}

void WidgetTimerService::updateSystemTimer()
{
    const bool wanted = m_systemTimerEnabled && (!m_timers.empty() || !m_blinkClients.empty());
    if (wanted && m_systemTimerId == 0) {
        m_systemTimerId = startTimer(kPeriodMs);
        if (m_systemTimerId == 0)
            qWarning("WidgetTimerService: no more timers");
    } else if (!wanted && m_systemTimerId != 0) {
        killTimer(m_systemTimerId);
        m_systemTimerId = 0;
    }
}
