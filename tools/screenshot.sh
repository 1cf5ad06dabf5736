#!/usr/bin/env bash
# Starts the built program under a virtual display and saves screenshots of
# the main window: idle, and during a race after a few passes; and of the
# files browser and the events review over three sample races that the
# program's own race control recorded (the seed_corpus tool).
# Usage: tools/screenshot.sh [path/to/trelvix [path/to/seed_corpus]]
# (PNGs go to build/screenshots/)
set -euo pipefail
cd "$(dirname "$0")/.."
PROGRAM="${1:-build/src/app/trelvix}"
SEED="${2:-$(dirname "$PROGRAM")/../../tests/seed_corpus}"
OUT="${SCREENSHOT_OUT:-build/screenshots}"
mkdir -p "$OUT"
[ -x "$PROGRAM" ] || { echo "build the program first: $PROGRAM" >&2; exit 1; }

# The program keeps its records beside itself: run a copy in a scratch folder.
WORK=$(mktemp -d)
cp "$PROGRAM" "$WORK/trelvix"
if [ -x "$SEED" ]; then "$SEED" "$WORK"; else echo "no $SEED: the files browser will be empty" >&2; fi
export XDG_RUNTIME_DIR="$WORK/run"; mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

DISPLAY_NUMBER=:${SCREENSHOT_DISPLAY:-97}
Xvfb "$DISPLAY_NUMBER" -screen 0 2624x1000x24 -nolisten tcp -noreset >/dev/null 2>&1 & XVFB=$!
PROG=""
cleanup() {
  [ -n "$PROG" ] && kill "$PROG" 2>/dev/null || true
  kill "$XVFB" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
export DISPLAY=$DISPLAY_NUMBER QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
# Two monitors side by side: the operator's on the left, the public's on the right.
xrandr --setmonitor OPERATOR 1600/406x1000/254+0+0 screen >/dev/null
xrandr --setmonitor PUBLIC 1024/260x768/195+1600+0 none >/dev/null

(cd "$WORK" && exec ./trelvix) & PROG=$!

# The start-up report comes first: answer it.
BOX=$(xdotool search --sync --onlyvisible --name '^TRELVIX$' | head -1)
xdotool windowfocus --sync "$BOX"
xdotool key Return
MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
xdotool windowfocus --sync "$MAIN"
sleep 0.5
import -display "$DISPLAY" -window "$MAIN" "$OUT/main-idle.png"

# The files browser ("Ficheros" at 572,412 53x13) opens on the last race.
xdotool mousemove --window "$MAIN" 598 418 click 1
FILES=$(xdotool search --sync --onlyvisible --name '^Ficheros$' | head -1)
sleep 0.5
import -display "$DISPLAY" -window "$FILES" "$OUT/files-browser.png"
# Its events button (568,4 56x18) opens the events review of that race.
xdotool mousemove --window "$FILES" 596 13 click 1
EVENTS=$(xdotool search --sync --onlyvisible --name '^Incidencias$' | head -1)
sleep 0.4
import -display "$DISPLAY" -window "$EVENTS" "$OUT/events-review.png"
# By type (third choice of 312,124), then the first row: the manual event.
xdotool mousemove --window "$EVENTS" 340 186 click 1
sleep 0.2
xdotool mousemove --window "$EVENTS" 26 73 click 1
sleep 0.4
import -display "$DISPLAY" -window "$EVENTS" "$OUT/events-review-detail.png"
xdotool windowfocus --sync "$EVENTS" key Escape
sleep 0.3
xdotool windowfocus --sync "$FILES" key Escape
sleep 0.3
xdotool windowfocus --sync "$MAIN"

# "Multimonitor" (CheckBox14 at 256,20 in the setup panel at 80,0) shows the
# results window on the second screen of the display and says where it is.
xdotool mousemove --window "$MAIN" 344 28 click 1
BOX=$(xdotool search --sync --onlyvisible --name '^TRELVIX$' | head -1)
xdotool windowfocus --sync "$BOX"
xdotool key Return
RESULTS=$(xdotool search --sync --onlyvisible --name '^Resultados$' | head -1)
xdotool windowfocus --sync "$MAIN"

# Start a race with the start button (0,0 73x25) and count a few passes.
xdotool mousemove --window "$MAIN" 36 12 click 1
sleep 0.4
for key in F1 F3 F2 F1 F5 F11; do xdotool key --delay 0 "$key"; sleep 0.2; done
# An event button: refuel of car 2 (Panel6 at 432,24; row 2 at y 144; R at x 4).
xdotool mousemove --window "$MAIN" $((432 + 4 + 12)) $((24 + 144 + 8)) click 1
sleep 0.5
import -display "$DISPLAY" -window "$MAIN" "$OUT/main-race.png"
import -display "$DISPLAY" -window "$RESULTS" "$OUT/results-race.png"

# The two charts of a lively sample race (the sample_race tool), as the
# export draws them with no display: docs/screenshots/charts-*.png.
SAMPLE="$(dirname "$SEED")/sample_race"
if [ -x "$SAMPLE" ]; then
  mkdir -p "$WORK/sample"
  "$SAMPLE" "$WORK/sample" 261207
  "$PROGRAM" --export 26120701 --from "$WORK/sample" --to "$WORK/sample-out" >/dev/null
  cp "$WORK/sample-out/26120701-lap-times.png" "$OUT/charts-lap-times.png"
  cp "$WORK/sample-out/26120701-lap-chart.png" "$OUT/charts-lap-chart.png"
fi
echo "screenshots in $OUT: $(ls "$OUT" | tr '\n' ' ')"
