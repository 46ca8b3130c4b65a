#!/bin/bash
# CTest's emulator for the Windows build: runs a test executable under Wine, in the suite's
# prefix, with Qt's DLLs and the compiler's runtime on its path.
# Usage: run.sh PREFIX KEEP_EXIT_CODE_EXE DLL_DIR... -- PROGRAM [ARGUMENT...]
set -uo pipefail
source "$(dirname "$(readlink -f "$0")")/wine.sh"
wine_require
prefix=$1
keep_exit_code=$2
shift 2
[ -f "$prefix/system.reg" ] || { echo "no Wine prefix at $prefix"; exit 1; }
path=""
while [ "$1" != -- ]; do
    path="$path${path:+;}$(wine_path "$1")"
    shift
done
shift
wine_use_prefix "$prefix"
export WINEPATH=$path

# Wine passes no variable that starts with QT_ to a Windows program, lest Linux settings reach
# it; the same name behind WINE reaches it as QT_. Qt's messages and Qt Test's output go to the
# debugger unless stderr logging is forced.
while IFS='=' read -r name _; do
    [[ $name == QT_* ]] || continue
    export "WINE$name=${!name}"
    unset "$name"
done < <(env)
export WINEQT_FORCE_STDERR_LOGGING=1
# The offscreen platform reads its fonts from a folder: the ones the windows are laid out for.
if [ "${WINEQT_QPA_PLATFORM:-}" = offscreen ] && [ -z "${WINEQT_QPA_FONTDIR:-}" ]; then
    export WINEQT_QPA_FONTDIR=$(wine_path /usr/share/fonts/truetype/liberation2)
fi
# Windows are drawn on the private X server given for them (windows_platform.sh), never on the
# developer's display.
unset DISPLAY WAYLAND_DISPLAY
[ -n "${KZB_WINE_DISPLAY:-}" ] && export DISPLAY=$KZB_WINE_DISPLAY

# Wine's own errors (its debug channel err) are kept apart from the program's output and told
# where the program fails, with its exit code and the state of the prefix's Wine server: a
# program that dies before its first line leaves nothing else to go by.
export WINEDEBUG=-all,err+all
output=$(mktemp "$TMPDIR/output.XXXXXX")
started=$(date +%s%N)
wine_run "${KZB_WINE_TIMEOUT:-240}" "$@" >"$output" 2>&1
status=$?
grep -av '^[0-9a-f]*:err:' "$output"
if [ "$status" -ne 0 ]; then
    echo "--- $(basename "$1") ended with code $status after" \
        "$(( ($(date +%s%N) - started) / 1000000 )) ms$(grep -qav '^[0-9a-f]*:err:' "$output" \
            || echo ", before its first line")"
    grep -a '^[0-9a-f]*:err:' "$output" | head -n 40 | sed 's/^/Wine: /'
    echo "--- the Wine server of $WINEPREFIX: $(wine_server_state)"
fi
rm -f "$output"
exit "$status"
