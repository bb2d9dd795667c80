# Sourced by the test and benchmark scripts that run the real program: a data
# root of its own, for the window host a virtual X server with a window
# manager, as on a desktop, a tmux server for the terminal host, and the
# checks the scripts share. The X functions need $tmp (a scratch folder) and
# the array pids (processes to kill on exit): scratch_area makes both.

wobble_source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Under the sanitizers: leaks of the system libraries behind SDL are not ours.
export LSAN_OPTIONS="suppressions=$wobble_source/tests/platform/sdl_window_leaks.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# make_data_root ROOT [NAME...]: ROOT/data holds the game's data as hard links
# (symbolic links out of a root are refused), but the high-score folder (and
# each NAME of data/) as copies, so that a run that beats the high score or
# saves a level leaves the repository alone.
make_data_root() {
    local root=$1 entry name
    shift
    mkdir -p "$root/data"
    for entry in "$wobble_source"/data/*; do
        name=$(basename "$entry")
        if [ "$name" = stats ] || [[ " $* " == *" $name "* ]]; then
            cp -r "$entry" "$root/data/"
        else
            cp -rl "$entry" "$root/data/" 2>/dev/null || cp -r "$entry" "$root/data/"
        fi
    done
}

# start_xvfb WIDTHxHEIGHT: exports DISPLAY, or says why not and returns 1.
start_xvfb() {
    exec 3>"$tmp/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
    pids+=($!)
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$tmp/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$tmp/display" ]; then
        echo "skipped: Xvfb cannot start here: $(tail -1 "$tmp/xvfb.log")"
        return 1
    fi
    export DISPLAY=:$(head -1 "$tmp/display")
    unset WAYLAND_DISPLAY
}

# start_window_manager: sets haveWm to 1 once the manager has taken the
# screen (it gives windows their frame, full screen and the close button).
start_window_manager() {
    haveWm=0
    command -v openbox >/dev/null || return 0
    openbox --sm-disable >"$tmp/wm.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && haveWm=1 && return 0
        sleep 0.1
    done
}

# tmux_session NAME: a tmux server of the script's own (T sends it commands)
# and a scratch folder $work, both gone when the script ends.
tmux_session() {
    command -v tmux >/dev/null || {
        echo "tmux is missing (tools/setup.sh installs it)"
        exit 1
    }
    export LC_ALL=C.UTF-8
    socket=wobble-$1-$$
    work=$(mktemp -d)
    trap 'T kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
}
T() { tmux -L "$socket" -f /dev/null -u "$@"; }

# scratch_area: a scratch folder $tmp and the array pids of processes to
# kill, both gone when the script ends.
scratch_area() {
    tmp=$(mktemp -d)
    export XDG_DATA_HOME=$tmp/home # the player's folder: a private one
    pids=()
    trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$tmp"' EXIT
}

# fail MESSAGE: says what failed and counts it; the script goes on.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# check_replay WHAT RECORDED PROGRAM ARGUMENT...: the program, replaying,
# ends well on the recorded report line and says the frames were as
# recorded; a timedemo also says how fast it went.
check_replay() {
    local what=$1 recorded=$2 errors out code
    shift 2
    errors=$(mktemp)
    out=$("$@" </dev/null 2>"$errors")
    code=$?
    if [ $code -eq 0 ] && [ "$(tail -n 1 <<<"$out")" = "$recorded" ] &&
        grep -q "frames as recorded" "$errors"; then
        echo "ok: $what"
    else
        fail "$what (exit $code): $(tail -n 1 <<<"$out") $(cat "$errors")"
    fi
    if [[ " $* " == *" --timedemo "* ]] && ! grep -q '^timedemo: [0-9]* frames in ' <<<"$out"; then
        fail "$what: no timedemo line: $out"
    fi
    rm -f "$errors"
}
