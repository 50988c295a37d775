#!/usr/bin/env bash
# Installs what is missing, builds Kalvex (Release) and starts it with the given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" "$root/build-release" Release -DKALVEX_BUILD_TESTS=OFF -DKALVEX_BUILD_BENCH=OFF

args=("$@")
if ! compgen -G "/dev/video*" >/dev/null; then
    echo "run.sh: no camera found (/dev/video*), starting with the Test Pattern camera."
    args=(--test-camera "${args[@]}")
fi
exec "$root/build-release/app/kalvex" "${args[@]}"
