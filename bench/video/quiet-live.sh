#!/usr/bin/env bash
# quiet-live.sh KALVEX [SECONDS]: the real program as a user starts it (fresh profile, the Test
# Pattern camera, left alone) against a bare GStreamer viewer of the same pattern, in one run on
# one Xvfb display: share of a core and wake-ups per second (voluntary context switches) over
# SECONDS (default 10), at 640x480/15 and 1920x1080/30 with the grid on.
set -euo pipefail
kalvex=$(readlink -f "$1")
seconds=${2:-10}
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
ticks=$(getconf CLK_TCK)
if ! gst-inspect-1.0 ximagesink >/dev/null 2>&1; then
    echo "quiet-live.sh: the bare viewer needs ximagesink (gstreamer1.0-x;" \
        "KALVEX_BOOTSTRAP_EXTRAS=1 scripts/bootstrap.sh)" >&2
    exit 1
fi

# cpu-and-wakes PID: utime+stime ticks and voluntary switches of every thread of PID.
sample() {
    local pid=$1 cpu=0 wakes=0 t
    for t in /proc/"$pid"/task/*; do
        read -r -a stat <"$t/stat"
        cpu=$((cpu + stat[13] + stat[14]))
        wakes=$((wakes + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")))
    done
    echo "$cpu $wakes"
}

# measure LABEL COMMAND...: starts it, lets it settle 3 s, measures for SECONDS.
measure() {
    local label=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 3
    read -r cpu0 wakes0 < <(sample "$pid")
    sleep "$seconds"
    read -r cpu1 wakes1 < <(sample "$pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v l="$label" -v c=$((cpu1 - cpu0)) -v w=$((wakes1 - wakes0)) -v s="$seconds" -v t="$ticks" \
        'BEGIN { printf "  %-34s %6.2f %% of a core %8.1f wake-ups/s\n", l, 100 * c / t / s, w / s }'
}

profile() { # profile WIDTH HEIGHT GRID: a fresh home with those settings
    local home
    home=$(mktemp -d)
    mkdir -p "$home/.config/kalvex"
    printf '[GENERAL]\nm_nVideoWidth=%s\nm_nVideoHeight=%s\nm_nDisp=1\n[COLORSETTING]\nGridShow=%s\n' \
        "$1" "$2" "$3" >"$home/.config/kalvex/Setting.ini"
    echo "$home"
}

for c in "640 480 15 0" "1920 1080 30 1"; do
    read -r w h fps grid <<<"$c"
    echo "${w}x${h} at ${fps} fps$( ((grid)) && echo ', grid on'):"
    measure "bare viewer (ximagesink)" gst-launch-1.0 -q videotestsrc is-live=true pattern=smpte \
        ! "video/x-raw,width=$w,height=$h,framerate=$fps/1" ! videoconvert ! ximagesink
    home=$(profile "$w" "$h" "$grid")
    measure "kalvex --test-camera" env HOME="$home" QT_QPA_PLATFORM=xcb \
        KALVEX_TEST_PATTERN="smpte framerate=$fps/1" "$kalvex" --test-camera
    rm -rf "$home"
done
