// What assistive technology learns from the instrument widgets and what it can do with
// them, through the same interfaces a screen reader or a script on the accessibility bus uses.
#include "WidgetTestSupport.h"

#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/TMeterPanelH.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"
#include "widgets/TTextSpin.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using Widgets::TButtonMode;
using Widgets::TButtonStyle;
using Widgets::TCheckMode;

namespace {

struct Heard {
    QAccessible::Event type;
    QObject *object;
    QVariant value;
    QAccessible::State changed;
};

std::vector<Heard> g_heard;

void hear(QAccessibleEvent *event)
{
    Heard h{event->type(), event->object(), {}, {}};
    if (event->type() == QAccessible::ValueChanged)
        h.value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
    if (event->type() == QAccessible::StateChanged)
        h.changed = static_cast<QAccessibleStateChangeEvent *>(event)->changedStates();
    g_heard.push_back(h);
}

int heardOf(QObject *object, QAccessible::Event type)
{
    return int(std::count_if(g_heard.begin(), g_heard.end(),
                             [&](const Heard &h) { return h.object == object && h.type == type; }));
}

// the last notice of that kind about the object
const Heard *lastHeard(QObject *object, QAccessible::Event type)
{
    for (auto it = g_heard.rbegin(); it != g_heard.rend(); ++it)
        if (it->object == object && it->type == type)
            return &*it;
    return nullptr;
}

QAccessibleInterface *of(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

QAccessibleActionInterface *actions(QWidget *widget)
{
    return of(widget)->actionInterface();
}

QStringList actionNames(QWidget *widget)
{
    QStringList names = actions(widget)->actionNames();
    names.removeAll(QAccessibleActionInterface::setFocusAction());
    return names;
}

} // namespace

class WidgetAccessibilityTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<QWidget> m_window;
    QGroupBox *m_group = nullptr;
    QGridLayout *m_grid = nullptr;

    // a control shown in a group box, so that it is polished and has surroundings
    template <class T>
    T *place(int row, int column, const QString &rowLabel = {})
    {
        auto *widget = new T(m_group);
        if (!rowLabel.isEmpty())
            m_grid->addWidget(new QLabel(rowLabel, m_group), row, column - 1);
        m_grid->addWidget(widget, row, column);
        widget->show();
        return widget;
    }

private slots:
    void initTestCase()
    {
        Widgets::setAnnouncementListener(hear);
    }
    void init()
    {
        WidgetTest::manualTicks();
        m_window = std::make_unique<QWidget>();
        m_group = new QGroupBox(QStringLiteral("Messbereich"), m_window.get());
        m_grid = new QGridLayout(m_group);
        (new QVBoxLayout(m_window.get()))->addWidget(m_group);
        m_window->show();
        g_heard.clear();
    }
    void cleanup() { m_window.reset(); }

    void eachWidgetHasItsOwnInterfaceFromTheStart_data();
    void eachWidgetHasItsOwnInterfaceFromTheStart();
    void namesComeFromTheSurroundings();
    void selectorStepsAsAClickOnAnArrow();
    void selectorAtItsEndDoesNothing();
    void selectorTakesAPositionFromTheBus();
    void disabledControlsOfferNoActions();
    void spinEditStepsThePartAtTheCaret();
    void spinEditIsEditedAndSetLikeAnEdit();
    void readOnlySpinEditRefusesChanges();
    void metersReportTheirReading();
    void lampsReportTheirState();
    void checkBoxLampToggles();
    void slideSwitchToggles();
    void arrowButtonsPress();
    void bevelButtonPressesAndACaptionDoesNot();
    void ovalButtonPresses();
    void labelsBecomeBuddiesOfTheirInputs();
};

