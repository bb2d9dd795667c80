#!/usr/bin/env bash
# Every speed figure of the README, measured side by side in one run, printed
# as the README's table (Markdown) on standard output; details go to standard
# error. Needs a built tree (make build), tmux for the terminal figures and
# Xvfb for the window figures.
#
#   bench/run_all.sh [build folder]     RUNS=5 SECONDS_PER_SCREEN=6 by default
#
# Every figure is measured RUNS times, a program's figure in RUNS fresh
# programs, and shown as the median with the lowest and highest run; a target
# is met when the median meets it. The machine's load average is sampled
# before every figure and reported under the table.
#
# Figures of other scripts: every other bench/*.sh that is not a helper of
# this one (front_cpu.sh) is run as `SCRIPT BUILD_FOLDER` with RUNS in its
# environment; the table rows it prints on standard output (lines starting
# with "|", in this table's four columns) are added to the table.
set -euo pipefail
build=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
game=$build/wobblewick
runs=${RUNS:-5}
per_screen=${SECONDS_PER_SCREEN:-6}
[ -x "$game" ] || { echo "no $game: build first" >&2; exit 1; }
work=$(mktemp -d)
socket=wobble-bench-$$
xvfb=""
T() { tmux -L "$socket" -f /dev/null -u "$@"; }
cleanup() {
    T kill-server 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
note() { echo "bench: $*" >&2; }
loads=()
sample_load() { loads+=("$(cut -d' ' -f1 /proc/loadavg)"); }
rows=()

# figure NAME TARGET DECIMALS VALUES...: one row of the table. TARGET is
# "< N", "≤ N", "> N", "≥ N" or "—"; a value "n/a" means it was not measured.
figure() {
    rows+=("$(python3 - "$@" <<'EOF'
import statistics, sys
name, target, decimals, *values = sys.argv[1:]
vals = [float(v) for v in values if v not in ("", "n/a", "-")]
if not vals:
    print(f"| {name} | {target} | n/a | — |")
    sys.exit()
d = int(decimals)
fmt = lambda v: f"{v:,.{d}f}" if abs(v) >= 10000 else f"{v:.{d}f}"
median = statistics.median(vals)
text = fmt(median) if len(vals) == 1 else f"{fmt(median)} ({fmt(min(vals))}–{fmt(max(vals))})"
met = "—"
if target != "—":
    op, limit = target.split(" ", 1)
    limit = float(limit.replace(",", ""))
    met = "yes" if {"<": median < limit, "≤": median <= limit, ">": median > limit,
                    "≥": median >= limit}[op] else "no"
print(f"| {name} | {target} | {text} | {met} |")
EOF
)")
}

# json_values FILE NAME FIELD [UNIT]: the field of every repetition of one
# benchmark; a time (cpu_time) in UNIT (us or ms).
json_values() {
    python3 - "$@" <<'EOF'
import json, sys
path, name, field = sys.argv[1:4]
unit = sys.argv[4] if len(sys.argv) > 4 else None
per_ns = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
try:
    data = json.load(open(path))
except (OSError, ValueError):
    sys.exit()
out = []
for b in data.get("benchmarks", []):
    if b["name"] == name and b.get("run_type") == "iteration" and "error_occurred" not in b:
        v = b[field]
        if unit:
            v = v * per_ns[b.get("time_unit", "ns")] / per_ns[unit]
        out.append(v)
print(" ".join(f"{v:.6g}" for v in out))
EOF
}

# A data root of its own, so that no run changes the repository's high score.
source tests/script_support.bash
make_data_root "$work/root"
levels=$(head -n 1 data/levels/Levels.txt | tr -dc 0-9)

# A virtual display for the window figures.
display=""
if ! env DISPLAY=:999 "$game" --host=sdl </dev/null 2>&1 >/dev/null | grep -q "no window host" &&
    command -v Xvfb >/dev/null; then
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=:$(head -1 "$work/display")
fi

# ---- Benchmarks of the benchmark binary: RUNS repetitions each ----------------------
sample_load
note "benchmark binary (compose, a plain copy, terminal encoder), $runs runs"
"$build/wobble_bench" --benchmark_filter='Compose|PlainFrameCopy|TermPlayFrame|TermShakeStep' \
    --benchmark_min_time=0.3 --benchmark_repetitions="$runs" --benchmark_format=json \
    >"$work/bench.json" 2>/dev/null
if [ -n "$display" ]; then
    sample_load
    note "window present under Xvfb, $runs runs"
    DISPLAY=$display "$build/wobble_bench" --benchmark_filter='SdlPresent.*/1$' \
        --benchmark_min_time=0.3 --benchmark_repetitions="$runs" --benchmark_format=json \
        >"$work/window.json" 2>/dev/null || true
fi

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
sample_load
declare -A timedemo
for ((level = 0; level < levels; level++)); do
    "$game" -skiptogame -soundoff --data="$work/root" --start-level=$level \
        --script="$work/session.script" --record="$work/level$level.rec" >/dev/null 2>&1
    timedemo[$level]=""
    for ((run = 0; run < runs; run++)); do
        timedemo[$level]+=" $("$game" --data="$work/root" --replay="$work/level$level.rec" \
            --timedemo 2>/dev/null | sed -n 's/^timedemo: .* = \([0-9]*\) frames\/s$/\1/p')"
    done
    note "timedemo level $level:${timedemo[$level]} frames/s"
done

# ---- Start-up to the first frame and peak memory (headless), fresh programs -----------
# The run ends right after its first frame; the whole run bounds the start-up.
# Wall clock and processor time (a shared machine stretches the wall clock;
# the processor time is what the program spent).
sample_load
echo "15 end" >"$work/first.script"
python3 - "$game" "$work" $((runs * 2 + 1)) >"$work/startup.txt" <<'EOF'
import resource, subprocess, sys, time
game, work, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
walls, cpus = [], []
for _ in range(n):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([game, "-skiptogame", "--data=" + work + "/root", "--script=" + work + "/first.script"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    walls.append((time.perf_counter() - start) * 1000)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append((after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000)
print(" ".join(f"{v:.2f}" for v in walls))
print(" ".join(f"{v:.2f}" for v in cpus))
EOF
startup_wall=$(sed -n 1p "$work/startup.txt")
startup_cpu=$(sed -n 2p "$work/startup.txt")
peak_headless=""
for ((run = 0; run < runs; run++)); do
    /usr/bin/time -f %M -o "$work/time.txt" "$game" --data="$work/root" \
        --replay="$work/level0.rec" --host=headless >/dev/null 2>&1
    peak_headless+=" $(python3 -c "print($(tail -1 "$work/time.txt") / 1024)")"
done
note "start-up wall: $startup_wall ms; processor: $startup_cpu ms; peak MB:$peak_headless"

# ---- The terminal host in tmux -------------------------------------------------------
term_ok=0
if command -v tmux >/dev/null; then
    T new-session -d -x 240 -y 92 -s t \
        "env -i PATH=$PATH HOME=$HOME TERM=tmux-256color LANG=C.UTF-8 PS1='$ ' bash --norc --noprofile"
    sleep 0.5
    term_ok=1
fi
pid_file=$work/pid
# Runs a command line in the pane, waits for its end; SETTLE seconds to wait
# for its start, then the rest is up to the caller.
pane_start() {
    rm -f "$pid_file"
    T send-keys -t t "clear; sh -c 'echo \$\$ > $pid_file; exec $1' 2>$work/pane-err; echo DONE" Enter
    for _ in $(seq 50); do [ -s "$pid_file" ] && break; sleep 0.1; done
}
pane_wait() { # seconds at most
    for _ in $(seq $(($1 * 10))); do T capture-pane -p -t t | grep -q '^DONE' && return; sleep 0.1; done
    T send-keys -t t C-c
    for _ in $(seq 50); do T capture-pane -p -t t | grep -q '^DONE' && break; sleep 0.1; done
}
# Runs a command line in the pane to its end (at most $2 seconds) and prints
# how many bytes it wrote to the terminal.
pane_bytes() {
    T pipe-pane -t t -o "cat > $work/term-out"
    pane_start "$1"
    pane_wait "$2"
    T pipe-pane -t t
    sleep 0.3
    stat -c %s "$work/term-out"
}
# Processor time of a process and its threads, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'; }
game_pid() { pgrep -P "$(cat "$pid_file")" -x wobblewick || true; }

cpu_play="" bytes_per_frame="" peak_term=""
if [ $term_ok = 1 ]; then
    sample_load
    for ((run = 0; run < runs; run++)); do
        # Steady play with the output counted: walk to and fro for a while.
        T pipe-pane -t t -o "cat > $work/term-out"
        pane_start "/usr/bin/time -f %M -o $work/term-time.txt $game --host=term --data=$work/root -skiptogame"
        sleep 2.5 # past the terminal's answers and the first frames
        for _ in 1 2 3 4; do
            T send-keys -t t Right Right Right
            sleep 0.7
            T send-keys -t t Up Left Left Left
            sleep 0.7
        done
        pid=$(game_pid)
        if [ -n "$pid" ]; then
            before=$(cpu_ns "$pid")
            sleep "$per_screen"
            after=$(cpu_ns "$pid")
            cpu_play+=" $(python3 -c "print(($after - $before) / 1e7 / $per_screen)")"
        fi
        T send-keys -t t C-c
        pane_wait 5
        T pipe-pane -t t
        sleep 0.3
        frames=$(T capture-pane -p -J -t t | grep -o '"frames":[0-9]*' | tail -1 | cut -d: -f2)
        bytes=$(stat -c %s "$work/term-out")
        bytes_per_frame+=" $(python3 -c "print($bytes / max(1, ${frames:-1}) / 1024)")"
        peak_term+=" $(python3 -c "print($(tail -1 "$work/term-time.txt") / 1024)")"
        note "terminal play: $bytes bytes for $frames frames"
    done
fi

# ---- Processor use per front-end screen, in each host, fresh programs ---------------
declare -A cpu
for host in term sdl; do
    sample_load
    for ((run = 0; run < runs; run++)); do
        SECONDS_PER_SCREEN=$per_screen bench/front_cpu.sh --host=$host "$build" \
            >"$work/front-$host.txt" 2>&1 || true
        while read -r screen percent _; do
            cpu[$host,$screen]+=" $percent"
        done < <(grep '% of one core' "$work/front-$host.txt")
        note "front-end screens ($host): $(tr '\n' ';' <"$work/front-$host.txt")"
    done
done

# ---- Peers: one recorded boss level shown by our hosts and by ncurses and libtcod -----
# The first 25 s of the first boss level's proof (the boss, a turn of the
# room and its shake), recorded, and every frame of it dumped for the peers;
# each program shows the same frames.
boss_level=$(grep -n -i '^ozzle' data/levels/Levels.txt | head -1 | cut -d: -f1)
boss_level=$(((boss_level - 1) / 2))
boss_script=$(ls tests/levels/"$(printf %02d $((boss_level + 1)))"-*.script)
{ awk '$1 ~ /^[0-9]+$/ && $1 < 25000' "$boss_script"; echo "25000 end"; } >"$work/boss.script"
"$game" -skiptogame -soundoff --seed=0 --data="$work/root" --start-level=$boss_level \
    --script="$work/boss.script" --record="$work/boss.rec" >/dev/null 2>&1
mkdir "$work/frames"
"$game" --data="$work/root" --replay="$work/boss.rec" --host=headless --frames="$work/frames" \
    >/dev/null 2>&1
boss_frames=$(find "$work/frames" -name '*.srf' | wc -l)
note "boss level $((boss_level + 1)) ($boss_script): $boss_frames frames"

# Processor milliseconds per frame of one of our programs, run to its end.
our_ms_per_frame() { # time file
    python3 -c "u, s = open('$1').read().split()[-2:]; print((float(u) + float(s)) * 1000 / $boss_frames)"
}
term_ours_bytes="" term_peer_bytes="" term_ours_ms="" term_peer_ms=""
if [ $term_ok = 1 ] && [ -x "$build/ncurses_peer" ]; then
    sample_load
    for ((run = 0; run < runs; run++)); do
        # Every picture, as the peer paints every frame.
        term_ours_bytes+=" $(pane_bytes "/usr/bin/time -f \"%U %S\" -o $work/term-time.txt env WOBBLE_TERM_RATE=0 $game --host=term --data=$work/root --replay=$work/boss.rec --timedemo" 120)"
        term_ours_ms+=" $(our_ms_per_frame "$work/term-time.txt")"
        term_peer_bytes+=" $(pane_bytes "$build/ncurses_peer $work/frames $work/peer.txt" 120)"
        term_peer_ms+=" $(awk '{ print $4 / $2 }' "$work/peer.txt" 2>/dev/null)"
    done
    note "boss level in tmux: ours bytes$term_ours_bytes ms/frame$term_ours_ms; ncurses bytes$term_peer_bytes ms/frame$term_peer_ms"
fi
# A whole minute of the boss level, played back at its own pace in tmux with
# the game's palette loaded into the terminal: every turn of the room shakes
# the picture, which the terminal slides instead of receiving it again.
session_bytes=""
if [ $term_ok = 1 ]; then
    { awk '$1 ~ /^[0-9]+$/ && $1 < 60000' "$boss_script"; echo "60000 end"; } >"$work/minute.script"
    "$game" -skiptogame -soundoff --seed=0 --data="$work/root" --start-level=$boss_level \
        --script="$work/minute.script" --record="$work/minute.rec" >/dev/null 2>&1
    sample_load
    for ((run = 0; run < runs; run++)); do
        session_bytes+=" $(pane_bytes "env WOBBLE_TERM_COLOURS=palette $game --host=term --data=$work/root --replay=$work/minute.rec" 120)"
    done
    note "a minute of the boss level in tmux: bytes$session_bytes"
fi
window_ours_ms="" window_peer_ms=""
if [ -n "$display" ] && [ -x "$build/libtcod_peer" ]; then
    sample_load
    for ((run = 0; run < runs; run++)); do
        DISPLAY=$display SDL_AUDIODRIVER=dummy /usr/bin/time -f "%U %S" -o "$work/sdl-time.txt" \
            "$game" --host=sdl --data="$work/root" --replay="$work/boss.rec" --timedemo \
            >/dev/null 2>&1 || true
        window_ours_ms+=" $(our_ms_per_frame "$work/sdl-time.txt")"
        DISPLAY=$display SDL_AUDIODRIVER=dummy "$build/libtcod_peer" "$work/frames" "$work/peer.txt" \
            >/dev/null 2>&1 || true
        window_peer_ms+=" $(awk '{ print $4 / $2 }' "$work/peer.txt" 2>/dev/null)"
    done
    note "boss level under Xvfb: ours ms/frame$window_ours_ms; libtcod ms/frame$window_peer_ms"
fi
sample_load

# ---- The table ------------------------------------------------------------------------------
# ratios RUN-BY-RUN A B: A / B of each run (the two measured side by side).
ratios() {
    python3 - "$1" "$2" <<'EOF'
import sys
a, b = (s.split() for s in sys.argv[1:3])
print(" ".join(f"{float(x) / float(y):.4f}" for x, y in zip(a, b) if float(y) > 0))
EOF
}
for ((level = 0; level < levels; level++)); do
    name=$(python3 -c "
import re; lines = open('data/levels/Levels.txt').read().split('\\n')
lines[0] = re.sub(r'^\\s*\\d+', '', lines[0]); print(lines[2 * $level].strip())")
    figure "timedemo, level $((level + 1)) ($name), frames/s" "≥ 25,000" 0 ${timedemo[$level]}
done
compose=$(json_values "$work/bench.json" BM_ComposeFrame cpu_time us)
copy=$(json_values "$work/bench.json" BM_PlainFrameCopy cpu_time us)
figure "compose (clear + a frame's blits), µs" "< 15" 1 $compose
figure "a plain copy of the same 40 KB frame, µs" "—" 2 $copy
figure "compose against the plain copy, times as long" "—" 1 $(ratios "$compose" "$copy")
figure "compose + present to the headless host, µs" "—" 1 \
    $(json_values "$work/bench.json" BM_ComposeAndPresentFrame cpu_time us)
window_figure() { # benchmark, what
    figure "window present at scale 1 (Xvfb), $2, ms of processor time" "$3" 3 \
        $(json_values "$work/window.json" "$1" cpu_time ms)
}
if [ -n "$display" ]; then
    window_figure BM_SdlPresentPlayFrame/1 "a frame of play (a figure moves)" "< 0.3"
    window_figure BM_SdlPresentSameFrame/1 "nothing changed" "< 0.3"
    window_figure BM_SdlPresentChangedFrame/1 "every cell or the palette changed" "—"
else
    figure "window present at scale 1, ms of processor time" "< 0.3" 3 n/a
fi
figure "terminal, steady play (encoder benchmark), KiB/frame" "< 4" 2 \
    $(python3 -c "print(' '.join(str(float(v) / 1024) for v in '$(json_values "$work/bench.json" BM_TermPlayFrame/0/1 bytes_per_frame)'.split()))")
full=$(python3 - "$work/bench.json" <<'EOF'
import json, sys
b = json.load(open(sys.argv[1]))["benchmarks"]
print(max(x["bytes_per_frame"] for x in b if x["name"].startswith("BM_TermPlayFrame/")
          and x["name"].endswith("/0") and x.get("run_type") == "iteration") / 1024)
EOF
)
figure "terminal, full repaint (worst colour mode), KiB" "< 120" 1 $full
figure "terminal, a played session in tmux (start-up included), KiB/frame" "< 4" 2 $bytes_per_frame
figure "processor use, play screen (terminal host), % of one core" "—" 1 $cpu_play
for host in term sdl; do
    for screen in splash menu credits pause; do
        figure "processor use, $screen screen ($host host), % of one core" "< 2" 1 \
            ${cpu[$host,$screen]:-n/a}
    done
done
figure "start-up to the first frame (headless), ms wall" "< 50" 1 $startup_wall
figure "start-up to the first frame (headless), ms of processor time" "—" 1 $startup_cpu
figure "peak memory, headless replay, MB" "< 40" 1 $peak_headless
figure "peak memory, terminal host with sound, MB" "< 40" 1 ${peak_term:-n/a}
boss="25 s of the boss level's proof, $boss_frames frames"
figure "terminal host, $boss, KiB written in tmux" "—" 0 $(python3 -c "print(' '.join(str(int(v) / 1024) for v in '$term_ours_bytes'.split()))")
figure "ncurses, the same frames, KiB written in tmux" "—" 0 $(python3 -c "print(' '.join(str(int(v) / 1024) for v in '$term_peer_bytes'.split()))")
figure "terminal, a shake step (the picture slides a cell), bytes" "≤ 1,024" 0 \
    $(json_values "$work/bench.json" BM_TermShakeStep bytes_per_step)
figure "terminal host, a minute of the boss level in tmux (palette mode, shakes included), MB" "≤ 0.6" 2 \
    $(python3 -c "print(' '.join(str(int(v) / 1e6) for v in '$session_bytes'.split()))")
figure "terminal host against ncurses, bytes, times as many" "≤ 0.6" 2 \
    $(ratios "$term_ours_bytes" "$term_peer_bytes")
figure "terminal host, $boss, ms of processor time per frame (the game included)" "—" 3 $term_ours_ms
figure "ncurses, the same frames, ms of processor time per frame" "—" 3 $term_peer_ms
figure "window host (Xvfb), $boss, ms of processor time per frame (the game included)" "—" 3 $window_ours_ms
figure "libtcod SDL2 renderer (Xvfb), the same frames at scale 1, ms of processor time per frame" "—" 3 $window_peer_ms
figure "libtcod against the window host, processor time per frame, times as much" "≥ 3" 1 \
    $(ratios "$window_peer_ms" "$window_ours_ms")

# Figures of the other bench scripts.
for script in bench/*.sh; do
    case $(basename "$script") in run_all.sh | front_cpu.sh) continue ;; esac
    sample_load
    note "figures of $script"
    while IFS= read -r line; do
        [[ $line == \|* ]] && rows+=("$line")
    done < <(RUNS=$runs bash "$script" "$build" 2>/dev/null || true)
done

echo "| figure | target | measured: median (lowest–highest) of $runs runs | met |"
echo "|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
python3 - "$(nproc)" "${loads[@]}" <<'EOF'
import statistics, sys
cores, loads = sys.argv[1], [float(v) for v in sys.argv[2:]]
print(f"Load average (1 minute) before each figure: median {statistics.median(loads):.1f}, "
      f"from {min(loads):.1f} to {max(loads):.1f}, on {cores} cores.")
EOF
