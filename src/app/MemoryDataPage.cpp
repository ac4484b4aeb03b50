#include "app/MemoryDataPage.h"

#include "app/TFormEXCEL.h"
#include "app/TFormMeasure.h"
#include "app/TextBindings.h"
#include "files/ParamRecord.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kColumnWidths[] = {33, 55, 55, 55, 44, 55, 55, 55};

QString withoutMnemonic(QString text)
{
    return text.remove(u'&');
}

// the directory's headings as the grid shows them; the command line's directory output keeps
// its heading as it always was, for the scripts that read it
QStringList shownDirectoryHeadings()
{
    QStringList headings = Measure::DirectoryHeadings();
    const qsizetype temperature = headings.indexOf(Lang::Text(Lang::TxDirColTemperature));
    if (temperature >= 0)
        headings[temperature] = Lang::Text(Lang::TxPageDirColTemperature);
    return headings;
}

// which positions a group button writes: the marks and FieldSelection of the others stay
bool inGroup(const Measure::TField &field, Measure::SelectGroup group, bool mark)
{
    using namespace Measure;
    switch (group) {
    case SelectGroup::All:
        return true;
    case SelectGroup::DateTime:
        return field.Kind == KindDate || field.Kind == KindTime;
    case SelectGroup::Ions:
        return field.Kind == KindIon;
    case SelectGroup::Analog:
        return field.Kind == KindAnalog;
    case SelectGroup::Sensors:
        return field.Kind == KindHumidity || field.Kind == KindTemperature;
    case SelectGroup::Averages:
        // the unmark button leaves minima and maxima alone
        return (field.Kind == KindIon || field.Kind == KindAnalog) && (mark || (!field.IsMin && !field.IsMax));
    }
    return false;
}

} // namespace

MemoryDataPage::MemoryDataPage(Measure::MemoryReader &reader, Files::ParamRecord &param,
                               Files::SelectionRecord &selection, MemoryDialogs dialogs,
                               std::function<Measure::ReadOptions()> readOptions, QWidget *parent)
    : QWidget(parent)
    , m_reader(reader)
    , m_param(param)
    , m_selection(selection)
    , m_dialogs(std::move(dialogs))
    , m_readOptions(std::move(readOptions))
{
    setObjectName(QStringLiteral("TabMemoryData"));
    buildDirectoryBox();
    buildFieldsBox();
    buildSelectBox();
    buildModeBox();
    auto *page = new QGridLayout(this);
    page->addWidget(gbDirectory, 0, 0, 1, 2);
    page->addWidget(gbSelectBtn, 1, 0);
    page->addWidget(gbMeasureMode, 1, 1);
    page->addWidget(gbMeasureFields, 0, 2, 2, 1);
    page->setColumnStretch(1, 1);
    page->setColumnStretch(2, 1);
    page->setRowStretch(0, 1);

    FormMeasure = new TFormMeasure(m_reader, m_param, m_dialogs, this);
    FormEXCEL = new TFormEXCEL(m_reader, m_param, m_dialogs, this);
    connectHandlers();
    ApplyLanguageTexts();
    m_reader.setView(this);
    m_reader.ResetDirectoryGrid();
}

MemoryDataPage::~MemoryDataPage()
{
    m_reader.setView(nullptr);
}

void MemoryDataPage::buildDirectoryBox()
{
    gbDirectory = new QGroupBox(this);
    gbDirectory->setObjectName(QStringLiteral("gbDirectory"));
    sgDirectory = new QTableWidget(gbDirectory);
    sgDirectory->setObjectName(QStringLiteral("sgDirectory"));
    sgDirectory->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgDirectory->setSelectionMode(QAbstractItemView::SingleSelection);
    sgDirectory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgDirectory->setTabKeyNavigation(false);        // Tab leaves the grid, arrows move in it
    sgDirectory->verticalHeader()->hide();
    sgDirectory->verticalHeader()->setDefaultSectionSize(21);
    sgDirectory->horizontalHeader()->setHighlightSections(false);
    sgDirectory->installEventFilter(this);
    btnLoadDirectory = new QPushButton(gbDirectory);
    btnLoadDirectory->setObjectName(QStringLiteral("btnLoadDirectory"));
    auto *box = new QVBoxLayout(gbDirectory);
    box->addWidget(sgDirectory, 1);
    box->addWidget(btnLoadDirectory, 0, Qt::AlignLeft);
}