void WidgetAccessibilityTest::eachWidgetHasItsOwnInterfaceFromTheStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("role");
    for (const auto &[kind, role] : std::initializer_list<std::pair<const char *, QAccessible::Role>>{
             // the spin edit first: it writes its text while it is being made
             {"TInterSpinEdit", QAccessible::SpinBox}, {"TTextSpin", QAccessible::SpinBox},
             {"TMeter120", QAccessible::ProgressBar}, {"TMeterPanelH", QAccessible::ProgressBar},
             {"TLedCheck", QAccessible::CheckBox}, {"TSlideButton", QAccessible::CheckBox},
             {"TArrowBtn", QAccessible::Button}, {"TBevel3D", QAccessible::Button},
             {"TOvalButton", QAccessible::Button}, {"TRahmen", QAccessible::Pane}})
        QTest::newRow(kind) << QString::fromLatin1(kind) << int(role);
}

void WidgetAccessibilityTest::eachWidgetHasItsOwnInterfaceFromTheStart()
{
    // constructors set properties that announce changes; an announcement made while the
    // control was half built would leave the plain widget interface in Qt's cache
    QFETCH(QString, kind);
    QFETCH(int, role);
    std::unique_ptr<QWidget> widget;
    if (kind == "TTextSpin") widget = std::make_unique<TTextSpin>();
    if (kind == "TInterSpinEdit") widget = std::make_unique<TInterSpinEdit>();
    if (kind == "TMeter120") widget = std::make_unique<TMeter120>();
    if (kind == "TMeterPanelH") widget = std::make_unique<TMeterPanelH>();
    if (kind == "TLedCheck") widget = std::make_unique<TLedCheck>();
    if (kind == "TSlideButton") widget = std::make_unique<TSlideButton>();
    if (kind == "TArrowBtn") widget = std::make_unique<TArrowBtn>();
    if (kind == "TBevel3D") widget = std::make_unique<TBevel3D>();
    if (kind == "TOvalButton") widget = std::make_unique<TOvalButton>();
    if (kind == "TRahmen") widget = std::make_unique<TRahmen>();
    QVERIFY(widget);
    QAccessibleInterface *iface = of(widget.get());
    QVERIFY(iface && iface->isValid());
    QCOMPARE(int(iface->role()), role);
    QCOMPARE(iface->object(), widget.get());
    QVERIFY(iface->actionInterface());
}

void WidgetAccessibilityTest::namesComeFromTheSurroundings()
{
    auto *alone = place<TTextSpin>(0, 0);
    auto *besideLabel = place<TInterSpinEdit>(1, 1, QStringLiteral("&Intervall"));
    auto *secondInRow = place<TInterSpinEdit>(1, 2);
    auto *panel = new QLabel(QStringLiteral("42"), m_group);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_grid->addWidget(panel, 2, 0);
    auto *besidePanel = place<TArrowBtn>(2, 1);
    auto *bevel = place<TBevel3D>(3, 0);
    bevel->setCaption(QStringLiteral("Nullpunktabgleich"));
    auto *buddied = place<TTextSpin>(4, 1);
    auto *buddy = new QLabel(QStringLiteral("Baudrate"), m_group);
    buddy->setBuddy(buddied);
    auto *meter = new TMeter120(m_window.get());
    meter->setCaption(QStringLiteral("Ionen/cm³"));

    QCOMPARE(of(alone)->text(QAccessible::Name), QStringLiteral("Messbereich"));
    QCOMPARE(of(besideLabel)->text(QAccessible::Name), QStringLiteral("Intervall"));
    // further along the row the row's caption still names it
    QCOMPARE(of(secondInRow)->text(QAccessible::Name), QStringLiteral("Intervall"));
    // a sunken value panel is no caption
    QCOMPARE(of(besidePanel)->text(QAccessible::Name), QStringLiteral("Messbereich"));
    // a button's own caption comes before its group
    QCOMPARE(of(bevel)->text(QAccessible::Name), QStringLiteral("Nullpunktabgleich"));
    QCOMPARE(of(buddied)->text(QAccessible::Name), QStringLiteral("Baudrate"));
    // outside any group, a meter is called by its caption
    QCOMPARE(of(meter)->text(QAccessible::Name), QStringLiteral("Ionen/cm³"));

    alone->setAccessibleName(QStringLiteral("Bereich"));
    QCOMPARE(of(alone)->text(QAccessible::Name), QStringLiteral("Bereich"));
    // a group renamed (another language) renames what it holds
    m_group->setTitle(QStringLiteral("Range"));
    QCOMPARE(of(besidePanel)->text(QAccessible::Name), QStringLiteral("Range"));
}

