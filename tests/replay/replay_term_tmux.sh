#!/usr/bin/env bash
# The whole game in a real terminal (tmux, real keys, a real clock), recorded:
# the splash, the main menu, the credits pages, the editor with a mouse-placed
# object and its question, the start interlude, a level with its story boxes,
# the pause screen, the menu again and out through the farewell. Each screen is
# checked by what the pane shows. Then the recording is replayed in the
# headless host: the same report, frame for frame, paced and as a timedemo.
# Arguments: the wobblewick program, the build folder.
set -euo pipefail
game=$(realpath "$1")
cd "$(dirname "$0")/../.."

source tests/script_support.bash
tmux_session replay-test

# A data root of its own: the session may beat the high score.
make_data_root "$work/root"

wait_for() { # text, tenths of a second
    local i
    for ((i = 0; i < $2; i++)); do
        T capture-pane -p -J -t t | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}
# The pane as cells: one character a cell (each cell is two columns), the
# pictures' solid blocks read as blanks so that text in them reads as text.
cells() { T capture-pane -p -t t | sed 's/\(.\)./\1/g; s/█/ /g'; }
shows() { # screen, text expected in the cells, tenths of a second to wait
    local i
    for ((i = 0; i < ${3:-20}; i++)); do
        [[ "$(cells)" == *"$2"* ]] && return 0
        sleep 0.1
    done
    fail "$1: the terminal does not show '$2'"
}
title() { T display -p -t t '#{pane_title}'; }

T new-session -d -x 240 -y 92 -s t "env -i PATH=$PATH HOME=$HOME TERM=screen PS1='$ ' bash --norc --noprofile"
wait_for '$' 50 || { echo "FAIL: no shell prompt"; exit 1; }
T send-keys -t t "clear; env -u DISPLAY $game --host=term -soundoff --data=$work/root --record=$work/term.rec 2>$work/err; echo GAME-EXIT=\$?" Enter
# The splash, then the menu.
shows "the splash" "and one very cross Ozzle" 50
T send-keys -t t Space
sleep 0.5
T send-keys -t t Space
shows "the main menu" "start a new game" 50
# The credits pages, and any key back to the menu.
T send-keys -t t c
shows "the credits" "Thank you for playing"
T send-keys -t t Space
sleep 1
shows "the menu after the credits" "start a new game"
# The editor: tool 1, the mouse to cell 20,30 (its title follows), a click
# places the object; Esc asks, Y leaves.
T send-keys -t t C-e
sleep 1
T send-keys -t t 1
T send-keys -t t -H 1b 5b 3c 33 35 3b 34 31 3b 33 31 4d # motion to column 41, row 31
sleep 0.3
case "$(title)" in
*"Editor Mode"*"Pos: ["*) ;;
*) fail "the editor's title: '$(title)'" ;;
esac
T send-keys -t t -H 1b 5b 3c 30 3b 34 31 3b 33 31 4d 1b 5b 3c 30 3b 34 31 3b 33 31 6d
sleep 0.3
T send-keys -t t Escape
shows "the editor's question" "Ya sure 'bout dat?!"
T send-keys -t t y
shows "the menu after the editor" "start a new game"
# The start interlude, the level's story boxes, a few moves, the pause screen
# and on, then the pause screen's Q back to the menu.
T send-keys -t t Enter
shows "the first level" "HIGH SCORE" 100
for _ in 1 2 3 4; do
    sleep 0.4
    T send-keys -t t Enter
done
sleep 0.5
T send-keys -t t Right
sleep 0.4
T send-keys -t t Right Right Up
sleep 0.3
T send-keys -t t Space
sleep 0.5
T send-keys -t t p
shows "the pause screen" "carry on playing"
T send-keys -t t p
sleep 0.5
T send-keys -t t Left Left s
sleep 1.5
T send-keys -t t p
sleep 0.6
T send-keys -t t q
shows "the menu after the game" "start a new game"
# Esc on the menu: the farewell, and the program ends by itself.
T send-keys -t t Escape
wait_for "GAME-EXIT=" 150 || { echo "FAIL: the game did not end"; T capture-pane -p -t t | tail -5; exit 1; }
recorded=$(T capture-pane -p -J -t t | grep -o '{"exitCode".*}}' | tail -1)
[ -n "$recorded" ] || { echo "FAIL: no report in the terminal"; cat "$work/err"; exit 1; }
echo "recorded in the terminal: $recorded"
case "$recorded" in *'"frames":0,'*) echo "FAIL: no frame was played"; exit 1 ;; esac

set +e
check_replay "replayed headless at the recorded pace" "$recorded" "$game" --host=headless --data="$work/root" --replay="$work/term.rec"
check_replay "replayed as a timedemo" "$recorded" "$game" --data="$work/root" --replay="$work/term.rec" --timedemo
set -e
[ $failures -eq 0 ] || exit 1
echo "the terminal session replays headless"
