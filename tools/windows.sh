#!/usr/bin/env bash
# The Windows build and its tests under wine.
#   tools/windows.sh build        build-win/wobblewick.exe and the zip
#   tools/windows.sh test [LINUX_BUILD]
#                                 the build, then under wine: the test suite,
#                                 replays across the two builds (recorded with
#                                 LINUX_BUILD/wobblewick, default build/) and
#                                 the console host in a tmux pane
#   tools/windows.sh timedemo REC the --timedemo figure of a recording under wine
set -uo pipefail
cd "$(dirname "$0")/.."
WINBUILD=${WINBUILD:-build-win}
source tests/script_support.bash

build() {
    cmake -S . -B "$WINBUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
    cmake --build "$WINBUILD" -j "$(nproc)" || exit 1
}

# Wine with a prefix of its own (made once, then kept in the cache), no
# display (its console then runs in the terminal) and no debug noise. Runs
# of this script at the same time share the prefix and its server, which
# ends by itself a few seconds after its last program.
start_wine() {
    export WINEPREFIX=${WOBBLE_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/wobblewick-wine}
    # XAudio2 is switched off: wine's own falls over without a sound card.
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;xaudio2_9=d" LC_ALL=C.UTF-8
    unset DISPLAY WAYLAND_DISPLAY
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Making the wine prefix $WINEPREFIX (once)"
            rm -rf "$WINEPREFIX"
            wineboot -i >/dev/null 2>&1 && wineserver -w
        fi
    ) 9>"$WINEPREFIX.lock"
    trap 'rm -rf "$scratch"' EXIT
}

# A Windows program under wine, its output with Unix line ends.
win() {
    wine "$@" | tr -d '\r'
}

# Only DLLs that every Windows has: the C++ runtime is linked in.
check_imports() {
    local dlls
    dlls=$(x86_64-w64-mingw32-objdump -p "$WINBUILD/wobblewick.exe" | sed -n 's/.*DLL Name: //p')
    echo "wobblewick.exe imports: $(tr '\n' ' ' <<<"$dlls")"
    if grep -viqE '^(kernel32|user32|msvcrt|ole32|winmm|advapi32|gdi32|shell32)\.dll$' <<<"$dlls"; then
        fail "wobblewick.exe needs a DLL Windows does not ship"
    fi
}

# The unit, scenario, level-proof, whole-game, replay and (brief) soak tests,
# in one wine process: wine is slow to start.
run_suite() {
    WOBBLE_SOAK_FRAMES=${WOBBLE_SOAK_FRAMES:-1500} timeout 1200 \
        wine "$WINBUILD/wobble_tests.exe" --gtest_brief=1 2>&1 | tr -d '\r' >"$scratch/suite.log"
    grep -vE '^\[ *(OK|RUN) |No such file or directory$' "$scratch/suite.log" | tail -n 25
    grep -q '^\[  PASSED  \]' "$scratch/suite.log" && ! grep -q '^\[  FAILED  \]' "$scratch/suite.log" ||
        fail "the test suite under wine"
}

# A session recorded by one build replays on the other without drifting:
# a level with boxes and turns, played by its proof.
cross_replays() {
    local linux=$1 out
    make_data_root "$scratch/root"
    local script=tests/levels/03-shove.script
    local args=(-skiptogame -soundoff --start-level=2 --seed=7 "--data=$scratch/root")
    out=$("$linux" "${args[@]}" --script="$script" --record="$scratch/linux.rec" 2>/dev/null)
    check_replay "recorded on Linux, replayed on Windows" "$(tail -n 1 <<<"$out")" \
        win "$WINBUILD/wobblewick.exe" --replay="$scratch/linux.rec" --host=headless
    out=$(win "$WINBUILD/wobblewick.exe" "${args[@]}" --script="$script" \
        --record="$scratch/windows.rec" 2>/dev/null)
    check_replay "recorded on Windows, replayed on Linux" "$(tail -n 1 <<<"$out")" \
        "$linux" --replay="$scratch/windows.rec" --host=headless
}

case "${1:-build}" in
build)
    build
    ;;
test)
    build
    scratch=$(mktemp -d)
    start_wine
    check_imports
    run_suite
    cross_replays "$(realpath "${2:-build}")/wobblewick"
    bash tests/platform/win32_console_wine.bash "$WINBUILD/wobblewick.exe" ||
        fail "the console host under wine"
    echo "Windows build under wine: $failures failed"
    [ "$failures" -eq 0 ]
    ;;
timedemo)
    build >/dev/null
    scratch=$(mktemp -d)
    start_wine
    win "$WINBUILD/wobblewick.exe" --replay="$2" --timedemo | grep '^timedemo:'
    ;;
*)
    echo "usage: tools/windows.sh build|test [LINUX_BUILD]|timedemo RECORDING" >&2
    exit 2
    ;;
esac
