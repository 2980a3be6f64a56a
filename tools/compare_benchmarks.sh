#!/bin/bash
# Compares two builds of a benchmark program on a machine whose speed drifts:
# runs them in turns, each benchmark alone, and prints each one's best time.
#   tools/compare_benchmarks.sh OLD_PROGRAM NEW_PROGRAM 'BM_FitFamily' [ROUNDS]
# The filter is a regular expression of benchmark names; every benchmark it
# matches is compared. ROUNDS (default 8) alternations of OLD and NEW.
set -euo pipefail
if [ $# -lt 3 ]; then
    sed -n '2,6p' "$0" >&2
    exit 2
fi
old=$1
new=$2
filter=$3
rounds=${4:-8}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

names=$("$new" --benchmark_list_tests --benchmark_filter="$filter" | sed 's|/min_time:.*||' | sort -u)
for round in $(seq "$rounds"); do
    for which in old new; do
        program=${!which}
        for name in $names; do
            "$program" --benchmark_filter="^${name}(/min_time.*)?\$" --benchmark_min_time=0.3 \
                --benchmark_format=csv 2>/dev/null |
                awk -F, -v w="$which" '/^"BM/ {n = $1; gsub(/"/, "", n); sub(/\/min_time.*/, "", n); print n, w, $3}'
        done
    done
done | awk '{k = $1 " " $2; if (!(k in best) || $3 < best[k]) best[k] = $3}
            END {for (k in best) printf "%s %.2f ms\n", k, best[k]}' | sort