void MemoryDataPage::buildFieldsBox()
{
    gbMeasureFields = new QGroupBox(this);
    gbMeasureFields->setObjectName(QStringLiteral("gbMeasureFields"));
    clBMeasureFields = new QListWidget(gbMeasureFields);
    clBMeasureFields->setObjectName(QStringLiteral("clBMeasureFields"));
    clBMeasureFields->setAutoFillBackground(true);
    auto *box = new QVBoxLayout(gbMeasureFields);
    box->addWidget(clBMeasureFields);
}

void MemoryDataPage::buildSelectBox()
{
    using namespace Lang;
    gbSelectBtn = new QGroupBox(this);
    gbSelectBtn->setObjectName(QStringLiteral("gbSelectBtn"));
    auto *box = new QVBoxLayout(gbSelectBtn);
    box->setSpacing(3);
    auto pair = [&](const char *panel, const char *stem, QLabel *&label, QPushButton *&unmark, QPushButton *&mark,
                    Measure::SelectGroup group, TextId caption, TextId unmarkHint, TextId markHint) {
        label = new QLabel(gbSelectBtn);
        label->setObjectName(QString::fromLatin1(panel));
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumHeight(26);
        unmark = new QPushButton(label);
        unmark->setObjectName(QString::fromLatin1(stem) + u'0');
        mark = new QPushButton(label);
        mark->setObjectName(QString::fromLatin1(stem) + u'1');
        for (QPushButton *b : {unmark, mark})
            b->setFixedSize(22, 20);
        auto *row = new QHBoxLayout(label);
        row->setContentsMargins(2, 2, 2, 2);
        row->addWidget(unmark);
        row->addStretch(1);
        row->addWidget(mark);
        box->addWidget(label);
        m_groups.push_back({label, unmark, mark, group, caption, unmarkHint, markHint});
    };
    using G = Measure::SelectGroup;
    pair("lblSelectAll", "btnSelAll", lblSelectAll, btnSelAll0, btnSelAll1, G::All, TxPageSelectAll,
         TxPageHintSelAll0, TxPageHintSelAll1);
    pair("lblSelectDateTime", "btnSelDate", lblSelectDateTime, btnSelDate0, btnSelDate1, G::DateTime,
         TxPageSelectDateTime, TxPageHintSelDate0, TxPageHintSelDate1);
    pair("lblSelectIon", "btnSelIon", lblSelectIon, btnSelIon0, btnSelIon1, G::Ions, TxPageSelectIon,
         TxPageHintSelIon0, TxPageHintSelIon1);
    pair("lblSelectAna", "btnSelAna", lblSelectAna, btnSelAna0, btnSelAna1, G::Analog, TxPageSelectAna,
         TxPageHintSelAna0, TxPageHintSelAna1);
    pair("lblSelectSensor", "btnSelSensor", lblSelectSensor, btnSelSensor0, btnSelSensor1, G::Sensors,
         TxPageSelectSensor, TxPageHintSelSensor0, TxPageHintSelSensor1);
    pair("lblSelectAvg", "btnSelAvg", lblSelectAvg, btnSelAvg0, btnSelAvg1, G::Averages, TxPageSelectAvg,
         TxPageHintSelAvg0, TxPageHintSelAvg1);
    box->addStretch(1);
}

