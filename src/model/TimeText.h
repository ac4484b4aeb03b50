#pragma once

#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace Model {

// Time texts of fields. Files and telegrams always carry ":" between the parts; a file may
// also have been edited under a desktop locale whose time separator is another character
// ("." in Danish or Finnish), so file texts accept that one too.

// A time of day from a file: "h:n" or "h:n:s", each part a whole number, the separator ":" or
// `localeSeparator`. Nothing when it is no valid time of day.
std::optional<QTime> ReadFileTime(QStringView text, QChar localeSeparator);

// A time of day from a telegram: hours, minutes and, when `parts` is 3, seconds are the first
// ":"-separated tokens; a token that is absent counts as 0, one that is present must be a
// whole number. An empty text is no time.
std::optional<QTime> ReadTelegramTime(QStringView text, int parts);

// A time span "h:n:s" as the spin edits hold it: the hours may exceed a day (the spin edit
// itself steps to 24:10:00). Each of the first three tokens that is present must be a whole
// number. Returns the text with ":" between its parts, so a spin edit reads it.
std::optional<QString> ReadSpanText(QStringView text, QChar localeSeparator);

// "hh:nn:ss" of the time-of-day part of a date-time in days; seconds "00" when asked.
QString TimeOfDayText(double days, bool zeroSeconds);

} // namespace Model
