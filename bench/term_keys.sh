#!/usr/bin/env bash
# How the arrow keys feel in a terminal that never reports a key going up
# (tmux): a lone tap, a key held down with autorepeat, and how soon the player
# stops once the repeats end. The game runs in a tmux pane on a level with a
# long empty floor; tmux sends the keys at a keyboard's pace; the player's
# place comes from the report the game prints when it ends. The window's
# walk, for comparison, is the same key held in the headless host, which sees
# real key releases. Prints the README table's rows.
#   bench/term_keys.sh [build folder]    RUNS=5 REPEAT_DELAY_MS=250 REPEAT_RATE=30
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
game=$build/wobblewick
runs=${RUNS:-5}
delay_ms=${REPEAT_DELAY_MS:-250}
rate=${REPEAT_RATE:-30}
source tests/script_support.bash
tmux_session keys

# The runway: the player at the left of an empty floor, facing right, and a
# dummy behind, so that the level is not won at once.
make_data_root "$work/root" levels
cat >"$work/runway.level" <<'EOF'
name Runway
time 60
turns 180
player 8 78 right
dummy 3 77
EOF
"$build/tools/levelc/levelc" "$work/runway.level" "$work/root/data/levels" >/dev/null
printf '1Runway\nMystery\n' >"$work/root/data/levels/Levels.txt"

player_x() { grep -o '"player":{"x":[0-9.-]*' | tail -1 | cut -d: -f3; }

# The window's walk: the key held for $1 ms in the headless host.
window_walk() {
    printf '2000 down RIGHT\n%d up RIGHT\n%d end\n' $((2000 + $1)) $((3000 + $1)) >"$work/hold.script"
    "$game" --data="$work/root" -skiptogame -soundoff --script="$work/hold.script" 2>/dev/null |
        player_x | awk '{ print $1 - 8 }'
}

T new-session -d -x 240 -y 92 -s t \
    "env -i PATH=$PATH HOME=$HOME TERM=tmux-256color LANG=C.UTF-8 XDG_DATA_HOME=$work/home PS1='$ ' bash --norc --noprofile"
sleep 0.5

# Plays one run in the pane: the game starts, then `keys` (a Python list of
# seconds after the first key at which Right is sent). Prints how far the
# player walked and the seconds from the first repeat to the last.
term_walk() {
    T send-keys -t t "clear; $game --host=term --data=$work/root -skiptogame -soundoff; echo DONE" Enter
    sleep 2.5 # past the terminal's answers and the level's start
    python3 - "$socket" "$1" <<'EOF'
import subprocess, sys, time
socket, keys = sys.argv[1], eval(sys.argv[2])
# One control client takes every key: starting a tmux program per key would
# be too slow and uneven for 30 keys a second on a busy machine.
client = subprocess.Popen(["tmux", "-L", socket, "-C", "attach", "-t", "t"],
                          stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
start = time.monotonic()
sent = []
for at in keys:
    time.sleep(max(0, start + at - time.monotonic()))
    client.stdin.write("send-keys -t t Right\n")
    client.stdin.flush()
    sent.append(time.monotonic() - start)
client.stdin.close()
client.wait()
print(f"{sent[-1] - sent[1]:.3f}" if len(sent) > 1 else 0)
EOF
    sleep 1
    T send-keys -t t C-c
    for _ in $(seq 50); do T capture-pane -p -t t | grep -q '^DONE' && break; sleep 0.1; done
    T capture-pane -p -J -t t -S -5 | player_x | awk '{ print $1 - 8 }'
}

tap="" held_ratio="" stop_ms=""
repeats=$(python3 -c "print([0] + [$delay_ms / 1000 + i / $rate for i in range($rate + 1)])")
speed=$(window_walk 1000) # cells a second
for ((run = 0; run < runs; run++)); do
    tap+=" $(term_walk '[0]' 2>/dev/null | tail -1)"
    out=$(term_walk "$repeats" 2>/dev/null)
    span=$(head -1 <<<"$out") walked=$(tail -1 <<<"$out")
    # What the held key walked beyond the lone press, against the window's
    # walk over the same span; the rest, as time, is how late it stopped.
    beyond=$(python3 -c "print(round($walked - ${tap##* }, 2))")
    window=$(window_walk "$(python3 -c "print(round($span * 1000))")")
    held_ratio+=" $(python3 -c "print($beyond / $window)")"
    stop_ms+=" $(python3 -c "print(max(0, ($beyond / $speed - $span) * 1000))")"
    echo "bench: keys run $run: tap $(echo "$tap" | awk '{ print $NF }') cells; held over $span s: $beyond cells beyond the tap, the window $window" >&2
done

python3 - "$tap" "$held_ratio" "$stop_ms" "$delay_ms" "$rate" <<'EOF'
import statistics, sys
tap, ratio, stop = ([float(v) for v in s.split()] for s in sys.argv[1:4])
delay, rate = sys.argv[4:6]
def row(name, target, vals, d, ok):
    m = statistics.median(vals)
    text = f"{m:.{d}f} ({min(vals):.{d}f}–{max(vals):.{d}f})" if len(vals) > 1 else f"{m:.{d}f}"
    print(f"| {name} | {target} | {text} | {'yes' if ok(m) else 'no'} |")
row("terminal without key releases (tmux), one arrow tap, cells walked", "≤ 3", tap, 2,
    lambda m: m <= 3)
row(f"terminal without key releases, a key held ({delay} ms repeat delay, {rate} repeats/s), "
    "walk over one second of repeats against the window's, times as far", "0.9 to 1.1", ratio, 2,
    lambda m: 0.9 <= m <= 1.1)
row("terminal without key releases, walking after the last repeat, ms", "≤ 60", stop, 0,
    lambda m: m <= 60)
EOF
