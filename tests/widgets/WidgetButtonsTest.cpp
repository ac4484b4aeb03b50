#include "WidgetTestSupport.h"

#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TLedCheck.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"

#include <QtTest>

#include <memory>

using Widgets::TButtonMode;
using Widgets::TButtonStyle;

namespace {

enum class Gesture { Mouse, Space, HeldSpace };

// a click as the user makes it; a held Space repeats its press before the release
void clickBy(Gesture gesture, QWidget &button, QPoint at)
{
    if (gesture == Gesture::Mouse) {
        QTest::mouseClick(&button, Qt::LeftButton, {}, at);
        return;
    }
    QTest::keyPress(&button, Qt::Key_Space);
    if (gesture == Gesture::HeldSpace) {
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&button, &repeated);
    }
    QTest::keyRelease(&button, Qt::Key_Space);
}

} // namespace

Q_DECLARE_METATYPE(Gesture)

// TBevel3D, TLedCheck, TSlideButton, TArrowBtn and TOvalButton
class WidgetButtonsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void bevelPushBehaviour_data();
    void bevelPushBehaviour();
    void groupedButtonsReleaseEachOther();
    void blinkingLedsShareThePhase();
    void flashingLedGoesDarkAlone();
    void slideSwitchToggles();
    void arrowButtonStaysSquare_data();
    void arrowButtonStaysSquare();
    void arrowButtonModes_data();
    void arrowButtonModes();
    void arrowButtonRepeatsOnDown();
    void ovalButtonCountsOnlyInsideTheEllipse();
};

void WidgetButtonsTest::bevelPushBehaviour_data()
{
    QTest::addColumn<TButtonStyle>("style");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("downEvents");
    QTest::addColumn<int>("upEvents");
    QTest::addColumn<Gesture>("gesture");
    QTest::newRow("push") << TButtonStyle::tsPush << 1 << false << 1 << 1 << Gesture::Mouse;
    QTest::newRow("push-pull once") << TButtonStyle::tsPushPull << 1 << true << 1 << 0 << Gesture::Mouse;
    QTest::newRow("push-pull twice") << TButtonStyle::tsPushPull << 2 << false << 1 << 1 << Gesture::Mouse;
    QTest::newRow("no button style") << TButtonStyle::tsNone << 1 << false << 0 << 0 << Gesture::Mouse;
    QTest::newRow("push by Space") << TButtonStyle::tsPush << 1 << false << 1 << 1 << Gesture::Space;
    QTest::newRow("push-pull held Space") << TButtonStyle::tsPushPull << 1 << true << 1 << 0 << Gesture::HeldSpace;
}

void WidgetButtonsTest::bevelPushBehaviour()
{
    QFETCH(TButtonStyle, style);
    QFETCH(int, clicks);
    QFETCH(bool, down);
    QFETCH(int, downEvents);
    QFETCH(int, upEvents);
    QFETCH(Gesture, gesture);
    TBevel3D button;
    button.resize(120, 30);
    button.setButtonStyle(style);
    QSignalSpy onDown(&button, &TBevel3D::OnDown);
    QSignalSpy onUp(&button, &TBevel3D::OnUp);
    QSignalSpy onClick(&button, &TBevel3D::onClick);
    for (int i = 0; i < clicks; ++i)
        clickBy(gesture, button, QPoint(60, 15));
    QCOMPARE(button.Down(), down);
    QCOMPARE(onDown.count(), downEvents);
    QCOMPARE(onUp.count(), upEvents);
    QCOMPARE(onClick.count(), clicks);

    // a release outside the button is no click, but a pushed button still comes up
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(60, 15));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(500, 15));
    QCOMPARE(onClick.count(), clicks);
    if (style == TButtonStyle::tsPush)
        QVERIFY(!button.Down());
}

