#!/usr/bin/env bash
# run-live-idle-bench.sh [BASE_REF] [ROUNDS]: builds live_idle_bench on this tree and on BASE_REF
# (default: where this branch left main), then runs both in turns under Xvfb, ROUNDS times per
# case, so that "before" and "after" share the machine's load. CPU figures on a shared machine
# are noisy: compare rounds, not single lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
base=$(git -C "$root" rev-parse "${1:-$(git -C "$root" merge-base main HEAD)}")
rounds=${2:-3}
after=${KALVEX_BENCH_AFTER:-/tmp/build-bench-idle}
before=${KALVEX_BENCH_BEFORE:-/tmp/build-bench-idle-base}
options=(-DCMAKE_BUILD_TYPE=Release -DKALVEX_BUILD_BENCH=ON -DKALVEX_BUILD_TESTS=OFF)

cmake -S "$root" -B "$after" "${options[@]}" >/dev/null
cmake --build "$after" --target live_idle_bench -j2

# The base tree with this bench, and with the Test Pattern's frame-rate setting so that both
# see the same camera.
# Exported again only for another base, with fresh file times (tar -m) so make sees the change.
src=$before-src
if [[ $(cat "$src/.base" 2>/dev/null) != "$base" ]]; then
    rm -rf "$src"
    mkdir -p "$src"
    git -C "$root" archive "$base" | tar -x -m -C "$src"
    if ! grep -q 'patternRate' "$src/capture/CaptureGraph.cpp"; then
        git -C "$root" diff "$base"...HEAD -- capture/CaptureGraph.cpp | patch -s -d "$src" -p1
    fi
    echo "$base" >"$src/.base"
fi
cp "$root/bench/video/LiveIdleBench.cpp" "$root/bench/video/CMakeLists.txt" "$src/bench/video/"
cmake -S "$src" -B "$before" "${options[@]}" >/dev/null
cmake --build "$before" --target live_idle_bench -j2

run() {
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$1/bench/video/live_idle_bench" \
        "${@:2}" 2>/dev/null
}
cases=("640 480 15 0 0" "640 480 15 20 1" "1920 1080 30 20 1")
for ((round = 1; round <= rounds; ++round)); do
    echo "== round $round"
    for c in "${cases[@]}"; do
        # shellcheck disable=SC2086
        echo "before (${base:0:7}): $(run "$before" $c)"
        # shellcheck disable=SC2086
        run "$after" $c | sed '1s/^/after:         /'
    done
done
