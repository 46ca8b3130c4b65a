#!/bin/bash
# The real program under a Wayland compositor, Weston's headless back end, each case in its own
# runtime folder with its own Weston. With Xwayland the program comes up as an X11 client, its
# windows at their places, unless the user chose Qt's Wayland platform; without Xwayland it runs
# as a native Wayland client. Weston and the clients it spawns (Xwayland, its shell and keyboard)
# are ended by pid.
# Usage: wayland.sh PROGRAM [CASE...]
set -uo pipefail
program=$(readlink -f "$1")
shift
here=$(dirname "$(readlink -f "$0")")
source "$here/lib.sh"

all_cases=(xwayland native)
cases=("${@:-${all_cases[@]}}")

for tool in weston weston-debug xdotool xprop xwininfo dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
# The platforms this program's Qt can load, from its own answer to one it cannot.
platforms=$( (ulimit -c 0; QT_QPA_PLATFORM=no-such-platform timeout 20 "$program" </dev/null 2>&1) \
    2>/dev/null | sed -n 's/.*Available platform plugins are: //p')
[[ ",$platforms" =~ [,\ ]wayland[,.] ]] \
    || { echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"; exit 77; }

# Starts Weston headless on socket $1 in a private runtime folder, with the arguments after it;
# exports XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
start_weston() {
    local socket=$1
    shift
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    e2e_start weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 \
        --idle-time=0 --log="$work/weston.log" "$@" >"$work/weston.out" 2>&1
    weston_pid=$last_pid
    for _ in $(seq 200); do
        [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
        own_running "$weston_pid" || break
        sleep 0.05
    done
    if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
        fail "weston did not start"
        cat "$work/weston.out" "$work/weston.log" 2>/dev/null
        return 1
    fi
    # What a Wayland session sets, and what makes Qt prefer its Wayland platform by default.
    export WAYLAND_DISPLAY=$socket XDG_SESSION_TYPE=wayland
}

# Prints every process below $1 as pid:start, its start in clock ticks since boot.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1"); do
        echo "$child:$(started "$child")"
        descendants "$child"
    done
}

# When process $1 started, in clock ticks since boot (the 22nd field of its stat, counted after
# the name in parentheses, which may hold spaces).
started() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stat=${stat##*) }
    set -- $stat
    echo "${20}"
}

# Whether process pid:start $1 still runs: one that has ended but not been reaped does not, nor
# does a later process the pid was given to.
running() {
    local pid=${1%%:*} state
    [ "$(started "$pid")" = "${1#*:}" ] || return 1
    state=$(ps -o stat= -p "$pid" 2>/dev/null) && [ "${state:0:1}" != Z ]
}

# Ends the program, then Weston, then what Weston spawned, then the rest of the case's processes.
# Weston goes before its clients, or it would start its shell and keyboard again; its clients
# are not this shell's children, so their end is polled for.
end_case() {
    local pid spawned=""
    if [ -n "${program_pid:-}" ]; then
        end_own "$program_pid"
        wait "$program_pid" 2>/dev/null
        program_pid=""
    fi
    if [ -n "${weston_pid:-}" ]; then
        spawned=$(descendants "$weston_pid")
        end_own "$weston_pid"
        wait "$weston_pid" 2>/dev/null
        for pid in $spawned; do running "$pid" && kill "${pid%%:*}" 2>/dev/null; done
        for pid in $spawned; do
            for _ in $(seq 40); do running "$pid" || break; sleep 0.05; done
            running "$pid" && kill -KILL "${pid%%:*}" 2>/dev/null
        done
    fi
    e2e_cleanup
}

# Starts the program with the environment $@; its output, Wayland's debug log with it when
# WAYLAND_DEBUG=1 is among them, goes to $work/program.log.
start_program() {
    e2e_start env "$@" "$program" >"$work/program.log" 2>&1
    program_pid=$last_pid
}
stop_program() {
    end_own "$program_pid"
    wait "$program_pid" 2>/dev/null
    program_pid=""
}
# Waits up to 10 s for the Wayland debug log to show a toplevel window given the title $1.
wait_wayland_title() {
    for _ in $(seq 200); do
        grep -q "xdg_toplevel@[0-9]*\.set_title(\"$1\")" "$work/program.log" && return 0
        own_running "$program_pid" || return 1
        sleep 0.05
    done
    return 1
}

# Prints "x y width height" of the view Weston shows for the toplevel titled $1, from its scene
# graph. Weston 10 does not always move a decorated X window's frame in the X server to where it
# shows it, so the X server's coordinates of the main window cannot be trusted.
view_geometry() {
    timeout 5 weston-debug scene-graph 2>/dev/null | awk -v title="top-level window '$1'" '
        index($0, title) { found = 1; next }
        found && /position:/ {
            gsub(/[(),]/, " "); print $2, $3, $5 - $2, $6 - $3; exit
        }'
}
# Prints "width height" of X window $1.
x_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print w, h}'
}

