#!/bin/bash
# `make bench`: builds the program and the bench's bare Qt window in Release (build-bench/), then
# measures both under a private Xvfb with bench/bench.py and checks the budgets. Takes about
# twenty minutes; BENCH_LONG=1 also times ten alarms in a row (eleven minutes more).
# Extra arguments go to bench.py (--rounds N, --startups N, --alarms N).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKZB_BUILD_TESTS=OFF \
    -DKZB_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel --target kelto-zelbo-break kzb-bench-program kzb-bare-window

args=(--out "$build/bench-results.md")
[ "${BENCH_LONG:-0}" = 1 ] && args+=(--long)
# One session bus for the whole bench, up before any clock starts, so that exec -> map times
# the program and not a bus daemon's start; it goes when the bench ends.
exec dbus-run-session -- /usr/bin/python3 "$root/bench/bench.py" \
    "$build/kelto-zelbo-break" "$build/kzb-bench-program" "$build/kzb-bare-window" \
    "${args[@]}" "$@"
