#!/usr/bin/env bash
# trelvix --export with no display at all: every format of races that the
# program's own writers made, checked against their record files (the CSV
# and the spreadsheet read back with Python, the page by tidy, the results
# document by poppler), in both languages; a full disk, a planted link and
# four exports at once; missing, torn and unfinished records; clear errors
# where they are due; and no crash over the record readers' fuzz corpus and
# seeded mutations of it.
#   export_test.sh TRELVIX SEED_CORPUS REGRESSIONS_FOLDER FULL_DISK_SHIM SYNC_SHIM
set -euo pipefail
PROGRAM=$(realpath "$1")
SEEDS=$(realpath "$2")
REGRESSIONS=$(realpath "$3")
SHIM=$(realpath "$4")
SLOW_SYNC=$(realpath "$5")
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
FILES="-classification.csv -passes.csv -events.csv .xlsx .html .pdf -lap-times.png -lap-chart.png"
# Every file of the race in the folder, none left over under a temporary name.
whole_export() {  # FOLDER RACE
  local f
  for f in $FILES; do [ -s "$1/$2$f" ] || return 1; done
  [ "$(ls -A "$1" | wc -l)" -eq 8 ]
}

records="$WORK/records"; mkdir -p "$records"
"$SEEDS" "$records"

for race in 26120601 26120602 26120603; do
  if ! "$PROGRAM" --export "$race" --from "$records" --to "$WORK/out" >"$WORK/written" 2>"$WORK/err"; then
    fail "export of $race: $(cat "$WORK/err")"; continue
  fi
  [ -s "$WORK/err" ] && fail "export of $race said: $(cat "$WORK/err")"
  count=$(wc -l <"$WORK/written")
  [ "$count" -eq 8 ] || fail "export of $race listed $count files"
  while read -r f; do [ -s "$f" ] || fail "$f listed but not written"; done <"$WORK/written"
  ls -a "$WORK/out" | grep -q '\.part$\|\.tmp' && fail "temporary files left behind"

  python3 "$HERE/check_csv.py" "$records" "$WORK/out" "$race" es \
    && pass "$race: CSV and spreadsheet read back equal the record files" || fail "$race: CSV or spreadsheet differ"
  rc=0; tidy -q -e "$WORK/out/$race.html" 2>"$WORK/tidy" || rc=$?
  [ "$rc" -eq 0 ] && pass "$race: tidy reports no errors or warnings" || fail "$race: tidy: $(cat "$WORK/tidy")"
  grep -q 'src="http\|href="http\|<script' "$WORK/out/$race.html" && fail "$race: page refers outside itself"
  [ "$(grep -o 'data:image/svg+xml;base64,' "$WORK/out/$race.html" | wc -l)" -eq 2 ] \
    || fail "$race: the page does not hold both charts"

  # The results document: headings apart, a real date, manual texts, and
  # every page after the first headed with the race and numbered.
  pdf="$WORK/out/$race.pdf"
  pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }' || true)
  text=$(pdftotext -layout "$pdf" - 2>/dev/null || true)
  ok=1
  [ "${pages:-0}" -ge 2 ] || ok=0
  for want in "Fecha: 6 de diciembre de 2026" "Clasificación" "Incidencias" "bandera roja en la curva" \
              "Página 1 de $pages" "Página $pages de $pages"; do
    grep -qF "$want" <<<"$text" || { ok=0; echo "  $race.pdf lacks: $want"; }
  done
  grep -qE 'T\. total +V\. ráp\.' <<<"$text" || { ok=0; echo "  $race.pdf: headings run together"; }
  for n in $(seq 2 "${pages:-1}"); do
    pdftotext -f "$n" -l "$n" "$pdf" - | head -1 | grep -q "^Carrera $race" || { ok=0; echo "  page $n has no heading"; }
  done
  [ "$ok" -eq 1 ] && pass "$race: the results document reads well ($pages pages)" || fail "$race: results document"
done
grep -q $'^20;;;103,320;MANU;"\'=HYPERLINK' "$WORK/out/26120601-events.csv" && grep -q $'^22;;;103,320;MANU;-5\r$' "$WORK/out/26120601-events.csv" \
  && pass "formula texts are plain texts in the CSV, a negative number stays a number" || fail "formula texts in the CSV"

