#include "widgets/TInterSpinEdit.h"

#include "widgets/SpinButton.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace {

// one part never holds more than this, so long digit runs cannot overflow
constexpr qint64 kPartCap = 100'000'000;
// about 1140 years: more than any time or duration, small enough for exact hours
constexpr double kMaxDays = 416'666.0;
constexpr int kMaxIncrement = 1'000'000;

} // namespace

TInterSpinEdit::TInterSpinEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new SpinButton(this))
{
    // before the first text is written: Qt keeps the interface made for its notice
    Widgets::installAccessibility();
    writeText(QStringLiteral("00:00:00"));
    setTextMargins(0, 0, SpinButton::kWidth, 0);
    connect(this, &QLineEdit::textChanged, this, &TInterSpinEdit::OnChange);
    connect(this, &QLineEdit::textChanged, this, [this] { Widgets::announceValue(this, Value()); });
    connect(m_button, &SpinButton::upStep, this, [this] { spinStep(true); });
    connect(m_button, &SpinButton::downStep, this, [this] { spinStep(false); });
    placeButton();
}

TInterSpinEdit::TimeParts TInterSpinEdit::ReadText(QStringView text)
{
    qint64 parts[3] = {0, 0, 0};
    int index = 0;
    for (const QChar c : text) {
        if (c == u':') {
            ++index;
            if (index > 2)
                break;
        } else if (c >= u'0' && c <= u'9' && parts[index] < kPartCap) {
            parts[index] = parts[index] * 10 + (c.unicode() - u'0');
        }
    }
    TimeParts t{parts[0], parts[1], parts[2]};
    if (t.seconds > 59) {
        t.minutes += t.seconds / 60;
        t.seconds %= 60;
    }
    if (t.minutes >= 60) {
        t.hours += t.minutes / 60;
        t.minutes %= 60;
    }
    return t;
}

QString TInterSpinEdit::WriteText(const TimeParts &t, bool duration)
{
    if (duration)
        return QStringLiteral("%1:%2").arg(t.hours, 4, 10, QLatin1Char('0')).arg(t.minutes, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(t.hours, 2, 10, QLatin1Char('0'))
        .arg(t.minutes, 2, 10, QLatin1Char('0'))
        .arg(t.seconds, 2, 10, QLatin1Char('0'));
}

TInterSpinEdit::TimeParts TInterSpinEdit::PartsFromValue(double days)
{
    // negative, not-a-number and absurd values have no time text; they read as 0 or the cap
    if (!(days > 0.0))
        return {};
    days = std::min(days, kMaxDays);
    TimeParts t;
    t.hours = qint64(std::trunc(days * 24.0));
    const double rest = std::max(0.0, days - t.hours / 24.0);
    t.minutes = qint64(std::trunc(rest * 1440.0));
    t.seconds = std::max<qint64>(0, std::llround((rest - t.minutes / 1440.0) * 86400.0));
    if (t.seconds > 59) {
        ++t.minutes;
        t.seconds = 0;
    }
    if (t.minutes > 59) {
        ++t.hours;
        t.minutes = 0;
    }
    return t;
}

double TInterSpinEdit::ValueFromParts(const TimeParts &t)
{
    return t.hours / 24.0 + t.minutes / 1440.0 + t.seconds / 86400.0;
}

int TInterSpinEdit::PartAt(QStringView text, int caret)
{
    caret = std::clamp(caret, 0, int(text.size()));
    return 1 + int(text.left(caret).count(u':'));
}

std::pair<int, int> TInterSpinEdit::PartRange(QStringView text, int part)
{
    int start = 0;
    for (int n = 1; n < part; ++n) {
        const qsizetype colon = text.indexOf(u':', start);
        if (colon < 0)
            return {int(text.size()), 0};
        start = int(colon) + 1;
    }
    const qsizetype end = text.indexOf(u':', start);
    return {start, int((end < 0 ? text.size() : end) - start)};
}

TInterSpinEdit::TimeParts TInterSpinEdit::Stepped(TimeParts t, int part, int increment, bool up,
                                                  bool duration)
{
    const qint64 delta = up ? increment : -qint64(increment);
    if (part <= 1) {
        t.hours += delta;
        if (up) {
            // past the top wraps round to 0; a time of day shows 24:00 before it does
            if (duration ? t.hours > kMaxDurationHours : t.hours >= 25)
                t.hours = 0;
            t.hours = std::max<qint64>(0, t.hours);
        } else {
            // a duration stops at 0, a time of day wraps to 24
            const qint64 top = duration ? kMaxDurationHours : 24;
            if (t.hours < 0)
                t.hours = duration ? 0 : 24;
            else if (t.hours > top)
                t.hours = top;
        }
        return t;
    }
    qint64 &unit = part == 2 ? t.minutes : t.seconds;
    unit += delta;
    if (up)
        unit = unit > 59 || unit < 0 ? 0 : unit;
    else
        unit = unit < 0 ? 59 : std::min<qint64>(unit, 59);
    return t;
}

double TInterSpinEdit::Value() const
{
    return ValueFromParts(ReadText(text()));
}

double TInterSpinEdit::clamped(double days) const
{
    if (m_minValue != m_maxValue) {
        const double low = std::min(m_minValue, m_maxValue), high = std::max(m_minValue, m_maxValue);
        if (days < low)
            days = low;
        if (days > high)
            days = high;
    }
    return days;
}

void TInterSpinEdit::writeText(const QString &text)
{
    setText(text);
    setCursorPosition(0);
}

void TInterSpinEdit::setValue(double days)
{
    writeText(WriteText(PartsFromValue(clamped(days)), m_duration));
}

void TInterSpinEdit::setDurationTyp(bool duration)
{
    m_duration = duration;
    writeText(WriteText(ReadText(text()), m_duration));
}

void TInterSpinEdit::setIncrement(int step)
{
    m_increment = std::clamp(step, -kMaxIncrement, kMaxIncrement);
}

void TInterSpinEdit::setEditorEnabled(bool on)
{
    m_editorEnabled = on;
    setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::NoContextMenu);
}

