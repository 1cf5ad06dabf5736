#!/usr/bin/env bash
# Sets the machine up, builds everything with warnings as errors and runs
# every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVIX_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --no-tests=error -j2
