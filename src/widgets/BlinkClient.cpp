#include "widgets/BlinkClient.h"

#include "widgets/WidgetTimerService.h"

#include <utility>

BlinkClient::BlinkClient(std::function<void(bool)> onBlink)
    : m_onBlink(std::move(onBlink))
{
}

BlinkClient::~BlinkClient()
{
    setActive(false);
}

void BlinkClient::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    if (on) {
        m_slot = WidgetTimerService::instance().addBlinkClient(this);
    } else if (WidgetTimerService *service = WidgetTimerService::existing()) {
        service->removeBlinkClient(this);
        m_slot = -1;
    }
}
