#include "app/ProgramSettingsPage.h"

#include "app/PageControls.h"
#include "app/TextBindings.h"
#include "files/ParameterFile.h"
#include "widgets/TTextSpin.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

using namespace Lang;
using namespace PageControls;

ProgramSettingsPage::ProgramSettingsPage(TextBindings &texts, Files::ParamRecord &param,
                                         Files::SelectionRecord &selection, Choosers choosers, QWidget *parent)
    : QWidget(parent)
    , m_param(param)
    , m_selection(selection)
    , m_choosers(std::move(choosers))
{
    setObjectName(QStringLiteral("TabProgram"));
    build(texts);
    connectHandlers();
}

void ProgramSettingsPage::build(TextBindings &t)
{
    auto *page = new QGridLayout(this);

    QGroupBox *port = group(t, this, "gbPort", TxCapGbPort);
    tsComPort = textSpin(t, port, "tsComPort", TxItemsTsComPort, TxHintTsComPort, true);
    grid(port)->addWidget(tsComPort, 0, 0);
    QGroupBox *baud = group(t, this, "gbBaud", TxCapGbBaud);
    tsBaud = textSpin(t, baud, "tsBaud", TxItemsTsBaud, TxHintTsBaud, true);
    grid(baud)->addWidget(tsBaud, 0, 0);
    QGroupBox *sep = group(t, this, "gbDecimalSep", TxCapGbDecimalSep);
    tsDecimalSep = textSpin(t, sep, "tsDecimalSep", TxItemsTsDecimalSep, TxHintTsDecimalSep);
    grid(sep)->addWidget(tsDecimalSep, 0, 0);
    // the language list is built once at creation, each language under its own name
    QGroupBox *lang = group(t, this, "gbProgLang", TxCapGbProgLang);
    tsProgLang = named(new TTextSpin(lang), "tsProgLang");
    tsProgLang->setMinimumSize(150, 30);
    t.hint(tsProgLang, TxHintTsProgLang);
    grid(lang)->addWidget(tsProgLang, 0, 0);

    QGroupBox *paths = group(t, this, "gbMPath", TxCapGbMPath);
    auto pathRow = [&](int row, const char *labelName, TextId label, const char *editName, TextId editHint,
                       const char *buttonName, TextId buttonHint, QLineEdit *&edit, QPushButton *&button) {
        auto *keyed = named(new KeyedLineEdit(paths), editName);
        edit = keyed;
        connect(keyed, &KeyedLineEdit::doubleClicked, this, [this, keyed] { controlDoubleClicked(keyed); });
        button = named(new QPushButton(QStringLiteral("..."), paths), buttonName);
        button->setFixedWidth(30);
        t.hint(edit, editHint);
        t.hint(button, buttonHint);
        grid(paths)->addWidget(caption(t, paths, labelName, label, edit), row, 0);
        grid(paths)->addWidget(edit, row, 1);
        grid(paths)->addWidget(button, row, 2);
    };
    pathRow(0, "lblMeasPath", TxCapLblMeasPath, "txtMPath", TxHintTxtMPath, "btnMPath", TxHintBtnMPath, txtMPath,
            btnMPath);
    pathRow(1, "lblEXCELDat", TxCapLblEXCELDat, "txtExcelDat", TxHintTxtExcelDat, "btnExcelDat", TxHintBtnExcelDat,
            txtExcelDat, btnExcelDat);
    pathRow(2, "lblKonfPath", TxCapLblKonfPath, "txtQTPath", TxHintTxtQTPath, "btnQTPath", TxHintBtnQTPath, txtQTPath,
            btnQTPath);
    pathRow(3, "lblDebugPath", TxCapLblDebugPath, "txtDebugPath", TxHintTxtDebugPath, "btnDebugPath",
            TxHintBtnDebugPath, txtDebugPath, btnDebugPath);

    QGroupBox *opts = group(t, this, "gbProgOptions", TxCapGbProgOptions);
    auto check = [&](const char *name, TextId id) {
        auto *box = named(new QCheckBox(opts), name);
        t.caption(box, id);
        return box;
    };
    cboSaveConfig = check("cboSaveConfig", TxCapCboSaveConfig);
    cboReadAtStart = check("cboReadAtStart", TxCapCboReadAtStart);
    cboPrompt = check("cboPrompt", TxCapCboPrompt);
    cboQTTime = check("cboQTTime", TxCapCboQTTime);
    auto separator = [this] { return m_decimalSep; };
    txtRefInter = named(new NumberEdit(separator, opts), "txtRefInter");
    txtRefInter->setFixedWidth(60);
    txtRefInter->setAutoFillBackground(true);
    cbBeep = check("cbBeep", TxCapCbBeep);
    cboDebug = check("cboDebug", TxCapCboDebug);
    txtMeasRefInter = named(new NumberEdit(separator, opts), "txtMeasRefInter");
    txtMeasRefInter->setFixedWidth(60);
    cbAskArProgrammClose = check("cbAskArProgrammClose", TxCapCbAskArProgrammClose);
    auto *o = grid(opts);
    o->addWidget(cboSaveConfig, 0, 0, 1, 3);
    o->addWidget(cboReadAtStart, 1, 0, 1, 3);
    o->addWidget(cboPrompt, 2, 0, 1, 3);
    o->addWidget(cboQTTime, 3, 0);
    o->addWidget(txtRefInter, 3, 1);
    o->addWidget(caption(t, opts, "lblSeconds", TxCapLblSeconds), 3, 2);
    o->addWidget(cbBeep, 4, 0, 1, 3);
    o->addWidget(cboDebug, 5, 0, 1, 3);
    o->addWidget(caption(t, opts, "lblMeasRefresh", TxCapLblMeasRefresh, txtMeasRefInter), 6, 0);
    o->addWidget(txtMeasRefInter, 6, 1);
    o->addWidget(caption(t, opts, "lblSeconds2", TxCapLblSeconds2), 6, 2);
    o->addWidget(cbAskArProgrammClose, 7, 0, 1, 3);

    page->addWidget(port, 0, 0);
    page->addWidget(baud, 0, 1);
    page->addWidget(sep, 1, 0);
    page->addWidget(lang, 1, 1);
    page->addWidget(paths, 2, 0, 1, 2);
    page->addWidget(opts, 0, 2, 3, 1);
}