void WidgetButtonsTest::groupedButtonsReleaseEachOther()
{
    QWidget panel;
    TBevel3D a(&panel), b(&panel);
    TArrowBtn c(&panel), d(&panel);
    for (TBevel3D *button : {&a, &b}) {
        button->resize(80, 30);
        button->setButtonStyle(TButtonStyle::tsPushPull);
        button->setGroupIndex(1);
    }
    QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(40, 15));
    QVERIFY(!a.Down());
    QVERIFY(b.Down());
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(40, 15));   // the group keeps one down
    QVERIFY(b.Down());
    b.setAllowAllUp(true);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(40, 15));
    QVERIFY(!b.Down());

    c.setGroupIndex(2);
    d.setGroupIndex(2);
    c.setDown(true);
    d.setDown(true);
    QVERIFY(!c.Down());
    QVERIFY(d.Down());
}

void WidgetButtonsTest::blinkingLedsShareThePhase()
{
    WidgetTimerService &service = WidgetTimerService::instance();
    const int clientsBefore = service.blinkClientCount();
    TLedCheck steady, a, b, off;
    steady.setChecked(true);
    for (TLedCheck *led : {&a, &b, &off})
        led->setLedBlink(true);
    a.setChecked(true);
    QCOMPARE(service.blinkClientCount(), clientsBefore + 1);   // only what blinks takes part
    for (int t = 0; t < 10; ++t)
        service.tick();
    b.setChecked(true);   // switched on later, in another slot
    QCOMPARE(service.blinkClientCount(), clientsBefore + 2);
    int lit = 0, dark = 0;
    for (int t = 0; t < 3 * WidgetTimerService::kBlinkTicks; ++t) {
        service.tick();
        QCOMPARE(a.isLit(), service.blinkPhase());
        QCOMPARE(b.isLit(), a.isLit());
        QVERIFY(!off.isLit());
        QVERIFY(steady.isLit());
        (a.isLit() ? lit : dark)++;
    }
    QVERIFY(lit > 0 && dark > 0);
    a.setChecked(false);
    b.setLedBlink(false);
    QCOMPARE(service.blinkClientCount(), clientsBefore);
    QVERIFY(b.isLit());
}

void WidgetButtonsTest::flashingLedGoesDarkAlone()
{
    TLedCheck led;
    led.setLedFlash(true);
    led.setLedFlashTime(300);   // 5 ticks
    led.setChecked(true);
    WidgetTest::ticks(4);
    QVERIFY(led.Checked());
    led.setChecked(true);   // lit again: the time starts anew
    WidgetTest::ticks(4);
    QVERIFY(led.Checked());
    WidgetTest::ticks(1);
    QVERIFY(!led.Checked());
    QVERIFY(!led.isLit());
}

void WidgetButtonsTest::slideSwitchToggles()
{
    TSlideButton slide;
    slide.setTextPos1(QStringLiteral("Aus"));
    slide.setTextPos2(QStringLiteral("Ein"));
    QSignalSpy keyChange(&slide, &TSlideButton::KeyChange);
    QCOMPARE(slide.Position(), Widgets::TSwitchPos::swPos2);
    QCOMPARE(slide.shownText(), QStringLiteral("Aus"));   // position value 0 shows TextPos1
    QTest::mouseClick(&slide, Qt::LeftButton, {}, QPoint(20, 30));
    QCOMPARE(slide.Position(), Widgets::TSwitchPos::swPos1);
    QCOMPARE(slide.shownText(), QStringLiteral("Ein"));
    QCOMPARE(keyChange.count(), 1);
    slide.setPosition(Widgets::TSwitchPos::swPos2);   // from code: no event
    QCOMPARE(keyChange.count(), 1);
    slide.setFocus();
    QTest::keyClick(&slide, Qt::Key_Space);
    QCOMPARE(keyChange.count(), 2);
    // the knob covers the half the text is not on
    const TSlideButton::Geometry g = slide.slideGeometry();
    QVERIFY(!g.knob.intersects(g.text));
    QVERIFY(slide.InnerRect().contains(g.knob.united(g.text)));
    slide.setTextPos1(QString(40, u'x'));
    QCOMPARE(slide.TextPos1().size(), TSlideButton::kMaxTextLength);
}