# A race that ran a meeting heat names its drivers beside the cars: the CSV
# files gain a driver column after the car's and are otherwise the same
# bytes; the page, the spreadsheet and the charts name them too. The same
# race exported above, with no database beside it, has no such column.
cp -r "$records" "$WORK/club"
python3 -c 'import sys; open(sys.argv[1], "w", encoding="cp1252").write("nombre;abreviatura;número;clase;activo\r\nAna López;Ana;;GT;sí\r\nBea Ruiz;Bea;;GT;sí\r\n")' "$WORK/roster.csv"
"$PROGRAM" --import-drivers "$WORK/roster.csv" --from "$WORK/club" >/dev/null || fail "roster import"
sqlite3 "$WORK/club/TRELVIX.sqlite" "INSERT INTO meetings VALUES(1,'2026-12-06','Club','GT',0,2,5,0,0,0,0,0,0,0,0,0,0,'');
  INSERT INTO heats(meeting,number,stage,round,grp,minutes,cars,common_timing,race_id) VALUES(1,1,0,1,0,5,2,1,'26120601');
  INSERT INTO seats SELECT 1,1,1,id FROM drivers WHERE name='Ana López';
  INSERT INTO seats SELECT 1,1,2,id FROM drivers WHERE name='Bea Ruiz';"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/club" --to "$WORK/named" >/dev/null 2>"$WORK/err" || rc=$?
ok=1
for kind in classification passes; do
  cut -d';' --complement -f3 "$WORK/named/26120601-$kind.csv" | cmp -s - "$WORK/out/26120601-$kind.csv" \
    || { ok=0; echo "  $kind.csv differs beyond its driver column"; }
done
head -1 "$WORK/named/26120601-classification.csv" | grep -q $'^\xEF\xBB\xBFposicion;coche;piloto;vueltas;' || ok=0
grep -q '^[0-9]*;1;Ana López;' "$WORK/named/26120601-classification.csv" \
  && grep -q '^[0-9]*;3;;' "$WORK/named/26120601-classification.csv" || { ok=0; echo "  wrong names by car"; }
grep -q '<td class="text">Bea Ruiz</td>' "$WORK/named/26120601.html" && grep -q '<th>1 · Ana López</th>' "$WORK/named/26120601.html" \
  || { ok=0; echo "  the page lacks the names"; }
# (Whole outputs in variables: a reader that stops early would fail the pipe.)
svg=$(grep -o 'data:image/svg+xml;base64,[^"]*' "$WORK/named/26120601.html" | sed -n 1p | cut -d, -f2 | base64 -d)
grep -qF '1 · Ana López' <<<"$svg" || { ok=0; echo "  the chart's legend lacks the names"; }
grep -qF 'Bea Ruiz' <<<"$(unzip -p "$WORK/named/26120601.xlsx" xl/sharedStrings.xml)" \
  || { ok=0; echo "  the spreadsheet lacks the names"; }
grep -qF 'Ana López' <<<"$(pdftotext "$WORK/named/26120601.pdf" -)" || { ok=0; echo "  the results document lacks the names"; }
[ "$rc" -eq 0 ] && [ ! -s "$WORK/err" ] && [ "$ok" -eq 1 ] && pass "a meeting heat's race names its drivers in every format" \
  || fail "heat's race: rc $rc, $(cat "$WORK/err")"
[ ! -e "$records/TRELVIX.sqlite" ] && pass "an export makes no meetings database" || fail "an export made a database"

