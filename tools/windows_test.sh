#!/usr/bin/env bash
# The Windows build under Wine: its core tests, then kuvatelix-fit.exe on the
# sample and the test families, every listing and printed program compared
# byte for byte with the Linux build's.
#   tools/windows_test.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || { echo "no Wine: install wine64"; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$windows/wine-prefix} WINEDEBUG=-all
"$wine" wineboot --init >/dev/null 2>&1 || true

echo "== the core tests under Wine"
(cd "$windows" && ctest --output-on-failure)

fit_exe=$windows/src/cli/kuvatelix-fit.exe
fit=$linux/src/cli/kuvatelix-fit
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
families=("$root/samples/family.dat" "$root"/tests/golden/data/*.dat)
runs=0 differ=0

# One run on both builds: the same exit status, and the same bytes on
# standard output and in every file written; the same messages on standard
# error, which Windows ends with CR LF as its consoles do.
compare() {
    local name=$1
    shift
    mkdir -p "$work/linux/$name" "$work/windows/$name"
    local linux_status=0 windows_status=0
    (cd "$work/linux/$name" && "$fit" "$@" >stdout 2>stderr) || linux_status=$?
    (cd "$work/windows/$name" && "$wine" "$fit_exe" "$@" >stdout 2>stderr.crlf) ||
        windows_status=$?
    tr -d '\r' <"$work/windows/$name/stderr.crlf" >"$work/windows/$name/stderr"
    rm "$work/windows/$name/stderr.crlf"
    runs=$((runs + 1))
    if [ "$linux_status" != "$windows_status" ]; then
        echo "DIFFERS $name: exit status $linux_status on Linux, $windows_status on Windows"
        differ=$((differ + 1))
    elif ! diff -r "$work/linux/$name" "$work/windows/$name" >/dev/null; then
        echo "DIFFERS $name (< Linux, > Windows):"
        local a b
        while read -r a b; do
            echo "${a#"$work/linux/"}:"
            diff <(iconv -f CP932 -t UTF-8 "$a" 2>/dev/null || cat "$a") \
                <(iconv -f CP932 -t UTF-8 "$b" 2>/dev/null || cat "$b") | head -n 8 || true
        done < <(diff -r --brief "$work/linux/$name" "$work/windows/$name" |
            sed -n 's/^Files \(.*\) and \(.*\) differ$/\1 \2/p' || true)
        differ=$((differ + 1))
    fi
}

echo "== kuvatelix-fit.exe against kuvatelix-fit"
for data in "${families[@]}"; do
    family=$(basename "$data" .dat)
    for mode in 0 1 2; do
        compare "${family}_mode$mode" --mode "$mode" --out listings "$data"
    done
    compare "${family}_basic" "$data"
    compare "${family}_c" --lang c "$data"
    compare "${family}_python" --lang python --out listings "$data"
    compare "${family}_check" --check "$data"
done
compare help --help
# A session file (SQLite) of the first schema version, read by both builds.
compare session_v1 "$root/tests/data/session_v1.kxs"
compare missing_file "$work/none.dat"
compare malformed --mode 7 "${families[0]}"
echo "$((runs - differ)) passed, $differ failed"
[ "$differ" -eq 0 ]
