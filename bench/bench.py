#!/usr/bin/python3
"""Measures the program against a bare Qt window under a private Xvfb and checks the budgets.

Run by bench/run.sh (`make bench`), inside a D-Bus session that both programs share, so that
exec -> map times the program and not a bus daemon. Everything is watched from outside: window
maps are MapNotify events on the root window (no polling), keys go in through XTest, figures
come from /proc, timer wake-ups from strace, and the moment an alarm is given from the line the
bench's tracing program (the same program with a desktop that traces alarms, bench/tracing.cpp)
writes on stderr. Start-up is judged by the fastest of many strictly paired, alternating runs
of each program, which load on the machine cannot make faster; where the runs' own spread is
larger than the margin, the verdict is left open rather than failed. Prints a Markdown table;
exits 1 when a budget is missed, 2 when the bench itself could not run.
With --check, the test suite's short run: only one message-box alarm at T = 1, to see that the
bench still finds the program's windows and its alarm; no budgets. Exits 77 when Python's Xlib
or Xvfb is missing.
Usage: bench.py PROGRAM TRACING_PROGRAM BARE_WINDOW [--long] [--rounds N] [--startups N]
                [--out FILE]
       bench.py --check TRACING_PROGRAM
"""
import argparse
import os
import re
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time

try:
    from Xlib import X, XK, display, error
    from Xlib.ext import xtest
except ImportError:
    print("SKIP: Python's Xlib (python3-xlib) is not installed")
    sys.exit(77)

CAPTION = "Kelto Zelbo Break"
MINUTE = 60.0
WAKE_WINDOW = 20.0  # seconds of strace for the timer wake-ups


class BenchError(Exception):
    """The bench could not do what it needed to (not a missed budget)."""


def log(*args):
    print(*args, flush=True)


# ---------------------------------------------------------------------------------------------
# /proc

def proc_status(path):
    fields = {}
    with open(path) as f:
        for line in f:
            key, _, value = line.partition(":")
            fields[key] = value.split()[0] if value.split() else ""
    return fields


def sample(pid):
    """CPU of each thread and the main thread's context switches, now."""
    # schedstat's first field: each thread's CPU time in ns, the time utime+stime count in
    # 10 ms ticks.
    threads = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                threads[task] = int(f.read().split()[0])
        except FileNotFoundError:  # the thread just ended
            pass
    with open(f"/proc/{pid}/stat") as f:
        stat = f.read().rsplit(")", 1)[1].split()
    main = proc_status(f"/proc/{pid}/task/{pid}/status")
    return {
        "t": time.monotonic(),
        "threads": threads,
        "utime_stime_ms": (int(stat[11]) + int(stat[12])) * 1000 / os.sysconf("SC_CLK_TCK"),
        "vol": int(main["voluntary_ctxt_switches"]),
        "invol": int(main["nonvoluntary_ctxt_switches"]),
    }


def per_minute(before, after):
    """What the process did between two samples, scaled to a minute. A thread that ended in
    between (a thread pool's idle worker, say) loses only what it did after `before`."""
    scale = MINUTE / (after["t"] - before["t"])
    cpu_ns = sum(ns - before["threads"].get(task, 0) for task, ns in after["threads"].items())
    result = {"cpu_ms": cpu_ns / 1e6 * scale}
    for key in ("utime_stime_ms", "vol", "invol"):
        result[key] = (after[key] - before[key]) * scale
    return result


# poll(fds, nfds, timeout) = 0 (Timeout), after strace's time stamp: the main thread slept and a
# timer woke it.
TIMER_WAKE = re.compile(r"^(\d+\.\d+) \w*poll\(\[.*\], \d+, (\d+)\)\s+= 0 \(Timeout\)")


def timer_wakeups(x, pid, seconds):
    """How often a timer wakes the main thread, per second, over about `seconds`: the poll()
    calls with a timeout that returned because it ran out, not because a window-system event or
    other input came. Counted between the first and the last such wake-up, so that attaching
    and detaching in the middle of a sleep do not count."""
    with tempfile.NamedTemporaryFile(mode="r", prefix="kzb-strace-") as trace:
        tracer = subprocess.Popen(["strace", "-qq", "-ttt", "-e", "trace=poll,ppoll", "-o",
                                   trace.name, "-p", str(pid)], stderr=subprocess.DEVNULL)
        x.wait(seconds)
        tracer.send_signal(signal.SIGINT)
        tracer.wait()
        wakes = [float(m.group(1)) for m in map(TIMER_WAKE.search, trace)
                 if m and int(m.group(2)) > 0]
    if tracer.returncode not in (0, -signal.SIGINT, 130):
        raise BenchError(f"strace failed ({tracer.returncode}): is ptrace allowed here?")
    if len(wakes) < 2:
        return len(wakes) / seconds
    return (len(wakes) - 1) / (wakes[-1] - wakes[0])


