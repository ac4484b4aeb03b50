#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace Model {

// Date-times as day counts since 30 December 1899, the time of day as fraction. The count
// is the wall-clock date and time as written: no time zone and no daylight saving enters it,
// so a day always has 24 hours and a stop computed from a start never moves by an hour.
double DateTimeToDays(const QDateTime &when);
double DateToDays(QDate date);
// The wall-clock date and time of a count, as a UTC date-time (whole milliseconds).
QDateTime DaysToDateTime(double days);
// the names the recording page knows them by
inline double ToDays(const QDateTime &when) { return DateTimeToDays(when); }
inline QDateTime FromDays(double days) { return DaysToDateTime(days); }

// "dd.mm.yyyy"; without a year token (or an empty one) the default year, when there is one.
std::optional<QDate> parseDate(const QString &text, std::optional<int> defaultYear);

// "hhhh" or "hhhh:mm", hours 0..9999, minutes 0..59; an empty minute part counts as 0.
bool ValidDuration(const QString &text);
// "hhhh:mm" of a span in days (whole minutes).
QString DurationText(double days);

} // namespace Model
