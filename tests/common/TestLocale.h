#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <clocale>
#include <cstdio>

// The per-locale runs name their locale in QT8800_TEST_LOCALE. Where the C library does not
// have it, such a run would quietly test the C locale; it reports itself skipped instead.
inline constexpr int kSkipExitCode = 77;

inline bool TestLocaleMissing()
{
    const QByteArray name = qgetenv("QT8800_TEST_LOCALE");
    if (name.isEmpty())
        return false;
    if (locale_t locale = newlocale(LC_ALL_MASK, name.constData(), locale_t(nullptr))) {
        freelocale(locale);
        return false;
    }
    std::fprintf(stderr,
                 "SKIPPED: locale %s is not installed, so this run cannot test it "
                 "(scripts/test-locales.sh generates it as root with the locales package)\n",
                 name.constData());
    return true;
}
