// The main window and its export windows as a screen reader sees them: every control named,
// settings changed through the accessibility interfaces reaching the stand-in instrument, and
// the status lines' port and messages readable and announced.
#include "app/ChartWindow.h"
#include "app/MemoryDataPage.h"
#include "app/StatusLine.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "app/WindowStatusBar.h"
#include "FormTestSupport.h"
#include "lang/Catalogue.h"
#include "lang/Texts.h"
#include "WindowFixture.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TSlideButton.h"
#include "widgets/TTextSpin.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <set>

using namespace FormTest;

namespace {

struct Heard {
    QAccessible::Event type;
    QObject *object;
    QString name;
};

std::vector<Heard> g_heard;

void hear(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    g_heard.push_back({event->type(), event->object(), iface ? iface->text(QAccessible::Name) : QString()});
}

bool heard(QAccessible::Event type, const QString &name)
{
    return std::any_of(g_heard.begin(), g_heard.end(), [&](const Heard &h) { return h.type == type && h.name == name; });
}

QString describe(QAccessibleInterface *iface)
{
    QObject *object = iface->object();
    return QStringLiteral("%1 \"%2\" (role %3)")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) + u' ' + object->objectName()
                    : QStringLiteral("?"),
             iface->text(QAccessible::Name))
        .arg(int(iface->role()), 0, 16);
}

// the tree a screen reader walks: whatever can take the focus or be worked must say what it is
void walk(QAccessibleInterface *iface, std::set<QObject *> &seen, QStringList &nameless, int depth = 0)
{
    if (!iface || depth > 50)
        return;
    if (QObject *object = iface->object())
        seen.insert(object);
    QStringList actions = iface->actionInterface() ? iface->actionInterface()->actionNames() : QStringList();
    actions.removeAll(QAccessibleActionInterface::setFocusAction());
    // a widget that hands its focus on (the page control to its tab bar) never holds it itself
    auto *widget = qobject_cast<QWidget *>(iface->object());
    const bool focusable = iface->state().focusable && !(widget && widget->focusProxy());
    const bool interactive = focusable || !actions.isEmpty();
    // "..." or "?" says nothing; a name says something in words or numbers. Qt names a menu
    // item by its text alone, so there a text of any kind has to do.
    const QString name = iface->text(QAccessible::Name);
    const bool menuItem = iface->role() == QAccessible::MenuItem;
    const bool says = menuItem ? !name.trimmed().isEmpty()
                               : std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
    // an empty grid cell has nothing to say; its column heading speaks for it
    const bool emptyCell = iface->role() == QAccessible::Cell && iface->text(QAccessible::Value).isEmpty();
    if (interactive && !says && !emptyCell)
        nameless << describe(iface);
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), seen, nameless, depth + 1);
}

