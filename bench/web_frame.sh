#!/usr/bin/env bash
# The main-thread time of a frame of play in the browser build (chromium,
# headless): the median of five runs of five seconds of walking about.
set -euo pipefail
cd "$(dirname "$0")/.."
exec tests/web/web_page.sh "" "${1:-build}" --bench
