#include "WidgetTestSupport.h"

#include "widgets/TInstrumentBase.h"
#include "widgets/TRahmen.h"

#include <QtTest>

using Widgets::TBevelCut;

class TRahmenTest : public QObject
{
    Q_OBJECT

private slots:
    void innerRect_data();
    void innerRect();
    void sidesWithoutBandsReachTheEdge_data();
    void sidesWithoutBandsReachTheEdge();
    void autoFontFitsHeight_data();
    void autoFontFitsHeight();
    void instrumentFaceIsCachedPerPixelRatio();
};

void TRahmenTest::innerRect_data()
{
    QTest::addColumn<TBevelCut>("bevelIn");
    QTest::addColumn<int>("bevWidth");
    QTest::addColumn<int>("bordWidth");
    QTest::addColumn<QList<bool>>("sides");   // left, top, right, bottom
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("inner");
    const QList<bool> all{true, true, true, true};
    QTest::newRow("defaults") << TBevelCut::bvNone << 2 << 2 << all << QSize(200, 100) << QRect(4, 4, 192, 92);
    QTest::newRow("inner bevel") << TBevelCut::bvRaised << 2 << 2 << all << QSize(200, 100) << QRect(6, 6, 188, 88);
    QTest::newRow("no left side") << TBevelCut::bvRaised << 2 << 2 << QList<bool>{false, true, true, true}
                                  << QSize(200, 100) << QRect(0, 6, 194, 88);
    QTest::newRow("no sides") << TBevelCut::bvRaised << 3 << 1 << QList<bool>{false, false, false, false}
                              << QSize(50, 20) << QRect(0, 0, 50, 20);
    QTest::newRow("bands wider than the control") << TBevelCut::bvRaised << 40 << 40 << all << QSize(50, 20)
                                                  << QRect(25, 10, 0, 0);
    QTest::newRow("zero size") << TBevelCut::bvNone << 2 << 2 << all << QSize(0, 0) << QRect(2, 2, 0, 0);
}

void TRahmenTest::innerRect()
{
    QFETCH(TBevelCut, bevelIn);
    QFETCH(int, bevWidth);
    QFETCH(int, bordWidth);
    QFETCH(QList<bool>, sides);
    QFETCH(QSize, size);
    QFETCH(QRect, inner);
    TRahmen frame;
    frame.setBevelIn(bevelIn);
    frame.setBevWidth(bevWidth);
    frame.setBordWidth(bordWidth);
    frame.setBordLeft(sides[0]);
    frame.setBordTop(sides[1]);
    frame.setBordRight(sides[2]);
    frame.setBordBottom(sides[3]);
    frame.resize(size);
    const QRect r = frame.InnerRect();
    QCOMPARE(r.size(), inner.size());
    if (!inner.isEmpty())
        QCOMPARE(r, inner);
    QVERIFY(r.width() >= 0 && r.height() >= 0);
}

void TRahmenTest::sidesWithoutBandsReachTheEdge_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<qreal>("dpr");
    QTest::newRow("left side framed") << true << 1.0;
    QTest::newRow("left side open") << false << 1.0;
    QTest::newRow("left side open, 2x") << false << 2.0;
}

void TRahmenTest::sidesWithoutBandsReachTheEdge()
{
    QFETCH(bool, left);
    QFETCH(qreal, dpr);
    TRahmen frame;
    frame.resize(60, 40);
    frame.setColBgnd(QColor(10, 200, 30));
    frame.setBordLeft(left);
    const QImage image = WidgetTest::renderAt(frame, dpr);
    const QPalette &pal = frame.palette();
    auto rgb = [&](QPointF p) { return WidgetTest::pixelAt(image, p).rgb(); };
    // the raised outer bevel: light on top, dark on the right
    QCOMPARE(rgb({30, 0}), pal.color(QPalette::Light).rgb());
    QCOMPARE(rgb({59, 20}), pal.color(QPalette::Dark).rgb());
    QCOMPARE(rgb({2, 20}), left ? pal.color(QPalette::Button).rgb() : qRgb(10, 200, 30));
    QCOMPARE(rgb({0, 20}), left ? pal.color(QPalette::Light).rgb() : qRgb(10, 200, 30));
}

void TRahmenTest::autoFontFitsHeight_data()
{
    QTest::addColumn<int>("basePixels");
    QTest::addColumn<int>("height");
    QTest::newRow("shrinks") << 30 << 12;
    QTest::newRow("grows") << 8 << 40;
    QTest::newRow("already fits") << 11 << 12;
    QTest::newRow("no height") << 12 << 0;
}

void TRahmenTest::autoFontFitsHeight()
{
    QFETCH(int, basePixels);
    QFETCH(int, height);
    QFont base;
    base.setPixelSize(basePixels);
    const int px = TRahmen::AutoFont(base, height).pixelSize();
    QVERIFY(px >= 1);
    if (height <= 0)
        return;
    if (height < basePixels) {
        // the largest size below the base whose 1.1 times fits
        QVERIFY(height >= qRound(1.1 * px) || px == 1);
        QVERIFY(height < qRound(1.1 * (px + 1)));
    } else {
        // the smallest size from the base up whose 1.1 times reaches the height
        QVERIFY(qRound(1.1 * px) >= height);
        QVERIFY(px == basePixels || qRound(1.1 * (px - 1)) < height);
    }
}

void TRahmenTest::instrumentFaceIsCachedPerPixelRatio()
{
    TInstrumentBase instrument;
    instrument.resize(80, 40);
    QVERIFY(!instrument.hasCachedFace());
    (void)WidgetTest::renderAt(instrument, 1.0);
    QVERIFY(instrument.hasCachedFace());
    // a 2x target rebuilds the face in device pixels: the bevel stays one band of 2 pixels
    const QImage two = WidgetTest::renderAt(instrument, 2.0);
    QCOMPARE(instrument.cachedFaceRatio(), 2.0);   // not the 1x face scaled up
    const QPalette &pal = instrument.palette();
    QCOMPARE(two.pixel(0, 40), pal.color(QPalette::Light).rgb());
    QCOMPARE(two.pixel(3, 40), pal.color(QPalette::Light).rgb());
    QCOMPARE(two.pixel(4, 40), pal.color(QPalette::Button).rgb());
    // a stale face would keep the old right edge and colour
    instrument.resize(90, 40);
    instrument.setColBgnd(Qt::red);
    const QImage wider = WidgetTest::renderAt(instrument, 1.0);
    QCOMPARE(wider.pixel(89, 20), pal.color(QPalette::Dark).rgb());
    QCOMPARE(wider.pixel(45, 20), qRgb(255, 0, 0));
}

QTEST_MAIN(TRahmenTest)
#include "TRahmenTest.moc"
