#!/usr/bin/env bash
# The browser build in Debian's chromium, headless, driven by playwright-core
# (tests/web/web_page.mjs): no console error, the menu's canvas against the
# rasteriser, level 1's proof as key events, a reload keeping the high score.
# Arguments: the program and its build folder (for srftool); a third, --bench,
# serves the site to bench/web_bench.mjs instead.
set -euo pipefail
source "$(dirname "$0")/../script_support.bash"
build=$2
cd "$wobble_source"
# The page is the same whatever the native build; the sanitizer pass skips it.
if grep -q '^WOBBLE_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    echo "skipped: the browser build does not change under the sanitizers"
    exit 0
fi
if ! command -v em++ >/dev/null || ! [ -x /usr/bin/chromium ] || ! [ -d web/node_modules ]; then
    echo "FAILED: the browser test needs emscripten, chromium and web/node_modules (tools/setup.sh)"
    exit 1
fi
tools/web_build.sh >/dev/null
tmp=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server"; rm -rf "$tmp"' EXIT
# A port of its own, free now, so that tests running side by side do not meet.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory build-web/site >"$tmp/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
if [ "${3:-}" == --bench ]; then
    node bench/web_bench.mjs "http://127.0.0.1:$port/"
else
    node tests/web/web_page.mjs "http://127.0.0.1:$port/" "$build/srftool" "$tmp"
fi
