#!/usr/bin/env bash
# The console host of the Windows build, under wine's text console in a tmux
# pane (no display, so wine draws the console's cells in the terminal): the
# splash and the menu show, a game starts and the first level is played to
# its end with keys sent to the pane, and Ctrl+C ends the program. Run by
# tools/windows.sh test (which sets up wine); argument: wobblewick.exe.
set -uo pipefail
exe=$(realpath "$1")
cd "$(dirname "$0")/../.."
source tests/script_support.bash
tmux_session win32-console
make_data_root "$work/root"

# Text on a coloured ground shows as blocks in a capture without colours.
# The waits are long: wine starts slowly on a busy machine.
cells() { T capture-pane -p -t t | sed 's/█/ /g'; }
shows() { # what, text expected, tenths of a second to wait
    local i
    for ((i = 0; i < ${3:-50}; i++)); do
        cells | grep -qF -- "$2" && { echo "ok: $1"; return 0; }
        sleep 0.1
    done
    fail "$1: the console does not show '$2'"
    cells | grep -v '^ *$' | head -20
    return 1
}

T new-session -d -x 160 -y 100 -s t \
    "wine '$exe' -soundoff --data='$work/root' 2>'$work/err'; echo \"GAME-EXIT=\$?;\"; sleep 60"
shows "the splash" "and one very cross Ozzle" 900 || { cat "$work/err"; exit 1; }
T send-keys -t t Space
sleep 0.5
T send-keys -t t Space
shows "the main menu" "start a new game" 300 || exit 1
# A new game: the interlude and the first level's story boxes.
T send-keys -t t Enter
shows "the first level" "HIGH SCORE" 300 || exit 1
for _ in 1 2 3 4; do
    sleep 0.4
    T send-keys -t t Enter
done
sleep 1
# Wine's text console sends every key down and at once up again (it has no
# releases): a tap is one frame of the key held, so the level cannot be walked
# as a player would. What the keys do in play is checked instead: walking and
# a box, F5 adds a credit (the HUD's count), F9 ends the level, and the next
# level's story shows.
# The HUD's row of counts: the lives, then the credits.
credits() { T capture-pane -p -t t | sed -n 85p | grep -o '[0-9]\+' | tail -1; }
for _ in $(seq 10); do T send-keys -t t Right; sleep 0.05; done
T send-keys -t t Up Space
sleep 0.5
before=$(credits)
for _ in $(seq 6); do
    [ "$(credits)" != "$before" ] && break
    T send-keys -t t F5
    sleep 0.3
done
[ "$(credits)" = $((before + 1)) ] && echo "ok: F5 adds a credit" ||
    fail "F5 adds a credit: '$before' -> '$(credits)'"
T send-keys -t t F9
shows "the next level's story" "Psst!" 300
# Ctrl+C leaves through the game's own exit (the code is written over what
# the picture left, so it is read up to its closing semicolon).
T send-keys -t t C-c
exit_code=""
for _ in $(seq 100); do
    exit_code=$(cells | grep -o 'GAME-EXIT=[0-9]*;' | head -1)
    [ -n "$exit_code" ] && break
    sleep 0.1
done
[ "$exit_code" = "GAME-EXIT=0;" ] && echo "ok: Ctrl+C ends the game" ||
    fail "Ctrl+C ends the game: '$exit_code'"
[ "$failures" -eq 0 ]
