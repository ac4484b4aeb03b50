#include "WidgetTestSupport.h"

#include "widgets/SpinButton.h"
#include "widgets/TInterSpinEdit.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>
#include <limits>

// the edit on a page with a second control, so that focus can leave it
struct Page {
    QWidget window;
    TInterSpinEdit *edit = new TInterSpinEdit(&window);
    QLineEdit *other = new QLineEdit(&window);
    bool active = false;

    Page()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
    }
};

class TInterSpinEditTest : public QObject
{
    Q_OBJECT

private slots:
    void leavingRewritesWithCarries_data();
    void leavingRewritesWithCarries();
    void stepping_data();
    void stepping();
    void arrowKeysStepThePartAtTheCaret();
    void settingValue_data();
    void settingValue();
    void readOnlyKeepsItsText();
    void spinButtonRepeatsWhileHeld();
    void modeChangeRewritesText();
    void clickSelectsPart();
    void spinButtonStepsTheHoursOfTextTheProgramWrote_data();
    void spinButtonStepsTheHoursOfTextTheProgramWrote();
};

void TInterSpinEditTest::leavingRewritesWithCarries_data()
{
    QTest::addColumn<bool>("duration");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("carries") << false << "1:75:80" << "02:16:20";
    QTest::newRow("hours only") << false << "7" << "07:00:00";
    QTest::newRow("stray characters ignored") << false << "1a:2b:3c" << "01:02:03";
    QTest::newRow("nothing") << false << "" << "00:00:00";
    QTest::newRow("endless digits") << false << "999999999999999999999999:0:0" << "999999999:00:00";
    QTest::newRow("duration drops seconds") << true << "12:90:59" << "0013:30";
}

void TInterSpinEditTest::leavingRewritesWithCarries()
{
    QFETCH(bool, duration);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Page page;
    page.edit->setDurationTyp(duration);
    page.edit->setFocus();
    page.edit->selectAll();
    QTest::keyClick(page.edit, Qt::Key_Delete);
    QTest::keyClicks(page.edit, typed);
    page.other->setFocus();
    QTRY_VERIFY(page.other->hasFocus());
    QCOMPARE(page.edit->text(), shown);
}

void TInterSpinEditTest::stepping_data()
{
    QTest::addColumn<bool>("duration");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("selected");
    QTest::newRow("hours 23 up") << false << "23:10:00" << 0 << true << "24:10:00" << "24";
    QTest::newRow("hours 24 up wraps") << false << "24:10:00" << 1 << true << "00:10:00" << "00";
    QTest::newRow("hours 0 down wraps to 24") << false << "00:10:00" << 2 << false << "24:10:00" << "24";
    QTest::newRow("minutes 59 up") << false << "05:59:00" << 3 << true << "05:00:00" << "00";
    QTest::newRow("seconds 0 down") << false << "05:00:00" << 7 << false << "05:00:59" << "59";
    QTest::newRow("duration hours past 9999") << true << "9999:30" << 0 << true << "0000:30" << "0000";
    QTest::newRow("duration hours stop at 0") << true << "0000:30" << 4 << false << "0000:30" << "0000";
    QTest::newRow("duration minutes") << true << "0012:59" << 6 << true << "0012:00" << "00";
    QTest::newRow("typed text is read first") << false << "1:75:80" << 3 << true << "02:17:20" << "17";
}

void TInterSpinEditTest::stepping()
{
    QFETCH(bool, duration);
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(bool, up);
    QFETCH(QString, after);
    QFETCH(QString, selected);
    Page page;
    page.edit->setDurationTyp(duration);
    page.edit->setStringValue(before);
    page.edit->setCursorPosition(caret);
    SpinButton *button = page.edit->spinButton();
    const QPoint half = (up ? button->upRect() : button->downRect()).center();
    QTest::mouseClick(button, Qt::LeftButton, {}, half);
    QCOMPARE(page.edit->text(), after);
    QCOMPARE(page.edit->selectedText(), selected);
}

void TInterSpinEditTest::arrowKeysStepThePartAtTheCaret()
{
    Page page;
    page.edit->setStringValue("10:20:30");
    page.edit->setFocus();
    page.edit->setCursorPosition(4);
    QSignalSpy changes(page.edit, &TInterSpinEdit::OnChange);
    QTest::keyClick(page.edit, Qt::Key_Up);
    QTest::keyClick(page.edit, Qt::Key_Up);
    QCOMPARE(page.edit->text(), "10:22:30");
    QTest::keyClick(page.edit, Qt::Key_Down);
    QCOMPARE(page.edit->text(), "10:21:30");
    QCOMPARE(changes.count(), 3);
    page.edit->setIncrement(15);
    page.edit->setCursorPosition(7);
    QTest::keyClick(page.edit, Qt::Key_Up);
    QCOMPARE(page.edit->text(), "10:21:45");
    QTest::keyClick(page.edit, Qt::Key_Up);   // 60 is past 59: 0
    QCOMPARE(page.edit->text(), "10:21:00");
}

