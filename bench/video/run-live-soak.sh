#!/usr/bin/env bash
# run-live-soak.sh [LIVE_SECONDS [SWITCHES]]: builds live_soak and runs it under Xvfb. Prints
# RSS, descriptors and threads per phase (live, time-lapse, recording with the drawing,
# Video/Still switches) with the growth per hour and per switch. A full soak: 3600 300.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KALVEX_SOAK_BUILD:-$root/build-soak}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVEX_SANITIZE= \
    -DKALVEX_BUILD_BENCH=ON -DKALVEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target live_soak -j2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/video/live_soak" \
    "${1:-180}" "${2:-300}" 2> >(grep -v '^QStandardPaths' >&2)