void ProgramSettingsPage::connectHandlers()
{
    connect(tsComPort, &TTextSpin::onChanged, this, &ProgramSettingsPage::portChosen);
    connect(tsBaud, &TTextSpin::onChanged, this, &ProgramSettingsPage::portChosen);
    connect(tsDecimalSep, &TTextSpin::onChanged, this, &ProgramSettingsPage::decimalSeparatorChosen);
    connect(tsProgLang, &TTextSpin::onChanged, this, &ProgramSettingsPage::languageChosen);
    connect(btnMPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtMPath, &Files::ParamRecord::MeasureDir); });
    connect(btnQTPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtQTPath, &Files::ParamRecord::ConfigDir); });
    connect(btnDebugPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtDebugPath, &Files::ParamRecord::LogDir); });
    connect(btnExcelDat, &QPushButton::clicked, this, &ProgramSettingsPage::btnExcelDatClick);
    connect(txtMPath, &QLineEdit::editingFinished, this, [this] { m_param.MeasureDir = Files::FitShortString(txtMPath->text()); });
    connect(txtQTPath, &QLineEdit::editingFinished, this, [this] { m_param.ConfigDir = Files::FitShortString(txtQTPath->text()); });
    connect(txtDebugPath, &QLineEdit::editingFinished, this, [this] {
        m_param.LogDir = Files::FitShortString(txtDebugPath->text());
        emit logFolderChanged(m_param.LogDir);
    });
    connect(cboSaveConfig, &QCheckBox::clicked, this, [this](bool on) { m_param.RememberConfig = on; });
    connect(cboReadAtStart, &QCheckBox::clicked, this, [this](bool on) { m_param.ReadAtStart = on; });
    connect(cboPrompt, &QCheckBox::clicked, this, [this](bool on) { m_param.TransferAtOnce = on; });
    connect(cboQTTime, &QCheckBox::clicked, this, [this](bool on) {
        m_param.CyclicStatus = on;
        cboQTTimeClick();
    });
    connect(cbBeep, &QCheckBox::clicked, this, [this](bool on) {
        m_param.BeepOnError = on;
        emit beepChanged(on);
    });
    connect(cboDebug, &QCheckBox::clicked, this, [this](bool on) {
        m_param.LogTraffic = on;
        emit loggingChanged(on);
    });
    connect(cbAskArProgrammClose, &QCheckBox::clicked, this, [this](bool on) { m_selection.AskOnClose = on; });
    for (QLineEdit *interval : {txtRefInter, txtMeasRefInter}) {
        auto *edit = static_cast<NumberEdit *>(interval);
        connect(edit, &NumberEdit::left, this, [this, edit] { controlLeft(edit); });
        connect(edit, &NumberEdit::refused, this, [this] { emit message(Lang::Text(Lang::TxOnlyNumberChars), true); });
        connect(edit, &NumberEdit::accepted, this, &ProgramSettingsPage::statusCleared);
    }
}

