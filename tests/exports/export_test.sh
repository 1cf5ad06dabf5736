#!/usr/bin/env bash
# trelvix --export with no display at all: every format of races that the
# program's own writers made, checked against their record files (the CSV
# read back with Python's csv module, the page by tidy, the reports by
# poppler); clear errors where they are due; and no crash over the record
# readers' fuzz corpus and seeded mutations of it.
#   export_test.sh TRELVIX SEED_CORPUS REGRESSIONS_FOLDER
set -euo pipefail
PROGRAM=$(realpath "$1")
SEEDS=$(realpath "$2")
REGRESSIONS=$(realpath "$3")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# No display of any kind, as over ssh on a headless machine.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

records="$WORK/records"; mkdir -p "$records"
"$SEEDS" "$records"

for race in 26120601 26120602 26120603; do
  if ! "$PROGRAM" --export "$race" --from "$records" --to "$WORK/out" >"$WORK/written" 2>"$WORK/err"; then
    fail "export of $race: $(cat "$WORK/err")"; continue
  fi
  [ -s "$WORK/err" ] && fail "export of $race said: $(cat "$WORK/err")"
  count=$(wc -l <"$WORK/written")
  [ "$count" -eq 10 ] || fail "export of $race listed $count files"
  while read -r f; do [ -s "$f" ] || fail "$f listed but not written"; done <"$WORK/written"
  ls -a "$WORK/out" | grep -q '\.part$\|\.tmp' && fail "temporary files left behind"

  python3 "$HERE/check_csv.py" "$records" "$WORK/out" "$race" && pass "$race: CSV read back equals the record files" \
    || fail "$race: CSV differs from the record files"
  rc=0; tidy -q -e "$WORK/out/$race.html" 2>"$WORK/tidy" || rc=$?
  [ "$rc" -eq 0 ] && pass "$race: tidy reports no errors or warnings" || fail "$race: tidy: $(cat "$WORK/tidy")"
  grep -q 'src="http\|href="http\|<script' "$WORK/out/$race.html" && fail "$race: page refers outside itself"
  [ "$(grep -o 'data:image/svg+xml;base64,' "$WORK/out/$race.html" | wc -l)" -eq 2 ] \
    || fail "$race: the page does not hold both charts"
  for report in classification passes races events; do
    pages=$(pdfinfo "$WORK/out/$race-$report.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    [ "${pages:-0}" -ge 1 ] || fail "$race-$report.pdf is no PDF"
  done
  pdftotext "$WORK/out/$race-classification.pdf" - | grep -q "Clasificación" || fail "$race: classification report text"
done
pdftotext "$WORK/out/26120601-passes.pdf" - | grep -q "Pasos por paso" && pass "the passes report reads as printed" \
  || fail "passes report title"

# English texts on request.
"$PROGRAM" --export 26120601 --lang en --from "$records" --to "$WORK/en" >/dev/null
head -c 32 "$WORK/en/26120601-passes.csv" | grep -q '^pass,car,lap,lap_time_s' && pass "--lang en" || fail "--lang en"

# Errors, each with its message and a non-zero exit.
expect_error() {  # CODE TEXT ARGS...
  local code=$1 text=$2; shift 2
  local rc=0
  "$PROGRAM" "$@" >"$WORK/out.txt" 2>"$WORK/err" || rc=$?
  if [ "$rc" -eq "$code" ] && grep -q -- "$text" "$WORK/err"; then pass "exit $code: $text"
  else fail "expected exit $code and '$text', got $rc: $(cat "$WORK/err")"; fi
}
expect_error 1 "is not in the record folder" --export 26120609 --from "$records" --to "$WORK/x"
: >"$WORK/a-file"
expect_error 1 "cannot make the folder" --export 26120601 --from "$records" --to "$WORK/a-file/sub"
cp -r "$records" "$WORK/unreadable"; rm "$WORK/unreadable/26120601.pss"; mkdir "$WORK/unreadable/26120601.pss"
expect_error 1 "26120601.pss cannot be read" --export 26120601 --from "$WORK/unreadable" --to "$WORK/x"
expect_error 2 "expected a race such as" --export 2612 --to "$WORK/x"
expect_error 2 "folder to write into is missing" --export 26120601
# A malformed file exports what was read, and says so.
cp -r "$records" "$WORK/malformed"
printf 'not a pass line\r\n' >>"$WORK/malformed/26120601.pss"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/malformed" --to "$WORK/m" >/dev/null 2>"$WORK/err" || rc=$?
if [ "$rc" -eq 0 ] && grep -q "holds what could be read" "$WORK/err" && [ -s "$WORK/m/26120601.html" ]; then
  pass "a malformed file exports what was read and says so"
else fail "malformed file: rc $rc, $(cat "$WORK/err")"; fi

# The fuzz corpus: the seeds, the regressions and seeded mutations of them,
# each put in place of one record file of a race.
python3 "$HERE/mutate.py" "$records" "$REGRESSIONS" "$WORK/corpus"
crashes=0; runs=0
for input in "$WORK"/corpus/*; do
  kind=${input##*.}
  folder="$WORK/fuzz"; rm -rf "$folder"; cp -r "$records" "$folder"
  case $kind in
    races) target=26120600.TXT ;;
    passes) target=26120601.pss ;;
    classification) target=26120601.cls ;;
    events) target=26120601.inc ;;
  esac
  cp "$input" "$folder/$target"
  rc=0; "$PROGRAM" --export 26120601 --from "$folder" --to "$WORK/fuzz-out" >/dev/null 2>"$WORK/err" || rc=$?
  runs=$((runs + 1))
  if [ "$rc" -ge 2 ] || { [ "$rc" -eq 1 ] && ! grep -q "^trelvix: export of 26120601 failed: " "$WORK/err"; }; then
    crashes=$((crashes + 1)); echo "input $(basename "$input"): exit $rc: $(head -c 300 "$WORK/err")"
  fi
done
[ "$crashes" -eq 0 ] && pass "fuzz corpus: $runs exports, no crash" || fail "fuzz corpus: $crashes of $runs went wrong"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all export checks passed"
