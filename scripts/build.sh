#!/usr/bin/env bash
# build.sh <build-dir> <build-type> [extra cmake args...]: configure once, then build on all cores.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1 type=$2
shift 2
if [[ ! -f $dir/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
fi
cmake --build "$dir" -j"$(nproc)"