void MemoryDataPage::buildModeBox()
{
    gbMeasureMode = new QGroupBox(this);
    gbMeasureMode->setObjectName(QStringLiteral("gbMeasureMode"));
    auto check = [this](const char *name) {
        auto *box = new QCheckBox(gbMeasureMode);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    cboTwoCol = check("cboTwoCol");
    cboAnaScale = check("cboAnaScale");
    cboAlarmNotValid = check("cboAlarmNotValid");
    btnText = new QPushButton(gbMeasureMode);
    btnText->setObjectName(QStringLiteral("btnText"));
    btnExcel = new QPushButton(gbMeasureMode);
    btnExcel->setObjectName(QStringLiteral("btnExcel"));
    auto *box = new QVBoxLayout(gbMeasureMode);
    for (QCheckBox *c : {cboTwoCol, cboAnaScale, cboAlarmNotValid}) {
        c->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        box->addWidget(c);
    }
    box->addStretch(1);
    box->addWidget(btnText);
    box->addWidget(btnExcel);
}

void MemoryDataPage::connectHandlers()
{
    connect(btnLoadDirectory, &QPushButton::clicked, this, &MemoryDataPage::LoadDirectory);
    connect(btnText, &QPushButton::clicked, this, &MemoryDataPage::btnTextClick);
    connect(btnExcel, &QPushButton::clicked, this, &MemoryDataPage::btnExcelClick);
    // an option counts the moment it changes, also for the parameter file
    connect(cboTwoCol, &QCheckBox::clicked, this, [this](bool on) { m_param.TwoColumns = on; });
    connect(cboAnaScale, &QCheckBox::clicked, this, [this](bool on) { m_param.ScaleAnalogValues = on; });
    connect(cboAlarmNotValid, &QCheckBox::clicked, this, [this](bool on) { m_param.SkipAlarmValues = on; });
    for (const GroupPair &g : m_groups)
        for (QPushButton *b : {g.unmark, g.mark})
            connect(b, &QPushButton::clicked, this, [this, b, group = g.group] { selectGroupClick(b, group); });
    connect(sgDirectory, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        if (!m_revertingPick)
            sgDirectorySelectCell(col, row);
    });
    connect(sgDirectory, &QTableWidget::cellPressed, this, [this](int row, int col) { sgDirectorySelectCell(col, row); });
}

void MemoryDataPage::ApplyLanguageTexts()
{
    using namespace Lang;
    gbDirectory->setTitle(Text(TxPageGbDirectory));
    gbMeasureFields->setTitle(Text(TxPageGbMeasureFields));
    gbSelectBtn->setTitle(Text(TxPageGbSelectBtn));
    gbMeasureMode->setTitle(Text(TxPageGbMeasureMode));
    for (const GroupPair &g : m_groups) {
        g.panel->setText(Text(g.caption));
        // the caption between the two buttons stays readable
        g.panel->setMinimumWidth(g.panel->fontMetrics().horizontalAdvance(g.panel->text()) + 2 * 22 + 24);
        g.unmark->setText(Text(TxPageUnmarkCaption));
        g.mark->setText(Text(TxPageMarkCaption));
        for (const auto &[button, hint] : {std::pair{g.unmark, g.unmarkHint}, std::pair{g.mark, g.markHint}}) {
            // a screen reader finds a button by what it does
            button->setToolTip(Text(hint));
            button->setAccessibleName(Text(hint));
            button->setAccessibleDescription(Text(g.caption));
        }
    }
    cboTwoCol->setText(Text(TxPageCboTwoCol));
    cboAnaScale->setText(Text(TxPageCboAnaScale));
    cboAlarmNotValid->setText(Text(TxPageCboAlarmNotValid));
    btnLoadDirectory->setText(Text(TxPageBtnLoadDirectory));
    btnText->setText(Text(TxPageBtnText));
    btnExcel->setText(Text(TxPageBtnExcel));
    TextBindings::showHints({{sgDirectory, TxPageHintDirectory},
                             {clBMeasureFields, TxPageHintMeasureFields},
                             {btnLoadDirectory, TxPageHintLoadDirectory},
                             {btnText, TxPageHintText},
                             {btnExcel, TxPageHintExcel}});
    sgDirectory->setAccessibleName(withoutMnemonic(Text(TxPageGbDirectory)));
    clBMeasureFields->setAccessibleName(withoutMnemonic(Text(TxPageGbMeasureFields)));
    sgDirectory->setHorizontalHeaderLabels(shownDirectoryHeadings());
}

void MemoryDataPage::MirrorMessage(const QString &text)
{
    if (FormMeasure->isVisible())
        FormMeasure->setStatusText(text);
    if (FormEXCEL->isVisible())
        FormEXCEL->setStatusText(text);
}

