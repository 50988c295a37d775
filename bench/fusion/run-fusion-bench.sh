#!/usr/bin/env bash
# run-fusion-bench.sh [BUILD_DIR] [COUNTS...]: the three fusion modes side by side with
# align_image_stack + enfuse and, when it is there, focus-stack, on synthetic focus stacks of
# 2592 x 1944 JPEGs (5 and 20 slices by default), still and moving (slice K magnified by
# 1 + 0.003 K about the centre and moved by (2K, -K) pixels): wall time, CPU time, peak memory
# and PSNR against the sharp truth. Every result is written losslessly (BMP or TIFF).
# KALVEX_FUSE_BIN picks the fusing program (default: fusion_cli from the build, which runs
# exactly what `kalvex --fuse` runs). FOCUS_STACK names a focus-stack binary (default: the one
# on PATH; its row is left out without one).
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
for tool in enfuse align_image_stack convert; do
    command -v $tool >/dev/null || { echo "$tool is not installed (enfuse, hugin-tools, imagemagick)" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is not installed (Debian package time)" >&2; exit 1; }
focus_stack=${FOCUS_STACK:-$(command -v focus-stack || true)}

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

sum() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f\n", a + b }'; }
psnr() { "$stack_tool" psnr "$truth" "$1"; }
# A TIFF (with alpha where nothing was covered) as a plain 24-bit BMP for the PSNR tool.
to_bmp() { convert "$1" -alpha off -type TrueColor -depth 8 "BMP3:$2"; }

row() { printf '%-7s %-6s %-34s %8s %8s %9s %8s\n' "$@"; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores (times are noisy on a shared machine)"
row stack images program "wall s" "CPU s" "peak MiB" "PSNR dB"
for kind in still moving; do
    for n in "${counts[@]}"; do
        dir=$work/$kind$n
        mkdir -p "$dir"
        if [[ $kind == moving ]]; then
            "$stack_tool" generate "$n" "$dir" 2592 1944 moving
        else
            "$stack_tool" generate "$n" "$dir"
        fi
        truth=$dir/truth.bmp
        inputs=("$dir"/slice_*.jpg)

        for mode in direct adjusted aligned; do
            read -r t c m < <(measure "$fuse_bin" --fuse $mode -o "$dir/$mode.bmp" "${inputs[@]}")
            row $kind "$n" "kalvex --fuse $mode" "$t" "$c" "$m" "$(psnr "$dir/$mode.bmp")"
        done

        # align_image_stack aligns to the first slice (-m: the magnification too); enfuse
        # then fuses by local contrast with a hard choice, as a focus stacker would.
        read -r t1 c1 m1 < <(measure align_image_stack -m -a "$dir/ais_" --use-given-order "${inputs[@]}")
        read -r t2 c2 m2 < <(measure enfuse --exposure-weight=0 --saturation-weight=0 \
            --contrast-weight=1 --hard-mask -o "$dir/enfuse.tif" "$dir"/ais_*.tif)
        to_bmp "$dir/enfuse.tif" "$dir/enfuse.bmp"
        row $kind "$n" "align_image_stack + enfuse" "$(sum "$t1" "$t2")" "$(sum "$c1" "$c2")" \
            "$((m1 > m2 ? m1 : m2))" "$(psnr "$dir/enfuse.bmp")"
        rm -f "$dir"/ais_*.tif

        if [[ -n $focus_stack ]]; then
            # Aligned to the first slice, uncropped; its output is padded about the centre to
            # a whole number of wavelet blocks.
            read -r t c m < <(measure "$focus_stack" --reference=0 --nocrop --threads=2 \
                --output="$dir/focus-stack.png" "${inputs[@]}")
            convert "$dir/focus-stack.png" -gravity center -crop 2592x1944+0+0 +repage \
                -type TrueColor -depth 8 "BMP3:$dir/focus-stack.bmp"
            row $kind "$n" "focus-stack" "$t" "$c" "$m" "$(psnr "$dir/focus-stack.bmp")"
        fi

        [[ -e $dir/oracle.bmp ]] && row $kind "$n" "(best slice per band, oracle)" - - - "$(psnr "$dir/oracle.bmp")"
        best=0
        for slice in "${inputs[@]}"; do
            p=$(psnr "$slice")
            best=$(awk -v a="$p" -v b="$best" 'BEGIN { print (a > b ? a : b) }')
        done
        row $kind "$n" "(best single slice)" - - - "$best"
        rm -rf "$dir"
    done
done
