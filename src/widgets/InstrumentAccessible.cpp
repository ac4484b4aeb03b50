#include "widgets/InstrumentAccessible.h"

#include "widgets/MeterBase.h"
#include "widgets/ScaleMath.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"
#include "widgets/WidgetAccessibility.h"

#include <QFontMetrics>

using Widgets::TButtonMode;
using Widgets::TButtonStyle;
using Widgets::TCheckMode;

InstrumentAccessible::InstrumentAccessible(QWidget *widget, QAccessible::Role role, bool captionFirst)
    : QAccessibleWidget(widget, role)
    , m_captionFirst(captionFirst)
{
}

QString InstrumentAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: return Widgets::accessibleNameFor(widget(), caption(), m_captionFirst);
    case QAccessible::Value: return valueText();
    default: return QAccessibleWidget::text(t);
    }
}

QStringList InstrumentAccessible::actionNames() const
{
    QStringList names = widget()->isEnabled() ? ownActions() : QStringList();
    for (const QString &name : QAccessibleWidget::actionNames())
        if (!names.contains(name))
            names << name;
    return names;
}

void InstrumentAccessible::doAction(const QString &actionName)
{
    if (widget()->isEnabled() && ownActions().contains(actionName))
        runAction(actionName);
    else
        QAccessibleWidget::doAction(actionName);
}

// ---------------------------------------------------------------------------------------

FrameAccessible::FrameAccessible(QWidget *widget)
    : InstrumentAccessible(widget, QAccessible::Pane)
{
}

// ---------------------------------------------------------------------------------------

MeterAccessible::MeterAccessible(MeterBase *meter)
    : InstrumentAccessible(meter, QAccessible::ProgressBar)
{
}

MeterBase *MeterAccessible::meter() const
{
    return static_cast<MeterBase *>(widget());
}

void *MeterAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return InstrumentAccessible::interface_cast(t);
}

QAccessible::State MeterAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    s.readOnly = true;
    return s;
}

QString MeterAccessible::caption() const
{
    return meter()->Caption();
}

QString MeterAccessible::valueText() const
{
    // the reading as the face shows it, with the unit or channel the caption gives
    QString number;
    if (const auto *round = qobject_cast<const TMeter120 *>(meter()))
        number = round->displayText();
    else
        number = Widgets::scaleNumber(meter()->Value(), meter()->DecimalSeparator());
    const QString unit = meter()->Caption().trimmed();
    return unit.isEmpty() || unit == text(QAccessible::Name) ? number : number + u' ' + unit;
}

QVariant MeterAccessible::currentValue() const
{
    return meter()->Value();
}

QVariant MeterAccessible::maximumValue() const
{
    return std::max(meter()->ValueStart(), meter()->ValueEnd());
}

QVariant MeterAccessible::minimumValue() const
{
    return std::min(meter()->ValueStart(), meter()->ValueEnd());
}

// ---------------------------------------------------------------------------------------

LedAccessible::LedAccessible(TLedCheck *led)
    : InstrumentAccessible(led, QAccessible::CheckBox, true)
{
}

TLedCheck *LedAccessible::led() const
{
    return static_cast<TLedCheck *>(widget());
}

QAccessible::Role LedAccessible::role() const
{
    switch (led()->CheckMode()) {
    case TCheckMode::lcButton: return QAccessible::Button;
    case TCheckMode::lcRadioBtn: return QAccessible::RadioButton;
    case TCheckMode::lcCheckBox:
    case TCheckMode::lcNone: break;
    }
    return QAccessible::CheckBox;
}

QAccessible::State LedAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    const TCheckMode mode = led()->CheckMode();
    if (mode == TCheckMode::lcButton) {
        s.pressed = led()->Checked();
    } else {
        s.checkable = true;
        s.checked = led()->Checked();
    }
    // a lamp that only shows something cannot be switched by the user
    s.readOnly = mode == TCheckMode::lcNone;
    return s;
}

QString LedAccessible::caption() const
{
    return led()->shownCaption();
}

QStringList LedAccessible::ownActions() const
{
    switch (led()->CheckMode()) {
    case TCheckMode::lcButton: return {pressAction()};
    case TCheckMode::lcCheckBox:
    case TCheckMode::lcRadioBtn: return {toggleAction()};
    case TCheckMode::lcNone: break;
    }
    return {};
}

void LedAccessible::runAction(const QString &)
{
    led()->click();
}

// ---------------------------------------------------------------------------------------

SlideAccessible::SlideAccessible(TSlideButton *slide)
    : InstrumentAccessible(slide, QAccessible::CheckBox)
{
}

TSlideButton *SlideAccessible::slide() const
{
    return static_cast<TSlideButton *>(widget());
}

QAccessible::State SlideAccessible::state() const
{
    // the position a switch starts in (value 0) is the released one
    QAccessible::State s = InstrumentAccessible::state();
    s.checkable = true;
    s.checked = slide()->Position() == Widgets::TSwitchPos::swPos1;
    return s;
}

