#!/usr/bin/env bash
# Builds and runs the benchmarks: the Google Benchmark ones (a pass end to
# end against a bare append and sync; reading a long passes file), then the
# real program timed under a virtual display: key and gate line to disk
# beside a minimal Qt appender (bench/key_to_disk.sh), with the voice off
# and on side by side and timing a plain race beside a meeting's heat, then bursts, the files browser, start-up and memory
# (bench/operator_bench.py); last the meeting window opened on a club of
# 1000 drivers and 50 meetings.
# The pass benchmarks write into build/ (set TRELVIX_BENCH_DIR for another disk).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
command -v python3 >/dev/null || { apt-get update && apt-get install -y --no-install-recommends python3; }
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target trelvix trelvix_bench make_races minimal_append xpress gate_latency meeting_window_bench
export TRELVIX_BENCH_DIR="${TRELVIX_BENCH_DIR:-$PWD/build}"
build/bench/trelvix_bench --benchmark_repetitions=6 --benchmark_min_time=0.5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"
bench/key_to_disk.sh build 240
bench/key_to_disk.sh build 240 voice
bench/key_to_disk.sh build 240 heat
python3 bench/operator_bench.py build
QT_QPA_PLATFORM=offscreen build/bench/meeting_window_bench
