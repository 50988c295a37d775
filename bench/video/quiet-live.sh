#!/usr/bin/env bash
# quiet-live.sh KALVEX... [-s SECONDS] [-r ROUNDS]: the real program as a user starts it (fresh
# profile, the Test Pattern camera, left alone) against a bare GStreamer viewer of the same
# pattern, in one run on one Xvfb display: share of a core and wake-ups per second (voluntary
# context switches, of all threads and of the main thread as /proc/PID/status tells them) over
# SECONDS (default 10), at 640x480/15 and at 1920x1080/30
# with the grid on and 20 shapes drawn with the mouse; then how long after its start the first
# live frame is on the screen. Several programs (a build before and after a change, say) are
# measured in turns, ROUNDS times (default 1), so that they share the machine's load.
set -euo pipefail
seconds=10
rounds=1
programs=()
while (($#)); do
    case $1 in
    -s) seconds=$2 && shift 2 ;;
    -r) rounds=$2 && shift 2 ;;
    *) programs+=("$(readlink -f "$1")") && shift ;;
    esac
done
if ((${#programs[@]} == 0)); then
    echo "usage: quiet-live.sh KALVEX... [-s SECONDS] [-r ROUNDS]" >&2
    exit 2
fi
if [[ -z ${DISPLAY:-} ]]; then
    # A black root window, so nothing on the screen looks like the pattern before the program.
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -br" "$0" "${programs[@]}" -s "$seconds" \
        -r "$rounds"
fi
ticks=$(getconf CLK_TCK)
for tool in gst-launch-1.0 xdotool python3; do
    command -v "$tool" >/dev/null || { echo "quiet-live.sh: needs $tool" >&2 && exit 1; }
done
if ! gst-inspect-1.0 ximagesink >/dev/null 2>&1; then
    echo "quiet-live.sh: the bare viewer needs ximagesink (gstreamer1.0-x;" \
        "KALVEX_BOOTSTRAP_EXTRAS=1 scripts/bootstrap.sh)" >&2
    exit 1
fi

# sample PID: utime+stime ticks and voluntary switches of every thread of PID, and the main
# thread's switches.
sample() {
    local pid=$1 cpu=0 wakes=0 t main
    for t in /proc/"$pid"/task/*; do
        read -r -a stat <"$t/stat" 2>/dev/null || continue
        cpu=$((cpu + stat[13] + stat[14]))
        wakes=$((wakes + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status" 2>/dev/null || echo 0)))
    done
    main=$(awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$pid"/status 2>/dev/null || echo 0)
    echo "$cpu $wakes $main"
}

# The pid's top-level window once it is mapped.
window_of() {
    local pid=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -1) || true
        [[ -n $id ]] && echo "$id" && return 0
        sleep 0.1
    done
    return 1
}

# draw_shapes PID COUNT: lines and circles drawn as a user would, over the picture's area
# (the side panel on the left, so the picture starts 278 x 13 into the window).
draw_shapes() {
    local pid=$1 count=$2 id X Y WIDTH HEIGHT i x y
    id=$(window_of "$pid") || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
    local left=$((X + 278)) top=$((Y + 13)) w=$((WIDTH - 291 - 120)) h=$((HEIGHT - 184 - 120))
    xdotool mousemove $((left + 5)) $((top + 5)) click 1
    for ((i = 0; i < count; ++i)); do
        x=$((left + 40 + (i % 5) * w / 5))
        y=$((top + 40 + (i / 5) * h / 4))
        if ((i % 2 == 0)); then
            xdotool key l mousemove "$x" "$y" mousedown 1 mousemove $((x + 30)) $((y + 15)) \
                mousemove $((x + 60)) $((y + 30)) mouseup 1
        else
            xdotool key c mousemove "$x" $((y + 30)) click 1 mousemove $((x + 30)) "$y" click 1 \
                mousemove $((x + 60)) $((y + 30)) click 1
        fi
        sleep 0.05
    done
    xdotool key Escape
}

# measure LABEL SHAPES COMMAND...: starts it, lets it settle 3 s (drawing SHAPES meanwhile),
# measures for SECONDS; prints "cpu% wakes/s main-thread-wakes/s".
measure() {
    local shapes=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 3
    if ((shapes)); then
        draw_shapes "$pid" "$shapes" || echo "quiet-live.sh: no window to draw on" >&2
        sleep 1
    fi
    read -r cpu0 wakes0 main0 < <(sample "$pid")
    sleep "$seconds"
    read -r cpu1 wakes1 main1 < <(sample "$pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    awk -v c=$((cpu1 - cpu0)) -v w=$((wakes1 - wakes0)) -v m=$((main1 - main0)) -v s="$seconds" \
        -v t="$ticks" 'BEGIN { printf "%.2f %.1f %.1f\n", 100 * c / t / s, w / s, m / s }'
}

profile() { # profile WIDTH HEIGHT GRID: a fresh home with those settings
    local home
    home=$(mktemp -d)
    mkdir -p "$home/.config/kalvex" "$home/Pictures"
    printf '[GENERAL]\nm_nVideoWidth=%s\nm_nVideoHeight=%s\nm_nDisp=1\nm_strImagePath=%s\n[COLORSETTING]\nGridShow=%s\n' \
        "$1" "$2" "$home/Pictures" "$3" >"$home/.config/kalvex/Setting.ini"
    echo "$home"
}

# first_frame HOME PROGRAM: seconds from the start to the first pattern pixel on the screen (the
# pattern's magenta bar, which nothing else on the screen shows), watched every millisecond.
first_frame() {
    env HOME="$1" QT_QPA_PLATFORM=xcb KALVEX_TEST_PATTERN="smpte framerate=15/1" \
        python3 - "$2" --test-camera <<'EOF'
import ctypes, subprocess, sys, time
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.c_void_p]
display = x.XOpenDisplay(None)
root = x.XDefaultRootWindow(display)
width, row = 1920, 300

def magenta():
    image = x.XGetImage(display, root, 0, row, width, 1, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return False
    data = ctypes.cast(ctypes.c_void_p.from_address(image + 16).value, ctypes.c_void_p).value
    pixels = ctypes.string_at(data, width * 4)
    x.XDestroyImage(image)
    for i in range(0, width * 4, 16):
        b, g, r = pixels[i], pixels[i + 1], pixels[i + 2]
        if r > 150 and b > 150 and g < 60:
            return True
    return False

# What an earlier program left on the screen goes first.
settle = time.monotonic()
while magenta() and time.monotonic() - settle < 10:
    time.sleep(0.05)
start = time.monotonic()
program = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
seen = None
while time.monotonic() - start < 20:
    if magenta():
        seen = time.monotonic() - start
        break
    time.sleep(0.001)
program.terminate()
program.wait()
print("%.3f" % seen if seen is not None else "none")
EOF
}

bare() { # bare WIDTH HEIGHT FPS
    exec gst-launch-1.0 -q videotestsrc is-live=true pattern=smpte \
        ! "video/x-raw,width=$1,height=$2,framerate=$3/1" ! videoconvert ! ximagesink
}

label() { # label INDEX: the program's build folder and name
    echo "$(basename "$(dirname "$(dirname "${programs[$1]}")")")/$(basename "${programs[$1]}")"
}

declare -A result
for ((round = 1; round <= rounds; ++round)); do
    for c in "640 480 15 0 0" "1920 1080 30 1 20"; do
        read -r w h fps grid shapes <<<"$c"
        key="${w}x${h}"
        result["$key bare $round"]=$(measure 0 bare "$w" "$h" "$fps")
        for p in "${!programs[@]}"; do
            home=$(profile "$w" "$h" "$grid")
            result["$key $p $round"]=$(measure "$shapes" env HOME="$home" QT_QPA_PLATFORM=xcb \
                KALVEX_TEST_PATTERN="smpte framerate=$fps/1" "${programs[$p]}" --test-camera)
            rm -rf "$home"
        done
    done
    for p in "${!programs[@]}"; do
        home=$(profile 640 480 0)
        result["first $p $round"]=$(first_frame "$home" "${programs[$p]}")
        rm -rf "$home"
    done
done

for c in "640 480 15 0 0" "1920 1080 30 1 20"; do
    read -r w h fps grid shapes <<<"$c"
    key="${w}x${h}"
    echo
    echo "${w}x${h} at ${fps} fps$( ((grid)) && echo ", grid on, $shapes shapes"), $seconds s:"
    printf '  %-34s %12s %10s %18s %18s\n' "" "% of a core" "x bare" "wake-ups/s (all)" \
        "(main thread)"
    for ((round = 1; round <= rounds; ++round)); do
        read -r bcpu bwakes bmain <<<"${result["$key bare $round"]}"
        printf '  %-34s %12s %10s %18s %18s\n' "bare viewer (ximagesink) r$round" "$bcpu" "" \
            "$bwakes" "$bmain"
        for p in "${!programs[@]}"; do
            read -r cpu wakes main <<<"${result["$key $p $round"]}"
            printf '  %-34s %12s %10s %18s %18s\n' "$(label "$p") r$round" "$cpu" \
                "$(awk -v a="$cpu" -v b="$bcpu" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }')" \
                "$wakes" "$main"
        done
    done
done
echo
echo "first live frame on the screen after the start (s):"
for p in "${!programs[@]}"; do
    line=""
    for ((round = 1; round <= rounds; ++round)); do line+=" ${result["first $p $round"]}"; done
    printf '  %-34s%s\n' "$(label "$p")" "$line"
done
