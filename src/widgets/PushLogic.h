#pragma once

#include "widgets/WidgetTypes.h"

#include <QWidget>

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

} // namespace Widgets
