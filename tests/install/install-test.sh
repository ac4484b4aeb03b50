#!/usr/bin/env bash
# The program as `make install` leaves it.
#   install-test.sh tree    BUILD TREE          installs BUILD into TREE and checks what landed
#   install-test.sh start   BUILD TREE          starts the installed program, stops it by SIGTERM
#   install-test.sh english BUILD TREE PARAMS   starts it in English from the installed module
# TREE is DESTDIR; the prefix inside it is /opt/qt8800-1.0, so both are shown to be honoured.
# Exit 77 means skipped.
set -euo pipefail

step=$1 build=$2 tree=$3
prefix=/opt/qt8800-1.0       # a dot in a folder name must not disturb finding the module
root=$tree$prefix
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# a running program holds one lock per serial port, named after the device
locked() { compgen -G "$1/QT8800Run-*.lock" > /dev/null; }
finish() {
    if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
    echo "all checks passed"
}

# the station units as systemd loads them, for a port instance, the program path the staged one
check_units() {
    local units=$root/lib/systemd/system work=$tree.units u
    for u in qt8800-live@.service qt8800-download@.service qt8800-download@.timer; do
        [ -f "$units/$u" ] || { fail "lib/systemd/system/$u missing"; return; }
    done
    grep -qx 'm qt8800 dialout' "$root/lib/sysusers.d/qt8800.conf" || fail "sysusers entry missing"
    [ -f "$root/etc/qt8800/example.conf" ] || fail "etc/qt8800/example.conf missing"
    command -v systemd-analyze > /dev/null || { echo "note: systemd-analyze not installed"; return; }
    rm -rf "$work" && mkdir -p "$work"
    local bindir
    bindir=$(sed -n 's|^ExecStart=\(.*\)/qt8800-cli .*|\1|p' "$units/qt8800-live@.service")
    for u in qt8800-live@ qt8800-download@; do
        sed "s|$bindir/|$root/bin/|" "$units/$u.service" > "$work/${u}ttyUSB0.service"
    done
    cp "$units/qt8800-download@.timer" "$work/qt8800-download@ttyUSB0.timer"
    (cd "$work" && systemd-analyze verify --man=no qt8800-live@ttyUSB0.service qt8800-download@ttyUSB0.service \
        qt8800-download@ttyUSB0.timer) || fail "systemd-analyze verify rejects the station units"
}

# ---------------------------------------------------------------------------------------------
install_tree() {
    rm -rf "$tree"
    DESTDIR=$tree cmake --install "$build" --prefix "$prefix" > "$tree.log" 2>&1 \
        || { cat "$tree.log"; echo "FAIL: cmake --install"; exit 1; }
    [ -d "$root" ] || { echo "FAIL: nothing under DESTDIR$prefix"; exit 1; }
    local stray
    stray=$(find "$tree" -mindepth 1 ! -path "$tree/opt" ! -path "$root" ! -path "$root/*")
    [ -z "$stray" ] || fail "installed outside the prefix: $stray"
}

