#!/usr/bin/env bash
# Builds the fuzzers of the record readers, the roster import, the gate
# session, race names and the results page's request heads with clang
# (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for a
# fixed time on a seed corpus: files the program itself writes, rosters, a
# gate's lines, requests. Any crash, hang or sanitizer report fails.
# Usage: tools/fuzz.sh [SECONDS_EACH] (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
out=build-fuzz
mkdir -p "$out"
cxx=clang++-14
command -v "$cxx" >/dev/null || cxx=clang++

# The seed corpus, written by the program's own race control and writers.
cmake --build build --target seed_corpus >/dev/null
seeds="$out/seeds"
rm -rf "$seeds" && mkdir -p "$seeds"/{races,passes,classification,events,written}
build/tests/seed_corpus "$seeds/written"
cp "$seeds"/written/*00.TXT "$seeds/races/"
cp "$seeds"/written/*.pss "$seeds/passes/"
cp "$seeds"/written/*.cls "$seeds/classification/"
cp "$seeds"/written/*.inc "$seeds/events/"
# Inputs that once found faults stay in the corpus.
for kind in races passes classification events; do
  if [ -d "tests/fuzz/regressions/$kind" ]; then cp tests/fuzz/regressions/$kind/* "$seeds/$kind/" 2>/dev/null || true; fi
done

# Every source of the record folder: a split file never leaves a fuzzer unlinked.
sources=(src/records/*.cpp src/platform/directory.cpp)
n=0
for kind in races passes classification events; do
  n=$((n + 1))
  bin="$out/fuzz_$kind"
  "$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -DTRELVIX_FUZZ_READER=$n -Isrc tests/fuzz/readers_fuzz.cpp "${sources[@]}" -o "$bin"
  mkdir -p "$out/corpus/$kind"
  echo "fuzzing the $kind reader for ${seconds}s"
  "$bin" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$out/crash-$kind-" "$out/corpus/$kind" "$seeds/$kind" 2>"$out/fuzz_$kind.log" || {
      tail -40 "$out/fuzz_$kind.log"; echo "FAIL: the $kind reader fuzzer found a fault"; exit 1; }
  tail -1 "$out/fuzz_$kind.log"
done

# Corrections: a passes file, a NUL, then events full of correction lines,
# through the events reader and the result function.
mkdir -p "$seeds/corrections" "$out/corpus/corrections"
for pss in "$seeds"/written/*.pss; do
  inc="${pss%.pss}.inc"
  if [ -f "$inc" ]; then
    { cat "$pss"; printf '\0'; cat "$inc"
      printf '1\t3\t--\t9,000\tCORR\t+1 P2: x\r\n2\t3\t--\t9,000\tPEN\t-1 L\r\n3\t3\t--\t9,000\tANUL\t#1\r\n'
    } >"$seeds/corrections/$(basename "$pss")"
  fi
done
if [ -d tests/fuzz/regressions/corrections ]; then cp tests/fuzz/regressions/corrections/* "$seeds/corrections/" 2>/dev/null || true; fi
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
  tests/fuzz/corrections_fuzz.cpp src/results/*.cpp src/records/*.cpp src/platform/directory.cpp -o "$out/fuzz_corrections"
echo "fuzzing the corrections for ${seconds}s"
"$out/fuzz_corrections" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
  -dict=tests/fuzz/corrections.dict -artifact_prefix="$out/crash-corrections-" "$out/corpus/corrections" \
  "$seeds/corrections" 2>"$out/fuzz_corrections.log" || {
    tail -40 "$out/fuzz_corrections.log"; echo "FAIL: the corrections fuzzer found a fault"; exit 1; }
tail -1 "$out/fuzz_corrections.log"

# The roster import of club meetings, from a few rosters of both encodings
# and delimiters; it checks its own rules on the plan as it goes.
mkdir -p "$seeds/roster" "$out/corpus/roster"
cp tests/fuzz/roster_seeds/* "$seeds/roster/"
if [ -d tests/fuzz/regressions/roster ]; then cp tests/fuzz/regressions/roster/* "$seeds/roster/" 2>/dev/null || true; fi
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
  tests/fuzz/roster_fuzz.cpp src/meeting/*.cpp src/results/*.cpp src/records/*.cpp src/platform/directory.cpp -o "$out/fuzz_roster"
echo "fuzzing the roster import for ${seconds}s"
"$out/fuzz_roster" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 -dict=tests/fuzz/roster.dict \
  -artifact_prefix="$out/crash-roster-" "$out/corpus/roster" "$seeds/roster" 2>"$out/fuzz_roster.log" || {
    tail -40 "$out/fuzz_roster.log"; echo "FAIL: the roster import fuzzer found a fault"; exit 1; }
tail -1 "$out/fuzz_roster.log"

# The gate's bytes: what a decoder on a serial port or the network sends.
bin="$out/fuzz_decoder"
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc tests/fuzz/decoder_fuzz.cpp src/decoder/*.cpp -o "$bin"
mkdir -p "$out/corpus/decoder"
echo "fuzzing the gate session for ${seconds}s"
"$bin" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$out/crash-decoder-" "$out/corpus/decoder" tests/fuzz/regressions/decoder 2>"$out/fuzz_decoder.log" || {
    tail -40 "$out/fuzz_decoder.log"; echo "FAIL: the gate session fuzzer found a fault"; exit 1; }
tail -1 "$out/fuzz_decoder.log"
# What a client on the club's network sends the results page.
bin="$out/fuzz_request_head"
# shellcheck disable=SC2046
"$cxx" -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc $(pkg-config --cflags Qt6Core) tests/fuzz/request_head_fuzz.cpp src/web/request_head.cpp \
  $(pkg-config --libs Qt6Core) -o "$bin"
mkdir -p "$out/corpus/request_head"
echo "fuzzing the page's request heads for ${seconds}s"
"$bin" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=20000 -dict=tests/fuzz/http.dict \
  -artifact_prefix="$out/crash-request-head-" "$out/corpus/request_head" tests/fuzz/request_seeds 2>"$out/fuzz_request_head.log" || {
    tail -40 "$out/fuzz_request_head.log"; echo "FAIL: the request head fuzzer found a fault"; exit 1; }
tail -1 "$out/fuzz_request_head.log"
# Race names, as a network client or a file name hands them in.
bin="$out/fuzz_race_id"
"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc tests/fuzz/race_id_fuzz.cpp src/records/*.cpp src/platform/directory.cpp -o "$bin"
mkdir -p "$out/corpus/race_id" "$seeds/race_id"
printf '26120601' >"$seeds/race_id/race"
printf '26120699.pss' >"$seeds/race_id/file"
printf '26120600.TXT' >"$seeds/race_id/races"
echo "fuzzing race names for ${seconds}s"
"$bin" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=64 \
  -artifact_prefix="$out/crash-race-id-" "$out/corpus/race_id" "$seeds/race_id" 2>"$out/fuzz_race_id.log" || {
    tail -40 "$out/fuzz_race_id.log"; echo "FAIL: the race name fuzzer found a fault"; exit 1; }
tail -1 "$out/fuzz_race_id.log"
echo "fuzzing passed"
