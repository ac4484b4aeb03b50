#pragma once

#include "lang/Texts.h"

#include <QColor>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include "widgets/TInterSpinEdit.h"

#include <functional>

class QTabWidget;
class TextBindings;
class TTextSpin;

// What the window's pages build their controls from, and how they colour them.
namespace PageControls {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// tabs with less room around their captions, so that a long page name does not push the others
// behind scroll arrows
void compactTabs(QTabWidget *tabs);
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

// a value from the instrument, one from a file, a text that did not convert
extern const QColor kSilver;
extern const QColor kLightYellow;
extern const QColor kRed;

// the background of a value control; selectors and spin edits paint their own
void setControlColour(QWidget *control, const QColor &colour);
// a value the program writes is not the user's: its change handlers stay quiet, while
// assistive technology still hears the new value
void setQuietly(TInterSpinEdit *edit, double days);
void setQuietly(TInterSpinEdit *edit, const QString &text);
void setQuietly(QDateEdit *picker, QDate date);


// Controls that tell what the user does to them. "touched": any key, navigation keys and
// Return included (the colour of a value goes back to the window's). "entered"/"left": focus
// coming back from the calendar pop-up, a menu or another window is neither, so a change
// made meanwhile still counts when the control is left.

class KeyedLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void touched();
    void entered();
    void left();
    void clicked();
    void doubleClicked();
protected:
    bool event(QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

class KeyedSpinEdit : public TInterSpinEdit
{
    Q_OBJECT
public:
    using TInterSpinEdit::TInterSpinEdit;
signals:
    void touched();
    void entered();
    void left();
    void clicked();
    void doubleClicked();
protected:
    bool event(QEvent *event) override;
};

// a date picker; a click lands on its inner editor, so the picker watches that as well
class DateField : public QDateEdit
{
    Q_OBJECT
public:
    explicit DateField(QWidget *parent = nullptr);
signals:
    void touched();
    void entered();
    void left();
    void clicked();
    void doubleClicked();
protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// Number entry: "-", digits and the separator. A typed "." or "," becomes the program's
// separator; a refused character is reported, an accepted one clears the report, editing
// keys (Backspace, Delete, arrows, shortcuts) do neither. Pasted text with other characters
// is refused as well.
class NumberValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
    static bool isNumberChar(QChar c) { return c == u'-' || c.isDigit() || c == u'.' || c == u','; }
};

class NumberEdit : public KeyedLineEdit
{
    Q_OBJECT
public:
    NumberEdit(std::function<QChar()> separator, QWidget *parent = nullptr);
signals:
    void refused();
    void accepted();
protected:
    bool event(QEvent *event) override;
private:
    std::function<QChar()> m_separator;
    bool m_typing = false;
};

} // namespace PageControls
