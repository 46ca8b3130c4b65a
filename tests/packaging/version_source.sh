#!/bin/bash
# The version is written once, in project() of CMakeLists.txt. A copy of the source tree with
# that one line changed is configured, and every place that shows the version must follow: the
# code's generated header, the Windows resource (compiled and read back), the AppStream release
# and the Debian package.
# Usage: version_source.sh SOURCE_DIR VERSION VERSION_TEXT
#   VERSION is project()'s version (2.0.0), VERSION_TEXT the application's (2.00).
set -euo pipefail
source_dir=$(readlink -f "$1")
version=$2
version_text=$3
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
"$here/windows_resource.sh" "$generated/kelto-zelbo-break.rc" 7.08 7 8 3 || {
    code=$?
    [ "$code" = 77 ] && echo "(the Windows resource was not compiled: no MinGW resource compiler)" \
        || fail "the Windows resource does not carry 7.8.3"
}
# No other file of the program writes the version out by hand, in any of the forms it is shown in.
dots() { printf '%s' "$1" | sed 's/\./\\./g'; }
written="$(dots "$version_text")\|$(dots "$version")\|${version//./,}\|\"Version: [0-9]"
for file in "$source_dir"/app/*.cpp "$source_dir"/shell/*.cpp "$source_dir"/shell/*.h \
            "$source_dir"/packaging/windows/*.rc.in "$source_dir"/packaging/linux/*.in; do
    grep -Hn "$written" "$file" && fail "$file writes the version itself"
done
[ "$failures" -eq 0 ] || exit 1
echo "one line of CMakeLists.txt gives every place its version"
