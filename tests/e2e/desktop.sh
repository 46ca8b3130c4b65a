#!/bin/bash
# The real program on the parts of a person's desktop that stand between its alarm and them:
# real window managers on a desk of two monitors (Xorg's dummy driver), with another program
# focused and typed into on the monitor that is not the primary, either maximised on the second
# virtual desktop while the program's windows stay on the first (WM-KIND-desktop2), or full screen
# (WM-KIND-fullscreen); in WM-popup-unplug, as in WM-popup-desktop2, the primary monitor is
# unplugged during the countdown; in WM-KIND-stall the document is maximised on the program's
# desktop, and the program is held up for 0.8 s while the user types on through the alarm, as a
# busy machine does. The program's windows stand on the primary monitor, the alarm comes on the
# user's. Every case runs in parallel with the others, each on its own X server,
# runtime folder and processes, ended by pid.
# Usage: desktop.sh PROGRAM [CASE...]
set -uo pipefail
program=$(readlink -f "$1")
shift
here=$(dirname "$(readlink -f "$0")")
source "$here/lib.sh"

all_cases=()
for wm in metacity xfwm4 openbox kwin; do
    for kind in box popup; do
        all_cases+=("$wm-$kind-$([ "$kind" = popup ] && echo unplug || echo desktop2)" \
            "$wm-$kind-fullscreen")
    done
done
all_cases+=(metacity-box-stall)
cases=("${@:-${all_cases[@]}}")

for tool in Xorg xrandr xdotool xprop xwininfo xterm dbus-daemon metacity openbox xfwm4 kwin_x11; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# Keeps toolkits of the helper programs off the session and accessibility buses.
export NO_AT_BRIDGE=1 GTK_A11Y=none

# Starts the program on $DISPLAY; sets $main to its main window. Its windows stand at their
# places counted from the primary monitor's corner: the advertisement's client area at 80,411 (it
# closes after 15 s), the main window's under its menu bar at 84,110. Qt logs the monitors it
# sees: two, DUMMY1 the primary.
start_program() {
    local ad px py
    e2e_start env QT_LOGGING_RULES=qt.qpa.screen.debug=true "$program" >"$work/program.log" 2>&1
    program_pid=$last_pid
    ad=$(wait_window '^Advertisement$')
    main=$(wait_window '^Kelto Zelbo Break$')
    [ -n "$main" ] || { fail "no main window"; return 1; }
    [ "$(grep -c 'adding QXcbScreen' "$work/program.log")" = 2 ] \
        && grep -q 'name="DUMMY1", geometry=1600x1200+1024+0.*(Primary: true' "$work/program.log" \
        || fail "$wm: the program does not see the two monitors"
    read -r px py _ <<<"$primary"
    corner=none
    if [ -z "$ad" ]; then
        fail "$wm: no advertisement"
    elif within 2 client_at "$ad" $((px + 80)) $((py + 411)); then
        echo "$wm: the advertisement stands on the primary monitor"
    else
        fail "$wm: the advertisement's client area at $corner, not at $((px + 80)),$((py + 411))," \
            "80,411 from the primary monitor's corner"
    fi
    corner=none
    if within 2 client_at "$main" $((px + 84)) $((py + 110)) 286; then
        echo "$wm: the main window stands on the primary monitor"
    else
        fail "$wm: the main window's client area at $corner, not at $((px + 84)),$((py + 110))," \
            "84,110 from the primary monitor's corner"
    fi
    main_place=$(client_geometry "$main")
}
# Whether the client area of window $1 has its top-left corner at $2,$3, sets it in $corner; with
# $4, the corner of the part of that height at the bottom of the client area (under a menu bar).
client_at() {
    local x y h
    read -r x y _ h <<<"$(client_geometry "$1" 2>/dev/null)"
    [ -n "$h" ] && corner=$x,$((y + h - ${4:-h}))
    [ "$corner" = "$2,$3" ]
}

# Clicks the main window at $1,$2 in the 286 px high client area under its menu bar, where its
# controls lie: the minutes box at 60,57, Change at 140,84.
click_main() {
    local x y height
    read -r x y _ height <<<"$(client_geometry "$main")"
    xdotool mousemove "$((x + $1))" "$((y + height - 286 + $2))" click 1
}

