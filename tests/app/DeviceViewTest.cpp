// The device view and the sensor window driven like a user would, against the stand-in instrument.
#include "app/DeviceViewPage.h"
#include "app/StatusLine.h"
#include "app/TForm1.h"
#include "app/TFormSens.h"
#include "lang/GermanTexts.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"
#include "WindowFixture.h"
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/TMeterPanelH.h"
#include "widgets/TOvalButton.h"
#include "widgets/TSlideButton.h"
#include "widgets/TTextSpin.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class DeviceViewTest : public WindowFixture
{
    Q_OBJECT
    DeviceViewPage *m_page = nullptr;
    TFormSens *m_sens = nullptr;

    void key(int k, QWidget *to = nullptr)
    {
        QTest::keyClick(to ? to : m_form.get(), Qt::Key(k));
    }
    void showPage()
    {
        m_form->pages()->setCurrentWidget(m_form->TabInfo);
        QCoreApplication::processEvents();
    }
    void setLive(bool on)
    {
        if (m_page->liveUpdateOn() != on)
            key(Qt::Key_F8);
        QCOMPARE(m_page->liveUpdateOn(), on);
    }
    // the view state by F7 on the page, stepping through the cycle
    void viewState(int state)
    {
        for (int i = 0; i < 4 && m_page->ViewState() != state; ++i)
            key(Qt::Key_F7);
        QCoreApplication::processEvents();
        QCOMPARE(m_page->ViewState(), state);
    }
    void setAnalogEdits(const char *valZero, const char *val10, const char *scaleZero, const char *scaleEnd,
                        const char *parts, const char *valueZero, const char *valueEnd)
    {
        m_form->txtAnaValZero->setText(valZero);
        m_form->txtAnaVal10->setText(val10);
        m_form->txtScaleZero->setText(scaleZero);
        m_form->txtScaleEnd->setText(scaleEnd);
        m_form->txtScaleParts->setText(parts);
        m_form->txtValueScaleZero->setText(valueZero);
        m_form->txtValueScaleEnd->setText(valueEnd);
        m_page->TabInfoShow();
    }
    void live(const char *reply)
    {
        Measure::ParseCurrentValues(QString::fromLatin1(reply), *m_page, m_form->engine());
    }
    // the device view, and beside it the sensor window when that is open
    void shoot(const QString &name)
    {
        QCoreApplication::processEvents();
        const QPixmap main = m_form->grab();
        QPixmap shot = main;
        if (m_sens->isVisible()) {
            const QPixmap sens = m_sens->grab();
            shot = QPixmap(main.width(), main.height() + sens.height() + 8);
            shot.fill(Qt::darkGray);
            QPainter p(&shot);
            p.drawPixmap(0, 0, main);
            p.drawPixmap(0, main.height() + 8, sens);
        }
        QVERIFY(shot.save(QStringLiteral(QT8800_SCREENS "/%1.png").arg(name)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_instrument.fillDemoMemory();
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        QVERIFY(showWindow(windowOptions(), QSize(760, 540)));
        m_page = m_form->devicePage();
        m_sens = m_form->sensorWindow();
        QVERIFY(m_page && m_sens);
        QCOMPARE(m_form->pages()->indexOf(m_page), 3);
        QVERIFY(idle());
    }

    void startsSwitchedOffWithTheIonsOnly()
    {
        QCOMPARE(m_page->btnInfo->shownText(), QStringLiteral("Aus"));
        QVERIFY(!m_page->ledMain->Checked());
        QVERIFY(!m_form->DeviceViewActive);
        QCOMPARE(m_page->ViewState(), 0);
        QCOMPARE(m_page->anzeige->Value(), 0.0);
        QCOMPARE(m_page->mpAna->Value(), 0.0);
        QVERIFY(!m_sens->isVisible());
        // the object names other code finds the page's controls by
        for (const char *name : {"lblRange", "lblPol", "lblAlarm", "ledAlarm", "panAnalog", "anzeige", "mpAna",
                                 "lblAnaName", "btnInfo", "ledMain", "Splitter1", "imgLogo", "lblIScale", "Label38"})
            QVERIFY2(m_form->findChild<QWidget *>(name), name);
        QCOMPARE(m_form->lblAlarm, m_page->lblAlarm);
        QCOMPARE(m_page->analogHeight(), m_form->param().AnalogPanelHeight);   // as the parameter record keeps it
        QCOMPARE(m_page->imgLogo->pixmap().size(), QSize(32, 32));
    }

    void functionKeysDoNothingOnAnotherPage()
    {
        m_form->pages()->setCurrentIndex(0);
        m_requests.clear();
        const int pol = m_form->tsPol->Position();
        const int range = m_form->tsRange->Position();
        for (int k = Qt::Key_F7; k <= Qt::Key_F12; ++k)
            key(k);
        QTest::qWait(150);
        QVERIFY(idle());
        QCOMPARE(codes(), QStringList());
        QCOMPARE(m_page->ViewState(), 0);
        QVERIFY(!m_page->liveUpdateOn());
        QVERIFY(!m_form->DeviceViewActive);
        QVERIFY(!m_sens->isVisible());
        QCOMPARE(m_form->tsPol->Position(), pol);
        QCOMPARE(m_form->tsRange->Position(), range);
    }

    void polarityKeyTwiceReturnsAndSendsTwice()
    {
        showPage();
        m_form->tsPol->setPosition(0);
        m_instrument.polarity = 0;
        m_requests.clear();
        key(Qt::Key_F9);
        QVERIFY(idle());
        QCOMPARE(m_instrument.polarity, 1);
        QCOMPARE(m_form->lblPol->text(), QStringLiteral("Negativ"));      // from the echo
        key(Qt::Key_F9);
        QVERIFY(idle());
        QCOMPARE(m_instrument.polarity, 0);
        QCOMPARE(m_form->tsPol->Position(), 0);
        QCOMPARE(requests("SIP"), 2);
        // the key on the page does the same as the function key
        QTest::mouseClick(m_page->btnPol, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_instrument.polarity, 1);
        key(Qt::Key_F9);
        QVERIFY(idle());
    }

    void rangeKeysStopAtAutoAndWrapFromTheLargest()
    {
        showPage();
        m_requests.clear();
        m_form->tsRange->setPosition(0);
        m_instrument.range = 4;
        m_form->StatusMessage(QStringLiteral("vorher"), false);
        key(Qt::Key_F10);                                                // Auto stays Auto, still sent
        QVERIFY(idle());
        QCOMPARE(m_form->tsRange->Position(), 0);
        QCOMPARE(m_instrument.range, 0);
        QCOMPARE(requests("SRA"), 1);
        QCOMPARE(message(), QString());                                  // F10 clears the status line

        m_form->tsRange->setPosition(9);
        m_form->StatusMessage(QStringLiteral("bleibt"), false);
        key(Qt::Key_F11);                                                // 5M wraps to Auto
        QVERIFY(idle());
        QCOMPARE(m_form->tsRange->Position(), 0);
        QCOMPARE(m_instrument.range, 0);
        QCOMPARE(message(), QStringLiteral("bleibt"));                   // F11 leaves it
        key(Qt::Key_F11);
        key(Qt::Key_F11);
        QVERIFY(idle());
        QCOMPARE(m_instrument.range, 2);
        QTest::mouseClick(m_page->btnRaMin, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_instrument.range, 1);
        QCOMPARE(requests("SRA"), 5);
        QCOMPARE(m_form->lblRange->text(), QStringLiteral("0,5 k"));     // the echo's range name
    }

    void zeroKeyStartsTheZeroAdjustment()
    {
        showPage();
        m_requests.clear();
        key(Qt::Key_F12);
        QVERIFY(idle());
        QCOMPARE(codes(), QStringList{QStringLiteral("SZA")});
        QCOMPARE(message(), Lang::Text(Lang::TxZeroStarted));
    }

    void fourViewStatesAndTheSensorWindow()
    {
        showPage();
        viewState(3);
        key(Qt::Key_F7);
        QCOMPARE(m_page->ViewState(), 0);
        QTRY_COMPARE(m_form->panAnalog->height(), 0);
        key(Qt::Key_F7);
        QTRY_COMPARE(m_form->panAnalog->height(), DeviceViewPage::kAnalogHeight);
        QVERIFY(!m_sens->isVisible());
        key(Qt::Key_F7);
        QCOMPARE(m_page->ViewState(), 2);
        QVERIFY(m_sens->isVisible());
        // the window holds its grid exactly, and no cell takes the highlight
        QTRY_COMPARE(m_sens->sg1->horizontalHeader()->length(), m_sens->sg1->viewport()->width());
        QCOMPARE(m_sens->sg1->verticalHeader()->length(), m_sens->sg1->viewport()->height());
        QVERIFY(!m_sens->sg1->currentItem());
        QCOMPARE(m_form->panAnalog->height(), DeviceViewPage::kAnalogHeight);
        QVERIFY(!m_sens->parentWidget());                                // a window of its own
        QVERIFY(m_sens->isWindow());

        // F7 in the sensor window, wherever its focus is, steps on and leaves it shown
        m_sens->activateWindow();
        m_sens->sg1->setFocus();
        key(Qt::Key_F7, m_sens->sg1);
        QCOMPARE(m_page->ViewState(), 3);
        QVERIFY(m_sens->isVisible());
        QTRY_COMPARE(m_form->panAnalog->height(), 0);
        // closing it keeps the state; the next F7 goes on from there
        QTest::mouseClick(m_sens->btnClose, Qt::LeftButton);
        QVERIFY(!m_sens->isVisible());
        QCOMPARE(m_page->ViewState(), 3);
        QApplication::setActiveWindow(m_form.get());
        key(Qt::Key_F7);
        QCOMPARE(m_page->ViewState(), 0);
        QVERIFY(!m_sens->isVisible());

        // four presses bring back the ions-only view
        for (int i = 0; i < 4; ++i)
            key(Qt::Key_F7);
        QCoreApplication::processEvents();
        QCOMPARE(m_page->ViewState(), 0);
        QVERIFY(!m_sens->isVisible());
        QCOMPARE(m_form->panAnalog->height(), 0);
        QCOMPARE(m_form->param().AnalogPanelHeight, 0);                  // kept for the next start

        // from the sensor window the view steps on while another page is shown; the height is kept
        key(Qt::Key_F7);
        key(Qt::Key_F7);
        QCOMPARE(m_page->ViewState(), 2);
        m_form->pages()->setCurrentIndex(0);
        key(Qt::Key_F7, m_sens->btnClose);
        QCOMPARE(m_page->ViewState(), 3);
        QCOMPARE(m_form->param().AnalogPanelHeight, 0);
        key(Qt::Key_F7);                                                 // the main window's F7 does nothing here
        QCOMPARE(m_page->ViewState(), 3);
        showPage();
        key(Qt::Key_F7);
        QCOMPARE(m_page->ViewState(), 0);
        QVERIFY(!m_sens->isVisible());
    }

    void layoutFollowsTheResizeRules()
    {
        showPage();
        viewState(1);
        QWidget *anz = m_page->panAnzeige;
        for (const auto &[height, bar] :
             {std::pair{140, 44}, std::pair{320, 64}, std::pair{200, 63}, std::pair{900, 64}}) {
            anz->resize(400, height);
            QCOMPARE(m_page->panAnzBar->geometry(), QRect(0, height - bar, 400, bar));
            QCOMPARE(m_page->anzeige->geometry(), QRect(0, 0, 400, height - bar));
            QCOMPARE(m_page->panAnzBarIn->geometry(), QRect(8, 8, 384, bar - 16));
            const int logo = std::clamp(bar - 32, 8, 32);
            QCOMPARE(m_page->imgLogo->geometry(), QRect(8, (bar - 16 - logo) / 2, logo, logo));
            const QLabel *factor = m_page->lblIScale;
            QCOMPARE(factor->x(), (384 - factor->width()) / 2);
            QCOMPARE(factor->y(), (bar - 16 - factor->height()) / 2);
            QVERIFY(m_page->Label38->geometry().right() < 384);
        }

        // a tall analogue panel gives the meter the room above the name
        QWidget *ana = m_page->panAnalog;
        ana->resize(400, 140);
        const int name = m_page->lblAnaName->height();
        QCOMPARE(m_page->mpAna->geometry(), QRect(0, 0, 400, 140 - name));
        QCOMPARE(m_page->lblAnaName->y(), 140 - name);
        ana->resize(400, 60);                                             // not above 85: the meter keeps its size
        QCOMPARE(m_page->mpAna->height(), DeviceViewPage::kAnalogHeight - name);

        // the window grows: the analogue panel keeps its height, the round meter takes the rest
        m_form->resize(m_form->width() + 40, m_form->height() + 60);
        QTRY_COMPARE(m_page->panAnalog->height(), DeviceViewPage::kAnalogHeight);
        QTRY_COMPARE(m_page->anzeige->height() + m_page->panAnzBar->height(), m_page->panAnzeige->height());
        m_form->resize(m_form->width() - 40, m_form->height() - 60);
        QTRY_COMPARE(m_page->panAnalog->height(), DeviceViewPage::kAnalogHeight);
        QCOMPARE(m_form->param().AnalogPanelHeight, DeviceViewPage::kAnalogHeight);

        // dragging the splitter sets a new height that is kept
        QSplitterHandle *handle = m_page->Splitter1->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip - QPoint(0, 30));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(0, 30));
        QTRY_COMPARE(m_page->panAnalog->height(), DeviceViewPage::kAnalogHeight + 30);
        QCOMPARE(m_page->analogHeight(), DeviceViewPage::kAnalogHeight + 30);

        // a tall analogue panel in a large window leaves the round meter its room when the
        // window shrinks, and again when the saved height comes back at the next start
        m_form->resize(m_form->width(), m_form->height() + 300);
        m_page->setAnalogHeight(DeviceViewPage::kAnalogHeight + 300);
        m_form->resize(m_form->width(), m_form->height() - 300);
        QTRY_VERIFY(m_page->panAnzeige->height() >= DeviceViewPage::kMinMeterHeight);
        QCOMPARE(m_form->param().AnalogPanelHeight, DeviceViewPage::kAnalogHeight + 300);
        m_page->setAnalogHeight(m_form->param().AnalogPanelHeight);
        QVERIFY(m_page->panAnzeige->height() >= DeviceViewPage::kMinMeterHeight);
        m_page->setAnalogHeight(DeviceViewPage::kAnalogHeight);
        viewState(0);
    }

    void liveValuesMoveBothMetersAndFillTheSensorGrid()
    {
        showPage();
        viewState(1);
        m_form->param().MeasureInterval = 0.5f;
        m_form->txtAnaName->setText(QStringLiteral("CO2-Monitor"));
        m_form->txtAnaUnit->setText(QStringLiteral("ppm"));
        setAnalogEdits("0", "100", "0", "50", "5", "0", "100");         // 2..3 V read 20..30 ppm, 10..15 on the meter
        QCOMPARE(m_page->lblAnaName->text(), QStringLiteral("CO2-Monitor"));
        QCOMPARE(m_page->mpAna->Caption(), QStringLiteral("ppm"));
        m_instrument.range = 5;
        m_instrument.ionValue = 30000;
        m_instrument.liveSensors = {{3, 45.6}, {19, 21.5}};
        m_requests.clear();

        key(Qt::Key_F8);
        QVERIFY(m_page->ledMain->Checked());
        QVERIFY(m_form->DeviceViewActive);
        QTRY_VERIFY(m_page->anzeige->Value() > 0);
        QTRY_VERIFY(m_page->mpAna->Value() > 0);
        QCOMPARE(m_form->lblRange->text(), QStringLiteral("50 k"));
        QCOMPARE(m_page->lblIScale->text(), QStringLiteral("Faktor:  1000"));
        QCOMPARE(m_page->anzeige->ValueEnd(), 50.0);
        QCOMPARE(m_page->anzeige->ScalaPsub(), 4);
        QCOMPARE(m_form->lblPol->text(), QStringLiteral("Positiv"));
        QCOMPARE(m_form->lblAlarm->alignment(), Qt::AlignRight | Qt::AlignVCenter);

        // both meters move with the readings: the shown ion value over the range's divisor,
        // the analogue reading within its scaled band
        QSet<double> ions, analog;
        const int before = requests("GAM");
        for (int step = 0; step < 65; ++step) {                          // 2.6 s of the window's timer
            QVERIFY(tick(1));
            const int ion = m_form->lblAlarm->text().trimmed().toInt();
            QCOMPARE(m_page->anzeige->Value(), ion / 1000.0);
            ions.insert(m_page->anzeige->Value());
            analog.insert(m_page->mpAna->Value());
            QVERIFY(m_page->mpAna->Value() >= 9.99 && m_page->mpAna->Value() <= 15.01);
        }
        QVERIFY2(ions.size() >= 3, qPrintable(QString::number(ions.size())));
        QVERIFY(analog.size() >= 3);
        // a query every half second: five in 2.6 s
        QCOMPARE(requests("GAM") - before, 5);
        if (!m_form->cboQTTime->isChecked())
            QCOMPARE(requests("GST"), requests("GAM"));                  // the status comes with every query

        QCOMPARE(m_sens->cellText(4, TFormSens::kHumidityRow), QStringLiteral(" 45.6"));
        QCOMPARE(m_sens->cellText(4, TFormSens::kTemperatureRow), QStringLiteral(" 21.5"));
        QCOMPARE(m_sens->cellText(1, TFormSens::kHumidityRow), QString());  // never reported

        shoot(QStringLiteral("deviceview-state1"));
        key(Qt::Key_F7);
        QVERIFY(m_sens->isVisible());
        QVERIFY(tick(15));
        shoot(QStringLiteral("deviceview-state2"));
        key(Qt::Key_F7);
        key(Qt::Key_F7);
        QTRY_COMPARE(m_form->panAnalog->height(), 0);
        QVERIFY(tick(15));
        shoot(QStringLiteral("deviceview-state0"));

        // switched off: no more queries, both meters back to 0 on the next tick
        key(Qt::Key_F8);
        QVERIFY(!m_page->ledMain->Checked());
        QVERIFY(!m_form->DeviceViewActive);
        QTRY_COMPARE(m_page->anzeige->Value(), 0.0);
        QTRY_COMPARE(m_page->mpAna->Value(), 0.0);
        QVERIFY(idle());
        const int after = requests("GAM");
        QVERIFY(tick(20));
        QCOMPARE(requests("GAM"), after);
        QTRY_COMPARE(m_form->lblAlarm->text(), QString());
    }

    void sensorBoundsShowQuestionMarks()
    {
        showPage();
        m_instrument.liveSensors = {{0, 999.0}, {1, 998.0}, {2, 1000.0}, {15, 12.3},
                                    {16, 99.9}, {17, 100.0}, {18, 99.8}, {19, 99.7}, {31, -5.0}};
        setLive(true);
        QTRY_COMPARE(m_sens->cellText(1, TFormSens::kHumidityRow), QStringLiteral("???"));
        QCOMPARE(m_sens->cellText(2, TFormSens::kHumidityRow), QStringLiteral("998.0"));
        QCOMPARE(m_sens->cellText(3, TFormSens::kHumidityRow), QStringLiteral("1000.0"));
        QCOMPARE(m_sens->cellText(16, TFormSens::kHumidityRow), QStringLiteral(" 12.3"));
        QCOMPARE(m_sens->cellText(1, TFormSens::kTemperatureRow), QStringLiteral("???"));
        QCOMPARE(m_sens->cellText(2, TFormSens::kTemperatureRow), QStringLiteral("100.0"));
        QCOMPARE(m_sens->cellText(3, TFormSens::kTemperatureRow), QStringLiteral("???"));   // 99.8 as a float
        QCOMPARE(m_sens->cellText(4, TFormSens::kTemperatureRow), QStringLiteral(" 99.7"));
        QCOMPARE(m_sens->cellText(16, TFormSens::kTemperatureRow), QStringLiteral(" -5.0"));
        // the program's decimal separator
        m_form->tsDecimalSep->setPosition(1);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
        QTRY_COMPARE(m_sens->cellText(4, TFormSens::kTemperatureRow), QStringLiteral(" 99,7"));
        m_form->tsDecimalSep->setPosition(0);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
        setLive(false);
        QVERIFY(idle());
        // the grid's fixed titles
        QCOMPARE(m_sens->cellText(0, 0), QStringLiteral("  Adresse"));
        QCOMPARE(m_sens->cellText(0, 2), QStringLiteral("  Temperatur in °C"));
        QCOMPARE(m_sens->cellText(11, 0), QStringLiteral("A"));
        QCOMPARE(m_sens->sg1->columnCount(), 17);
        // 95 and 30 pixels at least, and wide enough that no reading is cut to "..."
        QVERIFY(m_sens->sg1->columnWidth(0) >= 95);
        QVERIFY(m_sens->sg1->columnWidth(16) >= 30);
        const QFontMetrics metrics(m_sens->sg1->font());
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 17; ++column)
                QVERIFY(metrics.horizontalAdvance(m_sens->cellText(column, row)) < m_sens->sg1->columnWidth(column));
        QVERIFY(m_sens->width() >= m_sens->sg1->columnWidth(0) + 16 * m_sens->sg1->columnWidth(1));
        QCOMPARE(m_sens->sg1->rowHeight(1), 24);
        QCOMPARE(m_sens->windowTitle(), QStringLiteral("QT 8800  Sensoren"));
    }

    void alarmsRotateInTheDisplayWindow()
    {
        showPage();
        m_instrument.alarmMask = 129;
        QTest::mouseClick(m_page->btnInfo, Qt::LeftButton);              // the switch as the user moves it
        QCOMPARE(m_page->btnInfo->shownText(), QStringLiteral("Ein"));
        QVERIFY(m_page->ledMain->Checked());
        QVERIFY(m_form->DeviceViewActive);
        QTRY_COMPARE(m_form->state().AlarmTexts.size(), 2);
        QTRY_COMPARE(m_form->lblAlarm->text(), QStringLiteral("Messwertüberlauf"));
        QVERIFY(tickUntil([this] { return m_form->lblAlarm->text() == QStringLiteral("Störung Sensor-Bus"); }, 62));
        QCOMPARE(m_form->lblAlarm->alignment(), Qt::AlignCenter);
        QVERIFY(m_page->ledAlarm->Checked());
        QVERIFY(m_page->ledAlarm->LedBlink());
        // live values go on arriving but leave the alarm text in place
        const int gam = requests("GAM");
        QVERIFY(tickUntil([&] { return requests("GAM") > gam + 1; }, 125));
        QVERIFY(!m_form->lblAlarm->text().endsWith(QStringLiteral("     ")));
        // the status comes twice a second, the text changes once a second
        int changes = 0;
        QString shown = m_form->lblAlarm->text();
        QElapsedTimer clock;
        for (clock.start(); clock.elapsed() < 3000; QTest::qWait(20)) {
            const QString now = m_form->lblAlarm->text();
            changes += int(now != std::exchange(shown, now));
        }
        QVERIFY2(changes >= 2 && changes <= 4, qPrintable(QString::number(changes)));

        m_instrument.alarmMask = 0;
        QTRY_VERIFY(m_form->state().AlarmTexts.isEmpty());
        QTRY_VERIFY(m_form->lblAlarm->text().endsWith(QStringLiteral("     ")));
        QTRY_VERIFY(!m_page->ledAlarm->Checked());
        setLive(false);
        QVERIFY(idle());
    }

    void badLiveRepliesChangeNothing()
    {
        showPage();
        setAnalogEdits("0", "10", "0", "10", "10", "0", "10");
        live("TAM;4;-;7000;+2.5;03:40.0;");
        QCOMPARE(m_form->lblRange->text(), QStringLiteral("15 k"));
        QCOMPARE(m_page->anzeige->Value(), 7.0);
        QCOMPARE(m_page->mpAna->Value(), 2.5);
        const struct
        {
            const char *reply;
            const char *message;
        } bad[] = {
            {"TAM;x;+;100;", "ConvertError: RangeToken"},
            {"TAM;10;+;100;", "ConvertError: RangeToken"},
            {"TAM;-1;+;100;", "ConvertError: RangeToken"},
            {"TAM;99999999999;+;100;", "ConvertError: RangeToken"},
            {"TAM;5;*;100;", "ConvertError: PolarityToken"},
            {"TAM;5;+;1e3;", "ConvertError: ValueToken"},
            {"TAM;5", "No ValueToken No 4"},
            {"TAM;5;+;100;03:4x;", "Error Value: 03:4x, Token: 5 "},
            {"TAM;5;+;100;1:2:3;", "Unknown Measure Type: 1:2:3, Token: 5 "},
            {"TAM;5;+;100;40:1.0;", "Unknown Measure Type: 40:1.0, Token: 5 "},
            {"TAM;5;+;100;;03:50.0;", "Error Value: , Token: 5 "},
            {"", "No ValueToken No 4"},
        };
        for (const auto &b : bad) {
            m_form->StatusClear();
            live(b.reply);
            QCOMPARE(message(), QString::fromLatin1(b.message));
            QCOMPARE(m_form->statusLine()->panel(StatusLine::MessagePanel).state, 1);
            QCOMPARE(m_form->lblRange->text(), QStringLiteral("15 k"));
            QCOMPARE(m_form->lblPol->text(), QStringLiteral("Negativ"));
            QCOMPARE(m_page->anzeige->Value(), 7.0);
            QCOMPARE(m_page->mpAna->Value(), 2.5);
            QCOMPARE(m_sens->cellText(4, TFormSens::kHumidityRow), QStringLiteral(" 40.0"));
        }

        // a range outside 0-9 from the stand-in: reported, the page keeps what it showed
        m_instrument.range = 11;
        m_instrument.faults = {};
        setLive(true);
        QTRY_COMPARE(message(), QStringLiteral("ConvertError: RangeToken"));
        QCOMPARE(m_form->lblRange->text(), QStringLiteral("15 k"));
        setLive(false);
        QVERIFY(idle());
        m_instrument.range = 5;
        key(Qt::Key_F9);                                                 // polarity back to positive
        QVERIFY(idle());
    }

    void panelMeterMapsTheValueScaleOntoItsOwn()
    {
        showPage();
        // 0 V reads 0, 10 V reads 100; the values 10..30 span the meter's 0..50
        setAnalogEdits("0", "100", "0", "50", "5", "10", "30");
        live("TAM;5;+;100;+2.0;");
        QCOMPARE(m_page->mpAna->Value(), 25.0);
        live("TAM;5;+;100;+1,0;");
        QCOMPARE(m_page->mpAna->Value(), 0.0);                           // the value at the scale's begin
        live("TAM;5;+;100;+3.0;");
        QCOMPARE(m_page->mpAna->Value(), 50.0);
        // with a value scale from 0 this is v x (end - start) / (value end - value begin)
        setAnalogEdits("0", "10", "0", "10", "10", "0", "20");
        live("TAM;5;+;100;+5.0;");
        QCOMPARE(m_page->mpAna->Value(), 2.5);
        QCOMPARE(DeviceViewPage::PanelMeterValue(6, 2, 12, 0, 10), 8.0);
    }

    void equalValueScaleBoundsRestThePanelMeterAtItsStart()
    {
        showPage();
        setAnalogEdits("0", "10", "2", "12", "5", "5", "5");
        m_form->StatusClear();
        live("TAM;5;+;100;+3.0;");
        QCOMPARE(message(), QString());
        QCOMPARE(m_page->mpAna->Value(), 2.0);
        QTRY_VERIFY(m_page->mpAna->PointerPercent() < 0.5);
        // an empty meter scale draws and takes values without trouble
        setAnalogEdits("0", "10", "4", "4", "0", "0", "10");
        live("TAM;5;+;100;+7.0;");
        QCOMPARE(m_page->mpAna->Value(), 4.0);
        QVERIFY(!m_page->grab().isNull());
        setAnalogEdits("0", "10", "0", "10", "10", "0", "10");
    }

    void scaleEditHoldingTextIsReported()
    {
        showPage();
        setAnalogEdits("0", "10", "0", "10", "10", "0", "10");
        m_form->txtAnaName->setText(QStringLiteral("Druck"));
        m_form->StatusClear();
        m_form->txtScaleEnd->setText(QStringLiteral("zehn"));
        m_page->TabInfoShow();
        QCOMPARE(message(), QStringLiteral("Skalierung der Analoganzeige: 'zehn' ist kein gültiger Gleitkommawert."));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::MessagePanel).state, 1);
        QCOMPARE(m_page->mpAna->ValueEnd(), 10.0);                       // the scale as it was
        QCOMPARE(m_page->lblAnaName->text(), QStringLiteral("Druck"));   // the name still follows
        m_form->txtScaleEnd->setText(QStringLiteral("10"));
        m_form->txtValueScaleEnd->setText(QString());
        m_page->TabInfoShow();
        QCOMPARE(message(), QStringLiteral("Skalierung der Analoganzeige: '' ist kein gültiger Gleitkommawert."));
        // and again when the page is shown anew, with a decimal comma taken as a number
        m_form->txtValueScaleEnd->setText(QStringLiteral("12,5"));
        m_form->StatusClear();
        m_form->pages()->setCurrentIndex(1);
        showPage();
        QCOMPARE(message(), QString());
        QCOMPARE(m_page->ValueScaleEnd(), 12.5f);
        m_form->txtValueScaleEnd->setText(QStringLiteral("10"));
        m_page->TabInfoShow();
    }

    void hidingTheSensorWindowEndsARecordRead()
    {
        Measure::MemoryReader &reader = m_form->memoryReader();
        reader.LoadDirectory();
        QVERIFY(idle());
        QVERIFY(reader.directory().size() >= 2);
        QVERIFY(reader.BuildFieldList(1));
        m_requests.clear();
        QVERIFY(reader.ReadSelectedBlock(reader.textSink(), QString::number(reader.directory()[1].BlockNr),
                                         QList<bool>(reader.fields().size(), true)));
        m_sens->show();
        m_sens->hide();
        QVERIFY(idle());
        QTRY_VERIFY(reader.isIdle());
        QCOMPARE(message(), QStringLiteral("Lesen der Messwerte abgebrochen"));
        QCOMPARE(requests("GFM"), 1);
        QCOMPARE(requests("GNM"), 0);
        // hidden with nothing being read: no message
        m_form->StatusClear();
        m_sens->show();
        m_sens->hide();
        QTest::qWait(100);
        QCOMPARE(message(), QString());
    }

    void englishTextsFromTheCatalogue()
    {
        // the English source catalogue of this area covers every text it has
        QFile file(QStringLiteral(QT8800_SOURCE_DIR "/src/lang/en/deviceview.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QHash<int, QString> english;
        for (const QByteArray &raw : file.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw);
            if (line.trimmed().isEmpty() || line.startsWith(u'#'))
                continue;
            const qsizetype eq = line.indexOf(u'=');
            QVERIFY2(eq > 0, qPrintable(line));
            bool ok = false;
            const int id = line.left(eq).toInt(&ok);
            QVERIFY2(ok && id >= 5000 && id <= 5499, qPrintable(line));
            QVERIFY2(!english.contains(id), qPrintable(line));
            english.insert(id, line.mid(eq + 1).replace(QStringLiteral("\\n"), QStringLiteral("\n")));
        }
        for (const auto &[id, german] : Lang::DeviceViewTexts()) {
            QVERIFY2(english.contains(id), qPrintable(QString::number(id)));
            // no other area uses the number
            QCOMPARE(Lang::Text(id), QString::fromUtf8(german));
        }
        QCOMPARE(english.size(), int(Lang::DeviceViewTexts().size()));

        showPage();
        live("TAM;5;+;100;");
        Lang::SetCatalogue(english);
        m_page->ApplyLanguageTexts();
        m_sens->ApplyLanguageTexts();
        QCOMPARE(m_page->btnInfo->shownText(), QStringLiteral("Off"));
        QCOMPARE(m_page->btnInfo->TextPos2(), QStringLiteral("On"));
        QCOMPARE(m_page->anzeige->Caption(), QStringLiteral("Ions/cm³"));
        QCOMPARE(m_page->lblIScale->text(), QStringLiteral("Factor:  1000"));
        QCOMPARE(m_form->pages()->tabText(3), QStringLiteral("Device &view"));
        QCOMPARE(m_sens->windowTitle(), QStringLiteral("QT 8800  Sensors"));
        QCOMPARE(m_sens->btnClose->text(), QStringLiteral("Cl&ose"));
        QCOMPARE(m_sens->cellText(0, TFormSens::kTemperatureRow), QStringLiteral("  Temperature in °C"));
        QVERIFY(m_page->btnNull->toolTip().contains(u'\n'));
        shoot(QStringLiteral("deviceview-english"));

        Lang::SetCatalogue({});
        m_page->ApplyLanguageTexts();
        m_sens->ApplyLanguageTexts();
        QCOMPARE(m_page->btnInfo->shownText(), QStringLiteral("Aus"));
        QCOMPARE(m_page->lblIScale->text(), QStringLiteral("Faktor:  1000"));
        QCOMPARE(m_form->pages()->tabText(3), QStringLiteral("Gerätean&sicht"));
    }

    void cleanupTestCase()
    {
        if (!m_form)
            return;
        m_form->selection().AskOnClose = false;
        m_form->closeWithoutQuestion();
        QVERIFY(!m_sens->isVisible());
        m_form.reset();
    }
};

QT8800_WINDOW_TEST_MAIN(DeviceViewTest)
#include "DeviceViewTest.moc"