def memory(pid):
    status = proc_status(f"/proc/{pid}/status")
    return {"rss": int(status["VmRSS"]) / 1024, "hwm": int(status["VmHWM"]) / 1024}  # MiB


# ---------------------------------------------------------------------------------------------
# The X server and what is seen on it

class Window:
    def __init__(self, wid, name, pid, kind, override, states=()):
        self.id, self.name, self.pid, self.kind, self.override = wid, name, pid, kind, override
        self.states = states  # _NET_WM_STATE, without its prefix: MODAL, ...
        self.mapped = self.unmapped = None

    def __str__(self):
        return f"{self.name!r} ({self.kind or 'no type'}" + \
            "".join(f", {s}" for s in ("override-redirect",) * self.override + self.states) + ")"


class Xserver:
    """A private Xvfb, watched through SubstructureNotify on its root window."""

    def __init__(self, logfile):
        for attempt in range(3):  # another server may take the same display number at once
            self._start(logfile)
            try:
                self.d = display.Display(self.name)
                break
            except (error.DisplayConnectionError, error.ConnectionClosedError):
                self._stop()
        else:
            raise BenchError(f"cannot start Xvfb (see {logfile})")
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.atom = {name: self.d.intern_atom(name) for name in (
            "_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
            "_NET_WM_STATE")}
        self.d.sync()
        self.windows = {}

    def _start(self, logfile):
        read_end, write_end = os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            out = os.open(logfile, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
            os.dup2(out, 1)
            os.dup2(out, 2)
            os.set_inheritable(write_end, True)
            os.execvp("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1024x768x24", "-nolisten", "tcp", "-noreset"])
        os.close(write_end)
        # Kept open while the server runs: it writes its number again if it ever resets.
        self.number_pipe = read_end
        number = os.read(read_end, 32).decode().split()
        self.name = ":" + (number[0] if number else "none")

    def _stop(self):
        os.kill(self.pid, signal.SIGTERM)
        os.waitpid(self.pid, 0)
        os.close(self.number_pipe)

    def close(self):
        self.d.close()
        self._stop()

    def _describe(self, window):
        try:
            name = window.get_full_property(self.atom["_NET_WM_NAME"], self.atom["UTF8_STRING"])
            pid = window.get_full_property(self.atom["_NET_WM_PID"], X.AnyPropertyType)
            kind = window.get_full_property(self.atom["_NET_WM_WINDOW_TYPE"], X.AnyPropertyType)
            states = window.get_full_property(self.atom["_NET_WM_STATE"], X.AnyPropertyType)
            override = window.get_attributes().override_redirect
            kind = self.d.get_atom_name(kind.value[0]).removeprefix("_NET_WM_WINDOW_TYPE_") \
                if kind else None
            states = tuple(self.d.get_atom_name(a).removeprefix("_NET_WM_STATE_")
                           for a in states.value) if states else ()
        except error.XError:  # gone already
            return Window(window.id, None, None, None, False)
        return Window(window.id, name.value.decode() if name else None,
                      pid.value[0] if pid else None, kind, bool(override), states)

    def _handle(self, event, now):
        if event.type == X.MapNotify:
            window = self._describe(event.window)
            window.mapped = now
            self.windows[window.id] = window
        elif event.type in (X.UnmapNotify, X.DestroyNotify):
            window = self.windows.get(event.window.id)
            if window and window.unmapped is None:
                window.unmapped = now

    def pump(self, until, done=lambda: False):
        """Handles events until the monotonic time `until` or until done(); returns done()."""
        while not done():
            if not self.d.pending_events():
                left = until - time.monotonic()
                if left <= 0:
                    return False
                if not select.select([self.d], [], [], left)[0]:
                    continue
            # The moment the event reached us: before python-xlib decodes it.
            now = time.monotonic()
            while self.d.pending_events():
                self._handle(self.d.next_event(), now)
        return True

    def wait(self, seconds):
        self.pump(time.monotonic() + seconds)

    def wait_for(self, match, seconds, what, since=None):
        """Waits for a window mapped since then (by default: from now on) that matches."""
        start = time.monotonic()
        since = start if since is None else since
        found = []

        def done():
            found[:] = [w for w in self.windows.values()
                        if w.mapped and w.mapped >= since and match(w)]
            return bool(found)
        if not self.pump(start + seconds, done):
            seen = [str(w) for w in self.windows.values() if w.mapped and w.mapped >= since]
            raise BenchError(f"no {what} within {seconds:.0f} s; windows mapped meanwhile: "
                             + (", ".join(seen) or "none"))
        return found[0]

    def wait_unmapped(self, window, seconds, what):
        if not self.pump(time.monotonic() + seconds, lambda: window.unmapped is not None):
            raise BenchError(f"{what} still shown after {seconds:.0f} s")

    def focus(self, window):
        self.d.set_input_focus(window.id, X.RevertToParent, X.CurrentTime)
        self.d.sync()
        self.wait(0.3)

    def keys(self, *names):
        """Presses the keys in order and releases them in reverse, as a chord. Returns the time
        just before the last key went down."""
        codes = [self.d.keysym_to_keycode(XK.string_to_keysym(name)) for name in names]
        for code in codes[:-1]:
            xtest.fake_input(self.d, X.KeyPress, code)
        self.d.sync()
        pressed = time.monotonic()
        xtest.fake_input(self.d, X.KeyPress, codes[-1])
        self.d.flush()
        for code in reversed(codes):
            xtest.fake_input(self.d, X.KeyRelease, code)
        self.d.sync()
        self.wait(0.15)
        return pressed


