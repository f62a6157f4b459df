#!/usr/bin/env bash
# Builds the program alone (no tests, no benchmarks) in build-run/ and starts it. Without a
# display the program runs offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh build-run -DORVALIS_BUILD_TESTS=OFF -DORVALIS_BUILD_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting offscreen (drive it with: build-run/src/orvalis --sim ...)" >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec build-run/src/orvalis "$@"
