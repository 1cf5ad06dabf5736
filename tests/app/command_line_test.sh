#!/usr/bin/env bash
# The built program with no display of any kind, as over ssh: --help and
# --version answer on standard output with exit 0, a mistake on standard
# error with exit 2, and the window path says it cannot open with exit 1,
# never a core dump, whether no display is named or the named one is gone.
# The man page names every option the program knows, its version, exit
# statuses, files and related reading.
#   command_line_test.sh TRELVIX VERSION MAN_PAGE
set -uo pipefail
PROGRAM=$(realpath "$1")
VERSION=$2
MAN_PAGE=$(realpath "$3")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
unset DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_QPA_PLATFORM
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
failures=0

# expect CODE STREAM TEXT ARGS...: the exit status and a line of the named stream.
expect() {
  local code=$1 stream=$2 text=$3; shift 3
  local rc=0
  (cd "$WORK" && timeout 20 "$PROGRAM" "$@") >"$WORK/out" 2>"$WORK/err" || rc=$?
  local other=err; [ "$stream" = err ] && other=out
  local what="${DISPLAY:+DISPLAY=$DISPLAY }trelvix $*"
  if [ "$rc" -eq "$code" ] && grep -q -- "$text" "$WORK/$stream" && [ ! -s "$WORK/$other" ]; then
    echo "ok - $what: exit $code"
  else
    echo "not ok - $what: expected exit $code and '$text' on std$stream alone, got $rc"
    sed 's/^/  out: /' "$WORK/out"; sed 's/^/  err: /' "$WORK/err"
    failures=$((failures + 1))
  fi
}

expect 0 out "^Usage: trelvix " --help
expect 0 out "^Usage: trelvix " -h
expect 0 out "^trelvix $VERSION\$" --version
expect 2 err "Unknown option 'exprot'" --exprot 26120601 --to "$WORK/x"
expect 2 err "^trelvix: --decoder /dev/ttyUSB0@fast: expected a serial port" --decoder /dev/ttyUSB0@fast
expect 2 err "^trelvix: --web 70000: expected" --web 70000
expect 1 err "^trelvix: the window cannot open: there is no display"
# A display named but not there: Qt's own complaint is allowed before ours.
DISPLAY=:59000 expect 1 err "^trelvix: the window cannot open" --decoder none

# The man page, against what the program says of itself.
man_fails() { echo "not ok - man page: $*"; failures=$((failures + 1)); }
"$PROGRAM" --help >"$WORK/help"
for option in $(grep -oE -- '--[a-z]+' "$WORK/help" | sort -u); do
  grep -qF -- "${option//-/\\-}" "$MAN_PAGE" || man_fails "$option is missing"
done
grep -q "^\.TH TRELVIX 1 .* \"TRELVIX $VERSION\"" "$MAN_PAGE" || man_fails "not of version $VERSION"
for section in "EXIT STATUS" FILES "SEE ALSO"; do
  grep -q "^\.SH $section\$" "$MAN_PAGE" || man_fails "no $section section"
done
sed -n '/^\.SH FILES/,/^\.SH /p' "$MAN_PAGE" >"$WORK/files"
for file in TRELVIX.conf .local/share/TRELVIX .trelvix.lock; do
  grep -qF "$file" "$WORK/files" || man_fails "FILES does not name $file"
done
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$MAN_PAGE" 2>"$WORK/groff" >/dev/null
[ -s "$WORK/groff" ] && man_fails "groff warns: $(cat "$WORK/groff")"
[ "$failures" -eq 0 ] && echo "ok - the man page names every option, exit status and file"

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
[ "$failures" -eq 0 ]