# Weston with Xwayland: the program prefers X11, its windows keep their places, and a platform
# the user set is respected.
case_xwayland() {
    command -v Xwayland >/dev/null || { echo "SKIP: Xwayland is not installed"; code=77; return; }
    # Weston's Xwayland binds its socket there, where an X server would have made the folder.
    [ -d /tmp/.X11-unix ] || mkdir -p -m 1777 /tmp/.X11-unix
    start_weston "kzb-xwayland-$$" --xwayland --debug || return
    local display=""
    for _ in $(seq 200); do
        display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
        [ -n "$display" ] && break
        sleep 0.05
    done
    [ -n "$display" ] || { fail "weston's log names no X display"; cat "$work/weston.log"; return; }
    export DISPLAY=$display
    unset QT_QPA_PLATFORM
    echo "Xwayland on $DISPLAY, Wayland on $WAYLAND_DISPLAY"

    step "without QT_QPA_PLATFORM the program is an X11 client"
    # Weston starts Xwayland when the first X client comes, as a desktop that starts it on demand
    # does: the program is that client here, and nothing else speaks X until Xwayland is up.
    start_program WAYLAND_DEBUG=1
    for _ in $(seq 200); do
        grep -q 'created wm' "$work/weston.log" && break
        own_running "$program_pid" || break
        sleep 0.05
    done
    local main ad
    main=$(wait_window '^Kelto Zelbo Break$')
    ad=$(wait_window '^Advertisement$')
    if [ -z "$main" ]; then
        if ! own_running "$program_pid"; then
            wait "$program_pid"
            echo "the program ended with code $?"
        fi
        fail "no main window on Xwayland"
        return
    fi
    local pid
    pid=$(xprop -id "$main" _NET_WM_PID | sed -n 's/.* = //p')
    [ "$pid" = "$program_pid" ] || fail "the main window's _NET_WM_PID is '$pid', not $program_pid"
    grep -q 'xdg_toplevel' "$work/program.log" && fail "the program also made a Wayland toplevel"

    # Weston's view of a window is the window with a shadow margin around it, and for a
    # decorated one also a border and a title bar. The advertisement has no decorations, so its
    # view's margin is the shadow's. Weston puts the outer corner of the frame, not the client
    # area, where the program asked: the client area is then off by the border and title bar.
    local ax ay aw ah margin=""
    read -r ax ay aw ah <<<"$(view_geometry Advertisement)"
    if [ -n "$ad" ] && [ -n "$aw" ]; then
        margin=$(( (aw - 485) / 2 ))
        local got="$((ax + margin)) $((ay + margin)) $((aw - 2 * margin)) $((ah - 2 * margin))"
        echo "advertisement $got (view at $ax,$ay, shadow $margin)"
        [ "$got" = "80 411 485 128" ] || fail "advertisement at $got, expected 80 411 485 128"
    else
        fail "no advertisement window on Xwayland"
    fi
    local vx vy vw vh mw mh
    read -r vx vy vw vh <<<"$(view_geometry 'Kelto Zelbo Break')"
    read -r mw mh <<<"$(x_size "$main")"
    if [ -n "$vw" ] && [ -n "$margin" ]; then
        # The menu bar sits above the 201x286 client area; the window it is in starts at 84,92.
        local side=$(( (vw - mw) / 2 )) menu=$((mh - 286))
        local top=$((vh - mh - side)) wanted_y=$((110 - menu))
        local cx=$((vx + side)) cy=$((vy + top)) fx=$((vx + margin)) fy=$((vy + margin))
        echo "main window ${mw}x${mh} at $cx,$cy, its frame at $fx,$fy" \
            "(border $((side - margin)), title bar $((top - margin)))"
        [ "$mw" = 201 ] && [ "$menu" -gt 10 ] && [ "$menu" -lt 40 ] \
            || fail "main window ${mw}x${mh}, expected 201 wide with a menu bar above 286"
        [ "$cx,$cy" = "84,$wanted_y" ] || [ "$fx,$fy" = "84,$wanted_y" ] \
            || fail "neither the main window ($cx,$cy) nor its frame ($fx,$fy) is at 84,$wanted_y"
    else
        fail "weston shows no view of the main window"
    fi
    stop_program
    wait_gone '^Kelto Zelbo Break$' || fail "the main window stays after the program ended"

    step "QT_QPA_PLATFORM=wayland, set by the user, is respected"
    start_program QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1
    wait_wayland_title 'Kelto Zelbo Break' || fail "no Wayland toplevel titled Kelto Zelbo Break"
    xdotool search --name '^Kelto Zelbo Break$' >/dev/null 2>&1 \
        && fail "with QT_QPA_PLATFORM=wayland an X window appeared"
    stop_program
}

# Weston without Xwayland and no DISPLAY: the program falls back to native Wayland and stays up.
case_native() {
    start_weston "kzb-native-$$" --debug || return
    unset DISPLAY QT_QPA_PLATFORM
    start_program WAYLAND_DEBUG=1
    wait_wayland_title 'Kelto Zelbo Break' \
        || { fail "no Wayland toplevel titled Kelto Zelbo Break"; return; }
    wait_wayland_title 'Advertisement' || fail "no Wayland toplevel titled Advertisement"
    # Here the compositor chooses the places; they are shown, not checked.
    sleep 0.5
    echo "Weston shows the main window's view at $(view_geometry 'Kelto Zelbo Break')," \
        "the advertisement's at $(view_geometry Advertisement) (x y width height)"
    sleep 3
    own_running "$program_pid" || fail "the program ended within 3 s on native Wayland"
}

run_case() {
    e2e_init
    trap end_case EXIT
    export NO_AT_BRIDGE=1
    start_session_bus
    local code=0
    "case_$1"
    [ "$code" = 77 ] && exit 77
    if [ "$failures" -ne 0 ]; then
        echo "--- program output (last lines)"; tail -n 40 "$work/program.log" 2>/dev/null
        echo "--- weston log"; cat "$work/weston.log" 2>/dev/null
    fi
    [ "$failures" -eq 0 ]
}

run_cases wayland "${cases[@]}"
