#!/usr/bin/env bash
# The browser build in chromium, headless: how long the page takes to show
# the menu, and the main-thread time of a frame of play (five seconds of
# walking about); the median of five runs each.
set -euo pipefail
cd "$(dirname "$0")/.."
exec tests/web/web_page.sh "" "${1:-build}" --bench
