// The accessible interfaces of the selector and the spin edit.
#include "widgets/InstrumentAccessible.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

TextSpinAccessible::TextSpinAccessible(TTextSpin *spin)
    : InstrumentAccessible(spin, QAccessible::SpinBox)
{
}

TTextSpin *TextSpinAccessible::spin() const
{
    return static_cast<TTextSpin *>(widget());
}

void *TextSpinAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return InstrumentAccessible::interface_cast(t);
}

QString TextSpinAccessible::valueText() const
{
    return spin()->PosString();
}

QVariant TextSpinAccessible::currentValue() const
{
    return spin()->Position();
}

void TextSpinAccessible::setCurrentValue(const QVariant &value)
{
    bool ok = false;
    const int position = value.toInt(&ok);
    if (ok)
        spin()->UserSelect(position);
}

QVariant TextSpinAccessible::minimumValue() const
{
    return std::clamp(spin()->LimitDown(), 0, std::max(0, spin()->count() - 1));
}

QVariant TextSpinAccessible::maximumValue() const
{
    return std::clamp(spin()->LimitUp(), 0, std::max(0, spin()->count() - 1));
}

QStringList TextSpinAccessible::ownActions() const
{
    return spin()->count() > 0 ? QStringList{increaseAction(), decreaseAction()} : QStringList();
}

void TextSpinAccessible::runAction(const QString &name)
{
    spin()->UserStep(name == increaseAction() ? TTextSpin::Arrow::Up : TTextSpin::Arrow::Down);
}

QString TextSpinAccessible::captionText() const
{
    return spin()->PosString();
}

QFont TextSpinAccessible::captionFont() const
{
    return spin()->captionFont();
}

QPoint TextSpinAccessible::captionOrigin() const
{
    const QFont f = spin()->captionFont();
    const int pixelHeight = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
    const QPoint local = TTextSpin::CaptionOrigin(spin()->spinGeometry().field,
                                                  QFontMetrics(f).horizontalAdvance(captionText()), pixelHeight,
                                                  spin()->TextAdjust());
    return spin()->mapToGlobal(local);
}

// ---------------------------------------------------------------------------------------

namespace {

constexpr double kDayMinutes = 1440.0;

} // namespace

InterSpinEditAccessible::InterSpinEditAccessible(TInterSpinEdit *edit)
    : InstrumentAccessible(edit, QAccessible::SpinBox)
{
}

TInterSpinEdit *InterSpinEditAccessible::edit() const
{
    return static_cast<TInterSpinEdit *>(widget());
}

bool InterSpinEditAccessible::editable() const
{
    return edit()->isEnabled() && !edit()->isReadOnly() && edit()->EditorEnabled();
}

void *InterSpinEditAccessible::interface_cast(QAccessible::InterfaceType t)
{
    switch (t) {
    case QAccessible::ValueInterface: return static_cast<QAccessibleValueInterface *>(this);
    case QAccessible::TextInterface: return static_cast<QAccessibleTextInterface *>(this);
    case QAccessible::EditableTextInterface: return static_cast<QAccessibleEditableTextInterface *>(this);
    default: return InstrumentAccessible::interface_cast(t);
    }
}

QAccessible::State InterSpinEditAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    s.editable = true;
    s.selectableText = true;
    s.readOnly = !editable();
    return s;
}

QString InterSpinEditAccessible::valueText() const
{
    return edit()->text();
}

void InterSpinEditAccessible::writeText(const QString &text)
{
    // as if typed: the program hears OnChange, and leaving the control checks the text
    if (editable())
        edit()->setText(text);
}

void InterSpinEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value)
        writeText(text);
    else
        InstrumentAccessible::setText(t, text);
}

QVariant InterSpinEditAccessible::currentValue() const
{
    return edit()->Value();
}

void InterSpinEditAccessible::setCurrentValue(const QVariant &value)
{
    bool ok = false;
    const double days = value.toDouble(&ok);
    if (ok && editable())
        edit()->setValue(days);
}

