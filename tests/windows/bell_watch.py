#!/usr/bin/env python3
"""Prints the time of every bell rung on $DISPLAY, one a line, as seconds since the epoch.

The X server's RECORD extension reports each Bell request any client sends: Wine turns a
Windows program's system beep into one.
"""
import sys
import threading
import time

from Xlib import display
from Xlib.ext import record

BELL = 104  # the core protocol's Bell request


def main() -> int:
    control = display.Display()
    if not control.has_extension("RECORD"):
        print("the X server has no RECORD extension", file=sys.stderr)
        return 1
    context = control.record_create_context(0, [record.AllClients], [{
        "core_requests": (BELL, BELL), "core_replies": (0, 0),
        "ext_requests": (0, 0, 0, 0), "ext_replies": (0, 0, 0, 0),
        "delivered_events": (0, 0), "device_events": (0, 0), "errors": (0, 0),
        "client_started": False, "client_died": False}])
    # The context must exist on the server before the second connection enables it.
    control.sync()
    print("watching", flush=True)

    # The server hands what it recorded on only when it next sends anything to any client; a
    # round trip every 20 ms makes it do so at once, whatever the other clients do.
    def poke():
        while True:
            control.sync()
            time.sleep(0.02)

    threading.Thread(target=poke, daemon=True).start()

    def seen(reply):
        if reply.category == record.FromClient and reply.data and reply.data[0] == BELL:
            print(f"{time.time():.3f}", flush=True)

    display.Display().record_enable_context(context, seen)
    return 0


if __name__ == "__main__":
    sys.exit(main())