# Types keys into the main window: the minutes box gets $1, then the keys $2...
set_up_countdown() {
    local minutes=$1 attempt
    shift
    # The advertisement comes with the main window, and a window manager may still be giving it
    # the focus, even after the main window had it: the keys wait until the main window has the
    # keyboard, and are typed again where it lost the keyboard meanwhile. Typed again after
    # Begin, they change nothing: Begin and the minutes box are then disabled.
    for attempt in 1 2 3; do
        focus_on "$main"
        # A menu the keys opened before is closed first.
        [ "$attempt" = 1 ] || xdotool key Escape
        # The minutes box is clicked into: keys that come before Qt has given the window its
        # focus go to the window itself, where a Tab reaches Exit and the minutes were lost
        # (Begin then started the box's ten minutes).
        click_main 60 57
        xdotool key --clearmodifiers ctrl+a
        xdotool type "$minutes"
        [ $# -gt 0 ] && xdotool key --clearmodifiers --delay 150 "$@"
        begin_s=$(date +%s.%N)
        sleep 0.3
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ] && break
        echo "${wm:-}: the main window lost the keyboard while the countdown was set up"
    done
    if [ -n "$(visible_windows '^Error$')" ]; then
        fail "${wm:-}: Begin refused the minutes box"
        return 1
    fi
    picture_moves "$main" || { fail "${wm:-}: Begin did not start the countdown"; return 1; }
}

# Starts window manager $1 and waits until it manages the screen. One that dies on start-up (seen
# once in six parallel cases, unable to open a display that had just answered) is started again.
start_wm() {
    local attempt wm_pid
    for attempt in 1 2; do
        case $1 in
            metacity) e2e_start metacity --sm-disable --no-composite ;;
            xfwm4)
                # Its settings come from the settings daemon, which the bus does not start here.
                if [ "$attempt" = 1 ]; then
                    e2e_start /usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd
                    sleep 0.3
                fi
                e2e_start xfwm4 --compositor=off --sm-client-disable ;;
            openbox) e2e_start openbox --sm-disable ;;
            kwin)
                # KDE's window manager, without its compositor, with its settings and caches in
                # the case's own folders.
                local xdg=$work/xdg
                mkdir -p "$xdg/config" "$xdg/cache" "$xdg/data" "$xdg/runtime"
                chmod 700 "$xdg/runtime"
                e2e_start env XDG_CONFIG_HOME="$xdg/config" XDG_CACHE_HOME="$xdg/cache" \
                    XDG_DATA_HOME="$xdg/data" XDG_RUNTIME_DIR="$xdg/runtime" KWIN_COMPOSE=N \
                    QT_QPA_PLATFORM=xcb kwin_x11 ;;
        esac >"$work/wm.log" 2>&1
        wm_pid=$last_pid
        # Six cases start at once, on two cores, perhaps under the sanitizers: give it time.
        for _ in $(seq 400); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
            own_running "$wm_pid" || break
            sleep 0.05
        done
        echo "--- $1 (attempt $attempt) did not start:"
        cat "$work/wm.log"
        end_own "$wm_pid"
        wait "$wm_pid" 2>/dev/null
    done
    fail "$1 did not start"
    return 1
}

# The virtual desktop the user is on, and the one window $1 is on (4294967295: all of them).
current_desktop() { xprop -root _NET_CURRENT_DESKTOP | sed -n 's/.* = //p'; }
desktop_of() { xprop -id "$1" _NET_WM_DESKTOP | sed -n 's/.* = //p'; }

# The user goes to the second virtual desktop, which window managers that start with one are
# asked for first.
go_to_second_desktop() {
    local count
    count=$(xprop -root _NET_NUMBER_OF_DESKTOPS | sed -n 's/.* = //p')
    [ "${count:-0}" -ge 2 ] || xdotool set_num_desktops 2
    for _ in $(seq 40); do
        xdotool set_desktop 1 2>/dev/null
        [ "$(current_desktop)" = 1 ] && return 0
        sleep 0.05
    done
    fail "$wm: the user could not go to the second desktop"
    return 1
}

# Window $1 is on the desktop the user is on and shown there, neither minimised nor hidden.
shown_where_the_user_is() {
    local on
    on=$(desktop_of "$1")
    [ "$on" = "$user_desktop" ] || [ "$on" = 4294967295 ] || {
        fail "$wm: the $kind alarm is on desktop ${on:-none}, the user on $user_desktop"
        return 1
    }
    xprop -id "$1" WM_STATE | grep -q 'Normal' \
        || { fail "$wm: the $kind alarm is not shown normally"; return 1; }
    xwininfo -id "$1" | grep -q 'IsViewable' \
        || { fail "$wm: the $kind alarm cannot be seen"; return 1; }
}

