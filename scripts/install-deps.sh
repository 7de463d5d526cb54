#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Kalvexa
# needs; with the argument "fuzz", also clang and libFuzzer for make fuzz.
# Idempotent: packages already present are skipped, and the package lists are
# refreshed once, only when something has to be installed.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  g++ cmake make pkg-config libgtest-dev libbenchmark-dev
  # window, GL, audio and asset libraries
  libglfw3-dev libgl-dev libopenal-dev libstb-dev libvorbis-dev
  # headless display, input injection and a small window manager for window tests
  xvfb xauth xdotool x11-utils x11-xserver-utils jwm libx11-dev
  # screenshots of the art sheets and reading back captured sound
  imagemagick sox
  # validating the installed desktop entry and metainfo
  desktop-file-utils appstream
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libfuzzer-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
