#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, once.
# Only the missing ones are installed, so a second run costs nothing.
set -euo pipefail
packages=(
  cmake ninja-build g++ make pkg-config ccache
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  libsdl2-dev libsdl2-mixer-dev libstb-dev
  libvorbis-dev vorbis-tools
  xvfb xdotool x11-utils x11-apps openbox tmux
  dpkg-dev file xz-utils lintian desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
