#!/usr/bin/env bash
# Runs every benchmark of a build; each prints `name: value` lines.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in "$build"/bench/*; do
    [ -x "$b" ] && [ -f "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --sim "$build/qt8800-sim"
done
