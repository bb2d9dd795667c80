#!/usr/bin/env bash
# A session played in the window host (on a virtual X server, keys and mouse
# sent with xdotool) and recorded, visiting every screen: the splash, the
# main menu, the credits and high-score pages, the editor with its question,
# the start interlude, a level with its story boxes, the pause screen, back
# to the menu and out through the farewell. Then it is replayed in the
# headless host and in the window host: both replays reach the recorded
# report, frame for frame.
# Skipped (passing) where this build has no window host or there is no Xvfb.
# Arguments: the wobblewick program, the build folder.
set -u
game=$(realpath "$1")
cd "$(dirname "$0")/../.."
source tests/script_support.bash
scratch_area

env DISPLAY=:999 "$game" --host=sdl </dev/null >/dev/null 2>"$tmp/err"
if grep -q "no window host" "$tmp/err"; then
    echo "skipped: this build has no window host"
    exit 0
fi
for tool in Xvfb xdotool; do
    command -v $tool >/dev/null || {
        echo "skipped: $tool is missing (tools/setup.sh installs it)"
        exit 0
    }
done
start_xvfb 1280x1024 || exit 0
start_window_manager

# A data root of its own: the session may beat the high score, and the editor
# must not touch the shipped levels.
make_data_root "$tmp/root" levels

"$game" --host=sdl -soundoff --data="$tmp/root" --record="$tmp/window.rec" \
    </dev/null >"$tmp/recorded" 2>"$tmp/recorded-err" &
gamePid=$!
pids+=($gamePid)
wid=$(timeout 10 xdotool search --sync --name 'Wobblewick' | head -1)
if [ -z "$wid" ]; then
    echo "FAIL: no game window: $(cat "$tmp/recorded-err")"
    exit 1
fi
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
title() { xdotool getwindowname "$wid"; }
# A key held for a moment, as a player presses it: a busy machine could let a
# bare press and release both fall between two of the game's looks at the keys.
press() {
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
}
# The splash: a key cuts each of its stages short.
for _ in 1 2 3; do
    sleep 0.6
    press space
done
sleep 1.5
# The credits and high-score pages, and any key back to the menu.
press c
sleep 1.5
press space
sleep 1
# The editor: a tool, the mouse over the room (the title follows it), a
# click that places the tool's object; Esc asks, Y says yes.
press ctrl+e
sleep 1
press 1
xdotool mousemove --window "$wid" 300 300
sleep 0.5
case "$(title)" in
*"Pos: ["*) ;;
*) fail "the editor's title shows no mouse position: '$(title)'" ;;
esac
xdotool click 1
sleep 0.5
press Escape
sleep 0.5
press y
sleep 1
# The start interlude, the first level's story boxes, a few moves, the pause
# screen and out of it, then the pause screen's Q back to the menu.
press Return
sleep 7
for _ in 1 2 3 4; do
    press Return
    sleep 0.4
done
xdotool keydown Right
sleep 0.5
xdotool keyup Right
press Up
sleep 0.2
press space
sleep 0.5
press p
sleep 0.7
press p
sleep 0.5
press s
sleep 1
press p
sleep 0.7
press q
sleep 1.5
# Esc on the menu: the farewell, and the program ends by itself.
press Escape
for _ in $(seq 150); do
    kill -0 $gamePid 2>/dev/null || break
    sleep 0.1
done
if kill -0 $gamePid 2>/dev/null; then
    fail "the game still runs 15 s after Esc on the menu"
    kill -TERM $gamePid
fi
wait $gamePid
code=$?
[ $code -eq 0 ] || fail "the recorded session ended with $code: $(cat "$tmp/recorded-err")"
recorded=$(tail -n 1 "$tmp/recorded")
echo "recorded in the window: $recorded"
case "$recorded" in
*'"frames":0,'* | "") fail "no frame was played" ;;
esac

check_replay "replayed headless" "$recorded" "$game" --host=headless --data="$tmp/root" --replay="$tmp/window.rec"
check_replay "replayed headless as a timedemo" "$recorded" "$game" --timedemo --data="$tmp/root" --replay="$tmp/window.rec"
check_replay "replayed in the window" "$recorded" "$game" --host=sdl --data="$tmp/root" --replay="$tmp/window.rec"

[ $failures -eq 0 ] || exit 1
echo "the window session replays headless and in the window"
