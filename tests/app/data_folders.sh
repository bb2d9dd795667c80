#!/usr/bin/env bash
# The program started as a player starts it: from any folder, with its data
# found on its own and the player's files kept in the player's folder, never
# in the shipped data. Arguments: the wobblewick program, the build folder.
set -u
game=$(realpath "$1")
source "$(dirname "$0")/../script_support.bash"
scratch_area
home=$XDG_DATA_HOME/wobblewick
check() { if eval "$2"; then echo "ok: $1"; else fail "$1"; fi; }
shipped_sum=$(cd "$wobble_source" && git ls-files -s data | sha1sum)

mkdir "$tmp/elsewhere" && cd "$tmp/elsewhere"
out=$("$game" --help); code=$?
check "--help exits 0, names every option and the player's folder" \
    '[ $code = 0 ] && grep -q -- "--start-level=N" <<<"$out" && grep -qF "$home" <<<"$out"'
out=$("$game" --version); code=$?
check "--version names the build" '[ $code = 0 ] && [[ $out =~ ^wobblewick\ [0-9] ]]'
"$game" --bogus -soundoff >/dev/null 2>err; code=$?
check "an unknown option is an error with a hint" '[ $code = 2 ] && grep -q "bogus.*--help" err'

# The first level's proof from another folder: the high score lands in the
# player's folder, the level list was copied there, the shipped data is untouched.
"$game" -skiptogame -soundoff --seed=0 --script="$wobble_source/tests/levels/01-wake.script" \
    >out 2>err; code=$?
check "plays from another folder" '[ $code = 0 ] && grep -q "\"score\":6000" out'
check "nothing refused or missing on the way" '! grep -q . err || { cat err; false; }'
check "the high score is the player's" '[ "$(head -c 4 "$home/data/stats/highScores.txt")" = 6000 ]'
check "the level list was copied on first start" \
    'cmp -s "$home/data/levels/Levels.txt" "$wobble_source/data/levels/Levels.txt"'
check "the shipped data is untouched" \
    '[ "$(cd "$wobble_source" && git ls-files -s data | sha1sum)" = "$shipped_sum" ] &&
     [ -z "$(cd "$wobble_source" && git status --porcelain data)" ]'

# A home that cannot be written: said once, and the game plays on.
XDG_DATA_HOME=/proc/wobble-nowhere "$game" -skiptogame -soundoff --seed=0 \
    --script="$wobble_source/tests/levels/01-wake.script" >out 2>err; code=$?
check "a read-only home is reported once and the game plays on" \
    '[ $code = 0 ] && [ "$(grep -c "cannot keep your files" err)" = 1 ] && grep -q "\"score\":6000" out'

# No data anywhere: one line naming the places, exit code 2.
cp "$game" "$tmp/lonely"
WOBBLEWICK_DATA=$tmp/nothing "$tmp/lonely" -soundoff >/dev/null 2>err; code=$?
check "without data: exit 2 and one line naming where it looked" \
    '[ $code = 2 ] && [ "$(wc -l <err)" = 1 ] && grep -qF "$tmp/nothing" err'
# WOBBLEWICK_DATA finds it from anywhere.
WOBBLEWICK_DATA=$wobble_source "$tmp/lonely" -skiptogame -soundoff --seed=0 \
    --script="$wobble_source/tests/levels/01-wake.script" >out 2>err; code=$?
check "WOBBLEWICK_DATA names the data" '[ $code = 0 ] && grep -q "\"score\":6000" out'
[ $failures -eq 0 ]
