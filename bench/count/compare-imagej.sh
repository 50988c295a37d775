#!/usr/bin/env bash
# compare-imagej.sh KALVEX COUNT_PICTURES WORKDIR: counts three pictures (clean discs, grains
# under uneven light, noisy cells) with `kalvex --count` and with ImageJ's Analyze Particles
# (8-connected, same threshold, run under Xvfb) and compares them: the same objects with the
# same areas, perimeter and Feret's diameters within 2 % for objects of 100 pixels or more.
# Prints the comparison table. Exit 77 (skipped) when ImageJ is not installed
# (Debian: apt-get install imagej).
set -euo pipefail
kalvex=$1 pictures=$2 work=$3
jar=${IMAGEJ_JAR:-/usr/share/java/ij.jar}
for need in java xvfb-run python3; do
    if ! command -v "$need" >/dev/null; then
        echo "SKIPPED: $need is not installed"
        exit 77
    fi
done
if [[ ! -f $jar ]]; then
    echo "SKIPPED: ImageJ is not installed ($jar missing; apt-get install imagej)"
    exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
"$pictures" "$work"

# picture | kalvex options | extra ImageJ options
cases=(
    "discs|--threshold 128|"
    "grains|--threshold auto --exclude-edges|exclude"
    "cells|--threshold auto --bright|"
)
rows=()
for entry in "${cases[@]}"; do
    IFS='|' read -r name options extra <<<"$entry"
    # shellcheck disable=SC2086
    "$kalvex" --count "$work/$name.png" $options -o "$work/$name-kalvex.csv" >/dev/null
    level=$(sed -n 's/^# threshold: level \([0-9]*\).*/\1/p' "$work/$name-kalvex.csv")
    if [[ $options == *--bright* ]]; then low=$level high=255; else low=0 high=$level; fi
    timeout 300 xvfb-run -a java -Xmx1g -jar "$jar" -batch "$here/analyze-particles.ijm" \
        "$work/$name.png,$work/$name-imagej.csv,$low,$high,$extra" >/dev/null
    rows+=("$name:$level:$work/$name-kalvex.csv:$work/$name-imagej.csv")
done
python3 "$here/compare-counts.py" "${rows[@]}"