void WidgetAccessibilityTest::selectorStepsAsAClickOnAnArrow()
{
    auto *spin = place<TTextSpin>(0, 0);
    spin->setPosText({"Positiv | clBlack | 0", "Negativ | clBlue | 1", "Wechselnd | clBlack | 2"});
    spin->setToolTip(QStringLiteral("Polarität der gezählten Ionen"));
    g_heard.clear();
    QSignalSpy changing(spin, &TTextSpin::onChanging);
    QSignalSpy changed(spin, &TTextSpin::onChanged);
    QAccessibleInterface *iface = of(spin);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("Positiv"));
    QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("Polarität der gezählten Ionen"));
    QVERIFY(iface->state().focusable);
    QCOMPARE(actionNames(spin), (QStringList{QAccessibleActionInterface::increaseAction(),
                                             QAccessibleActionInterface::decreaseAction()}));
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toInt(), 0);
    QCOMPARE(value->maximumValue().toInt(), 2);

    actions(spin)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(spin->Position(), 1);
    QCOMPARE(changing.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(value->currentValue().toInt(), 1);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("Negativ"));
    QAccessibleTextInterface *text = iface->textInterface();
    QVERIFY(text);
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("Negativ"));
    QVERIFY(text->characterRect(0).isValid());
    QVERIFY(spin->rect().contains(spin->mapFromGlobal(text->characterRect(0).center())));
    QCOMPARE(heardOf(spin, QAccessible::ValueChanged), 1);
    QCOMPARE(lastHeard(spin, QAccessible::ValueChanged)->value.toInt(), 1);
    QCOMPARE(heardOf(spin, QAccessible::TextUpdated), 1);

    // without a limiter the steps wrap round, as the arrows do
    actions(spin)->doAction(QAccessibleActionInterface::decreaseAction());
    actions(spin)->doAction(QAccessibleActionInterface::decreaseAction());
    QCOMPARE(spin->Position(), 2);
    QCOMPARE(changing.count(), 3);
    QCOMPARE(changed.count(), 3);

    // a position the program sets is heard too, without the user's events
    spin->setPosition(0);
    QCOMPARE(heardOf(spin, QAccessible::ValueChanged), 4);
    QCOMPARE(changed.count(), 3);
}

void WidgetAccessibilityTest::selectorAtItsEndDoesNothing()
{
    auto *spin = place<TTextSpin>(0, 0);
    spin->setPosText({"1 Volt DC | clBlue | 0", "10 Volt DC | clBlack | 1"});
    spin->setLimiter(true);
    spin->setPosition(1);
    g_heard.clear();
    QSignalSpy changing(spin, &TTextSpin::onChanging);
    QSignalSpy changed(spin, &TTextSpin::onChanged);
    actions(spin)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(spin->Position(), 1);
    QCOMPARE(changing.count(), 0);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(heardOf(spin, QAccessible::ValueChanged), 0);

    // an empty list has nothing to step to
    spin->setPosText({});
    QVERIFY(actionNames(spin).isEmpty());
    actions(spin)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(changing.count(), 0);
    QCOMPARE(of(spin)->text(QAccessible::Value), QString());
}

void WidgetAccessibilityTest::selectorTakesAPositionFromTheBus()
{
    auto *spin = place<TTextSpin>(0, 0);
    spin->setPosText({"COM1|0|0", "COM2|0|1", "COM3|0|2", "COM4|0|3"});
    QSignalSpy changing(spin, &TTextSpin::onChanging);
    QSignalSpy changed(spin, &TTextSpin::onChanged);
    QAccessibleValueInterface *value = of(spin)->valueInterface();
    value->setCurrentValue(3);
    QCOMPARE(spin->PosString(), QStringLiteral("COM4"));
    QCOMPARE(changing.count(), 1);
    QCOMPARE(changed.count(), 1);
    // positions outside the list and values that are no number change nothing
    value->setCurrentValue(4);
    value->setCurrentValue(-1);
    value->setCurrentValue(QStringLiteral("zwei"));
    QCOMPARE(spin->Position(), 3);
    QCOMPARE(changed.count(), 1);
}

