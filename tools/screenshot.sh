#!/usr/bin/env bash
# Pictures of the windows in build/screenshots/ (or $OUT): the screenshot
# cases of the window tests run on a virtual X server of 1366 x 768 with a
# window manager, so that the digitizer's states show the windows as a user
# sees them, frames and captions included; the program-generation windows are
# taken one by one; then capture with its marks and loupe, and the fitted
# curves over samples/graph.png; the plot window and the check window follow
# on the sample family. The demonstration states are driven by the tests, not
# by the program. Needs xvfb, xauth and openbox (installed when missing).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build/dev}
out=${OUT:-$root/build/screenshots}

"$root/tools/setup.sh" xvfb xauth openbox
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKX_BUILD_BENCH=OFF \
        -DKX_BUILD_FUZZ=OFF >/dev/null
fi
# The machine's builds share one lock when it exists.
if command -v flock >/dev/null; then
    flock /tmp/kx-build.lock cmake --build "$build" -j2 --target kx_results_tests \
        kx_plot_window_tests kx_marks_tests
else
    cmake --build "$build" -j2 --target kx_results_tests kx_plot_window_tests \
        kx_marks_tests
fi

mkdir -p "$out"
xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    status=0
    shots() { KX_SCREENSHOT_DIR="$1" QT_QPA_PLATFORM=xcb "$2" --gtest_filter="$3" || status=$?; }
    shots "$1" "$2/kx_results_tests" "Screenshots.*"
    shots "$1" "$2/kx_marks_tests" "MarksScreenshots.*"
    shots "$1" "$2/kx_plot_window_tests" "PlotScreenshots.*"
    shots "$1" "$2/kx_results_tests" "ValidationScreenshots.*"
    kill "$wm"
    exit "$status"' _ "$out" "$build/tests/ui"
ls -1 "$out"/*.png
