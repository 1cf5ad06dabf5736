#!/usr/bin/env bash
# Key to line on disk, the program side by side with a minimal Qt program
# that appends and syncs a line per key, in one run under a virtual display.
# Keys go over one persistent X connection (bench/xpress, XTEST) and each
# line is noticed with inotify; the two programs take turns in blocks of 20.
# With "voice", the program with its voice off side by side with the program
# reading every pass aloud (speech-dispatcher on a null sound sink) instead;
# with "heat", the program timing a plain race side by side with the program
# timing a heat of a club meeting.
#   bench/key_to_disk.sh BUILD_DIR [PRESSES] [voice|heat]
set -euo pipefail
BUILD=$(realpath "${1:-build}")
PRESSES=${2:-240}
MODE=${3:-}
HERE=$(dirname "$(realpath "$0")")
. "$HERE/../tests/e2e/x_session.sh"
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
MINIMAL_PID=""
trap '[ -n "$MINIMAL_PID" ] && kill $MINIMAL_PID 2>/dev/null; x_stop; rm -rf "$WORK"' EXIT
# BENCH_DISPLAY=N runs it on display N; else on any free one.
[ -n "${BENCH_DISPLAY:-}" ] && export E2E_DISPLAY=$BENCH_DISPLAY
x_start
DAY=$(date +%y%m%d)
[ "$MODE" = voice ] && { . "$HERE/key_to_disk_voice.sh"; exit 0; }
[ "$MODE" = heat ] && { . "$HERE/key_to_disk_heat.sh"; exit 0; }

RUN="$WORK/race"; mkdir -p "$RUN"; cp "$BUILD/src/app/trelvix" "$RUN/"
program_start "$RUN"
click 14 379; click 14 399                    # all twelve cars
click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done   # minimum lap 3 s
click $START_X $START_Y
wait_lines "$RUN/${DAY}01.cls" 2
PROGRAM_WIN=$MAIN

: >"$WORK/minimal.txt"
"$BUILD/bench/minimal_append" "$WORK/minimal.txt" >/dev/null 2>&1 &
MINIMAL_PID=$!
MINIMAL_WIN=$(xdotool search --sync --onlyvisible --name '^minimal_append$' | head -1)

# Twelve cars in turn, 260 ms apart: each car every 3.1 s, past the minimum lap.
"$BUILD/bench/xpress" latency "$PRESSES" 260 F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12 20 \
  "$PROGRAM_WIN:$RUN/${DAY}01.pss" "$MINIMAL_WIN:$WORK/minimal.txt" >"$WORK/figures"
read -r _ n1 med1 p90_1 p99_1 max1 < <(sed -n 1p "$WORK/figures")
read -r _ n2 med2 p90_2 p99_2 max2 < <(sed -n 2p "$WORK/figures")
printf 'key to disk, %s presses each (microseconds)\n' "$PRESSES"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s\n' "TRELVIX" "$med1" "$p90_1" "$p99_1" "$max1"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s\n' "minimal Qt appender" "$med2" "$p90_2" "$p99_2" "$max2"
awk -v a="$med1" -v b="$med2" -v c="$p99_1" -v d="$p99_2" \
  'BEGIN { printf "  ratio: median %.2f, p99 %.2f\n", a / b, c / d }'

# A gate's pass line to the line on disk, the same way: the gate on a
# pseudo-terminal notices its line in the passes file with inotify.
RUN2="$WORK/gate"; mkdir -p "$RUN2"; cp "$BUILD/src/app/trelvix" "$RUN2/"
coproc GATE { exec "$BUILD/bench/gate_latency" "$WORK/gate.tty" "$PRESSES" 260 "$RUN2/${DAY}01.pss"; }
read -r -u "${GATE[0]}" _
kill -9 "$PROG_PID" "$MINIMAL_PID" 2>/dev/null; wait "$PROG_PID" "$MINIMAL_PID" 2>/dev/null || true
MINIMAL_PID=""; MAIN=""
(cd "$RUN2" && exec ./trelvix --decoder "$WORK/gate.tty") >>"$RUN2/program.log" 2>&1 &
PROG_PID=$!
box_answer Return
MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
click 14 379; click 14 399
click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done
click $START_X $START_Y
wait_lines "$RUN2/${DAY}01.cls" 2
echo go >&"${GATE[1]}"
read -r -u "${GATE[0]}" n med p90 p99 max
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s   (%s passes)\n' "gate line to disk" "$med" "$p90" "$p99" "$max" "$n"