void WidgetAccessibilityTest::disabledControlsOfferNoActions()
{
    auto *spin = place<TTextSpin>(0, 0);
    auto *edit = place<TInterSpinEdit>(1, 0);
    auto *button = place<TArrowBtn>(2, 0);
    m_group->setEnabled(false);
    QSignalSpy changing(spin, &TTextSpin::onChanging);
    QSignalSpy clicked(button, &TArrowBtn::onClick);
    for (QWidget *w : {static_cast<QWidget *>(spin), static_cast<QWidget *>(edit), static_cast<QWidget *>(button)}) {
        QVERIFY(of(w)->state().disabled);
        QVERIFY2(actionNames(w).isEmpty(), qPrintable(w->metaObject()->className()));
    }
    actions(spin)->doAction(QAccessibleActionInterface::increaseAction());
    actions(edit)->doAction(QAccessibleActionInterface::increaseAction());
    actions(button)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(changing.count(), 0);
    QCOMPARE(spin->Position(), 0);
    QCOMPARE(edit->text(), QStringLiteral("00:00:00"));
    QCOMPARE(clicked.count(), 0);
    of(spin)->valueInterface()->setCurrentValue(2);
    QCOMPARE(spin->Position(), 0);
}

void WidgetAccessibilityTest::spinEditStepsThePartAtTheCaret()
{
    auto *edit = place<TInterSpinEdit>(0, 1, QStringLiteral("Speicherintervall"));
    edit->setStringValue(QStringLiteral("23:59:00"));
    QSignalSpy changes(edit, &TInterSpinEdit::OnChange);
    QAccessibleInterface *iface = of(edit);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Speicherintervall"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("23:59:00"));
    // the spin button is part of the control, not a nameless child of it
    QCOMPARE(iface->childCount(), 0);
    QCOMPARE(actionNames(edit), (QStringList{QAccessibleActionInterface::increaseAction(),
                                             QAccessibleActionInterface::decreaseAction()}));

    actions(edit)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(edit->text(), QStringLiteral("24:59:00"));
    QCOMPARE(changes.count(), 1);
    // like the spin button, the step takes the focus, so leaving checks the text
    QCOMPARE(m_window->focusWidget(), edit);

    // the caret, set over the bus, picks the minutes
    QAccessibleTextInterface *text = iface->textInterface();
    text->setCursorPosition(4);
    QCOMPARE(iface->valueInterface()->minimumStepSize().toDouble(), 1.0 / 1440.0);
    actions(edit)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(edit->text(), QStringLiteral("24:00:00"));
    QCOMPARE(text->selectionCount(), 1);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(text->text(start, end), QStringLiteral("00"));
    actions(edit)->doAction(QAccessibleActionInterface::decreaseAction());
    QCOMPARE(edit->text(), QStringLiteral("24:59:00"));
    QCOMPARE(changes.count(), 3);
    QVERIFY(heardOf(edit, QAccessible::ValueChanged) >= 3);
}