void MemoryDataPage::ResetDirectoryGrid()
{
    m_reader.ResetDirectoryGrid();
}

Measure::DisplayFormats MemoryDataPage::formats() const
{
    return m_readOptions ? m_readOptions().formats : Measure::DisplayFormats{};
}

// ---- directory ---------------------------------------------------------------------------

void MemoryDataPage::LoadDirectory()
{
    if (m_readOptions)
        m_reader.setOptions(m_readOptions());
    m_reader.LoadDirectory();
}

void MemoryDataPage::DirectoryCleared()
{
    m_revertingPick = true;
    sgDirectory->clearContents();
    sgDirectory->setColumnCount(8);
    sgDirectory->setRowCount(1);
    sgDirectory->setHorizontalHeaderLabels(shownDirectoryHeadings());
    for (int c = 0; c < 8; ++c) {
        // the empty row is no entry: it cannot be picked
        auto *item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        sgDirectory->setItem(0, c, item);
    }
    sgDirectory->setCurrentCell(-1, -1);
    m_revertingPick = false;
    fitColumns();
    clBMeasureFields->clear();
    setFieldListColour(false);
    // the list is gone: picking any row builds it again
    m_tag = -1;
    m_listRow = -1;
    m_rowsShown = 0;
}

void MemoryDataPage::DirectoryRowAdded(int index)
{
    const QStringList cells = Measure::DirectoryRowTexts(m_reader.directory()[std::size_t(index)], formats());
    int last = sgDirectory->rowCount() - 1;
    const QTableWidgetItem *first = sgDirectory->item(last, 0);
    if (first && !first->text().trimmed().isEmpty())
        sgDirectory->setRowCount(++last + 1);
    for (int c = 0; c < 8; ++c) {
        auto *item = new QTableWidgetItem(cells.value(c));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        sgDirectory->setItem(last, c, item);
    }
    m_rowsShown = last + 1;
    fitColumns();
}

void MemoryDataPage::fitColumns()
{
    // the grid's own widths, widened where the desktop's font needs more room than they give
    for (int c = 0; c < sgDirectory->columnCount() && c < 8; ++c) {
        sgDirectory->resizeColumnToContents(c);
        sgDirectory->setColumnWidth(c, std::max(kColumnWidths[c], sgDirectory->columnWidth(c)));
    }
}

void MemoryDataPage::DirectoryFinished() {}

bool MemoryDataPage::sgDirectorySelectCell(int col, int row)
{
    (void)col;
    // the grid's heading is row 0; an emptied grid (memory cleared) offers no entry, even
    // though the directory read before is still known
    const int r = row + 1;
    if (r < 1 || r > std::min(m_rowsShown, int(m_reader.directory().size())))
        return false;
    if (r == m_tag)
        return true;
    if (m_readOptions)
        m_reader.setOptions(m_readOptions());
    if (!m_reader.BuildFieldList(r - 1)) {
        // a block is being read: the grid keeps showing the row whose fields are read
        if (m_listRow >= 1)
            QTimer::singleShot(0, this, [this] {
                m_revertingPick = true;
                sgDirectory->setCurrentCell(m_listRow - 1, 0);
                m_revertingPick = false;
            });
        return false;
    }
    m_tag = r;
    return true;
}

void MemoryDataPage::sgDirectoryEnter()
{
    m_tag = -1;
}

void MemoryDataPage::sgDirectoryExit()
{
    m_tag = -1;
}

