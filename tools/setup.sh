#!/usr/bin/env bash
# Installs what is missing (Debian 12), then configures and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake g++ libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-multimedia-dev qt6-svg-dev libgl-dev xvfb xauth pulseaudio pulseaudio-utils
          fonts-dejavu-core imagemagick poppler-utils sox pkg-config libsndfile1-dev
          lilypond musescore3 desktop-file-utils appstream lintian help2man dpkg-dev file
          fakeroot openbox xdotool x11-utils qt6-translations-l10n
          clang libclang-rt-14-dev clang-format)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
