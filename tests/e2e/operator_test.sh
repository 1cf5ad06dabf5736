#!/usr/bin/env bash
# The built program, as an operator runs it: a copy in a folder of its own
# under a virtual display, driven with xdotool. Checks the record files
# byte for byte where no time enters and within tolerance where it does,
# then survives a kill -9 in the middle of a race, a full disk and a record
# folder that turns read-only, and a second copy on the same folder.
# Usage: operator_test.sh PATH/TO/trelvix TOOLS_DIR
set -u
PROGRAM=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/x_session.sh"
for tool in Xvfb xdotool xdpyinfo; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done

WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
SMALL="$WORK/small"
cleanup() {
  x_stop
  # What the program printed, kept for a failed run.
  if [ -n "${E2E_KEEP_LOGS:-}" ]; then mkdir -p "$E2E_KEEP_LOGS"; cp "$WORK"/*/program.log "$E2E_KEEP_LOGS/" 2>/dev/null; fi
  mountpoint -q "$SMALL" 2>/dev/null && umount -l "$SMALL"
  rm -rf "$WORK"
}
trap cleanup EXIT
failures=0
passes=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; passes=$((passes + 1)); else echo "not ok - $what"; failures=$((failures + 1)); fi
}
# Field F of line L of a record file (CR removed).
field() { sed -n "${2}p" "$1" | tr -d '\r' | cut -f"$3"; }
between() { awk -v v="$(echo "$1" | tr ',' '.')" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

x_start
DAY=$(date +%y%m%d)
# The public's monitor left of the operator's: the primary starts at x = 640.
xrandr --setmonitor PUBLIC 640/163x1024/260+0+0 screen >/dev/null
xrandr --setmonitor '*OPERATOR' 640/163x1024/260+640+0 none >/dev/null

# --- A race run as an operator runs it -------------------------------------
RUN="$WORK/run1"; mkdir -p "$RUN"; cp "$PROGRAM" "$RUN/trelvix"
program_start "$RUN"
read -r MAIN_X MAIN_Y < <(xdotool getwindowgeometry "$MAIN" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
check "the main window opens on the primary monitor, centred" test "$MAIN_X,$MAIN_Y" = "644,286"
# Minimum lap 13 s down to 3 s with the spin box's arrow keys.
click $MINLAP_X $MINLAP_Y
for _ in $(seq 10); do key Down; done
click $START_X $START_Y            # 5 minutes, individual timing, cars 1..10
key F1                             # car 1 starts its own clock
key F1                             # at once again: under the minimum lap
key F11                            # car 11 does not race
key F2
read -r x y < <(event_button 0 1); click "$x" "$y"   # refuel of car 1
click $MEMO_X $MEMO_Y
xdotool type --delay 0 "bandera roja"
click $MANUAL_X $MANUAL_Y
PSS="$RUN/${DAY}01.pss"; INC="$RUN/${DAY}01.inc"; CLS="$RUN/${DAY}01.cls"
wait_lines "$PSS" 2
sleep 3.3                          # one real lap of car 1
key F1
wait_lines "$PSS" 3
click $STOP_X $STOP_Y
box_answer ok
box_answer ok
wait_lines "$CLS" 5

check "passes: car 1 starts its clock with lap 0" test "$(field "$PSS" 1 1-3)" = "$(printf '1\t1\t0')"
check "passes: car 2 starts its clock" test "$(field "$PSS" 2 1-3)" = "$(printf '2\t2\t0')"
check "passes: car 1 lap 1 after a real 3.3 s" test "$(field "$PSS" 3 1-3)" = "$(printf '3\t1\t1')"
check "passes: the lap time is the time between the key presses" between "$(field "$PSS" 3 4)" 3.25 4.5
check "passes: the total time counts from car 1's first pass" test "$(field "$PSS" 3 5 | cut -c1-4)" = "00'0"
check "passes: every line ends in CR LF" test "$(grep -c $'\r$' "$PSS")" = 3
check "events: the refused pass" test "$(field "$INC" 1 1-3),$(field "$INC" 1 5)" = "$(printf '1\t1\t--'),ERRO"
check "events: the car that does not race" test "$(field "$INC" 2 1-3),$(field "$INC" 2 5)" = "$(printf '2\t11\t--'),NOCO"
check "events: the refuel" test "$(field "$INC" 3 1-3),$(field "$INC" 3 5)" = "$(printf '3\t1\t0'),RPTJ"
check "events: the manual text" test "$(field "$INC" 4 1-3),$(field "$INC" 4 5-6)" = "$(printf '4\t--\t--'),$(printf 'MANU\tbandera roja')"
check "classification: the description" test "$(sed -n 1p "$CLS" | tr -d '\r' | iconv -f WINDOWS-1252 -t UTF-8)" = "Descripción de carrera"
check "classification: the start line" grep -q "^Carrera 01 (5 minutos 10 coches) iniciada a las " "$CLS"
check "classification: stopped by the operator" grep -q $'^Crono individual\\. Carrera parada a 00\'0' <(iconv -f WINDOWS-1252 -t UTF-8 "$CLS")
check "classification: car 1 leads with one lap" test "$(field "$CLS" 4 1-3)" = "$(printf '1\t1\t1')"
check "classification: ten rows" test "$(grep -c '' "$CLS")" = 13
check "races file: one line for race 1" test "$(field "$RUN/${DAY}00.TXT" 1 1-3)" = "$(printf '1\t5\t10')"

# --- A second copy on the same folder touches nothing ------------------------
before=$(ls -l --time-style=+%s.%N "$RUN" | md5sum)
(cd "$RUN" && exec ./trelvix) >/dev/null 2>&1 &
SECOND=$!
box_answer Return                  # "already in use" in both languages
for _ in $(seq 100); do kill -0 $SECOND 2>/dev/null || break; sleep 0.05; done
check "a second copy exits" test "$(kill -0 $SECOND 2>/dev/null && echo running || echo gone)" = gone
check "a second copy leaves the files as they were" test "$(ls -l --time-style=+%s.%N "$RUN" | md5sum)" = "$before"

# --- kill -9 in the middle of a race ------------------------------------------
click $START_X $START_Y
key F3; key F4; key F3
wait_lines "$RUN/${DAY}02.pss" 2
wait_lines "$RUN/${DAY}02.inc" 1
kill -9 $PROG_PID; wait $PROG_PID 2>/dev/null; PROG_PID=
check "after a crash every accepted pass is on disk" test "$(grep -c '' "$RUN/${DAY}02.pss")" = 2
check "after a crash every event is on disk" test "$(field "$RUN/${DAY}02.inc" 1 5)" = ERRO
check "an unfinished race keeps a two-line classification" test "$(grep -c '' "$RUN/${DAY}02.cls")" = 2
program_start "$RUN"
box_answer Return                  # "Race 02 ... was left unfinished. Continue it?": Cancel, the default
click $START_X $START_Y
key F5
wait_lines "$RUN/${DAY}03.pss" 1
check "answered Cancel, the next start numbers the race after the crashed one" test -s "$RUN/${DAY}03.pss"
check "answered Cancel, the crashed race stays as it was" test "$(grep -c '' "$RUN/${DAY}02.cls")" = 2
click $STOP_X $STOP_Y; box_answer ok; box_answer ok
kill -9 $PROG_PID; wait $PROG_PID 2>/dev/null; PROG_PID=

# --- A missed crossing added during the race -----------------------------------
RUN3="$WORK/run3"; mkdir -p "$RUN3"; cp "$PROGRAM" "$RUN3/trelvix"
PORT=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
program_start "$RUN3" --web "127.0.0.1:$PORT"
click $MINLAP_X $MINLAP_Y
for _ in $(seq 10); do key Down; done   # minimum lap 3 s
click $START_X $START_Y
key F1                             # car 1 starts its own clock
sleep 6.6                          # a lap with a crossing nobody pressed
key F1
wait_lines "$RUN3/${DAY}01.pss" 2
click 563 52                       # "+1 V" in the events panel ...
click 87 180                       # ... then car 1's laps
wait_lines "$RUN3/${DAY}01.inc" 1
[ -n "${E2E_SHOTS:-}" ] && import -window "$MAIN" "$E2E_SHOTS/missed_lap.png"
check "a missed lap: the passes line stays as it was pressed" test "$(field "$RUN3/${DAY}01.pss" 2 3)" = 1
click $STOP_X $STOP_Y; box_answer ok; box_answer ok
wait_lines "$RUN3/${DAY}01.cls" 13
check "a missed lap: its events line" grep -q $'^1\t1\t--\t[0-9]*,[0-9]*\tCORR\t+1 P2: Paso no marcado\r$' "$RUN3/${DAY}01.inc"
check "a missed lap: car 1 leads the classification with two laps" test "$(field "$RUN3/${DAY}01.cls" 4 1-3)" = "$(printf '1\t1\t2')"
check "a missed lap: the page's JSON counts it" /usr/bin/python3 -c '
import json, sys, urllib.request
race = json.load(urllib.request.urlopen(sys.argv[1], timeout=10))
first = race["classification"][0]
sys.exit(0 if race["corrected"] and (first["car"], first["laps"]) == (1, 2) else 1)' "http://127.0.0.1:$PORT/api/races/${DAY}01"
kill -9 $PROG_PID; wait $PROG_PID 2>/dev/null; PROG_PID=
"$RUN3/trelvix" --export "${DAY}01" --to "$WORK/export3" --from "$RUN3" --lang en >/dev/null 2>&1
check "a missed lap: the CSV export counts it" grep -q $'^1,1,2,' "$WORK/export3/${DAY}01-classification.csv"
check "a missed lap: the page counts it" grep -q '</span>1</td><td[^>]*>2</td>' "$WORK/export3/${DAY}01.html"

# --- A full disk, then a folder that turns read-only -------------------------
mkdir -p "$SMALL"
size_kb=$(( $(stat -c %s "$PROGRAM") / 1024 + 2048 ))
if mount -t tmpfs -o size=${size_kb}k tmpfs "$SMALL" 2>/dev/null; then
  cp "$PROGRAM" "$SMALL/trelvix"
  program_start "$SMALL"
  click $START_X $START_Y
  key F1
  INC2="$SMALL/${DAY}01.inc"
  wait_lines "$SMALL/${DAY}01.pss" 1
  key F11; key F11; key F11
  wait_lines "$INC2" 3
  dd if=/dev/zero of="$SMALL/filler" bs=4k >/dev/null 2>&1   # the disk is full now
  # Lines go on fitting into the events file's last block; the key of a car
  # that does not race writes one each, until one no longer fits.
  presses=0
  while box_absent && [ $presses -lt 400 ]; do key F11; presses=$((presses + 1)); done
  check "a full disk: the failed write is reported" test $presses -lt 400
  box_answer Return                # the system's words: no space left
  lines=$(grep -c '' "$INC2")
  check "a full disk: every line on disk is whole" test "$(grep -c $'^[0-9]*\t11\t--\t[0-9]*,[0-9][0-9][0-9]\tNOCO\r$' "$INC2")" = "$lines"
  check "a full disk: no line is missing before the failed one" test "$(field "$INC2" "$lines" 1)" = "$lines"
  rm -f "$SMALL/filler"
  key F11
  wait_lines "$INC2" $((lines + 1))
  check "room again: the race goes on, the failed event keeps its number" \
    test "$(field "$INC2" $((lines + 1)) 1)" = $((lines + 2))
  click $STOP_X $STOP_Y; box_answer ok; box_answer ok
  check "room again: the race finished with its classification" test "$(grep -c '' "$SMALL/${DAY}01.cls")" = 13
  check "the program is still running" kill -0 $PROG_PID
  kill -9 $PROG_PID; wait $PROG_PID 2>/dev/null; PROG_PID=
  umount -l "$SMALL"
else
  echo "ok - full disk # SKIP: no tmpfs can be mounted here"
fi

# --- A record folder that turns read-only between races -----------------------
# Permissions bind every user but root, so this copy runs as "nobody".
RO="$WORK/readonly"
if id nobody >/dev/null 2>&1 && command -v runuser >/dev/null; then
  mkdir -p "$RO/home" "$RO/run"
  cp "$PROGRAM" "$RO/trelvix"
  chown -R nobody "$RO"; chmod 700 "$RO/run"; chmod 755 "$WORK"
  (cd "$RO" && exec runuser -u nobody -- env HOME="$RO/home" XDG_RUNTIME_DIR="$RO/run" DISPLAY="$DISPLAY" ./trelvix) \
    >>"$WORK/readonly.log" 2>&1 &
  PROG_PID=$!
  box_answer Return
  MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
  xdotool windowfocus --sync "$MAIN"
  click $START_X $START_Y
  key F1
  wait_lines "$RO/${DAY}01.pss" 1
  click $STOP_X $STOP_Y; box_answer ok; box_answer ok
  wait_lines "$RO/${DAY}01.cls" 13
  chmod 555 "$RO"                  # the folder turns read-only
  click $START_X $START_Y          # no file can be created: the start is refused
  box_answer Return
  check "read-only: a refused start leaves no race files" test ! -e "$RO/${DAY}02.pss"
  check "read-only: the races file keeps its one line" test "$(grep -c '' "$RO/${DAY}00.TXT")" = 1
  key F1
  sleep 0.3
  check "read-only: the refused start left the window idle (a key is no pass)" box_absent
  check "read-only: the program is still running" kill -0 $PROG_PID
  chmod 755 "$RO"
  kill -9 $PROG_PID; wait $PROG_PID 2>/dev/null; PROG_PID=
else
  echo "ok - read-only folder # SKIP: no unprivileged user to run as"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
