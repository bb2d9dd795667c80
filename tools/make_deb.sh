#!/usr/bin/env bash
# Builds wobblewick_<version>_amd64.deb with CPack in its own build folder
# (installed under /usr) and checks it with lintian. Prints the package's path.
# Usage: tools/make_deb.sh [BUILD_DIR]   (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
# The install step builds only what it installs, not the tests and tools. A
# Debian game's program lives in /usr/games.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWOBBLE_WERROR=ON \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --target wobblewick install_docs >&2
rm -f "$build"/wobblewick_*.deb
(cd "$build" && cpack -G DEB >&2)
deb=$(ls "$build"/wobblewick_*.deb)
# Errors fail the build; warnings are shown.
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >&2
fi
echo "$deb"