QVariant InterSpinEditAccessible::minimumValue() const
{
    const TInterSpinEdit *e = edit();
    return e->MinValue() != e->MaxValue() ? std::min(e->MinValue(), e->MaxValue()) : 0.0;
}

QVariant InterSpinEditAccessible::maximumValue() const
{
    const TInterSpinEdit *e = edit();
    if (e->MinValue() != e->MaxValue())
        return std::max(e->MinValue(), e->MaxValue());
    // a time of day reaches 24:00:00, a duration 9999 hours and 59 minutes
    if (e->DurationTyp())
        return TInterSpinEdit::kMaxDurationHours / 24.0 + 59 / kDayMinutes;
    return 1.0;
}

QVariant InterSpinEditAccessible::minimumStepSize() const
{
    // the part at the caret steps: hours, minutes or seconds
    static constexpr double kUnit[] = {1.0 / 24.0, 1.0 / kDayMinutes, 1.0 / 86400.0};
    const int part = std::clamp(edit()->partAtCaret(), 1, edit()->DurationTyp() ? 2 : 3);
    return kUnit[part - 1] * std::abs(edit()->Increment());
}

QStringList InterSpinEditAccessible::ownActions() const
{
    return edit()->isReadOnly() ? QStringList() : QStringList{increaseAction(), decreaseAction()};
}

void InterSpinEditAccessible::runAction(const QString &name)
{
    edit()->spinStep(name == increaseAction());
}

void InterSpinEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !edit()->hasSelectedText())
        return;
    *startOffset = edit()->selectionStart();
    *endOffset = edit()->selectionEnd();
}

int InterSpinEditAccessible::selectionCount() const
{
    return edit()->hasSelectedText() ? 1 : 0;
}

void InterSpinEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void InterSpinEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        edit()->deselect();
}

void InterSpinEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const int size = characterCount();
    startOffset = std::clamp(startOffset, 0, size);
    endOffset = std::clamp(endOffset, 0, size);
    edit()->setSelection(startOffset, endOffset - startOffset);
}

int InterSpinEditAccessible::cursorPosition() const
{
    return edit()->cursorPosition();
}

void InterSpinEditAccessible::setCursorPosition(int position)
{
    // the caret chooses the part the steps change
    edit()->setCursorPosition(std::clamp(position, 0, characterCount()));
}

QString InterSpinEditAccessible::text(int startOffset, int endOffset) const
{
    const QString all = edit()->text();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int InterSpinEditAccessible::characterCount() const
{
    return int(edit()->text().size());
}

QRect InterSpinEditAccessible::characterRect(int offset) const
{
    const QString all = edit()->text();
    if (offset < 0 || offset >= all.size())
        return {};
    // the edit draws its text left-aligned inside its contents and margins, unscrolled:
    // the text always fits
    const QRect contents = edit()->contentsRect().marginsRemoved(edit()->textMargins());
    const QFontMetrics fm(edit()->font());
    const int left = contents.left() + 2 + fm.horizontalAdvance(all.left(offset));
    const int top = contents.top() + (contents.height() - fm.height()) / 2;
    const QRect local(left, top, fm.horizontalAdvance(all.at(offset)), fm.height());
    return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
}

int InterSpinEditAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = edit()->mapFromGlobal(point);
    if (!edit()->rect().contains(local))
        return -1;
    return std::min(edit()->cursorPositionAt(local), std::max(0, characterCount() - 1));
}

void InterSpinEditAccessible::scrollToSubstring(int startIndex, int)
{
    setCursorPosition(startIndex);
}

QString InterSpinEditAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void InterSpinEditAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void InterSpinEditAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void InterSpinEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    QString all = edit()->text();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = std::clamp(endOffset, startOffset, int(all.size()));
    writeText(all.replace(startOffset, endOffset - startOffset, text));
}
