#!/usr/bin/env bash
# Builds a portable archive, wobblewick-<version>-linux-x86_64.tar.gz: the
# program with its data beside it, so it runs from wherever it is unpacked
# (it needs the system's SDL2 and SDL2_mixer). Prints the archive's path.
# Usage: tools/make_dist.sh [BUILD_DIR]   (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWOBBLE_WERROR=ON \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --target wobblewick >&2
version=$("$build/wobblewick" --version | cut -d' ' -f2)
name=wobblewick-$version-linux-$(uname -m)
stage=$build/dist/$name
rm -rf "$build/dist" && mkdir -p "$stage"
cp -r data README.md packaging/wobblewick.6 "$stage/"
cp packaging/icons/256.png "$stage/wobblewick.png"
strip -o "$stage/wobblewick" "$build/wobblewick"
tar -C "$build/dist" --owner=0 --group=0 -czf "$build/$name.tar.gz" "$name"
echo "$build/$name.tar.gz"
