#!/bin/bash
# Compiles the Windows executable's resource script with the MinGW resource compiler and checks
# the version strings it carries.
# Usage: windows_resource.sh RC_FILE VERSION_TEXT MAJOR MINOR PATCH
set -euo pipefail
rc=$1 text=$2 major=$3 minor=$4 patch=$5
windres=x86_64-w64-mingw32-windres
command -v "$windres" >/dev/null || { echo "SKIP: $windres is not installed"; exit 77; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$windres" --preprocessor=cpp -i "$rc" -o "$out" -O coff
strings=$(strings -el "$out")
for expected in "ProductName" "Kelto Zelbo Break" "FileVersion" "ProductVersion" "$text"; do
    grep -qx "$expected" <<<"$strings" || { echo "FAIL: no \"$expected\" in the resource"; exit 1; }
done
# FILEVERSION and PRODUCTVERSION MAJOR.MINOR.PATCH.0 in the fixed block: the signature, the
# structure's version, then each version as two little-endian words, high (major, minor) first.
word() { printf '%02x%02x' $(($1 & 255)) $(($1 >> 8)); }
version=$(word "$minor")$(word "$major")$(word 0)$(word "$patch")
od -An -tx1 -v "$out" | tr -d ' \n' | grep -q "bd04effe00000100$version$version" \
    || { echo "FAIL: fixed file and product version are not $major.$minor.$patch.0"; exit 1; }
echo "resource compiles and carries version $major.$minor.$patch.0 / $text"
