#!/usr/bin/env bash
# The results page in a real browser: the program runs under Xvfb with
# "--web 127.0.0.1:PORT", headless Chromium loads the page, and the passes
# pressed in the program show on the page within a second; after the race
# the page shows its classification. A screenshot of the page on a phone's
# screen is kept in the test's folder (or in SHOT_DIR when set).
# Usage: web_page_test.sh PATH/TO/PROGRAM
set -u
PROGRAM=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/../e2e/x_session.sh"
. "$HERE/web_session.sh"
web_tools_or_skip chromium
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

kill "$CHROME_PID" 2>/dev/null; wait "$CHROME_PID" 2>/dev/null; CHROME_PID=
[ "$fails" -eq 0 ] || { tail -20 "$RUN/program.log"; exit 1; }
