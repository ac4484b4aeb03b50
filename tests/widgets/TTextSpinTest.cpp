#include "WidgetTestSupport.h"

#include "widgets/TTextSpin.h"
#include "widgets/TextSpinItem.h"

#include <QtTest>

#include <cmath>

using Arrow = TTextSpin::Arrow;

class TTextSpinTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void itemFields_data();
    void itemFields();
    void settingPosition_data();
    void settingPosition();
    void selectingByField();
    void clicks_data();
    void clicks();
    void repeatWhileHeld_data();
    void repeatWhileHeld();
    void arrowKeysStepLikeClicks();
    void stepOntoTheSameItemCounts();
    void emptyListIsHarmless();
    void geometryStaysInside_data();
    void geometryStaysInside();
};

namespace {

QPoint centreOf(const QRect &r)
{
    return r.center();
}

QStringList threeItems()
{
    return {QStringLiteral("a|clRed|1"), QStringLiteral("b|clLime|2"), QStringLiteral("c|clBlue|3")};
}

} // namespace

void TTextSpinTest::itemFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("integer");
    QTest::addColumn<double>("value");
    QTest::newRow("named colour") << "Auto | clBlue | 0" << "Auto" << QColor(Qt::blue) << 0 << 0.0;
    QTest::newRow("comma in caption") << "500 (0,5k) | clBlack | 1" << "500 (0,5k)" << QColor(Qt::black) << 0 << 1.0;
    QTest::newRow("number as colour") << "Speicher|2|2" << "Speicher" << QColor(2, 0, 0) << 2 << 2.0;
    QTest::newRow("hex colour, blue high") << "x|$FF0000|1,5" << "x" << QColor(0, 0, 255) << 0 << 1.5;
    QTest::newRow("any case, fourth field") << "x|clred|0.25|tail" << "x" << QColor(Qt::red) << 0 << 0.25;
    QTest::newRow("value not a number") << "Deutsch | clBlue | G " << "Deutsch" << QColor(Qt::blue) << 0 << 0.0;
    QTest::newRow("exponent") << "1 usec | 23 | 1e-6" << "1 usec" << QColor(23, 0, 0) << 23 << 1e-6;
    QTest::newRow("caption only") << "  plain  " << "plain" << QColor(Qt::black) << 0 << 0.0;
    QTest::newRow("empty fields") << "x||" << "x" << QColor(Qt::black) << 0 << 0.0;
    QTest::newRow("unknown name") << "x|clNoSuch|7" << "x" << QColor(Qt::black) << 0 << 7.0;
}

void TTextSpinTest::itemFields()
{
    QFETCH(QString, line);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    QFETCH(int, integer);
    QFETCH(double, value);
    TTextSpin spin;
    spin.setPosText({QStringLiteral("first|0|0"), line});
    spin.setPosition(1);
    QCOMPARE(spin.PosString(), caption);
    QCOMPARE(spin.PosColor(), colour);
    QCOMPARE(spin.PosInteger(), integer);
    QCOMPARE(spin.PosFloat(), value);
}

void TTextSpinTest::settingPosition_data()
{
    QTest::addColumn<bool>("limiter");
    QTest::addColumn<int>("limitDown");
    QTest::addColumn<int>("limitUp");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("expected");
    QTest::newRow("past the end wraps to 0") << false << -1 << 1000 << 10 << 0;
    QTest::newRow("past the end stops at last") << true << -1 << 1000 << 10 << 3;
    QTest::newRow("negative wraps to last") << false << -1 << 1000 << -1 << 3;
    QTest::newRow("negative stops at 0") << true << -1 << 1000 << -5 << 0;
    QTest::newRow("limited above") << false << -1 << 2 << 3 << 2;
    QTest::newRow("limited below") << false << 1 << 1000 << 0 << 1;
    QTest::newRow("crossed limits do not assert") << false << 3 << 1 << 2 << 3;
}

void TTextSpinTest::settingPosition()
{
    QFETCH(bool, limiter);
    QFETCH(int, limitDown);
    QFETCH(int, limitUp);
    QFETCH(int, set);
    QFETCH(int, expected);
    TTextSpin spin;
    spin.setPosText({"a", "b", "c", "d"});
    spin.setLimiter(limiter);
    spin.setLimitUp(limitUp);
    spin.setLimitDown(limitDown);
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    spin.setPosition(set);
    QCOMPARE(spin.Position(), expected);
    QCOMPARE(changing.count(), 0);   // program code raises no event
}

