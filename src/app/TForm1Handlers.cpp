// What the controls of the configuration and settings pages do when the user touches them.
#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
#include "app/PageControls.h"
#include "app/ProgramSettingsPage.h"
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
    ProgramSettingsPage *p = m_programPage;
    connect(p, &ProgramSettingsPage::portChosen, this, &TForm1::tsComPortChanged);
    connect(p, &ProgramSettingsPage::decimalSeparatorChosen, this, &TForm1::tsDecimalSepChanged);
    connect(p, &ProgramSettingsPage::languageChosen, this, &TForm1::tsProgLangChanged);
    connect(p, &ProgramSettingsPage::logFolderChanged, this, [this](const QString &folder) { m_log->setDirectory(folder); });
    connect(p, &ProgramSettingsPage::loggingChanged, this, &TForm1::cboDebugClick);
    connect(p, &ProgramSettingsPage::beepChanged, m_status, &StatusLine::setErrorBeep);
    connect(p, &ProgramSettingsPage::statusIntervalChanged, this, [this](int msecs) { StatusCountdown = msecs; });
    connect(p, &ProgramSettingsPage::measureIntervalChanged, this, [this](int msecs) { MeasureCountdown = msecs; });
    connect(p, &ProgramSettingsPage::message, this, &TForm1::ReportMessage);
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
        m_programPage->controlDoubleClicked(control);
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
        m_programPage->controlLeft(control);
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
    m_programPage->setDecimalSeparator(m_decimalSep);
    for (MeterBase *meter : findChildren<MeterBase *>())
        meter->setDecimalSeparator(m_decimalSep);
}

void TForm1::tsDecimalSepChanged()
{
    m_param.DecimalSepIndex = tsDecimalSep->Position();
    applyDecimalSeparator(m_param.DecimalSepIndex);
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
