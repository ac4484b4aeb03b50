#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Cli {

// The language of one run (0 German, 1 English): --language, otherwise the one the window
// program was last set to in the parameter file of `baseDir` when that reads without error (as
// the window program requires), otherwise German.
int RunLanguage(const std::optional<int> &option, const QString &baseDir);

// Where the window program, and so its language modules, may lie for the command `cliFile`:
// beside it (the build folder; an installed bin/qt8800 is a link, followed to its target),
// then in ../lib/qt8800/, where `make install` and the package put it.
QStringList ProgramFileCandidates(const QString &cliFile);

// Makes the texts of `language` current, with the window program's rules (the module named
// with the three-letter abbreviation, then the two-letter one; one that cannot be used leaves
// the German texts). Returns what stderr should say about it, in German; empty when all is well.
// Without a module German stays, silently: it is built in.
QString SelectRunLanguage(int language, const QString &cliFile);

} // namespace Cli
