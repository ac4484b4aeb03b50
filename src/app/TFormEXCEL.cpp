#include "app/TFormEXCEL.h"

#include "app/ChartWindow.h"
#include "app/TextBindings.h"
#include "app/WindowStatusBar.h"
#include "files/ParamRecord.h"
#include "lang/Texts.h"
#include "measure/MemoryReader.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *valuePanel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(110);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QLabel *caption(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TFormEXCEL::TFormEXCEL(Measure::MemoryReader &reader, const Files::ParamRecord &param, const MemoryDialogs &dialogs,
                       QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_reader(reader)
    , m_param(param)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormEXCEL"));
    lblExcelDiaTitle = caption(this, "lblExcelDiaTitle");
    txtEXCELDiaTitle = new QLineEdit(this);
    txtEXCELDiaTitle->setObjectName(QStringLiteral("txtEXCELDiaTitle"));
    lblExcelDiaTitle->setBuddy(txtEXCELDiaTitle);
    lblBlockNr = caption(this, "lblBlockNr");
    lblEXCELMeasureNr = valuePanel(this, "lblEXCELMeasureNr");
    lblEXCELStartDateLabel = caption(this, "lblEXCELStartDateLabel");
    lblEXCELStartDate = valuePanel(this, "lblEXCELStartDate");
    lblExcelStartTimeLabel = caption(this, "lblExcelStartTimeLabel");
    lblExcelStartTime = valuePanel(this, "lblExcelStartTime");
    lblEXCELREcordNrLabel = caption(this, "lblEXCELREcordNrLabel");
    lblExcelRecordNr = valuePanel(this, "lblExcelRecordNr");
    m_values = {{{lblBlockNr, lblEXCELMeasureNr},
                 {lblEXCELStartDateLabel, lblEXCELStartDate},
                 {lblExcelStartTimeLabel, lblExcelStartTime},
                 {lblEXCELREcordNrLabel, lblExcelRecordNr}}};
    auto button = [this](const char *name) {
        auto *b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    btnCancel = button("btnCancel");
    btnDiagramm = button("btnDiagramm");
    btnClose = button("btnClose");

    stb1 = new WindowStatusBar(this);

    auto *grid = new QGridLayout;
    grid->addWidget(lblExcelDiaTitle, 0, 0, 1, 2);
    grid->addWidget(txtEXCELDiaTitle, 1, 0, 1, 2);
    int row = 2;
    for (const auto &[label, value] : m_values) {
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnDiagramm);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    layout->addWidget(stb1);
    resize(316, 332);

    m_chart = new ChartWindow(this);

    connect(btnCancel, &QPushButton::clicked, this, &TFormEXCEL::btnCancelClick);
    connect(btnDiagramm, &QPushButton::clicked, this, &TFormEXCEL::CreateChart);
    connect(btnClose, &QPushButton::clicked, this, &TFormEXCEL::btnCloseClick);
    ApplyLanguageTexts();
}

void TFormEXCEL::ApplyLanguageTexts()
{
    using namespace Lang;
    setWindowTitle(Text(TxSheetWinCaption));
    lblExcelDiaTitle->setText(Text(TxSheetWinLblTitle));
    lblBlockNr->setText(Text(TxSheetWinLblBlockNr));
    lblEXCELStartDateLabel->setText(Text(TxSheetWinLblStartDate));
    lblExcelStartTimeLabel->setText(Text(TxSheetWinLblStartTime));
    lblEXCELREcordNrLabel->setText(Text(TxSheetWinLblRecordNr));
    btnCancel->setText(Text(TxSheetWinBtnCancel));
    btnDiagramm->setText(Text(TxSheetWinBtnDiagramm));
    btnClose->setText(Text(TxSheetWinBtnClose));
    TextBindings::showHints({{txtEXCELDiaTitle, TxSheetWinHintTitle},
                             {btnCancel, TxSheetWinHintCancel},
                             {btnDiagramm, TxSheetWinHintDiagramm},
                             {btnClose, TxSheetWinHintClose}});
    txtEXCELDiaTitle->setAccessibleName(Text(TxSheetWinLblTitle));
    for (const auto &[label, value] : m_values)
        showValue(value, value->text());
    m_chart->ApplyLanguageTexts();
    stb1->ApplyLanguageTexts();
}