# Window $1's frame "x y width height": its client area with the frame's extents around it.
frame_geometry() {
    local x y w h l r t b
    read -r x y w h <<<"$(client_geometry "$1")"
    read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)"
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}
# The alarm $1 is on the monitor the user works on, $second, and centred on it: its client area or
# its frame, or in between (as a window manager adds the frame), within 4 px. Where that monitor is
# the only one left, the alarm goes wherever the window manager puts it on it.
on_the_users_monitor() {
    local client frame x y w h fx fy fw fh mx my mw mh
    client=$(client_geometry "$1")
    frame=$(frame_geometry "$1")
    inside "$frame" "$second" \
        || { fail "$wm: the $kind alarm at $frame, not on the user's monitor $second"; return 1; }
    [ "$place" = unplug ] && return 0
    read -r x y w h <<<"$client"
    read -r fx fy fw fh <<<"$frame"
    read -r mx my mw mh <<<"$second"
    # In doubled pixels: the centres of the client area, the frame and the monitor.
    between $((2 * mx + mw)) $((2 * x + w)) $((2 * fx + fw)) \
        && between $((2 * my + mh)) $((2 * y + h)) $((2 * fy + fh)) \
        || { fail "$wm: the $kind alarm at $frame (client area $client) is not centred on $second"
            return 1; }
}
# Whether $1 lies between $2 and $3, within 8.
between() {
    local low=$(($2 < $3 ? $2 : $3)) high=$(($2 < $3 ? $3 : $2))
    [ "$1" -ge $((low - 8)) ] && [ "$1" -le $((high + 8)) ]
}

# The main window is where the user left it: on its desktop, minimised or not as $1 says, and in
# its place, or on the monitor left once the primary was unplugged. (On a desktop the user is not
# on, a window's ICCCM state is iconic under some window managers even when it is not minimised;
# the EWMH state tells.)
main_stays() {
    [ "$(desktop_of "$main")" = "$main_desktop" ] \
        || fail "$wm: the main window left its desktop $main_desktop for $(desktop_of "$main")"
    if [ "$place" = unplug ]; then
        if within 5 inside "$(client_geometry "$main")" "$second"; then
            echo "$wm: the main window at $(client_geometry "$main") on the monitor left"
        else
            fail "$wm: the main window at $(client_geometry "$main"), off the monitor left $second"
        fi
    elif [ "$(client_geometry "$main")" != "$main_place" ]; then
        fail "$wm: the main window moved from $main_place to $(client_geometry "$main")"
    fi
    if [ "$1" = minimised ]; then
        xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN \
            || fail "$wm: the main window came back from its minimised state"
    elif xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN; then
        fail "$wm: the main window was minimised"
    fi
}

# File, Hide in the main window, which must then be iconic (ICCCM WM_STATE) within 10 s.
hide_main() {
    xdotool key --clearmodifiers --delay 150 alt+f d
    for _ in $(seq 200); do
        xprop -id "$main" WM_STATE | grep -q 'Iconic' && return 0
        sleep 0.05
    done
    fail "$wm: File, Hide did not minimise"
}