QColor TInterSpinEdit::Color() const
{
    return palette().color(QPalette::Base);
}

void TInterSpinEdit::setColor(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colour);
    setPalette(pal);
}

void TInterSpinEdit::selectPart(int part)
{
    part = std::clamp(part, 1, maxPart());
    const auto [start, length] = PartRange(text(), part);
    setSelection(start, length);
}

void TInterSpinEdit::step(bool up)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    const int part = std::min(partAtCaret(), maxPart());
    const TimeParts t = Stepped(ReadText(text()), part, m_increment, up, m_duration);
    setText(WriteText(t, m_duration));
    selectPart(part);
}

void TInterSpinEdit::spinStep(bool up)
{
    // the button takes the focus as it steps, so that leaving the control afterwards
    // checks and rewrites the text as after typing
    setFocus(Qt::OtherFocusReason);
    step(up);
}

void TInterSpinEdit::stepUp()
{
    step(true);
}

void TInterSpinEdit::stepDown()
{
    step(false);
}

void TInterSpinEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        step(event->key() == Qt::Key_Up);
        return;
    }
    if (!m_editorEnabled) {
        // only moving the caret and copying: everything else would change the text
        const bool navigation = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right
            || event->key() == Qt::Key_Home || event->key() == Qt::Key_End
            || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab
            || event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll);
        if (!navigation) {
            event->ignore();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TInterSpinEdit::focusInEvent(QFocusEvent *event)
{
    const int caret = cursorPosition();
    QLineEdit::focusInEvent(event);
    // a click places the caret first; its release selects the part there
    if (event->reason() != Qt::MouseFocusReason) {
        setCursorPosition(caret);
        selectPart(partAtCaret());
    }
    emit OnEnter();
}

void TInterSpinEdit::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        const TimeParts t = ReadText(text());
        const double days = ValueFromParts(t);
        if (clamped(days) != days)
            setValue(days);
        else
            writeText(WriteText(t, m_duration));
    }
    QLineEdit::focusOutEvent(event);
    emit OnExit();
}

void TInterSpinEdit::mousePressEvent(QMouseEvent *event)
{
    m_pressPos = event->position().toPoint();
    QLineEdit::mousePressEvent(event);
}

void TInterSpinEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // a drag keeps its own selection; a click selects the part under the mouse
    if ((event->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance()) {
        selectPart(PartAt(text(), cursorPositionAt(event->position().toPoint())));
        emit OnClick();
    }
}

void TInterSpinEdit::placeButton()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this) : 0;
    const int w = std::min(SpinButton::kWidth, std::max(0, width() - 2 * frame));
    m_button->setGeometry(width() - frame - w, frame, w, std::max(0, height() - 2 * frame));
}

void TInterSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

QSize TInterSpinEdit::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    const int text = fontMetrics().horizontalAdvance(QStringLiteral("0000:00:00")) + 12;
    return QSize(text + SpinButton::kWidth, std::max(base.height(), 17));
}

QSize TInterSpinEdit::minimumSizeHint() const
{
    const QSize base = QLineEdit::minimumSizeHint();
    return QSize(base.width() + SpinButton::kWidth, std::max(base.height(), 17));
}
