#!/bin/bash
# The Windows program as a person gets it: unpacked from the portable zip into a clean Wine
# prefix and started there, on a private X server with a window manager, driven with xdotool.
# Each case has its own prefix, HOME, X server and processes, and they run side by side:
#   start   the windows at their designed places and sizes, the countdown once a second, both
#           links handed to the shell from C:\, Exit through the farewell with exit code 0
#   box     the message-box alarm at T = 1 with the typing guard, also while the program is held
#           up; the countdown goes on
#   popup   the pop-up at T = 1 with the typing guard; Continue counts again
#   stop    the pop-up at T = 1; Stop returns to the idle layout
#   sound   the beep at T = 1, an X bell under Wine; the countdown goes on
#   scaled  at 150 % (144 dpi) the windows keep their designed places and sizes, scaled
# Usage: e2e.sh ZIP KEEP_EXIT_CODE_EXE [CASE...]
set -uo pipefail
zip=$(readlink -f "$1")
here=$(dirname "$(readlink -f "$0")")
source "$here/../e2e/lib.sh"
source "$here/wine.sh"
keep_exit_code=$(readlink -f "$2")
shift 2

all_cases=(start box popup stop sound scaled)
cases=("${@:-${all_cases[@]}}")

wine_require
for tool in Xvfb xdotool xprop xwininfo xwd xterm openbox /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -f "$zip" ] || { echo "FAIL: no package at $zip (make windows makes it)"; exit 1; }

# The case's own prefix, with the program unpacked from the zip outside it, and Wine's browser
# and mailer set to a script that records each link and the folder it was started in.
prepare() {
    local kind
    wine_make_prefix "$work/prefix" || { fail "no Wine prefix"; return 1; }
    /usr/bin/python3 -m zipfile -e "$zip" "$work/unpacked" || { fail "the zip does not unpack"; return 1; }
    app=$(dirname "$(find "$work/unpacked" -name kelto-zelbo-break.exe | head -n1)")
    [ -f "$app/kelto-zelbo-break.exe" ] || { fail "no kelto-zelbo-break.exe in the zip"; return 1; }
    cat >"$work/shell.sh" <<SH
#!/bin/sh
printf '%s %s\n' "\$(pwd)" "\$*" >>"$work/links"
SH
    chmod +x "$work/shell.sh"
    for kind in Browsers Mailers; do
        wine_run 60 reg add 'HKCU\Software\Wine\WineBrowser' /v "$kind" /d "$work/shell.sh" /f \
            >>"$work/prefix.boot.log" 2>&1 \
            || { fail "the recording shell was not set"; cat "$work/prefix.boot.log"; return 1; }
    done
}

# Starts the program from the folder it was unpacked to, not from C:\; sets $main.
start_program() {
    wine_start_program "$work/unpacked" "$app/kelto-zelbo-break.exe"
}

# Clicks at $2,$3 in the client area of window $1.
click_at() {
    local x y
    read -r x y _ _ <<<"$(client_geometry "$1")"
    xdotool mousemove "$((x + $2))" "$((y + $3))" click 1
}

