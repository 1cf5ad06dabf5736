#!/usr/bin/env bash
# Proves that a generated cue reaches a real audio device: a PulseAudio null
# sink started here, its monitor recorded while the program's sound path
# plays "1.wav" and a beep. Fails where no sound server can be started.

set -u
check_bin="$1"
tools_dir="$2"
work=$(mktemp -d)
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" "$work/cues" "$work/home"
chmod 700 "$XDG_RUNTIME_DIR"
export HOME="$work/home"
cleanup() {
  [ -n "${REC:-}" ] && kill "$REC" 2>/dev/null
  [ -n "${PA:-}" ] && kill "$PA" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null; then
  echo "FAIL: pulseaudio or parec is missing (tools/setup.sh installs them)"; exit 1
fi
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false \
  --load="module-null-sink sink_name=nullsink sink_properties=device.description=NullSink" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" \
  >"$work/pa.log" 2>&1 &
PA=$!
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse.sock" PULSE_LATENCY_MSEC=60
for _ in $(seq 1 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.05
done
if ! pactl info >/dev/null 2>&1; then
  echo "FAIL: no PulseAudio server could be started here:"; cat "$work/pa.log"; exit 1
fi
pactl set-default-sink nullsink

"$tools_dir/make_cues.sh" "$work/cues" || exit 1
[ -s "$work/cues/1.wav" ] || { echo "FAIL: no cue was generated"; exit 1; }

# Plays the cues given through the program's sound path while the sink's
# monitor is recorded, and counts the samples louder than background noise.
play_and_listen() {
  parec -d nullsink.monitor --raw --format=s16le --channels=1 --rate=22050 --latency-msec=10 >"$work/heard.raw" &
  REC=$!
  sleep 0.3
  "$check_bin" "$work/cues" "$@"
  local rc=$?
  sleep 0.3
  kill "$REC" 2>/dev/null; wait "$REC" 2>/dev/null; REC=
  if [ $rc -ne 0 ]; then echo "FAIL: playback check of $* exited $rc"; exit 1; fi
  od -An -v -td2 -w2 "$work/heard.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > 1000) n++ } END { print n + 0 }'
}

loud=$(play_and_listen 1.wav)
echo "1.wav: $loud loud samples"
if [ "$loud" -lt 200 ]; then echo "FAIL: the cue did not reach the device"; exit 1; fi

# A cue file that exists but cannot be played gives the default sound.
head -c 3000 /dev/urandom >"$work/cues/broken.wav"
loud=$(play_and_listen broken.wav)
echo "broken.wav: $loud loud samples"
if [ "$loud" -lt 200 ]; then echo "FAIL: an unplayable cue gave no sound"; exit 1; fi
echo "PASS: cues reach the audio device"
