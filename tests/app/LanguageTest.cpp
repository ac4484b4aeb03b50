// Switching the program's language with the English module beside the program, as a user does it
// on the settings page, at start-up, and with modules that are damaged.
#include "app/DeviceViewPage.h"
#include "app/MemoryDataPage.h"
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "FormTestSupport.h"
#include "files/ParameterFile.h"
#include "lang/Catalogue.h"
#include "lang/Texts.h"
#include "WindowFixture.h"
#include "widgets/TBevel3D.h"
#include "widgets/TLedCheck.h"
#include "widgets/TSlideButton.h"
#include "widgets/TTextSpin.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace Lang;

class LanguageTest : public WindowFixture
{
    Q_OBJECT
    QTemporaryDir m_programDir;     // where the program and its modules lie
    QHash<int, QString> m_english;

    QString program() const { return m_programDir.filePath("qt8800"); }
    QString module() const { return m_programDir.filePath("qt8800.ENU"); }
    QString menuTitle(const char *name) const { return m_form->findChild<QMenu *>(name)->title(); }

    void writeModule(const QByteArray &bytes)
    {
        QFile f(module());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void installEnglishModule()
    {
        QFile::remove(module());
        QVERIFY(QFile::copy(QStringLiteral(QT8800_ENGLISH_MODULE), module()));
    }
    // the program ends, writing its parameter file
    void stop()
    {
        if (m_form) {
            m_form->closeWithoutQuestion();
            m_form.reset();
        }
    }
    // a new start of the program: its texts begin as the compiled-in ones
    void start(bool show = true)
    {
        stop();
        SetCatalogue({});
        StartOptions o = windowOptions();
        o.programFile = program();
        m_form = std::make_unique<TForm1>(o);
        m_form->selection().AskOnClose = false;
        if (show) {
            m_form->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        }
    }
    void writeParameterFile(int language)
    {
        Files::ParamRecord param;
        Files::SelectionRecord selection;
        Files::ReadParameterFile(m_dir.path(), param, selection);
        param.ProgramLanguage = language;
        selection.AskOnClose = false;
        QVERIFY(Files::WriteParameterFile(m_dir.path(), param, selection));
    }
    // the user steps the language selector on the settings page
    void chooseLanguage(int index)
    {
        m_form->pages()->setCurrentWidget(m_form->TabProgram);
        TTextSpin *spin = m_form->tsProgLang;
        QTRY_VERIFY(spin->isVisible() && spin->width() > 0);
        const auto box = index > spin->Position() ? spin->spinGeometry().upBox : spin->spinGeometry().downBox;
        QTest::mouseClick(spin, Qt::LeftButton, {}, box.center());
        QCOMPARE(spin->Position(), index);
    }

    // every text the window and its secondary windows show, with where it is shown
    QList<std::pair<QString, QString>> shownTexts() const
    {
        QList<std::pair<QString, QString>> out;
        auto add = [&out](QObject *o, const QString &what, const QString &text) {
            if (!text.isEmpty())
                out.append({o->objectName() + u' ' + what, text});
        };
        QList<QObject *> objects{m_form.get()};
        objects += m_form->findChildren<QObject *>();
        for (QObject *o : objects) {
            if (auto *w = qobject_cast<QWidget *>(o)) {
                add(o, "hint", w->toolTip());
                if (w->isWindow())
                    add(o, "title", w->windowTitle());
            }
            if (auto *l = qobject_cast<QLabel *>(o))
                add(o, "text", l->text());
            if (auto *b = qobject_cast<QAbstractButton *>(o))
                add(o, "text", b->text());
            if (auto *g = qobject_cast<QGroupBox *>(o))
                add(o, "title", g->title());
            if (auto *m = qobject_cast<QMenu *>(o))
                add(o, "title", m->title());
            if (auto *a = qobject_cast<QAction *>(o))
                add(o, "text", a->text());
            if (auto *t = qobject_cast<QTabWidget *>(o))
                for (int i = 0; i < t->count(); ++i)
                    add(o, "tab", t->tabText(i));
            if (auto *s = qobject_cast<TTextSpin *>(o))
                for (const QString &item : s->PosText())
                    add(o, "item", item);
            if (auto *g = qobject_cast<QTableWidget *>(o))
                for (int c = 0; c < g->columnCount(); ++c)
                    if (g->horizontalHeaderItem(c))
                        add(o, "heading", g->horizontalHeaderItem(c)->text());
            if (o->metaObject()->indexOfProperty("Caption") >= 0)
                add(o, "caption", o->property("Caption").toString());
        }
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_instrument.fillDemoMemory();
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        QFile english(QStringLiteral(QT8800_ENGLISH_MODULE));
        QVERIFY2(english.open(QIODevice::ReadOnly), QT8800_ENGLISH_MODULE);
        m_english = ParseCatalogue(english.readAll()).texts;
        installEnglishModule();
        QDir().mkpath(QStringLiteral(QT8800_SCREENS));
    }

    void startsWithTheCompiledInGermanTexts()
    {
        start();
        QVERIFY(m_form->paramFileFailed());
        QCOMPARE(CurrentModuleFile(), QString());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("QT 8800"));
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&Datei"));
        QCOMPARE(m_form->findChild<QAction *>("KonfigurationzumQT8800bertragen1")->text(),
                 QStringLiteral("Konfiguration zum QT 8800 übertragen"));
        const QStringList tabs{"&Geräteeinstellung", "Einstellungen &Messwertspeicher", "Messwert&aufbereitung",
                               "Gerätean&sicht", "&Programmeinstellung"};
        for (int i = 0; i < tabs.size(); ++i)
            QCOMPARE(m_form->pages()->tabText(i), tabs[i]);
        QCOMPARE(m_form->findChild<QGroupBox *>("gbRange")->title(), QStringLiteral("Messbereich in Ionen/cm³"));
        QCOMPARE(m_form->findChild<QLabel *>("lblExtScaleEnd")->text(), QStringLiteral(" Ende:"));
        QCOMPARE(m_form->findChild<QLabel *>("lblSerialNr")->buddy(), m_form->lblSerNr);
        QCOMPARE(m_form->cboDebug->text(), QStringLiteral("Datenverkehr von und zu QT 8800 protokollieren "));
        QCOMPARE(m_form->btnSaveQTKonfig->text(), QStringLiteral("PC  ---> QT8800   [F6]"));
        QCOMPARE(m_form->ledStatMem->property("Caption").toString(), QStringLiteral("Speichern"));
        QCOMPARE(m_form->btnZero->property("Caption").toString(), QStringLiteral("Nullpunktabgleich"));
        QCOMPARE(m_form->tsRange->PosText().value(2), QStringLiteral("1.500 (1,5k)  | clBlack | 2"));
        QCOMPARE(m_form->tsProgLang->PosText(), (QStringList{"Deutsch|  |1031", "English|  |1033"}));
        QCOMPARE(m_form->tsBaud->toolTip(), QStringLiteral("Wählen Sie die Baudrate der seriellen Schnittstelle aus\n"
                                                           "Im QT 8800 muss die gleiche Baudrate eingestellt sein!"));
        QVERIFY(m_form->tsComPort->toolTip().endsWith(
            "\nGerät: " + Link::SerialLink::ResolvePortName(m_dir.path(), "COM1")));
    }

