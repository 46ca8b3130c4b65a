#!/bin/bash
# Reads the real program over AT-SPI under Xvfb, as a screen reader does: every window's
# accessible tree is walked and checked (names, access-key markers, picture descriptions, press
# actions of clickable labels), the links are opened through AT-SPI actions, and the countdown's
# changes must reach AT-SPI; the pop-up alarm comes while the main window has the keyboard (given
# with xdotool), and what its arrival announces must carry the message. Prints a dump of each
# tree. The walk is tests/e2e/atspi_walk.py.
# Usage: accessibility.sh PROGRAM
set -uo pipefail
program=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
# The system's Python, which has the AT-SPI bindings.
python=/usr/bin/python3
for tool in Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher "$python"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
"$python" -c 'import pyatspi, dbus' 2>/dev/null \
    || { echo "SKIP: python3-pyatspi or python3-dbus is not installed"; exit 77; }

source "$here/lib.sh"
e2e_init
start_xvfb || exit 1
unset AT_SPI_BUS_ADDRESS

# Its own runtime folder, home and settings, so nothing of the user's desktop is read or written.
mkdir -m 700 "$work/runtime" "$work/home"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    XDG_CACHE_HOME=$work/home/.cache GSETTINGS_BACKEND=memory
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION BROWSER DEFAULT_BROWSER

# Qt hands links to xdg-open when no desktop is running; this one writes down what it got.
mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<STUB
#!/bin/sh
echo "\$1" >>"$work/links"
STUB
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH

# A private session bus, inside which the walk starts the accessibility bus and the program;
# it ends both itself.
e2e_start dbus-run-session -- "$python" "$here/atspi_walk.py" "$program" "$work/links" \
    > >(grep -v '^dbus-daemon\[' ) 2>&1
wait "$last_pid"
