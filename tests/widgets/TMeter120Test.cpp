#include "WidgetTestSupport.h"

#include "widgets/ScaleMath.h"
#include "widgets/TMeter120.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TMeter120Test : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void damping_data();
    void damping();
    void dampingStopsItsTimerWhenSettled();
    void limitEventsOncePerCrossing_data();
    void limitEventsOncePerCrossing();
    void scaleEndsAndOutOfScaleEvents();
    void angle_data();
    void angle();
    void peakPointers();
    void displayDecimals_data();
    void displayDecimals();
    void scaleNumbersTakeTheDecimalSeparator();
};

void TMeter120Test::damping_data()
{
    QTest::addColumn<int>("damping");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QList<double>>("shown");   // after each tick
    QTest::newRow("4") << 4 << 4 << QList<double>{2.0, 3.6, 4.88};
    QTest::newRow("1, as the analogue meter") << 1 << 1 << QList<double>{5.0, 7.5, 8.75};
    QTest::newRow("15 is 10") << 15 << 10 << QList<double>{10.0 / 11, (10 * 10.0 / 11 + 10) / 11};
    QTest::newRow("-3 is none") << -3 << 0 << QList<double>{10.0, 10.0};
}

void TMeter120Test::damping()
{
    QFETCH(int, damping);
    QFETCH(int, stored);
    QFETCH(QList<double>, shown);
    TMeter120 meter;
    meter.setDamping(damping);
    QCOMPARE(meter.Damping(), stored);
    meter.setValue(10);
    if (stored == 0)
        QCOMPARE(meter.ShownValue(), 10.0);   // at once, no tick needed
    for (const double expected : shown) {
        WidgetTest::ticks(1);
        QVERIFY2(qAbs(meter.ShownValue() - expected) < 1e-9,
                 qPrintable(QString::number(meter.ShownValue()) + " != " + QString::number(expected)));
    }
    WidgetTest::ticks(400);
    QCOMPARE(meter.ShownValue(), 10.0);
    // switching the damping off shows the value at once
    meter.setValue(50);
    WidgetTest::ticks(1);
    meter.setDamping(0);
    QCOMPARE(meter.ShownValue(), 50.0);
}

void TMeter120Test::dampingStopsItsTimerWhenSettled()
{
    WidgetTimerService &service = WidgetTimerService::instance();
    const int before = service.activeTimerCount();
    TMeter120 meter;
    meter.setDamping(10);
    QCOMPARE(service.activeTimerCount(), before);   // nothing to move yet
    meter.setValue(100);
    QCOMPARE(service.activeTimerCount(), before + 1);
    WidgetTest::ticks(1000);
    QCOMPARE(meter.ShownValue(), 100.0);
    QCOMPARE(service.activeTimerCount(), before);   // a resting pointer costs no ticks
}

void TMeter120Test::limitEventsOncePerCrossing_data()
{
    QTest::addColumn<int>("damping");
    QTest::newRow("undamped") << 0;
    QTest::newRow("damped") << 3;
}

void TMeter120Test::limitEventsOncePerCrossing()
{
    QFETCH(int, damping);
    TMeter120 meter;
    meter.setUpperLimit(50);
    meter.setLowerLimit(20);
    meter.setValue(30);
    WidgetTest::ticks(300);
    meter.setDamping(damping);
    QSignalSpy upper(&meter, &TMeter120::OnUpperLim);
    QSignalSpy lower(&meter, &TMeter120::OnLowerLim);
    for (const double v : {60.0, 70.0, 55.0, 40.0, 45.0, 10.0, 5.0}) {
        meter.setValue(v);
        WidgetTest::ticks(300);
    }
    QCOMPARE(upper.count(), 2);
    QCOMPARE(upper.at(0).at(0).toBool(), true);
    QCOMPARE(upper.at(1).at(0).toBool(), false);
    QCOMPARE(lower.count(), 1);
    QCOMPARE(lower.at(0).at(0).toBool(), false);
}

void TMeter120Test::scaleEndsAndOutOfScaleEvents()
{
    TMeter120 meter;
    QSignalSpy below(&meter, &TMeter120::OnValueMin);
    QSignalSpy above(&meter, &TMeter120::OnValueMax);
    meter.setValue(150);
    QVERIFY(meter.AboveScale());
    QCOMPARE(meter.pointerAngle(), 120.0);
    meter.setValue(160);
    meter.setValue(-5);
    QVERIFY(meter.BelowScale());
    QVERIFY(!meter.AboveScale());
    QCOMPARE(meter.pointerAngle(), 0.0);
    meter.setValue(std::numeric_limits<double>::quiet_NaN());   // ignored
    QCOMPARE(meter.Value(), -5.0);
    meter.setValue(50);
    QCOMPARE(above.count(), 2);   // out, back in
    QCOMPARE(below.count(), 2);
    meter.setValueEnd(40);   // the scale moved under the value
    QVERIFY(meter.AboveScale());
    QCOMPARE(above.count(), 3);
}

