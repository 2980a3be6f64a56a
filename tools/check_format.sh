#!/bin/bash
# Lists the tracked .cpp and .h files under src/, tests/, bench/ and fuzz/
# that the committed .clang-format would change:
#   tools/check_format.sh
# Exit status 0 when none would change, 1 when any would, 2 when clang-format
# could not check a file.
set -uo pipefail
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
cd "$root" || exit 2
style=$root/.clang-format
[ -f "$style" ] || { echo "check_format: no $style" >&2; exit 2; }
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT

git ls-files -z -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' |
    while IFS= read -r -d '' file; do [ -f "$file" ] && printf '%s\0' "$file"; done > "$work/files"
checked=$(tr -cd '\0' < "$work/files" | wc -c)
# Each file that differs is reported as "FILE:LINE:COL: error: code should be
# clang-formatted [-Wclang-format-violations]", once per change.
xargs -0 -r clang-format --dry-run --Werror --style="file:$style" < "$work/files" \
    > /dev/null 2> "$work/report"
status=$?
violation='^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted'
sed -n "s/$violation.*/\1/p" "$work/report" | sort -u > "$work/differ"
differ=$(wc -l < "$work/differ")
cat "$work/differ"
# Anything else clang-format said, or a failure without a change to report,
# means files went unchecked.
if grep -v "$violation" "$work/report" | grep -q ': error: ' ||
    { [ "$status" -ne 0 ] && [ "$differ" -eq 0 ]; }; then
    grep -v "$violation" "$work/report" | grep ': error: ' >&2
    echo "check_format: clang-format failed (status $status); $differ of $checked files differ"
    exit 2
fi
echo "check_format: $checked files, $differ differ from .clang-format"
[ "$differ" -eq 0 ]
