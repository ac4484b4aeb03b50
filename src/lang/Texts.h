#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "lang/LinkTextIds.h"
#include "lang/FilesTextIds.h"
#include "lang/MeasureTextIds.h"
#include "lang/AppTextIds.h"
#include "lang/MainWindowTextIds.h"
#include "lang/MemoryUiTextIds.h"
#include "lang/DeviceViewTextIds.h"
#include "lang/CliTextIds.h"
#include "lang/TrendTextIds.h"

namespace Lang {

// Every user-visible text has a number; the German text is compiled in and a language
// catalogue may replace it at run time. Each area keeps its numbers and texts in its own pair of files.
using TextId = int;

QString Text(TextId id);

// Fills "%s" and "%d" placeholders in order of appearance; "%%" is a literal percent sign.
QString Format(const QString &pattern, const QStringList &args);

// Replaces the texts of the given numbers (a language module); an empty map restores German.
// A number the catalogue lacks keeps its German text.
void SetCatalogue(const QHash<int, QString> &texts, const QString &moduleFile = {});
// the module whose texts are in force; empty while the built-in texts are
QString CurrentModuleFile();

// the compiled-in texts
bool IsKnownText(TextId id);
QList<TextId> KnownTextIds();       // ascending
QString GermanText(TextId id);
// numbers that two areas (or one area twice) define: each must be unique
QList<TextId> DuplicateTextIds();

} // namespace Lang