void WidgetAccessibilityTest::spinEditIsEditedAndSetLikeAnEdit()
{
    auto *edit = place<TInterSpinEdit>(0, 0);
    edit->setDurationTyp(true);
    QSignalSpy changes(edit, &TInterSpinEdit::OnChange);
    QAccessibleInterface *iface = of(edit);
    QAccessibleValueInterface *value = iface->valueInterface();
    QCOMPARE(value->maximumValue().toDouble(), 9999 / 24.0 + 59 / 1440.0);
    value->setCurrentValue(1.5);
    QCOMPARE(edit->text(), QStringLiteral("0036:00"));
    QCOMPARE(value->currentValue().toDouble(), 1.5);

    QAccessibleEditableTextInterface *editable = iface->editableTextInterface();
    QVERIFY(editable);
    editable->replaceText(0, 4, QStringLiteral("0012"));
    QCOMPARE(edit->text(), QStringLiteral("0012:00"));
    editable->insertText(7, QStringLiteral("5"));
    editable->deleteText(5, 6);
    QCOMPARE(edit->text(), QStringLiteral("0012:05"));
    iface->setText(QAccessible::Value, QStringLiteral("0001:30"));
    QCOMPARE(edit->text(), QStringLiteral("0001:30"));
    QCOMPARE(changes.count(), 5);
    // the range applies as to a value the program sets
    edit->setMinValue(0.0);
    edit->setMaxValue(1.0);
    value->setCurrentValue(3.0);
    QCOMPARE(edit->text(), QStringLiteral("0024:00"));
    QCOMPARE(value->maximumValue().toDouble(), 1.0);
}

void WidgetAccessibilityTest::readOnlySpinEditRefusesChanges()
{
    auto *edit = place<TInterSpinEdit>(0, 0);
    edit->setReadOnly(true);
    QAccessibleInterface *iface = of(edit);
    QVERIFY(iface->state().readOnly);
    QVERIFY(actionNames(edit).isEmpty());
    iface->editableTextInterface()->insertText(0, QStringLiteral("9"));
    iface->valueInterface()->setCurrentValue(0.25);
    QCOMPARE(edit->text(), QStringLiteral("00:00:00"));

    auto *locked = place<TInterSpinEdit>(1, 0);
    locked->setEditorEnabled(false);
    of(locked)->editableTextInterface()->insertText(0, QStringLiteral("9"));
    QCOMPARE(locked->text(), QStringLiteral("00:00:00"));
    // the editor locked, the steps still work, as the spin button's do
    actions(locked)->doAction(QAccessibleActionInterface::increaseAction());
    QCOMPARE(locked->text(), QStringLiteral("01:00:00"));
}

void WidgetAccessibilityTest::metersReportTheirReading()
{
    auto *round = new TMeter120(m_window.get());
    round->setCaption(QStringLiteral("Ionen/cm³"));
    round->setValueEnd(500);
    round->setDispFixPnt(true);
    round->setValue(123.4);
    round->show();
    QAccessibleInterface *iface = of(round);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Ionen/cm³"));
    QCOMPARE(iface->text(QAccessible::Value), round->displayText());
    QVERIFY(iface->state().readOnly);
    QAccessibleValueInterface *value = iface->valueInterface();
    QCOMPARE(value->currentValue().toDouble(), 123.4);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), 500.0);
    value->setCurrentValue(10.0);
    QCOMPARE(round->Value(), 123.4);
    QVERIFY(actionNames(round).isEmpty());

    auto *panel = place<TMeterPanelH>(0, 1, QStringLiteral("Analogeingang"));
    panel->setCaption(QStringLiteral("Volt"));
    panel->setDecimalSeparator(u',');
    g_heard.clear();
    panel->setValue(2.5);
    panel->setValue(2.5);
    QCOMPARE(of(panel)->text(QAccessible::Name), QStringLiteral("Analogeingang"));
    QCOMPARE(of(panel)->text(QAccessible::Value), QStringLiteral("2,5 Volt"));
    QCOMPARE(heardOf(panel, QAccessible::ValueChanged), 1);
    QCOMPARE(lastHeard(panel, QAccessible::ValueChanged)->value.toDouble(), 2.5);
}

