#!/bin/bash
# The sound alarm reaches the desktop's sound server: the real program, under its own Xvfb, plays
# its bell into a private PulseAudio whose null sink is recorded for the whole countdown. The
# recording holds exactly one burst of sound after Begin, and the one stream played into the server
# starts 60 s after it. Beside it, two cases where no sound server answers, one whose socket refuses and one whose
# socket takes the connection and stays silent: the alarm is given without trouble and the next
# countdown runs. The cases run side by side, each with its own runtime folder and processes,
# ended by pid.
# Usage: sound.sh PROGRAM [CASE...]
set -uo pipefail
program=$(readlink -f "$1")
shift
source "$(dirname "$(readlink -f "$0")")/lib.sh"

all_cases=(pulse refused silent)
cases=("${@:-${all_cases[@]}}")

for tool in Xvfb xdotool xprop xwd dbus-daemon pulseaudio pactl parec python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# The recording: 8 kHz mono, 16-bit little-endian, so one second is 16000 bytes.
rate=8000

# Everything the sound server and its clients read or write stays in the case's folder.
private_home() {
    mkdir -p "$work/home" "$work/runtime"
    chmod 700 "$work/runtime"
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
    export PULSE_RUNTIME_PATH=$work/runtime/pulse PULSE_STATE_PATH=$work/pulse-state
    export PULSE_SERVER=unix:$work/pulse.socket
    unset PULSE_SINK PULSE_SOURCE PULSE_COOKIE PULSE_CLIENTCONFIG
    export QT_QPA_PLATFORM=xcb
}

# A PulseAudio of the case's own, without the default configuration: its socket in the case's
# folder, a null sink to play into and nothing else. It runs before the X server exists, so it
# neither looks for one nor starts a bus through one; it is allowed to run as root, which it
# only warns about, and asks no one for real-time scheduling.
start_pulse() {
    DISPLAY='' e2e_start pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --system=no --high-priority=no --realtime=no --no-cpu-limit --log-target=stderr \
        -L "module-native-protocol-unix socket=$work/pulse.socket auth-anonymous=1" \
        -L "module-null-sink sink_name=bell_sink" >"$work/pulse.log" 2>&1
    pulse_pid=$last_pid
    for _ in $(seq 200); do
        [ -S "$work/pulse.socket" ] && pactl info >/dev/null 2>&1 && return 0
        own_running "$pulse_pid" || break
        sleep 0.05
    done
    fail "the sound server did not start"
    cat "$work/pulse.log"
    return 1
}

# Records everything played into the null sink to $work/sound.raw.
start_recording() {
    e2e_start parec --device=bell_sink.monitor --format=s16le --rate=$rate --channels=1 \
        --latency-msec=20 --raw >"$work/sound.raw" 2>"$work/parec.log"
    # The null sink sends its first data about two seconds after the recording starts, then
    # continuously, silence included: from then on a byte offset is a time.
    for _ in $(seq 200); do
        [ -s "$work/sound.raw" ] && return 0
        sleep 0.05
    done
    fail "nothing is recorded from the null sink"
    cat "$work/parec.log"
    return 1
}

# Starts the program on $DISPLAY and chooses the sound alarm and a countdown of one minute;
# $begin_s is when Begin was pressed.
start_countdown() {
    e2e_start "$program" >"$work/program.log" 2>&1
    program_pid=$last_pid
    main=$(wait_window '^Kelto Zelbo Break$')
    [ -n "$main" ] || { fail "no main window"; return 1; }
    xdotool windowfocus --sync "$main"
    # The focus starts on Exit; Tab reaches the minutes box. Options, Make a sound; then Begin.
    xdotool key --clearmodifiers Tab ctrl+a
    xdotool type "1"
    xdotool key --clearmodifiers --delay 150 alt+o m
    snap "$main" idle
    xdotool key --clearmodifiers alt+b
    begin_s=$(date +%s.%N)
}

# Sleeps until $1 s after Begin.
sleep_until() {
    sleep "$(awk -v b="$begin_s" -v n="$(date +%s.%N)" -v t="$1" 'BEGIN {
        d = b + t - n; printf "%.2f", (d > 0 ? d : 0) }')"
}

# The program is still running after its alarm and counts the next countdown: its display moves.
expect_counting() {
    own_running "$program_pid" || { fail "the program ended at the alarm"; return; }
    xdotool search --onlyvisible --name '^(Error|Window Popup)$' >/dev/null 2>&1 \
        && fail "a window came with the sound alarm"
    picture_moves "$main" \
        || fail "the display stands still after the alarm: the next countdown does not run"
    cmp -s "$work/idle.xwd" "$work/now.xwd" && fail "the main window went back to idle"
}

