#!/bin/sh
# Pictures of the program-generation, gauge, settings and keyboard-entry
# windows in build/screenshots/, grabbed by the window tests on the offscreen
# platform, or under xvfb-run with KX_SCREENSHOT_PLATFORM=xcb.
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/dev}
OUT=${OUT:-build/screenshots}
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug
flock /tmp/kx-build.lock cmake --build "$BUILD" -j2 --target kx_results_tests
mkdir -p "$OUT"
set -- env KX_SCREENSHOT_DIR="$PWD/$OUT" "$BUILD/tests/ui/kx_results_tests" \
    --gtest_filter='ResultsScreenshots.*'
if [ "${KX_SCREENSHOT_PLATFORM:-offscreen}" = xcb ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@"
else
    QT_QPA_PLATFORM=offscreen "$@"
fi
ls -1 "$OUT"/*.png
