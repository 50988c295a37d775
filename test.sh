#!/usr/bin/env bash
# Installs what is missing, builds Kalvex and runs every test with CTest.
#   ./test.sh          normal build in build/
#   ./test.sh --asan   AddressSanitizer + UBSan build in build-asan/
#   ./test.sh --tsan   ThreadSanitizer build in build-tsan/
# Further arguments go to ctest (for example -R Ini).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

dir=$root/build sanitize="" type=RelWithDebInfo
if [[ ${1:-} == --asan ]]; then
    dir=$root/build-asan sanitize=address type=Debug
    shift
elif [[ ${1:-} == --tsan ]]; then
    dir=$root/build-tsan sanitize=thread type=Debug
    shift
fi

"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" "$dir" "$type" -DKALVEX_SANITIZE="$sanitize" -DKALVEX_BUILD_BENCH=OFF

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Qt's own thread pool (image conversion while the pump draws) gives thousands of suppressed
# reports; matching each against every earlier racy address is what made the video tests slow.
# A real report still halts at once.
export TSAN_OPTIONS=${TSAN_OPTIONS:-suppressions=$root/scripts/tsan.supp:halt_on_error=1:second_deadlock_stack=1:suppress_equal_addresses=0}
cd "$dir"
ctest --output-on-failure -j"$(nproc)" --timeout 300 "$@"
