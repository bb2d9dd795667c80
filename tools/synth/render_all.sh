#!/usr/bin/env bash
# Renders every score under content/scores and encodes it to Ogg Vorbis in
# data/music and data/sfx, then measures what it wrote.
#   tools/synth/render_all.sh [path/to/synth]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
synth=${1:-$root/build/tools/synth/synth}
command -v oggenc >/dev/null || { echo "oggenc (vorbis-tools) is needed" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for kind in music sfx; do
  mkdir -p "$root/data/$kind"
  # Music in stereo at a modest quality; the short effects can afford more.
  quality=3
  [ "$kind" = sfx ] && quality=4
  for score in "$root"/content/scores/$kind/*.score; do
    name=$(basename "$score" .score)
    "$synth" "$score" -o "$tmp/$name.wav"
    # A fixed stream serial keeps the output the same from run to run.
    oggenc -Q --serial 1 -q "$quality" -o "$root/data/$kind/$name.ogg" "$tmp/$name.wav"
  done
done
"$synth" --measure "$root"/data/music/*.ogg "$root"/data/sfx/*.ogg