QString SlideAccessible::valueText() const
{
    return slide()->shownText();
}

QStringList SlideAccessible::ownActions() const
{
    return {toggleAction(), pressAction()};
}

void SlideAccessible::runAction(const QString &)
{
    slide()->toggle();
}

// ---------------------------------------------------------------------------------------

ArrowButtonAccessible::ArrowButtonAccessible(TArrowBtn *button)
    : InstrumentAccessible(button, QAccessible::Button)
{
}

TArrowBtn *ArrowButtonAccessible::button() const
{
    return static_cast<TArrowBtn *>(widget());
}

QAccessible::State ArrowButtonAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    if (button()->ButtonMode() == TButtonMode::tbmPushPull) {
        s.checkable = true;
        s.checked = button()->Down();
    } else {
        s.pressed = button()->Down();
    }
    return s;
}

QStringList ArrowButtonAccessible::ownActions() const
{
    if (button()->ButtonMode() == TButtonMode::tbmLocked)
        return {};
    if (button()->ButtonMode() == TButtonMode::tbmPushPull)
        return {pressAction(), toggleAction()};
    return {pressAction()};
}

void ArrowButtonAccessible::runAction(const QString &)
{
    button()->click();
}

// ---------------------------------------------------------------------------------------

BevelAccessible::BevelAccessible(TBevel3D *bevel)
    : InstrumentAccessible(bevel, QAccessible::Button, true)
{
}

TBevel3D *BevelAccessible::bevel() const
{
    return static_cast<TBevel3D *>(widget());
}

QAccessible::Role BevelAccessible::role() const
{
    // without a button style it is a framed caption
    return bevel()->ButtonStyle() == TButtonStyle::tsNone ? QAccessible::StaticText : QAccessible::Button;
}

QAccessible::State BevelAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    if (bevel()->ButtonStyle() == TButtonStyle::tsPushPull) {
        s.checkable = true;
        s.checked = bevel()->Down();
    } else {
        s.pressed = bevel()->Down();
    }
    return s;
}

QString BevelAccessible::caption() const
{
    return bevel()->shownCaption();
}

QStringList BevelAccessible::ownActions() const
{
    switch (bevel()->ButtonStyle()) {
    case TButtonStyle::tsPush: return {pressAction()};
    case TButtonStyle::tsPushPull: return {pressAction(), toggleAction()};
    case TButtonStyle::tsNone: break;
    }
    return {};
}

void BevelAccessible::runAction(const QString &)
{
    bevel()->click();
}

// ---------------------------------------------------------------------------------------

OvalButtonAccessible::OvalButtonAccessible(TOvalButton *button)
    : InstrumentAccessible(button, QAccessible::Button, true)
{
}

TOvalButton *OvalButtonAccessible::button() const
{
    return static_cast<TOvalButton *>(widget());
}

QAccessible::State OvalButtonAccessible::state() const
{
    QAccessible::State s = InstrumentAccessible::state();
    s.checkable = button()->isCheckable();
    s.checked = button()->isChecked();
    s.pressed = button()->isDown();
    return s;
}

QString OvalButtonAccessible::caption() const
{
    return button()->Caption();
}

QStringList OvalButtonAccessible::ownActions() const
{
    return {pressAction()};
}

void OvalButtonAccessible::runAction(const QString &)
{
    button()->click();
}

// ---------------------------------------------------------------------------------------

void CaptionTextInterface::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString CaptionTextInterface::text(int startOffset, int endOffset) const
{
    const QString caption = captionText();
    startOffset = std::clamp(startOffset, 0, int(caption.size()));
    endOffset = std::clamp(endOffset, startOffset, int(caption.size()));
    return caption.mid(startOffset, endOffset - startOffset);
}

QRect CaptionTextInterface::characterRect(int offset) const
{
    const QString caption = captionText();
    if (offset < 0 || offset >= caption.size())
        return {};
    const QFontMetrics fm(captionFont());
    const QPoint origin = captionOrigin();
    const int left = fm.horizontalAdvance(caption.left(offset));
    return QRect(origin.x() + left, origin.y(), fm.horizontalAdvance(caption.at(offset)), fm.height());
}

int CaptionTextInterface::offsetAtPoint(const QPoint &point) const
{
    const QString caption = captionText();
    const QFontMetrics fm(captionFont());
    const QPoint origin = captionOrigin();
    if (point.y() < origin.y() || point.y() >= origin.y() + fm.height())
        return -1;
    for (int i = 0; i < caption.size(); ++i) {
        const int right = origin.x() + fm.horizontalAdvance(caption.left(i + 1));
        if (point.x() >= origin.x() && point.x() < right)
            return i;
    }
    return -1;
}

QString CaptionTextInterface::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
