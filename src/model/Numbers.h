#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

namespace Model {

// One number rule for replies, records, files and user input: "." or "," as separator,
// never the desktop locale, no exponents.

// Every "." and "," becomes `separator`: the instrument and the user write either.
QString NormalizeDecimal(QStringView text, QChar separator);

// A decimal number with "." or "," as separator, blanks around allowed; nothing for any
// other text, and for infinities and NaN, which no instrument value can be.
std::optional<double> ToNumber(QStringView text);
// A decimal integer that fits 32 bits, blanks around allowed.
std::optional<qint32> ToInteger(QStringView text);

} // namespace Model