# Another program, focused, that the user types into, maximised or (with $1 fullscreen) full
# screen, on the desktop the user is on and on the monitor that is not the primary, with the
# pointer: keys reach $work/typed. It is put on that monitor first and then maximised: window
# managers maximise a window that asks for it from the start on a monitor of their own choice.
start_document() {
    local states="_NET_WM_STATE_MAXIMIZED_VERT _NET_WM_STATE_MAXIMIZED_HORZ" sx sy
    [ "$1" = fullscreen ] && states=_NET_WM_STATE_FULLSCREEN
    read -r sx sy _ <<<"$second"
    xdotool mousemove $((sx + 200)) $((sy + 600))
    e2e_start xterm -fn fixed -geometry "+$((sx + 100))+$((sy + 100))" -title Document \
        -e sh -c "stty -echo; cat > '$work/typed'" 2>"$work/xterm.log"
    document=$(wait_other_window '^Document$' none 20)
    if [ -z "$document" ]; then
        fail "no document window"
        cat "$work/xterm.log"
        xdotool search --name . 2>/dev/null | while read -r w; do xdotool getwindowname "$w"; done
        return 1
    fi
    within 3 inside "$(client_geometry "$document")" "$second" || {
        fail "$wm: the document came at $(client_geometry "$document"), not on $second"
        return 1
    }
    xdotool windowactivate --sync "$document" 2>/dev/null
    # Asked again while the window manager has not done it: one missed it, now and then.
    for _ in $(seq 10); do
        add_state "$document" $states
        within 1 eval 'xprop -id "$document" _NET_WM_STATE | grep -q "${states% *}"' && break
    done
    xprop -id "$document" _NET_WM_STATE | grep -q "${states% *}" \
        || { fail "$wm: the document is not $([ "$1" = fullscreen ] && echo full screen || echo maximised)"
            return 1; }
    [ "$(desktop_of "$document")" = "$user_desktop" ] \
        || { fail "$wm: the document is not on the user's desktop"; return 1; }
    within 3 inside "$(client_geometry "$document")" "$second" \
        || { fail "$wm: the document at $(client_geometry "$document"), not on $second"; return 1; }
    echo "$wm: the document at $(client_geometry "$document") on the monitor at $second"
}
# Asks the window manager to add the state $2, and $3 if given, to window $1 (EWMH _NET_WM_STATE).
add_state() {
    /usr/bin/python3 - "$@" <<'PY'
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
states = [d.intern_atom(name) for name in sys.argv[2:4]] + [0]
message = event.ClientMessage(window=window, client_type=d.intern_atom("_NET_WM_STATE"),
                              data=(32, [1, states[0], states[1], 1, 0]))
d.screen().root.send_event(message,
                           event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
d.flush()
PY
}
# The alarm of one kind comes to the desktop the user is on, above the focused program that is
# being typed into there, and the typing does not dismiss it; after a pause the keys work again.
# The main window stays where it was: minimised for the box, shown for the pop-up.
case_wm() {
    local wm=$1 kind=$2 place=$3 main_state=shown state
    start_xorg || return
    start_session_bus
    start_wm "$wm" || return
    start_program || return
    if [ "$kind" = box ]; then
        # Options, Show a message box; Begin; File, Hide.
        set_up_countdown 1 alt+o s alt+b || return
        hide_main
        main_state=minimised
        title='^Kelto Zelbo Break$'
    else
        set_up_countdown 1 alt+b || return
        title='^Window Popup$'
    fi
    main_desktop=$(desktop_of "$main")
    if [ "$place" = desktop2 ] || [ "$place" = unplug ]; then go_to_second_desktop || return; fi
    user_desktop=$(current_desktop)
    start_document "$place" || return
    if [ "$place" = unplug ]; then
        xrandr --output DUMMY1 --off
        within 5 eval '[ "$(xrandr --listmonitors | head -n1)" = "Monitors: 1" ]' \
            && within 5 grep -q 'destroy screen' "$work/program.log" \
            || { fail "the primary monitor could not be unplugged"; return 1; }
        echo "$wm: the primary monitor unplugged $(since_begin) s after Begin"
    fi
    # The typing starts some seconds before the alarm is due, however long the set-up took.
    sleep_until "$begin_s" 52
    # The keys are typed into the document: typed into the main window, they would press its
    # focused button, Stop among them. Where the document has lost the keyboard, it says to whom.
    local focused
    focused=$(xdotool getwindowfocus 2>/dev/null)
    if [ "$focused" != "$document" ]; then
        echo "$wm: the keyboard was on \"$(xdotool getwindowname "$focused" 2>/dev/null)\"," \
            "not on the document, before the typing"
        focus_on "$document"
    fi
    type_along &
    local typist=$!
    alarm=$(wait_other_window "$title" "$main" 20)
    alarm_s=$(date +%s.%N)
    local typed_before
    typed_before=$(wc -l <"$work/typed-at" 2>/dev/null || echo 0)
    if [ -z "$alarm" ]; then
        touch "$work/stop-typing"; wait "$typist"
        fail "$wm: no $kind alarm; the program's windows on screen:" \
            "$(for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
                printf '"%s" ' "$(xdotool getwindowname "$id" 2>/dev/null)"; done)"
        for id in $(xdotool search --name "$title" 2>/dev/null); do
            state=$(xprop -id "$id" WM_STATE | grep state)
            echo "window $id on desktop $(desktop_of "$id"), $state," \
                "at $(frame_geometry "$id" 2>/dev/null); the user on $(current_desktop)"
        done
        return
    fi
    echo "$wm $kind: alarm $(awk -v a="$alarm_s" -v b="$begin_s" 'BEGIN {printf "%.2f", a - b}') s after Begin"
    local holdup=
    if [ "$place" = stall ]; then
        hold_up_program "$program_pid" &
        holdup=$!
    fi
    sleep 0.3
    shown_where_the_user_is "$alarm" \
        && echo "$wm $kind: the alarm is on desktop $user_desktop, the user's"
    on_the_users_monitor "$alarm" \
        && echo "$wm $kind: the alarm at $(frame_geometry "$alarm"), on the user's monitor"
    [ "$(current_desktop)" = "$user_desktop" ] \
        || fail "$wm: the $kind alarm took the user to desktop $(current_desktop)"
    within 10 stacked_above "$alarm" "$document" \
        || fail "$wm: the $kind alarm is not above the document"
    if active_or_asking "$alarm"; then
        echo "$wm $kind: the alarm is above the document and $how"
    else
        fail "$wm: the $kind alarm is neither active nor asks for attention"
        xprop -id "$alarm" >&2
    fi
    main_stays "$main_state"
    # Go on typing through the alarm for a while, and after the hold-up: sentences, blanks and
    # Enters.
    [ -n "$holdup" ] && wait "$holdup"
    sleep 1.5
    touch "$work/stop-typing"
    wait "$typist"
    echo "$wm $kind: the typing's longest pause, by the X server's clock: $(typing_paused) ms," \
        "$(typing_paused "$typed_before") ms once the alarm was seen"
    grep -q 'we type on' "$work/typed" || fail "$wm: the document did not get the typing"
    visible_windows "$title" | grep -qx "$alarm" \
        || { fail "$wm: typing dismissed the $kind alarm"; return; }
    # The user stops, looks, and answers it with the keyboard.
    # E2E_SHOTS=FOLDER keeps a picture of the whole desk at this moment, for a person to look at.
    [ -n "${E2E_SHOTS:-}" ] && xwd -root -silent >"$E2E_SHOTS/$wm-$kind-$place.xwd"
    sleep 0.7
    focus_on "$alarm"
    sleep 0.6
    if [ "$kind" = box ]; then xdotool key Return; else continue_with_the_main_window_hidden; fi
    wait_gone "$title" || fail "$wm: the $kind alarm did not close after the pause"
    [ "$kind" = box ] && main_stays minimised
    own_running "$program_pid" || fail "$wm: the program ended"
}

