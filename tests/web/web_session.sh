# Shared by the results page's end-to-end scripts, beside tests/e2e/x_session.sh
# (source that first): a display and ports nobody else holds, and the
# program started with the page on. Needs WORK set.
PY=/usr/bin/python3

web_tools_or_skip() {  # web_tools_or_skip TOOL...
  local tool
  for tool in Xvfb xdotool xdpyinfo "$@"; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
  done
  $PY -c 'import websocket' 2>/dev/null || { echo "FAIL: python3-websocket is missing (tools/setup.sh installs it)"; exit 1; }
}

# Xvfb picks a display number no other server holds (E2E_DISPLAY=N forces one).
web_display_start() {
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  if [ -n "${E2E_DISPLAY:-}" ]; then
    echo "$E2E_DISPLAY" >"$WORK/display"
    Xvfb ":$E2E_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
  fi
  XVFB_PID=$!
  for _ in $(seq 200); do [ -s "$WORK/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$WORK/display")"
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "FAIL: Xvfb did not start"; exit 1
}

# A port the kernel has just found free on the loopback address.
free_port() { $PY -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# Starts PROGRAM copied into FOLDER with the page on 127.0.0.1:PORT, answers
# its start-up report; MAIN is its main window, PROG_PIDS gains its pid.
web_program_start() {  # web_program_start PROGRAM FOLDER PORT
  mkdir -p "$2"; cp "$1" "$2/trelvix"
  (cd "$2" && exec ./trelvix --web "127.0.0.1:$3") >>"$2/program.log" 2>&1 &
  local pid=$!
  PROG_PIDS="${PROG_PIDS:-} $pid"
  MAIN=""
  box_answer Return
  for _ in $(seq 200); do
    MAIN=$(xdotool search --all --onlyvisible --pid "$pid" --name 'TRELVIX \(TRELVIX\)' 2>/dev/null | head -1)
    [ -n "$MAIN" ] && break
    sleep 0.05
  done
  [ -n "$MAIN" ] || { echo "FAIL: the program's window did not show"; exit 1; }
  xdotool windowfocus --sync "$MAIN"
}

web_stop() {
  local pid
  for pid in ${PROG_PIDS:-}; do kill -9 "$pid" 2>/dev/null; done
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
}
