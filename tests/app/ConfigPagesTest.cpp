// The two configuration pages tried as a user would: keys, the calendar pop-up, the file
// commands F2 and F3, against the stand-in instrument over a pty and under the desktop locale.
#include "app/PageControls.h"
#include "app/StatusLine.h"
#include "app/TForm1.h"
#include "FormTestSupport.h"
#include "link/TelegramTables.h"
#include "WindowFixture.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TTextSpin.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

using namespace FormTest;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// a file as written, without the line that holds the time of writing
QByteArray withoutTimeStamp(QByteArray bytes)
{
    const qsizetype at = bytes.indexOf("Generierung=");
    if (at >= 0)
        bytes.remove(at, bytes.indexOf('\n', at) - at + 1);
    return bytes;
}

} // namespace

class ConfigPagesTest : public WindowFixture
{
    Q_OBJECT
    QStringList m_questions;
    bool m_answer = true;
    QString m_chosenFile;

    QStringList sent(const char *code) const
    {
        QStringList out;
        for (const QByteArray &r : m_requests)
            if (r.startsWith(code))
                out << QString::fromLatin1(r.left(r.lastIndexOf(';') + 1));
        return out;
    }
    void setTransferAtOnce(bool on)
    {
        m_form->cboPrompt->setChecked(on);
        m_form->param().TransferAtOnce = on;
    }
    void setDecimalSeparator(int index)
    {
        m_form->tsDecimalSep->setPosition(index);
        QMetaObject::invokeMethod(m_form->tsDecimalSep, "onChanged");
    }
    // every setting a configuration file holds, and the stop that is derived from them
    QStringList settings() const
    {
        QStringList out;
        for (QWidget *page : {m_form->TabConfig, m_form->TabMeasureConfig})
            for (QWidget *w : page->findChildren<QWidget *>()) {
                const QString name = w->objectName();
                if (name.isEmpty() || name.startsWith(u"qt_") || w == m_form->dtpQTDate || w == m_form->iseQTTime)
                    continue;
                if (auto *spin = qobject_cast<TTextSpin *>(w))
                    out << name + u'=' + QString::number(spin->Position());
                else if (auto *picker = qobject_cast<QDateEdit *>(w))
                    out << name + u'=' + picker->date().toString(Qt::ISODate);
                else if (auto *edit = qobject_cast<QLineEdit *>(w))
                    out << name + u'=' + edit->text();
            }
        return out;
    }
    void save(const QString &path)
    {
        m_chosenFile = path;
        QTest::keyClick(m_form.get(), Qt::Key_F3);
    }
    void load(const QString &path)
    {
        m_chosenFile = path;
        QTest::keyClick(m_form.get(), Qt::Key_F2);
    }
    // a complete German configuration file; `values` replaces lines by key
    void writeConfig(const QString &path, const QMap<QString, QString> &values)
    {
        QMap<QString, QString> lines{
            {"Messbereich", "0"}, {"Polarität", "0"}, {"PolInter", "01:00:00"}, {"NullpunktNachStart", "0"},
            {"AnalogAusgang", "0"}, {"Ausgabe", "2"}, {"Sprache", "0"}, {"AnalogEingang", "0"},
            {"Speichermodus", "0"}, {"StartDatum", "01.06.2026"}, {"StartZeit", "10:00:00"},
            {"SpeicherDauer", "0001:00"}, {"Speicherintervall", "00:01:00"}, {"NameAnalogEingang", "Extern"},
            {"EinheitAnalogEingang", "Volt"}, {"NullwertAnalogEingang", "0"}, {"EndwertAnalogEingang", "10"},
            {"PolAlter", "0"}, {"TimerAktiv", "0"}, {"SkalaAnfang", "0"}, {"SkalaEnde", "10"},
            {"Skalenteilung", "10"}, {"WertSkalaAnfang", "0"}, {"WertSkalaEnde", "10"}};
        lines.insert(values);
        QByteArray bytes = "[KOPF]\r\n[QT8800]\r\n";
        for (auto it = lines.begin(); it != lines.end(); ++it)
            bytes += (it.key() + u'=' + it.value() + QStringLiteral("\r\n")).toUtf8();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        StartOptions o = windowOptions();
        o.ask = [this](const QString &q) {
            m_questions << q;
            return m_answer;
        };
        o.chooseFile = [this](const Files::FileDialogSetup &, bool) { return std::optional<QString>(m_chosenFile); };
        QVERIFY(showWindow(o));                                      // with the desktop's formats
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
    }

