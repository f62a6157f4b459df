#!/usr/bin/env bash
# Measures how often the idle program wakes and how much CPU it takes, with no connection
# and with one (the simulator backend, offscreen).
#   bench/idle_wakeups.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-60}
program=$build/src/orvalis

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME/orvalis"
printf '[Settings]\nShowSplash=0\n' >"$XDG_CONFIG_HOME/orvalis/ov.ini"

# Context switches of every thread, and CPU ticks of the process.
switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
ticks() { awk '{ print $14 + $15 }' /proc/"$pid"/stat; }

"$program" --backend=sim >/dev/null 2>&1 &
pid=$!
sleep 3
hz=$(getconf CLK_TCK)

measure() {
    local s0 t0 s1 t1
    s0=$(switches); t0=$(ticks)
    sleep "$seconds"
    s1=$(switches); t1=$(ticks)
    awk -v s="$((s1 - s0))" -v t="$((t1 - t0))" -v hz="$hz" -v secs="$seconds" -v what="$1" \
        'BEGIN { printf "%-16s %6.2f wake-ups/s   %6.3f %% of a core\n", what, s / secs, 100 * t / hz / secs }'
}

measure "no connection"
"$program" --sim "connect Home ISP" >/dev/null
sleep 2
measure "one connection"
"$program" --sim drop >/dev/null
