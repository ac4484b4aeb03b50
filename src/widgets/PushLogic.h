#pragma once

#include "widgets/WidgetTypes.h"

#include <QWidget>

#include <functional>

class QKeyEvent;
class QMouseEvent;

namespace Widgets {

// what a press or release of a button does to its pressed state
enum class PushEdge { None, Down, Up };

// tsPush goes down on press and up on release; tsPushPull toggles on each press,
// except that a grouped button stays down unless AllowAllUp lets it go
inline PushEdge pushOnPress(TButtonStyle style, bool down, bool grouped, bool allowAllUp)
{
    switch (style) {
    case TButtonStyle::tsPush: return down ? PushEdge::None : PushEdge::Down;
    case TButtonStyle::tsPushPull:
        if (!down)
            return PushEdge::Down;
        return !grouped || allowAllUp ? PushEdge::Up : PushEdge::None;
    case TButtonStyle::tsNone: break;
    }
    return PushEdge::None;
}

inline PushEdge pushOnRelease(TButtonStyle style, bool down)
{
    return style == TButtonStyle::tsPush && down ? PushEdge::Up : PushEdge::None;
}

// Buttons of one parent with the same group index release each other, like the
// speed buttons of a tool bar.
template <class Button>
void releaseGroup(Button *pressed)
{
    if (pressed->GroupIndex() == 0 || !pressed->parentWidget())
        return;
    const auto siblings = pressed->parentWidget()->template findChildren<Button *>(Qt::FindDirectChildrenOnly);
    for (Button *other : siblings)
        if (other != pressed && other->GroupIndex() == pressed->GroupIndex())
            other->setDown(false);
}

// The left button and Space as a button takes them: a press presses, a release releases, and
// the release is a click unless the mouse has left the button. Each handler returns false for
// an event the button does not take, which its base class then gets.
class PushGesture
{
public:
    // `press` and `release(click)` are the button's own, private ones will do
    template <class Button>
    PushGesture(Button *button, void (Button::*press)(), void (Button::*release)(bool click))
        : m_button(button)
        , m_press([button, press] { (button->*press)(); })
        , m_release([button, release](bool click) { (button->*release)(click); })
    {
    }

    // between a press and its release
    bool pressing() const { return m_pressing; }
    // a press and a release at once, as one click
    void click();
    bool mousePress(const QMouseEvent &event, bool pressable);
    bool mouseRelease(const QMouseEvent &event);
    bool keyPress(const QKeyEvent &event, bool pressable);
    bool keyRelease(const QKeyEvent &event, bool pressable);

private:
    QWidget *m_button;
    std::function<void()> m_press;
    std::function<void(bool)> m_release;
    bool m_pressing = false;
};

} // namespace Widgets