    void init()
    {
        // the offscreen platform leaves no window active once a pop-up has closed
        QApplication::setActiveWindow(m_form.get());
        m_requests.clear();
        m_questions.clear();
    }

    void cleanup()
    {
        setTransferAtOnce(false);
        m_form->applySystemFormats(QLocale::system());
        QVERIFY(idle());
    }

    // The duration is clamped to 9999 hours, not sent as 0.
    void aDurationOver9999HoursIsClampedAndSent()
    {
        setTransferAtOnce(true);
        m_form->iseDuration->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_form->iseDuration, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(m_form->iseDuration, "10000:00");
        QTest::keyClick(m_form->iseDuration, Qt::Key_Tab);
        QVERIFY(!m_form->iseDuration->hasFocus());
        QCOMPARE(m_form->iseDuration->text(), QStringLiteral("9999:00"));
        const QDateTime start(m_form->dtpStartDate->date(), QTime::fromString(m_form->iseStartTime->text(), "HH:mm:ss"));
        const QDateTime stop = start.addSecs(9999LL * 3600);
        QCOMPARE(m_form->dtpStopDate->date(), stop.date());
        QCOMPARE(m_form->iseStopTime->text(), stop.time().toString("HH:mm:ss"));
        QVERIFY(idle());
        QCOMPARE(sent("SDM"), QStringList{"SDM;9999:00;"});
        QCOMPARE(sent("STM"), QStringList{"STM;1;"});
        QCOMPARE(m_instrument.duration, QStringLiteral("9999:00"));
    }

