#!/usr/bin/env bash
# Runs each libFuzzer target of a fuzz build for a set time and prints one line per target:
# runs, seconds, coverage, corpus and crashes. Exits non-zero when any target crashed.
# usage: run-fuzz.sh BUILD-DIR SECONDS [TARGET…]
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
shift 2 || true
root=$(cd "$(dirname "$0")/.." && pwd)
seeds="$root/tests/fuzz/corpus"
if [ $# -gt 0 ]; then targets=("$@"); else targets=($(ls "$seeds")); fi

# the file targets write and replace a file per input: on tmpfs that costs no disk syncs
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

failed=0
for t in "${targets[@]}"; do
    bin="$build/fuzz_$t"
    if [ ! -x "$bin" ]; then echo "$t: no fuzz target $bin"; failed=1; continue; fi
    work="$build/corpus/$t"
    artifacts="$build/artifacts/$t"
    log="$build/logs/$t.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    case $t in
        receive_buffer|parameter_file|config_file|language_module) max_len=8192 ;;
        *) max_len=2048 ;;
    esac
    case $t in
        config_file) dict="$root/tests/fuzz/dict/config.dict" ;;
        language_module) dict="$root/tests/fuzz/dict/language.dict" ;;
        parameter_file|sensor_token) dict= ;;
        *) dict="$root/tests/fuzz/dict/telegram.dict" ;;
    esac
    # new inputs go to the first folder only: the checked-in seeds stay as they are
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$bin" -max_total_time="$seconds" -timeout=10 -max_len=$max_len -print_final_stats=1 \
        -artifact_prefix="$artifacts/" ${dict:+-dict="$dict"} "$work" "$seeds/$t" > "$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | cut -d' ' -f2)
    corpus=$(ls "$work" | wc -l)
    crashes=$(ls "$artifacts" | wc -l)
    echo "$t: runs ${runs:-?} in ${seconds} s, cov ${cov:-?}, corpus $corpus, crashes $crashes, exit $rc"
    if [ $rc -ne 0 ] || [ "$crashes" -ne 0 ]; then
        failed=1
        echo "  see $log and $artifacts"
    fi
done
exit $failed