# At the pop-up: Change, a minutes box that Begin would refuse, File, Hide; then the pop-up's
# Continue. Its error box belongs to the pop-up, not to the minimised main window, and is seen.
# Stop then closes the pop-up.
continue_with_the_main_window_hidden() {
    local popup=$alarm error
    focus_on "$main"
    # Change, then the minutes box, with the mouse: an access key presses its button only a moment
    # later, after a click that follows at once.
    click_main 140 84
    click_main 60 57
    xdotool key --clearmodifiers ctrl+a
    xdotool type abc
    hide_main
    focus_on "$popup"
    xdotool key --clearmodifiers alt+c
    error=$(wait_window '^Error$')
    if [ -z "$error" ]; then
        fail "$wm: Continue with the main window hidden shows no error box"
    else
        xprop -id "$error" WM_TRANSIENT_FOR | grep -qi "$(hex "$popup")" \
            || fail "$wm: the error box does not belong to the pop-up"
        xprop -id "$error" WM_STATE | grep -q 'Normal' \
            || fail "$wm: the error box is not shown normally"
        active_or_asking "$error" || fail "$wm: the error box is neither active nor asks for attention"
        echo "$wm popup: Continue's error box belongs to the pop-up and is $how"
        focus_on "$error"
        xdotool key Return
        wait_gone '^Error$' || fail "$wm: the error box did not close"
    fi
    focus_on "$popup"
    xdotool key alt+s
}

run_case() {
    e2e_init
    local code=0
    local wm kind place
    IFS=- read -r wm kind place <<<"$1"
    case_wm "$wm" "$kind" "$place"
    [ "$code" = 77 ] && exit 77
    if [ "$failures" -ne 0 ] && [ -s "$work/program.log" ]; then
        echo "--- program output"; cat "$work/program.log"
    fi
    [ "$failures" -eq 0 ]
}

run_cases desktop "${cases[@]}"
