#!/usr/bin/env bash
# check-package.sh ROOT BUILD_DIR: builds the package from the test build and checks what it
# holds, what it depends on, and that the program runs from a root it was unpacked into.
set -uo pipefail
root=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The tests run on a finished build: packaging it must not build beside them.
deb=$("$root/scripts/package.sh" --build-dir "$build" --no-build --out "$work") || { echo "FAIL: package.sh"; exit 1; }
echo "built $(basename "$deb")"
[[ $(basename "$deb") =~ ^kalvex_[0-9.]+_[a-z0-9]+\.deb$ ]] || fail "name $(basename "$deb")"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#')
for want in /usr/bin/kalvex /usr/lib/kalvex/libtavocap.so.0 \
    /usr/share/applications/kalvex.desktop /usr/share/metainfo/org.kalvex.Kalvex.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/kalvex.png /usr/share/icons/hicolor/128x128/apps/kalvex.png \
    /usr/share/icons/hicolor/256x256/apps/kalvex.png /usr/share/icons/hicolor/scalable/apps/kalvex.svg \
    /usr/lib/udev/rules.d/70-kalvex-camera-button.rules /usr/share/man/man1/kalvex.1.gz \
    /usr/share/doc/kalvex/copyright; do
    grep -qxF "$want" <<<"$files" || fail "missing $want"
done
# Nothing for developers or other programs: no headers, no link name, no library in the shared path.
if grep -E '^/usr/(include|local)/|/libtavocap\.so$|^/usr/lib/[^k][^/]*/libtavocap' <<<"$files"; then
    fail "files a runtime package must not hold"
fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for want in libqt6widgets6 libgstreamer1.0-0 libjpeg62-turbo libc6 libqt6svg6 gstreamer1.0-plugins-good; do
    grep -q "$want" <<<"$depends" || fail "Depends lacks $want"
done
grep -qE -- '-dev\b' <<<"$depends" && fail "Depends names a -dev package"

# The unpacked program finds its private library and answers without a display.
dpkg -x "$deb" "$work/root"
runpath=$(readelf -d "$work/root/usr/bin/kalvex" | sed -n 's/.*RUNPATH.*\[\(.*\)\]/\1/p')
[[ $runpath == '$ORIGIN/../lib/kalvex' ]] || fail "RUNPATH '$runpath'"
version=$(env -u DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/kalvex" --version) || fail "--version exit"
[[ $version =~ ^kalvex\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed '$version'"
# Read whole first: grep -q leaving early would make ldd die of SIGPIPE, failing the pipeline.
libraries=$(ldd "$work/root/usr/bin/kalvex")
grep -qF "=> $work/root/usr/bin/../lib/kalvex/libtavocap.so.0" <<<"$libraries" ||
    fail "the program does not load the packaged libtavocap"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/root/usr/share/applications/kalvex.desktop" || fail desktop-file-validate
else
    echo "skipped: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.kalvex.Kalvex.metainfo.xml" ||
        fail "appstreamcli validate"
else
    echo "skipped: appstreamcli is not installed"
fi
((failures == 0)) && echo "package checks passed"
exit $((failures > 0))
