#pragma once

#include <QString>
#include <QVariant>

class QAccessibleEvent;
class QWidget;

// How the instrument widgets meet assistive technology: the interfaces a screen reader
// or a script on the accessibility bus queries, how a control finds its spoken name, and
// the change notices the controls send.
namespace Widgets {

// Installs the factory of the widgets' accessible interfaces once; every instrument widget
// calls it when it is made, so no program or test can forget it.
void installAccessibility();

// The name a control takes from its surroundings: a label whose buddy it is, the caption
// label beside it in its layout row (the cell to its left, else the row's first cell), or
// the title of the group box it sits in. Empty when there is none.
QString accessibleLabel(const QWidget *widget);

// The spoken name: the accessible name set on the control, else its own caption when that
// comes first (buttons and lamps say what they are), else its label, else the caption.
QString accessibleNameFor(const QWidget *widget, const QString &caption, bool captionFirst);

// Makes each caption label under root without a buddy the buddy of the input control to its
// right (or below it in a vertical box), so that Qt's own edits are named by their label too.
// Returns how many labels it linked.
int linkLabels(QWidget *root);

// Passes a notice on to assistive technology. Qt drops notices while no screen reader is
// active, as on every test machine, so a test listens here to hear what the controls say.
void announce(QAccessibleEvent *event);
using AnnouncementListener = void (*)(QAccessibleEvent *event);
void setAnnouncementListener(AnnouncementListener listener);

// Change notices. They may come from a constructor: by then the control's class is the
// one the factory is asked for, so the interface Qt keeps for it is the right one.
void announceValue(QWidget *widget, const QVariant &value);
void announceText(QWidget *widget, const QString &before, const QString &after);
// checked or pressed changed
void announcePressed(QWidget *widget);

} // namespace Widgets
