#!/usr/bin/env bash
# Every committed score reads cleanly, and a broken one is refused with its
# file and line. Arguments: the game binary (unused) and the build directory.
set -euo pipefail
synth="$2/tools/synth/synth"
[ -x "$synth" ] || { echo "synth was not built"; exit 1; }
"$synth" --check content/scores/music/*.score content/scores/sfx/*.score >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails_with() { # score text, expected message part
  printf '%s\n' "$1" >"$tmp/bad.score"
  if out=$("$synth" "$tmp/bad.score" -o "$tmp/out.wav" 2>&1); then
    echo "accepted a broken score: $1"; exit 1
  fi
  case "$out" in
    *"$2"*) ;;
    *) echo "expected '$2', got: $out"; exit 1 ;;
  esac
  [ ! -e "$tmp/out.wav" ] || { echo "wrote a file for a broken score"; exit 1; }
}
fails_with $'instrument a pulse\npattern p 1\na c4 h4\nend\nsong p' "bad.score:3: 'h4' is not a note"
fails_with $'instrument a pulse\npattern p 1\na c4 c4 c4\nend\nsong p' "bad.score:3: lane has 3 steps"
fails_with $'instrument a pulse\npattern p 1\nb c4\nend\nsong p' "no instrument called 'b'"
fails_with $'instrument a pulse\npattern p 1\na c4\nsong p' "pattern 'p' has no end"
fails_with $'instrument a pulse\npattern p 1\na c4\nend\nsong q' "no pattern called 'q'"
fails_with $'instrument a pulse gain 9\n' "gain must lie between"
fails_with $'instrument a kit\npattern p 1\na k q\nend\nsong p' "'q' is not a drum"
fails_with $'tempo 120\n' "no song line"
fails_with $'instrument a pulse\npattern p 256\na c4\nend\nsong p*64' "longer than ten minutes"
if "$synth" "$tmp/missing.score" -o "$tmp/out.wav" 2>"$tmp/err"; then exit 1; fi
grep -q "missing.score: No such file" "$tmp/err"

# The committed files are what their scores make: effects rendered and compared,
# music (slow to render) by its exact length.
for score in content/scores/sfx/*.score; do
  "$synth" --compare "$score" "data/sfx/$(basename "$score" .score).ogg" >/dev/null ||
    { echo "data/sfx/$(basename "$score" .score).ogg is out of date: run tools/synth/render_all.sh"; exit 1; }
done
for score in content/scores/music/*.score; do
  name=$(basename "$score" .score)
  want=$("$synth" --check "$score" | sed 's/.*: \([0-9.]*\) s,.*/\1/')
  have=$("$synth" --measure "data/music/$name.ogg" | sed 's/.*: \([0-9.]*\) s,.*/\1/')
  [ "$want" = "$have" ] || { echo "data/music/$name.ogg lasts $have s, its score $want s"; exit 1; }
done

# A tiny loop renders to exactly its length: 2 bars of 4 beats at 120 = 4 s.
printf 'tempo 120\ninstrument a triangle release 900\npattern p 2\na/1 c4 e4 g4 c5\nend\nsong p\n' \
  >"$tmp/ok.score"
"$synth" "$tmp/ok.score" -o "$tmp/ok.wav"
"$synth" --measure "$tmp/ok.wav" | grep -q ": 4.00 s, 44100 Hz, stereo"
echo "scores: ok"
