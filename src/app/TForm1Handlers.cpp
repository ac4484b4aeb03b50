// What the controls of the configuration and settings pages do when the user touches them.
#include "app/ConfigurationPage.h"
#include "app/DeviceViewPage.h"
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
    connect(p, &ProgramSettingsPage::statusCleared, this, &TForm1::StatusClear);
    connect(m_recordingPage, &RecordingSettingsPage::statusCleared, this, &TForm1::StatusClear);
}

// Keys no control took come up to the window: Return and Enter walk on as Tab does, Escape
// closes, and the instrument's keys work only while its front is shown. Another window's
// keys (the sensor window's F7, an editor's Return) never arrive here.
void TForm1::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_F7 && key <= Qt::Key_F12 && event->modifiers() == Qt::NoModifier
        && PageControl1->currentWidget() == TabInfo && m_devicePage->FunctionKey(key))
        return;
    if (key == Qt::Key_Escape) {
        close();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QMainWindow::keyPressEvent(event);
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
    m_store->setDecimalSeparator(m_decimalSep);
    m_programPage->setDecimalSeparator(m_decimalSep);
    m_recordingPage->setDecimalSeparator(m_decimalSep);
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
