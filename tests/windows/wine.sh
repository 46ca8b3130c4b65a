# Helpers shared by the Windows tests under Wine. Source it.
#
# Every Wine test works in a prefix of its own (WINEPREFIX) with a HOME of its own (a prefix's
# user folders link back to HOME), puts a time limit on every Wine call, and ends the Wine server
# of its prefix, and with it every Windows process it started, when it is done.

wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# Exits 77 (skipped) when Wine is not installed.
wine_require() {
    [ -x "$wine64" ] && [ -x "$wineserver" ] \
        || { echo "SKIP: Wine (Debian's wine and wine64) is not installed"; exit 77; }
}

# Uses the prefix $1 (made by wine_make_prefix) for the Wine calls that follow. Wine's server
# keeps its socket in a folder of TMPDIR that it leaves behind: beside the prefix, it goes with it.
wine_use_prefix() {
    export WINEPREFIX=$1
    export HOME=$1.home
    export TMPDIR=$1.tmp
    mkdir -p "$TMPDIR"
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko: the prefix would offer to download them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}

# Runs a Wine command in the current prefix, ended after $1 seconds, and returns Wine's status:
# for making a prefix, before anything else can run in it.
wine_call() {
    local limit=$1
    shift
    timeout -k 5 "$limit" "$wine64" "$@"
}

# The launcher that keeps a Windows program's exit code (keep_exit_code.cpp), given to each
# script that runs a Windows program.
keep_exit_code=""

# Runs the Windows program $2 with the arguments after it in the current prefix, ended after $1
# seconds, and returns the exit code Windows got from it, kept by the launcher even where Wine
# killed the program's Unix side after it ended. A code the launcher could not keep (the call ran
# out of time, say) is Wine's. A code of Windows beyond 255 whose low byte is 0 (an exception's)
# is returned as 1.
wine_run() {
    local limit=$1 program=$2 code_file status code
    shift 2
    [ -f "$keep_exit_code" ] || { echo "no exit-code launcher at '$keep_exit_code'"; return 1; }
    [[ $program == /* ]] && program=$(wine_path "$program")
    code_file=$(mktemp "$TMPDIR/exit-code.XXXXXX")
    KZB_EXIT_CODE_FILE=$(wine_path "$code_file") wine_call "$limit" "$keep_exit_code" "$program" "$@"
    status=$?
    if [ -s "$code_file" ]; then
        code=$(cat "$code_file")
        status=$((code & 255))
        [ "$code" -ne 0 ] && [ "$status" -eq 0 ] && status=1
    fi
    rm -f "$code_file"
    return "$status"
}

# Makes a new prefix at $1 that reports Windows 10, as the program's Qt expects, and uses it.
# A prefix left from an earlier run is removed first; its server is ended with it.
#
# The Wine server that made the prefix is ended before this returns. A program started while that
# server winds down its session (for some seconds after the last process) races with it: the
# desktop process cannot reach the service manager, waits 10 s for it ("Failed to start RpcSs
# service") and the program's first window comes that much later, or not at all. Started in a
# server of its own, the program's window comes within a few seconds.
#
# Where KZB_WINE_TEMPLATE names a prefix made so (prefix.sh template), the new prefix is a copy of
# it: Wine takes half a minute and more of both cores to make one.
wine_make_prefix() {
    local prefix=$1
    if [ -d "$prefix" ]; then
        WINEPREFIX=$prefix TMPDIR=$prefix.tmp timeout 10 "$wineserver" -k 2>/dev/null
        rm -rf "$prefix" "$prefix.home" "$prefix.tmp"
    fi
    mkdir -p "$prefix.home"
    if [ -f "${KZB_WINE_TEMPLATE:-}/kzb-template" ]; then
        wine_copy_prefix "$KZB_WINE_TEMPLATE" "$prefix" \
            || { echo "copying the Wine prefix $KZB_WINE_TEMPLATE failed"; return 1; }
        wine_use_prefix "$prefix"
        return 0
    fi
    wine_use_prefix "$prefix"
    # Off any display: nothing of the prefix's making shows on the developer's desktop.
    (
        unset DISPLAY WAYLAND_DISPLAY
        wine_call 180 wineboot -i && wine_call 60 winecfg /v win10
    ) >"$prefix.boot.log" 2>&1 \
        || { echo "making the Wine prefix $prefix failed:"; cat "$prefix.boot.log"; return 1; }
    wine_end
}

# Copies the prefix $1, whose server has ended, to $2. The Windows libraries and programs, nearly
# all of its size, are linked rather than copied: Wine never writes them. Every other file is a
# copy of its own, as Wine writes some of them in place (a registry file that has more than one
# link, among them). The user's folders link to the new prefix's HOME.
wine_copy_prefix() {
    local template=$1 prefix=$2 file
    cp -al "$template" "$prefix" || return 1
    find "$prefix" -type f ! -path "$prefix/drive_c/windows/system32/*" \
        ! -path "$prefix/drive_c/windows/syswow64/*" ! -path "$prefix/drive_c/windows/winsxs/*" \
        -print0 | while IFS= read -r -d '' file; do
            cp -p "$file" "$file.copy" && mv -f "$file.copy" "$file" || exit 1
        done || return 1
    find "$prefix/drive_c/users" -type l -lname "$template.home*" -print0 \
        | while IFS= read -r -d '' file; do ln -sfn "$prefix.home" "$file" || exit 1; done
}

# The Wine server of the current prefix, running or not, and the processes it serves, by name:
# for the report of a program that failed.
wine_server_state() {
    local pids server
    pids=$(grep -lxzs "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ | cut -d/ -f3)
    server=$(for pid in $pids; do
        [[ $(ps -o comm= -p "$pid") == wineserver* ]] && echo "pid $pid, since $(ps -o lstart= -p "$pid")"
    done)
    echo "${server:-not running}; processes in the prefix:" \
        "$(for pid in $pids; do ps -o comm= -p "$pid"; done | sort | uniq -c | tr -s ' \n' ' ')"
}

# Ends the Wine server of the current prefix and every Windows process running in it.
wine_end() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    timeout 20 "$wineserver" -k 2>/dev/null
    timeout 20 "$wineserver" -w 2>/dev/null
    return 0
}

# The Windows form of a path of this machine: Wine's drive Z: is the root folder.
wine_path() {
    printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"
}

# Starts the Windows program $2 from folder $1 on $DISPLAY, ended after 300 s, with its output in
# $work/program.log and its exit code in $work/exit-code once it ends; sets $main to its main
# window. No window within 30 s is a failure: in a server of its own the program's window comes
# within a few seconds (see wine_make_prefix), so that much time hides no hang.
wine_start_program() {
    local start_ns
    start_ns=$(date +%s%N)
    rm -f "$work/exit-code"
    (
        cd "$1" || exit
        wine_run 300 "$2"
        echo $? >"$work/exit-code"
    ) >"$work/program.log" 2>&1 &
    e2e_pids+=("$!")
    main=$(wait_other_window '^Kelto Zelbo Break$' none 30)
    [ -n "$main" ] || { fail "no main window within 30 s"; return 1; }
    echo "main window up after $(( ($(date +%s%N) - start_ns) / 1000000 )) ms"
}

# Waits up to $1 s for the program to end; sets $code to its exit code, or fails saying it still
# ran that long after $2.
wine_await_end() {
    for _ in $(seq $(($1 * 20))); do [ -s "$work/exit-code" ] && break; sleep 0.05; done
    if [ ! -s "$work/exit-code" ]; then
        fail "the program still runs $1 s after $2"
        return 1
    fi
    code=$(cat "$work/exit-code")
}