void TMeter120Test::angle_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("degrees");
    QTest::newRow("begin") << 0.0 << 100.0 << false << 0.0 << 0.0;
    QTest::newRow("middle") << 0.0 << 100.0 << false << 50.0 << 60.0;
    QTest::newRow("end") << 0.0 << 100.0 << false << 100.0 << 120.0;
    QTest::newRow("offset scale") << 10.0 << 20.0 << false << 12.5 << 30.0;
    QTest::newRow("no scale length") << 5.0 << 5.0 << false << 7.0 << 0.0;
    QTest::newRow("log decade") << 1.0 << 1000.0 << true << 10.0 << 40.0;
    QTest::newRow("log of 0 rests at the begin") << 1.0 << 1000.0 << true << 0.0 << 0.0;
    QTest::newRow("log from 0 starts at 0.001") << 0.0 << 1000.0 << true << 1.0 << 60.0;
    QTest::newRow("log end not above begin") << 2.0 << 2.0 << true << 20.0 << 60.0;
    QTest::newRow("log end cut to 1000") << 1.0 << 1e6 << true << 1000.0 << 120.0;
    QTest::newRow("log begin above 1000") << 5000.0 << 1e6 << true << std::sqrt(5000.0 * 1e6) << 60.0;
}

void TMeter120Test::angle()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(bool, logarithmic);
    QFETCH(double, value);
    QFETCH(double, degrees);
    QCOMPARE(TMeter120::MeterAngle(start, end, value, logarithmic), degrees);
    TMeter120 meter;
    meter.setValueEnd(end);
    meter.setValueStart(start);
    meter.setNonLinear(logarithmic);
    meter.setValue(value);
    QCOMPARE(meter.pointerAngle(), degrees);
}

void TMeter120Test::peakPointers()
{
    TMeter120 meter;
    meter.setPeakMode(Widgets::TPeakMode::ppPeak);
    meter.setValue(80);
    meter.setValue(30);
    QCOMPARE(meter.PeakValue(), 80.0);
    meter.setValue(500);
    QCOMPARE(meter.PeakValue(), 100.0);   // held on the scale
    meter.resetPeak();
    QCOMPARE(meter.PeakValue(), 100.0);

    meter.setPeakMode(Widgets::TPeakMode::ppDrag);
    meter.setDampPeak(1);
    meter.setValue(0);   // undamped pointer, dragged peak halves its way each step
    QCOMPARE(meter.PeakValue(), 50.0);
    WidgetTest::ticks(1);
    QCOMPARE(meter.PeakValue(), 25.0);
    WidgetTest::ticks(100);
    QCOMPARE(meter.PeakValue(), 0.0);
}

void TMeter120Test::displayDecimals_data()
{
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("shown");
    QTest::addColumn<bool>("fixedPoint");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("small value") << 1000.0 << 7.5 << false << QChar(u'.') << "7.500";
    QTest::newRow("hundreds") << 1000.0 << 250.0 << false << QChar(u'.') << "250.0";
    QTest::newRow("thousands") << 5000.0 << 2500.0 << false << QChar(u'.') << "2500";
    QTest::newRow("fixed by the scale") << 15.0 << 7.5 << true << QChar(u'.') << "7.50";
    QTest::newRow("negative") << 10.0 << -12.25 << false << QChar(u'.') << "-12.25";
    QTest::newRow("comma") << 15.0 << 7.5 << true << QChar(u',') << "7,50";
    QTest::newRow("comma, no decimals") << 5000.0 << 2500.0 << false << QChar(u',') << "2500";
}

void TMeter120Test::displayDecimals()
{
    QFETCH(double, end);
    QFETCH(double, shown);
    QFETCH(bool, fixedPoint);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    TMeter120 meter;
    meter.setValueEnd(end);
    meter.setDispFixPnt(fixedPoint);
    meter.setDecimalSeparator(separator);
    meter.setValue(shown);
    QCOMPARE(meter.displayText(), text);
}

void TMeter120Test::scaleNumbersTakeTheDecimalSeparator()
{
    TMeter120 meter;
    meter.setValueEnd(2.5);
    meter.setScalaPart(5);
    QCOMPARE(meter.scaleLabels(), (QStringList{"0", "0.5", "1", "1.5", "2", "2.5"}));
    meter.setDecimalSeparator(u',');
    QCOMPARE(meter.scaleLabels(), (QStringList{"0", "0,5", "1", "1,5", "2", "2,5"}));
    QCOMPARE(Widgets::scaleNumber(-0.125, u','), QStringLiteral("-0,125"));
    QCOMPARE(Widgets::scaleNumber(1234.5), QStringLiteral("1234.5"));   // never a group separator
}

QTEST_MAIN(TMeter120Test)
#include "TMeter120Test.moc"
