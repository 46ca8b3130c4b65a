#!/bin/bash
# Compiles the Windows executable's resource script with the MinGW resource compiler and checks
# the version strings it carries.
# Usage: windows_resource.sh RC_FILE
set -euo pipefail
rc=$1
windres=x86_64-w64-mingw32-windres
command -v "$windres" >/dev/null || { echo "SKIP: $windres is not installed"; exit 77; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$windres" --preprocessor=cpp -i "$rc" -o "$out" -O coff
strings=$(strings -el "$out")
for expected in "ProductName" "Kelto Zelbo Break" "FileVersion" "ProductVersion" "2.00"; do
    grep -qx "$expected" <<<"$strings" || { echo "FAIL: no \"$expected\" in the resource"; exit 1; }
done
# FILEVERSION and PRODUCTVERSION 2.0.0.0: the fixed block holds 2 in the high word of each.
od -An -tx1 -v "$out" | tr -d ' \n' | grep -q 'bd04effe0000010000000200000000000000020000000000' \
    || { echo "FAIL: fixed file and product version are not 2.0.0.0"; exit 1; }
echo "resource compiles and carries version 2.0.0.0 / 2.00"