void WidgetAccessibilityTest::lampsReportTheirState()
{
    auto *led = place<TLedCheck>(0, 0);
    led->setCaption(QStringLiteral("Speichern"));
    led->setCaption1(QStringLiteral("Speichert"));
    QAccessibleInterface *iface = of(led);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Speichern"));
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);
    // a lamp that only shows something cannot be switched over the bus
    QVERIFY(iface->state().readOnly);
    QVERIFY(actionNames(led).isEmpty());
    actions(led)->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!led->Checked());

    led->setChecked(true);
    QVERIFY(iface->state().checked);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Speichert"));
    QCOMPARE(heardOf(led, QAccessible::StateChanged), 1);
    QVERIFY(lastHeard(led, QAccessible::StateChanged)->changed.checked);
    led->setChecked(true);
    QCOMPARE(heardOf(led, QAccessible::StateChanged), 1);

    // a flashing lamp going dark by itself is heard too
    led->setLedFlash(true);
    led->setLedFlashTime(10);
    led->setChecked(true);
    WidgetTest::ticks(2);
    QVERIFY(!led->Checked());
    QCOMPARE(heardOf(led, QAccessible::StateChanged), 2);
}

void WidgetAccessibilityTest::checkBoxLampToggles()
{
    auto *led = place<TLedCheck>(0, 0);
    led->setCheckMode(TCheckMode::lcCheckBox);
    QSignalSpy clicks(led, &TLedCheck::onClick);
    QVERIFY(!of(led)->state().readOnly);
    QCOMPARE(actionNames(led), QStringList{QAccessibleActionInterface::toggleAction()});
    actions(led)->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(led->Checked());
    QCOMPARE(clicks.count(), 1);

    led->setCheckMode(TCheckMode::lcButton);
    QCOMPARE(int(of(led)->role()), int(QAccessible::Button));
    QSignalSpy downs(led, &TLedCheck::OnDown);
    QSignalSpy ups(led, &TLedCheck::OnUp);
    actions(led)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(downs.count(), 1);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(clicks.count(), 2);
}

void WidgetAccessibilityTest::slideSwitchToggles()
{
    auto *slide = place<TSlideButton>(0, 1, QStringLiteral("Aktualisierung"));
    slide->setTextPos1(QStringLiteral("Aus"));
    slide->setTextPos2(QStringLiteral("Ein"));
    QSignalSpy keyChanges(slide, &TSlideButton::KeyChange);
    QAccessibleInterface *iface = of(slide);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Aktualisierung"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("Aus"));
    QVERIFY(iface->state().checkable);
    QVERIFY(!iface->state().checked);
    QVERIFY(actionNames(slide).contains(QAccessibleActionInterface::toggleAction()));

    actions(slide)->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(slide->Position(), Widgets::TSwitchPos::swPos1);
    QCOMPARE(keyChanges.count(), 1);
    QVERIFY(iface->state().checked);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("Ein"));
    QCOMPARE(heardOf(slide, QAccessible::StateChanged), 1);
    QCOMPARE(heardOf(slide, QAccessible::ValueChanged), 1);

    // switched by the program (F8): heard, without KeyChange
    slide->setPosition(Widgets::TSwitchPos::swPos2);
    QCOMPARE(keyChanges.count(), 1);
    QCOMPARE(heardOf(slide, QAccessible::StateChanged), 2);
}

void WidgetAccessibilityTest::arrowButtonsPress()
{
    auto *push = place<TArrowBtn>(0, 0);
    QSignalSpy downs(push, &TArrowBtn::OnDown);
    QSignalSpy ups(push, &TArrowBtn::OnUp);
    QSignalSpy clicks(push, &TArrowBtn::onClick);
    QCOMPARE(of(push)->text(QAccessible::Name), QStringLiteral("Messbereich"));
    QCOMPARE(actionNames(push), QStringList{QAccessibleActionInterface::pressAction()});
    actions(push)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(downs.count(), 1);
    QCOMPARE(ups.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!push->Down());

    auto *pushPull = place<TArrowBtn>(1, 0);
    pushPull->setButtonMode(TButtonMode::tbmPushPull);
    QSignalSpy pullClicks(pushPull, &TArrowBtn::onClick);
    QVERIFY(of(pushPull)->state().checkable);
    actions(pushPull)->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(pushPull->Down());
    QVERIFY(of(pushPull)->state().checked);
    QCOMPARE(heardOf(pushPull, QAccessible::StateChanged), 1);
    actions(pushPull)->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!pushPull->Down());
    QCOMPARE(pullClicks.count(), 2);

    pushPull->setButtonMode(TButtonMode::tbmLocked);
    QVERIFY(actionNames(pushPull).isEmpty());
    actions(pushPull)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(pullClicks.count(), 2);
}

