// The main window driven like a user would, against the stand-in instrument over a pty.
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "files/ParameterFile.h"
#include "WindowFixture.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TMeter120.h"
#include "widgets/TTextSpin.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QProcess>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QFileDialog>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>

Q_DECLARE_METATYPE(Model::FieldOrigin)

using namespace FormTest;
using Model::Field;
using Model::FieldOrigin;

class TForm1Test : public WindowFixture
{
    Q_OBJECT
    QStringList m_questions;
    QStringList m_notices;
    bool m_answer = true;
    int m_served = 0;

    StartOptions options()
    {
        StartOptions o = windowOptions();
        o.ask = [this](const QString &q) {
            m_questions << q;
            return m_answer;
        };
        o.notify = [this](const QString &text) { m_notices << text; };
        return o;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_instrument.fillDemoMemory();
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        connect(m_server.get(), &Sim::PtyServer::requestServed, this, [this] { ++m_served; });
        QVERIFY(showWindow(options()));                              // with the desktop's formats
    }

    void startsOnTheSettingsPageWithoutAParameterFile()
    {
        QVERIFY(m_form->paramFileFailed());
        QCOMPARE(m_form->pages()->currentWidget(), m_form->TabProgram);
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("COM1 -  9600"));
        // a first start is no error: the defaults are said in a normal message
        const StatusLine::StatusPanel message = m_form->statusLine()->panel(StatusLine::MessagePanel);
        QVERIFY2(message.text.startsWith(QStringLiteral("Keine Parameterdatei")), qPrintable(message.text));
        QCOMPARE(message.state, 0);
    }

    void f5FillsThePagesInSilver()
    {
        m_form->pages()->setCurrentIndex(0);
        m_instrument.range = 7;
        m_instrument.duration = "0012:30";
        QTest::keyClick(m_form.get(), Qt::Key_F5);
        QVERIFY(idle());
        QCOMPARE(m_form->lblSerNr->text(), m_instrument.serial);
        QCOMPARE(m_form->tsRange->Position(), 7);
        QCOMPARE(background(m_form->tsRange), kSilver);
        QCOMPARE(m_form->iseDuration->StringValue(), QStringLiteral("0012:30"));
        QCOMPARE(m_form->tsOutMeas->Position(), 0);                  // instrument value 2 is the first item
        QCOMPARE(m_form->lblRange->text(), QStringLiteral("500 k"));
        QCOMPARE(m_form->lblMemUse->text(), QString::number(m_instrument.memUse));
        QCOMPARE(background(m_form->dtpQTDate), kSilver);
    }

    void screenshotsOfEveryPageAfterReading()
    {
        for (int i = 0; i < m_form->pages()->count(); ++i) {
            m_form->pages()->setCurrentIndex(i);
            QCoreApplication::processEvents();
            const QPixmap shot = m_form->grab();
            QVERIFY(!shot.isNull());
            QVERIFY(shot.save(QStringLiteral(QT8800_SCREENS "/page%1.png").arg(i)));
        }
    }

    void f6SendsWhatTheControlsShow()
    {
        m_form->tsRange->setPosition(3);
        m_form->tsOutMeas->setPosition(2);                           // RS232 only: value 1
        m_form->isePolInter->setStringValue("00:20:00");
        QTest::keyClick(m_form.get(), Qt::Key_F6);
        QVERIFY(idle());
        QCOMPARE(m_instrument.range, 3);
        QCOMPARE(m_instrument.outMeas, 1);
        QCOMPARE(m_instrument.polInter, QStringLiteral("00:20:00"));
    }

    void immediateTransferQueuesTheChangedSelector()
    {
        m_form->pages()->setCurrentIndex(0);
        m_form->cboPrompt->setChecked(true);
        const int before = m_instrument.range;
        const QRect up = m_form->tsRange->spinGeometry().upBox;
        QTest::mouseClick(m_form->tsRange, Qt::LeftButton, {}, up.center());
        QVERIFY(idle());
        QCOMPARE(m_instrument.range, (before + 1) % 10);
        QCOMPARE(background(m_form->tsRange), kSilver);              // the echo came back
        m_form->cboPrompt->setChecked(false);
    }

    void unansweredRequestShowsTheMessageOnce()
    {
        m_instrument.faults.silence = 1;
        QTest::mouseClick(m_form->lblSerNr, Qt::LeftButton);
        QVERIFY(passDeadline());
        QTRY_VERIFY(message().startsWith("QT 8800 antwortet nicht"));
        QVERIFY(idle());
        m_form->engine().CyclicStatusRead();                         // a poll that fails stays silent
        m_instrument.faults.silence = 1;
        m_form->StatusClear();
        QVERIFY(passDeadline());
        QVERIFY(!message().startsWith("QT 8800 antwortet nicht"));
        QVERIFY(idle());
    }

    void aStrayOrDoubledReplyCostsNoLaterValue()
    {
        auto readAndCompare = [this](int range, const char *duration, const char *interval) {
            m_instrument.range = range;
            m_instrument.duration = duration;
            m_instrument.measInt = interval;
            QTest::keyClick(m_form.get(), Qt::Key_F5);
            QVERIFY(idle());
            QVERIFY2(!message().startsWith("Unerwartetes") && !message().startsWith("QT 8800 antwortet"),
                     qPrintable(message()));
            QCOMPARE(m_form->lblSerNr->text(), m_instrument.serial);
            QCOMPARE(m_form->tsRange->Position(), range);
            QCOMPARE(m_form->iseDuration->StringValue(), QString::fromLatin1(duration));
            QCOMPARE(m_form->iseMeasInt->StringValue(), QString::fromLatin1(interval));
        };
        m_instrument.faults.garbage = 1;
        readAndCompare(4, "0033:10", "00:00:20");
        QVERIFY(!QTest::currentTestFailed());
        readAndCompare(5, "0034:10", "00:00:30");
        QVERIFY(!QTest::currentTestFailed());
        m_instrument.faults.duplicate = 1;
        readAndCompare(6, "0035:10", "00:00:40");
        QVERIFY(!QTest::currentTestFailed());
        readAndCompare(7, "0012:30", "00:01:00");
    }

    void theTrafficLogTakesTheClocksTimeSeparator()
    {
        Link::TrafficLog &log = m_form->trafficLog();
        const QString dir = log.directory();
        log.setDirectory(m_dir.path());
        m_form->applySystemFormats(QLocale(QLocale::Finnish, QLocale::Finland));      // "H.mm"
        QTRY_VERIFY(QRegularExpression("^ \\d\\d\\.\\d\\d\\.\\d\\d$").match(m_form->lblSysTime->text()).hasMatch());
        QVERIFY(log.WriteTrafficLine("PC", QByteArrayView("GIN;00281\r\n")));
        log.CloseTrafficLog();
        m_form->applySystemFormats(QLocale(QLocale::German, QLocale::Germany));
        log.setDirectory(dir);
        m_form->StatusClear();
        QFile file(log.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        file.remove();
        QVERIFY2(QRegularExpression("\r\nProtokollstart am \\d\\d\\.\\d\\d\\.\\d{4} um  \\d\\d\\.\\d\\d\\.\\d\\d Uhr \r\n")
                     .match(text).hasMatch(), qPrintable(text));
        QVERIFY2(QRegularExpression("\r\nPC\t\\d\\d\\.\\d\\d\\.\\d\\d\\.\\d{3}\tGIN;00281<13><10>\r\n").match(text).hasMatch(),
                 qPrintable(text));
    }

    void alarmsRotateOnePerSecond()
    {
        m_instrument.alarmMask = 0b1011;                             // three alarms
        QTest::mouseClick(m_form->btnInfo1, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_form->state().AlarmTexts.size(), 3);
        QVERIFY(tickUntil([this] { return m_form->lblInfo->text() == QStringLiteral("Messwertüberlauf"); }, 37));
        QVERIFY(m_form->ledInfoAlarm->isVisible());
        QVERIFY(tickUntil([this] { return m_form->lblInfo->text() == QStringLiteral("Akku leer"); }, 37));
        QVERIFY(tickUntil([this] { return m_form->lblInfo->text() == QStringLiteral("Fehler Lüfter"); }, 37));
        QVERIFY(tickUntil([this] { return m_form->lblInfo->text() == QStringLiteral("Messwertüberlauf"); }, 37));
        m_instrument.alarmMask = 0;
        QTest::mouseClick(m_form->btnInfo1, Qt::LeftButton);
        QVERIFY(idle());
        QVERIFY(tickUntil([this] { return m_form->lblInfo->text().isEmpty(); }, 37));
        QVERIFY(!m_form->ledInfoAlarm->isVisible());
    }

    void conversionsPerKind_data()
    {
        QTest::addColumn<Model::Field>("field");
        QTest::addColumn<FieldOrigin>("origin");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QColor>("colour");          // invalid: the colour stays
        QTest::newRow("range 7") << Field::Range << FieldOrigin::Device << "7" << "7" << kSilver;
        QTest::newRow("range 12 keeps the item") << Field::Range << FieldOrigin::Device << "12" << "keep" << kRed;
        QTest::newRow("range x counts as 0") << Field::Range << FieldOrigin::Device << "x" << "0" << kRed;
        QTest::newRow("output by value 3") << Field::OutputMode << FieldOrigin::Device << "3" << "3" << kSilver;
        QTest::newRow("output value 5 restores") << Field::OutputMode << FieldOrigin::Device << "5" << "keep" << kRed;
        QTest::newRow("duration") << Field::Duration << FieldOrigin::Device << "0100:05" << "0100:05" << kSilver;
        QTest::newRow("duration 12:60") << Field::Duration << FieldOrigin::Device << "12:60" << "keep" << kRed;
        QTest::newRow("interval") << Field::StorageInterval << FieldOrigin::Device << "00:00:30" << "00:00:30" << kSilver;
        QTest::newRow("interval no number") << Field::StorageInterval << FieldOrigin::Device << "00:xx:30" << "keep" << kRed;
        QTest::newRow("interval over a day") << Field::StorageInterval << FieldOrigin::Device << "25:00:00" << "25:00:00" << kSilver;
        QTest::newRow("interval empty") << Field::StorageInterval << FieldOrigin::Device << "" << "keep" << kRed;
        QTest::newRow("start date keeps the year") << Field::StartDate << FieldOrigin::Device << "24.12" << "24.12" << kSilver;
        QTest::newRow("start date 31.02") << Field::StartDate << FieldOrigin::Device << "31.02" << "keep" << kRed;
        QTest::newRow("start time drops seconds") << Field::StartTime << FieldOrigin::Device << "08:30:45" << "08:30:00" << kSilver;
        QTest::newRow("start time 25:00") << Field::StartTime << FieldOrigin::Device << "25:00" << "keep" << kRed;
        QTest::newRow("clock date 30.02.2026") << Field::DeviceDate << FieldOrigin::Device << "30.02.2026" << "keep" << kRed;
        QTest::newRow("clock date") << Field::DeviceDate << FieldOrigin::Device << "24.12.2026" << "24.12.2026" << kSilver;
        QTest::newRow("clock time 12:61:00") << Field::DeviceTime << FieldOrigin::Device << "12:61:00" << "keep" << kRed;
        QTest::newRow("scale value not a number") << Field::ScaleEnd << FieldOrigin::Device << "1e" << "keep" << kRed;
        QTest::newRow("anaOut beyond the list") << Field::AnalogOut << FieldOrigin::Device << "4" << "keep" << kRed;
        QTest::newRow("range from a file") << Field::Range << FieldOrigin::File << "3" << "3" << kYellow;
        QTest::newRow("range by the user") << Field::Range << FieldOrigin::User << "2" << "2" << QColor();
        QTest::newRow("range by the program, no number") << Field::Range << FieldOrigin::Program << "x" << "0" << kRed;
        QTest::newRow("scale from a file") << Field::ScaleEnd << FieldOrigin::File << "12,5" << "12.5" << kYellow;
        QTest::newRow("scale with an exponent") << Field::ScaleEnd << FieldOrigin::File << "1e3" << "keep" << kRed;
    }

    void conversionsPerKind()
    {
        QFETCH(Model::Field, field);
        QFETCH(FieldOrigin, origin);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QColor, colour);
        Model::FieldStore &store = m_form->store();
        QWidget *control = m_form->binder().control(field);
        const QString before = store.Form2Dat(field, Model::TelegramSlot);
        const QColor was = background(control);
        if (origin == FieldOrigin::Device || origin == FieldOrigin::File)
            store.Dat2Form(field, origin == FieldOrigin::File ? Model::FileSlot : Model::TelegramSlot, text);
        else
            store.setValue(field, text, origin);
        QCOMPARE(background(control), colour.isValid() ? colour : was);
        QCOMPARE(store.Form2Dat(field, Model::TelegramSlot), shown == "keep" ? before : shown);
    }

    void focusedClockControlsAreNotOverwritten()
    {
        Model::FieldStore &store = m_form->store();
        m_form->pages()->setCurrentWidget(m_form->TabConfig);
        m_form->iseQTTime->setFocus();
        QVERIFY(m_form->iseQTTime->hasFocus());
        const QString shown = m_form->iseQTTime->text();
        const QColor colour = background(m_form->iseQTTime);
        store.Dat2Form(Field::DeviceTime, Model::TelegramSlot, "01:02:03");
        QCOMPARE(m_form->iseQTTime->text(), shown);
        QCOMPARE(background(m_form->iseQTTime), colour);
        QCOMPARE(store.Form2Dat(Field::DeviceTime, Model::TelegramSlot), shown);    // sending reads what is shown
        m_form->btnEnd->setFocus();
        store.Dat2Form(Field::DeviceTime, Model::TelegramSlot, "01:02:03");
        QCOMPARE(m_form->iseQTTime->text(), QStringLiteral("01:02:03"));
        // the desktop's short date format, always with the whole year
        QVERIFY(m_form->lblSysDate->text().contains(QString::number(QDate::currentDate().year())));
    }

    void fileValuesAreLightYellowAndUseTheDecimalSeparator()
    {
        Model::FieldStore &store = m_form->store();
        m_form->tsDecimalSep->setPosition(1);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
        store.Dat2Form(Field::AnalogAtZero, Model::FileSlot, "1.5");
        QCOMPARE(m_form->txtAnaValZero->text(), QStringLiteral("1,5"));
        QCOMPARE(background(m_form->txtAnaValZero), kYellow);
        QCOMPARE(store.Form2Dat(Field::StartDate, Model::FileSlot).size(), 10);           // "dd.mm.yyyy" in files
        m_form->tsDecimalSep->setPosition(0);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
    }

    void metersTakeTheProgramsDecimalSeparator()
    {
        std::unique_ptr<TMeter120> meter(new TMeter120(m_form->TabInfo));   // where the device view will put one
        m_form->tsDecimalSep->setPosition(1);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
        const QChar comma = meter->DecimalSeparator();
        m_form->tsDecimalSep->setPosition(0);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
        QCOMPARE(comma, QChar(u','));
        QCOMPARE(meter->DecimalSeparator(), QChar(u'.'));
    }

    void statusFieldsDriveTheLampAndTheStartButton()
    {
        Model::FieldStore &store = m_form->store();
        store.Dat2Form(Field::RecordingLamp, Model::TelegramSlot, "1");
        QVERIFY(m_form->ledStatMem->isVisible());
        store.Dat2Form(Field::Recording, Model::TelegramSlot, "1");
        QVERIFY(m_form->btnStart->Down());
        QVERIFY(m_form->state().RecordingRunning);
        QCOMPARE(store.Form2Dat(Field::Recording, Model::TelegramSlot), QStringLiteral("0"));    // the request asks for the opposite
        for (const char *bad : {"-1", "10", "abc"}) {
            store.Dat2Form(Field::RangeName, Model::TelegramSlot, bad);
            QCOMPARE(m_form->lblRange->text(), QStringLiteral("???"));
        }
        store.Dat2Form(Field::RecordingLamp, Model::TelegramSlot, "0");
        store.Dat2Form(Field::Recording, Model::TelegramSlot, "0");
        QVERIFY(!m_form->ledStatMem->isVisible());
    }

    void numericEditsRefuseLettersAndTakeTheSeparator()
    {
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
        m_form->txtScaleEnd->setFocus();
        m_form->txtScaleEnd->clear();
        QTest::keyClicks(m_form->txtScaleEnd, "1a,5");
        QCOMPARE(m_form->txtScaleEnd->text(), QStringLiteral("1.5"));
        QCOMPARE(message(), QString());                               // the last key was allowed and cleared it
        QTest::keyClicks(m_form->txtScaleEnd, "x");
        QCOMPARE(message(), QStringLiteral("Nur Zeichen \"-0123456789,.\" möglich!"));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::MessagePanel).state, 1);
    }

    void intervalsHaveFloorsAndAbsoluteValues()
    {
        m_form->pages()->setCurrentWidget(m_form->TabProgram);
        auto enter = [this](QLineEdit *edit, const char *text) {
            edit->setFocus();
            edit->setText(QString::fromLatin1(text));
            m_form->btnEnd->setFocus();                               // leaving the edit takes the value
        };
        QVERIFY(!m_form->txtRefInter->isEnabled());                  // cyclic reading is off
        m_form->cboQTTime->click();
        QVERIFY(m_form->txtRefInter->isEnabled());
        enter(m_form->txtRefInter, "0.2");
        QCOMPARE(m_form->txtRefInter->text(), QStringLiteral("  1.0"));
        enter(m_form->txtMeasRefInter, "0.2");
        QCOMPARE(m_form->txtMeasRefInter->text(), QStringLiteral("  0.5"));
        enter(m_form->txtMeasRefInter, "-3");
        QCOMPARE(m_form->txtMeasRefInter->text(), QStringLiteral("  3.0"));
        enter(m_form->txtRefInter, "abc");
        QCOMPARE(message(), QStringLiteral("Keine gültige Eingabe im Feld Zeitinetrvall!"));
        QCOMPARE(m_form->param().StatusInterval, 1.0f);
        m_form->cboQTTime->click();
    }

    void aPortThatCannotOpenKeepsTheStoredIndex()
    {
        QFile::link(m_dir.path() + "/nowhere", m_dir.path() + "/COM2");
        const QRect up = m_form->tsComPort->spinGeometry().upBox;
        QTest::mouseClick(m_form->tsComPort, Qt::LeftButton, {}, up.center());
        QCOMPARE(m_form->tsComPort->PosString(), QStringLiteral("COM2"));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("???"));
        QCOMPARE(message(), "Unable to open com port (" + m_dir.path() + "/COM2 -> " + m_dir.path() + "/nowhere: "
                                + QString::fromLocal8Bit(std::strerror(ENOENT)) + ")");
        QCOMPARE(m_form->param().PortIndex, 0);
        const QRect down = m_form->tsComPort->spinGeometry().downBox;
        QTest::mouseClick(m_form->tsComPort, Qt::LeftButton, {}, down.center());
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("COM1 -  9600"));
        QVERIFY(m_form->serial().PortReady());
    }

    void aLostLineKeepsItsMessageAndNoTimeOutFollows()
    {
        // the instrument comes back afterwards, and choosing the port again reopens it
        auto reopen = qScopeGuard([this] {
            if (!m_server->isOpen())
                m_server->start(m_dir.path() + "/COM1");
            QMetaObject::invokeMethod(m_form->tsComPort, "onChanged");
        });
        m_instrument.faults.closeLine = true;
        QTest::mouseClick(m_form->lblSerNr, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return message().startsWith("Schnittstelle COM1 wurde geschlossen: "); }, 3000));
        QVERIFY(QTest::qWaitFor([this] { return m_form->engine().isIdle(); }, 1000));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("???"));
        const QString lost = message();
        QVERIFY(passDeadline());
        QCOMPARE(message(), lost);

        reopen.dismiss();
        QVERIFY(!m_server->start(m_dir.path() + "/COM1").isEmpty());
        QMetaObject::invokeMethod(m_form->tsComPort, "onChanged");
        QVERIFY(m_form->serial().PortReady());
        QTest::mouseClick(m_form->lblSerNr, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_form->lblSerNr->text(), m_instrument.serial);
    }

    void anAdapterThatComesBackIsReopenedAndSaysSo()
    {
        auto restore = qScopeGuard([this] {
            if (!m_server->isOpen())
                m_server->start(m_dir.path() + "/COM1");
            m_form->serial().setSysfsRoot(QStringLiteral("/sys"));
            QMetaObject::invokeMethod(m_form->tsComPort, "onChanged");
        });
        m_server->stop();                                               // the adapter pulled
        QVERIFY(QTest::qWaitFor([this] { return message().startsWith("Schnittstelle COM1 wurde geschlossen: "); }, 3000));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("???"));
        const QString device = m_server->start(m_dir.path() + "/COM1");   // and plugged in again
        QVERIFY(!device.isEmpty());
        QVERIFY(QTest::qWaitFor([this] { return message() == "Schnittstelle COM1 ist wieder verfügbar und wurde geöffnet."; },
                                3000));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::PortPanel).text, QStringLiteral("COM1 -  9600"));
        QTest::mouseClick(m_form->lblSerNr, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_form->lblSerNr->text(), m_instrument.serial);

        // an adapter with the usual 16 ms latency timer: the port's hint and the status line say so
        const QString sys = m_dir.path() + "/sys";
        const QString folder = sys + "/bus/usb-serial/devices/" + QFileInfo(device).fileName();
        QVERIFY(QDir().mkpath(folder));
        QFile timer(folder + "/latency_timer");
        QVERIFY(timer.open(QIODevice::WriteOnly) && timer.write("16\n") == 3);
        timer.close();
        m_form->serial().setSysfsRoot(sys);
        QMetaObject::invokeMethod(m_form->tsComPort, "onChanged");
        QVERIFY(m_form->serial().PortReady());
        QVERIFY(m_form->tsComPort->toolTip().contains("\nLatenz-Timer des USB-Adapters steht auf 16 ms"));
        QVERIFY(message().startsWith("Latenz-Timer des USB-Adapters steht auf 16 ms: höchstens etwa 62 Anfragen je Sekunde."));
    }

    void memoryClearAskedNoSendsOnlyTheStatusRead()
    {
        m_answer = false;
        const int served = m_served;
        QTest::mouseClick(m_form->btnMemClear, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(m_questions.last(), QStringLiteral("Wollen Sie wirklich den Messwertspeicher im QT 8800 löschen?"));
        QCOMPARE(m_served - served, 1);
        QVERIFY(!m_instrument.blocks.empty());
        m_answer = true;
        QTest::mouseClick(m_form->btnMemClear, Qt::LeftButton);
        QVERIFY(idle());
        QVERIFY(m_instrument.blocks.empty());
        QCOMPARE(message(), QStringLiteral("Messwertspeicher im QT 8800 wurde gelöscht"));
    }

    void manualRecordingAsksForTheStatusTwoSecondsLater()
    {
        QStringList codes;
        auto conn = connect(m_server.get(), &Sim::PtyServer::requestServed, this,
                            [&codes](const QByteArray &r) { codes << QString::fromLatin1(r.left(3)); });
        const bool before = m_instrument.recording;
        QTest::mouseClick(m_form->btnStart, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(codes, QStringList{"SMM"});
        QCOMPARE(m_instrument.recording, !before);
        QCOMPARE(m_form->btnStart->Down(), !before);                 // the echo sets the button
        QVERIFY(tick(50));
        QCOMPARE(codes, (QStringList{"SMM", "GST"}));
        disconnect(conn);
        QTest::mouseClick(m_form->btnStart, Qt::LeftButton);         // and back
        QVERIFY(idle());
        QCOMPARE(m_instrument.recording, before);
        QVERIFY(tick(50));
    }

    // one program per serial port: a window on another instrument runs beside this one, and
    // this one cannot be switched onto the port that window holds
    void aPortAnotherWindowHoldsIsRefusedAndTheOldOneKept()
    {
        QTemporaryDir otherBase;
        Sim::Instrument other;
        Sim::PtyServer otherServer(other);
        const QString device = otherServer.start(otherBase.path() + "/COM1");
        QVERIFY(!device.isEmpty());
        StartOptions o = options();
        o.baseDir = otherBase.path();
        TForm1 second(o);
        QVERIFY(!second.secondStart());
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QVERIFY(second.serial().PortReady());

        QFile::remove(m_dir.path() + "/COM2");
        QVERIFY(QFile::link(device, m_dir.path() + "/COM2"));
        const QRect up = m_form->tsComPort->spinGeometry().upBox;
        QTest::mouseClick(m_form->tsComPort, Qt::LeftButton, {}, up.center());
        QCOMPARE(message(), QStringLiteral("COM2 wird schon von einem anderen QT8800-Programm benutzt; die Schnittstelle "
                                           "bleibt, wie sie war."));
        QCOMPARE(m_form->tsComPort->PosString(), QStringLiteral("COM1"));
        QVERIFY(m_form->serial().PortReady());
        QCOMPARE(m_form->serial().portName(), QStringLiteral("COM1"));
        QVERIFY(second.serial().PortReady());
        QFile::remove(m_dir.path() + "/COM2");
    }

    void aSecondStartIsRefused()
    {
        TForm1 second(options());
        QVERIFY(second.secondStart());
        QCOMPARE(m_notices.last(), QStringLiteral("QT8800 wurde bereits gestartet! \nZweiter Start ist nicht möglich."));
        // a lock that cannot be written refuses nothing: "already started" would be untrue
        QFile file(m_lockDir.path() + "/plain");
        QVERIFY(file.open(QIODevice::WriteOnly));
        StartOptions o = options();
        o.lockDir = file.fileName();
        o.baseDir = m_lockDir.path();
        TForm1 third(o);
        QVERIFY(!third.secondStart());
    }

    void aboutBoxShowsVersionPictureAndSystem()
    {
        auto *about = m_form->findChild<TAboutBox *>();
        QVERIFY(about);
        QVERIFY(about->hasPicture());
        QVERIFY(about->version().contains(QStringLiteral(QT8800_VERSION)));
        QVERIFY(TAboutBox::SystemFigures(m_dir.path()).join('\n').contains("Betriebssystem"));
    }

    // the real dialogs, not the test seam: a filter converted twice offers no file type at all
    void fileDialogsOfferTheirFileTypes()
    {
        for (const QKeySequence &key : {QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F3)}) {
            QAction *command = nullptr;
            for (QAction *action : m_form->findChildren<QAction *>())
                if (action->shortcut() == key)
                    command = action;
            QVERIFY(command);
            QStringList filters;
            QTimer::singleShot(0, this, [&filters] {
                QTRY_VERIFY(qobject_cast<QFileDialog *>(QApplication::activeModalWidget()));
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                filters = dialog->nameFilters();
                dialog->reject();
            });
            command->trigger();
            QCOMPARE(filters.size(), 2);
            QVERIFY(filters.first().contains(QStringLiteral("*.QT8")));
        }
    }

    void closingWritesParameterAndLastConfiguration()
    {
        m_form->cboSaveConfig->setChecked(true);
        m_form->param().RememberConfig = true;
        m_form->selection().AskOnClose = true;
        m_form->isePolInter->setStringValue("00:20:00");            // not the start-up defaults
        m_form->iseMeasInt->setStringValue("00:00:30");
        m_answer = false;
        m_form->close();
        QVERIFY(m_form->isVisible());                                // "No" keeps it open
        m_answer = true;
        m_form->close();
        QVERIFY(!m_form->isVisible());
        QCOMPARE(QFileInfo(m_dir.path() + "/QT8800.dat").size(), 904);
        QVERIFY(QFileInfo::exists(m_dir.path() + "/QT8800.LCF"));

        // the next start reads both back: no settings page, the range from the file
        const int range = m_form->tsRange->Position();
        m_form.reset();
        m_form = std::make_unique<TForm1>(options());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QVERIFY(!m_form->paramFileFailed());
        QCOMPARE(m_form->tsRange->Position(), range);
        QCOMPARE(background(m_form->tsRange), kYellow);
        // times too, whatever separator the desktop's locale uses
        QCOMPARE(m_form->isePolInter->text(), QStringLiteral("00:20:00"));
        QCOMPARE(m_form->iseMeasInt->text(), QStringLiteral("00:00:30"));
        QCOMPARE(background(m_form->iseMeasInt), kYellow);
        m_form->selection().AskOnClose = false;
        QTest::keyClick(m_form->PageControl1, Qt::Key_Escape);       // Escape closes the window
        QVERIFY(!m_form->isVisible());
    }

    void theProgramClosesOnSigtermAndWritesItsFiles()
    {
        QTemporaryDir base;
        QTemporaryDir runtime;
        QProcess program;
        program.setWorkingDirectory(base.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());               // its own lock, apart from a running copy
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QT8800_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        // without an entry COM1 is the computer's first serial port
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(runtime.path() + "/QT8800Run-dev_ttyS0.lock"); }, 10000));
        QVERIFY(!QFileInfo::exists(base.path() + "/QT8800.dat"));
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QFileInfo(base.path() + "/QT8800.dat").size(), 904);
    }

    // Two programs for two ports run side by side; a second one for a taken port shows its
    // notice, and the system's stop request ends it there at once.
    void oneProgramPerPortAndAStopRequestEndsASecondStart()
    {
        QTemporaryDir runtime, first, second;
        Files::ParamRecord param;
        Files::SelectionRecord selection;
        param.PortIndex = 1;                                           // COM2
        QVERIFY(Files::WriteParameterFile(second.path(), param, selection, [](const QString &, bool) {}));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        auto start = [&env](QProcess &p, const QString &dir) {
            p.setWorkingDirectory(dir);
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(QT8800_PROGRAM), {});
            return p.waitForStarted();
        };
        auto locked = [&runtime](const char *device) {
            return QTest::qWaitFor([&] { return QFileInfo::exists(runtime.path() + "/QT8800Run-" + device + ".lock"); },
                                   10000);
        };
        QProcess com1, com2;
        QVERIFY(start(com1, first.path()) && locked("dev_ttyS0"));
        QVERIFY(start(com2, second.path()) && locked("dev_ttyS1"));
        for (int signal : {SIGTERM, SIGINT}) {
            QProcess again;
            QVERIFY(start(again, first.path()));
            QTest::qWait(2000);                                        // the notice is up and waits
            QCOMPARE(again.state(), QProcess::Running);
            ::kill(pid_t(again.processId()), signal);
            QVERIFY(again.waitForFinished(3000));
            QCOMPARE(again.exitStatus(), QProcess::NormalExit);
            QCOMPARE(again.exitCode(), 1);
        }
        QCOMPARE(com2.state(), QProcess::Running);
        for (QProcess *p : {&com1, &com2}) {
            p->terminate();
            QVERIFY(p->waitForFinished(10000));
            QCOMPARE(p->exitCode(), 0);
        }
        QCOMPARE(QFileInfo(first.path() + "/QT8800.dat").size(), 904);
    }

    // --help and --version answer where there is no display at all
    void helpAndVersionWithoutADisplay()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        for (const char *option : {"--help", "--version"}) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(m_lockDir.path());
            p.start(QStringLiteral(QT8800_PROGRAM), {option});
            QVERIFY(p.waitForFinished(10000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
            QVERIFY2(out.startsWith(option == QByteArray("--help") ? "Aufruf: qt8800 [--help] [--version]\n"
                                                                     : "qt8800 " QT8800_VERSION "\n"),
                     qPrintable(out));
        }
    }
};

QT8800_WINDOW_TEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
