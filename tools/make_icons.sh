#!/usr/bin/env bash
# Draws the program's icons from Wick's portrait with the game's own
# rasteriser (srftool), padded square with the portrait's frame colour.
# Usage: tools/make_icons.sh BUILD_DIR   (writes packaging/icons/*.png; commit them)
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/srftool" png data/surfaces/Portraits/Wick.srf "$tmp/wick.png" --scale=8
mkdir -p packaging/icons
frame=$(convert "$tmp/wick.png" -format '%[pixel:p{0,0}]' info:)
for size in 16 24 32 48 64 128 256; do
    convert "$tmp/wick.png" -background "$frame" -gravity center -extent 768x768 \
        -filter Box -resize "${size}x${size}" -strip PNG32:"packaging/icons/${size}.png"
done
