#!/usr/bin/env bash
# The picture tool as an artist uses it: compile, dump, draw, check, and the
# messages for mistakes. Arguments: the game binary (unused) and the build folder.
set -euo pipefail
tool=$2/srftool
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/pic.txt" <<'PIC'
size 8 3
default white darkblue
key R █ red
chars
╔══RR══╗
║ Hi! ║
╚══════╝
PIC
"$tool" compile "$work/pic.txt" "$work/pic.srf" || fail "compile"
[ "$(stat -c %s "$work/pic.srf")" -eq $((88 + 8 * 3 * 4)) ] || fail "size of the .srf"
"$tool" dump "$work/pic.srf" > "$work/dump.txt" || fail "dump"
[ "$(head -n 1 "$work/dump.txt")" = "size 8 3" ] || fail "dump starts with the size"
grep -q '╔══██══╗' "$work/dump.txt" || fail "dump shows the picture"
"$tool" compile "$work/dump.txt" "$work/again.srf" || fail "compile the dump"
cmp -s "$work/pic.srf" "$work/again.srf" || fail "dump and compile changed the picture"
"$tool" png "$work/pic.srf" "$work/pic.png" --scale=2 \
  --palette=000000,000080,008000,008080,800000,800080,808000,C0C0C0,808080,0000FF,00FF00,00FFFF,FF0000,FF00FF,FFFF00,FFFFFF \
  || fail "png"
[ "$(head -c 8 "$work/pic.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "png signature"

# The game's own text form, by its look and by the switch.
printf '(2, 2) (65, 2, 5) (66, 2, 5) (67, 2, 5) (68, 2, 5)' > "$work/game.txt"
"$tool" compile "$work/game.txt" "$work/game.srf" || fail "game text form"
"$tool" compile --game-text "$work/game.txt" "$work/game2.srf" || fail "--game-text"
cmp -s "$work/game.srf" "$work/game2.srf" || fail "both ways agree"

# Mistakes: a message with the file and line, and a failing exit status.
printf 'size 3 2\nchars\nabcd\n' > "$work/bad.txt"
if "$tool" compile "$work/bad.txt" "$work/bad.srf" 2> "$work/err"; then fail "bad source compiled"; fi
grep -q 'bad.txt: line 3: row is 4 characters wide' "$work/err" || fail "message: $(cat "$work/err")"
[ ! -e "$work/bad.srf" ] || fail "a failed compile left a file"
if "$tool" png "$work/pic.srf" "$work/x.png" --scale=40 2> /dev/null; then fail "scale 40"; fi
if "$tool" png "$work/pic.srf" "$work/x.png" --palette=123 2> /dev/null; then fail "short palette"; fi
if "$tool" frobnicate 2> /dev/null; then fail "unknown command"; fi

# An animation source becomes a script and a sheet of its frames.
printf 'size 2 1\ngroup 6\ncollides 0 3\nframe a\nRk\n.R\n' > "$work/kiss.anim"
"$tool" anm "$work/kiss.anim" "$work/kiss.anm" && [ -s "$work/kiss.anm" ] || fail "anm"
"$tool" png "$work/kiss.anim" "$work/kiss.png" || fail "png of an animation"

# The committed content agrees with its sources.
"$tool" check . > /dev/null || fail "content/ and the compiled files disagree: run make content"
echo "srftool: all checks passed"
