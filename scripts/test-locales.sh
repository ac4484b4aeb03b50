#!/bin/sh
# Generates the locales the per-locale test runs need (e.g. da_DK.UTF-8) where they are
# missing. That takes root (or sudo without a password) and the "locales" package; where it
# cannot be done, the runs of that locale report themselves skipped.
for name in "$@"; do
    want=$(printf '%s' "$name" | tr 'A-Z' 'a-z' | sed 's/utf-8$/utf8/')
    if locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -qx "$want"; then
        continue
    fi
    if [ "$(id -u)" = 0 ]; then
        run=
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        run="sudo -n"
    else
        echo "locale $name is missing and only root can generate it: its test runs are skipped"
        continue
    fi
    if ! command -v localedef >/dev/null 2>&1; then
        echo "locale $name is missing and localedef is not installed (package locales): its test runs are skipped"
        continue
    fi
    if $run localedef -i "${name%%.*}" -f "${name#*.}" "$name"; then
        echo "generated locale $name"
    else
        echo "locale $name could not be generated: its test runs are skipped"
    fi
done
exit 0
