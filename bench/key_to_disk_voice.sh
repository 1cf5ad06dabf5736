# Sourced by key_to_disk.sh with "voice": two copies of the program, one
# with its voice off and one reading every pass aloud through a private
# speech-dispatcher on a PulseAudio null sink, take the same keys in turns
# of 20; each key's line on disk is noticed with inotify.
SPD="$XDG_RUNTIME_DIR/speech-dispatcher"
trap '[ -n "${PA:-}" ] && kill $PA 2>/dev/null
      for f in "$SPD"/pid/*.pid; do [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null; done
      [ -n "${OFF_PID:-}" ] && kill -9 $OFF_PID 2>/dev/null; x_stop; rm -rf "$WORK"' EXIT
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false \
  --load="module-null-sink sink_name=nullsink" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" >"$WORK/pa.log" 2>&1 &
PA=$!
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse.sock"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done

# Starts a copy with its own settings file; prints its main window.
start_copy() {  # start_copy FOLDER VOICE_ON X
  mkdir -p "$1/home/.config/TRELVIX"; cp "$BUILD/src/app/trelvix" "$1/"
  printf '[voice]\non=%s\n' "$2" >"$1/home/.config/TRELVIX/TRELVIX.conf"
  # Every text logged, to count what was said.
  mkdir -p "$1/home/.config/speech-dispatcher"
  sed -e 's/^#* *LogLevel .*/LogLevel 5/' /etc/speech-dispatcher/speechd.conf >"$1/home/.config/speech-dispatcher/speechd.conf"
  (cd "$1" && HOME="$1/home" exec ./trelvix) >>"$1/program.log" 2>&1 &
  PROG_PID=$!
  box_answer Return
  # The new main window: the one the other copy does not own.
  local other=${MAIN:-none}
  MAIN=""
  for _ in $(seq 200); do
    MAIN=$(xdotool search --onlyvisible --name 'TRELVIX \(TRELVIX\)' | grep -vx "$other" | head -1) && [ -n "$MAIN" ] && break
    sleep 0.05
  done
  # Side by side, neither window hiding the other.
  xdotool windowmove --sync "$MAIN" "$3" 0
  xdotool windowfocus --sync "$MAIN"
  click 14 379; click 14 399
  click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done
  click $START_X $START_Y
  wait_lines "$1/${DAY}01.cls" 2
}
start_copy "$WORK/off" false 0; OFF_PID=$PROG_PID; OFF_WIN=$MAIN
start_copy "$WORK/on" true 640; ON_WIN=$MAIN
for _ in $(seq 1200); do grep -q '^voice: ' "$WORK/on/program.log" && break; sleep 0.05; done
grep -q '^voice: ready' "$WORK/on/program.log" || { echo "no speech engine"; exit 1; }

"$BUILD/bench/xpress" latency "$PRESSES" 260 F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12 20 \
  "$OFF_WIN:$WORK/off/${DAY}01.pss" "$ON_WIN:$WORK/on/${DAY}01.pss" >"$WORK/figures"
read -r _ n1 med1 p90_1 p99_1 max1 < <(sed -n 1p "$WORK/figures")
read -r _ n2 med2 p90_2 p99_2 max2 < <(sed -n 2p "$WORK/figures")
said=$(grep -c 'Buffer: |[^.]' "$SPD/log/speech-dispatcher.log" 2>/dev/null || true)
printf 'key to disk, %s presses each (microseconds)\n' "$PRESSES"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s\n' "voice off" "$med1" "$p90_1" "$p99_1" "$max1"
printf '  %-26s median %6s  p90 %6s  p99 %6s  max %6s   (%s texts spoken)\n' "voice on" "$med2" "$p90_2" "$p99_2" "$max2" "${said:-0}"
awk -v a="$med2" -v b="$med1" 'BEGIN { printf "  ratio on/off: median %.2f\n", a / b }'
