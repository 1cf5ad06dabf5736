#!/usr/bin/env bash
# Builds the Debian package trelvix_<version>_amd64.deb into the build folder.
#   tools/package.sh [BUILD_DIR]     (default: build-release, the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
BUILD=${1:-build-release}
if [ "$BUILD" = build-release ]; then
  # Debian's hardening for a program that runs a network server: stack
  # protector, FORTIFY_SOURCE, relro and BIND_NOW (PIE is gcc's default).
  # CMake reads no CPPFLAGS, so they go in front of the C++ flags.
  eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
  cmake --preset release -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
else
  # An existing build is packaged as it is (with the flags it was built
  # with), installed under /usr.
  cmake -S . -B "$BUILD" -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$BUILD" --target trelvix trelvix_cues trelvix_docs
(cd "$BUILD" && cpack -G DEB >/dev/null)
ls "$BUILD"/trelvix_*_amd64.deb
