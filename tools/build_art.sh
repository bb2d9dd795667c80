#!/usr/bin/env bash
# Compiles every picture source under art/ into the file the game (or a
# reader) uses: art/<path>.txt -> data/<path>.srf, and art/docs/<path>.txt ->
# docs/<path>.png drawn at twice the size. Usage: tools/build_art.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tool=$build/srftool
if [ ! -x "$tool" ]; then
  echo "build_art: $tool not found; build first (cmake --build $build --target srftool)" >&2
  exit 1
fi
count=0
while IFS= read -r -d '' source; do
  rel=${source#art/}
  case $rel in
    docs/*)
      target=${rel%.txt}.png
      mkdir -p "$(dirname "$target")"
      "$tool" png "$source" "$target" --scale=2
      ;;
    *)
      target=data/${rel%.txt}.srf
      mkdir -p "$(dirname "$target")"
      "$tool" compile "$source" "$target"
      ;;
  esac
  count=$((count + 1))
done < <(find art -name '*.txt' -type f -print0 | sort -z)
echo "build_art: $count pictures"
