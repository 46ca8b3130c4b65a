#!/bin/bash
# Installs the build into a temporary prefix and checks the installed tree: the program, the
# desktop file, the AppStream metadata and the icons, with the freedesktop validators. Then packs
# the same tree as a Debian package, in a folder of its own, and checks that with lintian.
# Usage: install_check.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1
id=$2
version=$3
for tool in desktop-file-validate appstreamcli lintian; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -x "$prefix/bin/kelto-zelbo-break" ] || fail "bin/kelto-zelbo-break is missing or not executable"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
[ -f "$desktop" ] || fail "desktop file missing"
[ -f "$metainfo" ] || fail "metainfo missing"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

grep -qx "Icon=$id" "$desktop" || fail "the desktop file does not name the icon $id"
grep -qx "Exec=kelto-zelbo-break" "$desktop" || fail "the desktop file does not start the program"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no $version release"

for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$icon" ]; then
        fail "icon ${size}x${size} missing"
    elif ! file "$icon" | grep -q "PNG image data, $size x $size"; then
        fail "icon ${size}x${size} is $(file -b "$icon")"
    fi
done

# Nothing but these is installed: no test programs, no tools.
unexpected=$(cd "$prefix" && find . -type f ! -path './bin/kelto-zelbo-break' \
    ! -path "./share/applications/$id.desktop" ! -path "./share/metainfo/$id.metainfo.xml" \
    ! -path "./share/icons/hicolor/*/apps/$id.png" ! -path ./share/man/man1/kelto-zelbo-break.1.gz \
    ! -path ./share/doc/kelto-zelbo-break/copyright ! -path ./share/doc/kelto-zelbo-break/changelog.gz)
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"

# Debian's package checker finds neither error nor warning: the copyright file, the changelog,
# the manual page, the description's lines and a stripped program among them.
if cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
    code=0
    lintian "$work"/deb/*.deb >"$work/lintian.log" 2>&1 || code=$?
    if grep '^[EW]: ' "$work/lintian.log"; then
        fail "lintian finds errors or warnings in the package"
    elif [ "$code" -gt 1 ]; then
        cat "$work/lintian.log"
        fail "lintian could not check the package"
    fi
else
    cat "$work/cpack.log"
    fail "cpack could not make the Debian package"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed tree is complete and valid, and so is its Debian package"
