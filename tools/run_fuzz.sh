#!/usr/bin/env bash
# Runs every built fuzz target briefly over its seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-${FUZZ_SECONDS:-4}}
cd "$(dirname "$0")/.."
found=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  name=$(basename "$bin")
  corpus=fuzz/corpus/${name#fuzz_}
  work=$build/corpus-run/${name#fuzz_}
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -n "$corpus"/* "$work"/ 2>/dev/null || true
  echo "fuzz: $name for ${seconds}s"
  "$bin" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=0 "$work" 2>"$build/$name.log" \
    || { tail -n 40 "$build/$name.log"; exit 1; }
  found=1
done
[ $found -eq 1 ] || echo "fuzz: no targets built"