# Types the minutes $1 into the main window's box, then the keys $2...
set_up_countdown() {
    local minutes=$1
    shift
    focus_on "$main"
    # The focus starts on Exit; Tab reaches the minutes box.
    xdotool key --clearmodifiers Tab ctrl+a
    xdotool type "$minutes"
    [ $# -gt 0 ] && xdotool key --clearmodifiers --delay 150 "$@"
}


# Waits for the link $1 to be recorded, at most 10 s; it must have been started in C:\.
expect_link() {
    local line
    for _ in $(seq 200); do
        line=$(grep -F " $1" "$work/links" 2>/dev/null | sed -n "${2:-1}p")
        [ -n "$line" ] && break
        sleep 0.05
    done
    if [ -z "$line" ]; then
        fail "the shell was not handed $1"
        [ -s "$work/links" ] && cat "$work/links"
        return
    fi
    [ "${line%% *}" = "$(readlink -f "$work/prefix/drive_c")" ] \
        || fail "$1 was opened in ${line%% *}, not in C:\\"
    echo "the shell opened $1 in C:\\"
}

case_start() {
    prepare || return
    start_program || return
    local ad
    ad=$(wait_window '^Advertisement$')
    [ -n "$ad" ] || fail "no advertisement window"

    # Places and client sizes in pixels at 96 dpi: the advertisement 485x128 at 80,411; the main
    # window's client area 201x286 at 84,110, under a menu bar.
    [ -n "$ad" ] && { [ "$(client_geometry "$ad")" = "80 411 485 128" ] \
        || fail "advertisement at $(client_geometry "$ad")"; }
    local mx my mw mh menu
    read -r mx my mw mh <<<"$(client_geometry "$main")"
    menu=$((110 - my))
    [ "$mx" = 84 ] && [ "$mw" = 201 ] && [ $((mh - menu)) = 286 ] && [ "$menu" -gt 10 ] \
        || fail "main window at $mx,$my ${mw}x${mh}"

    # The advertisement's banner, then its text, each hand the sign-up page to the shell.
    if [ -n "$ad" ]; then
        click_at "$ad" 200 30
        expect_link 'http://' 1
        click_at "$ad" 240 78
        expect_link 'http://' 2
        grep -F ' http://' "$work/links" | sed -n 1p | grep -q '/home\.asp?refid=' \
            || fail "the sign-up link is not the referral link"
    fi

    # Help, About; its e-mail address hands a mail link to the shell.
    focus_on "$main"
    xdotool key --clearmodifiers --delay 150 alt+h a
    local about
    about=$(wait_window '^About$')
    if [ -n "$about" ]; then
        read -r _ _ aw ah <<<"$(client_geometry "$about")"
        [ "$aw ${ah}" = "397 159" ] || fail "About window ${aw}x${ah}"
        click_at "$about" 70 128
        expect_link 'mailto:'
        focus_on "$about"
        xdotool key --clearmodifiers Return
        wait_gone '^About$' || fail "About's Ok did not close it"
    else
        fail "Help, About showed no window"
    fi

    step "a countdown starts and moves once a second"
    set_up_countdown 3 Tab
    snap "$main" idle
    xdotool key --clearmodifiers alt+b
    picture_differs "$main" idle || fail "Alt+B did not start the countdown"
    picture_moves "$main" || fail "the countdown display does not move"

    step "Exit shows the farewell picture and ends the program with code 0"
    focus_on "$main"
    xdotool key --clearmodifiers alt+x
    local exit_ns farewell
    exit_ns=$(date +%s%N)
    farewell=$(wait_other_window '^Kelto Zelbo Break$' "$main")
    if [ -n "$farewell" ]; then
        read -r _ _ fw fh <<<"$(client_geometry "$farewell")"
        [ "$fw $fh" = "346 68" ] || fail "farewell window ${fw}x${fh}"
    else
        fail "no farewell window"
    fi
    if wine_await_end 10 Exit; then
        local elapsed=$(( ($(date +%s%N) - exit_ns) / 1000000 ))
        [ "$code" = 0 ] || fail "exit code $code"
        [ "$elapsed" -ge 1500 ] || fail "the farewell picture was shown for only ${elapsed} ms"
        echo "ended with code $code ${elapsed} ms after Exit"
    fi
}

# Whether "x y width height" $1 is $2 scaled by $3, to the pixel.
scaled_from() {
    /usr/bin/python3 - "$1" "$2" "$3" <<'PY'
import sys
got = [int(v) for v in sys.argv[1].split()]
designed = [int(v) for v in sys.argv[2].split()]
scale = float(sys.argv[3])
sys.exit(0 if all(abs(g - d * scale) <= 1 for g, d in zip(got, designed)) else 1)
PY
}

case_scaled() {
    prepare || return
    wine_run 60 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
        >>"$work/prefix.boot.log" 2>&1 || { fail "the prefix's DPI was not set"; return; }
    wine_end
    start_program || return
    local ad geometry mx my mw mh menu
    ad=$(wait_window '^Advertisement$')
    if [ -n "$ad" ]; then
        geometry=$(client_geometry "$ad")
        scaled_from "$geometry" "80 411 485 128" 1.5 || fail "advertisement at $geometry at 150 %"
        echo "advertisement at $geometry at 150 %"
    else
        fail "no advertisement window"
    fi
    read -r mx my mw mh <<<"$(client_geometry "$main")"
    menu=$((165 - my))
    scaled_from "$mx $mw $((mh - menu))" "84 201 286" 1.5 && [ "$menu" -gt 15 ] \
        || fail "main window at $mx,$my ${mw}x${mh} at 150 %"
    echo "main window at $mx,$my ${mw}x${mh} at 150 %"
}

# Whether the alarm window $alarm (named $title) is open; so it counts while the window system
# cannot tell.
alarm_open() {
    local ids found
    ids=$(visible_windows "$title")
    found=$?
    [ "$found" = 2 ] || grep -qx "$alarm" <<<"$ids"
}

# The alarm of kind $1 at T = 1: $2 is the keys that choose it.
case_alarm() {
    local kind=$1
    shift
    prepare || return
    if [ "$kind" = sound ]; then
        e2e_start /usr/bin/python3 "$here/bell_watch.py" >"$work/bells" 2>"$work/bells.log"
        for _ in $(seq 100); do [ -s "$work/bells" ] && break; sleep 0.05; done
        grep -q watching "$work/bells" || { fail "bells cannot be watched"; cat "$work/bells.log"; return; }
    fi
    start_program || return
    set_up_countdown 1 "$@" alt+b
    begin_s=$(date +%s.%N)
    local title='^Kelto Zelbo Break$' alarm document
    [ "$kind" = popup ] || [ "$kind" = stop ] && title='^Window Popup$'
    # The user works in another program when the alarm comes.
    if [ "$kind" != sound ]; then
        e2e_start xterm -fn fixed -title Document -e sh -c "stty -echo; cat > /dev/null" \
            2>"$work/xterm.log"
        document=$(wait_other_window '^Document$' none 20)
        [ -n "$document" ] || { fail "no document window"; return; }
        focus_on "$document"
    fi
    if [ "$kind" = sound ]; then
        sleep 64
        local bells
        bells=$(awk -v b="$begin_s" 'NR > 1 {printf "%.2f\n", $1 - b}' "$work/bells")
        echo "bells at $(echo $bells) s after Begin"
        [ "$(echo "$bells" | awk '$1 >= 59.5 && $1 <= 61.5' | wc -l)" = 1 ] \
            || fail "not one bell 60 s after Begin"
        [ -s "$work/exit-code" ] && { fail "the program ended at the alarm"; return; }
        picture_moves "$main" || fail "the countdown does not go on after the beep"
        return
    fi
    # The user types on in the document from some seconds before the alarm is due, and on into
    # the alarm as it comes; at the box alarm a busy machine holds the program up meanwhile: the
    # message times, not when the program gets the keys, tell that there was no pause.
    sleep_until "$begin_s" 52
    type_along &
    local typist=$! holdup=""
    alarm=$(wait_other_window "$title" "$main" 20)
    alarm_s=$(date +%s.%N)
    [ -n "$alarm" ] || { touch "$work/stop-typing"; wait "$typist"; fail "no $kind alarm"; return; }
    echo "$kind alarm $(since_begin) s after Begin"
    if [ "$kind" = box ]; then
        hold_up_program "$(xdotool getwindowpid "$main")" &
        holdup=$!
    fi
    how="neither active nor asking for attention"
    active_or_asking "$alarm" || fail "the $kind alarm is neither active nor asks for attention"
    # Keys that were meant for another program do not answer the alarm: typed as soon as it is
    # active, within the typing.
    xdotool key --clearmodifiers Return space Escape
    sleep 0.3
    alarm_open || {
        touch "$work/stop-typing"
        fail "a key typed at once dismissed the $kind alarm"
        return
    }
    if within 10 stacked_above "$alarm" "$document"; then
        echo "the $kind alarm is above the document and $how"
    else
        fail "the $kind alarm is not above the document"
    fi
    [ -n "$holdup" ] && wait "$holdup"
    sleep 1
    touch "$work/stop-typing"
    wait "$typist"
    echo "the typing's longest pause, by the X server's clock: $(typing_paused) ms"
    alarm_open || { fail "typing on through the alarm dismissed the $kind alarm"; return; }
    sleep 1.5
    focus_on "$alarm"
    case $kind in
        box) xdotool key Return ;;
        popup) xdotool key --clearmodifiers alt+c ;;
        stop) xdotool key --clearmodifiers alt+s ;;
    esac
    # The message box has the main window's title: the alarm's own window must go.
    for _ in $(seq 100); do
        alarm_open || break
        sleep 0.05
    done
    alarm_open && { fail "the $kind alarm did not close after the pause"; return; }
    if [ "$kind" = stop ]; then
        picture_still "$main" || fail "the countdown goes on after Stop"
    else
        picture_moves "$main" || fail "the countdown does not go on after the $kind alarm"
    fi
}

run_case() {
    e2e_init
    trap 'wine_end; e2e_cleanup' EXIT
    start_xvfb || exit 1
    start_openbox || exit 1
    case $1 in
        start) case_start ;;
        box) case_alarm box alt+o s ;;
        popup) case_alarm popup ;;
        stop) case_alarm stop ;;
        sound) case_alarm sound alt+o m ;;
        scaled) case_scaled ;;
    esac
    if [ "$failures" -ne 0 ] && [ -s "$work/program.log" ]; then
        echo "--- program output"; tail -n 40 "$work/program.log"
    fi
    [ "$failures" -eq 0 ]
}

run_cases windows_e2e "${cases[@]}"
