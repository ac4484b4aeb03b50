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

#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using Widgets::TOrientation;

namespace {

// each control set up the way a page of the program shows it
std::unique_ptr<QWidget> makeWidget(const QString &kind)
{
    if (kind == "TTextSpin") {
        auto w = std::make_unique<TTextSpin>();
        w->setPosText({"Auto | clBlue | 0", "500 (0,5k) | clBlack | 1"});
        w->setColTxtBack(QColor(192, 192, 192));
        w->setFontColor(w->PosColor());
        return w;
    }
    if (kind == "TBevel3D") {
        auto w = std::make_unique<TBevel3D>();
        w->setCaption(QStringLiteral("Nullpunktabgleich"));
        w->setCaptEnable(true);
        return w;
    }
    if (kind == "TLedCheck") {
        auto w = std::make_unique<TLedCheck>();
        w->setCaption(QStringLiteral("Speichern"));
        w->setLedSize(12);
        w->setChecked(true);
        return w;
    }
    if (kind == "TSlideButton") {
        auto w = std::make_unique<TSlideButton>();
        w->setTextPos1(QStringLiteral("Aus"));
        w->setTextPos2(QStringLiteral("Ein"));
        w->setColorPos1(Qt::blue);
        w->setColTextPos1(Qt::yellow);
        return w;
    }
    if (kind == "TArrowBtn") {
        auto w = std::make_unique<TArrowBtn>();
        w->setButtonMode(Widgets::TButtonMode::tbmPushPull);
        w->setColorUp(Qt::red);
        return w;
    }
    if (kind == "TOvalButton") {
        auto w = std::make_unique<TOvalButton>();
        w->setColor(QColor(128, 128, 255));
        return w;
    }
    if (kind == "TInterSpinEdit") {
        auto w = std::make_unique<TInterSpinEdit>();
        w->setValue(0.5 + 1.0 / 1440);
        return w;
    }
    if (kind == "TMeter120") {
        auto w = std::make_unique<TMeter120>();
        w->setValueEnd(15);
        w->setScalaPart(5);
        w->setScalaPsub(4);
        w->setValueMinA(0);
        w->setValueMinE(1);
        w->setValueMidA(7.5);
        w->setValueMidE(9);
        w->setValueMaxA(13.5);
        w->setValueMaxE(15);
        w->setColScala(Qt::black);
        w->setFontColor(QColor(0, 0, 128));
        w->setCaption(QStringLiteral("Ionen/cm³"));
        w->setLedOn1(true);
        w->setValue(9.3);
        return w;
    }
    if (kind == "TMeterPanelH") {
        auto w = std::make_unique<TMeterPanelH>();
        w->setValueEnd(10);
        w->setScalaPart(10);
        w->setUpperLimit(8);
        w->setLowerLimit(2);
        w->setColScala(Qt::black);
        w->setFontColor(Qt::black);
        w->setFontCaptColor(QColor(0, 0, 128));
        w->setCaption(QStringLiteral("Volt"));
        w->setValue(6.5);
        return w;
    }
    return nullptr;
}

// the parts a control lays out; all of them must lie on the control
QList<QRectF> partsOf(QWidget *widget)
{
    QList<QRectF> parts;
    if (auto *w = qobject_cast<TTextSpin *>(widget)) {
        const TTextSpin::Geometry g = w->spinGeometry();
        parts << g.field << g.upBox << g.downBox;
    } else if (auto *w = qobject_cast<TLedCheck *>(widget)) {
        parts << w->ledGeometry().led << w->ledGeometry().caption;
    } else if (auto *w = qobject_cast<TSlideButton *>(widget)) {
        parts << w->slideGeometry().knob << w->slideGeometry().text;
    } else if (auto *w = qobject_cast<TArrowBtn *>(widget)) {
        parts << TArrowBtn::ShapePolygon(w->InnerRect(), w->Shape(), w->Orientation(), true).boundingRect();
    } else if (auto *w = qobject_cast<TMeter120 *>(widget)) {
        const TMeter120::DialGeometry g = w->dialGeometry();
        parts << g.face;
        if (g.isValid()) {
            parts << g.caption << g.display << g.led1 << g.led2;
            for (int i = 0; i <= 12; ++i) {
                const QPointF c = g.labelCentre(i * 10.0);
                parts << QRectF(c - QPointF(g.labelBox.width() / 2, g.labelBox.height() / 2), g.labelBox);
                parts << QRectF(g.pointAt(i * 10.0, g.radius), QSizeF(0.01, 0.01));
            }
        }
    } else if (auto *w = qobject_cast<TMeterPanelH *>(widget)) {
        const TMeterPanelH::PanelGeometry g = w->panelGeometry();
        parts << g.face;
        if (g.isValid()) {
            parts << g.caption << g.led1 << g.led2
                  << QRectF(g.x0 - g.labelBox.width() / 2, g.labelY - g.labelBox.height() / 2, g.x1 - g.x0 + g.labelBox.width(), g.labelBox.height())
                  << QRectF(g.x0, g.pointerTop, g.x1 - g.x0, g.pointerBottom - g.pointerTop);
        }
    }
    return parts;
}

bool framed(QWidget *widget)
{
    return qobject_cast<TRahmen *>(widget) != nullptr;
}

} // namespace

class WidgetRenderTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { WidgetTest::manualTicks(); }

    void gallery_data();
    void gallery();
    void degenerateSizes_data();
    void degenerateSizes();
    void roundMeterPointer_data();
    void roundMeterPointer();
    void panelMeterPointerInTheMiddle_data();
    void panelMeterPointerInTheMiddle();
};

void WidgetRenderTest::gallery_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    const QList<std::pair<QString, QList<QSize>>> kinds{
        {"TTextSpin", {{100, 30}, {260, 56}}},     {"TBevel3D", {{150, 30}, {300, 64}}},
        {"TLedCheck", {{113, 17}, {226, 40}}},     {"TSlideButton", {{40, 65}, {120, 60}}},
        {"TArrowBtn", {{30, 30}, {64, 64}}},       {"TOvalButton", {{25, 25}, {60, 40}}},
        {"TInterSpinEdit", {{90, 24}, {160, 34}}}, {"TMeter120", {{250, 112}, {500, 250}}},
        {"TMeterPanelH", {{250, 73}, {500, 110}}},
    };
    for (const auto &[kind, sizes] : kinds)
        for (const QSize &size : sizes)
            QTest::addRow("%s %dx%d", qPrintable(kind), size.width(), size.height()) << kind << size;
}

void WidgetRenderTest::gallery()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    std::unique_ptr<QWidget> widget = makeWidget(kind);
    QVERIFY(widget);
    widget->resize(size);
    QVERIFY(widget->sizeHint().isValid());
    for (const QRectF &part : partsOf(widget.get()))
        if (!part.isEmpty())
            QVERIFY2(QRectF(widget->rect()).contains(part), qPrintable(kind));

    for (const qreal dpr : {1.0, 1.5, 2.0}) {
        const QImage image = WidgetTest::renderAt(*widget, dpr);
        QCOMPARE(image.size(), (QSizeF(widget->size()) * dpr).toSize());
        if (framed(widget.get())) {
            // a frame covers every pixel of its control, at any ratio: no seams between bands
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixelColor(x, y) == QColor(Qt::magenta))
                        QFAIL(qPrintable(QStringLiteral("unpainted pixel %1,%2 at %3x").arg(x).arg(y).arg(dpr)));
        }
        QVERIFY(WidgetTest::saveScreen(
            image, QStringLiteral("%1_%2x%3@%4x").arg(kind).arg(size.width()).arg(size.height()).arg(dpr)));
    }
}

void WidgetRenderTest::degenerateSizes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    for (const char *kind : {"TTextSpin", "TBevel3D", "TLedCheck", "TSlideButton", "TOvalButton", "TInterSpinEdit",
                                "TMeter120", "TMeterPanelH"})
        for (const QSize &size : {QSize(0, 0), QSize(1, 1), QSize(7, 5), QSize(3, 200), QSize(1500, 9)})
            QTest::addRow("%s %dx%d", kind, size.width(), size.height()) << QString::fromLatin1(kind) << size;
}

void WidgetRenderTest::degenerateSizes()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    std::unique_ptr<QWidget> widget = makeWidget(kind);
    widget->resize(size);
    for (const QRectF &part : partsOf(widget.get()))
        if (!part.isEmpty())
            QVERIFY2(QRectF(widget->rect()).contains(part), qPrintable(kind));
    if (size.isEmpty())
        return;
    (void)WidgetTest::renderAt(*widget, 1.5);
}

