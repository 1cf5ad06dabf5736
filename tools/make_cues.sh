#!/usr/bin/env bash
# Makes the default spoken cues beside the program: Spanish and English
# words for the start, cars 1 to 12, a car's finish and the race end.
# A file already there (the user's own recording) is never replaced.
# Needs espeak-ng and sox; without them it says so and makes nothing.
set -euo pipefail
out="${1:?usage: make_cues.sh FOLDER}"
mkdir -p "$out"
if ! command -v espeak-ng >/dev/null || ! command -v sox >/dev/null; then
  echo "make_cues: espeak-ng or sox missing, no default cues made" >&2
  exit 0
fi

es_numbers=(uno dos tres cuatro cinco seis siete ocho nueve diez once doce)
en_numbers=(one two three four five six seven eight nine ten eleven twelve)

say() {  # say VOICE FILE WORDS
  local voice=$1 file=$2 words=$3
  [ -e "$out/$file" ] && return 0
  local tmp
  tmp=$(mktemp --suffix=.wav)
  espeak-ng -v "$voice" -s 165 -w "$tmp" "$words"
  # 22.05 kHz mono 16-bit, trimmed of silence, loud enough for a track side.
  sox "$tmp" -r 22050 -c 1 -b 16 "$out/$file.part.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse norm -1
  mv "$out/$file.part.wav" "$out/$file"
  rm -f "$tmp"
}

for n in $(seq 1 12); do
  say es "$n.wav" "${es_numbers[$((n - 1))]}"
  say en "${n}e.wav" "${en_numbers[$((n - 1))]}"
done
say es sal.wav "salida"
say en sale.wav "start"
say es fin.wav "final"
say en fine.wav "finish"
say es finto.wav "fin de carrera"
say en fintoe.wav "race over"
