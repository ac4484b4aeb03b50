#include "app/PageControls.h"

#include "app/TextBindings.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"
#include "widgets/WidgetAccessibility.h"

#include <QSignalBlocker>

namespace PageControls {

QLabel *panel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(80);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    label->setAutoFillBackground(true);
    return label;
}

TTextSpin *textSpin(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId firstItem,
                    Lang::TextId hint, bool limiter)
{
    auto *spin = named(new TTextSpin(parent), name);
    texts.items(spin, firstItem);
    texts.hint(spin, hint);
    spin->setLimiter(limiter);
    spin->setMinimumSize(150, 30);
    return spin;
}

TInterSpinEdit *spinEdit(QWidget *parent, const char *name, bool duration)
{
    auto *ise = named(new TInterSpinEdit(parent), name);
    ise->setDurationTyp(duration);
    return ise;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *picker = named(new QDateEdit(parent), name);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    picker->setCalendarPopup(true);
    picker->setAutoFillBackground(true);
    return picker;
}

QGroupBox *group(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId caption)
{
    auto *box = named(new QGroupBox(parent), name);
    texts.caption(box, caption);
    new QGridLayout(box);
    return box;
}

QLabel *caption(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId id, QWidget *buddy)
{
    auto *label = named(new QLabel(parent), name);
    texts.caption(label, id);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

void setControlColour(QWidget *control, const QColor &colour)
{
    if (!control)
        return;
    if (auto *spin = qobject_cast<TTextSpin *>(control)) {
        spin->setColTxtBack(colour);
        return;
    }
    if (auto *ise = qobject_cast<TInterSpinEdit *>(control)) {
        ise->setColor(colour);
        return;
    }
    QPalette pal = control->palette();
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::Window, colour);
    control->setPalette(pal);
    control->setAutoFillBackground(true);
}

void setQuietly(TInterSpinEdit *edit, double days)
{
    const QString before = edit->text();
    {
        const QSignalBlocker quiet(edit);
        edit->setValue(days);
    }
    if (edit->text() != before)
        Widgets::announceValue(edit, edit->Value());
}

void setQuietly(TInterSpinEdit *edit, const QString &text)
{
    const QString before = edit->text();
    {
        const QSignalBlocker quiet(edit);
        edit->setStringValue(text);
    }
    if (edit->text() != before)
        Widgets::announceValue(edit, edit->Value());
}

void setQuietly(QDateEdit *picker, QDate date)
{
    const QSignalBlocker quiet(picker);
    picker->setDate(date);
}

} // namespace PageControls
