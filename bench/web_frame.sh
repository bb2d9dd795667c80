#!/usr/bin/env bash
# The browser build in chromium, headless: how long the page takes to show its
# first picture and the menu (a key at each stage of the splash, and none),
# and the main-thread time of a frame of play (five seconds of walking about).
# Prints speed-table rows; RUNS runs each (5 unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
exec tests/web/web_page.sh "" "${1:-build}" --bench
