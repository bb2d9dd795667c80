#!/usr/bin/env bash
# Counts the lines of test code against the rest of the code, blank lines and
# comments left out: tests/ (scripts included) against src/, tools/, bench/,
# fuzz/, the content generators and the web page's script. The test side
# should stay at 35 % or less.
cd "$(dirname "$0")/.." || exit 2
count() {
    git ls-files -- "$@" | grep -E '\.(cpp|h|sh|bash|py|cmake|js|mjs)$|CMakeLists\.txt$' |
        xargs -r cat | awk '
        { line = $0; sub(/^[ \t]+/, "", line) }
        inBlock { if (line ~ /\*\//) inBlock = 0; next }
        line == "" || line ~ /^(\/\/|# |#!|#$)/ { next }
        line ~ /^\/\*/ { if (line !~ /\*\//) inBlock = 1; next }
        { n++ }
        END { print n + 0 }'
}
tests=$(count tests)
code=$(count src tools bench fuzz content web)
# One decimal, rounded down, so that a ratio just over the limit shows as over.
echo "test code $tests lines, other code $code lines, ratio $((100 * tests / code)).$((1000 * tests / code % 10)) %"
