#!/usr/bin/env bash
# Starts the stand-in instrument on a pseudo-terminal linked as COM1 in a demo base
# directory, then the program in that directory; stops the instrument afterwards.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
demo="$build/demo"
mkdir -p "$demo"
"$build/qt8800-sim" --link "$demo/COM1" > "$demo/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$demo/sim.out" ] && break; sleep 0.1; done
echo "stand-in instrument on $(head -n1 "$demo/sim.out"), linked as $demo/COM1"
cd "$demo"
if [ -x "$build/qt8800" ]; then
    "$build/qt8800"
else
    "$build/qt8800-probe" COM1
fi
