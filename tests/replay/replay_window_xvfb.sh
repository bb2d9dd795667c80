#!/usr/bin/env bash
# A session played in the window host (on a virtual X server, keys sent with
# xdotool) and recorded, then replayed in the headless host and in the window
# host: both replays reach the recorded report, frame for frame.
# Skipped (passing) where this build has no window host or there is no Xvfb.
# Arguments: the wobblewick program, the build folder.
set -u
game=$(realpath "$1")
cd "$(dirname "$0")/../.."
source=$(pwd)
tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

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

exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
done
[ -s "$tmp/display" ] || {
    echo "skipped: Xvfb cannot start here: $(tail -1 "$tmp/xvfb.log")"
    exit 0
}
export DISPLAY=:$(head -1 "$tmp/display")
unset WAYLAND_DISPLAY
if command -v openbox >/dev/null; then
    openbox --sm-disable >"$tmp/wm.log" 2>&1 &
    pids+=($!)
    sleep 1
fi

mkdir -p "$tmp/root/data"
for entry in "$source"/data/*; do
    name=$(basename "$entry")
    if [ "$name" = stats ]; then cp -r "$entry" "$tmp/root/data/"; else ln -s "$entry" "$tmp/root/data/$name"; fi
done

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

"$game" --host=sdl -skiptogame -soundoff --data="$tmp/root" --record="$tmp/window.rec" \
    </dev/null >"$tmp/recorded" 2>"$tmp/recorded-err" &
gamePid=$!
pids+=($gamePid)
wid=$(timeout 10 xdotool search --sync --name 'Wobblewick' | head -1)
if [ -z "$wid" ]; then
    echo "FAIL: no game window: $(cat "$tmp/recorded-err")"
    exit 1
fi
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
sleep 1
# Walk right, jump, drop a box, pause and go on, walk back, turn the room.
xdotool keydown Right
sleep 0.5
xdotool keyup Right key Up
sleep 0.2
xdotool key space
sleep 0.5
xdotool key p
sleep 0.5
xdotool key p
sleep 0.3
xdotool keydown Left
sleep 0.4
xdotool keyup Left key s
sleep 1
# SIGTERM ends the program through its exit path, as closing the window does
# (a background job of a script ignores SIGINT, so Ctrl+C cannot be sent).
kill -TERM $gamePid
wait $gamePid
code=$?
[ $code -eq 0 ] || fail "the recorded session ended with $code: $(cat "$tmp/recorded-err")"
recorded=$(tail -n 1 "$tmp/recorded")
echo "recorded in the window: $recorded"
case "$recorded" in
*'"frames":0,'* | "") fail "no frame was played" ;;
esac

check() { # what, host arguments...
    local what=$1
    shift
    "$game" "$@" --data="$tmp/root" --replay="$tmp/window.rec" </dev/null >"$tmp/out" 2>"$tmp/err"
    local code=$?
    if [ $code -eq 0 ] && [ "$(tail -n 1 "$tmp/out")" = "$recorded" ] &&
        grep -q "frames as recorded" "$tmp/err"; then
        echo "ok: $what"
    else
        fail "$what (exit $code): $(tail -n 1 "$tmp/out") $(cat "$tmp/err")"
    fi
}
check "replayed headless" --host=headless
check "replayed headless as a timedemo" --timedemo
check "replayed in the window" --host=sdl

[ $failures -eq 0 ] || exit 1
echo "the window session replays headless and in the window"