void WidgetAccessibilityTest::bevelButtonPressesAndACaptionDoesNot()
{
    auto *bevel = place<TBevel3D>(0, 0);
    bevel->setCaption(QStringLiteral("Nullpunkt&abgleich"));
    QSignalSpy downs(bevel, &TBevel3D::OnDown);
    QSignalSpy clicks(bevel, &TBevel3D::onClick);
    QCOMPARE(of(bevel)->text(QAccessible::Name), QStringLiteral("Nullpunktabgleich"));
    actions(bevel)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(downs.count(), 1);
    QCOMPARE(clicks.count(), 1);

    bevel->setButtonStyle(TButtonStyle::tsNone);
    QCOMPARE(int(of(bevel)->role()), int(QAccessible::StaticText));
    QVERIFY(actionNames(bevel).isEmpty());
    actions(bevel)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);
}

void WidgetAccessibilityTest::ovalButtonPresses()
{
    auto *key = place<TOvalButton>(0, 1, QStringLiteral("F9"));
    QSignalSpy clicks(key, &TOvalButton::OnClick);
    QCOMPARE(of(key)->text(QAccessible::Name), QStringLiteral("F9"));
    key->setCaption(QStringLiteral("Range"));
    QCOMPARE(of(key)->text(QAccessible::Name), QStringLiteral("Range"));
    actions(key)->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);
    key->setGroupIndex(1);
    actions(key)->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(of(key)->state().checkable);
    QVERIFY(of(key)->state().checked);
}

void WidgetAccessibilityTest::labelsBecomeBuddiesOfTheirInputs()
{
    auto *label = new QLabel(QStringLiteral("Einheit"), m_group);
    auto *edit = new QLineEdit(m_group);
    auto *unit = new QLabel(QStringLiteral("%"), m_group);
    auto *button = new QPushButton(QStringLiteral("?"), m_group);
    auto *valueLabel = new QLabel(QStringLiteral("Start"), m_group);
    auto *value = new QLabel(QStringLiteral("12:00"), m_group);
    auto *last = new QLabel(QStringLiteral("Sekunden"), m_group);
    m_grid->addWidget(label, 0, 0);
    m_grid->addWidget(edit, 0, 1);
    m_grid->addWidget(unit, 1, 0);
    m_grid->addWidget(button, 1, 1);
    m_grid->addWidget(valueLabel, 2, 0);
    m_grid->addWidget(value, 2, 1);
    m_grid->addWidget(last, 2, 2);
    auto *row = new QWidget(m_window.get());
    auto *box = new QHBoxLayout(row);
    auto *boxLabel = new QLabel(QStringLiteral("Verzeichnis"), row);
    auto *boxEdit = new QLineEdit(row);
    box->addWidget(boxLabel);
    box->addWidget(boxEdit);

    QCOMPARE(Widgets::linkLabels(m_window.get()), 2);
    QCOMPARE(label->buddy(), edit);
    QCOMPARE(boxLabel->buddy(), boxEdit);
    // a button names itself, a label names nothing, and past the row's end is nothing
    QCOMPARE(unit->buddy(), nullptr);
    QCOMPARE(valueLabel->buddy(), nullptr);
    QCOMPARE(last->buddy(), nullptr);
    // Qt's own edit is named by its label now, not by its group
    QCOMPARE(of(edit)->text(QAccessible::Name), QStringLiteral("Einheit"));
    QCOMPARE(Widgets::linkLabels(m_window.get()), 0);
}

QTEST_MAIN(WidgetAccessibilityTest)
#include "WidgetAccessibilityTest.moc"