QAccessibleInterface *of(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class WindowAccessibilityTest : public WindowFixture
{
    Q_OBJECT

    // a control, the catalogue text that names it, and the label carrying that text (none for a
    // group's title, a check box's own text or a name set on a button whose face says nothing)
    struct NamedControl
    {
        QWidget *control;
        Lang::TextId caption;
        const char *label = nullptr;
    };
    QList<NamedControl> namedControls() const
    {
        using namespace Lang;
        TForm1 &f = *m_form;
        auto onPage = [&](QWidget *page, const char *name) { return page->findChild<QWidget *>(QLatin1String(name)); };
        return {
            // device settings
            {f.dtpQTDate, TxCapLblQTDate, "lblQTDate"},
            {f.iseQTTime, TxCapLblQTTime, "lblQTTime"},
            {f.tsRange, TxCapGbRange},
            {f.tsPolAlter, TxCapLblAlterPol, "lblAlterPol"},
            {f.isePolInter, TxCapLblPolInter, "lblPolInter"},
            {f.tsQTLanguage, TxCapGbQTLang},
            {f.btnZero, TxCapBtnZero},
            // recording settings
            {f.dtpStartDate, TxCapLblStartDate, "lblStartDate"},
            {f.iseStopTime, TxCapLblEndTime, "lblEndTime"},
            {f.iseDuration, TxCapLblDuration, "lblDuration"},
            {f.tsStartMode, TxCapLblStartMode, "lblStartMode"},
            {f.iseMeasInt, TxCapLblMeasInt, "lblMeasInt"},
            {f.tsMemEnd, TxCapGbEndMem},
            {f.txtAnaName, TxCapLblExtLabel, "lblExtLabel"},
            {f.txtValueScaleEnd, TxCapLblExtScaleValueEnd, "lblExtScaleValueEnd"},
            {f.btnInfo1, TxNameQueryMemoryUse},
            {f.btnStart, TxCapGbManMem},
            // measurement data
            {onPage(f.TabMemoryData, "sgDirectory"), TxPageGbDirectory},
            {onPage(f.TabMemoryData, "clBMeasureFields"), TxPageGbMeasureFields},
            {f.cboTwoCol, TxPageCboTwoCol},
            {f.cboAlarmNotValid, TxPageCboAlarmNotValid},
            // device view
            {onPage(f.TabInfo, "btnPol"), TxNameBtnPol},
            {onPage(f.TabInfo, "btnInfo"), TxNameSwitch},
            // program settings
            {f.tsComPort, TxCapGbPort},
            {f.tsBaud, TxCapGbBaud},
            {f.tsProgLang, TxCapGbProgLang},
            {f.txtMPath, TxCapLblMeasPath, "lblMeasPath"},
            {f.txtQTPath, TxCapLblKonfPath, "lblKonfPath"},
            {f.btnMPath, TxNameChooseMeasureDir},
            {f.btnDebugPath, TxNameChooseLogDir},
            {f.cboPrompt, TxCapCboPrompt},
            {f.txtMeasRefInter, TxCapLblMeasRefresh, "lblMeasRefresh"},
        };
    }
    // what a caption says aloud: the mnemonic marks go ("&&" is an ampersand) and blanks close up;
    // a closing ':' stays, as it stays on the screen
    static QString spoken(QString caption)
    {
        for (qsizetype i = 0; i < caption.size(); ++i)
            if (caption.at(i) == u'&')
                caption.remove(i, 1);
        return caption.simplified();
    }
    void checkNames(const QString &when)
    {
        QStringList wrong;
        for (const NamedControl &c : namedControls()) {
            QVERIFY2(c.control, qPrintable(QString::number(c.caption)));
            const QString where = when + u' ' + c.control->objectName() + u' ';
            QAccessibleInterface *iface = of(c.control);
            const QString expected = spoken(Lang::Text(c.caption));
            if (expected.isEmpty() || expected.startsWith(u'?'))
                wrong << where + QStringLiteral("no text %1").arg(c.caption);
            else if (iface->text(QAccessible::Name) != expected)
                wrong << where + QStringLiteral("says \"%1\", its caption is \"%2\"").arg(iface->text(QAccessible::Name), expected);
            if (!c.label)
                continue;
            auto *label = c.control->parentWidget()->findChild<QLabel *>(QLatin1String(c.label), Qt::FindDirectChildrenOnly);
            if (!label || label->buddy() != c.control) {
                wrong << where + QStringLiteral("is not the buddy of %1").arg(QLatin1String(c.label));
                continue;
            }
            // the link a screen reader follows from the control to what labels it
            bool labelled = false;
            for (const auto &[other, relation] : iface->relations(QAccessible::Label))
                labelled = labelled || other->object() == label;
            if (!labelled)
                wrong << where + QStringLiteral("is not labelled by %1").arg(QLatin1String(c.label));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }
    // as a user does it: the language selector on the settings page, through its action
    void switchLanguage(int index)
    {
        QAccessibleInterface *language = of(m_form->tsProgLang);
        const auto action = index > m_form->tsProgLang->Position() ? QAccessibleActionInterface::increaseAction()
                                                                     : QAccessibleActionInterface::decreaseAction();
        language->actionInterface()->doAction(action);
        QCOMPARE(m_form->tsProgLang->Position(), index);
        QCOMPARE(m_form->param().ProgramLanguage, index);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QStringLiteral(QT8800_ENGLISH_MODULE), m_dir.filePath(QStringLiteral("qt8800.ENU"))));
        QHash<int, QString> german;
        for (int id : Lang::KnownTextIds())
            german.insert(id, Lang::GermanText(id));
        QFile deu(m_dir.filePath(QStringLiteral("qt8800.DEU")));
        QVERIFY(deu.open(QIODevice::WriteOnly));
        deu.write(Lang::WriteCatalogue(german));
        deu.close();
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        Widgets::setAnnouncementListener(hear);
        StartOptions o = windowOptions();
        // the language modules lie beside it: the English one as built, a German one of the built-in texts
        o.programFile = m_dir.filePath(QStringLiteral("qt8800"));
        QVERIFY(showWindow(o));
        QVERIFY(idle());
    }
    void cleanupTestCase() { Widgets::setAnnouncementListener(nullptr); }

    void everyControlOfTheWindowSaysWhatItIs()
    {
        std::set<QObject *> seen;
        QStringList nameless;
        TFormEXCEL *sheet = m_form->memoryPage()->formExcel();
        const QList<QWidget *> windows{m_form.get(), m_form->memoryPage()->formMeasure(), sheet, sheet->chartWindow()};
        for (QWidget *window : windows)
            walk(of(window), seen, nameless);
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QStringLiteral("\n"))));
        QVERIFY(seen.count(m_form->tsRange) && seen.count(m_form->btnMemClear) && seen.count(m_form->iseDuration));
        QVERIFY(seen.count(sheet->lblExcelRecordNr) && seen.count(sheet->chartWindow()->lstLegend));

        // a focusable widget the walk did not reach is a part of a control that speaks for it
        QStringList unreached;
        const auto widgets = m_form->findChildren<QWidget *>();
        for (QWidget *w : widgets) {
            if (!(w->focusPolicy() & Qt::TabFocus) || seen.count(w) || !windows.contains(w->window()))
                continue;
            QAccessibleInterface *owner = nullptr;
            for (QWidget *p = w->parentWidget(); p && !owner; p = p->parentWidget())
                if (seen.count(p))
                    owner = of(p);
            if (!owner || (owner->role() != QAccessible::SpinBox && owner->role() != QAccessible::ComboBox))
                unreached << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
        }
        QVERIFY2(unreached.isEmpty(), qPrintable(unreached.join(QStringLiteral("\n"))));

        // the walk passes over hidden controls and pages: they are named before they show
        for (QWidget *window : windows)
            for (QWidget *w : window->findChildren<QWidget *>()) {
                const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<TLedCheck *>(w)
                                     || qobject_cast<TTextSpin *>(w) || qobject_cast<TInterSpinEdit *>(w)
                                     || qobject_cast<TSlideButton *>(w);
                // a part of a control (arrows, scroll buttons, a grid's corner) speaks through its owner
                QWidget *parent = w->parentWidget();
                const bool part = qobject_cast<TTextSpin *>(parent) || qobject_cast<TInterSpinEdit *>(parent)
                                  || (parent && (parent->inherits("QTabBar") || parent->inherits("QAbstractSpinBox")
                                                 || parent->inherits("QAbstractItemView") || parent->inherits("QMenuBar")));
                if (control && !part && of(w)->text(QAccessible::Name).trimmed().isEmpty())
                    nameless << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
            }
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QStringLiteral("\n"))));
    }

    // Each control says the caption of its label or group as the catalogue gives it now, in
    // German, in English after the switch, and in German again; and a labelled one is linked to
    // its label, so a screen reader reads the label as the control's.
    void controlsAreNamedByTheirLabelsAndGroups()
    {
        QVERIFY(namedControls().size() >= 25);
        checkNames(QStringLiteral("German"));
        if (QTest::currentTestFailed())
            return;
        const QString germanRange = of(m_form->tsRange)->text(QAccessible::Name);

        switchLanguage(1);
        QVERIFY(!Lang::CurrentModuleFile().isEmpty());
        checkNames(QStringLiteral("English"));
        if (QTest::currentTestFailed())
            return;
        // the switch reached the names, not only the catalogue
        int changed = 0;
        for (const NamedControl &c : namedControls())
            changed += Lang::Text(c.caption) != Lang::GermanText(c.caption);
        QVERIFY2(changed >= 20, qPrintable(QString::number(changed)));
        QVERIFY(of(m_form->tsRange)->text(QAccessible::Name) != germanRange);

        switchLanguage(0);
        checkNames(QStringLiteral("German again"));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(of(m_form->tsRange)->text(QAccessible::Name), germanRange);
        QCOMPARE(of(m_form->tsBaud)->text(QAccessible::Description), Lang::Text(Lang::TxHintTsBaud));
    }

    // The export windows' status bars say their message, not their object name, and each value
    // panel its caption with the value, in the language of the moment.
    void theExportWindowsSayTheirStatusAndValues()
    {
        using namespace Lang;
        TFormEXCEL *sheet = m_form->memoryPage()->formExcel();
        TFormMeasure *text = m_form->memoryPage()->formMeasure();
        Measure::TBlockHeader block;
        block.BlockNr = 2;
        block.FirstRecordTime = Measure::DateTimeToDays(QDateTime(QDate(2026, 12, 1), QTime(9, 15)));
        sheet->ReadStarted(block, {});
        sheet->RowsWritten(60);
        for (int language : {1, 0}) {
            switchLanguage(language);
            sheet->setStatusText(Text(TxChartCreated));
            text->setStatusText(Text(TxDataSaved));
            const std::pair<QWidget *, QString> rows[] = {
                {sheet->stb1, Text(TxChartCreated)},
                {sheet->stb1->findChild<QLabel *>(), Text(TxChartCreated)},
                {text->stb1, Text(TxDataSaved)},
                {text->stb1->findChild<QLabel *>(), Text(TxDataSaved)},
                {sheet->lblEXCELMeasureNr, Text(TxSheetWinLblBlockNr) + " 2"},
                {sheet->lblEXCELStartDate, Text(TxSheetWinLblStartDate) + " 01.12.2026"},
                {sheet->lblExcelStartTime, Text(TxSheetWinLblStartTime) + " 09:15:00"},
                {sheet->lblExcelRecordNr, Text(TxSheetWinLblRecordNr) + " 60"}};
            for (const auto &[widget, expected] : rows)
                QCOMPARE(of(widget)->text(QAccessible::Name), expected);
        }
        QCOMPARE(of(sheet->lblEXCELMeasureNr)->text(QAccessible::Name), QStringLiteral("Messwert Block Nr.: 2"));
    }

    void buttonsWhoseFaceSaysNothingHaveNames()
    {
        const std::pair<QPushButton *, Lang::TextId> buttons[] = {
            {m_form->btnMPath, Lang::TxNameChooseMeasureDir}, {m_form->btnExcelDat, Lang::TxNameChooseTemplate},
            {m_form->btnQTPath, Lang::TxNameChooseConfigDir}, {m_form->btnDebugPath, Lang::TxNameChooseLogDir},
            {m_form->btnInfo1, Lang::TxNameQueryMemoryUse}};
        QSet<QString> names;
        for (const auto &[button, id] : buttons) {
            const QString name = of(button)->text(QAccessible::Name);
            QCOMPARE(name, Lang::Text(id));
            QVERIFY(!name.startsWith(u'?'));                       // a known text, not a missing one
            names.insert(name);
        }
        QCOMPARE(names.size(), 5);
        QCOMPARE(m_form->btnInfo1->text(), QStringLiteral("?"));     // the face stays a "?"
    }

    void aSelectorStepThroughItsActionReachesTheInstrument()
    {
        m_form->pages()->setCurrentIndex(0);
        m_form->cboPrompt->setChecked(true);
        const int before = m_instrument.range;
        QAccessibleInterface *range = of(m_form->tsRange);
        range->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QVERIFY(idle());
        QCOMPARE(m_instrument.range, (before + 1) % 10);
        QCOMPARE(background(m_form->tsRange), kSilver);              // the echo came back
        QCOMPARE(range->valueInterface()->currentValue().toInt(), m_instrument.range);
        m_form->cboPrompt->setChecked(false);
    }

    void aSpinEditStepThroughItsActionIsSentOnLeaving()
    {
        m_form->pages()->setCurrentIndex(0);
        m_form->cboPrompt->setChecked(true);
        m_form->isePolInter->setStringValue(m_instrument.polInter);
        QAccessibleInterface *interval = of(m_form->isePolInter);
        interval->textInterface()->setCursorPosition(3);             // the minutes
        interval->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(m_form->isePolInter->StringValue(), QStringLiteral("00:11:00"));
        QCOMPARE(QApplication::focusWidget(), m_form->isePolInter);
        of(m_form->tsRange)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QVERIFY(idle());
        QCOMPARE(m_instrument.polInter, QStringLiteral("00:11:00"));
        m_form->cboPrompt->setChecked(false);
    }

    void theStatusLineReadsOutPortAndMessages()
    {
        QAccessibleInterface *line = of(m_form->statusLine());
        QCOMPARE(int(line->role()), int(QAccessible::StatusBar));
        QCOMPARE(line->childCount(), 4);
        QAccessibleInterface *port = line->child(StatusLine::PortPanel);
        QAccessibleInterface *messagePanel = line->child(StatusLine::MessagePanel);
        QCOMPARE(port->text(QAccessible::Name), QStringLiteral("COM1 -  9600"));
        QCOMPARE(port->parent(), line);
        QCOMPARE(line->indexOfChild(messagePanel), int(StatusLine::MessagePanel));
        QVERIFY(m_form->statusLine()->rect().contains(m_form->statusLine()->mapFromGlobal(port->rect().center())));

        // a port that cannot open, chosen through the selector's action as a user would
        QFile::link(m_dir.path() + "/nowhere", m_dir.path() + "/COM2");
        g_heard.clear();
        of(m_form->tsComPort)->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        const QString error = message();
        QVERIFY2(error.startsWith("Unable to open com port (" + m_dir.path() + "/COM2 -> "), qPrintable(error));
        QCOMPARE(port->text(QAccessible::Name), QStringLiteral("???"));
        QCOMPARE(messagePanel->text(QAccessible::Name), error);
        QCOMPARE(line->text(QAccessible::Name), error);
        QVERIFY(heard(QAccessible::NameChanged, error));
        QVERIFY(heard(QAccessible::NameChanged, QStringLiteral("???")));
        QVERIFY(heard(QAccessible::Alert, error));

        // the same failure again is not said twice; a plain message is no alert
        g_heard.clear();
        m_form->statusLine()->StatusMessage(error, true);
        QVERIFY(g_heard.empty());
        m_form->statusLine()->StatusMessage(QStringLiteral("Bereit"), false);
        QVERIFY(heard(QAccessible::NameChanged, QStringLiteral("Bereit")));
        QVERIFY(!heard(QAccessible::Alert, QStringLiteral("Bereit")));

        of(m_form->tsComPort)->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(port->text(QAccessible::Name), QStringLiteral("COM1 -  9600"));
        QVERIFY(m_form->serial().PortReady());
        QCOMPARE(line->text(QAccessible::Description), QStringLiteral("COM1 -  9600"));
    }
};

QT8800_WINDOW_TEST_MAIN(WindowAccessibilityTest)
#include "WindowAccessibilityTest.moc"
