#!/usr/bin/env bash
# fuzz-image.sh [seconds per decoder, default 60]
# Builds the picture decoders' libFuzzer targets with clang (build-fuzz/) and runs the BMP, the
# JPEG, PNG, TIFF and the format-detecting target in turn from the seed corpus in fuzz/corpus/ and every
# other BMP and JPEG picture in the repository (test data, kept regressions). Every input
# that crashes or hangs a target is copied to tests/image/data/fuzz-regress/, which the unit
# tests replay.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz
regress=$root/tests/image/data/fuzz-regress

if [[ ! -f $build/CMakeCache.txt ]]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2

# The repository's own pictures join the seeds, sorted by their first bytes.
rm -rf "$build"/seeds-*
mkdir -p "$build/seeds-bmp" "$build/seeds-jpeg" "$build/seeds-png" "$build/seeds-tiff"
n=0
while IFS= read -r -d '' picture; do
    [[ -s $picture ]] || continue
    case $(head -c 2 "$picture" | od -An -tx1 | tr -d ' \n') in
    424d) kind=bmp ;;
    ffd8) kind=jpeg ;;
    8950) kind=png ;;
    4949 | 4d4d) kind=tiff ;;
    *) continue ;;
    esac
    n=$((n + 1))
    cp "$picture" "$build/seeds-$kind/$n-$(basename "$picture")"
done < <(find "$root" \( -path "$root/build*" -o -path "$root/.git" -o -path "$root/fuzz/corpus" \) \
    -prune -o -type f \( -iname '*.bmp' -o -iname '*.jpg' -o -iname '*.jpeg' \
    -o -iname '*.png' -o -iname '*.tif' -o -iname '*.tiff' \) -print0)
echo "== $n pictures of the repository join the seeds"

# A small quarantine keeps the resident size that of the inputs, not of freed blocks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:quarantine_size_mb=32}
status=0
for target in bmp jpeg png tiff any; do
    seeds="$build/seeds-$target"
    [[ -d $root/fuzz/corpus/$target ]] && seeds="$root/fuzz/corpus/$target $seeds"
    [[ $target == any ]] && seeds="$root/fuzz/corpus/bmp $root/fuzz/corpus/jpeg $build/seeds-bmp $build/seeds-jpeg $build/seeds-png $build/seeds-tiff"
    corpus=$build/corpus-$target
    artifacts=$build/artifacts-$target
    rm -rf "$artifacts"
    mkdir -p "$corpus" "$artifacts"
    # PNG inputs cost memory only for the bytes they hold: 256 MB is out of memory there.
    limit=2048
    [[ $target == png ]] && limit=256
    echo "== fuzz_image_$target for ${seconds}s"
    # shellcheck disable=SC2086
    "$build/fuzz_image_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -rss_limit_mb=$limit -malloc_limit_mb=$limit -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" $seeds >"$build/$target.log" 2>&1 || status=1
    grep -E "^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|SUMMARY" \
        "$build/$target.log" || true
    for found in "$artifacts"/*; do
        [[ -f $found ]] || continue
        cp "$found" "$regress/$target-$(basename "$found")"
        echo "kept $regress/$target-$(basename "$found")"
    done
done
exit $status