bool MemoryDataPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sgDirectory) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            // switching to another window or opening a menu is not leaving the grid
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                break;
            if (event->type() == QEvent::FocusIn)
                sgDirectoryEnter();
            else
                sgDirectoryExit();
            break;
        }
        case QEvent::KeyPress: {
            // the keyboard's click on the current row
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
                sgDirectorySelectCell(sgDirectory->currentColumn(), sgDirectory->currentRow());
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- fields ------------------------------------------------------------------------------

void MemoryDataPage::setFieldListColour(bool filled)
{
    QPalette pal = clBMeasureFields->palette();
    pal.setColor(QPalette::Base, palette().color(filled ? QPalette::Base : QPalette::Button));
    clBMeasureFields->setPalette(pal);
}

void MemoryDataPage::FieldListBuilt(int index)
{
    clBMeasureFields->clear();
    setFieldListColour(true);
    const Measure::MeasureFields &fields = m_reader.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto *item = new QListWidgetItem(fields[i].Caption, clBMeasureFields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool marked = i < m_selection.FieldSelection.size() && m_selection.FieldSelection[i];
        item->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
    }
    m_listRow = index + 1;
}

QList<bool> MemoryDataPage::checkMarks() const
{
    QList<bool> marks;
    for (int i = 0; i < clBMeasureFields->count(); ++i)
        marks.append(clBMeasureFields->item(i)->checkState() == Qt::Checked);
    return marks;
}

void MemoryDataPage::selectGroupClick(QObject *sender, Measure::SelectGroup group)
{
    const Measure::MeasureFields &fields = m_reader.fields();
    if (fields.empty() || clBMeasureFields->count() == 0)
        return;
    const bool mark = !Measure::IsUnmarkButton(sender->objectName(), group);
    const QList<bool> after = Measure::ApplyGroupButton(fields, checkMarks(), group, mark);
    const int count = std::min({int(fields.size()), int(after.size()), clBMeasureFields->count()});
    for (int i = 0; i < count; ++i) {
        if (!inGroup(fields[std::size_t(i)], group, mark))
            continue;
        clBMeasureFields->item(i)->setCheckState(after[i] ? Qt::Checked : Qt::Unchecked);
        if (std::size_t(i) < m_selection.FieldSelection.size())
            m_selection.FieldSelection[std::size_t(i)] = after[i];
    }
}

// ---- reading -----------------------------------------------------------------------------

void MemoryDataPage::btnTextClick()
{
    startRead(m_reader.textSink());
}

void MemoryDataPage::btnExcelClick()
{
    // a workbook nobody saved would be replaced by the new one: offer it first
    if (m_reader.isIdle() && FormEXCEL->hasUnsavedWorkbook()) {
        FormEXCEL->CloseSpreadsheet([this](bool closed) {
            if (closed)
                startRead(m_reader.workbookSink());
        });
        return;
    }
    startRead(m_reader.workbookSink());
}

void MemoryDataPage::startRead(Measure::RecordSink &sink)
{
    if (m_readOptions)
        m_reader.setOptions(m_readOptions());
    const QList<bool> marks = checkMarks();
    if (m_reader.isIdle() && !m_reader.fields().empty())
        for (qsizetype i = 0; i < marks.size() && std::size_t(i) < m_selection.FieldSelection.size(); ++i)
            m_selection.FieldSelection[std::size_t(i)] = marks[i];
    const int row = std::max(sgDirectory->currentRow(), 0);
    const QTableWidgetItem *cell = sgDirectory->item(row, 0);
    m_reader.ReadSelectedBlock(sink, cell ? cell->text() : QString(), marks);
}

void MemoryDataPage::placeAtFieldList(QWidget *window)
{
    // over the field list, which the read does not need
    window->move(gbMeasureFields->mapToGlobal(QPoint(0, 0)));
}

QWidget *MemoryDataPage::windowOf(const Measure::RecordSink *sink) const
{
    const std::pair<const Measure::RecordSink *, QWidget *> windows[] = {{&m_reader.textSink(), FormMeasure},
                                                                        {&m_reader.workbookSink(), FormEXCEL}};
    for (const auto &[s, window] : windows)
        if (s == sink)
            return window;
    return nullptr;
}

void MemoryDataPage::ReadStarted(const Measure::TBlockHeader &block)
{
    QWidget *widget = windowOf(m_reader.sink());
    auto *window = dynamic_cast<ExportWindow *>(widget);
    if (!window)
        return;
    window->readStarted(block, m_reader.readOptions().formats);
    placeAtFieldList(widget);
    widget->show();
    widget->raise();
    window->shown();
}

void MemoryDataPage::RowsWritten(int rows)
{
    if (auto *window = dynamic_cast<ExportWindow *>(windowOf(m_reader.sink())))
        window->rowsWritten(rows);
}

void MemoryDataPage::ReadEnded()
{
    FormMeasure->ReadEnded();
}
