#!/usr/bin/env bash
# Screenshots of the digitizer windows: the release program runs under a
# virtual X server once per demonstration state (KX_DEMO, see
# src/app/demo_state.h) and the whole screen is captured into
# build/screenshots/<state>.png.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
release=$root/build/release
program=${KX_PROGRAM:-$release/src/app/kuvatelix}
out=$root/build/screenshots
states=(${KX_STATES:-panel error marks capture message help})

if [ ! -x "$program" ]; then
    cmake -S "$root" -B "$release" -DCMAKE_BUILD_TYPE=Release -DKX_BUILD_TESTS=OFF \
        -DKX_BUILD_FUZZ=OFF -DKX_BUILD_BENCH=OFF >/dev/null
    # The machine's builds share one lock when it exists.
    if command -v flock >/dev/null; then
        flock /tmp/kx-build.lock cmake --build "$release" -j2 --target kuvatelix
    else
        cmake --build "$release" -j2 --target kuvatelix
    fi
fi

mkdir -p "$out"
for state in "${states[@]}"; do
    shot=$out/$state.png
    rm -f "$shot"
    KX_DEMO=$state QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1100x760x24" \
        bash -c '"$1" & pid=$!; sleep "${KX_SHOT_DELAY:-3}"; import -window root "$2"; kill "$pid"' \
        _ "$program" "$shot"
    echo "$shot"
done

# The program-generation windows, grabbed by their window tests.
KX_SCREENSHOT_PLATFORM=${KX_SCREENSHOT_PLATFORM:-xcb} "$root/tools/screenshot_results.sh"
