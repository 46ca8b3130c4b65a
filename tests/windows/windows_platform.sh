#!/bin/bash
# Runs Windows test executables on Qt's windows platform, the one the program uses on Windows:
# under Wine, drawn on a private X server with a window manager, in a Wine prefix of their own. Each runs once for every
# scale factor in KZB_SCALES (1 unless given).
# Usage: windows_platform.sh PREFIX KEEP_EXIT_CODE_EXE DLL_DIR... -- TEST_EXE...
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/../e2e/lib.sh"
source "$here/wine.sh"
wine_require
for tool in Xvfb xprop openbox; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
emulator=()
while [ "$1" != -- ]; do emulator+=("$1"); shift; done
shift

e2e_init
# Room for the windows' designed places at twice the size.
E2E_SCREEN=2048x1536x24
trap 'wine_end; e2e_cleanup' EXIT
start_xvfb || exit 1
start_openbox || exit 1
wine_make_prefix "${emulator[0]}" || exit 1
status=0
for exe in "$@"; do
    for scale in ${KZB_SCALES:-1}; do
        echo "=== $(basename "$exe") on the windows platform at scale $scale"
        QT_QPA_PLATFORM=windows QT_SCALE_FACTOR=$scale KZB_WINE_DISPLAY=$DISPLAY \
            "$here/run.sh" "${emulator[@]}" -- "$exe" || status=1
    done
done
exit $status