# Writes to $work/streams when each stream starts playing into the sound server, by this
# machine's clock, one time a line. On a busy machine the null sink skips what it could not render
# in time, and the recording's bytes are then no clock.
start_stream_watch() {
    e2e_start python3 -c '
import signal, subprocess, sys, time
watch = subprocess.Popen(["stdbuf", "-oL", "pactl", "subscribe"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
signal.signal(signal.SIGTERM, lambda *_: (watch.terminate(), sys.exit(0)))
with open(sys.argv[1], "w") as out:
    for line in watch.stdout:
        if line.startswith("Event \x27new\x27 on sink-input"):
            print(f"{time.time():.3f}", file=out, flush=True)' "$work/streams"
}

# One stream played into the sound server after Begin, within the tolerance of the minute.
check_streams() {
    local streams
    streams=$(awk -v b="$begin_s" '$1 > b {printf "%.2f\n", $1 - b}' "$work/streams")
    echo "streams played $(echo $streams) s after Begin"
    [ "$(echo "$streams" | awk '$1 >= 59.5 && $1 <= 61.5' | wc -l)" = 1 ] \
        && [ "$(echo "$streams" | grep -c .)" = 1 ] \
        || fail "not one stream between 59.5 and 61.5 s after Begin, and no other"
}

# Reads the recording from byte $2 (Begin) on, in blocks of 20 ms: silence, then one burst of
# sound, then silence again to the end. (When the burst came, check_streams tells.)
check_recording() {
    python3 - "$1" "$2" "$rate" <<'PY'
import array, sys

path, begin_byte, rate = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "rb") as f:
    f.seek(begin_byte - begin_byte % 2)
    samples = array.array("h", f.read())
if sys.byteorder != "little":
    samples.byteswap()

block = rate // 50
quiet, loud = 64, 1000          # peaks of a null sink at rest, and of any bell
peaks = [max(map(abs, samples[i:i + block]), default=0) for i in range(0, len(samples), block)]
seconds = lambda n: n * block / rate
errors = []
if seconds(len(peaks)) < 62:
    sys.exit(f"only {seconds(len(peaks)):.1f} s recorded after Begin")

# Bursts: runs of blocks above the rest level, joined across gaps of under half a second.
bursts = []
for n, peak in enumerate(peaks):
    if peak <= quiet:
        continue
    if bursts and n - bursts[-1][1] < 25:
        bursts[-1][1] = n
        bursts[-1][2] = max(bursts[-1][2], peak)
    else:
        bursts.append([n, n, peak])
for start, end, peak in bursts:
    print(f"sound from {seconds(start):.2f} s to {seconds(end + 1):.2f} s after Begin, "
          f"peak {peak}")
if len(bursts) != 1:
    errors.append(f"{len(bursts)} bursts of sound after Begin, not one")
elif bursts[0][2] < loud:
    errors.append(f"the bell's peak is only {bursts[0][2]}")
else:
    start, end, peak = bursts[0]
    print(f"bell {seconds(end + 1 - start):.2f} s long, peak {peak}")
for e in errors:
    print("FAIL:", e)
sys.exit(1 if errors else 0)
PY
}

# The bell goes to the case's own sound server and is recorded there.
case_pulse() {
    private_home
    start_session_bus
    start_pulse || return
    start_stream_watch
    start_recording || return
    start_xvfb || return
    start_countdown || return
    local begin_byte
    begin_byte=$(stat -c %s "$work/sound.raw")
    echo "Begin at byte $begin_byte of the recording"
    sleep_until 63
    expect_counting
    sleep_until 66
    check_streams
    check_recording "$work/sound.raw" "$begin_byte" || failures=$((failures + 1))
}

# No sound server answers at the socket: the program gives its alarm without hanging or ending
# and counts the next countdown. $1 is refused (the socket is left from a server that is gone)
# or silent (something takes the connection and never answers, as a stalled server does).
case_no_server() {
    private_home
    start_session_bus
    if [ "$1" = refused ]; then
        python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
            "$work/pulse.socket"
    else
        e2e_start python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(8)
held = []
while True:
    held.append(s.accept())' "$work/pulse.socket"
        for _ in $(seq 100); do [ -S "$work/pulse.socket" ] && break; sleep 0.05; done
    fi
    start_xvfb || return
    start_countdown || return
    sleep_until 63
    expect_counting
    [ "$failures" -eq 0 ] && echo "the program counts on $(since_begin) s after Begin"
}

run_case() {
    e2e_init
    case $1 in
        pulse) case_pulse ;;
        *) case_no_server "$1" ;;
    esac
    if [ "$failures" -ne 0 ]; then
        for log in program pulse parec; do
            [ -s "$work/$log.log" ] && { echo "--- $log output"; cat "$work/$log.log"; }
        done
    fi
    [ "$failures" -eq 0 ]
}

run_cases sound "${cases[@]}"
