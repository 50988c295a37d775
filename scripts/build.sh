#!/usr/bin/env bash
# build.sh <build-dir> <build-type> [extra cmake args...]: configure when the folder is new or
# the options differ from the last configure, then build on all cores.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1 type=$2
shift 2
options="-DCMAKE_BUILD_TYPE=$type $*"
stamp=$dir/.kalvex-configure-options
if [[ ! -f $dir/CMakeCache.txt || ! -f $stamp || $(cat "$stamp") != "$options" ]]; then
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
    printf '%s' "$options" >"$stamp"
fi
cmake --build "$dir" -j"$(nproc)"
