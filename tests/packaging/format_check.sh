#!/bin/bash
# The C++ sources are formatted as the committed .clang-format describes. They are formatted with
# the clang-format of Debian 12, whose major version is FORMATTED_WITH, and that version judges
# them. Another version lays out some code differently now and then, by its own rules rather than
# the code's: where it disagrees, the check is skipped and says so.
# Usage: format_check.sh SOURCE_DIR
set -uo pipefail
FORMATTED_WITH=14
cd "$1" || exit 1
command -v clang-format >/dev/null || { echo "SKIP: clang-format is not installed"; exit 77; }
version=$(clang-format --version)
major=$(sed -n 's/.*clang-format version \([0-9]*\).*/\1/p' <<<"$version")
mapfile -t files < <(find app alarm_windows bench countdown forms fuzz rules shell tests tools \
    -name '*.cpp' -o -name '*.h' | sort)
clang-format --dry-run --Werror "${files[@]}" 2>&1 | head -n 40
status=${PIPESTATUS[0]}
if [ "$status" -ne 0 ]; then
    if [ "$major" != "$FORMATTED_WITH" ]; then
        echo "SKIP: the sources are formatted with clang-format $FORMATTED_WITH, and this is" \
            "$version, which lays out the lines above otherwise"
        exit 77
    fi
    echo "FAIL: format with: clang-format -i \$(the files above)"
    exit 1
fi
echo "${#files[@]} files formatted as .clang-format says ($version)"
