#include "WidgetTestSupport.h"

#include "widgets/TMeterPanelH.h"

#include <QtTest>

class TMeterPanelHTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void pointerPercent_data();
    void pointerPercent();
    void captionKeepsAtMost32Characters();
    void tripAndLimitEvents();
    void scaleNumbersTakeTheDecimalSeparator();
};

void TMeterPanelHTest::scaleNumbersTakeTheDecimalSeparator()
{
    TMeterPanelH meter;
    meter.setValueStart(-0.5);
    meter.setValueEnd(0.5);
    meter.setScalaPart(4);
    meter.setDecimalSeparator(u',');
    QCOMPARE(meter.scaleLabels(), (QStringList{"-0,5", "-0,25", "0", "0,25", "0,5"}));
}

void TMeterPanelHTest::pointerPercent_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("percent");
    QTest::newRow("middle") << 0.0 << 50.0 << 25.0 << 50.0;
    QTest::newRow("past the end") << 0.0 << 50.0 << 60.0 << 100.0;
    QTest::newRow("before the begin") << 0.0 << 50.0 << -1.0 << 0.0;
    QTest::newRow("offset scale") << -10.0 << 10.0 << 5.0 << 75.0;
    QTest::newRow("no scale length") << 3.0 << 3.0 << 3.0 << 0.0;
}

void TMeterPanelHTest::pointerPercent()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, value);
    QFETCH(double, percent);
    TMeterPanelH meter;
    meter.setValueStart(start);
    meter.setValueEnd(end);
    meter.setValue(value);
    QCOMPARE(meter.PointerPercent(), percent);
    const TMeterPanelH::PanelGeometry g = meter.panelGeometry();
    if (g.isValid())
        QCOMPARE(g.xAt(meter.pointerFraction()), g.x0 + percent / 100 * (g.x1 - g.x0));
}

void TMeterPanelHTest::captionKeepsAtMost32Characters()
{
    TMeterPanelH meter;
    meter.setCaption(QString(40, u'm'));
    QCOMPARE(meter.Caption(), QString(32, u'm'));
    // a character outside the basic plane is never cut in half
    meter.setCaption(QString(31, u'x') + QString::fromUtf8("\xF0\x9D\x84\x9E") + "tail");
    QCOMPARE(meter.Caption(), QString(31, u'x'));
    meter.setCaption(QStringLiteral("V"));
    QCOMPARE(meter.Caption(), QStringLiteral("V"));
}

void TMeterPanelHTest::tripAndLimitEvents()
{
    TMeterPanelH meter;   // upper limit 45 by default
    meter.setValueTrip(20);
    meter.setDamping(1);
    QSignalSpy trip(&meter, &TMeterPanelH::OnTrip);
    QSignalSpy upper(&meter, &TMeterPanelH::OnUpperLim);
    meter.setValue(48);
    WidgetTest::ticks(1);
    QCOMPARE(meter.ShownValue(), 24.0);
    QCOMPARE(trip.count(), 1);
    QCOMPARE(upper.count(), 0);
    WidgetTest::ticks(100);
    QCOMPARE(upper.count(), 1);
    meter.setValue(0);
    WidgetTest::ticks(100);
    QCOMPARE(trip.count(), 2);
    QCOMPARE(trip.at(1).at(0).toBool(), false);
    QCOMPARE(upper.count(), 2);
}

QTEST_MAIN(TMeterPanelHTest)
#include "TMeterPanelHTest.moc"
