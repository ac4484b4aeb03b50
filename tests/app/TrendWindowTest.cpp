// The live trend window against the stand-in instrument: opened from the menu and the device
// view, plotting, pausing and recording what arrives.
#include "app/DeviceViewPage.h"
#include "app/TForm1.h"
#include "app/TrendPlot.h"
#include "app/TrendWindow.h"
#include "lang/Texts.h"
#include "WindowFixture.h"
#include "widgets/TMeter120.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TrendWindowTest : public WindowFixture
{
    Q_OBJECT
    TrendWindow *m_trend = nullptr;

    // live values come with the window's timer, one query every 13 steps at half a second
    bool samples(int count)
    {
        const int target = m_trend->buffer().size() + count;
        for (int i = 0; i < 40 * count && m_trend->buffer().size() < target; ++i)
            if (!tick(1))
                return false;
        return m_trend->buffer().size() >= target;
    }
    QStringList lines(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList out = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    void record(const QString &path)
    {
        m_trend->setRecordFileChooser([path](QWidget *, const QString &suggestion, auto done) {
            QVERIFY(suggestion.endsWith(QStringLiteral(".csv")));
            done(path);
        });
        QTest::mouseClick(m_trend->btnRecord, Qt::LeftButton);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        QVERIFY(showWindow(windowOptions()));
        m_form->param().MeasureInterval = 0.5f;
        m_trend = m_form->trendWindow();
        QVERIFY(m_trend);
        QVERIFY(idle());
    }

    void opensFromTheMenuAndPollsOnlyWhileShown()
    {
        QVERIFY(!m_trend->isVisible());
        QVERIFY(!m_form->DeviceViewActive);
        QVERIFY(tick(20));
        QCOMPARE(requests("GAM"), 0);       // nobody asks for live values yet

        QTest::keyClick(m_form.get(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowExposed(m_trend));
        QCOMPARE(m_trend->windowTitle(), Lang::Text(Lang::TxTrendTitle));
        QVERIFY(samples(4));
        // the device view's switch stays off, and so do its meters
        QCOMPARE(m_form->devicePage()->anzeige->Value(), 0.0);
        QCOMPARE(m_trend->buffer().newest().values[Measure::TrendBuffer::kIons] > 0, true);
        // ions, the analogue input and one sensor of each kind, as the stand-in sends them
        const std::vector<TrendPlot::LaneKind> lanes = m_trend->plot->lanes();
        QCOMPARE(int(lanes.size()), 4);
        QVERIFY(m_trend->buffer().has(Measure::TrendBuffer::HumiditySeries(3)));
        QVERIFY(m_trend->buffer().has(Measure::TrendBuffer::TemperatureSeries(3)));
        // the axis ends at the newest value
        QVERIFY(std::abs(m_trend->plot->end() - m_trend->buffer().newest().msecs) <= 1500);
        QVERIFY(m_trend->grab().save(QStringLiteral(QT8800_SCREENS "/trend.png")));

        QTest::mouseClick(m_trend->btnClose, Qt::LeftButton);
        QVERIFY(!m_trend->isVisible());
        QVERIFY(idle());
        const int asked = requests("GAM");
        QVERIFY(tick(30));
        QCOMPARE(requests("GAM"), asked);

        // the device view's key opens it as well
        m_form->pages()->setCurrentWidget(m_form->TabInfo);
        QTest::mouseClick(m_form->devicePage()->btnTrend, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(m_trend));
        QVERIFY(samples(2));
    }

    void pauseHoldsThePictureButNotTheValues()
    {
        QTest::mouseClick(m_trend->btnPause, Qt::LeftButton);
        QVERIFY(m_trend->paused());
        QCOMPARE(m_trend->btnPause->text(), Lang::Text(Lang::TxTrendResume));
        const qint64 end = m_trend->plot->end();
        QVERIFY(samples(3));
        QCOMPARE(m_trend->plot->end(), end);
        QTest::mouseClick(m_trend->btnPause, Qt::LeftButton);
        QVERIFY(!m_trend->paused());
        QVERIFY(m_trend->plot->end() >= m_trend->buffer().newest().msecs);
        QVERIFY(m_trend->plot->end() > end);

        // a span choice is what the axis shows
        m_trend->cboSpan->setCurrentIndex(0);
        QCOMPARE(m_trend->plot->span(), qint64(60'000));
        QVERIFY(samples(4));
        QVERIFY(m_trend->grab().save(QStringLiteral(QT8800_SCREENS "/trend-1min.png")));
        m_trend->cboSpan->setCurrentIndex(TrendWindow::kDefaultSpan);
    }

    void recordingWritesEveryValueWithMilliseconds()
    {
        const QString path = m_dir.filePath("live.csv");
        m_instrument.polarity = 0;
        record(path);
        QVERIFY(m_trend->recording());
        QVERIFY(m_trend->btnRecord->isChecked());
        QVERIFY(samples(3));
        m_instrument.polarity = 1;
        QVERIFY(samples(3));
        QTest::mouseClick(m_trend->btnRecord, Qt::LeftButton);
        QVERIFY(!m_trend->recording());
        QVERIFY(m_trend->statusText().contains(QDir::toNativeSeparators(path)));

        const QStringList rows = lines(path);
        QVERIFY(rows.size() >= 7);
        const QString name = m_form->txtAnaName->text().trimmed();
        const QString analog = name.isEmpty() ? Lang::Text(Lang::TxTrendAnalogLane) : name + QStringLiteral(" [V]");
        QCOMPARE(rows.first(), QStringLiteral("Datum;Zeit;Messbereich;Ionen;%1;F 3;T 3").arg(analog));
        QCOMPARE(qint64(rows.size() - 1), m_trend->recordedRows());
        QTime last(0, 0);
        bool negative = false;
        for (qsizetype i = 1; i < rows.size(); ++i) {
            const QStringList cells = rows[i].split(u';');
            QCOMPARE(cells.size(), 7);
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d[.,]\\d{3}$")).match(cells[1]).hasMatch(),
                     qPrintable(cells[1]));
            const QTime t = QTime::fromString(cells[1].left(8) + u'.' + cells[1].mid(9), QStringLiteral("HH:mm:ss.zzz"));
            QVERIFY(t.isValid());
            QVERIFY2(t > last, qPrintable(rows[i]));
            last = t;
            negative = negative || cells[3].toInt() < 0;
        }
        QVERIFY(negative);      // the polarity turned, and the sign with it
        m_instrument.polarity = 0;

        // a second recording into the same file continues it under the same heading
        record(path);
        QVERIFY(samples(2));
        QTest::mouseClick(m_trend->btnRecord, Qt::LeftButton);
        const QStringList more = lines(path);
        QCOMPARE(more.mid(0, rows.size()), rows);
        QCOMPARE(more.count(rows.first()), 1);
        QVERIFY(more.size() >= rows.size() + 2);
    }

    void aFileThatCannotBeWrittenIsReportedNotRecorded()
    {
        const QString path = m_dir.filePath("missing/live.csv");
        record(path);
        QVERIFY(!m_trend->recording());
        QVERIFY(!m_trend->btnRecord->isChecked());
        QVERIFY(m_trend->lblStatus->text().contains(QDir::toNativeSeparators(path)));
        QCOMPARE(m_trend->lblStatus->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(samples(2));
        QVERIFY(!QFile::exists(path));
        // the message stays until something new is said
        QVERIFY(m_trend->lblStatus->text().contains(QDir::toNativeSeparators(path)));

        // a cancelled question starts nothing
        m_trend->setRecordFileChooser([](QWidget *, const QString &, auto done) { done(QString()); });
        QTest::mouseClick(m_trend->btnRecord, Qt::LeftButton);
        QVERIFY(!m_trend->recording());
        QVERIFY(m_trend->btnRecord->isEnabled());
        // a good recording clears the red
        record(m_dir.filePath("good.csv"));
        QVERIFY(m_trend->recording());
        QVERIFY(m_trend->lblStatus->palette().color(QPalette::WindowText) != QColor(Qt::red));
        m_trend->StopRecording();
    }

    void closingTheWindowEndsTheRecording()
    {
        const QString path = m_dir.filePath("closed.csv");
        record(path);
        QVERIFY(samples(2));
        m_trend->close();
        QVERIFY(!m_trend->recording());
        const qsizetype rows = lines(path).size();
        QVERIFY(rows >= 3);
        QVERIFY(tick(30));
        QCOMPARE(lines(path).size(), rows);
    }

    void readByAssistiveTechnology()
    {
        m_form->showTrend();
        QVERIFY(QTest::qWaitForWindowExposed(m_trend));
        QVERIFY(samples(1));
        QAccessibleInterface *plot = QAccessible::queryAccessibleInterface(m_trend->plot);
        QVERIFY(plot);
        QCOMPARE(plot->role(), QAccessible::Chart);
        QCOMPARE(plot->text(QAccessible::Name), Lang::Text(Lang::TxTrendPlotName));
        const QString value = plot->text(QAccessible::Value);
        QVERIFY2(value.startsWith(Lang::Text(Lang::TxTrendIonLane) + QStringLiteral(": ")), qPrintable(value));
        QVERIFY2(value.contains(QStringLiteral("F 3: ")) && value.contains(QStringLiteral("T 3: ")), qPrintable(value));
        Lang::SetCatalogue({{Lang::TxFieldHumidityPrefix, QStringLiteral("H ")}});    // the sensors' names follow the language
        const QString english = plot->text(QAccessible::Value);
        Lang::SetCatalogue({});
        QVERIFY2(english.contains(QStringLiteral("H 3: ")), qPrintable(english));
        for (QWidget *w : std::initializer_list<QWidget *>{m_trend->btnPause, m_trend->btnRecord, m_trend->btnClose,
                                                            m_trend->cboSpan, m_form->devicePage()->btnTrend}) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
            QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
        }
        m_trend->close();
    }

    void cleanupTestCase()
    {
        if (m_form)
            m_form->closeWithoutQuestion();
        m_form.reset();
    }
};

QT8800_WINDOW_TEST_MAIN(TrendWindowTest)
#include "TrendWindowTest.moc"
