#!/usr/bin/env bash
# package.sh [--build-dir DIR [--no-build]] [--out DIR]: builds kalvex_<version>_<arch>.deb.
# Without --build-dir, the Release build of run.sh in build-release/ (no tests); with it,
# the program of that build as it is (the package test uses the test build).
# Dependencies are computed from the binaries by dpkg-shlibdeps; only the plugins Qt and
# GStreamer load at run time, which no binary links, are named here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-release
out=$root
reuse=0
build_step=1
while (($#)); do
    case $1 in
    --build-dir) build=$(cd "$2" && pwd); reuse=1; shift 2 ;;
    --out) mkdir -p "$2"; out=$(cd "$2" && pwd); shift 2 ;;
    --no-build) build_step=0; shift ;; # the build is done (the tests run on it)
    *) echo "package.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

"$root/scripts/bootstrap.sh" >&2
if ((!reuse)); then
    # The options of run.sh, so both share one build; the prefix is given at install time.
    "$root/scripts/build.sh" "$build" Release -DKALVEX_BUILD_TESTS=OFF -DKALVEX_BUILD_BENCH=OFF >&2
elif ((build_step)); then
    cmake --build "$build" -j"$(nproc)" --target kalvex kalvex_icons >&2
fi

version=$(sed -n 's/^project(Kalvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/kalvex
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null

# What Debian asks of a binary package: stripped programs, a compressed man page, a copyright.
find "$stage" -type f \( -name '*.so*' -o -path '*/bin/*' \) -exec strip --strip-unneeded {} +
gzip -9n "$stage/usr/share/man/man1/kalvex.1"
install -D -m 644 "$root/res/copyright" "$stage/usr/share/doc/kalvex/copyright"

# dpkg-shlibdeps reads a source control file; our own library is found in the stage.
mkdir -p "$work/debian"
printf 'Source: kalvex\n\nPackage: kalvex\nArchitecture: any\n' >"$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O --ignore-missing-info -l"$stage/usr/lib/kalvex" \
    "$stage/usr/bin/kalvex" "$stage"/usr/lib/kalvex/libtavocap.so.* 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')
[[ -n $shlibs ]] || { echo "package.sh: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
plugins="libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good"

mkdir -p "$stage/DEBIAN"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: kalvex
Version: $version
Architecture: $arch
Maintainer: The Kalvex developers <kalvex@kalvex.org>
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $shlibs, $plugins
Recommends: qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk
Section: science
Priority: optional
Homepage: https://kalvex.org/
Description: live picture and measurement for USB microscopes
 Kalvex shows the live picture of a USB digital microscope or inspection
 camera, measures lines, angles, circles, distances, perpendiculars and areas
 in calibrated units, exports the results to CSV, saves pictures with or
 without the drawing and fuses a focus series into one sharp picture.
CONTROL

deb=$out/kalvex_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
