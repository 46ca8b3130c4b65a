# Helpers shared by the end-to-end scripts: a private X server, window queries with xdotool and
# xprop, and processes that are ended by pid, never by name. Source it, then call e2e_init.

# Every process a case starts is recorded here and ended by e2e_cleanup, newest first.
e2e_pids=()

e2e_init() {
    work=$(mktemp -d)
    chmod 700 "$work"
    failures=0
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    local i
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
        end_own "${e2e_pids[i]}"
    done
    for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}

# Starts a command in the background and records its pid in $last_pid.
e2e_start() {
    "$@" &
    last_pid=$!
    e2e_pids+=("$last_pid")
}

# A child that has ended gives up its pid, which the machine hands to the next process it
# starts: within a minute on a busy machine whose pids wrap at 32768. So a pid this shell recorded
# is signalled or called running only while it still is this shell's child.
own_child() {
    local parent
    parent=$(ps -o ppid= -p "$1" 2>/dev/null) && [ "${parent// /}" = "$BASHPID" ]
}
# Whether this shell's child $1 still runs; one that has ended but not been reaped does not.
own_running() {
    own_child "$1" && [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" != Z ]
}
# Sends this shell's child $1 the signal $2, TERM unless given.
end_own() {
    own_child "$1" && kill -"${2:-TERM}" "$1" 2>/dev/null
    return 0
}

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
step() { echo "--- $*"; }

# A private X server on a free display number that answers, of 1024x768 pixels unless E2E_SCREEN
# says otherwise; exports DISPLAY. On a loaded machine a server can die or stay deaf before its
# first client: it is then ended and another started, three times at most.
#
# -noreset: by default the server resets when its last client leaves, and drops a client that
# connects during the reset. The check below is such a last client, and the program connecting
# just after it was refused ("could not connect to display") now and then.
start_xvfb() {
    local attempt pid
    for attempt in 1 2 3; do
        rm -f "$work/display"
        exec {display_fd}>"$work/display"
        e2e_start Xvfb -displayfd "$display_fd" -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp \
            -noreset \
            >"$work/xvfb.log" 2>&1
        pid=$last_pid
        exec {display_fd}>&-
        for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
        export DISPLAY=:$(head -n1 "$work/display")
        unset WAYLAND_DISPLAY
        for _ in $(seq 100); do
            [ -s "$work/display" ] && xprop -root >/dev/null 2>&1 && return 0
            own_running "$pid" || break
            sleep 0.05
        done
        echo "--- X server $attempt on $DISPLAY did not answer"
        cat "$work/xvfb.log"
        end_own "$pid"
        wait "$pid" 2>/dev/null
    done
    fail "no X server answered"
    return 1
}

# A desk of two monitors: a private Xorg with the dummy video driver on a free display, its
# outputs laid out by RandR as the primary monitor, 1600x1200 at 1024,0, right of a 1024x768
# one at the screen's origin; exports DISPLAY, and sets $primary and $second to the monitors'
# "x y width height". Where the server does not come up it says why and fails.
#
# Xorg takes a config file outside its own folders only from root. It reads only that file (an
# empty folder for its config snippets), adds no input devices (the keys and pointer come through
# XTEST) and shares the console's VT without switching or holding it; -keeptty leaves it in this
# process group. Without GLX, which nothing here draws with, it starts in half the time.
start_xorg() {
    local attempt pid monitors
    primary="1024 0 1600 1200" second="0 0 1024 768"
    mkdir -p "$work/xorg.conf.d"
    cat >"$work/xorg.conf" <<'CONF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Module"
    Disable "glx"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2624 1200
    EndSubSection
EndSection
CONF
    for attempt in 1 2 3; do
        rm -f "$work/display"
        exec {display_fd}>"$work/display"
        e2e_start Xorg -displayfd "$display_fd" -config "$work/xorg.conf" \
            -configdir "$work/xorg.conf.d" -logfile "$work/xorg.log" -noreset -nolisten tcp \
            -novtswitch -sharevts -keeptty >"$work/xorg.out" 2>&1
        pid=$last_pid
        exec {display_fd}>&-
        for _ in $(seq 400); do
            [ -s "$work/display" ] && break
            own_running "$pid" || break
            sleep 0.05
        done
        export DISPLAY=:$(head -n1 "$work/display" 2>/dev/null)
        unset WAYLAND_DISPLAY
        for _ in $(seq 100); do
            [ -s "$work/display" ] && xprop -root >/dev/null 2>&1 && break
            own_running "$pid" || break
            sleep 0.05
        done
        if [ -s "$work/display" ] && xprop -root >/dev/null 2>&1 \
            && xrandr --newmode 1600x1200 161.00 1600 1712 1880 2160 1200 1203 1207 1245 \
                -hsync +vsync && xrandr --addmode DUMMY1 1600x1200 \
            && xrandr --fb 2624x1200 --output DUMMY0 --mode 1024x768 --pos 0x0 \
                --output DUMMY1 --mode 1600x1200 --pos 1024x0 --primary; then
            monitors=$(xrandr --listmonitors)
            grep -q '^Monitors: 2$' <<<"$monitors" \
                && grep -q '^ *[0-9]*: +\*DUMMY1 1600/[0-9]*x1200/[0-9]*+1024+0 ' <<<"$monitors" \
                && grep -q '^ *[0-9]*: +DUMMY0 1024/[0-9]*x768/[0-9]*+0+0 ' <<<"$monitors" \
                && return 0
            fail "the dummy driver's outputs are not the two monitors asked for:"
            echo "$monitors"
            return 1
        fi
        echo "--- Xorg $attempt on $DISPLAY did not come up:"
        cat "$work/xorg.out"
        tail -n 15 "$work/xorg.log" 2>/dev/null
        end_own "$pid"
        wait "$pid" 2>/dev/null
    done
    fail "Xorg with the dummy driver did not start (it takes its own config only from root)"
    return 1
}
# Whether the rectangle "x y width height" $1 lies within the rectangle $2.
inside() {
    local x y w h mx my mw mh
    read -r x y w h <<<"$1"
    read -r mx my mw mh <<<"$2"
    [ "$x" -ge "$mx" ] && [ "$y" -ge "$my" ] && [ $((x + w)) -le $((mx + mw)) ] \
        && [ $((y + h)) -le $((my + mh)) ]
}

# Starts openbox on $DISPLAY and waits up to 10 s until it manages the screen.
start_openbox() {
    e2e_start openbox --sm-disable >"$work/wm.log" 2>&1
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    fail "openbox did not start"
    cat "$work/wm.log"
    return 1
}

# A private session bus that starts no services of its own; exports its address.
start_session_bus() {
    cat >"$work/bus.conf" <<CONF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    exec {bus_fd}>"$work/bus"
    e2e_start dbus-daemon --config-file="$work/bus.conf" --nofork --print-address="$bus_fd" \
        2>"$work/bus.log"
    exec {bus_fd}>&-
    for _ in $(seq 100); do [ -s "$work/bus" ] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
}

# Prints the ids of the visible windows whose name matches $1; returns 1 when there are none.
# xdotool dies of an X error (BadWindow) when a window goes while it walks the window tree, which
# says nothing of the windows looked for: it looks again, five times at most, then returns 2.
visible_windows() {
    local ids
    for _ in 1 2 3 4 5; do
        ids=$(xdotool search --onlyvisible --name "$1" 2>"$work/search.err") \
            && { echo "$ids"; return 0; }
        grep -q 'X Error' "$work/search.err" || return 1
    done
    echo "--- xdotool could not search for $1:" >&2
    cat "$work/search.err" >&2
    return 2
}
# Waits up to 20 s for a visible window whose name matches, and prints its id. A window comes
# within a second or two; on two cores busy with the parallel cases beside the background builds,
# one has taken longer than 10 s.
wait_window() {
    wait_other_window "$1" none 20
}
# Prints a visible window whose name matches and whose id is not $2, if one is there now.
other_window() {
    visible_windows "$1" | grep -vx "$2" | head -n1
}
# Waits up to $3 s (10) for a visible window whose name matches and whose id is not $2.
wait_other_window() {
    local id tries=$(( ${3:-10} * 20 ))
    for _ in $(seq "$tries"); do
        id=$(other_window "$1" "$2")
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.05
    done
}
# Waits up to 5 s until no visible window's name matches; fails if one stays.
wait_gone() {
    local found
    for _ in $(seq 100); do
        visible_windows "$1" >/dev/null
        found=$?
        [ "$found" = 1 ] && return 0
        sleep 0.05
    done
    return 1
}
# Prints "x y width height" of a window.
geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '
        /^X=/ {x=$2} /^Y=/ {y=$2} /^WIDTH=/ {w=$2} /^HEIGHT=/ {h=$2} END {print x, y, w, h}'
}
# "x y width height" of a window's client area on the screen, from the X server itself: window
# managers' frames make xdotool's own reckoning unreliable.
client_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
# Asks a window to close as a window manager's close command does: a WM_DELETE_WINDOW message.
close_window() {
    /usr/bin/python3 - "$1" <<'PY'
import sys
from Xlib import X, display
from Xlib.protocol import event
d = display.Display()
window = d.create_resource_object("window", int(sys.argv[1]))
protocols = d.intern_atom("WM_PROTOCOLS")
message = event.ClientMessage(window=window, client_type=protocols,
                              data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
d.flush()
PY
}
hex() { printf '0x%x' "$1"; }
# Seconds since $begin_s, when Begin was pressed, to the hundredth.
since_begin() { awk -v b="$begin_s" -v n="$(date +%s.%N)" 'BEGIN {printf "%.2f", n - b}'; }
# Whether the command $2... succeeds within $1 seconds, tried every 0.1 s.
within() {
    local limit=$1
    shift
    for _ in $(seq $((limit * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# Pictures of a window, to tell a countdown that runs, whose seconds change once a second, from
# one that stands. A loaded machine paints a tick late now and then: a change is waited for up to
# 5 s, and stillness is judged once the picture has settled, over 2.5 s.
#
# Takes a picture of window $1 as $work/$2.xwd; fails when the window is gone, so that no check
# below passes on the pictures of a window that is not there.
snap() { xwd -silent -id "$1" >"$work/$2.xwd" 2>/dev/null && [ -s "$work/$2.xwd" ]; }
# Whether window $1's picture comes to differ from $work/$2.xwd within 5 s; the last picture
# taken is $work/now.xwd.
picture_differs() {
    for _ in $(seq 17); do
        snap "$1" now || return 1
        cmp -s "$work/$2.xwd" "$work/now.xwd" || return 0
        sleep 0.3
    done
    return 1
}
# Whether window $1's picture changes within 5 s.
picture_moves() {
    snap "$1" moving && picture_differs "$1" moving
}
# Whether window $1's picture stands: once two pictures 0.3 s apart agree (within 5 s), it is the
# same 2.5 s later, in which a running countdown would have changed twice.
picture_still() {
    snap "$1" still || return 1
    for _ in $(seq 17); do
        sleep 0.3
        snap "$1" now || return 1
        cmp -s "$work/still.xwd" "$work/now.xwd" && break
        mv "$work/now.xwd" "$work/still.xwd"
    done
    cmp -s "$work/still.xwd" "$work/now.xwd" || return 1
    sleep 2.5
    snap "$1" now && cmp -s "$work/still.xwd" "$work/now.xwd"
}

# Types sentences, blanks and Enters, into whatever has the focus, until $work/stop-typing, at a
# key each 60 ms kept by the X server: each key is sent with XTEST's delay, eight at a time, so
# that the typist being held up on a busy machine does not pause the typing (starting xdotool for
# each line, and then sleeping between keys in the typist, left pauses of over half a second, which
# a person typing on does not make). Beside it, a recording of the server's input writes the
# server's stamp on each key pressed to $work/typed-at (see typing_paused).
type_along() {
    rm -f "$work/typed-at"
    /usr/bin/python3 - "$work/stop-typing" "$work/typed-at" <<'PY'
import os, sys, threading
from Xlib import X, XK, display
from Xlib.ext import record, xtest
from Xlib.protocol import rq

def record_stamps(recording, path):
    context = recording.record_create_context(0, [record.AllClients], [{
        "core_requests": (0, 0), "core_replies": (0, 0),
        "ext_requests": (0, 0, 0, 0), "ext_replies": (0, 0, 0, 0),
        "delivered_events": (0, 0), "device_events": (X.KeyPress, X.KeyPress),
        "errors": (0, 0), "client_started": False, "client_died": False}])
    out = open(path, "w", buffering=1)
    def intercepted(reply):
        data = reply.data
        while reply.category == record.FromServer and data:
            event, data = rq.EventField(None).parse_binary_value(data, recording.display, None, None)
            out.write("%d\n" % event.time)
    recording.record_enable_context(context, intercepted)

# Both connections are opened here, one after the other: opened at once from two threads, the
# first import of an extension's module raced, and the typist died with an AttributeError.
recording = display.Display()
d = display.Display()
threading.Thread(target=record_stamps, args=(recording, sys.argv[2]), daemon=True).start()
names = {" ": "space", "\n": "Return"}
line = "we type on as the alarm comes \n"
keys = [d.keysym_to_keycode(XK.string_to_keysym(names.get(c, c))) for c in line]
while not os.path.exists(sys.argv[1]):
    for count, key in enumerate(keys, 1):
        xtest.fake_input(d, X.KeyPress, key, time=60)
        xtest.fake_input(d, X.KeyRelease, key)
        if count % 8 == 0:
            d.sync()
    d.sync()
PY
}
# The longest pause in the typing, in ms by the X server's stamps in $work/typed-at, from the
# key after the first $1 (0) on: "none" where fewer than two keys were stamped.
typing_paused() {
    awk -v from="${1:-0}" 'NR > from + 1 { gap = $1 - last; if (gap > longest) longest = gap }
        { last = $1 } END { print (NR > from + 1 ? longest : "none") }' "$work/typed-at" 2>/dev/null
}

# Sleeps until $2 s after the moment $1 (seconds since the epoch, as date +%s.%N), if that is
# still to come.
sleep_until() {
    sleep "$(awk -v t="$1" -v d="$2" -v now="$(date +%s.%N)" \
        'BEGIN {s = t + d - now; print (s > 0 ? s : 0)}')"
}

# Stops the program of pid $1 1.1 s after the alarm came ($alarm_s) and lets it go on 0.8 s
# later, as a busy machine holds a program up: the keys typed meanwhile wait, and come to it
# together.
hold_up_program() {
    sleep_until "$alarm_s" 1.1
    kill -STOP "$1"
    sleep 0.8
    kill -CONT "$1"
    echo "the program held up for 0.8 s, $(awk -v a="$alarm_s" -v now="$(date +%s.%N)" \
        'BEGIN {printf "%.2f", now - a}') s after the alarm came"
}

# Whether window $1 lies above window $2 in the window manager's stacking order.
stacked_above() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | awk -v a="$(hex "$1")" -v b="$(hex "$2")" '
        { for (i = 1; i <= NF; i++) { if ($i == a) ia = i; if ($i == b) ib = i } }
        END { exit !(ia && ib && ia > ib) }'
}
# Whether window $1 becomes active, or asks for attention (the urgency hint or the EWMH state),
# within 10 s; says which in $how.
active_or_asking() {
    local active
    for _ in $(seq 200); do
        active=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p')
        [ "$((active))" = "$1" ] && { how=active; return 0; }
        xprop -id "$1" _NET_WM_STATE WM_HINTS | grep -qi 'DEMANDS_ATTENTION\|urgency' \
            && { how="asking for attention"; return 0; }
        sleep 0.05
    done
    return 1
}
# Activates window $1 and waits until it has the keyboard: Qt takes the focus itself when the
# window manager offers it (WM_TAKE_FOCUS), which on a loaded machine comes a while after the
# window manager made the window active.
focus_on() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
    for _ in $(seq 100); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.05
    done
    fail "${wm:+$wm: }window $1 did not get the keyboard"
}
# Whether a window carries an icon of its own (_NET_WM_ICON) for task bars.
has_icon() {
    xprop -id "$1" _NET_WM_ICON 2>/dev/null | grep -q '^_NET_WM_ICON(CARDINAL)'
}
# Runs run_case for each of the cases $2... side by side, each in a subshell with its own log,
# then prints each case's log under its verdict. Returns 1 if a case failed, 77 if none failed
# and one was skipped; $1 names the script in the summary line.
run_cases() {
    local name=$1 logs i r passed=0 failed=0 skipped=0
    shift
    local cases=("$@") pids=()
    logs=$(mktemp -d)
    for i in "${!cases[@]}"; do
        ( run_case "${cases[i]}" ) >"$logs/$i" 2>&1 &
        pids+=($!)
    done
    for i in "${!cases[@]}"; do
        wait "${pids[i]}"
        case $? in
            0) passed=$((passed + 1)); r=passed ;;
            77) skipped=$((skipped + 1)); r=skipped ;;
            *) failed=$((failed + 1)); r=FAILED ;;
        esac
        echo "=== ${cases[i]}: $r"
        sed 's/^/    /' "$logs/$i"
    done
    rm -rf "$logs"
    echo "$name: $passed passed, $failed failed, $skipped skipped"
    [ "$failed" -eq 0 ] || return 1
    [ "$skipped" -eq 0 ] || return 77
}
