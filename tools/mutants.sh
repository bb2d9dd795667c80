#!/usr/bin/env bash
# Applies each deliberate fault under tests/mutants/ on its own to a copy of the
# tree, rebuilds the unit and scenario tests incrementally and runs them. A
# mutant is caught when the build or a test fails; a patch that no longer fits
# the code is reported apart, never counted as missed.
#   tools/mutants.sh [WORK_DIR] [NAME_PATTERN]
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=${1:-$ROOT/build-mutants}
PATTERN=${2:-}
TREE=$WORK/tree
BUILD=$WORK/build
JOBS=${JOBS:-2}
mkdir -p "$WORK"

# The copy follows the working tree (uncommitted changes included) and keeps its
# times, so the build stays incremental. After an interrupted run an object may
# still hold a mutant: then every file counts as changed.
rm -rf "$TREE" && mkdir -p "$TREE"
tar -C "$ROOT" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$TREE" -xf -
[[ -e $WORK/clean ]] || find "$TREE" -type f -exec touch {} +
rm -f "$WORK/clean"
cmake -S "$TREE" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
cmake --build "$BUILD" -j "$JOBS" --target wobble_tests >/dev/null || {
    echo "the unmutated tree does not build" >&2
    exit 2
}
# The suite in two halves side by side, each stopping at its first failure.
# The soak and the long-sound checks are left out: they take most of the time
# and look for crashes and content faults, not the logic faults below.
SKIP=${SKIP:-Soak.*:AudioFiles.*:LevelProofs.NoLevelIsWonByStandingStill}
run_suite() {
    local shard status=0
    for shard in 0 1; do
        # The program finds its data beside its build folder, which is not here.
        (cd "$TREE" && WOBBLEWICK_DATA=$TREE GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard timeout 600 \
            "$BUILD/wobble_tests" --gtest_brief=1 --gtest_fail_fast --gtest_filter="-$SKIP" \
            >"$WORK/last$shard.log" 2>&1) &
    done
    for shard in 0 1; do
        wait -n || status=$?
    done
    cat "$WORK/last0.log" "$WORK/last1.log" >"$WORK/last.log"
    return $status
}
run_suite || {
    echo "the unmutated suite fails; see $WORK/last.log" >&2
    exit 2
}

caught=0 missed=0 stale=0
missedNames=() staleNames=()
for patch in "$ROOT"/tests/mutants/*.patch; do
    name=$(basename "$patch" .patch)
    [[ -n $PATTERN && $name != *$PATTERN* ]] && continue
    if ! patch -d "$TREE" -p1 -s --dry-run -f <"$patch" >/dev/null 2>&1; then
        stale=$((stale + 1)) staleNames+=("$name")
        printf '%-36s does not apply\n' "$name"
        continue
    fi
    patch -d "$TREE" -p1 -s -f <"$patch" >/dev/null
    if ! cmake --build "$BUILD" -j "$JOBS" --target wobble_tests >"$WORK/last.log" 2>&1; then
        result="caught (does not build)"
    elif run_suite; then
        result=missed
    elif [[ $? == 124 ]]; then
        result="caught (the suite hangs)"
    else
        result="caught ($(grep -m1 -o '\[  FAILED  \] [^ ]*' "$WORK/last.log" | cut -c14-))"
    fi
    patch -d "$TREE" -p1 -s -R -f <"$patch" >/dev/null
    if [[ $result == missed ]]; then
        missed=$((missed + 1)) missedNames+=("$name")
    else
        caught=$((caught + 1))
    fi
    printf '%-36s %s\n' "$name" "$result"
done
# Leave the copy's objects matching the unmutated sources.
cmake --build "$BUILD" -j "$JOBS" --target wobble_tests >/dev/null 2>&1 && touch "$WORK/clean"
echo "caught $caught, missed $missed, does not apply $stale"
((missed)) && echo "missed: ${missedNames[*]}"
((stale)) && echo "does not apply: ${staleNames[*]}"
exit 0