# English: every word the program writes, and a point for decimals, chart
# axes included (a Spanish one has commas there).
"$PROGRAM" --export 26120601 --lang en --from "$records" --to "$WORK/en" >/dev/null || fail "--lang en export"
python3 "$HERE/check_csv.py" "$records" "$WORK/en" 26120601 en || fail "--lang en: CSV or spreadsheet"
en_text=$(pdftotext -layout "$WORK/en/26120601.pdf" - 2>/dev/null || true)
if grep -q '<td class="best">17\.220</td>' "$WORK/en/26120601.html" && ! grep -qE '<td[^>]*>[0-9]+,[0-9]{3}<' "$WORK/en/26120601.html" \
   && grep -q "Date: 6 December 2026" <<<"$en_text" && grep -q "Page 1 of" <<<"$en_text" \
   && ! grep -qE '[0-9],[0-9]{2,3}\b' <<<"$en_text" && pdftotext "$WORK/en/26120601.pdf" - | grep -q '^17\.20$' \
   && pdftotext "$WORK/out/26120601.pdf" - | grep -q '^17,20$'; then
  pass "--lang en: English words and decimal points throughout"
else fail "--lang en"; fi

# A full disk: the write that no longer fits fails the export, which leaves
# no file under a final name (a previous export stays as it was) and none
# under a temporary one, and says why.
# The last budget runs out in the middle of the last file.
total=$(cat "$WORK/en"/* | wc -c)
last=$(stat -c %s "$WORK/en/26120601-lap-chart.png")
for budget in 0 $((total / 2)) $((total - last / 2)); do
  rm -rf "$WORK/full"; cp -r "$WORK/en" "$WORK/full"; rm "$WORK/full"/*.pdf
  rc=0
  TRELVIX_FULL_DIR="$WORK/full" TRELVIX_FULL_AFTER=$budget LD_PRELOAD="$SHIM" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    "$PROGRAM" --export 26120601 --lang en --from "$records" --to "$WORK/full" >/dev/null 2>"$WORK/err" || rc=$?
  left=$(cd "$WORK/full" && ls -A | grep -v '\.pdf$' | wc -l)
  if [ "$rc" -eq 1 ] && grep -q "No space left on device" "$WORK/err" && [ ! -e "$WORK/full/26120601.pdf" ] \
     && [ "$left" -eq 7 ] && diff -r -x '*.pdf' "$WORK/en" "$WORK/full" >/dev/null; then
    pass "full disk after $budget of $total bytes: exit 1, nothing new under any name"
  else fail "full disk after $budget bytes: exit $rc, $(ls -A "$WORK/full" | tr '\n' ' ') $(cat "$WORK/err")"; fi
done

# A link planted at a temporary or a final name is never written through.
mkdir "$WORK/planted"; echo precious >"$WORK/victim"
for name in .26120601-classification.pdf.part .26120601.pdf.part .26120601.html.part 26120601.html; do
  ln -s "$WORK/victim" "$WORK/planted/$name"
done
if "$PROGRAM" --export 26120601 --from "$records" --to "$WORK/planted" >/dev/null 2>"$WORK/err" \
   && [ "$(cat "$WORK/victim")" = precious ] && [ ! -L "$WORK/planted/26120601.html" ]; then
  pass "planted links are left alone"
else fail "planted links: $(cat "$WORK/victim" | head -c 80) $(cat "$WORK/err")"; fi

# Four exports of one race into one folder at once, on a disk whose syncs
# take 100 ms so that they overlap.
pids=()
for i in 1 2 3 4; do
  LD_PRELOAD="$SLOW_SYNC" TRELVIX_SYNC_DELAY_MS=100 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    "$PROGRAM" --export 26120601 --from "$records" --to "$WORK/four" >/dev/null 2>"$WORK/four-$i.err" & pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
if [ "$failed" -eq 0 ] && whole_export "$WORK/four" 26120601 && python3 "$HERE/check_csv.py" "$records" "$WORK/four" 26120601 es; then
  pass "four exports at once all succeed"
else fail "four exports at once: $failed failed: $(cat "$WORK"/four-*.err)"; fi

# Missing, torn and unfinished records.
cp -r "$records" "$WORK/missing"; rm "$WORK/missing/26120601.pss" "$WORK/missing/26120601.inc"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/missing" --to "$WORK/m0" >/dev/null 2>"$WORK/err" || rc=$?
[ "$rc" -eq 1 ] && grep -q "faltan ficheros de la carrera: 26120601.pss, 26120601.inc" "$WORK/err" && [ ! -e "$WORK/m0" ] \
  && pass "a race without its passes and events files is not exported" || fail "missing files: rc $rc, $(cat "$WORK/err")"
cp -r "$records" "$WORK/torn"; printf '73\t2\t6\t1,3' >>"$WORK/torn/26120601.pss"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/torn" --to "$WORK/t0" >/dev/null 2>"$WORK/err" || rc=$?
if [ "$rc" -eq 0 ] && grep -q "26120601.pss: la última línea está cortada y se dejó fuera: «73 2 6 1,3»" "$WORK/err" \
   && ! grep -q '^73;' "$WORK/t0/26120601-passes.csv" && grep -q "la última línea está cortada" "$WORK/t0/26120601.html"; then
  pass "a torn last line is left out and named"
else fail "torn last line: rc $rc, $(cat "$WORK/err")"; fi
cp -r "$records" "$WORK/unfinished"; head -n 2 "$records/26120601.cls" >"$WORK/unfinished/26120601.cls"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/unfinished" --to "$WORK/u0" >/dev/null 2>"$WORK/err" || rc=$?
if [ "$rc" -eq 0 ] && grep -q "^trelvix: aviso: Carrera sin terminar" "$WORK/err" && grep -q "Carrera sin terminar" "$WORK/u0/26120601.html" \
   && pdftotext "$WORK/u0/26120601.pdf" - | grep -q "Carrera sin terminar"; then
  pass "an unfinished race says so on the page, in the document and on the command line"
else fail "unfinished race: rc $rc, $(cat "$WORK/err")"; fi

# Errors, each with its message and a non-zero exit.
expect_error() {  # CODE TEXT ARGS...
  local code=$1 text=$2; shift 2
  local rc=0
  "$PROGRAM" "$@" >"$WORK/out.txt" 2>"$WORK/err" || rc=$?
  if [ "$rc" -eq "$code" ] && grep -q -- "$text" "$WORK/err"; then pass "exit $code: $text"
  else fail "expected exit $code and '$text', got $rc: $(cat "$WORK/err")"; fi
}
expect_error 1 "no está en la carpeta de registros" --export 26120609 --from "$records" --to "$WORK/x"
: >"$WORK/a-file"
expect_error 1 "no se pudo crear la carpeta .*: Not a directory" --export 26120601 --from "$records" --to "$WORK/a-file/sub"
expect_error 1 "cannot make the folder" --export 26120601 --lang en --from "$records" --to "$WORK/a-file/sub"
cp -r "$records" "$WORK/unreadable"; rm "$WORK/unreadable/26120601.pss"; mkdir "$WORK/unreadable/26120601.pss"
expect_error 1 "26120601.pss no se puede leer" --export 26120601 --from "$WORK/unreadable" --to "$WORK/x"
expect_error 2 "expected a race such as" --export 2612 --to "$WORK/x"
expect_error 2 "folder to write into is missing" --export 26120601
# A malformed file exports what was read, and says so in the export's language.
cp -r "$records" "$WORK/malformed"
printf 'not a pass line\r\n' >>"$WORK/malformed/26120601.pss"
rc=0; "$PROGRAM" --export 26120601 --from "$WORK/malformed" --to "$WORK/m" >/dev/null 2>"$WORK/err" || rc=$?
if [ "$rc" -eq 0 ] && grep -q "se exportó lo que se pudo leer" "$WORK/err" \
   && grep -q "26120601.pss: «not a pass line» no es un número entero válido" "$WORK/m/26120601.html" \
   && ! grep -q "is not a valid" "$WORK/m/26120601.html"; then
  pass "a malformed file exports what was read and says so in Spanish"
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
  if [ "$rc" -ge 2 ] || { [ "$rc" -eq 1 ] && ! grep -q "^trelvix: no se pudo exportar la carrera 26120601: " "$WORK/err"; }; then
    crashes=$((crashes + 1)); echo "input $(basename "$input"): exit $rc: $(head -c 300 "$WORK/err")"
  fi
done
[ "$crashes" -eq 0 ] && pass "fuzz corpus: $runs exports, no crash" || fail "fuzz corpus: $crashes of $runs went wrong"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all export checks passed"
