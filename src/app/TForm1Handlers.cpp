// What the controls of the configuration and settings pages do when the user touches them.
#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
#include "app/PageControls.h"
#include "app/RecordingSettingsPage.h"
#include "app/PortLock.h"
#include "app/StatusLine.h"
#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "files/ParameterFile.h"
#include "lang/Texts.h"
#include "model/Recording.h"
#include "widgets/MeterBase.h"
#include "widgets/TArrowBtn.h"
#include "widgets/TBevel3D.h"
#include "widgets/TInterSpinEdit.h"
#include "widgets/TLedCheck.h"
#include "widgets/TTextSpin.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cmath>

namespace {

bool isOneOf(const QObject *o, std::initializer_list<const QObject *> list)
{
    return std::find(list.begin(), list.end(), o) != list.end();
}

} // namespace

void TForm1::connectConfigHandlers()
{
    // QCheckBox::toggled: a change made by code counts as well as a click
    connect(cboPrompt, &QCheckBox::toggled, this, [this](bool on) {
        m_configPage->setTransferAtOnce(on);
        m_recordingPage->setTransferAtOnce(on);
    });
}

void TForm1::connectProgramHandlers()
{
    connect(tsComPort, &TTextSpin::onChanged, this, &TForm1::tsComPortChanged);
    connect(tsBaud, &TTextSpin::onChanged, this, &TForm1::tsComPortChanged);
    connect(tsDecimalSep, &TTextSpin::onChanged, this, &TForm1::tsDecimalSepChanged);
    connect(tsProgLang, &TTextSpin::onChanged, this, &TForm1::tsProgLangChanged);
    connect(btnMPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtMPath, &Files::ParamRecord::MeasureDir); });
    connect(btnQTPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtQTPath, &Files::ParamRecord::ConfigDir); });
    connect(btnDebugPath, &QPushButton::clicked, this, [this] { chooseDirectory(txtDebugPath, &Files::ParamRecord::LogDir); });
    connect(btnExcelDat, &QPushButton::clicked, this, &TForm1::btnExcelDatClick);
    connect(txtMPath, &QLineEdit::editingFinished, this, [this] { m_param.MeasureDir = Files::FitShortString(txtMPath->text()); });
    connect(txtQTPath, &QLineEdit::editingFinished, this, [this] { m_param.ConfigDir = Files::FitShortString(txtQTPath->text()); });
    connect(txtDebugPath, &QLineEdit::editingFinished, this, [this] {
        m_param.LogDir = Files::FitShortString(txtDebugPath->text());
        m_log->setDirectory(m_param.LogDir);
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
        m_status->setErrorBeep(on);
    });
    connect(cboDebug, &QCheckBox::clicked, this, [this](bool on) {
        m_param.LogTraffic = on;
        cboDebugClick();
    });
    connect(cbAskArProgrammClose, &QCheckBox::clicked, this, [this](bool on) { m_selection.AskOnClose = on; });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    // a date picker's events arrive at its inner editor
    QObject *control = watched;
    if (auto *picker = qobject_cast<QDateEdit *>(widget->parentWidget()))
        control = picker;
    const bool numeric = m_recordingPage->isNumberEdit(control);

    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // the instrument's keys work only while its front is shown
        if (key->key() >= Qt::Key_F7 && key->key() <= Qt::Key_F12 && key->modifiers() == Qt::NoModifier
            && PageControl1->currentWidget() == TabInfo && m_devicePage->FunctionKey(key->key()))
            return true;
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        if (isOneOf(control, {dtpQTDate, dtpStartDate, dtpStopDate, isePolInter, iseMeasInt, iseStartTime,
                              iseStopTime, iseDuration, txtAnaName, txtAnaUnit}) || numeric)
            PageControls::setControlColour(static_cast<QWidget *>(control), palette().color(QPalette::Base));
        if ((numeric || isOneOf(control, {txtRefInter, txtMeasRefInter}))
            && NumKeyPress(static_cast<QLineEdit *>(control), key))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (isOneOf(control, {lblSerNr, lblVersion, lblTime}))
            m_configPage->GetInfoKlickClick();
        else if (isOneOf(control, {dtpQTDate, dtpStartDate, dtpStopDate}))
            PageControls::setControlColour(static_cast<QWidget *>(control), palette().color(QPalette::Base));
        break;
    case QEvent::MouseButtonDblClick:
        if (control == txtMPath)
            chooseDirectory(txtMPath, &Files::ParamRecord::MeasureDir);
        else if (control == txtQTPath)
            chooseDirectory(txtQTPath, &Files::ParamRecord::ConfigDir);
        else if (control == txtDebugPath)
            chooseDirectory(txtDebugPath, &Files::ParamRecord::LogDir);
        else if (control == txtExcelDat)
            btnExcelDatClick();
        break;
    case QEvent::FocusIn: {
        // focus coming back from the calendar pop-up, a menu or another window is not the user
        // entering the control: a change made meanwhile must still count when it is left
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || watched != control)
            break;
        m_configPage->controlEntered(control);
        m_recordingPage->controlEntered(control);
        break;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || watched != control)
            break;
        if (control == txtRefInter)
            txtRefInterExit();
        else if (control == txtMeasRefInter)
            txtMeasRefInterExit();
        else
            m_recordingPage->controlLeft(control);
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::NumKeyPress(QLineEdit *edit, QKeyEvent *event)
{
    // only typed characters are checked: Tab, Delete, Backspace, Enter, the arrows and
    // shortcuts are keys, and some of them carry a control character as their text
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar c = text.at(0);
    if (c != u'-' && !c.isDigit() && c != u'.' && c != u',') {
        ReportMessage(Lang::Text(Lang::TxOnlyNumberChars), true);
        return true;
    }
    StatusClear();
    if (c == u'.' || c == u',') {
        edit->insert(QString(m_decimalSep));
        return true;
    }
    return false;
}

