#!/usr/bin/env bash
# The built program with no display of any kind, as over ssh: --help and
# --version answer on standard output with exit 0, a mistake on standard
# error with exit 2, and the window path says it cannot open with exit 1,
# never a core dump, whether no display is named or the named one is gone.
#   command_line_test.sh TRELVIX VERSION
set -uo pipefail
PROGRAM=$(realpath "$1")
VERSION=$2
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

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
[ "$failures" -eq 0 ]
