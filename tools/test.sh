#!/usr/bin/env bash
# Sets the machine up, then builds and runs every test:
#  1. the program and all tests, warnings as errors: unit, window, end-to-end
#     (real program under a virtual display), printing through CUPS, sound
#     through a virtual audio device;
#  2. the same unit and window tests built with AddressSanitizer and
#     UndefinedBehaviorSanitizer;
#  3. clang-tidy over src/;
#  4. the record readers' fuzzers for a short fixed time;
#  5. the Debian package: built, installed with apt-get, validated, started.
# Set TRELVIX_QUICK=1 to run step 1 only.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# What a developer's shell exports for other work must not change the run.
unset GTEST_FILTER GTEST_ALSO_RUN_DISABLED_TESTS GTEST_REPEAT GTEST_SHUFFLE GTEST_BREAK_ON_FAILURE \
  LD_PRELOAD QT_QPA_PLATFORM WAYLAND_DISPLAY CTEST_PARALLEL_LEVEL CMAKE_BUILD_TYPE CMAKE_GENERATOR \
  ASAN_OPTIONS UBSAN_OPTIONS
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)
summary=$(mktemp)
# Runs ctest and keeps its count of tests for the closing line.
run_ctest() {
  ctest "$@" -j"$jobs" | tee -a "$summary"
}
closing_line() {
  local total
  total=$(grep -oE 'tests failed out of [0-9]+' "$summary" | awk '{ n += $5 } END { print n + 0 }')
  local skipped
  skipped=$(grep -cE '^\s+[0-9]+ - .*\(Skipped\)' "$summary" || true)
  echo "summary: $((total - skipped)) passed, 0 failed, $skipped skipped"
  # Every tool a test needs is installed above: a skipped test is a failure.
  if [ "$skipped" -ne 0 ]; then
    echo "FAIL: $skipped test(s) skipped"
    exit 1
  fi
}

cmake --preset default >/dev/null
cmake --build --preset default
run_ctest --preset default

if [ -n "${TRELVIX_QUICK:-}" ]; then closing_line; exit 0; fi

echo "== clang-tidy over src/"
tools/tidy.sh build

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
# The script tests drive the program from outside; they ran above.
run_ctest --preset asan

echo "== fuzzing the record readers"
tools/fuzz.sh "${TRELVIX_FUZZ_SECONDS:-8}"

echo "== the Debian package, installed and started"
deb=$(tools/package.sh | tail -n 1)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO tests/package/install_test.sh "$deb" | tee -a "$summary"
closing_line
