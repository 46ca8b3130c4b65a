#!/bin/bash
# The version is written once, in project() of CMakeLists.txt. A copy of the source tree with
# that one line changed is configured, and every place that shows the version must follow: the
# code's generated header, the Windows resource (compiled and read back), the AppStream release
# and the Debian package with its changelog and manual page; given Qt for Windows, the Windows
# packages' names and the installer's version too.
# Usage: version_source.sh SOURCE_DIR VERSION VERSION_TEXT [QT_FOR_WINDOWS]
#   VERSION is project()'s version (2.0.0), VERSION_TEXT the application's (2.00).
set -euo pipefail
source_dir=$(readlink -f "$1")
version=$2
version_text=$3
qt_windows=${4:-}
here=$(dirname "$(readlink -f "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/src"
# Build trees, whatever their names, are left out: one may be written to while this runs.
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude-tag-all=CMakeCache.txt \
    -cf - . | tar -C "$work/src" -xf -
cmake_lists=$work/src/CMakeLists.txt
sed -i 's/^\(project(KeltoZelboBreak VERSION \)[0-9.]*/\17.8.3/' "$cmake_lists"
changed=$(diff "$source_dir/CMakeLists.txt" "$cmake_lists" | grep -c '^>' || true)
[ "$changed" = 1 ] || { echo "FAIL: the version is not on one line of CMakeLists.txt"; exit 1; }

cmake -S "$work/src" -B "$work/build" -DKZB_BUILD_TESTS=OFF >"$work/configure.log" 2>&1 \
    || { cat "$work/configure.log"; exit 1; }
generated=$work/build/generated

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
grep -qx '#define KZB_VERSION_SHORT "7.8"' "$generated/kzb_version.h" \
    || fail "the About window's version is not 7.8"
grep -qx '#define KZB_VERSION_TEXT "7.08"' "$generated/kzb_version.h" \
    || fail "the application's version is not 7.08"
grep -q '<release version="7.8.3"' "$generated"/*.metainfo.xml \
    || fail "the metainfo release is not 7.8.3"
grep -q 'CPACK_PACKAGE_VERSION "7.8.3"' "$work/build/CPackConfig.cmake" \
    || fail "the Debian package's version is not 7.8.3"
grep -q '^kelto-zelbo-break (7\.8\.3) ' "$generated/doc/changelog" \
    || fail "the Debian changelog's entry is not 7.8.3"
grep -q '"Kelto Zelbo Break 7\.8\.3"' "$generated/doc/kelto-zelbo-break.1" \
    || fail "the manual page is not of 7.8.3"
"$here/windows_resource.sh" "$generated/kelto-zelbo-break.rc" 7.08 7 8 3 || {
    code=$?
    [ "$code" = 77 ] && echo "(the Windows resource was not compiled: no MinGW resource compiler)" \
        || fail "the Windows resource does not carry 7.8.3"
}
if [ -n "$qt_windows" ]; then
    cmake -S "$work/src" -B "$work/build-windows" -DKZB_BUILD_TESTS=OFF \
        "-DCMAKE_TOOLCHAIN_FILE=$work/src/packaging/windows/mingw-w64.cmake" \
        "-DCMAKE_PREFIX_PATH=$qt_windows" >"$work/configure-windows.log" 2>&1 \
        || { cat "$work/configure-windows.log"; exit 1; }
    grep -q 'CPACK_PACKAGE_FILE_NAME "kelto-zelbo-break-7.8.3-win64"' \
        "$work/build-windows/CPackConfig.cmake" || fail "the zip is not named for 7.8.3"
    grep -q '"kelto-zelbo-break-7.8.3-win64-setup"' "$work/build-windows/cpack_options.cmake" \
        || fail "the installer is not named for 7.8.3"
    grep -q 'CPACK_PACKAGE_VERSION "7.8.3"' "$work/build-windows/CPackConfig.cmake" \
        || fail "the installer's version is not 7.8.3"
    cmp -s "$generated/kelto-zelbo-break.rc" "$work/build-windows/generated/kelto-zelbo-break.rc" \
        || fail "the Windows build's resource script differs from the one checked above"
fi
# No other file of the program writes the version out by hand, in any of the forms it is shown in.
dots() { printf '%s' "$1" | sed 's/\./\\./g'; }
written="$(dots "$version_text")\|$(dots "$version")\|${version//./,}\|\"Version: [0-9]"
for file in "$source_dir"/app/*.cpp "$source_dir"/shell/*.cpp "$source_dir"/shell/*.h \
            "$source_dir"/packaging/windows/*.in "$source_dir"/packaging/windows/*.cmake \
            "$source_dir"/packaging/linux/*.in; do
    grep -Hn "$written" "$file" && fail "$file writes the version itself"
done
[ "$failures" -eq 0 ] || exit 1
echo "one line of CMakeLists.txt gives every place its version"
