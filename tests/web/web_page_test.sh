#!/usr/bin/env bash
# The results page in a real browser: the program runs under Xvfb with
# "--web 127.0.0.1:PORT", headless Chromium loads the page, and the passes
# pressed in the program show on the page within a second; after the race
# the page shows its classification. Once a club meeting's heat is
# prepared, the page shows that heat's line-up. Screenshots of the page on
# a phone's screen are kept in the test's folder (or in SHOT_DIR when set).
# Usage: web_page_test.sh PATH/TO/PROGRAM
set -u
PROGRAM=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/../e2e/x_session.sh"
. "$HERE/web_session.sh"
web_tools_or_skip chromium sqlite3
SHOT_DIR=${SHOT_DIR:-$PWD}
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"; chmod 700 "$XDG_RUNTIME_DIR"
cleanup() {
  [ -n "${CHROME_PID:-}" ] && kill "$CHROME_PID" 2>/dev/null
  web_stop
  rm -rf "$WORK"
}
trap cleanup EXIT
fails=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; else echo "not ok - $what"; fails=$((fails + 1)); fi
}

web_display_start
PORT=$(free_port)
DAY=$(date +%y%m%d)
RUN="$WORK/folder"
# A club meeting, as the meeting's own test makes it: five drivers in a
# rotation on two cars.
mkdir -p "$RUN"; cp "$PROGRAM" "$RUN/trelvix"
printf 'nombre;abreviatura;número\nAna López;Ana;\nBea Ruiz;Bea;\nCarla Gil;Carla;\nDani Sanz;Dani;\nEva Mora;Eva;\n' \
  >"$WORK/roster.csv"
"$RUN/trelvix" --import-drivers "$WORK/roster.csv" >"$WORK/import.log" 2>&1
sqlite3 "$RUN/TRELVIX.sqlite" "INSERT INTO meetings(date, name, class, format, lanes, stint_minutes, rounds,
  round_minutes, group_size, first_round, seed, ranking, individual_timing, final_size, bump_up, final_minutes, points)
  VALUES('$(date +%F)', 'Noche del club', 'GT', 0, 2, 1, 3, 5, 10, 0, 1, 0, 0, 10, 2, 5, '10,8,6,5,4,3,2,1');
  INSERT INTO entrants(meeting, position, driver) SELECT 1, id - 1, id FROM drivers;"
web_program_start "$PROGRAM" "$RUN" "$PORT"

chromium --headless=new --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --remote-debugging-port=0 --user-data-dir="$WORK/chrome" \
  about:blank >"$WORK/chrome.log" 2>&1 &
CHROME_PID=$!
TOOLS="$WORK/chrome/DevToolsActivePort"
cdp() { $PY "$HERE/devtools.py" "$1" "$TOOLS" "${@:2}"; }

check "the page loads from the program" cdp open "http://127.0.0.1:$PORT/"
check "before any race the page says there is none" \
  cdp wait 'document.body.innerText.includes("Todavía no hay ninguna carrera")' true 3000

click $START_X $START_Y            # 5 minutes, individual timing, cars 1..10
wait_lines "$RUN/${DAY}01.cls" 2
check "the race shows on the page" cdp wait "document.querySelectorAll('#rows tr').length" 10 2000
check "with its number" cdp wait "document.getElementById('heading').textContent" "Carrera ${DAY}01" 1000
for car in 3 7 5; do
  # The car's first crossing: marked as the last to pass, its clock started.
  check "F$car shows on the page within a second" cdp press "F$car" \
    "(r => r && r.querySelector('td.car').textContent + ' ' + r.querySelector('td.state').textContent)(document.querySelector('tr.last'))" \
    "$car En carrera" 1000
done
check "a pass is on disk before the page shows it" test "$(grep -c '' "$RUN/${DAY}01.pss")" -eq 3
cdp shot "$SHOT_DIR/web-page-race.png" && echo "screenshot: $SHOT_DIR/web-page-race.png"

click $STOP_X $STOP_Y; box_answer ok; box_answer ok
wait_lines "$RUN/${DAY}01.cls" 13
check "between races the page shows the race's classification" \
  cdp wait "document.getElementById('heading').textContent.startsWith('Última carrera ${DAY}01')" true 2000
check "the classification has every car" cdp wait "document.querySelectorAll('#rows tr').length" 10 1000
cdp shot "$SHOT_DIR/web-page-classification.png"

# "Reunión", then Alt+P in the meeting window: the page shows the heat's line-up.
click 88 434
MEETING=$(xdotool search --sync --onlyvisible --name '^Reunión$' | head -1)
xdotool windowfocus --sync "$MEETING"; xdotool key alt+p
check "a prepared heat's line-up shows on the page" \
  cdp wait "document.getElementById('heading').textContent + ' ' + document.getElementById('lineup-rows').innerText.includes('Ana López')" \
  "Siguiente: Manga 1/5 true" 3000
cdp shot "$SHOT_DIR/web-page-between-heats.png"

kill "$CHROME_PID" 2>/dev/null; wait "$CHROME_PID" 2>/dev/null; CHROME_PID=
[ "$fails" -eq 0 ] || { tail -20 "$RUN/program.log"; exit 1; }
