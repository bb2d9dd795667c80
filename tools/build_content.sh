#!/usr/bin/env bash
# Rebuilds every compiled content file from its source under content/:
#   content/art/<path>.txt          -> data/<path>.srf (and from Wick's
#                                      portrait the program's icons,
#                                      packaging/icons/, where ImageMagick is)
#   content/art/docs/<path>.txt     -> docs/<path>.png, drawn at twice the size
#   content/animations/<name>.anim  -> data/surfaces/<name>.anm
#   content/levels/*.level          -> data/levels/<name>.lvl and .rot, and
#                                      the level pictures docs/levels/*.png
#   content/scores/<kind>/*.score   -> data/<kind>/<name>.ogg (only where
#                                      oggenc is installed: it takes minutes)
# Usage: tools/build_content.sh [BUILD_DIR]   (after building)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for tool in "$build/srftool" "$build/tools/levelc/levelc" "$build/tools/levelshot/levelshot"; do
  if [ ! -x "$tool" ]; then
    echo "build_content: $tool not found; build first (cmake --build $build)" >&2
    exit 1
  fi
done

pictures=0
while IFS= read -r -d '' source; do
  rel=${source#content/art/}
  case $rel in
    docs/*)
      target=${rel%.txt}.png
      mkdir -p "$(dirname "$target")"
      "$build/srftool" png "$source" "$target" --scale=2
      ;;
    *)
      target=data/${rel%.txt}.srf
      mkdir -p "$(dirname "$target")"
      "$build/srftool" compile "$source" "$target"
      ;;
  esac
  pictures=$((pictures + 1))
done < <(find content/art -name '*.txt' -type f -print0 | sort -z)
icons="icons not drawn (ImageMagick's convert is not installed)"
if command -v convert > /dev/null; then
  tools/make_icons.sh "$build"
  icons="icons"
fi

animations=0
for source in content/animations/*.anim; do
  "$build/srftool" anm "$source" "data/surfaces/$(basename "$source" .anim).anm"
  animations=$((animations + 1))
done

levels=0
for source in content/levels/*.level; do
  "$build/tools/levelc/levelc" "$source" data/levels
  levels=$((levels + 1))
done
"$build/tools/levelshot/levelshot" --data=. --scale=1 docs/levels > /dev/null

sounds="not rendered (oggenc is not installed)"
if command -v oggenc > /dev/null; then
  tools/synth/render_all.sh "$build/tools/synth/synth" > /dev/null
  sounds="rendered"
fi
echo "build_content: $pictures pictures, $icons, $animations animations, $levels levels; music and effects $sounds"
"$build/srftool" check .
