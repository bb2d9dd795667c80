#!/usr/bin/env bash
# Serves the browser version: tools/web_serve.sh [SITE] [PORT].
set -euo pipefail
site=${1:-build-web/site}
port=${2:-8000}
echo "Wobblewick! on http://localhost:$port/ (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
