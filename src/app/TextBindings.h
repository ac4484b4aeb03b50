#pragma once

#include "lang/Texts.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

class QTabWidget;
class TTextSpin;

// The numbered texts a window shows, each bound to the control that shows it, so that one
// pass re-applies them all after a language switch: menu captions, page captions, group box
// captions, the other captions, the selectors' item lists, then the hints.
class TextBindings
{
public:
    // a menu, a menu item, a group box, a label, a button or a check box; an instrument widget
    // with a "Caption" property; a window's title
    void caption(QObject *control, Lang::TextId id);
    void page(QTabWidget *pages, QWidget *page, Lang::TextId id);
    // the selector's whole list, one text per item from `first` on; it keeps its position
    void items(TTextSpin *spin, Lang::TextId first);
    // the tooltip, which assistive technology reads as the description
    void hint(QWidget *control, Lang::TextId id);
    // the same at once, for windows that apply their own texts
    static void showHint(QWidget *control, Lang::TextId id);
    static void showHints(std::initializer_list<std::pair<QWidget *, Lang::TextId>> hints);

    void apply() const;
    int count() const;

private:
    enum Stage { Menu, Page, Group, Caption, Items, Hint, StageCount };
    struct Binding
    {
        QPointer<QObject> target;
        QPointer<QObject> owner;     // the tab widget of a page
        Lang::TextId id = 0;
    };
    void applyOne(Stage stage, const Binding &b) const;

    std::array<std::vector<Binding>, StageCount> m_bindings;
};
