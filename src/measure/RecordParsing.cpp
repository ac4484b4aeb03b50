#include "measure/RecordParsing.h"

namespace Measure {

QString NormalizeDecimal(QStringView text, QChar) { return text.toString(); }
std::optional<double> ToNumber(QStringView) { return std::nullopt; }
std::optional<qint32> ToInteger(QStringView) { return std::nullopt; }
float ScaleAnalog(float volts, QStringView, QStringView) { return volts; }
SensorToken ParseSensorToken(QStringView) { return {}; }
HeaderParse ParseBlockHeader(QStringView) { return {}; }
MeasureFields BuildFieldList(const TBlockHeader &, const QString &) { return {}; }
RecordParse ParseMeasureRecord(QStringView, qint32, MeasureFields &, const RecordOptions &) { return {}; }
QString RecordErrorMessage(const QString &errorText, QStringView reply) { return errorText + reply.toString(); }

} // namespace Measure