void WidgetButtonsTest::arrowButtonStaysSquare_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("result");
    QTest::newRow("wider than high") << QSize(50, 30) << QSize(50, 50);
    QTest::newRow("higher than wide") << QSize(30, 60) << QSize(30, 30);
    QTest::newRow("too narrow") << QSize(10, 30) << QSize(20, 20);
    QTest::newRow("nothing") << QSize(0, 0) << QSize(20, 20);
}

void WidgetButtonsTest::arrowButtonStaysSquare()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, result);
    QWidget window;
    window.resize(200, 200);
    TArrowBtn button(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    button.resize(requested);
    QCOMPARE(button.size(), result);
    QCOMPARE(button.heightForWidth(requested.width()), result.height());
}

void WidgetButtonsTest::arrowButtonModes_data()
{
    QTest::addColumn<TButtonMode>("mode");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("events");   // OnDown + OnUp + onClick
    QTest::addColumn<Gesture>("gesture");
    QTest::newRow("push") << TButtonMode::tbmPush << 1 << false << 3 << Gesture::Mouse;
    QTest::newRow("push-pull") << TButtonMode::tbmPushPull << 1 << true << 2 << Gesture::Mouse;
    QTest::newRow("push-pull twice") << TButtonMode::tbmPushPull << 2 << false << 4 << Gesture::Mouse;
    QTest::newRow("locked") << TButtonMode::tbmLocked << 2 << false << 0 << Gesture::Mouse;
    QTest::newRow("push-pull twice by Space") << TButtonMode::tbmPushPull << 2 << false << 4 << Gesture::Space;
    QTest::newRow("push-pull held Space") << TButtonMode::tbmPushPull << 1 << true << 2 << Gesture::HeldSpace;
    QTest::newRow("locked to Space") << TButtonMode::tbmLocked << 1 << false << 0 << Gesture::Space;
}

void WidgetButtonsTest::arrowButtonModes()
{
    QFETCH(TButtonMode, mode);
    QFETCH(int, clicks);
    QFETCH(bool, down);
    QFETCH(int, events);
    QFETCH(Gesture, gesture);
    TArrowBtn button;
    button.setButtonMode(mode);
    QSignalSpy onDown(&button, &TArrowBtn::OnDown);
    QSignalSpy onUp(&button, &TArrowBtn::OnUp);
    QSignalSpy onClick(&button, &TArrowBtn::onClick);
    for (int i = 0; i < clicks; ++i)
        clickBy(gesture, button, QPoint(15, 15));
    QCOMPARE(button.Down(), down);
    QCOMPARE(onDown.count() + onUp.count() + onClick.count(), events);
}

void WidgetButtonsTest::arrowButtonRepeatsOnDown()
{
    TArrowBtn button;
    button.setRepSpeed(2001 + 111);   // taken mod 2001: every 2 ticks
    QSignalSpy onDown(&button, &TArrowBtn::OnDown);
    QSignalSpy onUp(&button, &TArrowBtn::OnUp);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(15, 15));
    WidgetTest::ticks(6);
    QCOMPARE(onDown.count(), 1 + 3);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(15, 15));
    QCOMPARE(onUp.count(), 1);
    WidgetTest::ticks(6);
    QCOMPARE(onDown.count(), 4);
}

void WidgetButtonsTest::ovalButtonCountsOnlyInsideTheEllipse()
{
    TOvalButton key;
    key.resize(25, 25);
    QSignalSpy onClick(&key, &TOvalButton::OnClick);
    QTest::mouseClick(&key, Qt::LeftButton, {}, QPoint(1, 1));   // the corner, outside the ellipse
    QCOMPARE(onClick.count(), 0);
    QTest::mouseClick(&key, Qt::LeftButton, {}, QPoint(12, 12));
    QCOMPARE(onClick.count(), 1);
    key.setFocus();
    QTest::keyClick(&key, Qt::Key_Space);
    QCOMPARE(onClick.count(), 2);
}

QTEST_MAIN(WidgetButtonsTest)
#include "WidgetButtonsTest.moc"