    // everything the user sees changes, positions stay, and later messages come in English
    void choosingEnglishSwitchesEveryCaptionItemListAndHint()
    {
        QSet<QString> germanOnly;
        for (int id : KnownTextIds())
            if (m_english.value(id) != GermanText(id))
                germanOnly << GermanText(id);
        for (const QString &english : std::as_const(m_english))
            germanOnly.remove(english);
        m_form->memoryPage()->LoadDirectory();          // the grid's headings and field list
        QTRY_VERIFY_WITH_TIMEOUT(m_form->memoryPage()->sgDirectory->rowCount() > 0, 8000);
        m_form->tsRange->setPosition(2);
        m_form->tsPol->setPosition(1);
        m_form->tsAnaOut->setPosition(3);
        QHash<QString, int> positions;
        for (TTextSpin *spin : m_form->findChildren<TTextSpin *>())
            positions.insert(spin->objectName(), spin->Position());

        // Qt's own buttons and dialogs speak the program's language where the system has Qt's German
        const bool qtGerman = QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes") != QStringLiteral("&Yes"), qtGerman);
        chooseLanguage(1);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
        QCOMPARE(m_form->param().ProgramLanguage, 1);
        QCOMPARE(CurrentModuleFile(), module());
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&File"));
        QCOMPARE(m_form->pages()->tabText(2), m_english.value(TxPageTab));
        QCOMPARE(m_form->memoryPage()->formMeasure()->windowTitle(), QStringLiteral("Measurements in text format"));
        QCOMPARE(m_form->findChild<TAboutBox *>()->windowTitle(), QStringLiteral("About QT 8800"));
        QCOMPARE(m_form->tsComPort->toolTip(), m_english.value(TxHintTsComPort) + "\nDevice: "
                                                   + Link::SerialLink::ResolvePortName(m_dir.path(), "COM1"));
        // a selector keeps its position, now with the translated caption
        QCOMPARE(m_form->tsRange->Position(), 2);
        QCOMPARE(m_form->tsRange->PosString(), QStringLiteral("1,500 (1.5k)"));
        QCOMPARE(m_form->tsPol->PosString(), QStringLiteral("Negative"));
        for (TTextSpin *spin : m_form->findChildren<TTextSpin *>())
            if (spin != m_form->tsProgLang)
                QCOMPARE(spin->Position(), positions.value(spin->objectName()));

        QStringList stillGerman;
        for (const auto &[where, text] : shownTexts())
            if (germanOnly.contains(text))
                stillGerman << where + ": " + text;
        QVERIFY2(stillGerman.isEmpty(), qPrintable(stillGerman.join(u'\n')));

        m_form->pages()->setCurrentWidget(m_form->TabProgram);
        m_form->txtRefInter->setFocus();
        QTest::keyClick(m_form->txtRefInter, Qt::Key_X);
        QCOMPARE(message(), m_english.value(TxOnlyNumberChars));
    }

