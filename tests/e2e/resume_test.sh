#!/usr/bin/env bash
# A race survives the program: the real program under a virtual display,
# killed with kill -9 in the middle of a race, started again and answered
# OK, goes on and ends with the same passes and classification as the same
# key schedule run without a crash; the same after a "reboot" (another boot
# identity in the race's journal); and a race whose time ran out while the
# program was down is finished at once. On a disk whose syncs are slowed
# down, a kill at each sync of a start never leaves a race that can be
# continued out of the day's list, and a kill in the finish's last sync
# leaves no journal behind once the program is started again.
# Usage: resume_test.sh PATH/TO/trelvix PATH/TO/xpress PATH/TO/sync_shim.so
set -u
PROGRAM=$(realpath "$1"); XPRESS=$(realpath "$2"); SHIM=$(realpath "$3")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/x_session.sh"
for tool in Xvfb xdotool xdpyinfo /usr/bin/python3; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
trap 'x_stop; rm -rf "$WORK"' EXIT
failures=0; passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passes=$((passes + 1)); else echo "not ok - $what"; failures=$((failures + 1)); fi
}
x_start
DAY=$(date +%y%m%d)

start_copy() {  # start_copy FOLDER: the program, its report answered
  program_start "$1"
}
journal() { sed -n "s/^$2=//p" "$1/${DAY}01.run"; }

# One race of cars 1..10, individual timing, minimum lap 3 s, with a pass
# refused as too short, a car that does not race, a refuel and a manual
# text. MODE: plain, crash (kill -9 after six seconds and back), reboot
# (the same, with another boot identity in the journal).
race() {  # race FOLDER MODE
  local dir=$1 mode=$2
  mkdir -p "$dir"; cp "$PROGRAM" "$dir/trelvix"
  start_copy "$dir"
  click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done
  click $START_X $START_Y
  wait_lines "$dir/${DAY}01.cls" 2
  local base; base=$(journal "$dir" startcount)
  echo "$base" >"$dir/base"
  "$XPRESS" at "$base" 1000 F1 1500 F2 4500 F1 5000 F3 5500 F1 6000 F2 6200 F11 >"$dir/presses"
  read -r x y < <(event_button 0 3); click "$x" "$y"      # refuel of car 3
  wait_lines "$dir/${DAY}01.pss" 5
  if [ "$mode" != plain ]; then
    kill -9 "$PROG_PID"; wait "$PROG_PID" 2>/dev/null; PROG_PID=
    [ "$mode" = reboot ] && sed -i 's/^bootid=.*/bootid=00000000-0000-4000-8000-000000000000/' "$dir/${DAY}01.run"
    start_copy "$dir"
    box_answer ok                        # "... was left unfinished. Continue it?"
  fi
  "$XPRESS" at "$base" 12000 F1 12500 F2 13000 F3 16000 F1 16300 F12 >>"$dir/presses"
  wait_lines "$dir/${DAY}01.pss" 9
  click $STOP_X $STOP_Y; box_answer ok; box_answer ok
  wait_lines "$dir/${DAY}01.cls" 13
  kill -9 "$PROG_PID"; wait "$PROG_PID" 2>/dev/null; PROG_PID=
}