# ---------------------------------------------------------------------------------------------
# The programs

class Run:
    """One program started on the X server, the clock started just before its exec."""

    def __init__(self, xserver, program, logfile):
        self.x = xserver
        env = dict(os.environ, DISPLAY=xserver.name, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        read_end, write_end = os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            try:
                out = os.open(logfile, os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644)
                os.dup2(out, 1)
                os.dup2(out, 2)
                os.write(write_end, struct.pack("d", time.monotonic()))
                os.execve(program, [program], env)
            finally:
                os._exit(127)
        os.close(write_end)
        self.started = struct.unpack("d", os.read(read_end, 8))[0]
        os.close(read_end)

    def window(self, match, seconds, what, since=None):
        return self.x.wait_for(lambda w: w.pid == self.pid and match(w), seconds, what, since)

    def first_map_ms(self):
        mapped = [w.mapped for w in self.x.windows.values() if w.pid == self.pid and w.mapped]
        return (min(mapped) - self.started) * 1000

    def sleep_until(self, seconds_after_start):
        self.x.pump(self.started + seconds_after_start)

    def stop(self):
        os.kill(self.pid, signal.SIGTERM)
        for _ in range(60):
            if os.waitpid(self.pid, os.WNOHANG)[0]:
                break
            time.sleep(0.05)
        else:
            os.kill(self.pid, signal.SIGKILL)
            os.waitpid(self.pid, 0)
        self.x.wait(0.3)  # let the server take the windows down


# The main window and the alarm message box have the same caption. The box is modal, whatever
# kind of window it is: on X11 it is a normal window of its own, not a dialog of the program's
# group, so that window managers do not keep it with the main window.
def is_main(w):
    return w.name == CAPTION and w.kind == "NORMAL" and not w.override \
        and "MODAL" not in w.states


def is_alarm_box(w):
    return w.name == CAPTION and w.kind in ("NORMAL", "DIALOG") and not w.override \
        and "MODAL" in w.states


def start_program(x, program, logfile, result):
    """Starts the program; returns it with its advertisement and main window once both show."""
    run = Run(x, program, logfile)
    ad = run.window(lambda w: w.name == "Advertisement", 10, "advertisement", run.started)
    main = run.window(is_main, 10, "main window", run.started)
    result["first_map"] = run.first_map_ms()
    result["main_map"] = (main.mapped - run.started) * 1000
    return run, ad, main


def set_minutes(x, main, minutes):
    """Focuses the main window and types the minutes: the focus starts on Exit, Tab moves to the
    minutes box."""
    x.focus(main)
    x.keys("Tab")
    x.keys("Control_L", "a")
    for digit in str(minutes):
        x.keys(digit)


def measure_program(x, program, logfile, full):
    result = {}
    run, ad, main = start_program(x, program, logfile, result)
    try:
        if not full:
            return result
        run.sleep_until(10)
        result.update(memory(run.pid))
        x.wait_unmapped(ad, 25, "advertisement")
        result["ad_closed"] = ad.unmapped - run.started
        x.wait(2)
        before = sample(run.pid)
        x.wait(MINUTE)
        result["idle"] = per_minute(before, sample(run.pid))
        result["idle_timer_wakes"] = timer_wakeups(x, run.pid, WAKE_WINDOW)

        set_minutes(x, main, 5)
        x.keys("Alt_L", "b")
        x.wait(2)
        before = sample(run.pid)
        x.wait(MINUTE)
        result["counting"] = per_minute(before, sample(run.pid))
        result["counting_timer_wakes"] = timer_wakeups(x, run.pid, WAKE_WINDOW)
        if result["counting_timer_wakes"] < 0.5:
            raise BenchError("the countdown did not start (Alt+B)")
        return result
    finally:
        run.stop()


def measure_bare(x, program, logfile, full):
    result = {}
    run = Run(x, program, logfile)
    try:
        run.window(lambda w: not w.override, 10, "bare window")
        result["first_map"] = run.first_map_ms()
        if not full:
            return result
        run.sleep_until(3)
        before = sample(run.pid)
        run.sleep_until(10)
        result.update(memory(run.pid))
        x.pump(before["t"] + MINUTE)
        result["counting"] = per_minute(before, sample(run.pid))
        return result
    finally:
        run.stop()


# The Options menu's entries, by their access keys.
KINDS = {"beep": "m", "message-box": "s"}


def choose_kind(x, run, kind):
    """Options, then the kind's entry: the menu's own access keys, as the options' Alt+M is
    shared by two of them."""
    pressed = x.keys("Alt_L", "o")
    menu = run.window(lambda w: w.override, 10, "Options menu", pressed)
    x.keys(KINDS[kind])
    x.wait_unmapped(menu, 10, "Options menu")


def alarms_given(logfile, kind):
    """The monotonic times at which the program gave alarms of that kind, from its bench log."""
    with open(logfile) as f:
        return [float(fields[2]) for fields in map(str.split, f)
                if len(fields) == 3 and fields[:2] == ["kzb-bench", kind]]


def measure_alarms(x, program, logfile, count, kind):
    """T = 1: for each alarm, when the tick that gives it came against k minutes after Begin
    (the tick's time from the program's bench log), and for the message box when its window
    mapped. A box is dismissed at once; the next alarm is due a minute after the previous."""
    open(logfile, "w").close()
    result = {}
    run, _, main = start_program(x, program, logfile, result)
    try:
        x.wait(1)
        set_minutes(x, main, 1)
        choose_kind(x, run, kind)
        x.focus(main)
        # From the minutes box to Begin, then Return: the focused button is clicked as the key
        # goes down. (Alt+B would first show the button pressed for Qt's 100 ms.)
        x.keys("Tab")
        begin = x.keys("Return")
        alarms = []
        for k in range(1, count + 1):
            due = begin + k * MINUTE
            x.pump(due - 5)
            deadline = due + 10
            while len(alarms_given(logfile, kind)) < k:
                if time.monotonic() > deadline:
                    raise BenchError(f"no alarm #{k} ({kind}) within 10 s of its time: did "
                                     "Options or Begin not work?")
                x.pump(time.monotonic() + 0.02)
            given = alarms_given(logfile, kind)[k - 1]
            alarm = {"tick": (given - due) * 1000}
            if kind == "message-box":
                box = run.window(is_alarm_box, 10, f"alarm message box #{k}", due - 5)
                alarm["shown"] = (box.mapped - given) * 1000
                # Keys do nothing in an alarm box for its first second (typing guard).
                x.wait(1.3)
                x.focus(box)
                x.keys("Return")
                x.wait_unmapped(box, 10, "alarm message box")
            log(f"  alarm {k}: " + ", ".join(f"{key} {value:+.1f} ms"
                                             for key, value in alarm.items()))
            alarms.append(alarm)
        return alarms
    finally:
        run.stop()


# ---------------------------------------------------------------------------------------------
# Figures, budgets and the table

def spread(values, fmt="{:.1f}"):
    values = [v for v in values if v is not None]
    if not values:
        return "n/a"
    median = fmt.format(statistics.median(values))
    if len(values) == 1:
        return median
    return f"{median} ({fmt.format(min(values))} – {fmt.format(max(values))})"


def median(values):
    return statistics.median(values)


def startup_verdict(program_ms, bare_ms, budget):
    """Whether the program starts within `budget` times the bare window: True, False, or None
    when the noise leaves it open; and the noise. Load only adds time, so the fastest run of each
    is what it costs itself; the bare window's median above its fastest run says how much noise
    there was, and a ratio over the budget by less than that is not taken as a miss."""
    fastest, bare = min(program_ms), min(bare_ms)
    noise = (median(bare_ms) - bare) / bare
    if fastest <= budget * bare:
        return True, noise
    return (None if fastest <= budget * bare * (1 + noise) else False), noise


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def machine(start_load):
    def read(cmd):
        with os.popen(cmd) as p:
            return p.read().strip()
    with open("/proc/cpuinfo") as f:
        model = next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "?")
    with open("/proc/meminfo") as f:
        mem_kb = int(f.readline().split()[1])
    qt = read("dpkg-query -W -f='${Version}' libqt6core6") or "?"
    xvfb = read("dpkg-query -W -f='${Version}' xvfb") or "?"
    return [
        f"Date: {time.strftime('%Y-%m-%d %H:%M %Z')}",
        f"Machine: {os.cpu_count()} cores (nproc {read('nproc')}), {model}, "
        f"{mem_kb / 1024 / 1024:.1f} GiB memory",
        f"Kernel: {os.uname().release}; Qt {qt}; {read('g++ --version | head -n1')}; "
        f"Xvfb {xvfb}",
        f"Load average (1, 5, 15 min) at the start: {start_load}; at the end: {load_average()}",
    ]


