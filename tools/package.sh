#!/usr/bin/env bash
# Builds the Debian package trelvix_<version>_amd64.deb into the build folder.
#   tools/package.sh [BUILD_DIR]     (default: build-release, the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
BUILD=${1:-build-release}
if [ "$BUILD" = build-release ]; then
  cmake --preset release >/dev/null
else
  # An existing build is packaged as it is, installed under /usr.
  cmake -S . -B "$BUILD" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$BUILD" --target trelvix trelvix_cues trelvix_docs
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$BUILD"/trelvix_*_amd64.deb
