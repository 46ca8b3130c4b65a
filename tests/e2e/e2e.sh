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
# Qt's GTK platform theme (Debian's qt6-gtk-platformtheme), through which Qt programs follow
# GNOME's style.
compgen -G '/usr/lib*/qt6/plugins/platformthemes/libqgtk3.so' >/dev/null \
    || compgen -G '/usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so' >/dev/null \
    || { echo "SKIP: Qt's GTK platform theme is not installed"; exit 77; }

e2e_init
program_pid=""
E2E_SCREEN=2624x1200x24 start_xvfb || exit 1
# The primary monitor, 1600x1200 at 1024,0, and a 1024x768 one at the origin in place of the
# output's own monitor, which covers the whole screen.
xrandr --setmonitor '*RIGHT' 1600/423x1200/317+1024+0 none \
    && xrandr --setmonitor LEFT 1024/271x768/203+0+0 screen >/dev/null \
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

# Judges the coloured texts in the picture $2 of a window under the style $1, dark or light. Each
# text is "name x y width height rrggbb": its rectangle in the picture and its designed colour. The
# background is the picture's commonest colour; a text's colour is the commonest other colour in
# its rectangle, that of its underline and its strokes' cores (the edges are blends). In a dark
# style the background must be dark and each text reach 4.5:1 against it in a colour of its
# designed hue; in a light one each text must be in its designed colour exactly.
judge_colours() {
    /usr/bin/python3 - "$@" <<'PY'
import collections, colorsys, struct, sys
style, path, texts = sys.argv[1], sys.argv[2], sys.argv[3:]
data = open(path, "rb").read()  # an xwd picture of 24-bit colour, 32 bits a pixel
head = struct.unpack(">25I", data[:100])
start, width, height, stride, masks = head[0] + 12 * head[19], head[4], head[5], head[12], head[14:17]
def pixel(x, y):
    at = start + y * stride + 4 * x
    value = int.from_bytes(data[at:at + 4], "little" if head[7] == 0 else "big")
    return tuple((value & m) >> ((m & -m).bit_length() - 1) for m in masks)
def luminance(rgb):
    lin = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in (v / 255 for v in rgb)]
    return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]
hue = lambda rgb: colorsys.rgb_to_hls(*(v / 255 for v in rgb))[0] * 360
commonest = lambda area: collections.Counter(pixel(x, y) for x, y in area).most_common()
background = commonest((x, y) for x in range(width) for y in range(height))[0][0]
failed = style == "dark" and luminance(background) > 0.1
if failed:
    print("FAIL: background %s: the dark style did not load" % bytes(background).hex())
for text in texts:
    label, x0, y0, w, h, designed = text.split()
    x0, y0, designed = int(x0), int(y0), tuple(bytes.fromhex(designed))
    area = [(x, y) for x in range(x0, min(x0 + int(w), width)) for y in range(y0, min(y0 + int(h), height))]
    colour = ([c for c, _ in commonest(area) if c != background] + [background])[0]
    ratio = (max(map(luminance, (colour, background))) + 0.05) / (min(map(luminance, (colour, background))) + 0.05)
    apart = abs(hue(colour) - hue(designed)) % 360
    wrong = colour != designed if style == "light" else ratio < 4.5 or min(apart, 360 - apart) > 30
    print("%s%s: %s on %s, %.2f:1 (designed %s)" % ("FAIL: " if wrong else "", label, bytes(colour).hex(),
                                                   bytes(background).hex(), ratio, bytes(designed).hex()))
    failed = failed or wrong
sys.exit(1 if failed else 0)
PY
}
# Judges window $2's picture under the style $1 as judge_colours does, taken again for up to 5 s
# while the window may still be being painted.
judge_window() {
    local style=$1 window=$2
    shift 2
    for _ in $(seq 10); do
        snap "$window" "$style" && judge_colours "$style" "$work/$style.xwd" "$@" >"$work/judged" \
            && { cat "$work/judged"; return 0; }
        sleep 0.5
    done
    cat "$work/judged"
    return 1
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
# The program is held while the farewell is looked at: on a busy machine its two seconds can
# pass before the looking is done, and even between finding the window and holding the program.
# So from Exit on it runs in slices of 50 ms, and the farewell is looked for only while it is held.
farewell_pid=$(xdotool getwindowpid "$main" 2>/dev/null)
[[ $farewell_pid =~ ^[0-9]+$ ]] || { fail "the main window names no process"; farewell_pid=""; }
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+x
exit_ns=$(date +%s%N)
farewell=""
if [ -n "$farewell_pid" ]; then
    kill -STOP "$farewell_pid"
    for _ in $(seq 400); do
        farewell=$(other_window '^Kelto Zelbo Break$' "$main")
        [ -n "$farewell" ] && break
        kill -CONT "$farewell_pid"
        sleep 0.05
        kill -STOP "$farewell_pid"
    done
fi
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
[ -n "$farewell_pid" ] && kill -CONT "$farewell_pid"
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

step "GNOME's dark style: the coloured texts stay readable; in its light style they are as designed"
# Debian's GNOME desktop, with Qt's GTK platform theme, in its dark style and in its light one.
# Places in the pictures: the advertisement's invitation and count (left of "seconds.", which
# covers the rest of its label), About's e-mail address.
for theme in Adwaita:dark Adwaita; do
    style=$([ "$theme" = Adwaita ] && echo light || echo dark)
    e2e_start env XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME="$theme" \
        dbus-run-session -- "$program" >"$work/$style.log" 2>&1
    program_pid=$last_pid
    ad=$(wait_window '^Advertisement$')
    main=$(wait_window '^Kelto Zelbo Break$')
    if [ -z "$ad" ] || [ -z "$main" ]; then
        fail "$style: no advertisement or main window"
        break
    fi
    judge_window "$style" "$ad" "invitation 112 72 241 17 0000ff" "count 264 96 16 33 c00000" \
        || fail "$style: the advertisement's colours"
    xdotool windowfocus --sync "$main" key --clearmodifiers alt+h a
    about=$(wait_window '^About$')
    if [ -n "$about" ]; then
        judge_window "$style" "$about" "e-mail 56 120 129 17 0000ff" || fail "$style: About's colours"
        xdotool windowfocus --sync "$about" key --clearmodifiers Return
    else
        fail "$style: Alt+H, A brought no About window"
    fi
    xdotool windowfocus --sync "$main" key --clearmodifiers alt+x
    await_end "Exit under $theme" && [ "$code" != 0 ] && fail "$style: exit code $code"
done

if [ "$failures" -ne 0 ]; then
    echo "--- program output"; cat "$work/program.log"
    echo "$failures check(s) failed"
    exit 1
fi
echo "end-to-end run passed"
