#!/bin/bash
# Lists every function of src/ whose cognitive complexity is above 25, as
# clang-tidy's readability-function-cognitive-complexity measures it:
#   tools/check_complexity.sh BUILD_DIR
# BUILD_DIR holds compile_commands.json and is built (the window code includes
# files moc generates). Every .cpp under src/ that git tracks is analysed, two
# at a time; a function defined in a header under src/ is listed once.
# Prints `file:line function complexity` per function; exit status 0 when
# there is none, 1 when there is any, 2 when a file could not be analysed (a
# file that does not compile, or one the build does not compile). A file of
# another platform's layer (*_windows.cpp), which a Linux build never
# compiles, is named as not analysed but is no failure.
set -uo pipefail
if [ $# -ne 1 ]; then
    sed -n '2,12p' "$0" >&2
    exit 2
fi
threshold=25
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel) || exit 2
build=$(cd "$1" 2>/dev/null && pwd) || { echo "check_complexity: no folder $1" >&2; exit 2; }
database=$build/compile_commands.json
[ -f "$database" ] || { echo "check_complexity: no $database" >&2; exit 2; }
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT

cd "$root" || exit 2
git ls-files -z -- 'src/*.cpp' | tr '\0' '\n' | sort > "$work/tracked"
# A file missing from the database would be analysed with flags clang-tidy
# guesses from its neighbours: that is no check of it.
jq -r '.[].file' "$database" | sed "s|^$root/||" | sort -u > "$work/compiled"
comm -23 "$work/tracked" "$work/compiled" > "$work/missing"
grep -v '_windows\.cpp$' "$work/missing" > "$work/uncompiled"
grep '_windows\.cpp$' "$work/missing" > "$work/other_platform"

analyse() {
    local file=$1 log=$work/logs/$1
    mkdir -p "$(dirname "$log")"
    # GCC's flags are read by clang here: an option it does not know, or a
    # warning of its own made an error by -Werror, is no failure of the file.
    clang-tidy -p "$build" --quiet --checks='-*,readability-function-cognitive-complexity' \
        --config="{CheckOptions: [{key: readability-function-cognitive-complexity.Threshold, value: $threshold}]}" \
        --header-filter="^$root/src/" \
        --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-error \
        "$root/$file" > "$log.out" 2> "$log.err"
    echo $? > "$log.rc"
}
export -f analyse
export work build root threshold
comm -12 "$work/tracked" "$work/compiled" > "$work/analysed"
tr '\n' '\0' < "$work/analysed" | xargs -0 -r -n 1 -P 2 bash -c 'analyse "$1"' _

failed=0
while IFS= read -r file; do
    log=$work/logs/$file
    rc=$(cat "$log.rc" 2>/dev/null || echo missing)
    if [ "$rc" != 0 ] || grep -q ': error: ' "$log.out"; then
        failed=$((failed + 1))
        echo "$file: clang-tidy failed (status $rc):" >&2
        grep -h ': error: ' "$log.out" "$log.err" | head -5 >&2
        grep -h '^Error while' "$log.err" >&2
    fi
done < "$work/analysed"
while IFS= read -r file; do
    failed=$((failed + 1))
    echo "$file: not in $database, not analysed" >&2
done < "$work/uncompiled"
while IFS= read -r file; do
    echo "$file: another platform's, not analysed in this build" >&2
done < "$work/other_platform"

# "FILE:LINE:COL: warning: function 'NAME' has cognitive complexity of N (threshold T) [...]"
find "$work/logs" -name '*.out' -exec cat {} + 2>/dev/null |
    sed -n "s|^$root/\([^:]*\):\([0-9]*\):[0-9]*: warning: function '\(.*\)' has cognitive complexity of \([0-9]*\) (threshold.*|\1:\2 \3 \4|p" |
    sort -u -t: -k1,1 -k2,2n > "$work/above"
cat "$work/above"
above=$(wc -l < "$work/above")
files=$(wc -l < "$work/analysed")
if [ "$failed" -gt 0 ]; then
    echo "check_complexity: $failed of $(wc -l < "$work/tracked") files not analysed;" \
        "$above functions above $threshold in the rest"
    exit 2
fi
echo "check_complexity: $files files, $above functions above $threshold"
[ "$above" -eq 0 ]
