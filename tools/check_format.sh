#!/usr/bin/env bash
# Fails when a tracked C++ file is not clang-format clean.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || true)
[ -z "$files" ] && exit 0
bad=0
for f in $files; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not clang-format clean: $f"
    bad=1
  fi
done
[ $bad -eq 0 ] && echo "format: clean"
exit $bad
