#!/usr/bin/env bash
# run-fusion-bench.sh [BUILD_DIR] [COUNTS...]: Direct Merge against enfuse on the same synthetic
# focus stacks of 2592 x 1944 JPEGs (5 and 20 by default): wall time, peak memory and PSNR
# against the sharp ground truth; and the wall time of the Adjusted Merge.
# KALVEX_FUSE_BIN picks the fusing program (default: fusion_cli from the build, which runs
# exactly what `kalvex --fuse` runs; set it to the kalvex binary once it takes --fuse).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
shift || true
counts=("$@")
[[ ${#counts[@]} -gt 0 ]] || counts=(5 20)

stack_tool=$build/bench/fusion/fusion_stack
fuse_bin=${KALVEX_FUSE_BIN:-$build/bench/fusion/fusion_cli}
for tool in "$stack_tool" "$fuse_bin"; do
    [[ -x $tool ]] || { echo "missing $tool: build the fusion_stack and fusion_cli targets" >&2; exit 1; }
done
command -v enfuse >/dev/null || { echo "enfuse is not installed" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed (Debian package time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/fusion-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a command under /usr/bin/time -v; prints "wall_seconds cpu_seconds peak_MiB". The CPU
# time (user + system) tells more than the wall time on a machine other jobs share.
measure() {
    local log=$work/time.log
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>"$work/cmd.err" || {
        echo "failed: $*" >&2
        cat "$work/cmd.err" >&2
        exit 1
    }
    awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i] }
        /User time \(seconds\)/ { cpu += $2 }
        /System time \(seconds\)/ { cpu += $2 }
        /Maximum resident set size/ { kb = $2 }
        END { printf "%.2f %.2f %.0f\n", s, cpu, kb / 1024 }' "$log"
}

row() { printf '%-6s %-26s %8s %8s %9s %8s\n' "$@"; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
row images program "wall s" "CPU s" "peak MiB" "PSNR dB"
for n in "${counts[@]}"; do
    dir=$work/stack$n
    mkdir -p "$dir"
    "$stack_tool" generate "$n" "$dir"
    inputs=("$dir"/slice_*.jpg)

    read -r t c m < <(measure "$fuse_bin" --fuse direct -o "$dir/direct.jpg" "${inputs[@]}")
    p=$("$stack_tool" psnr "$dir/truth.bmp" "$dir/direct.jpg")
    row "$n" "kalvex --fuse direct" "$t" "$c" "$m" "$p"

    # The same fusion written losslessly, as enfuse's TIFF is: the JPEG encoder's 4:2:0 chroma
    # costs this texture about 2 dB.
    read -r t c m < <(measure "$fuse_bin" --fuse direct -o "$dir/direct.bmp" "${inputs[@]}")
    p=$("$stack_tool" psnr "$dir/truth.bmp" "$dir/direct.bmp")
    row "$n" "kalvex --fuse direct, BMP" "$t" "$c" "$m" "$p"

    read -r t c m < <(measure enfuse --exposure-weight=0 --saturation-weight=0 --contrast-weight=1 \
        --hard-mask -o "$dir/enfuse.tif" "${inputs[@]}")
    convert "$dir/enfuse.tif" -alpha off -type TrueColor -depth 8 "BMP3:$dir/enfuse.bmp"
    p=$("$stack_tool" psnr "$dir/truth.bmp" "$dir/enfuse.bmp")
    row "$n" "enfuse (contrast, hard)" "$t" "$c" "$m" "$p"

    read -r t c m < <(measure "$fuse_bin" --fuse adjusted -o "$dir/adjusted.jpg" "${inputs[@]}")
    p=$("$stack_tool" psnr "$dir/truth.bmp" "$dir/adjusted.jpg")
    row "$n" "kalvex --fuse adjusted" "$t" "$c" "$m" "$p"

    for i in 0 1 2 3; do
        [[ -e $dir/slice_0$i.jpg ]] || continue
        p=$("$stack_tool" psnr "$dir/truth.bmp" "$dir/slice_0$i.jpg")
        row "$n" "(input slice $i)" - - - "$p"
    done
    rm -rf "$dir"
done
