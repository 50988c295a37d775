#!/usr/bin/env bash
# Installs the Debian 12 packages Kalvex needs, only when some are missing.
# Safe to run on every build: with everything present it only asks dpkg.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libqt6svg6
    libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
    libopencv-core-dev libopencv-imgproc-dev
    libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev libtiff-dev
    libxcb1-dev libxcb-shm0-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth imagemagick fonts-wqy-microhei
    desktop-file-utils appstream poppler-utils
)
# Video recording needs vp8enc, webmmux and videoflip (gstreamer1.0-plugins-good, above) and
# the discoverer's headers (libgstreamer-plugins-base1.0-dev) for its test. H.264 in MP4 is
# used instead when x264enc is there.
if [[ ${KALVEX_BOOTSTRAP_H264:-0} == 1 ]]; then
    packages+=(gstreamer1.0-plugins-ugly)
fi
# Extra tools that only the benchmark and fuzzing scripts use.
if [[ ${KALVEX_BOOTSTRAP_EXTRAS:-0} == 1 ]]; then
    packages+=(enfuse hugin-tools clang libclang-rt-14-dev time gstreamer1.0-x)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "bootstrap: need root or sudo to install packages" >&2; exit 1; }
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
