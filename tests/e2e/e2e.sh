#!/bin/bash
# Drives the real program under Xvfb as a person would, with xdotool keys and X window queries:
# start-up windows, an error for an empty minutes box, a countdown started with Alt+B, and Exit
# ending the process through the farewell window, whether it runs out or is closed. The screen
# holds two monitors (RandR 1.5), the primary right of a smaller one, where the windows stand.
# Usage: e2e.sh PROGRAM
set -uo pipefail
program=$(readlink -f "$1")
source "$(dirname "$(readlink -f "$0")")/lib.sh"
for tool in Xvfb xrandr xdotool xwd xprop /usr/bin/python3 dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

e2e_init
program_pid=""
E2E_SCREEN=2624x1200x24 start_xvfb || exit 1
# The primary monitor, 1600x1200 at 1024,0, and a 1024x768 one at the origin in place of the
# output's own monitor, which covers the whole screen.
xrandr --setmonitor '*RIGHT' 1600/423x1200/317+1024+0 none \
    && xrandr --setmonitor LEFT 1024/271x768/203+0+0 screen \
    || { fail "no monitors"; xrandr --listmonitors; exit 1; }
export QT_QPA_PLATFORM=xcb

# Waits up to 10 s for the program to end: then sets $code to its exit code, or fails saying it
# still ran that long after $1.
await_end() {
    for _ in $(seq 200); do own_running "$program_pid" || break; sleep 0.05; done
    if own_running "$program_pid"; then
        fail "still running 10 s after $1"
        return 1
    fi
    wait "$program_pid"
    code=$?
    program_pid=""
}

expect_geometry() {
    local got
    got=$(geometry "$2")
    [ "$got" = "$3" ] || fail "$1 at $got, expected $3"
}

step "start"
start_ns=$(date +%s%N)
# A private session bus: without one Qt starts a D-Bus daemon that outlives the program.
e2e_start dbus-run-session -- "$program" >"$work/program.log" 2>&1
program_pid=$last_pid

ad=$(wait_window '^Advertisement$')
main=$(wait_window '^Kelto Zelbo Break$')
[ -n "$ad" ] || fail "no advertisement window"
[ -n "$main" ] || { fail "no main window"; cat "$work/program.log"; exit 1; }
echo "main window up after $(( ($(date +%s%N) - start_ns) / 1000000 )) ms"

# Places and sizes in pixels at 96 dpi, from the primary monitor's corner at 1024,0: the
# advertisement 485x128 at 80,411; the main window's client area 201x286 at 84,110, under a menu
# bar.
[ -n "$ad" ] && expect_geometry "advertisement" "$ad" "1104 411 485 128"
read -r mx my mw mh <<<"$(geometry "$main")"
menu=$((110 - my))
[ "$mx" = 1108 ] && [ "$mw" = 201 ] && [ $((mh - menu)) = 286 ] && [ "$menu" -gt 10 ] \
    || fail "main window at $mx,$my ${mw}x${mh}"

step "only windows with an icon of their own show one"
has_icon "$main" || fail "the main window has no icon"
[ -n "$ad" ] && has_icon "$ad" && fail "the advertisement shows an icon it does not have"

xdotool windowfocus --sync "$main"

step "an empty minutes box is refused"
# The focus starts on Exit; Tab reaches the minutes box.
xdotool key --clearmodifiers Tab ctrl+a BackSpace alt+b
error=$(wait_window '^Error$')
if [ -n "$error" ]; then
    xdotool windowfocus --sync "$error" key --clearmodifiers Return
    wait_gone '^Error$' || fail "error box stays open"
else
    fail "no error box for an empty minutes box"
fi

step "typing a length and Alt+B start a countdown"
xdotool windowfocus --sync "$main"
xdotool type --delay 20 "1"
# Idle, the window stands still: two pictures 0.2 s apart agree, once the typed digit is painted
# (which takes a while on a loaded machine). Tab takes the focus, and the blinking text cursor,
# from the minutes box to Begin first.
xdotool key --clearmodifiers Tab
idle=""
for _ in 1 2 3 4 5 6; do
    snap "$main" before
    sleep 0.2
    snap "$main" idle
    cmp -s "$work/before.xwd" "$work/idle.xwd" && { idle=yes; break; }
done
[ -n "$idle" ] || fail "the idle window changes by itself"
xdotool key --clearmodifiers alt+b
# The seconds display moves once a second while counting.
picture_differs "$main" idle || fail "Alt+B did not start the countdown"
picture_moves "$main" || fail "the countdown display does not move"

step "Exit shows the farewell picture and ends the program"
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+x
exit_ns=$(date +%s%N)
farewell=$(wait_other_window '^Kelto Zelbo Break$' "$main")
if [ -n "$farewell" ]; then
    # Centred on the primary monitor, to the pixel that rounding gives.
    read -r fx fy fw fh <<<"$(geometry "$farewell")"
    [ "$fw $fh" = "346 68" ] && [ $((fx - 1650)) -ge 0 ] && [ $((fx - 1650)) -le 1 ] \
        && [ $((fy - 565)) -ge 0 ] && [ $((fy - 565)) -le 1 ] \
        || fail "farewell window at $fx,$fy ${fw}x${fh}, not centred on the primary monitor"
    has_icon "$farewell" && fail "the farewell window shows an icon it does not have"
else
    fail "no farewell window"
fi
wait_gone '^Advertisement$' || fail "the advertisement is still visible during the farewell"
xdotool search --onlyvisible --name '^Kelto Zelbo Break$' 2>/dev/null | grep -qx "$main" \
    && fail "the main window is still visible during the farewell"

if await_end "Exit"; then
    elapsed=$(( ($(date +%s%N) - exit_ns) / 1000000 ))
    [ "$code" = 0 ] || fail "exit code $code"
    echo "ended ${elapsed} ms after Exit"
    [ "$elapsed" -ge 1500 ] || fail "the farewell picture was shown for only ${elapsed} ms"
fi

step "closing the farewell window by the window system ends the program too"
e2e_start dbus-run-session -- "$program" >"$work/program2.log" 2>&1
program_pid=$last_pid
main=$(wait_window '^Kelto Zelbo Break$')
if [ -n "$main" ]; then
    xdotool windowfocus --sync "$main" key --clearmodifiers alt+x
    farewell=$(wait_other_window '^Kelto Zelbo Break$' "$main")
fi
if [ -n "${farewell:-}" ]; then
    close_window "$farewell"
    if await_end "the farewell window was closed"; then
        [ "$code" = 0 ] || fail "exit code $code after the farewell window was closed"
    fi
else
    fail "no farewell window to close"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- program output"; cat "$work/program.log"
    echo "$failures check(s) failed"
    exit 1
fi
echo "end-to-end run passed"
