// Every page and secondary window, in German and in English, as the user sees them at the scale
// the run is started with: each caption fits its room and no German is left in English. The
// pictures of the walk are kept for a look by eye.
#include "app/ChartWindow.h"
#include "app/DeviceViewPage.h"
#include "app/MemoryDataPage.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "app/TFormSens.h"
#include "app/TrendWindow.h"
#include "app/WindowStatusBar.h"
#include "FormTestSupport.h"
#include "lang/Catalogue.h"
#include "lang/Texts.h"
#include "sim/PtyServer.h"
#include "widgets/TOvalButton.h"
#include "widgets/TTextSpin.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

const QSize kDefaultSize(703, 495); // the parameter file's window size

QString plain(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

int widest(const QFontMetrics &fm, const QString &text)
{
    int width = 0;
    for (const QString &line : text.split(u'\n'))
        width = std::max(width, fm.horizontalAdvance(line));
    return width;
}

// the caption a widget shows, the font it is drawn in and the room it has; an empty text when
// the widget has no caption of its own
struct Caption
{
    QString text;
    QFont font;
    int room = 0;
};

Caption captionOf(QWidget *w)
{
    if (auto *spin = qobject_cast<TTextSpin *>(w))
        return {spin->PosString(), spin->captionFont(), spin->spinGeometry().field.width() - 2};
    if (auto *oval = qobject_cast<TOvalButton *>(w))
        return {plain(oval->text()), oval->font(), int(TOvalButton::OvalRect(oval->rect()).width())};
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const bool check = button->inherits("QCheckBox") || button->inherits("QRadioButton");
        const auto element = check ? (button->inherits("QCheckBox") ? QStyle::SE_CheckBoxContents
                                                                    : QStyle::SE_RadioButtonContents)
                                   : QStyle::SE_PushButtonContents;
        const int room = button->style()->subElementRect(element, &option, button).width();
        return {plain(button->text()), button->font(), room};
    }
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
            return {};
        const int room = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
        return {label->buddy() ? plain(label->text()) : label->text(), label->font(), room};
    }
    if (auto *group = qobject_cast<QGroupBox *>(w))
        return {plain(group->title()), group->font(), group->contentsRect().width()};
    return {};
}

} // namespace

class ScreenWalkTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QTemporaryDir m_lockDir;
    Sim::Instrument m_instrument;
    std::unique_ptr<Sim::PtyServer> m_server;
    std::unique_ptr<TForm1> m_form;
    QHash<QString, Lang::TextId> m_germanIds; // German text -> its id
    QString m_scale;

    // texts that keep the language they were made in until they follow a switch: listed, not failed
    QList<QWidget *> exemptions() const
    {
        // the chart's title is the workbook's own heading, in the language the read was made in
        return {m_form->memoryPage()->formExcel()->chartWindow()->lblTitle};
    }
    bool exempt(QWidget *w) const
    {
        const QList<QWidget *> list = exemptions();
        for (QWidget *p = w; p; p = p->parentWidget())
            if (list.contains(p))
                return true;
        return false;
    }

    // the offenders of one window; its picture goes to the screens folder
    QStringList check(QWidget *window, const QString &name, bool english, QStringList &exempted)
    {
        QCoreApplication::processEvents();
        QStringList offenders;
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *w : widgets) {
            if (!w->isVisible() || w->window() != window)
                continue;
            const Caption c = captionOf(w);
            if (c.text.isEmpty())
                continue;
            ++m_captions;
            const QString who = QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName();
            const int width = widest(QFontMetrics(c.font), c.text);
            if (width > c.room)
                offenders << QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(who, c.text).arg(width).arg(c.room);
            const auto id = m_germanIds.constFind(c.text.trimmed());
            if (english && id != m_germanIds.cend() && Lang::Text(*id) != id.key()) {
                const QString german = QStringLiteral("%1 \"%2\" still German").arg(who, c.text);
                (exempt(w) ? exempted : offenders) << german;
            }
        }
        // every tab caption whole at the default width, whatever width the window has now
        if (window == m_form.get()) {
            QTabWidget *tabs = m_form->pages();
            const int room = kDefaultSize.width() - (m_form->width() - tabs->width());
            if (tabs->tabBar()->sizeHint().width() > room)
                offenders
                    << QStringLiteral("tab bar needs %1 px, has %2").arg(tabs->tabBar()->sizeHint().width()).arg(room);
        }
        const QString file = QStringLiteral(QT8800_SCREENS "/%1-%2-%3.png").arg(english ? "en" : "de", m_scale, name);
        window->grab().save(file);
        return offenders;
    }

    QStringList m_offenders; // of every window walked in one language
    int m_captions = 0;      // checked in one language
    void report(const QString &window, const QStringList &offenders)
    {
        if (!offenders.isEmpty())
            m_offenders << window + u':' << offenders;
    }

    void switchLanguage(int index)
    {
        for (int i = 0; i < 4 && m_form->tsProgLang->Position() != index; ++i)
            m_form->tsProgLang->UserStep(index > m_form->tsProgLang->Position() ? TTextSpin::Arrow::Up
                                                                                : TTextSpin::Arrow::Down);
        QCOMPARE(m_form->param().ProgramLanguage, index);
        QCOMPARE(Lang::CurrentModuleFile().isEmpty(), index == 0);
    }

    void walk(int language)
    {
        const bool english = language == 1;
        m_offenders.clear();
        m_captions = 0;
        switchLanguage(language);
        QStringList exempted;
        QTabWidget *pages = m_form->pages();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            if (pages->currentWidget() == m_form->devicePage()) {
                // live values with the alarms of the status rotating through the alarm label
                if (!m_form->devicePage()->liveUpdateOn())
                    m_form->devicePage()->FunctionKey(Qt::Key_F8);
                QTest::qWait(1500);
            }
            report(pages->tabText(i), check(m_form.get(), QStringLiteral("page%1").arg(i), english, exempted));
        }

        TFormEXCEL *sheet = m_form->memoryPage()->formExcel();
        TFormMeasure *text = m_form->memoryPage()->formMeasure();
        Measure::TBlockHeader block;
        block.BlockNr = 2;
        block.FirstRecordTime = Measure::DateTimeToDays(QDateTime(QDate(2026, 12, 1), QTime(9, 15)));
        sheet->ReadStarted(block, {});
        sheet->RowsWritten(60);
        if (!english) {
            sheet->setStatusText(Lang::Text(Lang::TxChartCreated));
            text->setStatusText(Lang::Text(Lang::TxDataSaved));
        }
        const std::pair<QWidget *, const char *> windows[] = {{m_form->sensorWindow(), "sensors"},
                                                              {m_form->trendWindow(), "trend"},
                                                              {text, "text"},
                                                              {sheet, "workbook"},
                                                              {sheet->chartWindow(), "chart"}};
        for (const auto &[window, name] : windows) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            report(QLatin1String(name), check(window, QLatin1String(name), english, exempted));
            window->hide();
        }

        auto *about = m_form->findChild<TAboutBox *>();
        QVERIFY(about);
        about->show();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        report(QStringLiteral("about"), check(about, QStringLiteral("about"), english, exempted));
        about->hide();
        if (!exempted.isEmpty())
            qInfo().noquote() << "German left, exempted:\n" + exempted.join(u'\n');
        QVERIFY2(m_offenders.isEmpty(), qPrintable(m_offenders.join(u'\n')));
        QVERIFY2(m_captions > 150, qPrintable(QString::number(m_captions)));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1.0"));
        QVERIFY(QDir().mkpath(QStringLiteral(QT8800_SCREENS)));
        QVERIFY(QFile::copy(QStringLiteral(QT8800_ENGLISH_MODULE), m_dir.filePath(QStringLiteral("qt8800.ENU"))));
        for (int id : Lang::KnownTextIds())
            m_germanIds.insert(Lang::GermanText(id).trimmed(), id);
        m_instrument.alarmMask = 0x80; // the widest German alarm text
        m_server = std::make_unique<Sim::PtyServer>(m_instrument);
        if (m_server->start(m_dir.path() + "/COM1").isEmpty())
            QSKIP("no pseudo-terminal available");
        StartOptions o;
        o.baseDir = m_dir.path();
        o.lockDir = m_lockDir.path();
        o.programFile = m_dir.filePath(QStringLiteral("qt8800"));
        o.ask = [](const QString &) { return true; };
        o.notify = [](const QString &) {};
        m_form = std::make_unique<TForm1>(o);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitFor([this] { return m_form->engine().isIdle(); }, 8000));
    }

    void theDefaultSizeHoldsEveryPage()
    {
        QEXPECT_FAIL("", "the pages' own minimum sizes still exceed the default size", Continue);
        QCOMPARE(m_form->size(), kDefaultSize);
    }
    void everyWindowFitsInGerman() { walk(0); }
    void everyWindowFitsAndSpeaksEnglish() { walk(1); }
};

QT8800_WINDOW_TEST_MAIN(ScreenWalkTest)
#include "ScreenWalkTest.moc"
