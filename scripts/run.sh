#!/usr/bin/env bash
# Builds Orvalis and starts it. Without a display the program runs offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting offscreen (drive it with: build/src/orvalis --sim ...)" >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec build/src/orvalis "$@"
