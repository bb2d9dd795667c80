#!/usr/bin/env bash
# Applies each deliberate fault under tests/mutants/ on its own to a copy of the
# tree, rebuilds the unit and scenario tests incrementally and runs them. A
# mutant is caught when the build or a test fails; a patch that no longer fits
# the code is reported apart, never counted as missed.
#   tools/mutants.sh [WORK_DIR] [NAME_PATTERN]
# With BEFORE=REV the tests of that commit are built too, against the same
# (mutated) game, and every mutant is judged by both suites: how a change to
# the tests changed what they catch.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=${1:-$ROOT/build-mutants}
PATTERN=${2:-}
BEFORE=${BEFORE:-}
TREE=$WORK/tree
BUILD=$WORK/build
JOBS=${JOBS:-2}
mkdir -p "$WORK"

# The copy follows the working tree (uncommitted changes included) and keeps its
# times, so the build stays incremental. After an interrupted run an object may
# still hold a mutant: then every file counts as changed.
rm -rf "$TREE" && mkdir -p "$TREE"
tar -C "$ROOT" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$TREE" -xf -
# The programs the tests start look for the game's data beside the build folder.
rm -rf "$WORK/data" && cp -rl "$TREE/data" "$WORK/data"
[[ -e $WORK/clean ]] || find "$TREE" -type f -exec touch {} +
rm -f "$WORK/clean"
targets=(wobble_tests)
if [[ -n $BEFORE ]]; then
    mkdir "$TREE/tests_before"
    git -C "$ROOT" archive "$BEFORE" tests | tar -x -C "$TREE/tests_before" --strip-components=1 ||
        exit 2
    cat >>"$TREE/CMakeLists.txt" <<'CMAKE'
file(GLOB_RECURSE BEFORE_SOURCES tests_before/*.cpp)
list(FILTER BEFORE_SOURCES EXCLUDE REGEX ".*_main\\.cpp$")
add_executable(wobble_tests_before ${BEFORE_SOURCES})
get_target_property(libraries wobble_tests LINK_LIBRARIES)
get_target_property(definitions wobble_tests COMPILE_DEFINITIONS)
target_link_libraries(wobble_tests_before PRIVATE ${libraries})
target_compile_definitions(wobble_tests_before PRIVATE ${definitions})
target_include_directories(wobble_tests_before PRIVATE tests_before)
add_dependencies(wobble_tests_before wobblewick)
CMAKE
    targets+=(wobble_tests_before)
fi
build() { cmake --build "$BUILD" -j "$JOBS" --target "${targets[@]}"; }
cmake -S "$TREE" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
build >/dev/null || {
    echo "the unmutated tree does not build" >&2
    exit 2
}
# The suite in two halves side by side, each stopping at its first failure.
# The soak and the long-sound checks are left out: they take most of the time
# and look for crashes and content faults, not the logic faults below.
SKIP=${SKIP:-Soak.*:AudioFiles.*:LevelProofs.NoLevelIsWonByStandingStill}
run_suite() { # the test program's name
    local shard status=0
    for shard in 0 1; do
        (cd "$TREE" && GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard timeout 600 \
            "$BUILD/$1" --gtest_brief=1 --gtest_fail_fast --gtest_filter="-$SKIP" \
            >"$WORK/last$shard.log" 2>&1) &
    done
    for shard in 0 1; do
        wait -n || status=$?
    done
    cat "$WORK/last0.log" "$WORK/last1.log" >"$WORK/last.log"
    return $status
}
for suite in "${targets[@]}"; do
    run_suite "$suite" || {
        echo "the unmutated suite $suite fails; see $WORK/last.log" >&2
        exit 2
    }
done

# judge SUITE: how the suite fares against the mutant in the tree now.
judge() {
    if run_suite "$1"; then
        echo missed
    elif [[ $? == 124 ]]; then
        echo "caught (the suite hangs)"
    else
        echo "caught ($(grep -m1 -o '\[  FAILED  \] [^ ]*' "$WORK/last.log" | cut -c14-))"
    fi
}

caught=0 missed=0 stale=0 beforeCaught=0
missedNames=() staleNames=() beforeMissedNames=()
for patch in "$ROOT"/tests/mutants/*.patch; do
    name=$(basename "$patch" .patch)
    [[ -n $PATTERN && $name != *$PATTERN* ]] && continue
    if ! patch -d "$TREE" -p1 -s --dry-run -f <"$patch" >/dev/null 2>&1; then
        stale=$((stale + 1)) staleNames+=("$name")
        printf '%-36s does not apply\n' "$name"
        continue
    fi
    patch -d "$TREE" -p1 -s -f <"$patch" >/dev/null
    before=""
    if ! build >"$WORK/last.log" 2>&1; then
        result="caught (does not build)"
        [[ -n $BEFORE ]] && before=caught
    else
        result=$(judge wobble_tests)
        [[ -n $BEFORE ]] && before=$(judge wobble_tests_before | cut -d' ' -f1)
    fi
    patch -d "$TREE" -p1 -s -R -f <"$patch" >/dev/null
    if [[ $before == caught ]]; then
        beforeCaught=$((beforeCaught + 1))
    elif [[ -n $before ]]; then
        beforeMissedNames+=("$name")
    fi
    if [[ $result == missed ]]; then
        missed=$((missed + 1)) missedNames+=("$name")
    else
        caught=$((caught + 1))
    fi
    printf '%-36s %s%s\n' "$name" "$result" "${before:+ (before: $before)}"
done
# Leave the copy's objects matching the unmutated sources.
build >/dev/null 2>&1 && touch "$WORK/clean"
echo "caught $caught, missed $missed, does not apply $stale"
((missed)) && echo "missed: ${missedNames[*]}"
((stale)) && echo "does not apply: ${staleNames[*]}"
if [[ -n $BEFORE ]]; then
    echo "the tests of $BEFORE: caught $beforeCaught, missed ${#beforeMissedNames[@]}"
    ((${#beforeMissedNames[@]})) && echo "missed before: ${beforeMissedNames[*]}"
fi
exit 0
