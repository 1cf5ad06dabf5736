# Sourced by key_to_disk.sh with "heat": two copies of the program side by
# side take the same keys in turns of 20, one timing a plain race and one a
# heat of a club meeting; each key's line on disk is noticed with inotify.
# The heat is prepared as the operator does it: twelve drivers imported
# from a roster, a rotation on twelve lanes saved in the copy's meeting
# store, the first heat put in the setup panel by the meeting window's
# Alt+P and linked to its race at the start. Both races are otherwise
# alike: cars 1 to 12, 30 minutes, common timing, minimum lap 3 s.
trap '[ -n "${PLAIN_PID:-}" ] && kill -9 $PLAIN_PID 2>/dev/null; x_stop; rm -rf "$WORK"' EXIT
THIRTY_X=149; THIRTY_Y=39         # "30 min" (common timing)

# A copy in FOLDER with settings of its own, its window at X.
copy_start() {  # copy_start FOLDER X
  mkdir -p "$1/home"; cp "$BUILD/src/app/trelvix" "$1/"
  HOME="$1/home" program_start "$1"
  xdotool windowmove --sync "$MAIN" "$2" 0
  xdotool windowfocus --sync "$MAIN"
  click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done   # minimum lap 3 s
}

PLAIN="$WORK/plain"
copy_start "$PLAIN" 0; PLAIN_PID=$PROG_PID; PLAIN_WIN=$MAIN
click 14 379; click 14 399                    # cars 11 and 12 besides 1 to 10
click $THIRTY_X $THIRTY_Y
click $START_X $START_Y
wait_lines "$PLAIN/${DAY}01.cls" 2

HEAT="$WORK/heat"; mkdir -p "$HEAT"; cp "$BUILD/src/app/trelvix" "$HEAT/"
meeting_rotation "$HEAT" 12 30 "Ana López;Ana" "Bea Ruiz;Bea" "Carla Gil;Carla" "Dani Sanz;Dani" \
  "Eva Mora;Eva" "Fede Vidal;Fede" "Gema Soler;Gema" "Hugo Pardo;Hugo" "Inés Rey;Inés" "Javi Luna;Javi" \
  "Lola Cano;Lola" "Mario Gil;Mario" || { echo "the meeting could not be set up"; exit 1; }
copy_start "$HEAT" 640; HEAT_WIN=$MAIN
meeting_prepare
click $START_X $START_Y
wait_lines "$HEAT/${DAY}01.cls" 2
# The link is written once the start's handlers have returned.
for _ in $(seq 200); do [ "$(heat_race "$HEAT" 1)" = "${DAY}01" ] && break; sleep 0.025; done
[ "$(heat_race "$HEAT" 1)" = "${DAY}01" ] || { echo "the heat is not linked to its race"; exit 1; }
# Every car of the race is a driver's in the heat.
seats=$(sqlite3 "$HEAT/TRELVIX.sqlite" "SELECT count(DISTINCT car) FROM seats WHERE meeting = 1 AND heat = 1")
[ "$seats" = 12 ] || { echo "the heat seats $seats cars, not 12"; exit 1; }
# The same race settings in both, as the journals of the two starts say.
cmp -s <(grep -v '^start' "$PLAIN/${DAY}01.run") <(grep -v '^start' "$HEAT/${DAY}01.run") ||
  { echo "the two races differ in more than the heat"; diff "$PLAIN/${DAY}01.run" "$HEAT/${DAY}01.run"; exit 1; }
sleep 3                                       # past the minimum lap from the start

"$BUILD/bench/xpress" latency "$PRESSES" 260 F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12 20 \
  "$PLAIN_WIN:$PLAIN/${DAY}01.pss" "$HEAT_WIN:$HEAT/${DAY}01.pss" >"$WORK/figures" \
  || { echo "a press reached no line on disk"; exit 1; }
read -r _ n1 med1 p90_1 p99_1 max1 < <(sed -n 1p "$WORK/figures")
read -r _ n2 med2 p90_2 p99_2 max2 < <(sed -n 2p "$WORK/figures")
[ "$(heat_race "$HEAT" 1)" = "${DAY}01" ] || { echo "the heat lost its link during the run"; exit 1; }
printf 'key to disk, %s presses each (microseconds)\n' "$PRESSES"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s\n' "plain race" "$med1" "$p90_1" "$p99_1" "$max1"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s   (linked to race %s)\n' "meeting heat" "$med2" "$p90_2" \
  "$p99_2" "$max2" "$(heat_race "$HEAT" 1)"
awk -v a="$med2" -v b="$med1" -v c="$p99_2" -v d="$p99_1" \
  'BEGIN { printf "  ratio heat/plain: median %.2f, p99 %.2f\n", a / b, c / d }'
