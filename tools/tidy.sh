#!/usr/bin/env bash
# clang-tidy over src/ with the project's short list of checks (.clang-tidy),
# on the compile commands of a configured build (default: build/).
#   tools/tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
[ -f "$BUILD/compile_commands.json" ] || { echo "configure $BUILD first (cmake --preset default)" >&2; exit 2; }
run-clang-tidy-14 -p "$BUILD" -j"$(nproc)" -quiet "$(pwd)/src/.*\.cpp$" >"$BUILD/tidy.log" 2>&1 || {
  grep -E "(warning|error):" "$BUILD/tidy.log" | sort -u
  echo "clang-tidy found problems (all of it in $BUILD/tidy.log)"
  exit 1
}
echo "clang-tidy: src/ is clean"
