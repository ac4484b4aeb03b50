// The measurement page and its two windows, driven like a user would, against the stand-in
// instrument over a pty: directory, field list, group buttons, text and workbook reads.
#include "app/ChartWindow.h"
#include "app/MemoView.h"
#include "app/MemoryDataPage.h"
#include "app/StatusLine.h"
#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "app/TForm1.h"
#include "app/TextRowModel.h"
#include "widgets/TArrowBtn.h"
#include "measure/MemoryReader.h"
#include "WindowFixture.h"

#include "MeasureTestSupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QLineSeries>
#include <QtTest>

#include <cmath>

class MemoryPageTest : public WindowFixture
{
    Q_OBJECT
    MemoryDataPage *m_page = nullptr;
    std::optional<QString> m_chosenFile;            // what the save dialog answers
    QList<Files::FileDialogSetup> m_dialogs;
    QMessageBox::StandardButton m_answer = QMessageBox::Cancel;
    QList<QMessageBox::StandardButton> m_answers;   // answered first, one by one, before m_answer
    QStringList m_questions;
    QList<QMessageBox::StandardButtons> m_buttons;
    QStringList m_opened;
    bool m_openerFound = true;
    QStringList m_served;

    Measure::MemoryReader &reader() { return m_form->memoryReader(); }
    // a plain event loop: qWaitFor sleeps between its rounds, which would slow every exchange
    bool idle()
    {
        auto done = [this] { return m_form->engine().isIdle() && reader().isIdle(); };
        QEventLoop loop;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done() || waited.elapsed() > 60000)
                loop.quit();
        });
        poll.start(20);
        if (!done())
            loop.exec();
        return done();
    }
    QStringList memoLines()
    {
        TextRowModel *model = m_page->FormMeasure->rowModel();
        model->flush();
        QStringList lines;
        for (int i = 0; i < model->rowCount(); ++i)
            lines << model->index(i).data().toString();
        return lines;
    }
    QStringList fieldCaptions() const
    {
        QStringList out;
        for (int i = 0; i < m_page->clBMeasureFields->count(); ++i)
            out << m_page->clBMeasureFields->item(i)->text();
        return out;
    }
    QList<bool> marks() const
    {
        QList<bool> out;
        for (int i = 0; i < m_page->clBMeasureFields->count(); ++i)
            out << (m_page->clBMeasureFields->item(i)->checkState() == Qt::Checked);
        return out;
    }
    void clickRow(int row)
    {
        QTableWidget *grid = m_page->sgDirectory;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 0)).center());
    }
    void loadDirectory()
    {
        QTest::mouseClick(m_page->btnLoadDirectory, Qt::LeftButton);
        QVERIFY(idle());
    }
    void pickBlock(int row)
    {
        m_page->btnText->setFocus();                                  // the grid is entered anew
        clickRow(row);
        QCOMPARE(m_page->directoryTag(), row + 1);
    }
    static QStringList xLabels(ChartWindow *chart)
    {
        return static_cast<QCategoryAxis *>(chart->chart()->axes(Qt::Horizontal).first())->categoriesLabels();
    }
    void shoot(QWidget *w, const char *name)
    {
        QCoreApplication::processEvents();
        QVERIFY(w->grab().save(QStringLiteral(QT8800_SCREENS "/%1.png").arg(QLatin1String(name))));
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_instrument.fillDemoMemory();
        if (!startInstrument())
            QSKIP("no pseudo-terminal available");
        connect(m_server.get(), &Sim::PtyServer::requestServed, this,
                [this](const QByteArray &r) { m_served << QString::fromLatin1(r.left(3)); });
        QDir().mkpath(QStringLiteral(QT8800_SCREENS));
        StartOptions o = windowOptions();
        o.chooseFile = [this](const Files::FileDialogSetup &setup, bool) {
            m_dialogs << setup;
            return m_chosenFile;
        };
        m_form = std::make_unique<TForm1>(o);
        m_form->applySystemFormats(QLocale(QLocale::German, QLocale::Germany));
        m_form->param().MeasureDir = m_dir.path();
        m_page = m_form->memoryPage();
        QVERIFY(m_page);
        m_page->dialogs().ask = [this](const QString &q, QMessageBox::StandardButtons buttons) {
            m_questions << q;
            m_buttons << buttons;
            return m_answers.isEmpty() ? m_answer : m_answers.takeFirst();
        };
        m_page->dialogs().openExternal = [this](const QString &path) {
            m_opened << path;
            return m_openerFound;
        };
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QApplication::setActiveWindow(m_form.get());
        m_form->pages()->setCurrentWidget(m_form->TabMemoryData);
        QVERIFY(idle());
    }

    void thePageCarriesItsCaptionsHintsAndOptions()
    {
        QCOMPARE(m_form->TabMemoryData, static_cast<QWidget *>(m_page));
        QCOMPARE(m_form->pages()->tabText(m_form->pages()->indexOf(m_page)), QStringLiteral("Messwert&aufbereitung"));
        QCOMPARE(m_page->gbMeasureFields->title(), QStringLiteral("Verfügbare Messwertfelder"));
        QCOMPARE(m_page->gbMeasureMode->title(), QStringLiteral("Messwertübernahme"));
        // the main window reaches the options by their names, as it always did
        QCOMPARE(m_form->cboTwoCol->text(), QStringLiteral("Unterschiedliche Ionen&polaritäten in separate Spalten"));
        QCOMPARE(m_form->cboAnaScale->text(), QStringLiteral("Analogwerte &skalieren (\"Einstellungen Messwertspeicher\")"));
        QCOMPARE(m_form->cboAlarmNotValid->text(), QStringLiteral("Messwerte während Alarm im QT8800 nicht übernehmen"));
        QCOMPARE(m_page->btnText->toolTip(), QStringLiteral("Messwerte als Textdatei mit Trennzeichen \";\" einlesen"));
        QCOMPARE(m_page->lblSelectAvg->text(), QStringLiteral("Mittelwerte"));
        // a screen reader finds a group button by its hint
        const auto buttons = m_page->gbSelectBtn->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 12);
        const QString hint = QStringLiteral("Nur die Mittelwerte der Ionenkonzentration und des Analogeinganges übernehmen");
        auto found = std::find_if(buttons.begin(), buttons.end(), [&](QPushButton *b) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(b);
            return iface && iface->text(QAccessible::Name) == hint;
        });
        QVERIFY(found != buttons.end());
        QCOMPARE((*found)->objectName(), QStringLiteral("btnSelAvg1"));
        QCOMPARE((*found)->toolTip(), hint);
        QVERIFY((*found)->focusPolicy() & Qt::TabFocus);
        shoot(m_form.get(), "page-empty");
    }

    void optionsAreStoredTheMomentTheyChange()
    {
        for (QCheckBox *box : {m_form->cboTwoCol, m_form->cboAnaScale, m_form->cboAlarmNotValid}) {
            const bool before = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            QCOMPARE(box->isChecked(), !before);
        }
        QCOMPARE(m_form->param().TwoColumns, m_form->cboTwoCol->isChecked());
        QCOMPARE(m_form->param().ScaleAnalogValues, m_form->cboAnaScale->isChecked());
        QCOMPARE(m_form->param().SkipAlarmValues, m_form->cboAlarmNotValid->isChecked());
        for (QCheckBox *box : {m_form->cboTwoCol, m_form->cboAnaScale, m_form->cboAlarmNotValid})
            box->click();
        QVERIFY(!m_form->param().TwoColumns && !m_form->param().ScaleAnalogValues && !m_form->param().SkipAlarmValues);
    }

    void theDirectoryOfThreeBlocks()
    {
        loadDirectory();
        QTableWidget *grid = m_page->sgDirectory;
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->columnCount(), 8);
        QStringList headings;
        for (int c = 0; c < 8; ++c)
            headings << grid->horizontalHeaderItem(c)->text();
        QCOMPARE(headings, (QStringList{"  Nr", "Datum", "  Zeit", "Intervall", "Analog", "Feuchte", "Temperatur", "Gelöscht"}));
        for (int c : {0, 4, 7})                                       // at least the grid's own widths
            QVERIFY(grid->columnWidth(c) >= (c == 0 ? 33 : c == 4 ? 44 : 55));
        auto row = [grid](int r) {
            QStringList cells;
            for (int c = 0; c < 8; ++c)
                cells << grid->item(r, c)->text();
            return cells;
        };
        QCOMPARE(row(0), (QStringList{"1", "30.11.2026", "09:00:00", "0:10:00", "Aus", "0", "0", "0"}));
        QCOMPARE(row(1), (QStringList{"2", "01.12.2026", "09:00:00", "0:05:00", "Ein", "2", "1", "3"}));
        QCOMPARE(row(2), (QStringList{"3", "02.12.2026", "14:00:00", "1:00:00", "Aus", "3", "1", "2"}));
        QCOMPARE(message(), QStringLiteral("Messwertverzeichnis ist eingelesen."));
        QCOMPARE(m_page->clBMeasureFields->count(), 0);              // three blocks: the user picks one
        QCOMPARE(m_form->lblSerNr->text(), m_instrument.serial);      // GIN went first

        // a screen reader gets the headings and the cells
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(grid);
        QVERIFY(iface && iface->tableInterface());
        QCOMPARE(iface->tableInterface()->columnCount(), 8);
        QAccessibleInterface *cell = iface->tableInterface()->cellAt(1, 3);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("0:05:00"));
        const auto headers = cell->tableCellInterface()->columnHeaderCells();
        QCOMPARE(headers.size(), 1);
        const QString heading = headers.first()->text(QAccessible::Name);
        for (QAccessibleInterface *header : headers)                  // Qt hands them over unregistered
            QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
        QCOMPARE(heading, QStringLiteral("Intervall"));
    }

    void pickingARowFollowsTheTagRule()
    {
        m_form->selection().FieldSelection.fill(false);
        m_form->selection().FieldSelection[3] = true;
        pickBlock(1);
        QCOMPARE(fieldCaptions(), (QStringList{" Datum  ", "  Zeit  ", "Ionen Min", "Ionen Avg", "Ionen Max", "Extern-Min",
                                               "Extern-Avg", "Extern-Max", "F 0", "F 2", "T 0"}));
        QCOMPARE(marks().count(true), 1);
        QVERIFY(marks()[3]);
        QCOMPARE(m_page->clBMeasureFields->palette().color(QPalette::Base), m_page->palette().color(QPalette::Base));

        // a hand-made mark stays while the same row is clicked again ...
        m_page->clBMeasureFields->item(0)->setCheckState(Qt::Checked);
        clickRow(1);
        QVERIFY(marks()[0]);
        // ... and goes when the grid was left and entered again: the list is rebuilt
        pickBlock(1);
        QVERIFY(!marks()[0]);
        QCOMPARE(m_form->selection().FieldSelection[0], false);

        // the keyboard picks too, and a check mark toggles with Space
        m_page->sgDirectory->setFocus();
        QTest::keyClick(m_page->sgDirectory, Qt::Key_Down);
        QCOMPARE(m_page->directoryTag(), 3);
        QCOMPARE(fieldCaptions(), (QStringList{" Datum  ", "  Zeit  ", "Ionen Min", "Ionen Avg", "Ionen Max", "F 0", "F 2",
                                               "F 8", "T F"}));
        m_page->clBMeasureFields->setFocus();
        m_page->clBMeasureFields->setCurrentRow(7);
        QTest::keyClick(m_page->clBMeasureFields, Qt::Key_Space);
        QVERIFY(marks()[7]);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_page->clBMeasureFields);
        QAccessibleInterface *entry = list->child(7);
        QVERIFY(entry);
        QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("F 8"));
        QVERIFY(entry->state().checkable && entry->state().checked);
    }

    void groupButtonsAndTheAveragesRule()
    {
        pickBlock(1);
        auto &selection = m_form->selection().FieldSelection;
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        QCOMPARE(marks(), QList<bool>(11, true));
        QVERIFY(std::all_of(selection.begin(), selection.begin() + 11, [](bool b) { return b; }));

        QTest::mouseClick(m_page->btnSelAvg1, Qt::LeftButton);
        QCOMPARE(marks(), (QList<bool>{true, true, false, true, false, false, true, false, true, true, true}));
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        QTest::mouseClick(m_page->btnSelAvg0, Qt::LeftButton);
        QCOMPARE(marks(), (QList<bool>{true, true, true, false, true, true, false, true, true, true, true}));

        // a hand-made mark outside the group is not stored by a group button
        m_page->clBMeasureFields->item(0)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(m_page->btnSelSensor0, Qt::LeftButton);
        QCOMPARE(marks().mid(8), (QList<bool>{false, false, false}));
        QVERIFY(!marks()[0]);
        QVERIFY(selection[0]);
        QCOMPARE(selection[8], false);
        QTest::mouseClick(m_page->btnSelDate0, Qt::LeftButton);
        QTest::mouseClick(m_page->btnSelIon0, Qt::LeftButton);
        QTest::mouseClick(m_page->btnSelAna1, Qt::LeftButton);
        QCOMPARE(marks(), (QList<bool>{false, false, false, false, false, true, true, true, false, false, false}));
        shoot(m_form.get(), "page-fields");
    }

    void aBlockReadToTextSkipsTheAlarmRecord()
    {
        m_form->cboAlarmNotValid->click();
        pickBlock(2);
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        m_served.clear();
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        TFormMeasure *window = m_page->FormMeasure;
        QVERIFY(window->isVisible());
        QCOMPARE(window->pos(), m_page->gbMeasureFields->mapToGlobal(QPoint(0, 0)));
        QVERIFY(idle());
        const QStringList lines = memoLines();
        QCOMPARE(lines.mid(0, 7), (QStringList{"Messdaten Ionomter QT 8800", "", "Serien-Nr. 88000123", "",
                                               "Messwerte vom: 02.12.2026  - 16:00:00", "",
                                               " Datum  ;  Zeit  ;Ionen Min;Ionen Avg;Ionen Max;F 0;F 2;F 8;T F"}));
        QCOMPARE(lines.size(), 7 + 11);                               // twelve records, one stored in alarm
        QVERIFY(lines[7].startsWith("02.12.2026;16:00:00;"));
        QVERIFY(lines[10].startsWith("02.12.2026;19:00:00;"));
        QVERIFY(lines[11].startsWith("02.12.2026;21:00:00;"));      // 20:00 was the alarm record
        QVERIFY(lines[8].contains(";    -925;"));                    // the second record is negative
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i], reader().textRows().line(i));           // the memo shows the store itself
        QCOMPARE(m_served.count("GNM"), 12);
        QCOMPARE(message(), QStringLiteral("Alle Sätze aus Block 3 gelesen."));
        QCOMPARE(window->statusText(), message());                    // the window mirrors the status line
        shoot(window, "text-window");
        m_form->cboAlarmNotValid->click();
    }

    void savingTheTextWritesEveryLineWhole()
    {
        TFormMeasure *window = m_page->FormMeasure;
        // an edited line is saved as edited
        TextRowModel *model = window->rowModel();
        QVERIFY(model->setData(model->index(2), QStringLiteral("Serien-Nr. geprüft"), Qt::EditRole));
        const QString path = m_dir.path() + "/block3.csv";
        m_chosenFile = path;
        QTest::mouseClick(window->btnSaveMeasure, Qt::LeftButton);
        QCOMPARE(m_dialogs.last().Title, QStringLiteral("Speichern der Messwertdaten"));
        QCOMPARE(m_dialogs.last().Directory, m_dir.path());
        QCOMPARE(m_dialogs.last().DefaultSuffix, QStringLiteral("CSV"));
        QVERIFY(m_dialogs.last().Filter.contains("*.TXT"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expected = (memoLines().join("\r\n") + "\r\n").toUtf8();
        QCOMPARE(file.readAll(), expected);
        QVERIFY(expected.contains("Serien-Nr. geprüft\r\n"));
        QCOMPARE(window->statusText(), QStringLiteral("Daten gespeichert."));
        QCOMPARE(message(), QStringLiteral("Daten gespeichert."));

        m_chosenFile.reset();
        QTest::mouseClick(window->btnSaveMeasure, Qt::LeftButton);
        QCOMPARE(message(), QStringLiteral("Funktion Messwerte in Datei schreiben abgebrochen."));
        QCOMPARE(window->statusText(), message());

        // a file that cannot be written: the memo keeps its lines, the message says so
        const int before = model->rowCount();
        m_chosenFile = m_dir.path() + "/no such folder/block3.csv";
        QTest::mouseClick(window->btnSaveMeasure, Qt::LeftButton);
        QCOMPARE(message(), QStringLiteral("Daten konnten nicht gespeichert werden! (Datei oder Ordner fehlt)"));
        QCOMPARE(window->statusText(), message());
        QCOMPARE(model->rowCount(), before);
        file.seek(0);
        QCOMPARE(file.readAll(), expected);
    }

    void theMemoCopiesDeletesAndEditsLines()
    {
        TFormMeasure *window = m_page->FormMeasure;
        TextRowModel *model = window->rowModel();
        MemoView *memo = window->memMeasure;
        const Measure::TextRows &rows = reader().textRows();
        const int before = rows.lineCount();
        const QString line7 = rows.line(7), line8 = rows.line(8), line9 = rows.line(9);
        memo->setFocus();
        memo->setCurrentIndex(model->index(7));
        memo->selectionModel()->select(QItemSelection(model->index(7), model->index(8)),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(memo, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), line7 + "\n" + line8);
        QTest::keyClick(memo, Qt::Key_Delete);
        QCOMPARE(rows.lineCount(), before - 2);
        QCOMPARE(rows.line(7), line9);
        QCOMPARE(model->rowCount(), before - 2);
        // typing replaces the current line, Return keeps it
        memo->setCurrentIndex(model->index(7));
        QTest::keyClick(memo, Qt::Key_A);
        auto *editor = memo->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_B);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(rows.line(7), QStringLiteral("ab"));            // the delegate commits on the next turn
        QCOMPARE(model->rowCount(), before - 2);
    }

    void clearEmptiesTheMemoAndCloseHidesTheWindow()
    {
        TFormMeasure *window = m_page->FormMeasure;
        QTest::mouseClick(window->btnClear, Qt::LeftButton);
        QCOMPARE(window->rowModel()->rowCount(), 0);
        QCOMPARE(reader().textRows().lineCount(), 0);
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    void cancellingEndsTheReadAtTheNextReply()
    {
        pickBlock(1);
        m_served.clear();
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        // a running read keeps its block, its fields and its target
        const QStringList fields = fieldCaptions();
        clickRow(0);
        QCOMPARE(fieldCaptions(), fields);
        QCOMPARE(m_page->directoryTag(), 2);
        QTRY_COMPARE(m_page->sgDirectory->currentRow(), 1);
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QVERIFY(!m_page->FormEXCEL->isVisible());
        QCOMPARE(reader().sink(), &reader().textSink());
        QTest::mouseClick(m_page->FormMeasure->btnCancel, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(message(), QStringLiteral("Lesen der Messwerte abgebrochen"));
        QCOMPARE(m_page->FormMeasure->statusText(), message());
        QCOMPARE(m_served, QStringList{"GFM"});                      // no further request went out
        QCOMPARE(memoLines().size(), 0);
    }

    void aReadRefusedWhileRecordingAndATimeOutMidChain()
    {
        m_instrument.recording = true;
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        QVERIFY(idle());
        QCOMPARE(message(), QStringLiteral("Funktion nicht während Speicherung möglich."));
        m_instrument.recording = false;

        // the instrument falls silent after ten records: the rows so far stay, the read ends
        int records = 0;
        auto conn = connect(m_server.get(), &Sim::PtyServer::requestServed, this, [&](const QByteArray &r) {
            if (r.startsWith("GNM") && ++records == 10)
                m_instrument.faults.silence = 5;
        });
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        QVERIFY(passDeadline());
        QVERIFY(idle());
        disconnect(conn);
        m_instrument.faults.silence = 0;
        QVERIFY(message().startsWith("QT 8800 antwortet nicht"));
        const QStringList lines = memoLines();
        QCOMPARE(lines.size(), 7 + 11);                               // the tenth GNM was still answered
        QVERIFY(lines.last().startsWith("01.12.2026;10:05:00;"));   // 09:15 + 10 × 5 minutes
    }

    void aReadBeyondTheMemoLimitKeepsEveryLine()
    {
        // 3000 records of eleven columns: well over the memo's 256,000 characters
        Sim::Block &climate = m_instrument.blocks[1];
        const auto saved = climate.records;
        while (climate.records.size() < 3000)
            climate.records.push_back(saved[climate.records.size() % saved.size()]);
        pickBlock(1);
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        m_served.clear();
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        QVERIFY(idle());
        climate.records = saved;
        QCOMPARE(reader().textRows().lineCount(), 7 + 3000);
        QVERIFY(reader().textRows().characterCount() > 256000);
        const QStringList lines = memoLines();
        QCOMPARE(lines.size(), 7 + 3000);
        QVERIFY(lines.last().startsWith("11.12.2026;19:10:00;"));   // 09:15 + 2999 × 5 minutes
        // the view reaches the last line
        MemoView *memo = m_page->FormMeasure->memMeasure;
        memo->scrollToBottom();
        QCoreApplication::processEvents();
        const QModelIndex last = memo->model()->index(7 + 2999, 0);
        QVERIFY(memo->viewport()->rect().intersects(memo->visualRect(last)));
        m_chosenFile = m_dir.path() + "/large.csv";
        QTest::mouseClick(m_page->FormMeasure->btnSaveMeasure, Qt::LeftButton);
        QFile file(*m_chosenFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 7 + 3000);
        m_page->FormMeasure->close();
    }

    void aBlockReadToTheWorkbookWithItsChart()
    {
        pickBlock(1);
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        TFormEXCEL *window = m_page->FormEXCEL;
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Messwerte nach EXCEL"));
        QCOMPARE(window->lblEXCELMeasureNr->text(), QStringLiteral("2"));
        QCOMPARE(window->lblEXCELStartDate->text(), QStringLiteral("01.12.2026"));
        QCOMPARE(window->lblExcelStartTime->text(), QStringLiteral("09:15:00"));
        QCOMPARE(window->txtEXCELDiaTitle->text(), QStringLiteral("QT8800-Daten vom 01.12.2026 - 09:15:00"));
        QVERIFY(idle());
        QCOMPARE(window->lblExcelRecordNr->text(), QStringLiteral("60"));
        QVERIFY(window->hasUnsavedWorkbook());

        window->txtEXCELDiaTitle->setText(QStringLiteral("Klimablock"));
        // every series takes both axes, and none is given one the chart does not hold yet
        QTest::failOnWarning(QRegularExpression(QStringLiteral("axis")));
        QTest::mouseClick(window->btnDiagramm, Qt::LeftButton);
        QCOMPARE(message(), QStringLiteral("Diagramm wurde erstellt."));
        ChartWindow *chart = window->chartWindow();
        QVERIFY(chart->isVisible());
        QCOMPARE(chart->lblTitle->text(), QStringLiteral("Klimablock"));
        const auto series = chart->chart()->series();
        QCOMPARE(series.size(), 9);                                   // everything but date and time
        QCOMPARE(series.first()->name(), QStringLiteral("Ionen Min"));
        QCOMPARE(static_cast<QLineSeries *>(series.first())->count(), 60);
        for (auto *line : series)
            QCOMPARE(line->attachedAxes().size(), 2);
        // title, then the legend, then the plot
        QCOMPARE(chart->lstLegend->count(), 9);
        QVERIFY(chart->lblTitle->y() < chart->lstLegend->y() && chart->lstLegend->y() < chart->chartView()->y());
        const auto axes = chart->chart()->axes();
        QStringList titles;
        for (auto *axis : axes)
            titles << axis->titleText();
        QVERIFY(titles.contains(QStringLiteral("Ionen/cm³ Volt")));
        // 09:15 to 14:10 on a time axis: round times upright, under the date where it begins
        QTRY_VERIFY(xLabels(chart).size() >= 4);
        const QStringList labels = xLabels(chart);
        QVERIFY2(labels.first().startsWith("01.12.2026<br>"), qPrintable(labels.join(u' ')));
        const QRegularExpression time(QStringLiteral("^(01\\.12\\.2026)?<br>\\d\\d:\\d\\d$"));
        for (const QString &label : labels)
            QVERIFY2(time.match(label).hasMatch(), qPrintable(label));
        auto *x = static_cast<QCategoryAxis *>(chart->chart()->axes(Qt::Horizontal).first());
        QCOMPARE(x->labelsAngle(), 0);
        const QPointF first = static_cast<QLineSeries *>(series.first())->at(0);
        const QPointF last = static_cast<QLineSeries *>(series.first())->at(59);
        QCOMPARE(last.x() - first.x(), 59 * 300.0);
        QVERIFY(x->min() <= first.x() && x->max() >= last.x());
        shoot(window, "workbook-window");
        shoot(chart, "chart-window");
    }

    // Two-column mode with the polarity changing every ten records (and once for a single
    // record) and all 32 sensors: 41 series
    void theChartKeepsGapsAndNamesEverySeries()
    {
        Sim::Block &climate = m_instrument.blocks[1];
        const Sim::Block saved = climate;
        climate.humLow = climate.humHigh = climate.tempLow = climate.tempHigh = 255;
        for (std::size_t i = 0; i < climate.records.size(); ++i) {
            climate.records[i].negative = i / 10 % 2 == 0 || i == 35;
            climate.records[i].sensors.assign(32, 20.0 + double(i % 7));
        }
        m_form->cboTwoCol->click();
        loadDirectory();
        pickBlock(1);
        QTest::mouseClick(m_page->btnSelAll1, Qt::LeftButton);
        m_answer = QMessageBox::No;                                   // the last workbook goes
        TFormEXCEL *window = m_page->FormEXCEL;
        ChartWindow *chart = window->chartWindow();
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QVERIFY(idle());
        QTest::mouseClick(window->btnDiagramm, Qt::LeftButton);

        // every name whole, each of the first forty in a colour of its own, the 41st dashed
        QListWidget *legend = chart->lstLegend;
        QCOMPARE(legend->count(), 41);
        QMap<QString, QXYSeries *> byName;
        for (QAbstractSeries *s : chart->chart()->series())
            byName.insert(s->name(), static_cast<QXYSeries *>(s));
        QCOMPARE(byName.size(), 41);
        std::vector<QColor> colours;
        for (int i = 0; i < legend->count(); ++i) {
            QListWidgetItem *item = legend->item(i);
            QVERIFY(byName.contains(item->text()));
            QVERIFY(legend->visualItemRect(item).width()
                    >= legend->iconSize().width() + legend->fontMetrics().horizontalAdvance(item->text()));
            colours.push_back(byName.value(item->text())->color());
        }
        for (std::size_t a = 0; a < 40; ++a)
            for (std::size_t b = a + 1; b < 40; ++b)
                QVERIFY2(std::hypot(colours[a].red() - colours[b].red(), colours[a].green() - colours[b].green(),
                                    colours[a].blue() - colours[b].blue()) >= 40,
                         qPrintable(legend->item(int(a))->text() + " ~ " + legend->item(int(b))->text()));
        QCOMPARE(byName.value(legend->item(40)->text())->pen().style(), Qt::DashLine);

        // no line across the other polarity's records; the lone one is a point
        int negativeLines = 0, lonePoints = 0;
        for (QAbstractSeries *s : chart->chart()->series()) {
            auto *xy = static_cast<QXYSeries *>(s);
            const QList<QPointF> points = xy->points();
            if (xy->pen().style() == Qt::NoPen) {
                QVERIFY(xy->pointsVisible());
                lonePoints += int(points.size());
                continue;
            }
            for (qsizetype i = 1; i < points.size(); ++i)
                QCOMPARE(points[i].x() - points[i - 1].x(), 300.0);
            negativeLines += s->name() == QStringLiteral("Neg.Ionen Avg");
        }
        QCOMPARE(negativeLines, 3);
        QCOMPARE(lonePoints, 3);                                      // record 36 of the three negative columns
        shoot(chart, "chart-many-series");

        // without date and time the rows stand side by side under their numbers
        QTest::mouseClick(m_page->btnSelDate0, Qt::LeftButton);
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QVERIFY(idle());
        QTest::mouseClick(window->btnDiagramm, Qt::LeftButton);
        QTRY_VERIFY(xLabels(chart).size() >= 4);
        QCOMPARE(xLabels(chart).first(), QStringLiteral("1"));
        QVERIFY(xLabels(chart).size() < 60);
        shoot(chart, "chart-rows");

        climate = saved;
        m_form->cboTwoCol->click();
        loadDirectory();
        pickBlock(1);
    }

    void closingAsksBeforeAnUnsavedWorkbookGoes()
    {
        TFormEXCEL *window = m_page->FormEXCEL;
        // Cancel: the window closes, the workbook stays and is offered again
        m_answer = QMessageBox::Cancel;
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
        QCOMPARE(m_questions.last(), QStringLiteral("EXCEL-Daten sind noch nicht gespeichert\nWollen Sie noch sichern?"));
        QVERIFY(!window->isVisible());
        QVERIFY(window->hasUnsavedWorkbook());

        // the next workbook read asks first; No lets the old one go
        const int asked = m_questions.size();
        m_answer = QMessageBox::No;
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QCOMPARE(m_questions.size(), asked + 1);
        QVERIFY(idle());
        QVERIFY(window->isVisible());

        // Yes: saved under the suggested name, then shown in the desktop's application
        QTest::mouseClick(window->btnDiagramm, Qt::LeftButton);
        m_answer = QMessageBox::Yes;
        const QString path = m_dir.path() + "/QT8800_20261201091500.xlsx";
        m_chosenFile = path;
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
        QCOMPARE(m_dialogs.last().Directory, path);
        QCOMPARE(m_dialogs.last().Title, QStringLiteral("QT 8800 Daten speichern?"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2), QByteArray("PK"));
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-l"), path});
        if (unzip.waitForFinished(10000) && unzip.exitCode() == 0)
            QVERIFY(unzip.readAllStandardOutput().contains("xl/charts/chart1.xml"));   // the chart went along
        QVERIFY(!window->hasUnsavedWorkbook());
        // the saved file, not a copy, offered to the desktop's application
        QCOMPARE(m_questions.last(), "Die Arbeitsmappe wurde gespeichert:\n" + path + "\nIn der Tabellenkalkulation öffnen?");
        QCOMPARE(m_buttons.last(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(m_opened, QStringList{path});
        QVERIFY(!window->isVisible());

        // declined, or accepted where the desktop has no application for it
        const struct { QMessageBox::StandardButton open; bool opener; QStringList opened; } offers[] = {
            {QMessageBox::No, true, {}}, {QMessageBox::Yes, false, {path}}};
        for (const auto &offer : offers) {
            m_opened.clear();
            QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
            QVERIFY(idle());
            m_answers = {QMessageBox::Yes, offer.open};
            m_openerFound = offer.opener;
            QTest::mouseClick(window->btnClose, Qt::LeftButton);
            QCOMPARE(m_opened, offer.opened);
            QVERIFY(!window->hasUnsavedWorkbook());
        }
        QCOMPARE(message(), "Keine Anwendung zum Öffnen von " + path + " gefunden");
        m_openerFound = true;

        // a saved workbook closes without a question
        const int questions = m_questions.size();
        window->CloseSpreadsheet();
        QCOMPARE(m_questions.size(), questions);
    }

    void closingTheProgramOffersAnUnsavedWorkbookFirst()
    {
        TFormEXCEL *window = m_page->FormEXCEL;
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QVERIFY(idle());
        QVERIFY(window->hasUnsavedWorkbook());
        // Cancel keeps the program and the workbook
        const int asked = m_questions.size();
        m_answer = QMessageBox::Cancel;
        m_form->close();
        QCOMPARE(m_questions.size(), asked + 1);
        QCOMPARE(m_questions.last(), QStringLiteral("EXCEL-Daten sind noch nicht gespeichert\nWollen Sie noch sichern?"));
        QVERIFY(m_form->isVisible());
        QVERIFY(window->hasUnsavedWorkbook());
        m_answer = QMessageBox::No;
        window->CloseSpreadsheet();
        QVERIFY(!window->hasUnsavedWorkbook());
        window->close();
    }

    // a template with macros makes an .xlsm; a save that fails keeps the workbook on offer
    void aMacroTemplateIsSavedAsOneAndAFailedSaveKeepsIt()
    {
        const QString templ = m_dir.path() + "/Vorlage mit Makro.xlsm";
        QVERIFY(WriteTemplate(templ, TestTemplate(true)));
        m_form->param().TemplateFile = templ;
        TFormEXCEL *window = m_page->FormEXCEL;
        QTest::mouseClick(m_page->btnExcel, Qt::LeftButton);
        QVERIFY(idle());
        QVERIFY(window->hasUnsavedWorkbook());
        m_answer = QMessageBox::Yes;
        m_chosenFile = m_dir.path() + "/no such folder/x.xlsm";
        QTest::mouseClick(window->btnClose, Qt::LeftButton);
        QCOMPARE(m_dialogs.last().Directory, m_dir.path() + "/QT8800_20261201091500.xlsm");
        QCOMPARE(m_dialogs.last().DefaultSuffix, QStringLiteral("xlsm"));
        QVERIFY(m_dialogs.last().Filter.contains("*.XLSM"));
        QVERIFY(window->hasUnsavedWorkbook());
        QCOMPARE(window->statusText(), QStringLiteral("Daten konnten nicht gespeichert werden! (Datei oder Ordner fehlt)"));
        m_chosenFile = m_dir.path() + "/QT8800_20261201091500.xlsm";
        window->CloseSpreadsheet();
        QVERIFY(!window->hasUnsavedWorkbook());
        QVERIFY(QFile::exists(*m_chosenFile));
        m_form->param().TemplateFile.clear();
    }

    void liveValuesReachTheDevicePage()
    {
        // the device page's poll: GAM, answered by TAM
        m_instrument.range = 3;
        m_form->lblRange->clear();
        m_form->DeviceViewActive = true;
        const QRegularExpression ionValue(QStringLiteral("^\\d+     $"));
        QTRY_VERIFY(ionValue.match(m_form->lblAlarm->text()).hasMatch());
        m_form->DeviceViewActive = false;
        QCOMPARE(m_form->lblRange->text(), m_form->tables().Status.RangeName(QStringLiteral("3")));
        QCOMPARE(m_form->lblPol->text(), QStringLiteral("Positiv"));
        QVERIFY(idle());
    }

    void clearingTheInstrumentMemoryEmptiesTheGrid()
    {
        pickBlock(1);
        QVERIFY(m_page->clBMeasureFields->count() > 0);
        QTest::mouseClick(m_form->btnMemClear, Qt::LeftButton);      // the question is answered Yes
        QVERIFY(idle());
        QVERIFY(m_instrument.blocks.empty());
        QCOMPARE(m_page->sgDirectory->rowCount(), 1);
        QCOMPARE(m_page->sgDirectory->item(0, 0)->text(), QString());
        QCOMPARE(m_page->clBMeasureFields->count(), 0);
        QCOMPARE(m_page->clBMeasureFields->palette().color(QPalette::Base), m_page->palette().color(QPalette::Button));
        // the empty row offers nothing, whatever was read before
        m_page->btnText->setFocus();
        clickRow(0);
        QCOMPARE(m_page->clBMeasureFields->count(), 0);
        QTest::mouseClick(m_page->btnText, Qt::LeftButton);
        QCOMPARE(message(), QStringLiteral("Kein Messwertverzeichnis selektiert - Auslesen nicht möglich."));
    }

    void cleanupTestCase()
    {
        m_form->selection().AskOnClose = false;
        m_form->closeWithoutQuestion();
        m_form.reset();
    }
};

QTEST_MAIN(MemoryPageTest)
#include "MemoryPageTest.moc"
