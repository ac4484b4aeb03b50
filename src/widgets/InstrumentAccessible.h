#pragma once

#include <QAccessibleWidget>

class MeterBase;
class TArrowBtn;
class TBevel3D;
class TInterSpinEdit;
class TLedCheck;
class TOvalButton;
class TSlideButton;
class TTextSpin;

// The accessible interfaces of the instrument widgets. A screen reader learns from them
// what a control is (role), what it is called (name), what it shows (value, checked,
// pressed) and what it can do (actions); a script on the accessibility bus can work every
// control through them. Actions do what the user's click or key does, events included,
// and a disabled control offers none.

// Common ground: the name rules and the action plumbing.
class InstrumentAccessible : public QAccessibleWidget
{
public:
    InstrumentAccessible(QWidget *widget, QAccessible::Role role, bool captionFirst = false);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

protected:
    // what the control shows as its own caption, if any
    virtual QString caption() const { return {}; }
    // what a screen reader reads as the control's value
    virtual QString valueText() const { return {}; }
    // the control's own actions while it is enabled
    virtual QStringList ownActions() const { return {}; }
    virtual void runAction(const QString &) {}

private:
    bool m_captionFirst;
};

// a plain frame: a pane, named when it sits beside a label or in a group
class FrameAccessible : public InstrumentAccessible
{
public:
    explicit FrameAccessible(QWidget *widget);
};

class MeterAccessible : public InstrumentAccessible, public QAccessibleValueInterface
{
public:
    explicit MeterAccessible(MeterBase *meter);
    void *interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 0.0; }

protected:
    QString caption() const override;
    QString valueText() const override;

private:
    MeterBase *meter() const;
};

class LedAccessible : public InstrumentAccessible
{
public:
    explicit LedAccessible(TLedCheck *led);
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

protected:
    QString caption() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TLedCheck *led() const;
};

class SlideAccessible : public InstrumentAccessible
{
public:
    explicit SlideAccessible(TSlideButton *slide);
    QAccessible::State state() const override;

protected:
    QString valueText() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TSlideButton *slide() const;
};

class ArrowButtonAccessible : public InstrumentAccessible
{
public:
    explicit ArrowButtonAccessible(TArrowBtn *button);
    QAccessible::State state() const override;

protected:
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TArrowBtn *button() const;
};

class BevelAccessible : public InstrumentAccessible
{
public:
    explicit BevelAccessible(TBevel3D *bevel);
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

protected:
    QString caption() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TBevel3D *bevel() const;
};

class OvalButtonAccessible : public InstrumentAccessible
{
public:
    explicit OvalButtonAccessible(TOvalButton *button);
    QAccessible::State state() const override;

protected:
    QString caption() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TOvalButton *button() const;
};

// A read-only text interface over a caption the control paints itself, so that a screen
// reader can read it like the text of an edit box.
class CaptionTextInterface : public QAccessibleTextInterface
{
public:
    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return int(captionText().size()); }
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

protected:
    virtual QString captionText() const = 0;
    // where the caption starts on the screen, and the font it is drawn with
    virtual QPoint captionOrigin() const = 0;
    virtual QFont captionFont() const = 0;
};

// The selector: a spin box whose value is the item's position and whose text is the
// item's caption; stepping up and down is a click on an arrow.
class TextSpinAccessible : public InstrumentAccessible,
                           public QAccessibleValueInterface,
                           public CaptionTextInterface
{
public:
    explicit TextSpinAccessible(TTextSpin *spin);
    using InstrumentAccessible::text;
    using CaptionTextInterface::text;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

protected:
    QString valueText() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;
    QString captionText() const override;
    QPoint captionOrigin() const override;
    QFont captionFont() const override;

private:
    TTextSpin *spin() const;
};

// The spin edit: a spin box whose value is the time as a day fraction and whose text is
// the edit's text; it can be read, edited and stepped like the edit box it is.
class InterSpinEditAccessible : public InstrumentAccessible,
                                public QAccessibleValueInterface,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface
{
public:
    explicit InterSpinEditAccessible(TInterSpinEdit *edit);
    using InstrumentAccessible::text;
    void *interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;
    // the spin button is part of the control: its halves are the step actions
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text t, const QString &text) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    QString valueText() const override;
    QStringList ownActions() const override;
    void runAction(const QString &name) override;

private:
    TInterSpinEdit *edit() const;
    bool editable() const;
    void writeText(const QString &text);
};
