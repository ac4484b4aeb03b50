#!/usr/bin/env bash
# Runs the program on a virtual X display with the accessibility bus switched on, next to
# the stand-in instrument, and reads and works it through the bus as a screen reader would
# (scripts/a11y-probe.py). Needs the packages xvfb, at-spi2-core and python3-pyatspi.
# usage: scripts/a11y-probe.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- "$0" "$build"
fi
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 & pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$work
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
"$build/qt8800-sim" --link "$work/COM1" > "$work/sim.out" & pids+=($!)
for _ in $(seq 50); do [ -e "$work/COM1" ] && [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
sleep 1   # the display's socket comes a moment before the display takes clients
(cd "$work" && exec "$build/qt8800" > "$work/program.out" 2>&1) & pids+=($!)
/usr/bin/python3 "$here/a11y-probe.py" qt8800