void TTextSpinTest::selectingByField()
{
    TTextSpin spin;
    spin.setPosText({"Stop|clRed|0", "Overwrite|clRed|1", "Speicher|2|2", "RS232|1|1"});
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QSignalSpy changed(&spin, &TTextSpin::onChanged);
    spin.setPosInteger(1);
    QCOMPARE(spin.Position(), 3);
    spin.setPosColor(Qt::red);   // the first of two matches
    QCOMPARE(spin.Position(), 0);
    spin.setPosFloat(2.0);
    QCOMPARE(spin.Position(), 2);
    spin.setPosFloat(0.1 + 0.2 - 0.3 + 1.0);   // 1 within rounding
    QCOMPARE(spin.Position(), 1);
    spin.setPosString("RS232");
    QCOMPARE(spin.Position(), 3);
    spin.setPosString("not there");
    spin.setPosInteger(99);
    spin.setPosColor(QColor(1, 2, 3));
    QCOMPARE(spin.Position(), 3);
    QCOMPARE(changing.count() + changed.count(), 0);

    spin.setPosition(3);
    spin.setLimitUp(1);   // the limits apply to the current position at once
    QCOMPARE(spin.Position(), 1);
}

void TTextSpinTest::clicks_data()
{
    QTest::addColumn<bool>("limiter");
    QTest::addColumn<int>("limitUp");
    QTest::addColumn<int>("start");
    QTest::addColumn<Arrow>("where");   // None: the text field
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("events");    // onChanging and onChanged each
    QTest::newRow("up") << false << 1000 << 0 << Arrow::Up << 1 << 1;
    QTest::newRow("down") << false << 1000 << 2 << Arrow::Down << 1 << 1;
    QTest::newRow("up from last wraps") << false << 1000 << 2 << Arrow::Up << 0 << 1;
    QTest::newRow("down from first wraps") << false << 1000 << 0 << Arrow::Down << 2 << 1;
    QTest::newRow("up from last stops") << true << 1000 << 2 << Arrow::Up << 2 << 0;
    QTest::newRow("down from first stops") << true << 1000 << 0 << Arrow::Down << 0 << 0;
    // the user pressed: held by LimitUp, the step still counts and the value is reported again
    QTest::newRow("up against LimitUp") << false << 1 << 1 << Arrow::Up << 1 << 1;
    QTest::newRow("up against LimitUp with Limiter") << true << 1 << 1 << Arrow::Up << 1 << 1;
    QTest::newRow("text field") << false << 1000 << 1 << Arrow::None << 1 << 0;
}

void TTextSpinTest::clicks()
{
    QFETCH(bool, limiter);
    QFETCH(int, limitUp);
    QFETCH(int, start);
    QFETCH(Arrow, where);
    QFETCH(int, expected);
    QFETCH(int, events);
    TTextSpin spin;
    spin.resize(120, 30);
    spin.setPosText(threeItems());
    spin.setLimiter(limiter);
    spin.setLimitUp(limitUp);
    spin.setPosition(start);
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QSignalSpy changed(&spin, &TTextSpin::onChanged);
    const TTextSpin::Geometry g = spin.spinGeometry();
    const QRect target = where == Arrow::Up ? g.upBox : where == Arrow::Down ? g.downBox : g.field;
    QTest::mouseClick(&spin, Qt::LeftButton, {}, centreOf(target));
    QCOMPARE(spin.Position(), expected);
    QCOMPARE(changing.count(), events);
    QCOMPARE(changed.count(), events);
    QCOMPARE(spin.heldArrow(), Arrow::None);
}

void TTextSpinTest::repeatWhileHeld_data()
{
    QTest::addColumn<int>("repSpeed");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("steps");
    QTest::newRow("no repeat below 50 ms") << 30 << 30 << 1;
    QTest::newRow("first repeat after 500 ms") << 111 << 9 << 2;
    QTest::newRow("then every period") << 111 << 9 + 2 * 3 << 5;
    QTest::newRow("period taken mod 2001") << 2001 + 111 << 9 + 2 << 3;
}

void TTextSpinTest::repeatWhileHeld()
{
    QFETCH(int, repSpeed);
    QFETCH(int, ticks);
    QFETCH(int, steps);
    TTextSpin spin;
    spin.resize(120, 30);
    spin.setPosText(QStringList(40, QStringLiteral("item")));
    spin.setRepSpeed(repSpeed);
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QSignalSpy changed(&spin, &TTextSpin::onChanged);
    const QPoint up = spin.spinGeometry().upBox.center();
    QTest::mousePress(&spin, Qt::LeftButton, {}, up);
    WidgetTest::ticks(ticks);
    QCOMPARE(spin.Position(), steps);
    QCOMPARE(changing.count(), steps);
    QCOMPARE(changed.count(), 0);   // only at the release
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, up);
    QCOMPARE(changed.count(), 1);
    WidgetTest::ticks(20);
    QCOMPARE(spin.Position(), steps);
}