# A run's files are right, and agree with the plain run's: the same lines,
# and every time the one its own key presses give. Each press is bracketed
# by xpress (sent, and handled by the server), so a key that went late on a
# busy machine is judged by when it really went; TOLERANCE is what the
# resume may add on top.
same_race() {  # same_race PLAIN_DIR OTHER_DIR TOLERANCE
  /usr/bin/python3 - "$1" "$2" "$DAY" "$3" <<'PY'
import math, re, sys
a, b, day, tol = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
MIN_LAP_MS, RACING = 3000, range(1, 11)
def read(d, ext):
    return [l.rstrip("\r\n").split("\t") for l in open(f"{d}/{day}01.{ext}", encoding="cp1252")]
def seconds(text):
    m = re.fullmatch(r"(?:(\d+)h )?(\d\d)'(\d\d)\"(\d\d\d)", text)
    if m:
        return int(m.group(1) or 0) * 3600 + int(m.group(2)) * 60 + int(m.group(3)) + int(m.group(4)) / 1000
    return float(text.replace(",", "."))
def accepted(d):
    """Each racing car's accepted presses, in order: (earliest, latest) stamp in ms."""
    base = int(open(f"{d}/base").read())
    cars, last = {}, {}
    for line in open(f"{d}/presses"):
        offset, key, before, after = line.split()
        car, offset = int(key[1:]), int(offset)
        if car not in RACING or (car in last and offset - last[car] < MIN_LAP_MS):
            continue
        last[car] = offset
        cars.setdefault(car, []).append((math.floor((int(before) - base) / 1e6), math.floor((int(after) - base) / 1e6)))
    return cars
ok = True
def fail(*what):
    global ok
    print(" ", *what); ok = False
def within(what, line, value, low_ms, high_ms):
    if not (low_ms / 1000 - tol <= seconds(value) <= high_ms / 1000 + tol):
        fail(f"{what}: {line!r}: {value} outside [{low_ms / 1000:.3f}, {high_ms / 1000:.3f}] s +- {tol}")
def check_run(d, plain):
    cars = accepted(d)
    pss, cls = read(d, "pss"), read(d, "cls")
    if [l[:3] for l in pss] != [l[:3] for l in plain["pss"]]:
        fail(f"{d} passes:", pss, "against", plain["pss"])
        return
    laps, totals = {}, {}
    for l in pss:
        car, lap = int(l[1]), int(l[2])
        if lap == 0:  # a car's first crossing: its time from the start
            p = cars[car][0]
            within(f"{d} first crossing", l, l[3], p[0] - 1, p[1] + 1)
            if l[4] != [x for x in plain["pss"] if x[:3] == l[:3]][0][4]:
                fail(f"{d} first crossing:", l)
            continue
        p, q, f = cars[car][lap], cars[car][lap - 1], cars[car][0]
        within(f"{d} lap", l, l[3], p[0] - q[1] - 1, p[1] - q[0] + 1)
        within(f"{d} total", l, l[4], p[0] - f[1] - 1, p[1] - f[0] + 1)
        laps.setdefault(car, []).append(seconds(l[3])); totals[car] = seconds(l[4])
    if cls[0] != plain["cls"][0] or not "\t".join(cls[2]).startswith("Crono individual. Carrera parada a "):
        fail(f"{d} classification head:", cls[:3])
    if [r[:3] for r in cls[3:]] != [r[:3] for r in plain["cls"][3:]]:
        fail(f"{d} classification rows:", cls[3:], "against", plain["cls"][3:])
    for r in cls[3:]:
        car = int(r[1])
        if car in laps:
            if abs(seconds(r[3]) - totals[car]) > 0.0005 or abs(seconds(r[4]) - min(laps[car])) > 0.0005:
                fail(f"{d} classification row {r!r}: not its passes' total and fastest lap")
        elif r != [x for x in plain["cls"][3:] if x[1] == r[1]][0]:
            fail(f"{d} classification row {r!r}")
    ea, eb = plain["inc"], read(d, "inc")
    # Events: the same kinds, cars and laps in the same order (a click is not timed to the key).
    if [l[1:3] + l[4:] for l in ea] != [l[1:3] + l[4:] for l in eb]:
        fail(f"{d} events:", ea, eb)
plain = {ext: read(a, ext) for ext in ("pss", "cls", "inc")}
saved, tol = tol, 0.0
check_run(a, plain)
tol = saved
check_run(b, plain)
sys.exit(0 if ok else 1)
PY
}

race "$WORK/plain" plain
race "$WORK/crash" crash
check "killed and resumed, the race ends with the same passes and classification (10 ms)" \
  same_race "$WORK/plain" "$WORK/crash" 0.010
check "the resumed race's journal is gone once it finished" test ! -e "$WORK/crash/${DAY}01.run"
race "$WORK/reboot" reboot
check "after a reboot the wall clock carries the race over (20 ms)" same_race "$WORK/plain" "$WORK/reboot" 0.020

