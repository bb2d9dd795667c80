#!/usr/bin/env bash
# Compiles every level source levels/*.level into data/levels/ (.lvl and .rot).
# Usage: tools/build_levels.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for source in levels/*.level; do
  "$build/tools/levelc/levelc" "$source" data/levels
done
echo "build_levels: $(ls levels/*.level | wc -l) levels"