    // Files keep ":" whatever the desktop's separator; reading takes both.
    void savedTimesLoadUnderEveryDesktopLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("desktop") << QString();
        QTest::newRow("da_DK") << "da_DK";
        QTest::newRow("fi_FI") << "fi_FI";
        QTest::newRow("fr_CA") << "fr_CA";
        QTest::newRow("de_DE") << "de_DE";
    }

    void savedTimesLoadUnderEveryDesktopLocale()
    {
        QFETCH(QString, locale);
        const QLocale desktop = locale.isEmpty() ? QLocale::system() : QLocale(locale);
        m_form->applySystemFormats(desktop);
        const QString path = m_dir.path() + "/times.QT8";
        writeConfig(path, {{"PolInter", "00:20:00"}, {"StartZeit", "08:30:00"}, {"Speicherintervall", "00:00:30"}});
        load(path);
        QCOMPARE(m_form->isePolInter->text(), QStringLiteral("00:20:00"));
        QCOMPARE(m_form->iseStartTime->text(), QStringLiteral("08:30:00"));
        QCOMPARE(m_form->iseMeasInt->text(), QStringLiteral("00:00:30"));
        for (QWidget *w : {m_form->isePolInter, m_form->iseStartTime, m_form->iseMeasInt})
            QCOMPARE(background(w), kYellow);

        // a file edited by hand in the desktop's own notation reads as well
        const QString sep = QString(desktop.timeFormat(QLocale::ShortFormat).contains(u'.') ? u'.' : u':');
        writeConfig(path, {{"PolInter", "00" + sep + "25" + sep + "00"}, {"StartZeit", "09" + sep + "15"},
                           {"Speicherintervall", "00" + sep + "00" + sep + "30"}});
        load(path);
        QCOMPARE(m_form->isePolInter->text(), QStringLiteral("00:25:00"));
        QCOMPARE(m_form->iseStartTime->text(), QStringLiteral("09:15:00"));

        save(path);
        const QByteArray written = readAll(path);
        if (sep == ".")                                               // the clock shows the desktop's notation
            QTRY_COMPARE_WITH_TIMEOUT(m_form->lblSysTime->text().count(u'.'), 2, 1500);
        QVERIFY(written.contains("\r\nPolInter=00:25:00\r\n"));
        QVERIFY(written.contains("\r\nStartZeit=09:15:00\r\n"));
        QVERIFY(written.contains("\r\nSpeicherintervall=00:00:30\r\n"));
        QVERIFY(m_questions.isEmpty());
    }

    // Picking a day in the calendar and leaving sends the start, as stepping the day does.
    void aStartDatePickedInTheCalendarIsSent()
    {
        setTransferAtOnce(true);
        QDateEdit *picker = m_form->dtpStartDate;
        picker->setFocus(Qt::TabFocusReason);
        const QDate before = picker->date();
        QStyleOptionComboBox option;
        option.initFrom(picker);
        option.editable = true;
        option.frame = true;
        option.subControls = QStyle::SC_All;
        const QRect arrow = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxArrow, picker);
        QTest::mouseClick(picker, Qt::LeftButton, {}, arrow.center());
        QWidget *popup = QApplication::activePopupWidget();
        QVERIFY(popup);
        auto *days = popup->findChild<QCalendarWidget *>()->findChild<QTableView *>();
        QVERIFY(days);
        QTest::keyClick(days, Qt::Key_Right);
        QTest::keyClick(days, Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(picker->date(), before.addDays(1));
        QTRY_VERIFY(picker->hasFocus());
        for (int section = 0; section < 3 && picker->hasFocus(); ++section)
            QTest::keyClick(picker, Qt::Key_Tab);                    // Tab walks the day, month and year first
        QVERIFY(!picker->hasFocus());
        QVERIFY(idle());
        QCOMPARE(sent("SSM"), QStringList{"SSM;" + before.addDays(1).toString("dd.MM") + ";"
                                          + m_form->iseStartTime->text().left(5) + ":00;"});
        QCOMPARE(sent("STM"), QStringList{"STM;1;"});
    }

    // Tab, Delete, the arrows and Home/End are keys, not characters, and work as anywhere else.
    void numericEditsTakeEditingKeys_data()
    {
        QTest::addColumn<QString>("edit");
        for (const char *name : {"txtAnaValZero", "txtAnaVal10", "txtScaleZero", "txtScaleEnd", "txtScaleParts",
                                 "txtValueScaleZero", "txtValueScaleEnd", "txtRefInter", "txtMeasRefInter"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void numericEditsTakeEditingKeys()
    {
        QFETCH(QString, edit);
        auto *e = m_form->findChild<QLineEdit *>(edit);
        QVERIFY(e);
        const bool interval = edit.endsWith("RefInter");
        m_form->pages()->setCurrentWidget(interval ? m_form->TabProgram : m_form->TabMeasureConfig);
        if (edit == "txtRefInter")
            m_form->txtRefInter->setEnabled(true);
        m_form->StatusClear();
        e->setText("12");
        e->setFocus(Qt::TabFocusReason);
        QTest::keyClick(e, Qt::Key_Home);
        // as X11 delivers it: Delete carries DEL as its text, Tab a tab character
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
        QCOMPARE(e->text(), QStringLiteral("2"));
        QTest::keyClick(e, Qt::Key_End);
        QTest::keyClick(e, Qt::Key_Left);
        QTest::keyClicks(e, "5");
        QTest::keyClick(e, Qt::Key_Right);
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), QStringLiteral("5"));
        QTest::keyClicks(e, "7");
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);             // shortcuts pass as well
        QCOMPARE(e->selectedText(), QStringLiteral("57"));
        QTest::keyClick(e, Qt::Key_End);
        QCOMPARE(message(), QString());
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(!e->hasFocus());
        QCOMPARE(message(), QString());
        QCOMPARE(e->text().trimmed().left(2), QStringLiteral("57"));
        if (edit == "txtRefInter")
            m_form->txtRefInter->setEnabled(m_form->cboQTTime->isChecked());
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
    }

    // The start arrives after the duration when reading; the stop follows both and is not
    // shown as if the instrument had sent it.
    void readingTheConfigurationKeepsTheStopWithTheStart()
    {
        m_instrument.duration = "12:60";                             // does not convert: marks the stop too
        m_form->engine().QueueOrder(Link::Order::GDM);
        QVERIFY(idle());
        QCOMPARE(background(m_form->iseStopTime), kRed);

        m_form->dtpStartDate->setDate(QDate(2026, 6, 15));
        m_form->iseStartTime->setStringValue("10:00:00");
        m_instrument.startDate = "01.01";
        m_instrument.startTime = "12:00:00";
        m_instrument.duration = "0024:00";
        QTest::keyClick(m_form.get(), Qt::Key_F5);
        QVERIFY(idle());
        QCOMPARE(m_form->dtpStartDate->date(), QDate(2026, 1, 1));
        QCOMPARE(m_form->iseStartTime->text(), QStringLiteral("12:00:00"));
        QCOMPARE(m_form->iseDuration->text(), QStringLiteral("0024:00"));
        QCOMPARE(m_form->dtpStopDate->date(), QDate(2026, 1, 2));
        QCOMPARE(m_form->iseStopTime->text(), QStringLiteral("12:00:00"));
        for (QWidget *w : {static_cast<QWidget *>(m_form->dtpStartDate), static_cast<QWidget *>(m_form->iseStartTime),
                           static_cast<QWidget *>(m_form->iseDuration)})
            QCOMPARE(background(w), kSilver);
        for (QWidget *w : {static_cast<QWidget *>(m_form->dtpStopDate), static_cast<QWidget *>(m_form->iseStopTime)})
            QCOMPARE(background(w), m_form->palette().color(QPalette::Base));

        // a file holding start and duration gives the stop as well
        const QString path = m_dir.path() + "/start.QT8";
        writeConfig(path, {{"StartDatum", "28.02.2026"}, {"StartZeit", "23:45:00"}, {"SpeicherDauer", "0100:15"}});
        load(path);
        QCOMPARE(m_form->dtpStopDate->date(), QDate(2026, 3, 5));
        QCOMPARE(m_form->iseStopTime->text(), QStringLiteral("04:00:00"));
        QVERIFY(background(m_form->dtpStopDate) != kYellow);
    }

    // A span of 24 hours or more is what the spin edit steps to, and the instrument echoes it.
    void intervalsOf24HoursAndMoreAreShown()
    {
        m_instrument.polInter = "25:00:00";
        m_instrument.measInt = "24:10:00";
        m_form->engine().QueueOrder(Link::Order::GAT);
        m_form->engine().QueueOrder(Link::Order::GTI);
        QVERIFY(idle());
        QCOMPARE(m_form->isePolInter->text(), QStringLiteral("25:00:00"));
        QCOMPARE(m_form->iseMeasInt->text(), QStringLiteral("24:10:00"));
        QCOMPARE(background(m_form->isePolInter), kSilver);
        QCOMPARE(background(m_form->iseMeasInt), kSilver);

        setTransferAtOnce(true);
        m_form->pages()->setCurrentWidget(m_form->TabConfig);
        TInterSpinEdit *ise = m_form->isePolInter;
        ise->setStringValue("23:10:00");
        ise->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ise, Qt::Key_Home);
        QTest::keyClick(ise, Qt::Key_Up);
        QCOMPARE(ise->text(), QStringLiteral("24:10:00"));
        QCOMPARE(background(ise), m_form->palette().color(QPalette::Base));
        QTest::keyClick(ise, Qt::Key_Tab);
        QVERIFY(idle());
        QCOMPARE(sent("SAT"), QStringList{"SAT;24:10:00;"});
        QCOMPARE(m_instrument.polInter, QStringLiteral("24:10:00"));
        QCOMPARE(ise->text(), QStringLiteral("24:10:00"));
        QCOMPARE(background(ise), kSilver);
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
    }

    // The instrument's clock has no key handler: moving the caret does not mark it as changed.
    void clockTimeKeepsItsColourOnKeys()
    {
        m_form->pages()->setCurrentWidget(m_form->TabConfig);
        m_form->btnSetDT->setFocus();
        m_form->store().Dat2Form(Model::Field::DeviceTime, Model::TelegramSlot, "10:11:12");
        QCOMPARE(background(m_form->iseQTTime), kSilver);
        m_form->iseQTTime->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_form->iseQTTime, Qt::Key_Right);
        QTest::keyClick(m_form->iseQTTime, Qt::Key_Left);
        QCOMPARE(background(m_form->iseQTTime), kSilver);
        m_form->btnSetDT->setFocus();
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
    }

    // Save with F3, scramble, load with F2: every control comes back, and saving again
    // writes the same bytes, whatever the desktop's formats and the decimal separator.
    void configurationRoundTripsThroughTheWindow_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("decimalSep");
        QTest::newRow("desktop") << QString() << 0;
        QTest::newRow("da_DK, comma") << "da_DK" << 1;
        QTest::newRow("fi_FI") << "fi_FI" << 0;
        QTest::newRow("fr_CA, comma") << "fr_CA" << 1;
        QTest::newRow("C") << "C" << 0;
    }

    void configurationRoundTripsThroughTheWindow()
    {
        QFETCH(QString, locale);
        QFETCH(int, decimalSep);
        m_form->applySystemFormats(locale.isEmpty() ? QLocale::system() : QLocale(locale));
        setDecimalSeparator(decimalSep);
        const QString sep = decimalSep ? "," : ".";
        TForm1 &f = *m_form;
        const int positions[] = {4, 1, 1, 3, 1, 0, 1, 1, 1, 2};
        TTextSpin *spins[] = {f.tsRange, f.tsPol, f.tsZeroAtStart, f.tsAnaOut, f.tsQTLanguage, f.tsAnaIn,
                              f.tsMemEnd, f.tsPolAlter, f.tsStartMode, f.tsOutMeas};
        for (int i = 0; i < 10; ++i)
            spins[i]->setPosition(positions[i]);
        f.isePolInter->setStringValue("24:10:00");
        f.iseMeasInt->setStringValue("00:00:30");
        f.dtpStartDate->setDate(QDate(2026, 2, 28));
        f.iseStartTime->setStringValue("23:45:00");
        f.iseDuration->setStringValue("0100:15");
        f.iseDuration->setFocus();
        f.btnEnd->setFocus();                                        // leaving the duration moves the stop
        f.txtAnaName->setText(QStringLiteral("Größe € [x]"));
        f.txtAnaUnit->setText(QStringLiteral("µS/cm"));
        f.txtAnaValZero->setText("-1" + sep + "5");
        f.txtAnaVal10->setText("1000");
        f.txtScaleZero->setText("0" + sep + "25");
        f.txtScaleEnd->setText("250");
        f.txtScaleParts->setText("5");
        f.txtValueScaleZero->setText("2" + sep + "5");
        f.txtValueScaleEnd->setText("97" + sep + "5");
        const QStringList before = settings();
        QCOMPARE(f.dtpStopDate->date(), QDate(2026, 3, 5));

        QTemporaryDir first, second;
        save(first.path() + "/runde.QT8");
        const QByteArray written = readAll(first.path() + "/runde.QT8");
        QVERIFY(written.startsWith("[KOPF]\r\n"));
        // the pickers show the desktop's dates as the clock does; the file keeps its own form
        QVERIFY(written.contains("28.02.2026"));
        QCOMPARE(f.dtpStartDate->date(), QDate(2026, 2, 28));
        QTRY_COMPARE(f.lblSysDate->text().trimmed(), QDate::currentDate().toString(f.dtpStartDate->displayFormat()));

        for (TTextSpin *spin : spins)
            spin->setPosition(0);
        for (TInterSpinEdit *ise : {f.isePolInter, f.iseMeasInt, f.iseStartTime})
            ise->setStringValue("00:00:01");
        f.iseDuration->setStringValue("0001:00");
        f.dtpStartDate->setDate(QDate(2030, 7, 7));
        for (QLineEdit *e : {f.txtAnaName, f.txtAnaUnit, f.txtAnaValZero, f.txtAnaVal10, f.txtScaleZero, f.txtScaleEnd,
                             f.txtScaleParts, f.txtValueScaleZero, f.txtValueScaleEnd})
            e->setText("9");
        QVERIFY(settings() != before);

        load(first.path() + "/runde.QT8");
        QVERIFY(m_questions.isEmpty());
        QCOMPARE(settings(), before);
        for (QWidget *w : std::initializer_list<QWidget *>{f.tsRange, f.isePolInter, f.iseMeasInt, f.dtpStartDate,
                                                           f.iseStartTime, f.iseDuration, f.txtAnaName,
                                                           f.txtValueScaleEnd, f.tsOutMeas})
            QCOMPARE(background(w), kYellow);

        save(second.path() + "/runde.QT8");
        QCOMPARE(withoutTimeStamp(readAll(second.path() + "/runde.QT8")), withoutTimeStamp(written));
        setDecimalSeparator(0);
    }

    // Keys on every page: Return and Enter walk on and are swallowed, any key (navigation keys
    // too) takes a file's colour off a value control, Escape asks to close.
    void windowAndEntryKeys_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("moves");
        QTest::newRow("Return in a selector's page") << "isePolInter" << int(Qt::Key_Return) << true;
        QTest::newRow("Enter in a name") << "txtAnaName" << int(Qt::Key_Enter) << true;
        QTest::newRow("Return in a date") << "dtpStartDate" << int(Qt::Key_Return) << true;
        QTest::newRow("Return in a folder") << "txtMPath" << int(Qt::Key_Return) << true;
        QTest::newRow("Left in a number") << "txtScaleEnd" << int(Qt::Key_Left) << false;
        QTest::newRow("Home in a time") << "iseStartTime" << int(Qt::Key_Home) << false;
        QTest::newRow("Right in a date") << "dtpStopDate" << int(Qt::Key_Right) << false;
    }

    void windowAndEntryKeys()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(bool, moves);
        auto *w = m_form->findChild<QWidget *>(control);
        QVERIFY(w);
        for (QWidget *page : {m_form->TabConfig, m_form->TabMeasureConfig, m_form->TabProgram})
            if (page->isAncestorOf(w))
                m_form->pages()->setCurrentWidget(page);
        QCoreApplication::processEvents();
        const bool whitens = control != "txtMPath";
        if (whitens)
            PageControls::setControlColour(w, kYellow);
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
        QTest::keyClick(w, Qt::Key(key));
        QCOMPARE(!w->hasFocus() && !w->isAncestorOf(QApplication::focusWidget()), moves);
        if (whitens)
            QCOMPARE(background(w), m_form->palette().color(QPalette::Base));
        if (control == "txtScaleEnd") {
            // pasted letters are refused as typed ones; Backspace leaves the message
            QGuiApplication::clipboard()->setText("1a");
            auto *edit = static_cast<QLineEdit *>(w);
            const QString before = edit->text();
            QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(edit->text(), before);
            QTest::keyClick(w, Qt::Key_Backspace);
            QCOMPARE(message(), QStringLiteral("Nur Zeichen \"-0123456789,.\" möglich!"));
        }
        m_form->pages()->setCurrentWidget(m_form->TabMeasureConfig);
    }

    void escapeAsksToClose()
    {
        m_form->cbAskArProgrammClose->setChecked(true);
        m_form->selection().AskOnClose = true;
        m_answer = false;
        m_form->txtAnaName->setFocus();
        QTest::keyClick(m_form->txtAnaName, Qt::Key_Escape);
        m_answer = true;
        QCOMPARE(m_questions.size(), 1);
        QVERIFY(m_form->isVisible());
    }
};

QT8800_WINDOW_TEST_MAIN(ConfigPagesTest)
#include "ConfigPagesTest.moc"
