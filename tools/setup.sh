#!/usr/bin/env bash
# Installs every Debian package TRELVIX needs to build, test, print and play
# sound. Safe to run again: when everything is present it does nothing.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-serialport-dev libxkbcommon-dev
  # charts of a race and its exports (SVG in the page, tidy to check the HTML,
  # the spreadsheet)
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev tidy libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # real windows in tests and screenshots
  xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick inotify-tools libxtst-dev
  # printing through a virtual PDF printer
  cups printer-driver-cups-pdf poppler-utils
  # audio: a virtual sound device and the default cue recordings
  pulseaudio pulseaudio-utils sox espeak-ng
  # the voice: Qt TextToSpeech (its CMake files need qt6-declarative-dev) over
  # speech-dispatcher with espeak-ng
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng
  # fuzzing, sanitizers and static checks
  clang libclang-rt-14-dev clang-tidy
  # the reference sensor gate: firmware and its simulator
  gcc-avr avr-libc simavr libsimavr-dev libelf-dev make
  # the live results page: its server, QR code, and a real browser to test it
  qt6-httpserver-dev qt6-websockets-dev libqrencode-dev chromium python3-websocket zbar-tools
  # the club meetings' store: SQLite (its C API), and its shell for checks
  libsqlite3-dev sqlite3
  # the Debian package and its checks
  dpkg-dev fakeroot file desktop-file-utils appstream lintian
  # the man page read back as a reader sees it
  man-db groff-base
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
