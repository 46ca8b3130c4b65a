#!/bin/bash
# What `make test` runs once the packages are installed: the plain, sanitized, fuzz and Windows
# trees built and their suites run, in two chains side by side. The suites spend most of their
# time waiting for one-minute countdowns, so the builds take what they leave:
#   Linux:   the plain tree is built and its suite runs, with the sanitized and fuzz trees built
#            beside it at a lower priority; then the sanitized suite, with the fuzzers one at a
#            time beside it.
#   Windows: Qt for Windows, where its cache does not hold it yet, built from the start with its
#            progress shown once a minute at the lowest priority, so that it takes all the Linux
#            chain leaves while its suites wait; then the program and its packages, whose tests
#            under Wine run once the plain suite has, while the rest of the Windows tree builds
#            at the sanitized tree's priority; then the Windows unit tests under Wine.
# Each chain's builds write to a log in their tree (make-test.log), shown where they fail; the
# Windows suite's is shown always. Each step says when it ended.
# Usage: make_test.sh, run by the Makefile, which sets MAKE, BUILD_DIR, SAN_DIR, FUZZ_DIR,
# WIN_DIR and CTEST_JOBS.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
submake() { "$MAKE" --no-print-directory PACKAGES= "$@"; }
started=$(date +%s)
took() { echo "=== $* ($(( $(date +%s) - started )) s into make test)"; }
show_failed() { echo "$1 failed:"; tail -n 60 "$2"; }
mkdir -p "$SAN_DIR" "$FUZZ_DIR" "$WIN_DIR"
rm -f "$WIN_DIR/ctest.log"
# Made when the plain suite has run.
plain_ran=$WIN_DIR/plain-suite-ran
rm -f "$plain_ran"

# The Windows chain. Its exit code: 0 passed, 1 the suite failed, 2 a build failed.
windows_chain() {
    if ! packaging/windows/build-qt.sh --built 2>/dev/null; then
        echo "Qt for Windows is not in its cache: it is built beside the Linux suites (log: $WIN_DIR/qt.log)"
        if ! nice -n 19 packaging/windows/build-qt.sh \
                2> >(tee "$WIN_DIR/qt.log" | grep --line-buffered '^build-qt:' >&2) >/dev/null; then
            echo "building Qt for Windows failed:"
            tail -n 40 "$WIN_DIR/qt.log"
            return 2
        fi
        took "Qt for Windows built"
    fi
    # The program and its packages are a small build, made at once at the plain tree's priority.
    if ! "$MAKE" --no-print-directory PACKAGES= windows-packages >"$WIN_DIR/make-test.log" 2>&1; then
        show_failed "packing the Windows program" "$WIN_DIR/make-test.log"
        return 2
    fi
    took "the Windows program packed"
    { nice -n 10 cmake --build "$WIN_DIR" --parallel >>"$WIN_DIR/make-test.log" 2>&1 \
          && took "the Windows tree built"; } &
    local tree=$!
    # The suite's own tests, mostly waiting under Wine for the alarms of the program from the zip,
    # run while the unit tests build. Wine takes the cores in bursts, so they wait for the plain
    # suite, whose desktop cases type into real window managers, to end.
    until [ -e "$plain_ran" ]; do sleep 1; done
    (cd "$WIN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS" --label-exclude unit) \
        >"$WIN_DIR/ctest.log" 2>&1
    local suite=$?
    took "the Windows suite's own tests ran"
    if ! wait "$tree"; then
        show_failed "building the Windows tree" "$WIN_DIR/make-test.log"
        return 2
    fi
    (cd "$WIN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS" --label-regex unit) \
        >>"$WIN_DIR/ctest.log" 2>&1
    suite=$(( suite | $? ))
    took "the Windows unit tests ran"
    return $(( suite == 0 ? 0 : 1 ))
}
windows_chain &
windows=$!

submake build-all || { pkill -P "$windows"; kill "$windows"; exit 1; }
took "the plain tree built"

# Beside the plain suite: the sanitized and fuzz trees.
nice -n 10 "$MAKE" --no-print-directory PACKAGES= sanitized fuzz-build >"$SAN_DIR/make-test.log" 2>&1 &
linux_trees=$!
(cd "$BUILD_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS")
plain=$?
touch "$plain_ran"
took "the plain suite ran"
wait "$linux_trees" || { show_failed "building the sanitized and fuzz trees" "$SAN_DIR/make-test.log"; exit 1; }
took "the sanitized and fuzz trees built"

# The sanitized suite, with the fuzzers beside it.
submake fuzz-run FUZZ_JOBS=1 >"$FUZZ_DIR/make-test.log" 2>&1 &
fuzzed=$!
(cd "$SAN_DIR" && ctest --output-on-failure --parallel "$CTEST_JOBS")
sanitized=$?
took "the sanitized suite ran"
wait "$fuzzed"
fuzz=$?
cat "$FUZZ_DIR/make-test.log"

wait "$windows"
windows_result=$?
if [ -s "$WIN_DIR/ctest.log" ]; then
    echo "--- the Windows suite under Wine"
    cat "$WIN_DIR/ctest.log"
fi
[ "$plain" -eq 0 ] && [ "$sanitized" -eq 0 ] && [ "$fuzz" -eq 0 ] && [ "$windows_result" -eq 0 ]