void TFormEXCEL::ReadStarted(const Measure::TBlockHeader &block, const Measure::DisplayFormats &formats)
{
    m_firstRecord = block.FirstRecordTime;
    m_formats = formats;
    const QDateTime first = Measure::DaysToDateTime(block.FirstRecordTime);
    showValue(lblEXCELMeasureNr, QString::number(block.BlockNr));
    showValue(lblEXCELStartDate, first.date().toString(formats.dateFormat));
    showValue(lblExcelStartTime, first.time().toString(formats.timeFormat));
    showValue(lblExcelRecordNr, QStringLiteral("0"));
    txtEXCELDiaTitle->setText(Measure::SheetExport::DefaultChartTitle(block.FirstRecordTime));
}

void TFormEXCEL::shown()
{
    activateWindow();
    txtEXCELDiaTitle->setFocus();
}

void TFormEXCEL::RowsWritten(int rows)
{
    showValue(lblExcelRecordNr, QString::number(rows));
}

void TFormEXCEL::showValue(QLabel *value, const QString &text)
{
    value->setText(text);
    // a screen reader hears the caption with the value, as the eye reads them side by side
    for (const auto &[label, panel] : m_values)
        if (panel == value)
            value->setAccessibleName((label->text().remove(u'&') + u' ' + text).simplified());
}

void TFormEXCEL::setStatusText(const QString &text)
{
    stb1->setText(text);
}

QString TFormEXCEL::statusText() const
{
    return stb1->text();
}

void TFormEXCEL::CreateChart()
{
    if (!m_reader.CreateChart(txtEXCELDiaTitle->text().trimmed()))
        return;
    const Measure::Workbook &workbook = m_reader.sheet().workbook();
    if (!workbook.chart)
        return;
    m_chart->showChart(*workbook.chart, workbook.chartData(), m_formats);
    m_chart->show();
    m_chart->raise();
}

bool TFormEXCEL::hasUnsavedWorkbook() const
{
    return !m_reader.sheet().workbook().Saved;
}

void TFormEXCEL::CloseSpreadsheet(std::function<void(bool)> done)
{
    if (!done)
        done = [](bool) {};
    if (!hasUnsavedWorkbook()) {
        closeWorkbook();
        done(true);
        return;
    }
    const QString question = Lang::Text(Lang::TxExcelNotSaved) + u'\n' + Lang::Text(Lang::TxExcelSaveQuestion);
    const auto buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    m_dialogs.askAsync(this, question, buttons, [this, done](QMessageBox::StandardButton answer) {
        switch (answer) {
        case QMessageBox::Yes:
            saveAndClose(done);
            break;
        case QMessageBox::No:
            closeWorkbook();
            done(true);
            break;
        default:
            done(false);
            break;
        }
    });
}

void TFormEXCEL::saveAndClose(std::function<void(bool)> done)
{
    using namespace Lang;
    // a template with macros makes a workbook with macros, which only keeps them as .xlsm
    const QString suffix = m_reader.sheet().workbook().fileSuffix();
    const QString name = Measure::SheetExport::SuggestedSaveName(m_param.MeasureDir,
                                                                  Measure::DaysToDateTime(m_firstRecord), suffix);
    const TextId filter = suffix == QLatin1String("xlsm") ? TxExcelSaveFilterMacro : TxExcelSaveFilter;
    Files::FileDialogSetup setup{name, Text(TxExcelSaveTitle), suffix, Files::ConfigFiles::QtFilter(Text(filter))};
    m_dialogs.chooseSaveFile(this, setup, [this, done](std::optional<QString> path) {
        // a cancelled dialog or a failed save keeps the rows: they exist nowhere else
        if (!path || !m_reader.SaveWorkbook(*path)) {
            if (path)
                setStatusText(m_reader.saveFailure());
            done(false);
            return;
        }
        closeWorkbook();
        offerToOpen(*path, [done] { done(true); });
    });
}

void TFormEXCEL::offerToOpen(const QString &path, std::function<void()> done)
{
    using namespace Lang;
    // the saved file, never a copy: what the user changes there is kept
    const QString shown = QDir::toNativeSeparators(path);
    const QString question = Format(Text(TxSheetWinOpenQuestion), {shown});
    m_dialogs.askAsync(this, question, QMessageBox::Yes | QMessageBox::No,
                       [this, path, shown, done](QMessageBox::StandardButton answer) {
                           if (answer == QMessageBox::Yes && !m_dialogs.showExternal(path))
                               Q_EMIT reportMessage(Format(Text(TxSheetWinNoOpener), {shown}), true);
                           done();
                       });
}

void TFormEXCEL::closeWorkbook()
{
    m_reader.sheet().workbook().Saved = true;
}

void TFormEXCEL::btnCancelClick()
{
    m_reader.CancelRead();
}

void TFormEXCEL::btnCloseClick()
{
    btnCancelClick();
    // the window closes whatever the answer; a workbook kept open is offered again before the next one
    CloseSpreadsheet([this](bool) { close(); });
}
