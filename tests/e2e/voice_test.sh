#!/usr/bin/env bash
# The voice end to end: the real program under a virtual display, its voice
# switched on in its settings file as a club would preset it, a private
# speech-dispatcher that logs every text it is given (LogLevel 5, with
# microsecond times) on a PulseAudio null sink. Twelve passes by key, then
# the stop: the texts that reached speech-dispatcher are checked, that
# sound reached the sink, and how long each pass's text took from its line
# on disk to speech-dispatcher (median under 150 ms), beside the press to
# disk time of the same passes.
# Usage: voice_test.sh PATH/TO/trelvix
set -u
PROGRAM=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
. "$HERE/x_session.sh"
for tool in Xvfb xdotool xdpyinfo pulseaudio pactl parec speech-dispatcher python3 od; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is missing (tools/setup.sh installs it)"; exit 1; }
done
[ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
  { echo "FAIL: speech-dispatcher-espeak-ng is missing (tools/setup.sh installs it)"; exit 1; }
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME/.config/speech-dispatcher" "$HOME/.config/TRELVIX"; chmod 700 "$XDG_RUNTIME_DIR"
SPD="$XDG_RUNTIME_DIR/speech-dispatcher"
cleanup() {
  [ -n "${REC:-}" ] && kill "$REC" 2>/dev/null
  # The autospawned server outlives its client: ended by its own pid file.
  for f in "$SPD"/pid/*.pid; do [ -f "$f" ] && kill "$(cat "$f")" 2>/dev/null; done
  [ -n "${PA:-}" ] && kill "$PA" 2>/dev/null
  x_stop
  [ -n "${E2E_KEEP_LOGS:-}" ] && mkdir -p "$E2E_KEEP_LOGS" && cp -r "$SPD/log" "$RUN/program.log" "$E2E_KEEP_LOGS/" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false \
  --load="module-null-sink sink_name=nullsink sink_properties=device.description=NullSink" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" >"$WORK/pa.log" 2>&1 &
PA=$!
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse.sock" PULSE_LATENCY_MSEC=60
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null 2>&1 || { echo "FAIL: no PulseAudio server:"; cat "$WORK/pa.log"; exit 1; }
pactl set-default-sink nullsink

# speech-dispatcher's own configuration with every text logged, espeak-ng only.
sed -e 's/^#* *LogLevel .*/LogLevel 5/' /etc/speech-dispatcher/speechd.conf >"$HOME/.config/speech-dispatcher/speechd.conf"
printf 'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\nAudioOutputMethod pulse\n' \
  >>"$HOME/.config/speech-dispatcher/speechd.conf"
# The voice on, as a club presets it; everything else as it comes.
printf '[voice]\non=true\n' >"$HOME/.config/TRELVIX/TRELVIX.conf"

x_start
DAY=$(date +%y%m%d)
RUN="$WORK/race"; mkdir -p "$RUN"; cp "$PROGRAM" "$RUN/trelvix"
program_start "$RUN"
for _ in $(seq 1200); do grep -q '^voice: ' "$RUN/program.log" && break; sleep 0.05; done
grep -q '^voice: ready' "$RUN/program.log" || { echo "FAIL: the speech engine did not come up:"; cat "$RUN/program.log"; exit 1; }
click 339 79                                                       # "Común": each pass ends a lap
click $MINLAP_X $MINLAP_Y; for _ in $(seq 10); do key Down; done   # minimum lap 3 s
click $START_X $START_Y
wait_lines "$RUN/${DAY}01.cls" 2
sleep 1   # the start's beep is over before the sink is listened to
parec -d nullsink.monitor --raw --format=s16le --channels=1 --rate=22050 --latency-msec=10 >"$WORK/heard.raw" &
REC=$!

# Cars 1 to 4 in turn, 3.5 s apart: time for each sentence to be read.
python3 - "$RUN/${DAY}01.pss" "$WORK/passes" <<'PY'
import os, subprocess, sys, time
pss, out = sys.argv[1], sys.argv[2]
def lines():
    try:
        with open(pss, "rb") as f:
            return f.read().count(b"\n")
    except FileNotFoundError:
        return 0
records = []
time.sleep(3.5)
for i in range(12):
    car = 1 + i % 4
    before = lines()
    pressed = time.time()
    subprocess.run(["xdotool", "key", "--delay", "0", f"F{car}"], check=True)
    deadline = pressed + 5
    while lines() == before and time.time() < deadline:
        time.sleep(0.0005)
    on_disk = time.time()
    if lines() == before:
        sys.exit(f"not ok - pass {i + 1} of car {car} never reached the disk")
    records.append(f"{car} {pressed:.6f} {on_disk:.6f}")
    time.sleep(max(0.0, pressed + 3.5 - time.time()))
open(out, "w").write("\n".join(records) + "\n")
PY
[ $? -eq 0 ] || exit 1
sleep 2
kill "$REC"; wait "$REC" 2>/dev/null; REC=
click $STOP_X $STOP_Y; box_answer ok; box_answer ok
wait_lines "$RUN/${DAY}01.cls" 5
for _ in $(seq 200); do grep -q 'Buffer: |Clasificación' "$SPD"/log/speech-dispatcher.log && break; sleep 0.05; done

python3 - "$SPD/log/speech-dispatcher.log" "$WORK/passes" "$WORK/heard.raw" <<'PY'
import re, statistics, sys, time
log, passes, heard = sys.argv[1:4]
words = {1: "uno", 2: "dos", 3: "tres", 4: "cuatro"}
said = []  # (epoch seconds, text)
stamp = re.compile(r"^\[(\w+ \w+ +\d+ [\d:]+ \d+) : (\d+)\] speechd: +Buffer: \|(.*)$")
for line in open(log, encoding="utf-8", errors="replace"):
    m = stamp.match(line.rstrip("\n"))
    if m:
        t = time.mktime(time.strptime(m.group(1), "%a %b %d %H:%M:%S %Y")) + int(m.group(2)) / 1e6
        said.append((t, m.group(3)))
texts = [t for _, t in said]
print("texts at speech-dispatcher:")
for t in texts:
    print("   ", t)
ok = True
def check(name, cond):
    global ok
    ok &= bool(cond)
    print(("ok" if cond else "not ok") + " - " + name)
rows = [l.split() for l in open(passes)]
spoken = [(t, s) for t, s in said if "coche" in s.lower() and not s.startswith("Clasificación")]
check("the first pass names the leader with its lap time",
      spoken and re.fullmatch(r"Lidera el coche uno, \w+ coma \w+", spoken[0][1]))
check("each of the twelve passes was read, in order, with its car and lap time",
      len(spoken) == 12 and all(f"coche {words[int(r[0])]}, " in s.lower() for r, (_, s) in zip(rows, spoken)))
check("the finish order was read",
      any(s.startswith("Clasificación. Primero, coche uno. Segundo, coche dos") for _, s in said))
to_disk = [(float(r[2]) - float(r[1])) * 1000 for r in rows]
to_voice = [(t - float(r[2])) * 1000 for r, (t, _) in zip(rows, spoken)]
if to_voice:
    print(f"press to line on disk:      median {statistics.median(to_disk):6.1f} ms, max {max(to_disk):6.1f} ms")
    print(f"line on disk to the speech server: median {statistics.median(to_voice):6.1f} ms, max {max(to_voice):6.1f} ms")
    check("a pass's text reaches speech-dispatcher within 150 ms of its line (median)",
          0 <= statistics.median(to_voice) < 150)
import array
samples = array.array("h", open(heard, "rb").read())
loud = sum(1 for v in samples if abs(v) > 1000)
print(f"loud samples at the sink while the passes were read: {loud}")
check("the speech reached the sound device", loud > 5000)
sys.exit(0 if ok else 1)
PY
