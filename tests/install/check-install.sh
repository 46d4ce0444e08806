#!/usr/bin/env bash
# check-install.sh BUILD_DIR
# Installs the build into a temporary DESTDIR under the prefix /usr and checks
# the tree: the eleven programs and nothing else in bin, the translations, the
# icons in every theme size, the desktop entries (desktop-file-validate) and
# the manual pages (rendered by man without warnings, with their sections; a
# console program's page with its options and examples).
set -uo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage.log" 2>&1; then
    cat "$stage.log"; rm -f "$stage.log"
    echo "FAIL: cmake --install"; exit 1
fi
rm -f "$stage.log"
root=$stage/usr

programs=(qelApps qelDevSim qelDrvMacro qelDrvModbus qelDrvMonitor qelDrvPorts qelDrvScan qelExelRd qelExelWr
          qelWinModbusClient qelWinRB4Init)
installed=$(cd "$root/bin" && LC_ALL=C ls | tr '\n' ' ')
[[ "$installed" == "${programs[*]} " ]] || fail "bin holds '$installed', not '${programs[*]} '"
for program in "${programs[@]}"; do
    [[ -x "$root/bin/$program" && ! -d "$root/bin/$program" ]] || fail "$program not executable"
done
# An installed console program runs from any working directory.
(cd "$stage" && ASAN_OPTIONS=detect_leaks=0 "$root/bin/qelDrvModbus" --help >/dev/null) \
    || fail "installed qelDrvModbus --help"

for file in qel/translations/qelWinModbusClient_pl.qm qel/translations/qelWinRB4Init_pl.qm \
            qel/startup.png doc/qel/copyright doc/qel/changelog.gz doc/qel/README.md; do
    [[ -s "$root/share/$file" ]] || fail "share/$file missing or empty"
done

# PNG width and height are big-endian words at bytes 16 and 20.
png_size() {
    local bytes
    read -r -a bytes < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(( (bytes[2] << 8) | bytes[3] ))x$(( (bytes[6] << 8) | bytes[7] ))"
}
for name in qelWinModbusClient qelWinRB4Init qelApps; do
    for size in 16 22 24 32 48 64 128 256; do
        png=$root/share/icons/hicolor/${size}x${size}/apps/$name.png
        if [[ ! -f "$png" ]]; then fail "icon $png missing"; continue; fi
        [[ "$(png_size "$png")" == "${size}x${size}" ]] \
            || fail "$png is $(png_size "$png"), not ${size}x${size}"
    done
    grep -q '<svg' "$root/share/icons/hicolor/scalable/apps/$name.svg" 2>/dev/null \
        || fail "scalable icon of $name"

    entry=$root/share/applications/$name.desktop
    if ! report=$(desktop-file-validate "$entry" 2>&1) || [[ -n "$report" ]]; then
        fail "desktop entry $name: ${report:-missing}"
    fi
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [[ -x "$root/bin/$exec_program" ]] || fail "$name.desktop starts '$exec_program', not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [[ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ]] || fail "$name.desktop icon '$icon'"
done

for program in qelDrvModbus qelDrvMacro qelDrvScan qelDrvMonitor qelDrvPorts qelExelWr qelExelRd qelDevSim \
               qelWinModbusClient qelWinRB4Init qelApps; do
    page=$root/share/man/man1/$program.1.gz
    if [[ ! -f "$page" ]]; then fail "manual page of $program missing"; continue; fi
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>"$stage/warnings")
    [[ -s "$stage/warnings" ]] && fail "man $program: $(cat "$stage/warnings")"
    sections=(NAME SYNOPSIS DESCRIPTION "EXIT STATUS")
    [[ $program == qelWin* || $program == qelApps ]] || sections+=(OPTIONS EXAMPLES)
    for section in "${sections[@]}"; do
        grep -q "^$section\$" <<<"$text" || fail "man $program lacks $section"
    done
    grep -q "^ *$program " <<<"$(sed -n '/^NAME$/,/^SYNOPSIS$/p' <<<"$text")" \
        || fail "man $program: NAME does not name the program"
done

if ((failures)); then
    echo "$failures problem(s) in the installed tree"
    exit 1
fi
echo "installed tree complete"
