#!/usr/bin/env bash
# Builds the browser version into build-web/site/ with Debian's emscripten.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
# Debian's emscripten finds its JavaScript modules only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Debian ships the system libraries built, in a cache that may not be
# writable; where they are missing they are built into the build tree.
if [ ! -e "$(em-config CACHE)/sysroot_install.stamp" ]; then
    export EM_CACHE=$PWD/$build/emcache EM_FROZEN_CACHE=0
fi
# emcc puts ccache in front of the compiler it runs, so every clone shares one
# cache of the module's objects, as the native builds do.
if command -v ccache >/dev/null; then
    export EM_COMPILER_WRAPPER=ccache CCACHE_BASEDIR=$PWD
fi
if [ ! -f "$build/build.ninja" ]; then
    emcmake cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build"