def report(prog, bare, alarms, series, args, start_load):
    """Returns the lines of the report and the list of missed budgets."""
    def col(runs, key, sub=None):
        return [r[key][sub] if sub else r[key] for r in runs if key in r]

    checks = []  # (what, budget text, value text, met: True, False or None for open)

    def check(what, budget, value, met):
        checks.append((what, budget, value, met))
        return {True: "met", False: "**MISSED**", None: "open (noise)"}[met]

    p_map, b_map = min(col(prog, "first_map")), min(col(bare, "first_map"))
    startup_met, noise = startup_verdict(col(prog, "first_map"), col(bare, "first_map"), 1.25)
    p_hwm, b_hwm = median(col(prog, "hwm")), median(col(bare, "hwm"))
    idle_cpu = median(col(prog, "idle", "cpu_ms"))
    idle_wakes = max(col(prog, "idle_timer_wakes"))
    p_cpu, b_cpu = median(col(prog, "counting", "cpu_ms")), median(col(bare, "counting", "cpu_ms"))
    wakes = col(prog, "counting_timer_wakes")
    ticks = [a["tick"] for a in alarms]
    worst_tick = max(ticks, key=abs)

    rows = [
        ("exec → first window mapped, ms: fastest, then median (min – max)",
         f"{p_map:.1f}; " + spread(col(prog, "first_map")),
         f"{b_map:.1f}; " + spread(col(bare, "first_map")),
         f"{p_map / b_map:.2f}× (noise {noise * 100:.0f} %)", "≤ 1.25×",
         check("start-up", "≤ 1.25× bare", f"{p_map / b_map:.2f}×", startup_met)),
        ("exec → main window mapped, ms", spread(col(prog, "main_map")), "", "", "", ""),
        ("VmRSS 10 s after start, MiB", spread(col(prog, "rss")), spread(col(bare, "rss")),
         f"{median(col(prog, 'rss')) - median(col(bare, 'rss')):+.1f} MiB", "", ""),
        ("VmHWM 10 s after start, MiB", spread(col(prog, "hwm")), spread(col(bare, "hwm")),
         f"{p_hwm - b_hwm:+.1f} MiB", "≤ +5 MiB",
         check("peak memory", "≤ bare + 5 MiB", f"{p_hwm - b_hwm:+.1f} MiB",
               p_hwm <= b_hwm + 5)),
        ("advertisement closed after, s", spread(col(prog, "ad_closed"), "{:.3f}"), "", "", "",
         ""),
        ("idle: CPU, ms per minute", spread(col(prog, "idle", "cpu_ms"), "{:.2f}"), "", "",
         "≤ 10", check("idle CPU", "≤ 10 ms/min", f"{idle_cpu:.2f}", idle_cpu <= 10)),
        ("idle: utime+stime, ms per minute", spread(col(prog, "idle", "utime_stime_ms"), "{:.0f}"),
         "", "", "", ""),
        ("idle: timer wake-ups of the main thread per second",
         spread(col(prog, "idle_timer_wakes"), "{:.2f}"), "", "", "0",
         check("idle wake-ups", "no timer wakes the program", f"{idle_wakes:.2f}/s",
               idle_wakes == 0)),
        ("idle: main-thread context switches per minute",
         spread([i["vol"] + i["invol"] for i in col(prog, "idle")], "{:.0f}"), "", "", "", ""),
        ("counting: CPU, ms per minute", spread(col(prog, "counting", "cpu_ms")),
         spread(col(bare, "counting", "cpu_ms")), f"{p_cpu / b_cpu:.2f}×", "≤ 1.2×",
         check("counting CPU", "≤ 1.2× bare", f"{p_cpu / b_cpu:.2f}×", p_cpu <= 1.2 * b_cpu)),
        ("counting: utime+stime, ms per minute",
         spread(col(prog, "counting", "utime_stime_ms"), "{:.0f}"),
         spread(col(bare, "counting", "utime_stime_ms"), "{:.0f}"), "", "", ""),
        ("counting: timer wake-ups of the main thread per second",
         spread(wakes, "{:.2f}"), "", "", "1",
         check("counting wake-ups", "one timer wake-up a second",
               " ".join(f"{w:.2f}/s" for w in wakes),
               all(abs(w - 1) <= 0.02 for w in wakes))),
        ("counting: main-thread voluntary switches per minute",
         spread(col(prog, "counting", "vol"), "{:.0f}"),
         spread(col(bare, "counting", "vol"), "{:.0f}"), "", "", ""),
        ("counting: main-thread involuntary switches per minute",
         spread(col(prog, "counting", "invol"), "{:.0f}"),
         spread(col(bare, "counting", "invol"), "{:.0f}"), "", "", ""),
        (f"alarm (T = 1, message box, {len(alarms)} in a row): tick − (Begin + k·60 s), ms",
         spread(ticks), "", "", "within ±20",
         check("alarm", "tick within ±20 ms", f"{worst_tick:+.1f} ms", abs(worst_tick) <= 20)),
        ("alarm: message box mapped after its tick, ms", spread([a["shown"] for a in alarms]),
         "", "", "", ""),
    ]
    if series:
        errors = [a["tick"] for a in series]
        growth = errors[-1] - errors[0]
        worst = max(errors, key=abs)
        rows.append((f"{len(errors)} sound alarms in a row (T = 1): error of each tick, ms",
                     " ".join(f"{e:+.1f}" for e in errors), "", "", "within ±20",
                     check("alarm series", "every tick within ±20 ms", f"{worst:+.1f} ms",
                           abs(worst) <= 20)))
        rows.append(("growth of the error, last − first, ms", f"{growth:+.1f}", "", "", "≤ 5",
                     check("alarm drift", "no growth (≤ 5 ms)", f"{growth:+.1f} ms",
                           abs(growth) <= 5)))

    lines = machine(start_load) + [
        f"Runs: {len(prog)} start-ups of each program, in pairs, alternating which goes first; "
        f"{args.rounds} of them with the minute-long idle and counting measures; medians "
        "(min – max), start-up by the fastest run.",
        "",
        "| Measure | Program | Bare window | Program vs bare | Budget | Result |",
        "|---|---|---|---|---|---|",
    ]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    missed = [f"{what}: {value} (budget {budget})" for what, budget, value, met in checks
              if met is False]
    for what, budget, value, met in checks:
        if met is None:
            lines += ["", f"The {what} verdict is open: {value} against a budget of {budget}, "
                          "within the noise of this machine's runs. Run the bench again on a "
                          "quiet machine to settle it."]
    return lines, missed


