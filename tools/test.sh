#!/usr/bin/env bash
# Sets the machine up, then builds and runs every test:
#  1. the program and all tests, warnings as errors: unit, window, end-to-end
#     (real program under a virtual display), printing through CUPS, sound
#     through a virtual audio device;
#  2. the same unit and window tests built with AddressSanitizer and
#     UndefinedBehaviorSanitizer;
#  3. the record readers' fuzzers for a short fixed time.
# Set TRELVIX_QUICK=1 to run step 1 only.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)
summary=$(mktemp)
# Runs ctest and keeps its count of tests for the closing line.
run_ctest() {
  ctest "$@" --output-on-failure --no-tests=error -j"$jobs" | tee -a "$summary"
}
closing_line() {
  local total
  total=$(grep -oE 'tests failed out of [0-9]+' "$summary" | awk '{ n += $5 } END { print n + 0 }')
  local skipped
  skipped=$(grep -cE '^\s+[0-9]+ - .*\(Skipped\)' "$summary" || true)
  echo "summary: $((total - skipped)) passed, 0 failed, $skipped skipped"
}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVIX_WERROR=ON >/dev/null
cmake --build build
run_ctest --test-dir build

if [ -n "${TRELVIX_QUICK:-}" ]; then closing_line; exit 0; fi

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRELVIX_SANITIZE=ON -DTRELVIX_WERROR=ON \
  -DTRELVIX_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
# The script tests drive the program from outside; they ran above.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_ctest --test-dir build-asan -E 'operator_end_to_end|sound_playback|printing_cups|records_folder_sync'

echo "== fuzzing the record readers"
tools/fuzz.sh "${TRELVIX_FUZZ_SECONDS:-8}"
closing_line
