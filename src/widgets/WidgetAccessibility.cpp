#include "widgets/WidgetAccessibility.h"

#include "widgets/InstrumentAccessible.h"
#include "widgets/MeterBase.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"
#include "widgets/TTextSpin.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

// Asked for each class name from the most derived upwards, so a subclass of one of
// these controls gets the interface of the nearest of them.
QAccessibleInterface *instrumentFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("TTextSpin"))
        return new TextSpinAccessible(static_cast<TTextSpin *>(widget));
    if (className == QLatin1String("TInterSpinEdit"))
        return new InterSpinEditAccessible(static_cast<TInterSpinEdit *>(widget));
    if (className == QLatin1String("MeterBase"))
        return new MeterAccessible(static_cast<MeterBase *>(widget));
    if (className == QLatin1String("TLedCheck"))
        return new LedAccessible(static_cast<TLedCheck *>(widget));
    if (className == QLatin1String("TSlideButton"))
        return new SlideAccessible(static_cast<TSlideButton *>(widget));
    if (className == QLatin1String("TArrowBtn"))
        return new ArrowButtonAccessible(static_cast<TArrowBtn *>(widget));
    if (className == QLatin1String("TBevel3D"))
        return new BevelAccessible(static_cast<TBevel3D *>(widget));
    if (className == QLatin1String("TOvalButton"))
        return new OvalButtonAccessible(static_cast<TOvalButton *>(widget));
    if (className == QLatin1String("TRahmen"))
        return new FrameAccessible(widget);
    return nullptr;
}

QString withoutMnemonic(QString text)
{
    // "&&" is a literal ampersand, a single "&" marks the mnemonic
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == u'&')
            text.remove(i, 1);
    return text.simplified();
}

// a label that names something: plain text on no frame (sunken value panels are QLabels too)
const QLabel *captionLabel(const QWidget *widget)
{
    const auto *label = qobject_cast<const QLabel *>(widget);
    if (!label || label->frameShape() != QFrame::NoFrame || label->text().trimmed().isEmpty())
        return nullptr;
    return label;
}

QWidget *widgetAt(QLayoutItem *item)
{
    return item ? item->widget() : nullptr;
}

// the layout directly holding the widget, and the widget's index in it
QLayout *holdingLayout(QLayout *layout, const QWidget *widget, int *index)
{
    if (!layout)
        return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget) {
            *index = i;
            return layout;
        }
        if (QLayout *found = holdingLayout(item->layout(), widget, index))
            return found;
    }
    return nullptr;
}

// the widget before (-1) or after (+1) this one in its layout row; for a grid, also the
// row's first cell (0)
QWidget *neighbour(const QWidget *widget, int where)
{
    QWidget *parent = widget->parentWidget();
    int index = -1;
    QLayout *layout = parent ? holdingLayout(parent->layout(), widget, &index) : nullptr;
    if (!layout)
        return nullptr;
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        if (where == 0)
            return column > 0 ? widgetAt(grid->itemAtPosition(row, 0)) : nullptr;
        const int other = where < 0 ? column - 1 : column + columnSpan;
        return other >= 0 && other < grid->columnCount() ? widgetAt(grid->itemAtPosition(row, other)) : nullptr;
    }
    if (qobject_cast<QBoxLayout *>(layout) && where != 0) {
        const int other = index + where;
        return other >= 0 && other < layout->count() ? widgetAt(layout->itemAt(other)) : nullptr;
    }
    return nullptr;
}

bool isInputControl(const QWidget *widget)
{
    if (!widget || qobject_cast<const QLabel *>(widget) || !(widget->focusPolicy() & Qt::TabFocus))
        return false;
    // a button with a text of its own says what it is
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return !button || button->text().isEmpty();
}

Widgets::AnnouncementListener g_listener = nullptr;

} // namespace

namespace Widgets {

void announce(QAccessibleEvent *event)
{
    if (g_listener)
        g_listener(event);
    QAccessible::updateAccessibility(event);
}

void setAnnouncementListener(AnnouncementListener listener)
{
    g_listener = listener;
}

void installAccessibility()
{
    // installing twice would be harmless but for the list lookup; once is enough
    static const bool installed = [] {
        QAccessible::installFactory(instrumentFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString accessibleLabel(const QWidget *widget)
{
    if (!widget)
        return {};
    if (const QWidget *parent = widget->parentWidget()) {
        const auto labels = parent->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
        for (const QLabel *label : labels)
            if (label->buddy() == widget && !label->text().isEmpty())
                return withoutMnemonic(label->text());
    }
    for (int where : {-1, 0})
        if (const QLabel *label = captionLabel(neighbour(widget, where)))
            return withoutMnemonic(label->text());
    for (const QWidget *p = widget->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (const auto *group = qobject_cast<const QGroupBox *>(p))
            if (!group->title().isEmpty())
                return withoutMnemonic(group->title());
    return {};
}

QString accessibleNameFor(const QWidget *widget, const QString &caption, bool captionFirst)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    const QString own = withoutMnemonic(caption);
    if (captionFirst && !own.isEmpty())
        return own;
    const QString label = accessibleLabel(widget);
    return label.isEmpty() ? own : label;
}

int linkLabels(QWidget *root)
{
    int linked = 0;
    const auto labels = root->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->buddy() || !captionLabel(label))
            continue;
        QWidget *next = neighbour(label, +1);
        if (!isInputControl(next) || next->parentWidget() != label->parentWidget())
            continue;
        label->setBuddy(next);
        ++linked;
    }
    return linked;
}

void announceValue(QWidget *widget, const QVariant &value)
{
    if (!widget)
        return;
    QAccessibleValueChangeEvent event(widget, value);
    announce(&event);
}

void announceText(QWidget *widget, const QString &before, const QString &after)
{
    if (!widget || before == after)
        return;
    QAccessibleTextUpdateEvent event(widget, 0, before, after);
    announce(&event);
}

void announcePressed(QWidget *widget)
{
    if (!widget)
        return;
    QAccessible::State changed;
    changed.checked = true;
    changed.pressed = true;
    QAccessibleStateChangeEvent event(widget, changed);
    announce(&event);
}

} // namespace Widgets