void TTextSpinTest::arrowKeysStepLikeClicks()
{
    TTextSpin spin;
    spin.setPosText(threeItems());
    spin.setLimiter(true);
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QSignalSpy changed(&spin, &TTextSpin::onChanged);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);   // stopped at the last item: no event
    QCOMPARE(spin.Position(), 2);
    QCOMPARE(changing.count(), 2);
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.Position(), 1);
}

void TTextSpinTest::stepOntoTheSameItemCounts()
{
    TTextSpin spin;
    spin.resize(120, 30);
    spin.setPosText({"only|clRed|1"});
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QSignalSpy changed(&spin, &TTextSpin::onChanged);
    const TTextSpin::Geometry g = spin.spinGeometry();
    QTest::mouseClick(&spin, Qt::LeftButton, {}, g.upBox.center());     // wraps onto itself
    QTest::mouseClick(&spin, Qt::LeftButton, {}, g.downBox.center());
    QCOMPARE(spin.Position(), 0);
    QCOMPARE(changing.count(), 2);
    QCOMPARE(changed.count(), 2);

    spin.setLimiter(true);                                              // stopped at the end: nothing
    QTest::mouseClick(&spin, Qt::LeftButton, {}, g.upBox.center());
    QCOMPARE(changing.count(), 2);

    spin.setLimiter(false);
    spin.setPosText(threeItems());
    spin.setLimitDown(1);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, g.downBox.center());   // held by LimitDown
    QCOMPARE(spin.Position(), 1);
    QCOMPARE(changing.count(), 3);
    QCOMPARE(changed.count(), 3);
}

void TTextSpinTest::emptyListIsHarmless()
{
    TTextSpin spin;
    spin.resize(120, 30);
    spin.setPosText({});
    QSignalSpy changing(&spin, &TTextSpin::onChanging);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, spin.spinGeometry().upBox.center());
    QTest::mouseClick(&spin, Qt::LeftButton, {}, spin.spinGeometry().downBox.center());
    spin.setPosition(5);
    QCOMPARE(changing.count(), 0);   // nothing changed, so nothing to report
    QCOMPARE(spin.PosString(), QString());
    QCOMPARE(spin.PosFloat(), 0.0);
    QCOMPARE(spin.PosColor(), QColor(Qt::black));
    (void)WidgetTest::renderAt(spin, 1.0);

    // a list that shrinks under the position keeps the index and shows nothing
    spin.setPosText(threeItems());
    spin.setPosition(2);
    spin.setPosText({"only"});
    QCOMPARE(spin.Position(), 2);
    QCOMPARE(spin.PosString(), QString());
}

void TTextSpinTest::geometryStaysInside_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("default size") << QSize(100, 30);
    QTest::newRow("large") << QSize(400, 90);
    QTest::newRow("tall selector") << QSize(100, 50);
    QTest::newRow("narrow and tall") << QSize(24, 60);
    QTest::newRow("tiny") << QSize(9, 7);
    QTest::newRow("nothing") << QSize(0, 0);
}

void TTextSpinTest::geometryStaysInside()
{
    QFETCH(QSize, size);
    TTextSpin spin;
    spin.resize(size);
    const QRect inner = spin.InnerRect();
    const TTextSpin::Geometry g = spin.spinGeometry();
    for (const QRect &box : {g.upBox, g.downBox, g.field}) {
        if (box.isEmpty())
            continue;
        QVERIFY2(inner.contains(box), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
    }
    if (!g.upBox.isEmpty()) {
        QVERIFY(g.field.right() < g.upBox.left());
        QCOMPARE(g.downBox.left(), g.upBox.left());
        QCOMPARE(g.downBox.top(), g.upBox.bottom() + 1);
        QVERIFY(g.upBox.contains(TTextSpin::ArrowPolygon(g.upBox, true).boundingRect()));
        QVERIFY(g.downBox.contains(TTextSpin::ArrowPolygon(g.downBox, false).boundingRect()));
    }
    // the arrows never take the room of the caption from a selector at least twice as wide as tall
    if (size.width() >= 2 * size.height())
        QVERIFY2(g.field.width() * 5 >= inner.width() * 3, qPrintable(QString::number(g.field.width())));
    if (size == QSize(100, 30)) {
        // a 2x picture shows a solid black arrow in the middle of each box
        spin.setSolidArrow(true);
        const QImage image = WidgetTest::renderAt(spin, 2.0);
        const QPolygon up = TTextSpin::ArrowPolygon(g.upBox, true);
        QCOMPARE(WidgetTest::pixelAt(image, up.boundingRect().center()), QColor(Qt::black));
        WidgetTest::saveScreen(image, QStringLiteral("TTextSpin_solid_100x30@2"));
    }
}

QTEST_MAIN(TTextSpinTest)
#include "TTextSpinTest.moc"
