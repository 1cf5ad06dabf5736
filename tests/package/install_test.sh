#!/usr/bin/env bash
# Installs the Debian package as a director would (apt-get install ./deb),
# checks its metadata with the distribution's own validators and the
# program's hardening, answers --help and --version as installed, starts the
# installed program under a virtual display and sees that its records go to
# the per-user folder. Removes the package again at the end.
#   tests/package/install_test.sh PATH/TO/trelvix_VERSION_amd64.deb
set -u
DEB=$(realpath "${1:?usage: install_test.sh PACKAGE.deb}")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/../e2e/x_session.sh"
[ "$(id -u)" -eq 0 ] || { echo "FAIL: installing a package needs root (run the test command as root or through sudo)"; exit 1; }

WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok - $what"; else echo "not ok - $what"; failures=$((failures + 1)); return 1; fi
}
cleanup() {
  x_stop
  DEBIAN_FRONTEND=noninteractive apt-get remove -y trelvix >/dev/null 2>&1
  rm -rf "$WORK"
}
trap cleanup EXIT

installs() { DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$DEB" >"$WORK/apt.log" 2>&1; }
check "the package installs with apt-get" installs || { cat "$WORK/apt.log"; exit 1; }
check "the desktop entry is valid" desktop-file-validate /usr/share/applications/org.trelvix.Trelvix.desktop
quietly() { "$@" >"$WORK/tool.log" 2>&1 || { cat "$WORK/tool.log"; return 1; }; }
check "the AppStream metainfo is valid" quietly appstreamcli validate --no-net /usr/share/metainfo/org.trelvix.Trelvix.metainfo.xml
check "lintian finds no error" quietly lintian --fail-on error "$DEB"
check "the man page is installed" test -s /usr/share/man/man1/trelvix.1.gz
check "the documents the man page names are installed" \
  test -s /usr/share/doc/trelvix/http-api.md -a -s /usr/share/doc/trelvix/decoder-protocol.md
describes() {  # describes TEXT
  local subject
  for subject in "track gate" "results page" "export"; do grep -qi "$subject" <<<"$1" || return 1; done
}
check "the package description tells of the gate, the page and exports" describes "$(dpkg-deb -f "$DEB" Description)"
check "so does the AppStream description" describes "$(cat /usr/share/metainfo/org.trelvix.Trelvix.metainfo.xml)"
check "the installed program is built hardened" quietly "$HERE/hardening_check.sh" /usr/bin/trelvix
version=$(sed -n 's/^project(trelvix VERSION \([0-9.]*\).*/\1/p' "$HERE/../../CMakeLists.txt")
check "the installed program says its version with no display" \
  test "$(env -u DISPLAY /usr/bin/trelvix --version)" = "trelvix $version"
check "the default cues are installed" test -s /usr/share/trelvix/cues/12e.wav

x_start
(cd "$WORK" && exec /usr/bin/trelvix) >"$WORK/program.log" 2>&1 &
PROG_PID=$!
box_answer Return                  # the start-up report
MAIN=$(xdotool search --sync --onlyvisible --name 'TRELVIX \(TRELVIX\)' | head -1)
check "the installed program shows its window after the start-up report" test -n "$MAIN"
xdotool windowfocus --sync "$MAIN"
click $START_X $START_Y
key F1
DAY=$(date +%y%m%d)
RECORDS="$HOME/.local/share/TRELVIX"
wait_lines "$RECORDS/${DAY}01.pss" 1
check "its records go to the per-user folder" test -s "$RECORDS/${DAY}00.TXT"
check "nothing is written beside the installed program" test -z "$(ls /usr/bin | grep -E '\.(pss|inc|cls|TXT)$')"
click $STOP_X $STOP_Y; box_answer ok; box_answer ok
wait_lines "$RECORDS/${DAY}01.cls" 4
# The installed program exports that race with no display at all.
exports() { env -u DISPLAY /usr/bin/trelvix --export "${DAY}01" --to "$WORK/export" >"$WORK/export.log" 2>&1; }
check "the installed program exports a race with no display" exports
check "the export holds the results page" test -s "$WORK/export/${DAY}01.html"

[ "$failures" -eq 0 ] && echo "package: all checks passed"
[ "$failures" -eq 0 ]
