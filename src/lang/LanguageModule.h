#pragma once

#include <QString>

#include <array>

namespace Lang {

// The Windows locale identifier of each program language, in the language selector's order.
inline constexpr std::array<int, 2> kProgramLanguages{1031, 1033};

// The outcome of loading a language module. `loaded`: its texts are now the current ones,
// replacing the previous module's. `message`: what was wrong with a module that was found,
// in the language shown before; empty when there is nothing to tell (no module at all is no news).
struct ModuleLoad
{
    bool loaded = false;
    bool found = false;     // a module lay there, usable or not
    QString fileName;       // the module taken
    QString message;
};

// the three-letter language abbreviation of a Windows locale identifier (1031 DEU, 1033 ENU)
QString LanguageAbbreviation(int locale);

// the program's file name with its extension replaced by, or without one extended by, "." + abbreviation
QString ModuleFileName(const QString &programFile, const QString &abbreviation);

// Loads the module beside `programFile` for `locale`: first with the three-letter abbreviation,
// then with its first two letters. A module that cannot be used leaves the texts as they are.
ModuleLoad LoadLanguageModule(int locale, const QString &programFile);

} // namespace Lang