check_layout() {
    # the command is a relative link, so the program (and the module beside it) is found
    # under whatever prefix the tree was installed to
    local link=$root/bin/qt8800
    [ -L "$link" ] || fail "bin/qt8800 is not a link"
    [[ "$(readlink "$link")" != /* ]] || fail "bin/qt8800 links to an absolute path: $(readlink "$link")"
    [ "$(readlink -f "$link")" = "$(readlink -f "$root/lib/qt8800/qt8800")" ] \
        || fail "bin/qt8800 does not lead to lib/qt8800/qt8800"
    [ -x "$root/lib/qt8800/qt8800" ] || fail "lib/qt8800/qt8800 missing or not executable"

    # every command on the PATH has a manual page; nothing else is executable outside the
    # program's folder, so neither the stand-in nor a test or benchmark ends up installed
    local f name
    for f in "$root"/bin/*; do
        name=$(basename "$f")
        [ -e "$root/share/man/man1/$name.1" ] || [ -e "$root/share/man/man1/$name.1.gz" ] \
            || fail "bin/$name has no manual page"
    done
    while IFS= read -r f; do
        case ${f#"$root"/} in
            bin/*|lib/qt8800/*) ;;
            *) fail "unexpected executable ${f#"$root"/}" ;;
        esac
    done < <(find "$root" -type f -perm -u+x)
    [ -z "$(find "$tree" -name 'qt8800-sim*')" ] || fail "the stand-in instrument is installed"
    [ -e "$root/share/doc/qt8800/copyright" ] || fail "share/doc/qt8800/copyright missing"
}

# value of a key in the [Desktop Entry] group
desktop_key() { sed -n '/^\[Desktop Entry\]/,/^\[/p' "$1" | sed -n "s/^$2=//p" | head -n1; }

# width and height of a PNG from its header
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }

check_desktop() {
    local entries entry id exec icon size
    entries=("$root"/share/applications/*.desktop)
    [ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || { fail "not one desktop entry: ${entries[*]}"; return; }
    entry=${entries[0]}
    id=$(basename "$entry" .desktop)
    if command -v desktop-file-validate > /dev/null; then
        desktop-file-validate "$entry" || fail "desktop-file-validate rejects $(basename "$entry")"
    else
        echo "note: desktop-file-validate not installed, checking the main keys only"
        grep -qx '\[Desktop Entry\]' "$entry" || fail "no [Desktop Entry] group"
        [ "$(desktop_key "$entry" Type)" = Application ] || fail "Type is not Application"
        [ -n "$(desktop_key "$entry" Name)" ] || fail "no Name"
        desktop_key "$entry" Categories | grep -q ';$' || fail "Categories missing or not ;-terminated"
    fi
    exec=$(desktop_key "$entry" Exec)
    [ -x "$root/bin/${exec%% *}" ] || fail "Exec=$exec is not an installed command"
    icon=$(desktop_key "$entry" Icon)
    [ "$icon" = "$id" ] || fail "Icon=$icon is not the entry's name $id"
    [ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    for size in 16 22 24 32 48 64 128 256; do
        local png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
        if [ ! -f "$png" ]; then fail "no ${size}x${size} icon"; continue; fi
        [ "$(png_size "$png")" = "${size}x${size}" ] || fail "${size}x${size}/apps/$icon.png is $(png_size "$png")"
    done
}

check_metainfo() {
    local entry id meta
    entry=$(ls "$root"/share/applications/*.desktop 2> /dev/null | head -n1 || true)
    id=$(basename "$entry" .desktop)
    meta=$root/share/metainfo/$id.metainfo.xml
    [ -f "$meta" ] || { fail "no share/metainfo/$id.metainfo.xml"; return; }
    if command -v appstreamcli > /dev/null; then
        appstreamcli validate --no-net --pedantic "$meta" || fail "appstreamcli rejects $(basename "$meta")"
    else
        echo "note: appstreamcli not installed, checking the cross references only"
    fi
    grep -q "<id>$id</id>" "$meta" || fail "metainfo id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" \
        || fail "metainfo does not launch $id.desktop"
    local binary
    for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta"); do
        [ -x "$root/bin/$binary" ] || fail "metainfo provides binary $binary, which is not installed"
    done
}

# Every library an installed program links must be brought by the package's dependencies,
# directly or through theirs: a sanitizer build links more than it needs (GCC links its
# runtime with --no-as-needed), so the libraries a program reaches through Qt count as well.
check_depends() {
    local config=$build/CPackConfig.cmake depends
    [ -f "$config" ] || { fail "no CPackConfig.cmake in $build"; return; }
    depends=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_DEPENDS "\(.*\)")$/\1/p' "$config")
    [ -n "$depends" ] || { fail "the package names no dependencies"; return; }
    if ! command -v dpkg-query > /dev/null; then
        echo "note: no dpkg, package dependencies not checked"
        return
    fi
    local names brought f lib owners owner found
    names=$(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/ //g')
    brought=" $(dpkg-query -W -f='${Package}\t${Depends}, ${Pre-Depends}\n' | awk -F'\t' -v start="$names" '
        { n = split($2, d, /[,|]/)
          for (i = 1; i <= n; i++) { x = d[i]; sub(/\(.*\)/, "", x); gsub(/[ \t]/, "", x); sub(/:.*/, "", x)
                                     if (x != "") deps[$1] = deps[$1] " " x } }
        END { t = split(start, q, "\n"); for (i = 1; i <= t; i++) seen[q[i]] = 1
              for (h = 1; h <= t; h++) { k = split(deps[q[h]], e, " ")
                  for (j = 1; j <= k; j++) if (!(e[j] in seen)) { seen[e[j]] = 1; q[++t] = e[j] } }
              for (p in seen) printf "%s ", p }') "
    while IFS= read -r f; do
        head -c4 "$f" | grep -q ELF || continue
        for lib in $(readelf -d "$f" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
            case $lib in lib[alt]san.so*|libubsan.so*|ld-linux*) continue ;; esac   # sanitizer build
            owners=$(dpkg -S "*/$lib" 2> /dev/null | sed 's/: .*//' | tr ',' '\n' | sed 's/:.*//; s/ //g' | sort -u || true)
            [ -n "$owners" ] || { fail "${f#"$root"/} links $lib, which no package holds"; continue; }
            found=0
            for owner in $owners; do
                [[ "$brought" == *" $owner "* ]] && found=1
            done
            [ $found = 1 ] || fail "${f#"$root"/} links $lib from $owners, which the package's dependencies do not bring: $depends"
        done
    done < <(find "$root" -type f -perm -u+x)
}

