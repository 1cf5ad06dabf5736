#!/usr/bin/env bash
# trelvix --import-drivers with no display: a roster of 300 rows with five
# bad ones and two repeated names, each reported by its row; a second run
# that changes nothing; usage mistakes; and kill -9 at several moments of a
# large import, after which the database holds the roster from before or
# after it, never a part, and passes its integrity check.
#   import_drivers_test.sh TRELVIX
set -uo pipefail
PROGRAM=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$WORK/club"; chmod 700 "$XDG_RUNTIME_DIR"
failures=0
check() {  # check WHAT COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); fi
}
run() {  # run ARGS...: exit status in $rc, output in $WORK/out and $WORK/err
  rc=0
  timeout 60 "$PROGRAM" "$@" >"$WORK/out" 2>"$WORK/err" || rc=$?
}
count() { sqlite3 "$1/TRELVIX.sqlite" 'SELECT count(*) FROM drivers'; }

# 300 rows; rows are numbered as the file's lines are, the header being 1.
python3 - "$WORK/roster.csv" <<'PY'
import sys
rows = ["nombre;abreviatura;número;clase;activo"]
for i in range(1, 301):
    rows.append(f"Piloto {i:03d};P{i:03d};{i};GT;sí")
rows[11] = ";sin nombre;11;GT;sí"                  # line 12: no name
rows[51] = "Piloto 051;P051;10000;GT;sí"           # line 52: number out of range
rows[101] = "Piloto 101;Abreviatura larga;101;GT;sí"  # line 102: short name too long
rows[151] = "Piloto 151;P151;151;GT;quizá"         # line 152: active neither yes nor no
rows[201] = '"Piloto 201"x;P201;201;GT;sí'         # line 202: text after a closing quote
rows[251] = "piloto 003;X;251;GT;sí"               # line 252: name of line 4 again
rows[281] = "PILOTO  010;Y;281;GT;sí"              # line 282: name of line 11 again
open(sys.argv[1], "w", encoding="cp1252").write("\r\n".join(rows) + "\r\n")
PY
run --import-drivers "$WORK/roster.csv" --from "$WORK/club" --lang en
check "import: exit 0 (got $rc: $(cat "$WORK/err"))" [ "$rc" -eq 0 ]
check "import: 293 added" grep -q "^added 293, changed 0, unchanged 0, refused 7$" "$WORK/out"
check "import: 293 drivers stored" [ "$(count "$WORK/club")" = 293 ]
for line in 12 52 102 152 202 252 282; do
  check "import: row $line refused" grep -q "^refused: Row $line: " "$WORK/out"
done
check "import: the stray quote refused" grep -q "^refused: Row 202: unbalanced quotes$" "$WORK/out"
check "import: repeated names name their first row" grep -q "^refused: Row 252: name repeated (as row 4)$" "$WORK/out"
check "import: letter case and blanks aside" grep -q "^refused: Row 282: name repeated (as row 11)$" "$WORK/out"
check "import: nothing else refused" [ "$(grep -c "^refused: " "$WORK/out")" = 7 ]
check "import: accented number heading read" [ "$(sqlite3 "$WORK/club/TRELVIX.sqlite" \
  "SELECT number FROM drivers WHERE name = 'Piloto 300'")" = 300 ]

run --import-drivers "$WORK/roster.csv" --from "$WORK/club"
check "again: nothing to import, exit 1 with the reason" \
  bash -c "[ $rc -eq 1 ] && grep -q 'nada importado: ninguna fila' '$WORK/err'"
run --import-drivers "$WORK/missing.csv" --from "$WORK/club"
check "missing file: exit 1" bash -c "[ $rc -eq 1 ] && grep -q 'no se puede leer' '$WORK/err'"
printf 'apodo,dorsal\nx,1\n' >"$WORK/nonames.csv"
run --import-drivers "$WORK/nonames.csv" --from "$WORK/club" --lang en
check "no name column: exit 1" bash -c "[ $rc -eq 1 ] && grep -q 'no column is called' '$WORK/err'"
run --import-drivers "$WORK/roster.csv" --to "$WORK/x"
check "usage: exit 2" [ "$rc" -eq 2 ]
run --import-drivers "$WORK/roster.csv" --from "$WORK/club" --lang fr
check "bad language: exit 2" [ "$rc" -eq 2 ]
printf 'not a database at all, just text, not a database at all\n%.0s' {1..100} >"$WORK/junk.sqlite"
mkdir -p "$WORK/junk" && cp "$WORK/junk.sqlite" "$WORK/junk/TRELVIX.sqlite"
run --import-drivers "$WORK/roster.csv" --from "$WORK/junk" --lang en
check "damaged database: exit 1, left as it was" bash -c "[ $rc -eq 1 ] && grep -q 'damaged' '$WORK/err' &&
  cmp -s '$WORK/junk.sqlite' '$WORK/junk/TRELVIX.sqlite'"

# kill -9 while a large import runs: at the Nth change the folder sees.
python3 - "$WORK/big.csv" <<'PY'
import sys
rows = ["name,short name,number,class"] + [f"Driver {i:05d},D{i},{i},Mini-Z" for i in range(1, 4001)]
open(sys.argv[1], "w").write("\n".join(rows) + "\n")
PY
for nth in 1 2 3 4 6 8; do
  rm -rf "$WORK/k" && mkdir -p "$WORK/k" && cp "$WORK/club/TRELVIX.sqlite" "$WORK/k/"
  coproc WATCH { inotifywait -m -e modify,create,close_write --format '%f' "$WORK/k" 2>&1; }
  while read -r -t 30 line <&"${WATCH[0]}" && [ "$line" != "Watches established." ]; do :; done
  "$PROGRAM" --import-drivers "$WORK/big.csv" --from "$WORK/k" >/dev/null 2>&1 &
  importer=$!
  seen=0
  while [ "$seen" -lt "$nth" ] && read -r -t 30 _ <&"${WATCH[0]}"; do seen=$((seen + 1)); done
  kill -9 "$importer" 2>/dev/null
  wait "$importer" 2>/dev/null
  kill "$WATCH_PID" 2>/dev/null; wait "$WATCH_PID" 2>/dev/null
  n=$(count "$WORK/k")
  check "kill -9 at change $nth: before or after ($n drivers)" bash -c "[ '$n' = 293 ] || [ '$n' = 4293 ]"
  check "kill -9 at change $nth: integrity ok" \
    [ "$(sqlite3 "$WORK/k/TRELVIX.sqlite" 'PRAGMA integrity_check')" = ok ]
done
rm -rf "$WORK/k" && mkdir -p "$WORK/k" && cp "$WORK/club/TRELVIX.sqlite" "$WORK/k/"
run --import-drivers "$WORK/big.csv" --from "$WORK/k"
check "left alone, the same import completes" [ "$rc-$(count "$WORK/k")" = 0-4293 ]

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
