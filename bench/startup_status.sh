#!/usr/bin/env bash
# How long a start takes until the program answers `orvalis --status`, offscreen: the time
# from starting `orvalis --backend=sim` (first instance, a fresh home each round) until a
# second process running `orvalis --status` gets its answer. The second process is started
# again and again until one answers, so the figure includes one start of that client.
#
# The reference is the same loop against a bare listener: a small Python program that
# listens on the program's socket and answers at once (its own start included, as the
# program's is). Rounds alternate between the two; the medians and the best are printed.
#
#   bench/startup_status.sh [BUILD_DIR] [ROUNDS] [OTHER_BUILD_DIR]
#     BUILD_DIR        the build folder holding src/orvalis (default: build)
#     ROUNDS           rounds of each (default: 15)
#     OTHER_BUILD_DIR  another build to compare with, in the same rounds
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-15}
other=${3:-}
program=$build/src/orvalis
[[ -x $program ]] || { echo "no program at $program" >&2; exit 1; }
[[ -z $other || -x $other/src/orvalis ]] || { echo "no program at $other/src/orvalis" >&2; exit 1; }

work=$(mktemp -d)
pid=
cleanup() {
    if [[ -n $pid ]]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
unset DBUS_SESSION_BUS_ADDRESS

# A fresh home with settings that skip the splash window.
fresh_home() {
    rm -rf "$work/home"
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/home/run
    mkdir -p "$XDG_CONFIG_HOME/orvalis" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    printf '[Settings]\nShowSplash=0\n' >"$XDG_CONFIG_HOME/orvalis/ov.ini"
}

now_ns() { date +%s%N; }

# Starts "$@" in the background, asks for the status until it answers; prints the ms. The
# client is the program of BUILD_DIR in every case.
time_to_status() {
    local t0 t1
    t0=$(now_ns)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until "$program" --status >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended early" >&2; exit 1; }
    done
    t1=$(now_ns)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    echo $(((t1 - t0) / 1000000))
}

# The bare listener: answers every line on the program's socket with a status.
cat >"$work/listener.py" <<'EOF'
import os, socket, sys
path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "orvalis.sock")
server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
server.bind(path)
server.listen(8)
while True:
    client, _ = server.accept()
    if client.recv(256):
        client.sendall(b'ok {"state":"idle"}\n')
    client.close()
EOF

program_ms=()
other_ms=()
bare_ms=()
for _ in $(seq "$rounds"); do
    fresh_home
    program_ms+=("$(time_to_status "$program" --backend=sim)")
    if [[ -n $other ]]; then
        fresh_home
        other_ms+=("$(time_to_status "$other/src/orvalis" --backend=sim)")
    fi
    fresh_home
    bare_ms+=("$(time_to_status /usr/bin/python3 -S "$work/listener.py")")
done

stats() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 }
        END { printf "median %4d ms  best %4d ms", v[int((NR + 1) / 2)], v[1] }'
}
echo "start to --status, orvalis offscreen:  $(stats "${program_ms[@]}")  ($rounds rounds)"
[[ -n $other ]] && echo "start to --status, $other:  $(stats "${other_ms[@]}")"
echo "start to --status, bare listener:      $(stats "${bare_ms[@]}")"
