#!/usr/bin/env bash
# Sets the machine up, builds TRELVIX and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target trelvix trelvix_cues
exec build/src/app/trelvix "$@"
