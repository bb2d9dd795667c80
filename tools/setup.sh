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
  xvfb xdotool x11-utils x11-apps openbox tmux python3
  emscripten chromium
  libncurses-dev libtcod-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
  dpkg-dev file xz-utils lintian desktop-file-utils appstream imagemagick
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
# Node and npm drive the browser test. A machine that already has them (from
# another source than Debian's, whose npm package would then conflict) keeps its own.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${missing[@]}"
fi

# The browser test's driver, at the version the lock file names.
web=$(dirname "$0")/../web
if [ ! -f "$web/node_modules/.package-lock.json" ] ||
    [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
fi