# The program stays down past the race's five minutes and its minute of
# grace: the journal's start is moved back six and a half minutes.
LATE="$WORK/late"; mkdir -p "$LATE"; cp "$PROGRAM" "$LATE/trelvix"
start_copy "$LATE"
click $START_X $START_Y
wait_lines "$LATE/${DAY}01.cls" 2
key F1; wait_lines "$LATE/${DAY}01.pss" 1
kill -9 "$PROG_PID"; wait "$PROG_PID" 2>/dev/null; PROG_PID=
/usr/bin/python3 - "$LATE/${DAY}01.run" <<'PY'
import sys
path = sys.argv[1]
lines = open(path).read().splitlines()
back = 390 * 10**9
out = []
for l in lines:
    k, _, v = l.partition("=")
    if k in ("startcount", "startunix"):
        l = f"{k}={int(v) - back}"
    out.append(l)
open(path, "w").write("\n".join(out) + "\n")
PY
start_copy "$LATE"
box_answer ok                            # continue it
box_answer Return                        # "... ran out of time while the program was down"
wait_lines "$LATE/${DAY}01.cls" 13
check "a race whose time ran out while down is finished at once" \
  grep -q "^Crono individual. Carrera terminada normalmente" <(iconv -f WINDOWS-1252 -t UTF-8 "$LATE/${DAY}01.cls")
check "its classification is written from the rebuilt state" test "$(sed -n 4p "$LATE/${DAY}01.cls" | cut -f2-3)" = "$(printf '1\t0')"
check "the program goes on, idle" kill -0 "$PROG_PID"

# The copy in FOLDER on a slow disk (every sync DELAY_MS, 300 by default),
# each sync logged.
slow_start() {  # slow_start FOLDER [DELAY_MS]
  mkdir -p "$1"; cp "$PROGRAM" "$1/trelvix"
  (cd "$1" && LD_PRELOAD="$SHIM" TRELVIX_SYNC_DELAY_MS="${2:-300}" TRELVIX_SYNC_LOG="$1.sync" exec ./trelvix) \
    >>"$1/program.log" 2>&1 &
  PROG_PID=$!
  box_answer Return
  MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
  xdotool windowfocus --sync "$MAIN"
}
killed() { kill -9 "$PROG_PID"; wait "$PROG_PID" 2>/dev/null; PROG_PID=; }
# After a restart: is the resume question up (within a second)?
question_up() {
  for _ in $(seq 40); do find_box >/dev/null && return 0; sleep 0.025; done
  return 1
}

# A kill after K syncs of the start (the next one under way): when the race
# can be continued, the day's races file lists it.
for k in 0 1 2 3 4 5; do
  dir="$WORK/start$k"
  slow_start "$dir"
  : >"$dir.sync"
  click $START_X $START_Y
  if [ "$k" -eq 0 ]; then
    wait_lines "$dir/${DAY}01.cls" 2
  else
    for _ in $(seq 400); do [ "$(grep -c " $dir" "$dir.sync")" -ge "$k" ] && break; sleep 0.01; done
  fi
  killed
  start_copy "$dir"
  if question_up; then
    check "killed after $k syncs of the start, the race to continue is in the day's list" \
      grep -q $'^1\t' "$dir/${DAY}00.TXT"
    box_answer Return                    # not continued
  else
    echo "# killed after $k syncs of the start: nothing to continue"
  fi
  killed
done
check "the kill points cover a race that can be continued" test -s "$WORK/start5/${DAY}01.run"

# A kill in the finish, while its classification is being synced: at the
# next start the finished race's journal is removed, and no question asked.
# Each sync takes 1.5 s here, so the kill lands in that sync on a busy machine too.
dir="$WORK/finish"
slow_start "$dir" 1500
click $START_X $START_Y
wait_lines "$dir/${DAY}01.run" 14
click $STOP_X $STOP_Y; box_answer ok; box_answer ok
wait_lines "$dir/${DAY}01.cls" 13
killed
check "the kill came before the finish removed its journal" test -e "$dir/${DAY}01.run"
start_copy "$dir"
check "a finished race is not offered to continue" eval '! question_up'
check "its journal is gone" test ! -e "$dir/${DAY}01.run"
killed

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
