# Shared by the end-to-end scripts: a virtual display, the program started
# from a copy in a folder of the test's own, and the xdotool steps an
# operator takes. Source it; call x_start first.

x_start() {  # x_start: a display no other server holds (E2E_DISPLAY=N forces one)
  # The program opens its windows on this display whatever the caller's
  # shell exports for its own window tests (offscreen would show nothing).
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  if [ -n "${E2E_DISPLAY:-}" ]; then
    export DISPLAY=":$E2E_DISPLAY"
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
  else
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 200); do [ -s "$number_file" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$number_file")"
    rm -f "$number_file"
  fi
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "FAIL: Xvfb did not start"; exit 1
}

x_stop() {
  [ -n "${PROG_PID:-}" ] && kill -9 "$PROG_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
}

# Starts the copy of the program in FOLDER and answers its start-up report.
program_start() {  # program_start FOLDER [OPTION...]
  (cd "$1" && exec ./trelvix "${@:2}") >>"$1/program.log" 2>&1 &
  PROG_PID=$!
  box_answer Return
  # This copy's window, whatever other copy of the program is running (a
  # search can fail on a window closing meanwhile: it is asked again).
  local w=""
  for _ in $(seq 200); do
    w=$(xdotool search --all --onlyvisible --pid "$PROG_PID" --name 'TRELVIX \(TRELVIX\)' 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.05
  done
  [ -n "$w" ] || { echo "FAIL: the program's window did not show"; exit 1; }
  MAIN=$w
  xdotool windowfocus --sync "$MAIN"
}

# The visible top-level window that is neither the main window nor the
# results window: a message box.
find_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    [ "$w" = "${MAIN:-}" ] && continue
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in
      *"(TRELVIX)"*|Resultados|"") continue ;;
    esac
    echo "$w"; return 0
  done
  return 1
}

# Waits for a message box and answers it: Return (its default button), or
# "ok" for OK on an OK/Cancel question whose default is Cancel.
box_answer() {  # box_answer Return|ok
  local box=""
  # Up to 15 s, like the other waits: a program starting on a busy machine.
  for _ in $(seq 300); do
    box=$(find_box) && break
    sleep 0.05
  done
  [ -n "$box" ] || { echo "FAIL: no message box appeared"; [ -n "${E2E_KEEP_LOGS:-}" ] && mkdir -p "$E2E_KEEP_LOGS" && import -window root "$E2E_KEEP_LOGS/no-box.png"; exit 1; }
  xdotool windowfocus --sync "$box"
  if [ "$1" = ok ]; then xdotool key shift+Tab space; else xdotool key Return; fi
  for _ in $(seq 200); do
    [ "$(find_box)" = "$box" ] || break
    sleep 0.05
  done
  [ -n "${MAIN:-}" ] && xdotool windowfocus --sync "$MAIN" 2>/dev/null
  return 0
}

box_absent() { ! find_box >/dev/null; }

click() { xdotool mousemove --window "$MAIN" "$1" "$2" click 1; }
key() { xdotool key --delay 0 "$@"; }

# Places of the main window's controls (client pixels).
START_X=36; START_Y=12            # "Inicio"
STOP_X=598; STOP_Y=398            # "Parar"
MEMO_X=532; MEMO_Y=94             # event memo
MANUAL_X=608; MANUAL_Y=52         # "Manual"
MINLAP_X=170; MINLAP_Y=133        # minimum lap spin box
event_button() {  # event_button COLUMN(0..6) CAR -> x y of that car's button
  echo "$((432 + 4 + 28 * $1 + 12)) $((24 + 124 + 20 * ($2 - 1) + 8))"
}

# Waits until FILE has N lines; up to 15 s, for a machine busy with builds
# (a gate's first pass alone may wait 5 s for its clock).
wait_lines() {  # wait_lines FILE N
  for _ in $(seq 600); do
    [ -f "$1" ] && [ "$(grep -c '' "$1")" -ge "$2" ] && return 0
    sleep 0.025
  done
  echo "FAIL: $1 did not reach $2 lines"; cat -A "$1" 2>/dev/null | head; exit 1
}

# Club meetings. The roster imported headless and a rotation saved in the
# store of the program in FOLDER as the meeting window would save it, every
# driver entered in roster order. Fails when the import did not add them all.
meeting_rotation() {  # meeting_rotation FOLDER LANES STINT_MINUTES "NAME;SHORT"...
  local folder=$1 lanes=$2 minutes=$3
  shift 3
  { printf 'nombre;abreviatura;número\n'; printf '%s;\n' "$@"; } >"$WORK/roster.csv"
  "$folder/trelvix" --import-drivers "$WORK/roster.csv" >"$WORK/import.log" 2>&1
  grep -q "^añadidos $#," "$WORK/import.log" || return 1
  sqlite3 "$folder/TRELVIX.sqlite" "INSERT INTO meetings(date, name, class, format, lanes, stint_minutes, rounds,
    round_minutes, group_size, first_round, seed, ranking, individual_timing, final_size, bump_up, final_minutes, points)
    VALUES('$(date +%F)', 'Noche del club', 'GT', 0, $lanes, $minutes, 3, 5, 10, 0, 1, 0, 0, 10, 2, 5, '10,8,6,5,4,3,2,1');
    INSERT INTO entrants(meeting, position, driver) SELECT 1, id - 1, id FROM drivers;"
}

# "Reunión", then Alt+P in the meeting window: the next heat is in the
# setup panel. With SHOT set, the meeting window is saved there first.
MEETING_X=88; MEETING_Y=434       # "Reunión"
meeting_prepare() {
  click $MEETING_X $MEETING_Y
  local w
  w=$(xdotool search --sync --onlyvisible --name '^Reunión$' | head -1)
  xdotool windowfocus --sync "$w"
  [ -n "${SHOT:-}" ] && import -window "$w" "$SHOT"
  key alt+p
  for _ in $(seq 200); do xdotool search --onlyvisible --name '^Reunión$' >/dev/null || break; sleep 0.025; done
  xdotool windowfocus --sync "$MAIN"
}

# The race a heat of the first meeting is linked to; empty while none.
heat_race() {  # heat_race FOLDER HEAT
  sqlite3 "$1/TRELVIX.sqlite" "SELECT race_id FROM heats WHERE meeting = 1 AND number = $2"
}
