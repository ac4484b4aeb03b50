#pragma once

#include "measure/MeasureTypes.h"
#include "model/Numbers.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace Measure {

// The number rule lives in the model; records and replies follow it like files and input.
using Model::NormalizeDecimal;
using Model::ToInteger;
using Model::ToNumber;

// Volts of the analogue input to the user's unit by the two calibration texts (value at 0 V
// and at +10 V); a text that is not a number counts as 0 and 10.
float ScaleAnalog(float volts, QStringView valueAtZero, QStringView valueAtTen);

// A typed value token: a signed analogue reading or "address:value" of a climate sensor.
struct SensorToken
{
    enum Result : int { Invalid = -1, Unknown = 0, Analog = 1, Temperature = 2, Humidity = 3 };
    int result = Invalid;
    int address = 0;        // as sent: 0..15 humidity, 16..31 temperature
    float value = 0;
};
SensorToken ParseSensorToken(QStringView token);

// A TFH/TNH reply.
struct HeaderParse
{
    enum Kind { Header, EndOfDirectory, Faulty };
    Kind kind = EndOfDirectory;
    TBlockHeader header;    // valid for Header
    // Faulty: the gathered texts, to be reported with "Record: " and the reply.
    // EndOfDirectory: non-empty when a block number was there but unreadable.
    QString errorText;
};
HeaderParse ParseBlockHeader(QStringView reply);

// The fields whose tokens the block's records carry, in check-list order. `analogName` is
// the analogue input's name on the configuration page.
MeasureFields BuildFieldList(const TBlockHeader &block, const QString &analogName);

// What a record's values go through on their way to a row.
struct RecordOptions
{
    bool skipAlarm = false;         // cboAlarmNotValid
    bool scaleAnalog = false;       // cboAnaScale
    QString valueAtZero;            // txtAnaValZero
    QString valueAtTen;             // txtAnaVal10
};

// A TFM/TNM reply, decoded into the selected fields' values.
struct RecordParse
{
    enum Kind { Record, EndOfBlock, Faulty };
    Kind kind = EndOfBlock;
    bool first = false;             // a TFM reply: the first record of the read
    bool skipped = false;           // stored in alarm, and such records are not wanted
    QString errorText;              // Faulty: to be reported with "Record: " and the reply
};
RecordParse ParseMeasureRecord(QStringView reply, qint32 blockNr, MeasureFields &fields,
                               const RecordOptions &options);

// "Record: " and the reply after the gathered error texts: how a bad reply is reported.
QString RecordErrorMessage(const QString &errorText, QStringView reply);

} // namespace Measure