void TInterSpinEditTest::settingValue_data()
{
    QTest::addColumn<bool>("duration");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("duration of a day and a half") << true << 0.0 << 0.0 << 1.5 << "0036:00";
    QTest::newRow("noon") << false << 0.0 << 0.0 << 0.5 << "12:00:00";
    QTest::newRow("seconds round up into a minute") << false << 0.0 << 0.0 << 59.6 / 86400 << "00:01:00";
    QTest::newRow("a hair below a full hour") << false << 0.0 << 0.0 << 1.0 / 24 - 1e-12 << "01:00:00";
    QTest::newRow("below the range") << false << 0.25 << 0.5 << 0.1 << "06:00:00";
    QTest::newRow("above the range") << false << 0.25 << 0.5 << 0.75 << "12:00:00";
    QTest::newRow("equal bounds: no range") << false << 0.25 << 0.25 << 0.75 << "18:00:00";
    QTest::newRow("negative") << false << 0.0 << 0.0 << -1.0 << "00:00:00";
    QTest::newRow("not a number") << false << 0.0 << 0.0 << nan << "00:00:00";
    QTest::newRow("absurdly large") << true << 0.0 << 0.0 << 1e300 << "9999984:00";
}

void TInterSpinEditTest::settingValue()
{
    QFETCH(bool, duration);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(double, value);
    QFETCH(QString, shown);
    TInterSpinEdit edit;
    edit.setDurationTyp(duration);
    edit.setMinValue(minValue);
    edit.setMaxValue(maxValue);
    edit.setValue(value);
    QCOMPARE(edit.StringValue(), shown);
    // the value read back is the text's value
    QCOMPARE(edit.Value(), TInterSpinEdit::ValueFromParts(TInterSpinEdit::ReadText(shown)));
}

void TInterSpinEditTest::readOnlyKeepsItsText()
{
    Page page;
    page.edit->setStringValue("01:02:03");
    page.edit->setReadOnly(true);
    page.edit->setCursorPosition(0);
    QTest::mouseClick(page.edit->spinButton(), Qt::LeftButton, {}, page.edit->spinButton()->upRect().center());
    page.edit->setFocus();
    QTest::keyClick(page.edit, Qt::Key_Down);
    QCOMPARE(page.edit->text(), "01:02:03");
}

void TInterSpinEditTest::spinButtonRepeatsWhileHeld()
{
    Page page;
    page.edit->setStringValue("00:00:00");
    page.edit->setCursorPosition(7);
    SpinButton *button = page.edit->spinButton();
    const QPoint up = button->upRect().center();
    QElapsedTimer held;
    held.start();
    QTest::mousePress(button, Qt::LeftButton, {}, up);
    QCOMPARE(page.edit->text(), "00:00:01");
    // 400 ms to the first repeat, then 100 ms each
    QTRY_COMPARE_WITH_TIMEOUT(page.edit->text(), QStringLiteral("00:00:04"), 3000);
    QVERIFY(held.elapsed() >= 400 + 2 * 100 - 20);
    QTest::mouseRelease(button, Qt::LeftButton, {}, up);
    QCOMPARE(button->heldHalf(), SpinButton::Half::None);
    QVERIFY(!button->isRepeating());
}

void TInterSpinEditTest::modeChangeRewritesText()
{
    TInterSpinEdit edit;
    edit.setStringValue("01:30:45");
    edit.setDurationTyp(true);
    QCOMPARE(edit.text(), "0001:30");
    edit.setDurationTyp(false);
    QCOMPARE(edit.text(), "01:30:00");
}

void TInterSpinEditTest::clickSelectsPart()
{
    Page page;
    page.edit->setStringValue("11:22:33");
    QSignalSpy clicks(page.edit, &TInterSpinEdit::OnClick);
    // the middle of the minutes: past "11:2"
    const QFontMetrics fm(page.edit->font());
    const int x = page.edit->contentsRect().left() + 3 + fm.horizontalAdvance(QStringLiteral("11:2"));
    QTest::mouseClick(page.edit, Qt::LeftButton, {}, QPoint(x, page.edit->height() / 2));
    QCOMPARE(page.edit->selectedText(), "22");
    QCOMPARE(clicks.count(), 1);

    // entering by keyboard selects the part at the caret
    page.other->setFocus();
    page.edit->setCursorPosition(7);
    page.edit->setFocus(Qt::TabFocusReason);
    QCOMPARE(page.edit->selectedText(), "33");
}

void TInterSpinEditTest::spinButtonStepsTheHoursOfTextTheProgramWrote_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("after");
    QTest::newRow("value") << "value" << "01:01:00";
    QTest::newRow("string value") << "string" << "01:01:00";
    QTest::newRow("duration value") << "duration" << "0002:00";
    QTest::newRow("mode change") << "mode" << "0001:01";
    QTest::newRow("rewrite on leaving") << "leave" << "01:01:00";
}

// The user has not put the caret anywhere: one click on "up" must not step the last part.
void TInterSpinEditTest::spinButtonStepsTheHoursOfTextTheProgramWrote()
{
    QFETCH(QString, how);
    QFETCH(QString, after);
    Page page;
    TInterSpinEdit *edit = page.edit;
    page.other->setFocus();
    if (how == "value") {
        edit->setValue(1.0 / 1440);
    } else if (how == "string") {
        edit->setStringValue("00:01:00");
    } else if (how == "duration") {
        edit->setDurationTyp(true);
        edit->setValue(1.0 / 24);
    } else if (how == "mode") {
        edit->setStringValue("00:01:00");
        edit->setCursorPosition(8);
        edit->setDurationTyp(true);
    } else {
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, "0:1");
        page.other->setFocus();
        QTRY_VERIFY(page.other->hasFocus());
        QCOMPARE(edit->text(), "00:01:00");
    }
    QTest::mouseClick(edit->spinButton(), Qt::LeftButton, {}, edit->spinButton()->upRect().center());
    QCOMPARE(edit->text(), after);
    QCOMPARE(edit->selectedText(), after.left(after.indexOf(u':')));
}

QTEST_MAIN(TInterSpinEditTest)
#include "TInterSpinEditTest.moc"
