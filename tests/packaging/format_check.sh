#!/bin/bash
# The C++ sources are formatted as the committed .clang-format describes.
# Usage: format_check.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
command -v clang-format >/dev/null || { echo "SKIP: clang-format is not installed"; exit 77; }
mapfile -t files < <(find app alarm_windows bench countdown forms fuzz shell tests tools \
    -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${files[@]}" 2>&1 | head -n 40
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { echo "FAIL: format with: clang-format -i \$(the files above)"; exit 1; }
echo "${#files[@]} files formatted as .clang-format says ($(clang-format --version))"