def check(tracing):
    """The test suite's run of the one-alarm case: the bench finds the program's windows, the
    alarm comes and its box is found and dismissed. Only that; no budget is judged, as a loaded
    machine may run late. Everything it started, and its folder (the runtime folder too), is
    gone when it returns."""
    logdir = tempfile.mkdtemp(prefix="kzb-bench-check-")
    os.environ["XDG_RUNTIME_DIR"] = logdir
    try:
        x = Xserver(f"{logdir}/xvfb.log")
        try:
            measure_alarms(x, tracing, f"{logdir}/alarm.log", 1, "message-box")
        finally:
            x.close()
    except BenchError as e:
        log(f"FAIL: {e}")
        for name in sorted(os.listdir(logdir)):
            with open(f"{logdir}/{name}", errors="replace") as f:
                log(f"--- {name}, its end:\n" + "".join(f.readlines()[-20:]))
        sys.exit(2)
    finally:
        shutil.rmtree(logdir)
    log("The bench found the program's windows and its alarm.")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program", nargs="?")
    parser.add_argument("tracing", nargs="?",
                        help="the program with its alarms traced (bench/tracing.cpp)")
    parser.add_argument("bare", nargs="?")
    parser.add_argument("--check", metavar="TRACING_PROGRAM",
                        help="only one message-box alarm at T = 1, no budgets")
    parser.add_argument("--rounds", type=int, default=3,
                        help="runs with the minute-long idle and counting measures")
    parser.add_argument("--startups", type=int, default=15, help="start-up runs of each program")
    parser.add_argument("--alarms", type=int, default=3,
                        help="message-box alarms in a row for the alarm measure")
    parser.add_argument("--long", action="store_true",
                        help="also time 10 sound alarms in a row")
    parser.add_argument("--out", help="also write the report here")
    args = parser.parse_args()
    if not args.check and not args.bare:
        parser.error("PROGRAM, TRACING_PROGRAM and BARE_WINDOW are needed without --check")
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        sys.exit("bench.py runs inside a D-Bus session: see bench/run.sh")
    if not shutil.which("Xvfb"):
        log("SKIP: Xvfb is not installed")
        sys.exit(77)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(2))
    if args.check:
        check(args.check)
        return

    start_load = load_average()
    if float(start_load.split()[0]) > 1:
        log(f"Note: the machine is busy (load average {start_load}); the timings suffer.")
    logdir = tempfile.mkdtemp(prefix="kzb-bench-")
    os.environ.setdefault("XDG_RUNTIME_DIR", logdir)
    x = Xserver(f"{logdir}/xvfb.log")
    try:
        prog, bare = [], []
        for i in range(max(args.startups, args.rounds)):
            full = i < args.rounds
            order = [("program", measure_program, args.program, prog),
                     ("bare window", measure_bare, args.bare, bare)]
            for name, measure, path, results in (order if i % 2 == 0 else order[::-1]):
                log(f"run {i + 1}, {name}" + (": start-up, memory, idle, counting" if full
                                              and name == "program" else ": start-up, memory, "
                                              "ticking" if full else ": start-up"))
                r = measure(x, path, f"{logdir}/{os.path.basename(path)}.log", full)
                log("  " + ", ".join(f"{k} {v:.2f}" if isinstance(v, float) else
                                     f"{k} " + " ".join(f"{a} {b:.1f}" for a, b in v.items())
                                     for k, v in r.items()))
                results.append(r)
        log(f"alarm: T = 1, message box, {args.alarms} in a row")
        alarms = measure_alarms(x, args.tracing, f"{logdir}/alarm.log", args.alarms,
                                "message-box")
        series = None
        if args.long:
            log("alarm series: T = 1, sound, 10 alarms")
            series = measure_alarms(x, args.tracing, f"{logdir}/alarms.log", 10, "beep")
    except BenchError as e:
        log(f"bench failed: {e} (program output in {logdir})")
        sys.exit(2)
    finally:
        x.close()

    lines, missed = report(prog, bare, alarms, series, args, start_load)
    text = "\n".join(lines) + "\n"
    log("\n" + text)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text)
    if missed:
        log("Budgets missed:\n  " + "\n  ".join(missed))
        sys.exit(1)
    log("Every budget met.")


if __name__ == "__main__":
    main()
