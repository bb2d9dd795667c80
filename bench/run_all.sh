#!/usr/bin/env bash
# Every speed figure of the README, measured side by side in one run, printed
# as the README's table (Markdown) on standard output; details go to standard
# error. Needs a built tree (make build) and tmux for the terminal figures.
#
#   bench/run_all.sh [build folder]        SECONDS_PER_SCREEN=10 by default
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
game=$build/wobblewick
per_screen=${SECONDS_PER_SCREEN:-10}
[ -x "$game" ] || { echo "no $game: build first" >&2; exit 1; }
work=$(mktemp -d)
socket=wobble-bench-$$
T() { tmux -L "$socket" -f /dev/null -u "$@"; }
cleanup() {
    T kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
note() { echo "bench: $*" >&2; }
row() { printf '| %s | %s | %s | %s |\n' "$1" "$2" "$3" "$4"; }

# A data root of its own, so that no run changes the repository's high score.
source tests/script_support.bash
make_data_root "$work/root"
levels=$(head -n 1 data/levels/Levels.txt | tr -dc 0-9)

# ---- Benchmarks of the benchmark binary ---------------------------------------------
note "benchmark binary (timedemo per level, compose, terminal encoder)"
"$build/wobble_bench" --benchmark_filter='Timedemo|Compose|TermPlayFrame' \
    --benchmark_min_time=0.3 --benchmark_format=json >"$work/bench.json" 2>/dev/null
# The window host's present, on a virtual display of its own.
window_play="n/a (no window host in this build)" window_changed="" window_same=""
if ! env DISPLAY=:999 "$game" --host=sdl </dev/null 2>&1 >/dev/null | grep -q "no window host" &&
    command -v Xvfb >/dev/null; then
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    DISPLAY=:$(head -1 "$work/display") "$build/wobble_bench" \
        --benchmark_filter='SdlPresent.*/1$' --benchmark_min_time=0.3 --benchmark_format=json \
        >"$work/window.json" 2>/dev/null || true
    kill $xvfb 2>/dev/null || true
    read -r window_play window_changed window_same < <(python3 - "$work/window.json" <<'EOF'
import json, sys
t = {b["name"]: b["cpu_time"] for b in json.load(open(sys.argv[1]))["benchmarks"] if "error_occurred" not in b}
names = ("BM_SdlPresentPlayFrame/1", "BM_SdlPresentChangedFrame/1", "BM_SdlPresentSameFrame/1")
print(" ".join(f"{t[n] / 1000:.3f}" for n in names) if all(n in t for n in names) else "n/a - -")
EOF
)
    note "window present: $window_play ms (a frame of play), $window_changed ms (every cell changed), $window_same ms (nothing changed)"
fi

bench() { # name regex, field
    python3 - "$work/bench.json" "$1" "$2" <<'EOF'
import json, re, sys
data = json.load(open(sys.argv[1]))
for b in data["benchmarks"]:
    if re.fullmatch(sys.argv[2], b["name"]):
        v = b[sys.argv[3]]
        unit = b.get("time_unit", "ns")
        if sys.argv[3] == "cpu_time":
            v = v / {"ns": 1000, "us": 1, "ms": 0.001}[unit]
        print(f"{v:.1f}")
        break
EOF
}

# ---- Timedemo through the program: a recorded session per level ----------------------
# Walking, jumping and boxes for 30 s of game time from each level's start.
session_script() {
    local t=500
    while [ $t -lt 30000 ]; do
        echo "$t down RIGHT"; echo "$((t + 400)) up RIGHT"; echo "$((t + 500)) tap UP"
        echo "$((t + 700)) tap SPACE"; echo "$((t + 900)) down LEFT"; echo "$((t + 1300)) up LEFT"
        t=$((t + 1500))
    done
    echo "30000 end"
}
session_script >"$work/session.script"
declare -A timedemo
for ((level = 0; level < levels; level++)); do
    "$game" -skiptogame -soundoff --data="$work/root" --start-level=$level \
        --script="$work/session.script" --record="$work/level$level.rec" >/dev/null 2>&1
    best=0
    for run in 1 2 3; do
        fps=$("$game" --data="$work/root" --replay="$work/level$level.rec" --timedemo 2>/dev/null |
            sed -n 's/^timedemo: .* = \([0-9]*\) frames\/s$/\1/p')
        [ "${fps:-0}" -gt "$best" ] && best=$fps
    done
    timedemo[$level]=$best
    note "timedemo level $level: $best frames/s"
done

# ---- Start-up to the first frame (headless) ------------------------------------------
# The run ends right after its first frame; the whole run bounds the start-up.
# Wall clock and processor time, the median of 11 runs each (a shared machine
# stretches the wall clock; the processor time is what the program spent).
echo "15 end" >"$work/first.script"
read -r startup_wall startup_cpu < <(python3 - "$game" "$work" <<'EOF'
import resource, statistics, subprocess, sys, time
game, work = sys.argv[1], sys.argv[2]
walls, cpus = [], []
for _ in range(11):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([game, "-skiptogame", "--data=" + work + "/root", "--script=" + work + "/first.script"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    walls.append((time.perf_counter() - start) * 1000)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append((after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000)
print(f"{statistics.median(walls):.1f} {statistics.median(cpus):.1f}")
EOF
)
note "start-up to first frame (median of 11): $startup_wall ms wall, $startup_cpu ms processor"

# ---- Peak memory ------------------------------------------------------------------------
/usr/bin/time -v "$game" --data="$work/root" --replay="$work/level0.rec" --host=headless \
    >/dev/null 2>"$work/time.txt"
peak_headless=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")

# ---- The terminal host in tmux: bytes per frame, peak memory, processor per screen -------
term_ok=0
if command -v tmux >/dev/null; then
    T new-session -d -x 240 -y 92 -s t "env -i PATH=$PATH HOME=$HOME TERM=screen PS1='$ ' bash --norc --noprofile"
    sleep 0.5
    term_ok=1
fi
pid_file=$work/pid
start_term() { # arguments
    rm -f "$pid_file"
    T send-keys -t t "clear; env -u DISPLAY sh -c 'echo \$\$ > $pid_file; exec /usr/bin/time -v -o $work/term-time.txt $game --host=term --data=$work/root $1' 2>$work/term-err; echo DONE" Enter
    for _ in $(seq 50); do [ -s "$pid_file" ] && break; sleep 0.1; done
    sleep 2.5 # past the terminal's answers and the first frames
}
game_pid() { pgrep -P "$(cat "$pid_file")" -x wobblewick || true; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure_cpu() { # seconds -> percent of one core
    local pid ticks0 ticks1 hz
    pid=$(game_pid)
    [ -n "$pid" ] || { echo "n/a"; return; }
    hz=$(getconf CLK_TCK)
    ticks0=$(cpu_ticks "$pid")
    sleep "$1"
    ticks1=$(cpu_ticks "$pid")
    python3 -c "print(f'{($ticks1 - $ticks0) * 100 / ($hz * $1):.1f}')"
}
stop_term() {
    T send-keys -t t C-c
    for _ in $(seq 50); do T capture-pane -p -t t | grep -q DONE && break; sleep 0.1; done
}
cpu_play="n/a" bytes_per_frame="n/a" peak_term="n/a"
if [ $term_ok = 1 ]; then
    # Steady play with the output counted: walk to and fro for a while.
    T pipe-pane -t t -o "cat > $work/term-out"
    start_term "-skiptogame"
    for _ in 1 2 3 4; do
        T send-keys -t t Right Right Right
        sleep 0.7
        T send-keys -t t Up Left Left Left
        sleep 0.7
    done
    cpu_play=$(measure_cpu "$per_screen")
    stop_term
    T pipe-pane -t t
    sleep 0.3
    frames=$(T capture-pane -p -J -t t | grep -o '"frames":[0-9]*' | tail -1 | cut -d: -f2)
    bytes=$(stat -c %s "$work/term-out")
    bytes_per_frame=$(python3 -c "print(f'{$bytes / max(1, ${frames:-1}) / 1024:.2f}')")
    peak_term=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/term-time.txt")
    note "terminal: $bytes bytes for $frames frames; play $cpu_play %"
fi

# ---- Processor use per front-end screen, in each host ---------------------------------
declare -A cpu
for host in term sdl; do
    bench/front_cpu.sh --host=$host "$build" >"$work/front-$host.txt" 2>&1 || true
    while read -r screen percent _; do
        cpu[$host,$screen]=$percent
    done < <(grep '% of one core' "$work/front-$host.txt")
    note "front-end screens ($host): $(tr '\n' ';' <"$work/front-$host.txt")"
done

# ---- The table ------------------------------------------------------------------------------
echo "| figure | target | measured | met |"
echo "|---|---|---|---|"
for ((level = 0; level < levels; level++)); do
    name=$(python3 -c "
import re; lines = open('data/levels/Levels.txt').read().split('\\n')
lines[0] = re.sub(r'^\\s*\\d+', '', lines[0]); print(lines[2 * $level].strip())")
    fps=${timedemo[$level]}
    row "timedemo, level $((level + 1)) ($name), frames/s" "≥ 25,000" "$fps" "$([ "$fps" -ge 25000 ] && echo yes || echo no)"
done
for b in $(python3 -c "
import json; d = json.load(open('$work/bench.json'))
print(' '.join(x['name'] for x in d['benchmarks'] if x['name'].startswith('BM_Timedemo/')))"); do
    fps=$(python3 - "$work/bench.json" "$b" <<'EOF'
import json, sys
for x in json.load(open(sys.argv[1]))["benchmarks"]:
    if x["name"] == sys.argv[2]:
        print(int(x["frames/s"]))
EOF
)
    row "timedemo benchmark ${b#BM_Timedemo/}, frames/s" "≥ 25,000" "$fps" "$([ "$fps" -ge 25000 ] && echo yes || echo no)"
done
compose=$(bench BM_ComposeFrame cpu_time)
present=$(bench BM_ComposeAndPresentFrame cpu_time)
row "compose (clear + a frame's blits), µs" "< 15" "$compose" "$(python3 -c "print('yes' if $compose < 15 else 'no')")"
row "compose + present to the headless host, µs" "—" "$present" "—"
if [ -n "$window_same" ] && [ "$window_same" != "-" ]; then
    row "window present at scale 1 (Xvfb), a frame of play (a figure moves), ms of processor time" "< 0.3" "$window_play" "$(python3 -c "print('yes' if $window_play < 0.3 else 'no')")"
    row "window present at scale 1 (Xvfb), nothing changed, ms of processor time" "< 0.3" "$window_same" "$(python3 -c "print('yes' if $window_same < 0.3 else 'no')")"
    row "window present at scale 1 (Xvfb), every cell or the palette changed, ms of processor time" "—" "$window_changed" "—"
else
    row "window present at scale 1, ms of processor time" "< 0.3" "$window_play" "—"
fi
steady=$(python3 - "$work/bench.json" <<'EOF'
import json, sys
for x in json.load(open(sys.argv[1]))["benchmarks"]:
    if x["name"] == "BM_TermPlayFrame/0/1":
        print(f'{x["bytes_per_frame"] / 1024:.2f}')
EOF
)
full=$(python3 - "$work/bench.json" <<'EOF'
import json, sys
print(f'{max(x["bytes_per_frame"] for x in json.load(open(sys.argv[1]))["benchmarks"] if x["name"].startswith("BM_TermPlayFrame/") and x["name"].endswith("/0")) / 1024:.1f}')
EOF
)
row "terminal, steady play (encoder benchmark), KiB/frame" "< 4" "$steady" "$(python3 -c "print('yes' if $steady < 4 else 'no')")"
row "terminal, a played session in tmux (start-up included), KiB/frame" "< 4" "$bytes_per_frame" "$(python3 -c "print('yes' if '$bytes_per_frame' != 'n/a' and float('$bytes_per_frame') < 4 else '—')")"
row "terminal, full repaint (worst colour mode), KiB" "< 120" "$full" "$(python3 -c "print('yes' if $full < 120 else 'no')")"
row "processor use, play screen (terminal host), % of one core" "—" "$cpu_play" "—"
for host in term sdl; do
    for screen in splash menu credits pause; do
        v=${cpu[$host,$screen]:-n/a}
        met="—"
        [[ "$v" =~ ^[0-9.]+$ ]] && met=$(python3 -c "print('yes' if $v < 2 else 'no')")
        row "processor use, $screen screen ($host host), % of one core" "< 2" "$v" "$met"
    done
done
row "start-up to the first frame (headless), ms wall / processor" "< 50" "$startup_wall / $startup_cpu" "$(python3 -c "print('yes' if $startup_wall < 50 else 'no')")"
row "peak memory, headless replay, MB" "< 40" "$(python3 -c "print(f'{$peak_headless / 1024:.1f}')")" "$(python3 -c "print('yes' if $peak_headless < 40 * 1024 else 'no')")"
if [ "$peak_term" != "n/a" ]; then
    row "peak memory, terminal host with sound, MB" "< 40" "$(python3 -c "print(f'{$peak_term / 1024:.1f}')")" "$(python3 -c "print('yes' if $peak_term < 40 * 1024 else 'no')")"
fi
