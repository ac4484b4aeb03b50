#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace Files {

// The program's own settings, first record of the parameter file. Zero-initialised like the
// record the reader starts from; SetParamDefaults gives the defaults. The app owns one instance.
struct ParamRecord
{
    qint32 PortIndex = 0;           // tsComPort position: 0 = COM1 ... 7 = COM8
    qint32 ProgramLanguage = 0;     // 0 German, 1 English
    QString MeasureDir;             // folder of measurement files
    QString ConfigDir;              // folder of configuration files
    QString LogDir;                 // folder of traffic logs
    QString TemplateFile;           // full name of the spreadsheet template, may be empty
    bool LogTraffic = false;        // cboDebug
    bool TransferAtOnce = false;    // cboPrompt
    bool CyclicStatus = false;      // cboQTTime
    bool BeepOnError = false;       // cbBeep
    qint32 PageIndex = 0;           // page of PageControl1 shown last
    qint32 DecimalSepIndex = 0;     // 0 ".", otherwise ","
    bool ScaleAnalogValues = false; // cboAnaScale
    bool TwoColumns = false;        // cboTwoCol
    bool SkipAlarmValues = false;   // cboAlarmNotValid
    float StatusInterval = 0.0f;    // seconds between cyclic status reads (txtRefInter)
    float MeasureInterval = 0.0f;   // seconds between device-view queries (txtMeasRefInter)
    bool ReadAtStart = false;       // cboReadAtStart
    qint32 AnalogPanelHeight = 0;   // panAnalog height in pixels
    qint32 WindowHeight = 0;
    qint32 WindowWidth = 0;
    qint32 WindowTop = 0;           // negative: centred
    qint32 WindowLeft = 0;          // negative: centred
    bool RememberConfig = false;    // cboSaveConfig: last configuration saved at end, loaded at start
    qint32 ParamChecksum = 0;       // set by WriteParameterFile, as read by ReadParameterFile

    bool operator==(const ParamRecord &) const = default;
};

// Second record of the parameter file. Its reserved bytes are carried through unchanged, so a
// file from another installation keeps what it holds there.
struct SelectionRecord
{
    static constexpr int kFieldPositions = 40;
    static constexpr int kReservedTail = 466;

    qint32 BaudIndex = 0;                                   // tsBaud position
    std::array<bool, kFieldPositions> FieldSelection{};     // check marks of the measurement field list
    quint8 Reserved44 = 0;
    bool AskOnClose = false;                                // cbAskArProgrammClose
    std::array<quint8, kReservedTail> Reserved{};
    qint32 SelectionChecksum = 0;

    bool operator==(const SelectionRecord &) const = default;
};

} // namespace Files
