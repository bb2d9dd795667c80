#!/usr/bin/env bash
# A session played in the terminal host (in tmux, with real keys and a real
# clock) and recorded, then replayed in the headless host: the replay must
# reach the same report, frame for frame, both paced and as a timedemo.
# Arguments: the wobblewick program, the build folder.
set -euo pipefail
game=$(realpath "$1")
command -v tmux >/dev/null || { echo "tmux is missing (tools/setup.sh installs it)"; exit 1; }
cd "$(dirname "$0")/../.."
source=$(pwd)

export LC_ALL=C.UTF-8
socket=wobble-replay-test-$$
work=$(mktemp -d)
T() { tmux -L "$socket" -f /dev/null -u "$@"; }
cleanup() {
    T kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A data root of its own: the session may beat the high score.
mkdir -p "$work/root/data"
for entry in "$source"/data/*; do
    name=$(basename "$entry")
    if [ "$name" = stats ]; then cp -r "$entry" "$work/root/data/"; else ln -s "$entry" "$work/root/data/$name"; fi
done

wait_for() { # text, tenths of a second
    local i
    for ((i = 0; i < $2; i++)); do
        T capture-pane -p -J -t t | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}

T new-session -d -x 240 -y 92 -s t "env -i PATH=$PATH HOME=$HOME TERM=screen PS1='$ ' bash --norc --noprofile"
wait_for '$' 50 || { echo "FAIL: no shell prompt"; exit 1; }
T send-keys -t t "clear; env -u DISPLAY $game --host=term -skiptogame -soundoff --data=$work/root --record=$work/term.rec 2>$work/err; echo GAME-EXIT=\$?" Enter
sleep 3
# Walk right, jump, drop a box, pause and go on, turn the room; then Ctrl+C.
T send-keys -t t Right
sleep 0.4
T send-keys -t t Right Right Up
sleep 0.3
T send-keys -t t Space
sleep 0.5
T send-keys -t t p
sleep 0.6
T send-keys -t t p
sleep 0.5
T send-keys -t t Left Left s
sleep 1.5
T send-keys -t t C-c
wait_for "GAME-EXIT=" 100 || { echo "FAIL: the game did not end"; T capture-pane -p -t t | tail -5; exit 1; }
recorded=$(T capture-pane -p -J -t t | grep -o '{"exitCode".*}}' | tail -1)
[ -n "$recorded" ] || { echo "FAIL: no report in the terminal"; cat "$work/err"; exit 1; }
echo "recorded in the terminal: $recorded"
case "$recorded" in *'"frames":0,'*) echo "FAIL: no frame was played"; exit 1 ;; esac

failures=0
check() { # what, report, error output, exit code
    if [ "$4" = 0 ] && [ "$2" = "$recorded" ] && grep -q "frames as recorded" <<<"$3"; then
        echo "ok: $1"
    else
        echo "FAIL: $1 (exit $4): $2"
        echo "$3"
        failures=$((failures + 1))
    fi
}
set +e
out=$("$game" --host=headless --data="$work/root" --replay="$work/term.rec" 2>"$work/replay-err")
code=$?
check "replayed headless at the recorded pace" "$(tail -n 1 <<<"$out")" "$(cat "$work/replay-err")" $code
out=$("$game" --data="$work/root" --replay="$work/term.rec" --timedemo 2>"$work/replay-err")
code=$?
check "replayed as a timedemo" "$(tail -n 1 <<<"$out")" "$(cat "$work/replay-err")" $code
grep -q '^timedemo: [0-9]* frames in ' <<<"$out" && echo "ok: timedemo line" ||
    { echo "FAIL: no timedemo line: $out"; failures=$((failures + 1)); }
set -e
[ $failures -eq 0 ] || exit 1
echo "the terminal session replays headless"