void WidgetRenderTest::roundMeterPointer_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<TOrientation>("orientation");
    QTest::addColumn<qreal>("dpr");
    for (const qreal dpr : {1.0, 1.5, 2.0})
        for (const double fraction : {0.0, 0.5, 1.0}) {
            QTest::addRow("top %g%% %gx", fraction * 100, dpr) << fraction << TOrientation::orTop << dpr;
            QTest::addRow("right %g%% %gx", fraction * 100, dpr) << fraction << TOrientation::orRight << dpr;
        }
}

void WidgetRenderTest::roundMeterPointer()
{
    QFETCH(double, fraction);
    QFETCH(TOrientation, orientation);
    QFETCH(qreal, dpr);
    TMeter120 meter;
    meter.resize(orientation == TOrientation::orTop ? QSize(300, 150) : QSize(170, 300));
    meter.setOrientation(orientation);
    meter.setValueStart(20);
    meter.setValueEnd(70);
    meter.setColMin(Qt::white);   // nothing red on the face but the pointer
    meter.setColMax(Qt::white);
    meter.setColScala(Qt::black);
    meter.setColPointer(QColor(255, 0, 0));
    meter.setDispEnable(false);
    meter.setLedEnable(false);
    meter.setCaption(QString());
    meter.setValue(20 + fraction * 50);
    const TMeter120::DialGeometry g = meter.dialGeometry();
    QVERIFY(g.isValid());
    const QImage image = WidgetTest::renderAt(meter, dpr);
    const QColor red(255, 0, 0);
    const double along = 120 * fraction;
    // where the pointer must be on the screen: from upper left to upper right on a
    // top scale, from lower right to upper right on a right one
    const double screen = qDegreesToRadians(orientation == TOrientation::orTop ? 150 - along : 300 + along);
    const QPointF expected = g.centre + 0.6 * g.radius * QPointF(std::cos(screen), -std::sin(screen));
    QVERIFY(WidgetTest::colourAround(image, expected, red));
    QVERIFY(WidgetTest::colourAround(image, g.pointAt(along, 0.75 * g.radius), red));
    QVERIFY(WidgetTest::colourAround(image, g.pointAt(along, 0.4 * g.radius), red));
    for (const double elsewhere : {along - 30, along + 30, 120 - along})
        if (elsewhere >= 0 && elsewhere <= 120 && std::abs(elsewhere - along) > 1)
            QVERIFY(!WidgetTest::colourAround(image, g.pointAt(elsewhere, 0.75 * g.radius), red));
    if (fraction == 0.5 && dpr == 2.0)
        WidgetTest::saveScreen(image, QStringLiteral("TMeter120_pointer_%1@2x").arg(orientation == TOrientation::orTop ? "top" : "right"));
}

void WidgetRenderTest::panelMeterPointerInTheMiddle_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("dpr");
    QTest::newRow("default size") << QSize(250, 73) << 1.0;
    QTest::newRow("default size 1.5x") << QSize(250, 73) << 1.5;
    QTest::newRow("large 2x") << QSize(500, 110) << 2.0;
}

void WidgetRenderTest::panelMeterPointerInTheMiddle()
{
    QFETCH(QSize, size);
    QFETCH(qreal, dpr);
    TMeterPanelH meter;
    meter.resize(size);
    meter.setColScala(Qt::black);
    meter.setLedEnable(false);
    meter.setValue(25);   // of 0 ... 50
    const TMeterPanelH::PanelGeometry g = meter.panelGeometry();
    QVERIFY(g.isValid());
    const double x = g.xAt(meter.pointerFraction());
    QVERIFY(std::abs(x - g.face.center().x()) < 0.5);
    const QImage image = WidgetTest::renderAt(meter, dpr);
    const double y = (g.pointerTop + g.pointerBottom) / 2;
    QVERIFY(WidgetTest::colourAround(image, {x, y}, Qt::red));
    QVERIFY(!WidgetTest::colourAround(image, {g.xAt(0.3), y}, Qt::red));
    QVERIFY(!WidgetTest::colourAround(image, {g.xAt(0.7), y}, Qt::red));
}

QTEST_MAIN(WidgetRenderTest)
#include "WidgetRenderTest.moc"
