#!/bin/sh
# compare_listings.sh PROGRAM DATA EXPECTED WORK [OPTION...]
# Runs the command-line fit of DATA with the options into the folder WORK and
# compares every file it writes byte for byte with the folder EXPECTED. A run
# that falls short (status 3) still writes its listings and is compared too.
set -u
program=$1 data=$2 expected=$3 work=$4
shift 4
rm -rf "$work"
"$program" "$@" --out "$work" "$data" 2>"$work.stderr"
status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
    echo "the fit of $data ended with status $status:" >&2
    cat "$work.stderr" >&2
    exit 1
fi
if ! diff -rq "$expected" "$work" >/dev/null; then
    # The first differences are enough to see what changed.
    diff -r "$expected" "$work" | head -n 40
    echo "the listings of $data ($*) differ from $expected" >&2
    exit 1
fi
