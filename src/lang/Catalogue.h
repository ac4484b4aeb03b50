#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace Lang {

// A language module as read. `failure` set: the bytes are no catalogue at all (empty, binary,
// too large, not one usable line). Otherwise `texts` holds what the module gives, and
// `problems` the lines that were skipped, in line order.
struct Catalogue
{
    QHash<int, QString> texts;
    QString failure;
    QStringList problems;        // the first kMaxProblems of them
    int problemCount = 0;        // all of them
    int missing = 0;             // built-in texts the module does not carry
};

inline constexpr qsizetype kMaxModuleBytes = 4 * 1024 * 1024;
inline constexpr int kMaxProblems = 20;

// The module format: UTF-8 lines "number=text"; blank lines and lines starting with "#" are
// ignored; in a text "\n" stands for a line break and "\\" for a backslash. A number the program
// does not know and the second line of a number are skipped. Depends on the bytes and the
// built-in table only, so any input may be thrown at it.
Catalogue ParseCatalogue(const QByteArray &bytes);

// the same format written, numbers ascending
QByteArray WriteCatalogue(const QHash<int, QString> &texts);

} // namespace Lang
