#!/bin/bash
# Photographs the Windows program's main window under Wine, frame and all, counting down: the
# README's picture of the Windows build.
# Usage: tools/wine_screenshot.sh ZIP OUT.png [KEEP_EXIT_CODE_EXE]   (after make windows; needs
# ImageMagick's convert; the launcher is the Windows build's own unless given)
set -uo pipefail
zip=$(readlink -f "$1")
out=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
source "$here/../tests/e2e/lib.sh"
source "$here/../tests/windows/wine.sh"
keep_exit_code=$(readlink -f "${3:-$here/../build-windows/tests/windows/keep_exit_code.exe}")
wine_require
e2e_init
trap 'wine_end; e2e_cleanup' EXIT
start_xvfb || exit 1
start_openbox || exit 1
wine_make_prefix "$work/prefix" || exit 1
/usr/bin/python3 -m zipfile -e "$zip" "$work/unpacked"
exe=$(find "$work/unpacked" -name kelto-zelbo-break.exe | head -n1)
wine_start_program "$work/unpacked" "$exe" || exit 1
ad=$(wait_window '^Advertisement$')
[ -n "$ad" ] && xdotool windowactivate --sync "$ad" key --clearmodifiers alt+c
sleep 0.5
xdotool windowactivate --sync "$main"
sleep 0.3
# The focus starts on Exit; Tab reaches the minutes box. Twenty-five minutes, Begin.
xdotool key --clearmodifiers Tab ctrl+a
xdotool type 25
xdotool key --clearmodifiers alt+b
sleep 3.5
# The main window with the window manager's frame around it, cut from the screen.
read -r x y w h <<<"$(client_geometry "$main")"
read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | tr -d ',' \
    | awk '{print $3, $4, $5, $6}')
xwd -silent -root | convert xwd:- -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" \
    +repage "$out"
# Exit, so that the program ends by itself.
xdotool windowactivate --sync "$main" key --clearmodifiers alt+x
sleep 3
echo "wrote $out"
