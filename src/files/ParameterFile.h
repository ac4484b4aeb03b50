#pragma once

#include "files/ParamRecord.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace Files {

// The parameter file is a raw image of the two records: no header, no version, no magic.
inline constexpr int kParamRecordSize = 388;
inline constexpr int kSelectionRecordSize = 516;
inline constexpr int kParameterFileSize = kParamRecordSize + kSelectionRecordSize;
inline constexpr int kShortStringMax = 80;      // bytes of text in a short string

// Status-line messages of the file layer; the app connects ReportMessage (logged and mirrored).
using ReportFn = std::function<void(const QString &text, bool error)>;

// The current directory at start, without trailing separator; the app takes it once and keeps it.
QString BaseDirAtStart();
QString JoinPath(const QString &dir, const QString &name);
QString ParameterFileName(const QString &baseDir);     // BaseDir + "/QT8800.dat"

// A short string holds UTF-8; anything beyond 80 bytes is cut on a character boundary.
QByteArray CutShortString(QStringView text);
// What a text becomes once stored; the app uses it for paths it puts into ParamRecord.
QString FitShortString(QStringView text);

// Sum of the byte values of a value's text: the records' checksums are built from these.
int TextChecksum(qint32 value);
int TextChecksum(QByteArrayView bytes);
qint32 ComputeParamChecksum(const ParamRecord &param);
qint32 ComputeSelectionChecksum(const SelectionRecord &selection);

// The records' bytes as they go to the file; the checksum members are taken as they are.
QByteArray EncodeParamRecord(const ParamRecord &param);
QByteArray EncodeSelectionRecord(const SelectionRecord &selection);

// Defaults of the members that have one; the folders and the template are looked up on disk.
void SetParamDefaults(ParamRecord &param, const QString &baseDir);
// Only BaudIndex has a default; the field selection and the reserved bytes keep their values.
void SetSelectionDefaults(SelectionRecord &selection);

struct ParamReadResult
{
    bool Failed = true;             // ParamFileFailed: the main window opens its settings page
    QString ParamMessage;           // shown at first activation, as an error when Failed
    bool FileOpened = false;
    bool Missing = false;           // no file at all, as on a first start: the message is no error
    bool ParamRecordBad = true;     // missing, short, unreadable or wrong checksum: defaults applied
    bool SelectionRecordBad = true;
};

// Never fails hard: whatever cannot be used gets its defaults and the result says so.
ParamReadResult ReadParameterFile(const QString &baseDir, ParamRecord &param, SelectionRecord &selection);

// Stores the checksums into both records and replaces the file as a whole; on any failure
// the previous file stays, `report` gets the error and the result is false.
bool WriteParameterFile(const QString &baseDir, ParamRecord &param, SelectionRecord &selection,
                        const ReportFn &report = {});

} // namespace Files
