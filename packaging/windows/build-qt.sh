#!/usr/bin/env bash
# Builds Qt for 64-bit Windows, once, from Debian's own qt6-base source with Debian's MinGW-w64,
# as DLLs, into a cache folder outside the source tree that every later build reuses. Prints that
# folder's path on its last line of standard output.
#
#   packaging/windows/build-qt.sh           build if needed, print the prefix
#   packaging/windows/build-qt.sh --path    print the prefix it would use, build nothing
#   packaging/windows/build-qt.sh --built   whether the cache is complete (exit 0), build nothing
#
# The cache is complete only once its stamp file is written, after Qt installed without an error:
# a build that failed or was interrupted is started afresh next time. KZB_QT_CACHE overrides the
# cache's root folder.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache_root=${KZB_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelto-zelbo-break}
jobs=${KZB_QT_JOBS:-$(nproc)}

say() { echo "build-qt: $*" >&2; }

# The Windows Qt is the version of the Qt the host tools come from.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) \
    || { say "Debian's qt6-base-dev is not installed"; exit 1; }
qt_version=${host_version%%+*}
qt_version=${qt_version#*:}

# Only what the program and its tests load: Core, Gui, Widgets and Test, the windows and offscreen
# platforms, the windowsvista style and the JPEG, GIF and ICO readers. Debian's tarball lacks the
# wintab headers, so tablet events are off. Of the widgets, the dialogs, views and documents no
# window of the program uses are left out, with the Direct2D platform.
# The platform goes by direct2d1_1: Qt 6.4 builds the DirectWrite font database, which the windows
# platform links, only where direct2d itself is on; the windowsvista style asks for the tree and
# table views and the input dialog by name, so they stay.
configure_args=(
    -release -shared -xplatform win32-g++ -qt-host-path /usr
    -nomake tests -nomake examples
    -no-pkg-config -no-opengl -no-dbus -no-icu
    -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-freetype -qt-harfbuzz -qt-doubleconversion
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-printsupport
    -no-feature-concurrent -no-feature-tabletevent -no-feature-vulkan -no-feature-zstd
    -no-feature-direct2d1_1 -no-feature-graphicsview -no-feature-mdiarea -no-feature-dockwidget
    -no-feature-toolbox -no-feature-calendarwidget -no-feature-datetimeedit
    -no-feature-keysequenceedit -no-feature-fontcombobox -no-feature-lcdnumber -no-feature-dial
    -no-feature-filedialog -no-feature-colordialog -no-feature-fontdialog -no-feature-wizard
    -no-feature-progressdialog -no-feature-errormessage
    -no-feature-splashscreen -no-feature-systemtrayicon -no-feature-columnview
    -no-feature-filesystemmodel -no-feature-undocommand
    -no-feature-undoview -no-feature-style-stylesheet -no-feature-pdf -no-feature-textodfwriter
    -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
)
compiler_version=$(x86_64-w64-mingw32-g++-posix -dumpfullversion 2>/dev/null) \
    || { say "Debian's g++-mingw-w64-x86-64-posix is not installed"; exit 1; }
options_hash=$({ echo "$host_version"; echo "$compiler_version"; printf '%s\n' "${configure_args[@]}";
                 cat "$here/mingw-w64.cmake"; } | sha256sum | cut -c1-12)
prefix=$cache_root/qt-$qt_version-mingw-$options_hash
stamp=$prefix/kzb-complete

if [ "${1:-}" = --path ]; then echo "$prefix"; exit 0; fi
if [ "${1:-}" = --built ]; then [ -f "$stamp" ]; exit; fi
if [ -f "$stamp" ]; then echo "$prefix"; exit 0; fi

mkdir -p "$cache_root"
# One build at a time: a second caller waits for the first and then finds the cache complete.
exec 9>"$cache_root/build.lock"
if ! flock -n 9; then
    say "another build of Qt for Windows is running; waiting for it"
    flock 9
fi
if [ -f "$stamp" ]; then echo "$prefix"; exit 0; fi

start=$(date +%s)
say "building Qt $qt_version for Windows into $prefix"
say "this happens once per machine and takes 25 to 35 minutes on 2 cores"

# Debian's source package, fetched through an apt configuration of our own: a deb-src line for
# the archive the installed qt6-base-dev came from, with its own lists. The system's apt sources
# and lists are left alone.
source_dir=$cache_root/source/$host_version
if [ ! -f "$source_dir/done" ]; then
    origin=$(apt-cache policy qt6-base-dev | awk -v v="$host_version" '
        $1 == "***" || $1 == v { found = 1; next }
        found && $2 ~ /^[a-z]+:\/\// { print $2, $3; exit }')
    [ -n "$origin" ] || { say "cannot tell which archive qt6-base-dev came from"; exit 1; }
    read -r uri dist_component <<<"$origin"
    suite=${dist_component%%/*}
    component=${dist_component#*/}
    apt_dir=$cache_root/apt
    rm -rf "$apt_dir" "$source_dir"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d" \
             "$source_dir"
    echo "deb-src $uri $suite $component" >"$apt_dir/sources.list"
    apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
              -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
              -o "Dir::State::Lists=$apt_dir/lists"
              -o "Dir::Cache=$apt_dir" -o "Dir::Cache::archives=$apt_dir/archives"
              -o "APT::Sandbox::User=root")
    say "fetching Debian's qt6-base $host_version source from $uri $suite"
    apt-get "${apt_opts[@]}" update -qq
    (cd "$source_dir" && apt-get "${apt_opts[@]}" source -qq "qt6-base=$host_version" >&2)
    touch "$source_dir/done"
fi
src=$(find "$source_dir" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
[ -n "$src" ] || { say "no unpacked source in $source_dir"; exit 1; }

# The toolchain file is copied beside the result: Qt's own toolchain file loads it from there.
build=$cache_root/build-$options_hash
rm -rf "$prefix" "$build"
mkdir -p "$prefix" "$build"
cp "$here/mingw-w64.cmake" "$prefix/mingw-w64.cmake"

log=$build/build.log
say "configuring (log: $log)"
(cd "$build" && "$src/configure" -prefix "$prefix" "${configure_args[@]}" -- -G Ninja \
    "-DCMAKE_TOOLCHAIN_FILE=$prefix/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; say "configure failed"; exit 1; }

# Ninja's [done/total] lines, shown once a minute.
say "compiling with $jobs jobs"
set +e
ninja -C "$build" -j "$jobs" 2>&1 | tee -a "$log" | awk -v start="$start" '
    /^\[[0-9]+\/[0-9]+\]/ {
        now = systime()
        if (now - shown >= 60) {
            shown = now
            split(substr($1, 2), n, "[/\\]]")
            printf "build-qt: %d of %d steps, %d min\n", n[1], n[2], (now - start) / 60 > "/dev/stderr"
        }
    }'
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    grep -B2 -A20 'FAILED:' "$log" | head -n 60 >&2 || tail -n 40 "$log" >&2
    say "the build failed"
    exit 1
fi
cmake --install "$build" --strip >>"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; say "installing failed"; exit 1; }

# Qt's license and the notices of the third-party code it bundles, shipped with the program.
python3 "$here/qt_notices.py" "$src" "$prefix/licenses" \
    || { say "collecting Qt's license texts failed"; exit 1; }

rm -rf "$build"
echo "$qt_version $host_version built in $(( ($(date +%s) - start) / 60 )) min" >"$stamp"
say "done in $(( ($(date +%s) - start) / 60 )) minutes"
echo "$prefix"
