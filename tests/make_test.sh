#!/bin/bash
# What `make test` runs once the packages are installed: the plain, sanitized, fuzz and Windows
# trees built and their suites run, side by side where two cores allow it. The suites spend most
# of their time waiting for one-minute countdowns, so what builds beside them takes what they
# leave, at the lowest priority:
#   1. Qt for Windows, where its cache does not hold it yet, is built from the start, beside
#      everything else, with its progress shown once a minute.
#   2. The plain tree is built, and its suite runs; beside it the sanitized and fuzz trees are
#      built, and the Windows tree where Qt for Windows is there.
#   3. The sanitized suite runs, with the fuzzers one at a time and the Windows suite beside it.
#   4. Where Qt for Windows came later, its tree is built once it is there, and its suite runs.
# What runs beside writes to a log in its tree (make-test.log), shown where it fails; the Windows
# suite's is shown always. Each step says how long it took.
# Usage: make_test.sh, run by the Makefile, which sets MAKE, BUILD_DIR, SAN_DIR, FUZZ_DIR,
# WIN_DIR and CTEST_JOBS.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
submake() { "$MAKE" --no-print-directory PACKAGES= "$@"; }
started=$(date +%s)
took() { echo "=== $* ($(( $(date +%s) - started )) s into make test)"; }
show_failed() { echo "$1 failed:"; tail -n 60 "$2"; }
mkdir -p "$SAN_DIR" "$FUZZ_DIR" "$WIN_DIR"

qt=""
if ! packaging/windows/build-qt.sh --built 2>/dev/null; then
    echo "Qt for Windows is not in its cache: it is built beside the Linux suites (log: $WIN_DIR/qt.log)"
    nice -n 19 packaging/windows/build-qt.sh 2> >(tee "$WIN_DIR/qt.log" | grep --line-buffered '^build-qt:' >&2) >/dev/null &
    qt=$!
fi

submake build-all || exit 1
took "the plain tree built"

# Beside the plain suite: the sanitized and fuzz trees, and the Windows tree if Qt is there.
nice -n 19 "$MAKE" --no-print-directory PACKAGES= sanitized fuzz-build >"$SAN_DIR/make-test.log" 2>&1 &
linux_trees=$!
windows_tree=""
if [ -z "$qt" ]; then
    nice -n 19 "$MAKE" --no-print-directory PACKAGES= windows >"$WIN_DIR/make-test.log" 2>&1 &
    windows_tree=$!
fi
(cd "$BUILD_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS")
plain=$?
took "the plain suite ran"
wait "$linux_trees" || { show_failed "building the sanitized and fuzz trees" "$SAN_DIR/make-test.log"; exit 1; }
took "the sanitized and fuzz trees built"

# The sanitized suite, with the fuzzers and (where its tree is built) the Windows suite beside it.
submake fuzz-run FUZZ_JOBS=1 >"$FUZZ_DIR/make-test.log" 2>&1 &
fuzzed=$!
windows_suite=""
windows_built=1
if [ -n "$windows_tree" ]; then
    if wait "$windows_tree"; then
        windows_built=0
        (cd "$WIN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS") >"$WIN_DIR/ctest.log" 2>&1 &
        windows_suite=$!
    fi
fi
(cd "$SAN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS")
sanitized=$?
took "the sanitized suite ran"
wait "$fuzzed"
fuzz=$?
cat "$FUZZ_DIR/make-test.log"

# Qt for Windows came later: its tree now, and its suite.
if [ -n "$qt" ]; then
    if wait "$qt"; then
        took "Qt for Windows built"
        submake windows >"$WIN_DIR/make-test.log" 2>&1 && windows_built=0
    else
        echo "building Qt for Windows failed:"
        tail -n 40 "$WIN_DIR/qt.log"
    fi
    if [ "$windows_built" -eq 0 ]; then
        (cd "$WIN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS") >"$WIN_DIR/ctest.log" 2>&1 &
        windows_suite=$!
    fi
fi
windows=1
if [ "$windows_built" -ne 0 ]; then
    [ -s "$WIN_DIR/make-test.log" ] && show_failed "building the Windows tree" "$WIN_DIR/make-test.log"
elif [ -n "$windows_suite" ]; then
    wait "$windows_suite"
    windows=$?
    took "the Windows suite ran"
    echo "--- the Windows suite under Wine"
    cat "$WIN_DIR/ctest.log"
fi
[ "$plain" -eq 0 ] && [ "$sanitized" -eq 0 ] && [ "$fuzz" -eq 0 ] && [ "$windows" -eq 0 ]
