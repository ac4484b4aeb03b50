#!/usr/bin/env bash
# Checks what a branch changes against a base: clang-format on the changed lines of C++ files,
# clang-tidy (the checks in .clang-tidy) on the changed sources. The tree as a whole is not
# formatted alike, so only what a change touches has to be.
# usage: lint.sh BUILD-DIR [JOBS]
#   LINT_BASE   what counts as the base (default: where HEAD left main, else origin/main)
#   LINT_ALL=1  clang-tidy on every source instead of the changed ones
# Files git does not track yet count once they are added (`git add -N FILE` will do).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$1
jobs=${2:-$(nproc)}
# what clang-tidy checks: the shipped code and the benchmarks (tests need their generated files)
tidy_dirs='src|cli|sim|bench'

base=${LINT_BASE:-}
if [ -z "$base" ]; then
    for ref in main origin/main; do
        base=$(git merge-base HEAD "$ref" 2>/dev/null) && break
    done
fi
if [ -z "$base" ] || ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
    echo "lint: no base to compare with; name one: make lint LINT_BASE=<commit>" >&2
    exit 2
fi
echo "lint: changes since $(git log -1 --format='%h %s' "$base")"

failed=0
echo "== clang-format on the changed lines"
# git clang-format 14 exits 0 also when it prints a diff
out=$(git clang-format --diff --extensions cpp,h "$base" -- 2>&1)
rc=$?
printf '%s\n' "$out"
if [ $rc != 0 ] || grep -q '^diff --git' <<<"$out"; then
    echo "lint: the changed lines are not formatted as .clang-format says (\`git clang-format $base\` does it)"
    failed=1
fi

# the compile commands of the build; configured anew when a CMake file is newer
db="$build/compile_commands.json"
if [ ! -f "$db" ] || [ -n "$(find . -path ./build -prune -o \( -name CMakeLists.txt -o -name '*.cmake' \) \
        -newer "$db" -print -quit)" ]; then
    if [ -f "$build/CMakeCache.txt" ]; then
        cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 2
    else
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 2
    fi
fi
mapfile -t sources < <(sed -n 's|^ *"file": "'"$root"'/\(.*\)",\?$|\1|p' "$db" | grep -E "^($tidy_dirs)/" | sort -u)

if [ "${LINT_ALL:-0}" = 1 ]; then
    units=("${sources[@]}")
else
    # a changed header is checked through its own source, or else through one that includes it
    units=()
    while IFS= read -r file; do
        [ -n "$file" ] || continue
        case $file in
            *.cpp) unit=$file ;;
            *.h)
                unit=${file%.h}.cpp
                if ! printf '%s\n' "${sources[@]}" | grep -qxF "$unit"; then
                    name=$(basename "$file" | sed 's/[.]/[.]/g')
                    unit=$(printf '%s\n' "${sources[@]}" \
                           | xargs grep -lE "#include \"(.*/)?$name\"" 2>/dev/null | head -n1)
                fi ;;
        esac
        [ -n "$unit" ] && printf '%s\n' "${sources[@]}" | grep -qxF "$unit" && units+=("$unit")
    done < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
    mapfile -t units < <(printf '%s\n' "${units[@]}" | sed '/^$/d' | sort -u)
fi

echo "== clang-tidy on ${#units[@]} source file(s)"
if [ ${#units[@]} -gt 0 ]; then
    # each file's findings come out in one piece; any finding fails the file
    if ! printf '%s\n' "${units[@]}" | xargs -P "$jobs" -I{} sh -c \
            'out=$(clang-tidy -p "$0" --quiet "$1" 2>&1) || { printf "%s\n" "$out"; exit 1; }' "$build" {}; then
        echo "lint: clang-tidy found the above"
        failed=1
    fi
fi
[ $failed = 0 ] && echo "lint: clean"
exit $failed