    void screenshotsOfEveryPageInEnglish()
    {
        QDir().mkpath(QStringLiteral(QT8800_SCREENS "/english"));
        QTest::keyClick(m_form.get(), Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(m_form->engine().isIdle() && m_form->lblSerNr->text() == m_instrument.serial, 8000);
        for (int i = 0; i < m_form->pages()->count(); ++i) {
            m_form->pages()->setCurrentIndex(i);
            QCoreApplication::processEvents();
            QVERIFY(m_form->grab().save(QStringLiteral(QT8800_SCREENS "/english/page%1.png").arg(i)));
        }
        const std::pair<QWidget *, const char *> windows[] = {
            {m_form->memoryPage()->formMeasure(), "text-window"},
            {m_form->memoryPage()->formExcel(), "workbook-window"},
            {m_form->findChild<TAboutBox *>(), "about"}};
        for (const auto &[window, name] : windows) {
            window->adjustSize();
            QVERIFY(window->grab().save(QStringLiteral(QT8800_SCREENS "/english/%1.png").arg(name)));
        }
    }

    // there is no German module: German comes back with the next start only
    void choosingGermanAgainKeepsEnglishUntilTheNextStart()
    {
        chooseLanguage(0);
        QCOMPARE(m_form->param().ProgramLanguage, 0);
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&File"));
        QCOMPARE(m_form->tsRange->PosText().value(2), m_english.value(TxItemsTsRange + 2));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::MessagePanel).state, 0);

        start();                                        // the parameter file now says German
        QVERIFY(!m_form->paramFileFailed());
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&Datei"));
        QCOMPARE(m_form->tsProgLang->Position(), 0);

