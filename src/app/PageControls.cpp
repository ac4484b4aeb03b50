#include "app/PageControls.h"

#include "app/TextBindings.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"
#include "widgets/WidgetAccessibility.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QSignalBlocker>

namespace PageControls {

namespace {

class CompactTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 4 : value;
    }
};

} // namespace

void compactTabs(QTabWidget *tabs)
{
    // owned by the page control, which outlives its tab bar's use of it
    auto *style = new CompactTabStyle;
    style->setParent(tabs);
    tabs->tabBar()->setStyle(style);
}

QLabel *panel(QWidget *parent, const char *name)
{
    auto *label = named(new ClickLabel(parent), name);
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
    auto *ise = named(new KeyedSpinEdit(parent), name);
    ise->setDurationTyp(duration);
    return ise;
}

QDateEdit *datePicker(QWidget *parent, const char *name)
{
    auto *picker = named(new DateField(parent), name);
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

const QColor kSilver(192, 192, 192);
const QColor kLightYellow(255, 238, 170);
const QColor kRed(255, 0, 0);

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


namespace {

bool userFocus(QEvent *event)
{
    const auto reason = static_cast<QFocusEvent *>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// what the three value controls share
template <typename Control>
void report(Control *control, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        emit control->touched();
        break;
    case QEvent::FocusIn:
        if (userFocus(event))
            emit control->entered();
        break;
    case QEvent::FocusOut:
        if (userFocus(event))
            emit control->left();
        break;
    default:
        break;
    }
}

} // namespace

bool KeyedLineEdit::event(QEvent *event)
{
    report(this, event);
    return QLineEdit::event(event);
}

void KeyedLineEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit doubleClicked();
    QLineEdit::mouseDoubleClickEvent(event);
}

bool KeyedSpinEdit::event(QEvent *event)
{
    report(this, event);
    if (event->type() == QEvent::MouseButtonPress)
        emit clicked();
    return TInterSpinEdit::event(event);
}

DateField::DateField(QWidget *parent)
    : QDateEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

bool DateField::event(QEvent *event)
{
    report(this, event);
    if (event->type() == QEvent::MouseButtonPress)
        emit clicked();
    return QDateEdit::event(event);
}

bool DateField::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        emit clicked();
    return QDateEdit::eventFilter(watched, event);
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    emit clicked();
    QLabel::mousePressEvent(event);
}

QValidator::State NumberValidator::validate(QString &input, int &) const
{
    // blanks stay: the interval edits show their value right-aligned in "%5.1f"
    for (QChar c : std::as_const(input))
        if (!isNumberChar(c) && !c.isSpace())
            return Invalid;
    return Acceptable;
}

NumberEdit::NumberEdit(std::function<QChar()> separator, QWidget *parent)
    : KeyedLineEdit(parent)
    , m_separator(std::move(separator))
{
    setValidator(new NumberValidator(this));
    connect(this, &QLineEdit::inputRejected, this, [this] {
        if (m_typing)
            emit refused();
    });
}

bool NumberEdit::event(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return KeyedLineEdit::event(event);
    // only typed characters are checked: Tab, Delete, Backspace, Enter, the arrows and
    // shortcuts are keys, and some of them carry a control character as their text
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (!text.isEmpty() && text.at(0).isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QChar c = text.at(0);
        if (!NumberValidator::isNumberChar(c)) {
            emit touched();
            emit refused();
            return true;
        }
        emit accepted();
        if (c == u'.' || c == u',') {
            emit touched();
            insert(QString(m_separator()));
            return true;
        }
    }
    m_typing = true;
    const bool taken = KeyedLineEdit::event(event);
    m_typing = false;
    return taken;
}

} // namespace PageControls
