#!/usr/bin/env bash
# Prints a report through a real CUPS server with a virtual PDF printer and
# checks the text of the PDF that comes out. The server is private to this
# run: its own configuration, spool and socket, stopped on exit.
#   tools/cups_print_test.sh path/to/cups_print_check
# Fails when CUPS cannot run here: the setup script installs it.
set -euo pipefail

CHECK=${1:?usage: cups_print_test.sh path/to/cups_print_check}
SKIP=1

for tool in cupsd lpadmin pdftotext; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is not installed (tools/setup.sh installs cups, printer-driver-cups-pdf, poppler-utils)"
    exit $SKIP
  fi
done
if [ ! -e /usr/lib/cups/backend/cups-pdf ] || [ ! -r /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd ]; then
  echo "FAIL: the cups-pdf printer driver is not installed"
  exit $SKIP
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "FAIL: the cups-pdf backend only runs under a server started as root"
  exit $SKIP
fi

WORK=$(mktemp -d /tmp/trelvix-cups.XXXXXX)
chmod 755 "$WORK"
CUPSPID=""
PDF=""
cleanup() {
  if [ -n "$CUPSPID" ]; then
    kill "$CUPSPID" 2>/dev/null || true
    wait "$CUPSPID" 2>/dev/null || true
  fi
  if [ -n "$PDF" ]; then rm -f "$PDF"; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK/etc/ppd" "$WORK/spool/tmp" "$WORK/cache" "$WORK/state" "$WORK/log" "$WORK/home"
SOCKET="$WORK/cups.sock"
cat >"$WORK/etc/cupsd.conf" <<CONF
Listen $SOCKET
LogLevel warn
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$WORK/etc/cups-files.conf" <<CONF
ServerRoot $WORK/etc
StateDir $WORK/state
CacheDir $WORK/cache
RequestRoot $WORK/spool
TempDir $WORK/spool/tmp
ErrorLog $WORK/log/error_log
AccessLog $WORK/log/access_log
PageLog $WORK/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF

cupsd -f -c "$WORK/etc/cupsd.conf" -s "$WORK/etc/cups-files.conf" &
CUPSPID=$!
export CUPS_SERVER="$SOCKET"
# Only this run's server and default printer count: no user options.
export HOME="$WORK/home"
unset PRINTER LPDEST

# Wait, bounded, for the server to answer.
for _ in $(seq 1 200); do
  if [ -S "$SOCKET" ] && lpstat -r >/dev/null 2>&1; then break; fi
  if ! kill -0 "$CUPSPID" 2>/dev/null; then
    echo "FAIL: cupsd did not start:"; cat "$WORK/log/error_log" 2>/dev/null || true
    CUPSPID=""
    exit $SKIP
  fi
  sleep 0.05
done
if ! lpstat -r >/dev/null 2>&1; then
  echo "FAIL: cupsd is not answering on $SOCKET"
  cat "$WORK/log/error_log" 2>/dev/null || true
  exit $SKIP
fi

echo "== with no printer queue"
"$CHECK" --no-printer

lpadmin -p TrelvixPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
  -o pdftops-renderer-default=pdftocairo
lpadmin -d TrelvixPDF

# cups-pdf writes into the job owner's PDF folder.
OUTDIR="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
mkdir -p "$OUTDIR"
# cups-pdf names the file after the job, and this private server numbers its
# first job 1 whatever the folder already holds: a name unique to this run
# keeps an earlier print of the same name from passing for this one.
JOB="TRELVIXcheck$$$(date +%s%N)"

echo "== printing on the PDF queue"
"$CHECK" --print "$JOB"

for _ in $(seq 1 600); do
  NEW=$(find "$OUTDIR" -maxdepth 1 -name "${JOB}*.pdf" -print -quit)
  if [ -n "$NEW" ] && ! lpstat -o TrelvixPDF 2>/dev/null | grep -q .; then
    PDF="$NEW"
    break
  fi
  sleep 0.05
done
if [ -z "$PDF" ]; then
  echo "FAIL: no PDF arrived in $OUTDIR"
  cat "$WORK/log/error_log" 2>/dev/null || true
  exit 1
fi

TEXT="$WORK/report.txt"
pdftotext -layout "$PDF" "$TEXT"
fail=0
expect() {
  if ! grep -qE "$1" "$TEXT"; then echo "FAIL: no line matching: $1"; fail=1; fi
}
expect '^ *Fecha: 261206 *$'
expect '^ *Final GT *$'
expect 'Crono común\.'
expect '^ *Clasificación *$'
expect '^ *Pos +Coche +Vueltas *$'
expect '^ *1 +Fila1 +99 *$'
expect '^ *70 +Fila70 +30 *$'
pages=$(( $(tr -cd '\f' <"$TEXT" | wc -c) ))
if [ "$pages" -lt 2 ]; then echo "FAIL: expected the rows to run onto a second page, got $pages"; fail=1; fi
headings=$(grep -cE 'Pos +Coche +Vueltas' "$TEXT" || true)
if [ "$headings" -ne 1 ]; then echo "FAIL: the heading line was printed $headings times"; fail=1; fi
# The second page starts with a row, not a heading.
second=$(awk 'BEGIN{RS="\f"} NR==2' "$TEXT" | grep -m1 -v '^ *$' || true)
if ! [[ "$second" =~ ^\ *[0-9]+\ +Fila ]]; then echo "FAIL: page 2 starts with: $second"; fail=1; fi

if [ "$fail" -ne 0 ]; then
  echo "--- PDF text ---"; cat "$TEXT"
  exit 1
fi
echo "OK: $(basename "$PDF"), $pages pages"
