#!/usr/bin/env bash
# The window host on a virtual X server of its own, with a window manager as
# on a desktop: real screenshots compared pixel for pixel with the rasteriser,
# keys and mouse sent with xdotool, moving and shaking the window, full
# screen, closing the window and Ctrl+C, and a whole session recorded in the
# window and replayed.
# Arguments: the wobblewick binary and the build folder.
set -u
binary=$1
build=$2
check=$build/sdl_window_check
passes=0
source "$(dirname "$0")/../script_support.bash"
scratch_area

pass() { passes=$((passes + 1)); }
finish() {
    echo "$passes passed, $failures failed"
    [ $failures -eq 0 ]
    exit
}
# expect NAME GOT WANT
expect() {
    if [ "$2" == "$3" ]; then pass; else fail "$1: got '$2', want '$3'"; fi
}

# Without a display the window host says so in one line, and so does the
# choice of host when there is neither a display nor a terminal.
env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --host=sdl </dev/null >/dev/null 2>"$tmp/err"
expect "--host=sdl without a display exits" "$?" 2
expect "--host=sdl without a display says one line" "$(wc -l <"$tmp/err")" 1
env -u DISPLAY -u WAYLAND_DISPLAY "$binary" </dev/null >/dev/null 2>"$tmp/err"
expect "no display, no terminal exits" "$?" 2
grep -q -- "--host=" "$tmp/err" || fail "no display, no terminal names an option: $(cat "$tmp/err")"
expect "no display, no terminal says one line" "$(wc -l <"$tmp/err")" 1

if [ ! -x "$check" ] || ! command -v Xvfb >/dev/null; then
    echo "skipped: no Xvfb or no check program (run tools/setup.sh)"
    finish
fi
for tool in xdotool xwd xwininfo xprop convert display; do
    command -v $tool >/dev/null || {
        echo "FAIL: $tool is missing (run tools/setup.sh)"
        exit 1
    }
done

# A screen big enough for scale 2 with a window frame.
start_xvfb 2048x1536 || finish
start_window_manager
[ $haveWm -eq 1 ] || echo "note: no window manager; full screen and closing are not tested"

# The game started with a display opens its window by itself, and Ctrl+C in
# the terminal ends it through its exit path. (A script's background jobs
# start with Ctrl+C ignored; perl gives the game a terminal's default.)
perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV' "$binary" -soundoff </dev/null >"$tmp/out" 2>"$tmp/err" &
game=$!
pids+=($game)
if timeout 20 xdotool search --sync --name '^Wobblewick!$' >/dev/null; then
    pass
else
    fail "the game opened no window: $(cat "$tmp/err")"
fi
kill -INT $game
for _ in $(seq 50); do
    kill -0 $game 2>/dev/null || break
    sleep 0.1
done
kill -0 $game 2>/dev/null && fail "the game still runs 5 s after Ctrl+C" && kill -KILL $game
wait $game
expect "the game's exit code after Ctrl+C" "$?" 0
grep -q '"exitCode":0' "$tmp/out" || fail "exit report missing: $(cat "$tmp/out" "$tmp/err")"

