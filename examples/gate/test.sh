#!/usr/bin/env bash
# Builds the gate firmware (and its test builds) and the simavr harness into
# build/, then runs the simulated checks and the pseudo-terminal check.
# Exits 0 when all pass, 1 when any fails, 77 when a tool is missing.
# Needs: gcc-avr avr-libc libsimavr-dev libelf-dev build-essential python3
set -uo pipefail
cd "$(dirname "$0")"

missing=()
for tool in avr-gcc avr-objcopy avr-size make cc pkg-config python3; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
[ -f /usr/lib/avr/include/avr/io.h ] || missing+=(avr-libc)
pkg-config --exists simavr 2>/dev/null || missing+=(libsimavr-dev)
[ -f /usr/include/libelf.h ] || missing+=(libelf-dev)
if [ ${#missing[@]} -ne 0 ]; then
  echo "FAIL: missing (tools/setup.sh installs them): ${missing[*]}"
  exit 1
fi

set -e
jobs=2
make -s -j$jobs all sim
# Test builds: a queue of four to make it overflow; clocks started just
# before 2^32 us and near 2^62 us.
late=131054          # timer overflows: 2^32 us less about 0.59 s
far=140737488355328  # 2^47 overflows: 2^62 us
make -s VARIANT=small EXTRA_CFLAGS=-DCROSSING_QUEUE_SIZE=4 all >/dev/null
make -s VARIANT=late EXTRA_CFLAGS=-DSTART_OVERFLOWS=${late}ULL all >/dev/null
make -s VARIANT=far EXTRA_CFLAGS=-DSTART_OVERFLOWS=${far}ULL all >/dev/null
set +e

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
run() {
  "$@" 2>"$work/stderr" | tee -a "$work/results"
  local rc=${PIPESTATUS[0]}
  if [ "$rc" -ne 0 ]; then
    status=1
    sed 's/^/  stderr: /' "$work/stderr"
  fi
}
run build/gate_sim check --variant main build/gate.elf
run build/gate_sim check --variant small-queue build/gate-small.elf
run build/gate_sim check --variant late --start-overflows $late build/gate-late.elf
run build/gate_sim check --variant late --start-overflows $far build/gate-far.elf
run timeout 60 python3 sim/pty_check.py build/gate_sim build/gate.elf "$work"

read -r passed failed < <(awk '/^[a-z-]+: [0-9]+ passed, [0-9]+ failed$/ { p += $2; f += $4 }
  END { print p + 0, f + 0 }' "$work/results")
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
echo "gate: $passed passed, $failed failed"
[ "$status" -eq 0 ]
