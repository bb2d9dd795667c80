#!/usr/bin/env bash
# The Debian package and the portable archive as a player gets them: each
# unpacked into a throw-away folder and started from another folder with a
# private home. Each plays the first level's proof; the high score must land in
# that home and nothing may be written where the game was unpacked.
set -uo pipefail
cd "$(dirname "$0")/.."
source=$PWD
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

deb=$(tools/make_deb.sh) || { echo "FAIL: make deb"; exit 1; }
archive=$(tools/make_dist.sh) || { echo "FAIL: make dist"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libsdl2-2.0* && $depends == *libsdl2-mixer* && $depends == *libc6* ]] ||
    fail "the package's dependencies are not the program's: $depends"
dpkg -x "$deb" "$tmp/deb"
mkdir "$tmp/tar" && tar -C "$tmp/tar" -xzf "$archive"
desktop-file-validate "$tmp/deb/usr/share/applications/"*.desktop || fail "installed desktop entry"

# plays NAME PROGRAM: the level-one proof from another folder with a home of its own.
plays() {
    local name=$1 program=$2 unpacked home before
    unpacked=$(dirname "$(dirname "$program")")
    home=$tmp/home-$name
    mkdir -p "$home" "$tmp/cwd-$name"
    before=$(cd "$unpacked" && find . -printf '%p %s %m %T@\n' | sort | sha1sum)
    (cd "$tmp/cwd-$name" && env -u WOBBLEWICK_DATA HOME="$home" XDG_DATA_HOME="$home/.local/share" \
        "$program" -skiptogame -soundoff --seed=0 --script="$source/tests/levels/01-wake.script" \
        >"$tmp/out-$name" 2>"$tmp/err-$name") || fail "$name: exit code $?"
    grep -q '"score":6000' "$tmp/out-$name" || fail "$name: the proof did not win: $(tail -1 "$tmp/out-$name")"
    [ -s "$tmp/err-$name" ] && fail "$name: complaints: $(cat "$tmp/err-$name")"
    [ "$(head -c 4 "$home/.local/share/wobblewick/data/stats/highScores.txt" 2>/dev/null)" = 6000 ] ||
        fail "$name: the high score is not in the private home"
    [ "$(cd "$unpacked" && find . -printf '%p %s %m %T@\n' | sort | sha1sum)" = "$before" ] ||
        fail "$name: something was written where the game was unpacked"
}
plays deb "$tmp/deb/usr/games/wobblewick"
plays archive "$(echo "$tmp"/tar/*/wobblewick)"
echo "package and archive: $failures failed"
[ $failures -eq 0 ]