start() {
    coproc CHK { exec "$check" 2>"$tmp/check.err"; }
    # Bash forgets CHK_PID once the program ends; this one stays.
    checkPid=$CHK_PID
    pids+=($checkPid)
    # Plain descriptors reach pipelines too, where the coprocess's do not.
    exec 5<&"${CHK[0]}" 6>&"${CHK[1]}"
    local r=""
    read -t 20 -r r <&5
    [ "$r" == "ready" ] || {
        echo "FAIL: the check program did not start: $r $(cat "$tmp/check.err")"
        exit 1
    }
    wid=$(timeout 10 xdotool search --sync --name '^Wobblewick check$' | head -1)
    [ -n "$wid" ] || {
        echo "FAIL: no window titled 'Wobblewick check'"
        exit 1
    }
    ask idle 300 >/dev/null
}
ask() {
    echo "$*" >&6
    local r=""
    read -t 30 -r r <&5
    echo "$r"
}
# The window's inside in root coordinates: X Y WIDTH HEIGHT.
client() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /^ +Width/{w=$NF} /^ +Height/{h=$NF} END{print x, y, w, h}'
}
# soon NAME WANT COMMAND...: the command's output becomes WANT within 3 s (the
# display answers in its own time).
soon() {
    local name=$1 want=$2 got=""
    shift 2
    for _ in $(seq 30); do
        got=$("$@")
        [ "$got" == "$want" ] && break
        sleep 0.1
    done
    expect "$name" "$got" "$want"
}
# events NAME WANT: the console events that arrive, as the handlers saw them.
events() {
    local count=${2//[^;]/}
    expect "$1" "$(ask events ${#count})" "$2"
}
# The window's area of a screenshot against the picture, scaled by the largest
# whole number that fits, centred on black and moved by DX, DY pixels.
shot() {
    ask idle 30 >/dev/null # the game idles all the time, and so sees the window change
    xwd -root -silent >"$tmp/shot.xwd"
    ask picture "$tmp/want.ppm" >/dev/null
    local x y w h s bad
    read -r x y w h <<<"$(client)"
    s=$((w / 928 < h / 704 ? w / 928 : h / 704)) && ((s < 1)) && s=1
    convert "$tmp/want.ppm" -scale $((100 * s))% -background black -extent \
        "${w}x$h$(printf '%+d%+d' $(((928 * s - w) / 2 - $1)) $(((704 * s - h) / 2 - $2)))" "$tmp/want.png"
    convert "$tmp/shot.xwd" -crop "${w}x$h+$x+$y" +repage "$tmp/got.png"
    bad=$(command compare -metric AE "$tmp/got.png" "$tmp/want.png" null: 2>&1)
    [ "$bad" == 0 ] && echo "match scale $s" || echo "mismatch: $bad"
}
# compare NAME WANT [DX DY]: a screenshot of the whole screen against the picture.
compare() {
    soon "$1" "$2" shot "${3:-0}" "${4:-0}"
}

start

# The picture: the largest whole scale that fits, then palette and frame changes.
expect "starting scale" "$(ask scale)" 2
ask frame 1 >/dev/null
compare "first frame at scale 2" "match scale 2"
ask palette alt >/dev/null
compare "palette change alone recolours" "match scale 2"
ask frame 2 >/dev/null
compare "second frame" "match scale 2"
# Another program paints over the window without the display saying so, as a
# compositor may lose a window's picture: a still picture comes back by itself.
display -window "$wid" -size 32x32 xc:red
read -r x y _ <<<"$(client)"
expect "window painted over" "$(xwd -root -silent | convert xwd:- -crop "1x1+$((x + 9))+$((y + 9))" txt: | grep -c '#FF0000')" 1
compare "a lost picture is shown again" "match scale 2"
ask setscale 1 >/dev/null
expect "scale 1 window size" "$(client | cut -d' ' -f3-)" "928 704"
compare "scale 1" "match scale 1"
xdotool windowsize "$wid" 1900 1450
compare "resized window letterboxed" "match scale 2"
xdotool windowsize "$wid" 1000 800
compare "resized smaller" "match scale 1"
xdotool windowsize "$wid" 300 200
compare "a window made too small grows back" "match scale 1"
read -r _ _ w h <<<"$(client)"
[ "$w" -ge 928 ] && [ "$h" -ge 704 ] || fail "window left at ${w}x$h"

# Keys: console events with virtual key, character and repeat count.
ask setscale 1 >/dev/null
ask palette std >/dev/null
xdotool mousemove 0 0
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
ask events >/dev/null
xdotool key a
events "a" "key down 41 97 1;key up 41 97 1;"
xdotool key shift+1 F12
events "Shift, a character and a function key" "key down 10 0 1;key down 31 33 1;key up 10 0 1;\
key up 31 49 1;key down 7B 0 1;key up 7B 0 1;"
# Held keys, the release edge, and autorepeat as further key-downs.
xdotool keydown Left
soon "Left held" "1 0 0" ask keys 25 27 41
ask poll >/dev/null
xdotool keyup Left
soon "Left let go" "0" ask keys 25
ask poll >/dev/null
expect "Left released once" "$(ask released 25 27)" "1 0"
ask poll >/dev/null
expect "release seen only once" "$(ask released 25)" "0"
xdotool keydown shift keydown ctrl keydown alt
soon "modifiers held" "1 1 1 1 1 1 0" ask keys 10 11 12 A0 A2 A4 A1
xdotool keyup alt keyup ctrl keyup shift
soon "modifiers let go" "0 0 0" ask keys 10 11 12
ask events >/dev/null
xdotool keydown --delay 0 x sleep 0.8 keyup x
repeats=$(ask events 3 | grep -o "key down 58 120 1;" | wc -l)
[ "$repeats" -ge 2 ] || fail "a held key repeats as key-downs: $repeats"

# Mouse in cells at scale 1 and 2.
xdotool mousemove --window "$wid" 100 50
events "mouse at scale 1" "move 12 6;"
xdotool click 1
events "left button" "left 12 6;"
xdotool click 3
events "right button calls nothing" "none"
# A still mouse over a window whose scale changes is in another cell now.
ask setscale 2 >/dev/null
events "mouse after the scale changed" "move 6 3;"
xdotool mousemove --window "$wid" 300 200
events "mouse at scale 2" "move 18 12;"

if [ $haveWm -eq 1 ]; then
    # Alt+Enter: full screen at the largest whole scale, letterboxed; the Enter is
    # the window's, not the game's.
    ask events >/dev/null
    xdotool key alt+Return
    ask idle 500 >/dev/null
    soon "full screen rectangle" "0 0 2048 1536" ask rect
    compare "full screen picture" "match scale 2"
    expect "Alt+Enter gives no Enter" "$(ask events 2 | grep -c '0D')" 0
    soon "Enter not held for the game" "0" ask keys 0D
    xdotool mousemove $((96 + 16 * 16 + 3)) $((64 + 10 * 16 + 15))
    expect "mouse in full screen" "$(ask events 1 | grep -o 'move [0-9]* [0-9]*;$')" "move 16 10;"
    xdotool key alt+Return
    ask idle 500 >/dev/null
    compare "back in a window" "match scale 2"
fi

# The window's rectangle, frame included, follows moves from outside and from
# the host; the shake jumps around and comes back to where the window stood.
ask setscale 1 >/dev/null
extents() { xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ','; }
read -r bl br bt bb <<<"$(extents)"
bl=${bl:-0} br=${br:-0} bt=${bt:-0} bb=${bb:-0}
rectTopLeft() { ask rect | cut -d' ' -f1-2; }
frameTopLeft() {
    read -r cx cy _ _ <<<"$(client)"
    echo "$((cx - bl)) $((cy - bt))"
}
xdotool windowmove "$wid" 100 90
soon "outside move seen" "100 90" rectTopLeft
read -r cx cy cw ch <<<"$(client)"
expect "rectangle after an outside move" "$(ask rect)" \
    "$((cx - bl)) $((cy - bt)) $((cx + cw + br)) $((cy + ch + bb))"
ask move 160 120 >/dev/null
soon "moveWindow places the frame" "160 120" frameTopLeft
expect "rectangle after moveWindow" "$(rectTopLeft)" "160 120"
before=$(client)
(
    for _ in $(seq 8); do
        client
        sleep 0.1
    done
) >"$tmp/during" &
shaker=$!
expect "shake" "$(ask shake | cut -d' ' -f1)" "shaken"
wait $shaker
soon "window back after the shake" "$before" client
expect "rectangle back after the shake" "$(rectTopLeft)" "160 120"
grep -v -x -q "$before" "$tmp/during" || fail "the window did not move during the shake"

# Where windows cannot be moved the picture moves inside the window instead,
# and the rectangle stays put.
ask pin >/dev/null
rect=$(ask rect)
read -r l t _ _ <<<"$rect"
ask move $((l + 5)) $((t + 5)) >/dev/null
expect "pinned rectangle stays" "$(ask rect)" "$rect"
expect "pinned window stays" "$(client)" "$before"
compare "picture moved inside the window" "match scale 1" 5 5
ask move $((l - 5)) $((t - 5)) >/dev/null
compare "picture moved the other way" "match scale 1" -5 -5
ask move "$l" "$t" >/dev/null
compare "picture back" "match scale 1"

if [ $haveWm -eq 1 ]; then
    # Closing the window runs the exit path, as Ctrl+C does.
    xdotool windowactivate --sync "$wid" 2>/dev/null
    echo "idle 10000" >&6
    sleep 0.3
    xdotool key alt+F4
    r=""
    read -t 5 -r r <&5
    expect "closing the window runs the exit path" "$r" "closing"
    [ "$r" == "closing" ] || kill -KILL "$checkPid"
    wait "$checkPid" 2>/dev/null
    expect "closing exit code" "$?" 0
fi

exec 6>&- # the check program ends with its input
wait "$checkPid" 2>/dev/null
grep -v "^$" "$tmp/check.err" | head -5

# A session played in the game's own window and recorded, visiting every
# screen: the splash, the menu, the credits and high-score pages, the editor
# with its question, the start interlude, a level with its story boxes, the
# pause screen, back to the menu and out through the farewell. Replayed
# headless and in the window, it reaches the recorded report frame for frame.

# A data root of its own: the session may beat the high score, and the editor
# must not touch the shipped levels.
make_data_root "$tmp/root" levels

"$binary" --host=sdl -soundoff --data="$tmp/root" --record="$tmp/window.rec" \
    </dev/null >"$tmp/recorded" 2>"$tmp/recorded-err" &
game=$!
pids+=($game)
wid=$(timeout 10 xdotool search --sync --name '^Wobblewick!$' | head -1)
[ -n "$wid" ] || fail "no game window: $(cat "$tmp/recorded-err")"
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
title() { xdotool getwindowname "$wid"; }
# A key held for a moment, as a player presses it: a busy machine could let a
# bare press and release both fall between two of the game's looks at the keys.
press() {
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
}
# play KEY SECONDS ...: each key pressed, then the time it is given.
play() {
    while [ $# -gt 1 ]; do
        press "$1"
        sleep "$2"
        shift 2
    done
}
# The splash (a key cuts each of its stages short), the credits and
# high-score pages and any key back to the menu, and the editor with a tool.
sleep 0.6
play space 0.6 space 0.6 space 1.5 c 1.5 space 1 ctrl+e 1 1 0
# The mouse over the room (the editor's title follows it), a click that places
# the tool's object; Esc asks, Y says yes.
xdotool mousemove --window "$wid" 300 300
sleep 0.5
case "$(title)" in
*"Pos: ["*) ;;
*) fail "the editor's title shows no mouse position: '$(title)'" ;;
esac
xdotool click 1
sleep 0.5
# The start interlude, the first level's story boxes, a few moves, the pause
# screen and out of it, then the pause screen's Q back to the menu.
play Escape 0.5 y 1 Return 7 Return 0.4 Return 0.4 Return 0.4 Return 0.4
xdotool keydown Right
sleep 0.5
xdotool keyup Right
play Up 0.2 space 0.5 p 0.7 p 0.5 s 1 p 0.7 q 1.5
# Esc on the menu: the farewell, and the program ends by itself.
press Escape
for _ in $(seq 150); do
    kill -0 $game 2>/dev/null || break
    sleep 0.1
done
if kill -0 $game 2>/dev/null; then
    fail "the game still runs 15 s after Esc on the menu"
    kill -TERM $game
fi
wait $game
code=$?
[ $code -eq 0 ] || fail "the recorded session ended with $code: $(cat "$tmp/recorded-err")"
recorded=$(tail -n 1 "$tmp/recorded")
echo "recorded in the window: $recorded"
case "$recorded" in
*'"frames":0,'* | "") fail "no frame was played" ;;
esac

check_replay "replayed headless" "$recorded" "$binary" --host=headless --data="$tmp/root" --replay="$tmp/window.rec"
check_replay "replayed headless as a timedemo" "$recorded" "$binary" --timedemo --data="$tmp/root" --replay="$tmp/window.rec"
check_replay "replayed in the window" "$recorded" "$binary" --host=sdl --data="$tmp/root" --replay="$tmp/window.rec"
finish
