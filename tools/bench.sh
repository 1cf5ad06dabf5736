#!/usr/bin/env bash
# Builds and runs the benchmarks. The pass benchmarks write into a folder of
# the disk under build/ (set TRELVIX_BENCH_DIR to measure another disk).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target trelvix_bench
export TRELVIX_BENCH_DIR="${TRELVIX_BENCH_DIR:-$PWD/build}"
exec build/bench/trelvix_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
