#include "widgets/PushLogic.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace Widgets {

void PushGesture::click()
{
    m_pressing = true;
    m_press();
    m_pressing = false;
    m_release(true);
}

bool PushGesture::mousePress(const QMouseEvent &event, bool pressable)
{
    if (event.button() != Qt::LeftButton)
        return false;
    if (pressable) {
        m_pressing = true;
        m_press();
    }
    return true;
}

bool PushGesture::mouseRelease(const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton || !m_pressing)
        return false;
    m_pressing = false;
    m_release(m_button->rect().contains(event.position().toPoint()));
    return true;
}

bool PushGesture::keyPress(const QKeyEvent &event, bool pressable)
{
    if (event.key() != Qt::Key_Space || !pressable)
        return false;
    if (!event.isAutoRepeat()) {
        m_pressing = true;
        m_press();
    }
    return true;
}

bool PushGesture::keyRelease(const QKeyEvent &event, bool pressable)
{
    if (event.key() != Qt::Key_Space || !pressable)
        return false;
    if (!event.isAutoRepeat() && m_pressing) {
        m_pressing = false;
        m_release(true);
    }
    return true;
}

} // namespace Widgets
