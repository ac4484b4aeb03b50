#pragma once

#include "lang/Texts.h"

#include <QColor>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

class TextBindings;
class TInterSpinEdit;
class TTextSpin;

// What the window's pages build their controls from, and how they colour them.
namespace PageControls {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// a sunken label showing an instrument value
QLabel *panel(QWidget *parent, const char *name);
TTextSpin *textSpin(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId firstItem,
                    Lang::TextId hint, bool limiter = false);
TInterSpinEdit *spinEdit(QWidget *parent, const char *name, bool duration = false);
QDateEdit *datePicker(QWidget *parent, const char *name);
QGroupBox *group(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId caption);
inline QGridLayout *grid(QGroupBox *box) { return static_cast<QGridLayout *>(box->layout()); }
// a caption label; the control it names takes it as its name for assistive technology
QLabel *caption(TextBindings &texts, QWidget *parent, const char *name, Lang::TextId id, QWidget *buddy = nullptr);

// the background of a value control; selectors and spin edits paint their own
void setControlColour(QWidget *control, const QColor &colour);
// a value the program writes is not the user's: its change handlers stay quiet, while
// assistive technology still hears the new value
void setQuietly(TInterSpinEdit *edit, double days);
void setQuietly(TInterSpinEdit *edit, const QString &text);
void setQuietly(QDateEdit *picker, QDate date);

} // namespace PageControls