// ---- program settings page ---------------------------------------------------------------

void TForm1::tsComPortChanged()
{
    StatusClear();
    const QString name = tsComPort->PosString().trimmed();
    // another window talks on that line: this one stays on its own, still open
    if (m_portLock && !m_portLock->take(Link::SerialLink::ResolvePortName(m_baseDir, name))) {
        tsComPort->setPosition(m_portPosition);
        updatePortHint();
        ReportMessage(Lang::Format(Lang::Text(Lang::TxPortTaken), {name}), true);
        return;
    }
    m_portPosition = tsComPort->Position();
    // the caption as listed, leading blank included: "COM1 -  9600"
    const QString baudCaption = tsBaud->PosText().value(tsBaud->Position()).section(u'|', 0, 0);
    const int at = tsBaud->Position();
    const int baud = at >= 0 && at < int(Link::kBaudRates.size()) ? Link::kBaudRates[std::size_t(at)] : 0;
    updatePortHint();
    if (m_serial->SetPortParams(baud, QStringLiteral("n"), 8, 1) && m_serial->OpenPort(name)) {
        m_param.PortIndex = tsComPort->Position();
        m_selection.BaudIndex = tsBaud->Position();
        StatusPortText(name + QStringLiteral(" - ") + baudCaption, false);
    } else {
        ReportMessage(m_serial->LastPortError(), true);
        StatusPortText(QStringLiteral("???"), true);
    }
}

void TForm1::applyDecimalSeparator(int index)
{
    m_decimalSep = index == 0 ? u'.' : u',';
    for (MeterBase *meter : findChildren<MeterBase *>())
        meter->setDecimalSeparator(m_decimalSep);
}

void TForm1::tsDecimalSepChanged()
{
    m_param.DecimalSepIndex = tsDecimalSep->Position();
    applyDecimalSeparator(m_param.DecimalSepIndex);
}

void TForm1::chooseDirectory(QLineEdit *edit, QString Files::ParamRecord::*setting)
{
    std::optional<QString> chosen;
    if (m_options.chooseDirectory) {
        chosen = m_options.chooseDirectory(edit->text());
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
        m_log->setDirectory(m_param.LogDir);
}

void TForm1::btnExcelDatClick()
{
    Files::FileDialogSetup setup{m_param.MeasureDir, Lang::Text(Lang::TxTemplateTitle), QStringLiteral("xlsx"),
                                 Files::ConfigFiles::QtFilter(Lang::Text(Lang::TxTemplateFilter))};
    std::optional<QString> chosen;
    if (m_options.chooseFile) {
        chosen = m_options.chooseFile(setup, false);
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

namespace {

// The interval edits: absolute value, a floor, "%5.1f"; nothing when the text is no number.
std::optional<double> readInterval(QLineEdit *edit, double minimum)
{
    QString text = edit->text().trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return std::max(std::abs(value), minimum);
}

} // namespace

void TForm1::txtRefInterExit()
{
    if (const auto interval = readInterval(txtRefInter, 1.0)) {
        m_param.StatusInterval = float(*interval);
    } else {
        ReportMessage(Lang::Text(Lang::TxNoValidInterval), true);
        QTimer::singleShot(0, txtRefInter, [this] { txtRefInter->setFocus(); });
    }
    txtRefInter->setText(QString::asprintf("%5.1f", double(m_param.StatusInterval)).replace(u'.', m_decimalSep));
    StatusCountdown = int(std::lround(double(m_param.StatusInterval) * 1000.0));
}

void TForm1::txtMeasRefInterExit()
{
    if (const auto interval = readInterval(txtMeasRefInter, 0.5)) {
        m_param.MeasureInterval = float(*interval);
    } else {
        ReportMessage(Lang::Text(Lang::TxNoValidInterval), true);
        QTimer::singleShot(0, txtMeasRefInter, [this] { txtMeasRefInter->setFocus(); });
    }
    txtMeasRefInter->setText(QString::asprintf("%5.1f", double(m_param.MeasureInterval)).replace(u'.', m_decimalSep));
    MeasureCountdown = int(std::lround(double(m_param.MeasureInterval) * 1000.0));
}

void TForm1::cboDebugClick()
{
    m_log->setLogging(cboDebug->isChecked());
    if (cboDebug->isChecked()) {
        m_log->setDirectory(m_param.LogDir);
        m_log->OpenTrafficLog();
        // an empty folder became "." and stays so
        m_param.LogDir = m_log->directory();
        txtDebugPath->setText(m_param.LogDir);
    } else {
        m_log->CloseTrafficLog();
    }
}

void TForm1::cboQTTimeClick()
{
    const bool on = cboQTTime->isChecked();
    txtRefInter->setEnabled(on);
    PageControls::setControlColour(txtRefInter, on ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
}

void TForm1::LoadConfigCommand()
{
    StatusClear();
    m_configFiles->LoadConfigCommand();
}

void TForm1::SaveConfigCommand()
{
    StatusClear();
    m_configFiles->SaveConfigCommand();
}

void TForm1::showAbout()
{
    m_about->exec();
}
