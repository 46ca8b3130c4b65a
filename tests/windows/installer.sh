#!/bin/bash
# The Windows installer under Wine, in a clean prefix: a silent install places the program for
# every user under Program Files with a Start-menu shortcut, a shortcut that starts it at sign-in
# and an entry in the list of installed programs, the installed program starts, and the silent
# uninstaller removes all of it.
# Usage: installer.sh SETUP_EXE ZIP VERSION KEEP_EXIT_CODE_EXE
set -uo pipefail
setup=$(readlink -f "$1")
zip=$(readlink -f "$2")
version=$3
here=$(dirname "$(readlink -f "$0")")
source "$here/../e2e/lib.sh"
source "$here/wine.sh"
keep_exit_code=$(readlink -f "$4")

wine_require
for tool in Xvfb xdotool xprop openbox /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
for f in "$setup" "$zip"; do
    [ -f "$f" ] || { echo "FAIL: no package at $f (make windows makes it)"; exit 1; }
done

e2e_init
trap 'wine_end; e2e_cleanup' EXIT
start_xvfb || exit 1
start_openbox || exit 1
wine_make_prefix "$work/prefix" || exit 1

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelto Zelbo Break'
dir="$work/prefix/drive_c/Program Files/Kelto Zelbo Break"
menu="$work/prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
sign_in="$menu/StartUp/Kelto Zelbo Break.lnk"
# The files of the portable zip, relative to its top folder: what the installer must place.
expected=$(/usr/bin/python3 - "$zip" <<'PY'
import sys, zipfile
names = [n.split("/", 1)[1] for n in zipfile.ZipFile(sys.argv[1]).namelist()]
print("\n".join(sorted(n for n in names if n and not n.endswith("/"))))
PY
)
installed() { (cd "$dir" 2>/dev/null && find . -type f | sed 's|^\./||' | sort); }
# The value $1 of the uninstall entry, or nothing.
entry() {
    wine_run 60 reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' \
        | awk -v v="$1" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# Fails unless the Windows program $1 wears the program's stopwatch: every image of the icon file
# is one of its icon resources.
wears_stopwatch() {
    /usr/bin/python3 - "$1" "$here/../../assets/stopwatch.ico" <<'PY' \
        || fail "$(basename "$1") does not wear the program's icon"
import struct, sys, pefile
ico = open(sys.argv[2], "rb").read()
images = []
for i in range(struct.unpack_from("<H", ico, 4)[0]):
    size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
    images.append(ico[offset:offset + size])
pe = pefile.PE(sys.argv[1])
found = {pe.get_data(image.data.struct.OffsetToData, image.data.struct.Size)
         for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
         if kind.id == pefile.RESOURCE_TYPE["RT_ICON"]
         for entry in kind.directory.entries for image in entry.directory.entries}
sys.exit(0 if all(image in found for image in images) else 1)
PY
}
wears_stopwatch "$setup"

step "silent install"
start_s=$(date +%s.%N)
wine_run 120 "$setup" /S >"$work/setup.log" 2>&1 || fail "the installer exited with $?"
timeout 60 "$wineserver" -w
echo "installed in $(awk -v b="$start_s" -v n="$(date +%s.%N)" 'BEGIN {printf "%.1f", n - b}') s"
missing=$(comm -23 <(echo "$expected") <(installed))
[ -z "$missing" ] || fail "not installed: $(echo $missing)"
if [ -f "$dir/Uninstall.exe" ]; then
    wears_stopwatch "$dir/Uninstall.exe"
else
    fail "no uninstaller in the program's folder"
fi

# Fails unless the shortcut $1 starts the program.
starts_program() {
    strings -el "$1" | grep -qi 'kelto-zelbo-break\.exe' \
        || strings "$1" | grep -qi 'kelto-zelbo-break\.exe' \
        || fail "the shortcut ${1#"$work/prefix/drive_c/"} does not start kelto-zelbo-break.exe"
}
shortcut=$(find "$menu" -path "$menu/StartUp" -prune -o -name 'Kelto Zelbo Break.lnk' -print \
    2>/dev/null | head -n1)
if [ -z "$shortcut" ]; then
    fail "no Start-menu shortcut for every user"
else
    starts_program "$shortcut"
    echo "shortcut: ${shortcut#"$work/prefix/drive_c/"}"
fi
# The offer to start at sign-in is taken by a silent install.
if [ -f "$sign_in" ]; then
    starts_program "$sign_in"
else
    fail "no sign-in shortcut in the Startup folder of every user"
fi

for pair in "DisplayName=Kelto Zelbo Break" "DisplayVersion=$version" "Publisher=Zelbo Software" \
            'DisplayIcon=C:\Program Files\Kelto Zelbo Break\kelto-zelbo-break.exe' \
            'UninstallString="C:\Program Files\Kelto Zelbo Break\Uninstall.exe"'; do
    got=$(entry "${pair%%=*}")
    [ "$got" = "${pair#*=}" ] || fail "uninstall entry ${pair%%=*} is '$got', not '${pair#*=}'"
done

step "the installed program starts"
if wine_start_program "$dir" 'C:\Program Files\Kelto Zelbo Break\kelto-zelbo-break.exe'; then
    # Exit; the farewell picture takes two seconds.
    focus_on "$main"
    xdotool key --clearmodifiers alt+x
    if wine_await_end 10 Exit; then
        [ "$code" = 0 ] || fail "the installed program ended with code $code"
    fi
else
    cat "$work/program.log"
fi

step "silent uninstall"
# The uninstaller copies itself away and runs from there; the Wine server waits for it.
wine_run 120 'C:\Program Files\Kelto Zelbo Break\Uninstall.exe' /S >"$work/uninstall.log" 2>&1 \
    || fail "the uninstaller exited with $?"
timeout 60 "$wineserver" -w
left=$(installed)
[ -z "$left" ] || fail "left after uninstalling: $(echo $left)"
[ -d "$dir" ] && fail "the program's folder is left after uninstalling"
# The Start-menu folder and both shortcuts, the sign-in one among them.
left=$(cd "$menu" 2>/dev/null && find . -name 'Kelto Zelbo Break*')
[ -z "$left" ] || fail "left in the Start menu: $(echo $left)"
[ -n "$(entry DisplayName)" ] && fail "the uninstall entry is left"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installer: installed, started and uninstalled"