void ProgramSettingsPage::showSettings()
{
    tsProgLang->setPosition(m_param.ProgramLanguage);
    cboReadAtStart->setChecked(m_param.ReadAtStart);
    txtMPath->setText(m_param.MeasureDir);
    txtExcelDat->setText(m_param.TemplateFile);
    txtQTPath->setText(m_param.ConfigDir);
    txtDebugPath->setText(m_param.LogDir);
    tsComPort->setPosition(m_param.PortIndex);
    tsBaud->setPosition(m_selection.BaudIndex);
    cboDebug->setChecked(m_param.LogTraffic);
    cboPrompt->setChecked(m_param.TransferAtOnce);
    cboQTTime->setChecked(m_param.CyclicStatus);
    cbBeep->setChecked(m_param.BeepOnError);
    cboSaveConfig->setChecked(m_param.RememberConfig);
    txtRefInter->setText(QString::asprintf("%5.1f", std::abs(double(m_param.StatusInterval))));
    txtMeasRefInter->setText(QString::asprintf("%5.1f", std::abs(double(m_param.MeasureInterval))));
    cbAskArProgrammClose->setChecked(m_selection.AskOnClose);
    cboQTTimeClick();
    tsDecimalSep->setPosition(m_param.DecimalSepIndex);
}

void ProgramSettingsPage::cboQTTimeClick()
{
    const bool on = cboQTTime->isChecked();
    txtRefInter->setEnabled(on);
    setControlColour(txtRefInter, on ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
}

void ProgramSettingsPage::controlLeft(QObject *control)
{
    if (control == txtRefInter)
        intervalLeft(txtRefInter, &Files::ParamRecord::StatusInterval, 1.0);
    else if (control == txtMeasRefInter)
        intervalLeft(txtMeasRefInter, &Files::ParamRecord::MeasureInterval, 0.5);
}

void ProgramSettingsPage::controlDoubleClicked(QObject *control)
{
    if (control == txtMPath)
        chooseDirectory(txtMPath, &Files::ParamRecord::MeasureDir);
    else if (control == txtQTPath)
        chooseDirectory(txtQTPath, &Files::ParamRecord::ConfigDir);
    else if (control == txtDebugPath)
        chooseDirectory(txtDebugPath, &Files::ParamRecord::LogDir);
    else if (control == txtExcelDat)
        btnExcelDatClick();
}

void ProgramSettingsPage::chooseDirectory(QLineEdit *edit, QString Files::ParamRecord::*setting)
{
    std::optional<QString> chosen;
    if (m_choosers.directory) {
        chosen = m_choosers.directory(edit->text());
    } else {
        const QString dir = QFileDialog::getExistingDirectory(this, Lang::Text(Lang::TxChooseDirectory), edit->text());
        if (!dir.isEmpty())
            chosen = dir;
    }
    if (!chosen)
        return;
    edit->setText(*chosen);
    m_param.*setting = Files::FitShortString(*chosen);
    if (setting == &Files::ParamRecord::LogDir)
        emit logFolderChanged(m_param.LogDir);
}

void ProgramSettingsPage::btnExcelDatClick()
{
    Files::FileDialogSetup setup{m_param.MeasureDir, Lang::Text(Lang::TxTemplateTitle), QStringLiteral("xlsx"),
                                 Files::ConfigFiles::QtFilter(Lang::Text(Lang::TxTemplateFilter))};
    std::optional<QString> chosen;
    if (m_choosers.file) {
        chosen = m_choosers.file(setup, false);
    } else {
        QFileDialog dialog(this, setup.Title, setup.Directory, setup.Filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(setup.DefaultSuffix);
        if (!txtExcelDat->text().isEmpty())
            dialog.selectFile(txtExcelDat->text());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    if (!chosen)
        return;
    txtExcelDat->setText(*chosen);
    m_param.TemplateFile = Files::FitShortString(*chosen);
}

void ProgramSettingsPage::intervalLeft(QLineEdit *edit, float Files::ParamRecord::*setting, double minimum)
{
    QString text = edit->text().trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (ok) {
        m_param.*setting = float(std::max(std::abs(value), minimum));
    } else {
        emit message(Lang::Text(Lang::TxNoValidInterval), true);
        QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
    }
    edit->setText(QString::asprintf("%5.1f", double(m_param.*setting)).replace(u'.', m_decimalSep));
    const int msecs = int(std::lround(double(m_param.*setting) * 1000.0));
    if (setting == &Files::ParamRecord::StatusInterval)
        emit statusIntervalChanged(msecs);
    else
        emit measureIntervalChanged(msecs);
}