        chooseLanguage(1);
        start();                                        // and now English, before the window is shown
        QCOMPARE(m_form->tsProgLang->Position(), 1);
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&File"));
        QCOMPARE(m_form->pages()->tabText(0), QStringLiteral("&Device settings"));
        QCOMPARE(m_form->memoryPage()->formExcel()->windowTitle(), QStringLiteral("Measurements to EXCEL"));
    }

    void aParameterFileThatFailedKeepsTheCompiledInTexts()
    {
        stop();
        QFile param(m_dir.filePath("QT8800.dat"));
        QVERIFY(param.open(QIODevice::ReadWrite));
        param.seek(10);
        param.write("damaged");                         // the checksum no longer fits
        param.close();
        start();
        QVERIFY(m_form->paramFileFailed());
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&Datei"));
        QCOMPARE(m_form->pages()->currentWidget(), m_form->TabProgram);
    }

    void choosingEnglishWithoutAModuleSaysSoAndTheSelectorReturns()
    {
        QFile::remove(module());
        m_form->tsProgLang->setPosition(1);
        m_form->tsProgLangChanged();
        QCOMPARE(m_form->tsProgLang->Position(), 0);
        QCOMPARE(m_form->param().ProgramLanguage, 0);
        QCOMPARE(message(), Format(GermanText(TxModuleNotFound), {module()}));
        installEnglishModule();
    }

    void damagedModulesAtStartLeaveTheGermanTextsAndSaySo_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << GermanText(TxModuleEmpty);
        QTest::newRow("binary") << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\x02\0>\0", 14) << GermanText(TxModuleBinary);
        QTest::newRow("unknown numbers only") << QByteArray("9001=one\n9002=two\n") << GermanText(TxModuleNoTexts);
        QTest::newRow("empty entries only") << QByteArray("5015=\n5016= \n") << GermanText(TxModuleNoTexts);
    }
    void damagedModulesAtStartLeaveTheGermanTextsAndSaySo()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        stop();
        writeParameterFile(1);
        writeModule(bytes);
        start();
        QCOMPARE(m_form->tsProgLang->Position(), 1);
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&Datei"));
        QCOMPARE(m_form->tsRange->PosText().value(0), QStringLiteral("Auto | clBlue | 0"));
        QCOMPARE(m_form->devicePage()->btnInfo->shownText(), QStringLiteral("Aus"));
        QVERIFY2(message().contains("qt8800.ENU") && message().contains(reason), qPrintable(message()));
        QCOMPARE(m_form->statusLine()->panel(StatusLine::MessagePanel).state, 1);
    }

    void aModuleDamagedWhileEnglishIsShownKeepsEnglish()
    {
        installEnglishModule();
        start();
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&File"));
        writeModule(QByteArray(300, '\xff'));
        m_form->tsProgLang->setPosition(1);
        m_form->tsProgLangChanged();
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&File"));
        QCOMPARE(m_form->tsRange->PosText().value(0), m_english.value(TxItemsTsRange));
        QVERIFY2(message().startsWith(Format(m_english.value(TxModuleUnusable),
                                             {"qt8800.ENU", m_english.value(TxModuleBinary)})),
                 qPrintable(message()));
    }

    void unknownAndDuplicateNumbersAreReportedTheRestIsShown()
    {
        QFile english(QStringLiteral(QT8800_ENGLISH_MODULE));
        QVERIFY(english.open(QIODevice::ReadOnly));
        writeModule("9999=stray\n5602=&Doubled\n" + english.readAll());
        SetCatalogue({});
        m_form->tsProgLang->setPosition(1);
        m_form->tsProgLangChanged();
        QCOMPARE(menuTitle("Datei1"), QStringLiteral("&Doubled"));      // the first line of a number counts
        QCOMPARE(m_form->pages()->tabText(0), QStringLiteral("&Device settings"));
        QVERIFY2(message().startsWith(Format(GermanText(TxModuleLinesSkipped),
                                             {"qt8800.ENU", "2", Format(GermanText(TxModuleUnknownId), {"1", "9999"})})),
                 qPrintable(message()));
    }

    // pages composed into the window apply with it; windows of their own afterwards, before the about box
    void registeredPagesAndWindowsReapplyInOrder()
    {
        installEnglishModule();
        stop();
        writeParameterFile(0);
        start();
        QStringList calls;
        m_form->addPageTexts([&] { calls << "page:" + menuTitle("Datei1"); });
        m_form->addWindowTexts([&] {
            calls << "window:" + menuTitle("Datei1") + ',' + m_form->findChild<TAboutBox *>()->windowTitle();
        });
        chooseLanguage(1);
        QCOMPARE(calls, (QStringList{"page:&File", "window:&File,Über QT 8800"}));
        calls.clear();
        m_form->ApplyLanguageTexts();
        QCOMPARE(calls, QStringList{"page:&File"});
    }

    void cleanupTestCase()
    {
        if (m_form)
            m_form->closeWithoutQuestion();
        m_form.reset();
        SetCatalogue({});
    }
};

QT8800_WINDOW_TEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
