#!/usr/bin/env bash
# Captures the main window under a virtual X server with the simulator connected.
#   scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
# Needs xvfb, x11-apps (xwd) and imagemagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
output=${2:-$PWD/orvalis-window.png}
work=$(mktemp -d)
trap 'kill "$app" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM
mkdir -p "$XDG_CONFIG_HOME/orvalis" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings]\nShowSplash=0\nRedaWindowPosl=20\nRedaWindowPost=20\nRedaWindowPosr=411\nRedaWindowPosb=312\n' \
    >"$XDG_CONFIG_HOME/orvalis/ov.ini"

Xvfb :78 -screen 0 640x400x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:78
sleep 1
dbus-run-session -- "$build/src/orvalis" --backend=sim >/dev/null 2>&1 &
app=$!
sleep 2
"$build/src/orvalis" --sim "rate 5200 1300" >/dev/null
"$build/src/orvalis" --sim "connect Home ISP" >/dev/null
sleep 8
xwd -root -silent >"$work/screen.xwd"
convert "$work/screen.xwd" -crop 431x332+0+0 "$output"
echo "$output"