# ---------------------------------------------------------------------------------------------
# Starts the installed program in a fresh base directory with its own lock folder, waits
# until it runs (its lock exists) and until `ready` returns true, then sends SIGTERM.
# Sets $base and $status.
run_installed() {
    local ready=$1
    runtime=$(mktemp -d)
    chmod 700 "$runtime"
    (cd "$base" && XDG_RUNTIME_DIR=$runtime exec "$root/bin/qt8800") > "$base/stdout.txt" 2>&1 &
    local pid=$! i
    for i in $(seq 150); do
        locked "$runtime" && $ready && break
        kill -0 $pid 2> /dev/null || break
        sleep 0.2
    done
    locked "$runtime" || fail "the installed program did not start"
    $ready || fail "the program did not get ready in 30 s"
    kill -TERM $pid 2> /dev/null || true
    status=
    for i in $(seq 100); do
        kill -0 $pid 2> /dev/null || { wait $pid && status=0 || status=$?; break; }
        sleep 0.2
    done
    if [ -z "$status" ]; then
        kill -KILL $pid 2> /dev/null || true
        wait $pid 2> /dev/null || true
        fail "the program did not close within 20 s of SIGTERM"
        status=killed
    fi
    rm -rf "$runtime"
    if [ "$status" != 0 ]; then
        fail "the program ended with status $status"
        sed 's/^/  | /' "$base/stdout.txt"
    fi
}

always() { true; }

start_and_stop() {
    base=$(mktemp -d)
    trap 'rm -rf "$base"' EXIT
    run_installed always
    [ "$(stat -c %s "$base/QT8800.dat" 2> /dev/null)" = 904 ] \
        || fail "no parameter file written into the current directory on SIGTERM"
}

# The German and the message the program logs when it cannot read the instrument at start.
german_port_problem='Schnittstellenproblem!  Konfiguration kann nicht gelesen werden'

log_has_message() { grep -qs $'^Con\t' "$base"/QT8800_*.txt; }

english() {
    local params=$1 module=$root/lib/qt8800/qt8800.ENU
    base=$(mktemp -d)
    trap 'rm -rf "$base"' EXIT
    "$params" "$base" || { echo "FAIL: cannot write a parameter file"; exit 1; }
    ln -s "$base/no-such-device" "$base/COM1"      # the port cannot open: a message follows
    run_installed log_has_message
    local log messages
    log=$(ls "$base"/QT8800_*.txt 2> /dev/null | head -n1 || true)
    [ -n "$log" ] || { fail "no traffic log in the current directory"; finish; }
    messages=$(sed -n $'s/^Con\t[^\t]*\t//p' "$log" | tr -d '\r')
    [ -n "$messages" ] || { fail "no message in the traffic log"; finish; }
    echo "messages logged:"; echo "$messages" | sed 's/^/  | /'

    if [ ! -f "$module" ]; then
        # without the module the program keeps its built-in texts
        grep -qF "$german_port_problem" <<< "$messages" || fail "without a module the message is not German"
        [ "$failures" -eq 0 ] || finish
        echo "SKIPPED: no English module installed (${module#"$tree"}), so no switch to English to test;"
        echo "without it the program kept its German texts, as it should"
        exit 77
    fi
    if grep -qF "$german_port_problem" <<< "$messages"; then
        fail "the message is still German although ${module#"$tree"} is installed"
    fi
    local line known=0
    while IFS= read -r line; do
        grep -qF -- "$line" "$module" && known=1
    done <<< "$messages"
    [ $known = 1 ] || fail "no logged message comes from the installed English module"
}

case $step in
    tree) install_tree; check_layout; check_desktop; check_metainfo; check_depends; check_units ;;
    start) start_and_stop ;;
    english) english "$4" ;;
    *) echo "unknown step $step"; exit 2 ;;
esac
finish
