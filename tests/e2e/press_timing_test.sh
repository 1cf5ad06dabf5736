#!/usr/bin/env bash
# Twelve cars crossing within a millisecond, on a record folder whose every
# sync takes 30 ms (a USB stick, stood in for by a preloaded shim): each pass
# must still be timed when its key was pressed, not when its turn came
# behind the others' disk writes.
# Usage: press_timing_test.sh PATH/TO/trelvix PATH/TO/xpress PATH/TO/sync_shim.so
set -u
PROGRAM=$(realpath "$1"); XPRESS=$(realpath "$2"); SHIM=$(realpath "$3")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/x_session.sh"
for tool in Xvfb xdotool xdpyinfo; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
trap 'x_stop; rm -rf "$WORK"' EXIT
x_start
DAY=$(date +%y%m%d)

RUN="$WORK/stick"; mkdir -p "$RUN"; cp "$PROGRAM" "$RUN/trelvix"
(cd "$RUN" && LD_PRELOAD="$SHIM" TRELVIX_SYNC_DELAY_MS=30 exec ./trelvix) >>"$RUN/program.log" 2>&1 &
PROG_PID=$!
box_answer Return
MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
xdotool windowfocus --sync "$MAIN"
click 14 379; click 14 399          # cars 11 and 12 take part too
click $START_X $START_Y
wait_lines "$RUN/${DAY}01.cls" 2
"$XPRESS" burst F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 >"$WORK/presses"
PSS="$RUN/${DAY}01.pss"
for _ in $(seq 400); do [ "$(grep -c '' "$PSS" 2>/dev/null)" -ge 12 ] && break; sleep 0.025; done

# The first pass of each car carries the time from the start button. With
# every line taking 30 ms to sync, a pass timed when handled would come out
# 30 to 330 ms late. Each press is bracketed by the moment it was sent and
# the moment the X server had handled it; the server stamps it within that
# bracket in whole milliseconds, so a pass timed at its press lies within its
# bracket widened by the stamp's millisecond, however busy the machine is.
python3 - "$PSS" "$WORK/presses" "$RUN/${DAY}01.run" <<'PY'
import sys
passes, presses, journal = sys.argv[1], sys.argv[2], sys.argv[3]
# The race's own start, as its journal keeps it (the counter is CLOCK_MONOTONIC).
start = int(dict(l.strip().split("=", 1) for l in open(journal) if "=" in l)["startcount"])
lines = [l.rstrip("\r\n").split("\t") for l in open(passes, encoding="cp1252")]
bracket = {int(k[1:]): (int(a), int(b)) for k, a, b in (l.split() for l in open(presses))}
if len(lines) != 12:
    sys.exit(f"not ok - twelve passes on disk: {len(lines)}")
times = {int(f[1]): float(f[3].replace(",", ".")) for f in lines}
worst = 0.0
for car in sorted(times):
    sent, handled = ((t - start) / 1e9 for t in bracket[car])
    # Outside the bracket by this much (0 inside it).
    off = max(sent - times[car], times[car] - handled, 0.0)
    worst = max(worst, off)
    print(f"car {car:2}: {times[car]:.3f} s, pressed between {sent:.4f} and {handled:.4f} s")
width = max(b - a for a, b in bracket.values()) / 1e6
print(f"widest bracket: {width:.2f} ms; worst distance outside a bracket: {worst * 1e3:.2f} ms")
ok = worst <= 0.0015
print(("ok" if ok else "not ok") + " - twelve presses in a burst are each timed at their press on a 30 ms disk")
sys.exit(0 if ok else 1)
PY
