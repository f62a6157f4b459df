#!/usr/bin/env bash
# Measures how often the program wakes, how much CPU it takes and how much memory it holds,
# offscreen unless said otherwise, in five runs:
#   1. simulator backend, no connection (also prints VmRSS and VmHWM of the idle program);
#   2. simulator backend, one simulated connection (with SECONDS of 58 or more the run holds
#      the upgrade and mail checks a minute into the call, and the threads they start);
#   3. simulator backend, the schedule ticker running: first with nothing scheduled, then
#      with a scheduled dial counting down (the schedule window stays behind its password
#      prompt, so its own refresh is not counted; the prompt alone is measured first, as its
#      blinking cursor wakes the program too);
#   4. simulator backend on a display (Xvfb with a notification area), one connection: with
#      the window hidden in the tray, then shown;
#   5. NetworkManager backend, first with no connection, then during a call, with the byte
#      counters read from the kernel: a private system bus with the NetworkManager mock of
#      the tests (tests/dialer/nm_dialup.py, python3-dbusmock), the program in a network
#      namespace of its own whose veth end carries the call, the peer namespace sending it
#      a few small UDP datagrams a second (python3; the kernel's counters of the veth end are
#      read before and after, and the run says whether they moved), and the call activated
#      in the mock. Needs root, ip, dbus-daemon and python3-dbusmock; skipped with a note
#      otherwise.
# The program and the floors share a private session bus (when dbus-daemon is there), so the
# program's bus service runs as on a desktop.
# A wake-up is a voluntary context switch of a thread of the program (from
# /proc/PID/task/TID/status, sampled every second and counted per thread id: a thread that
# starts during a run counts from 0, one that ends counts up to its last sample);
# preemptions (involuntary switches) are printed apart, as they follow the load of the
# machine rather than the program.
#
# Every figure is printed beside a floor measured in the same seconds: a minimal Qt tray
# program with a 1 s timer (bench/floor_tray.cpp, orvalis-floor-tray of a build with
# -DORVALIS_BUILD_BENCH=ON), and the same program without its timer.
#
#   bench/idle_wakeups.sh [BUILD_DIR] [SECONDS]
#     BUILD_DIR  the build folder holding src/orvalis (default: build)
#     SECONDS    length of each measured run (default: 40; the whole run then takes about
#                3 minutes)
#   ORVALIS_BENCH_NM=0 leaves out the NetworkManager run, ORVALIS_BENCH_X=0 the Xvfb one.
#   ORVALIS_BENCH_PLAN=1 sets a data plan (1000 GB from the 15th, warnings at 80 and 100 %),
#   so the tooltip's usage line and the plan's checks run every second of a call.
#   ORVALIS_BENCH_FLOOR=PATH takes the floor program from elsewhere (default:
#   BUILD_DIR/bench/orvalis-floor-tray); without one the floor is left out.
#
# Example: compare a release build against another one, the floor of the first for both
#   bench/idle_wakeups.sh build 60
#   ORVALIS_BENCH_FLOOR=build/bench/orvalis-floor-tray bench/idle_wakeups.sh /other/build 60
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-40}
program=$build/src/orvalis
floor_program=${ORVALIS_BENCH_FLOOR:-$build/bench/orvalis-floor-tray}
hz=$(getconf CLK_TCK)
[[ -x $program ]] || { echo "no program at $program" >&2; exit 1; }

work=$(mktemp -d)
pid=
helpers=()
floors=()
netns_prog=ovbench-prog-$$
netns_peer=ovbench-peer-$$
# Ends a process the script started and waits for it (at most 10 s).
stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    wait "$1" 2>/dev/null || true
}
cleanup() {
    [[ -n $pid ]] && stop "$pid"
    for helper in "${floors[@]}" "${helpers[@]}"; do stop "$helper"; done
    ip netns del "$netns_prog" 2>/dev/null
    ip netns del "$netns_peer" 2>/dev/null
    rm -rf "$work"
    return 0
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen

# A fresh home with settings that skip the splash window.
fresh_home() {
    export HOME=$work/$1 XDG_CONFIG_HOME=$work/$1/config XDG_RUNTIME_DIR=$work/$1
    mkdir -p "$XDG_CONFIG_HOME/orvalis"
    printf '[Settings]\nShowSplash=0\n' >"$XDG_CONFIG_HOME/orvalis/ov.ini"
    if [[ ${ORVALIS_BENCH_PLAN:-0} == 1 ]]; then
        printf '[DataPlan]\nAllowance=1000\nCycleStartDay=15\n' >>"$XDG_CONFIG_HOME/orvalis/ov.ini"
    fi
}

# A private session bus, as on a desktop: the program publishes its bus service there.
if command -v dbus-daemon >/dev/null; then
    dbus-daemon --session --nofork --address="unix:path=$work/session_bus" \
        --print-address=1 >"$work/session.address" 2>/dev/null &
    helpers+=($!)
    for _ in $(seq 100); do [[ -s $work/session.address ]] && break; sleep 0.1; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/session.address")
else
    echo "no dbus-daemon: the runs are without a session bus"
fi

# The floors, started once and measured in every run beside the program.
if [[ -x $floor_program ]]; then
    (fresh_home floor1 && exec "$floor_program" 1000) >/dev/null 2>&1 &
    floors+=($!)
    (fresh_home floor0 && exec "$floor_program" 0) >/dev/null 2>&1 &
    floors+=($!)
    sleep 2
else
    echo "no floor program at $floor_program: figures without their floor"
fi

# One sample of every thread of process $2, as lines "LABEL TID VOLUNTARY INVOLUNTARY NAME".
# A voluntary switch is the thread going to sleep, so it counts one wake-up; an involuntary
# one is the thread being preempted, which depends on how busy the machine is.
sample() {
    awk -v label="$1" '/^Name:/ { name = $2 } /^Pid:/ { tid = $2 }
         /^voluntary_ctxt_switches/ { v = $2 }
         /^nonvoluntary_ctxt_switches/ { print label, tid, v, $2, name }' \
        /proc/"$2"/task/*/status 2>/dev/null || true
}
# CPU ticks of the whole process, ended threads included.
ticks() { awk '{ print $14 + $15 }' /proc/"$1"/stat 2>/dev/null || echo 0; }
memory() { awk '/^Vm(RSS|HWM)/ { printf "%s %.1f MB  ", $1, $2 / 1024 }' /proc/"$pid"/status; }

# Samples the program (label p) and the floors (f1: 1 s timer, f0: none) every second for
# SECONDS; prints one line for the program with the floors beside it.
measure() {
    local label=$1 samples=$work/samples i w
    local -A t0=() t1=()
    local -a watched=("p $pid")
    [[ ${#floors[@]} == 2 ]] && watched+=("f1 ${floors[0]}" "f0 ${floors[1]}")
    : >"$samples"
    for w in "${watched[@]}"; do set -- $w; t0[$1]=$(ticks "$2"); sample "$1" "$2" | sed 's/^/0 /' >>"$samples"; done
    for ((i = 1; i <= seconds; i++)); do
        sleep 1
        for w in "${watched[@]}"; do set -- $w; sample "$1" "$2" | sed "s/^/$i /" >>"$samples"; done
    done
    for w in "${watched[@]}"; do set -- $w; t1[$1]=$(ticks "$2"); done
    # Per thread id: the last sample less the first one; a thread first seen after the first
    # sample started in the run and counts from 0.
    awk -v secs="$seconds" -v hz="$hz" -v what="$label" \
        -v cp="$((t1[p] - t0[p]))" -v cf1="$((${t1[f1]:-0} - ${t0[f1]:-0}))" \
        -v cf0="$((${t1[f0]:-0} - ${t0[f0]:-0}))" -v floors="${#floors[@]}" '
        { key = $2 " " $3
          if (!(key in firstv)) { firstv[key] = ($1 == 0 ? $4 : 0); firstn[key] = ($1 == 0 ? $5 : 0)
                                  if ($1 > 0) started[$2]++ }
          lastv[key] = $4; lastn[key] = $5; name[key] = $6; seen[key] = $1 }
        END {
          for (key in lastv) {
              split(key, k, " "); v = lastv[key] - firstv[key]; n = lastn[key] - firstn[key]
              tv[k[1]] += v; tn[k[1]] += n; byname[k[1] " " name[key]] += v
              if (seen[key] < secs) ended[k[1]]++
          }
          for (kn in byname) { split(kn, k, " ")
              if (k[1] == "p" && byname[kn] > 0) per = per sprintf(" %s %.2f", k[2], byname[kn] / secs) }
          printf "%-24s %6.2f wake-ups/s (%s )  %5.2f preempted/s  %6.3f %% of a core", what,
                 tv["p"] / secs, per, tn["p"] / secs, 100 * cp / hz / secs
          if (started["p"] + ended["p"] > 0)
              printf "  [threads: %d started, %d ended]", started["p"], ended["p"]
          if (floors == 2)
              printf "\n%-24s %6.2f wake-ups/s, %6.3f %% (floor: Qt tray, 1 s timer); %.2f/s, %.3f %% (no timer)",
                     "", tv["f1"] / secs, 100 * cf1 / hz / secs, tv["f0"] / secs, 100 * cf0 / hz / secs
          printf "\n" }' "$samples"
}

# --- Simulator backend ---------------------------------------------------------------
fresh_home sim
"$program" --backend=sim >/dev/null 2>&1 &
pid=$!
sleep 3
measure "sim, no connection"
echo "idle memory:            $(memory)"
"$program" --sim "connect Home ISP" >/dev/null
sleep 2
measure "sim, one connection"
"$program" --sim drop >/dev/null
stop "$pid"; pid=

# --- Simulator backend, a scheduled dial counting down -------------------------------
# "timer" starts the schedule ticker and opens the schedule window; with the lock set to
# ask for configuration windows, the window waits behind the password prompt, which keeps
# no timers of its own. The countdown is then written into the settings file as another
# program would (replace the file), and the ticker takes it over at its next tick.
fresh_home schedule
printf '[Security]\nEnabled=1\nWhenConfigured=1\nPassword=bench\n' >>"$XDG_CONFIG_HOME/orvalis/ov.ini"
"$program" --backend=sim >/dev/null 2>&1 &
pid=$!
sleep 3
# The prompt alone first (the preferences ask for it too): its cursor blinks twice a second.
"$program" --command preferences >/dev/null
sleep 2
measure "sim, password prompt"
"$program" --command timer >/dev/null
sleep 2
measure "sim, ticker, stopped"
ini=$XDG_CONFIG_HOME/orvalis/ov.ini
# The program wrote DialSecsToDial=0 at its start; DAtTime is missing, so it counts down.
sed 's/^DialSecsToDial=.*/DialSecsToDial=100000/' "$ini" >"$ini.bench"
mv "$ini.bench" "$ini"
sleep 2
measure "sim, ticker, countdown"
grep -q '^DialTimerStatus=Time remaining' "$ini" ||
    echo "  (the countdown did not start: $(grep -i '^DialTimerStatus=' "$ini" || echo no status))"
stop "$pid"; pid=

# --- On a display: Xvfb with a notification area ---------------------------------------
# The simulator's call once more on a real X server (Xvfb) with a status-notifier watcher on
# the session bus (the mock of the tests, tests/app/sni_watcher.py), so the tray icon
# registers as on a desktop: first with the window hidden in the tray, then shown. The
# floors stay offscreen. Needs Xvfb and python3-dbusmock; ORVALIS_BENCH_X=0 leaves it out.
missing=
[[ ${ORVALIS_BENCH_X:-1} == 0 ]] && missing="left out (ORVALIS_BENCH_X=0)"
[[ -z $missing ]] && ! command -v Xvfb >/dev/null && missing="Xvfb is missing"
[[ -z $missing && -z ${DBUS_SESSION_BUS_ADDRESS:-} ]] && missing="no session bus"
[[ -z $missing ]] && ! /usr/bin/python3 -c 'import dbusmock' 2>/dev/null && missing="python3-dbusmock is missing"
if [[ -n $missing ]]; then
    echo "Xvfb run: $missing"
else
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
    helpers+=($!)
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    /usr/bin/python3 -m dbusmock --session -t "$root/tests/app/sni_watcher.py" >/dev/null 2>&1 &
    helpers+=($!)
    sleep 2
    fresh_home x
    printf 'HideOnStart=0\n' >>"$XDG_CONFIG_HOME/orvalis/ov.ini"
    DISPLAY=:$(head -n1 "$work/display") QT_QPA_PLATFORM=xcb "$program" --backend=sim >/dev/null 2>&1 &
    pid=$!
    sleep 3
    "$program" --sim "connect Home ISP" >/dev/null
    "$program" --command hide >/dev/null
    sleep 2
    measure "xvfb, call, in the tray"
    "$program" --command show >/dev/null
    sleep 2
    measure "xvfb, call, window shown"
    stop "$pid"; pid=
fi

# --- NetworkManager backend, kernel counters ------------------------------------------
missing=
[[ ${ORVALIS_BENCH_NM:-1} == 0 ]] && missing="left out (ORVALIS_BENCH_NM=0)"
[[ -z $missing && $(id -u) != 0 ]] && missing="needs root for the network namespaces"
[[ -z $missing ]] && ! command -v dbus-daemon >/dev/null && missing="dbus-daemon is missing"
[[ -z $missing ]] && ! /usr/bin/python3 -c 'import dbusmock' 2>/dev/null && missing="python3-dbusmock is missing"
if [[ -n $missing ]]; then
    echo "NetworkManager run: $missing"
    exit 0
fi

fresh_home nm
# The program's namespace holds one end of a veth pair, "ovb0", which carries the call.
ip netns add "$netns_prog"
ip netns add "$netns_peer"
ip -n "$netns_prog" link add ovb0 type veth peer name ovb1 netns "$netns_peer"
ip -n "$netns_prog" addr add 10.213.77.1/30 dev ovb0
ip -n "$netns_peer" addr add 10.213.77.2/30 dev ovb1
ip -n "$netns_prog" link set ovb0 up
ip -n "$netns_prog" link set lo up
ip -n "$netns_peer" link set ovb1 up

# The private system bus (a path socket: reachable from every network namespace).
sed "s|@SOCKET@|$work/system_bus_socket|" >"$work/bus.conf" <<'EOF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=@SOCKET@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
EOF
dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=1 >"$work/bus.address" 2>/dev/null &
helpers+=($!)
for _ in $(seq 100); do [[ -s $work/bus.address ]] && break; sleep 0.1; done
export DBUS_SYSTEM_BUS_ADDRESS=$(head -n1 "$work/bus.address")
/usr/bin/python3 -m dbusmock --system -t "$root/tests/dialer/nm_dialup.py" >/dev/null &
helpers+=($!)

# Talks to the mock: "setup IFACE" adds a modem carried by IFACE and a mobile broadband
# profile (prints its path); "activate PATH" dials it.
nm_mock() {
    /usr/bin/python3 - "$@" <<'EOF'
import sys, time, uuid
import dbus
bus = dbus.SystemBus()
for _ in range(150):
    if bus.name_has_owner('org.freedesktop.NetworkManager'):
        break
    time.sleep(0.1)
nm = bus.get_object('org.freedesktop.NetworkManager', '/org/freedesktop/NetworkManager')
if sys.argv[1] == 'setup':
    nm.AddModemDevice('modem0', sys.argv[2], dbus.UInt32(30), dbus_interface='org.freedesktop.DBus.Mock')
    settings = bus.get_object('org.freedesktop.NetworkManager', '/org/freedesktop/NetworkManager/Settings')
    print(settings.AddConnection({'connection': {'id': 'Home ISP', 'uuid': str(uuid.uuid4()), 'type': 'gsm',
                                                 'autoconnect': False}},
                                 dbus_interface='org.freedesktop.NetworkManager.Settings'))
else:
    nm.ActivateConnection(dbus.ObjectPath(sys.argv[2]), dbus.ObjectPath('/'), dbus.ObjectPath('/'),
                          dbus_interface='org.freedesktop.NetworkManager')
EOF
}
profile=$(nm_mock setup ovb0)

# Five datagrams of 200 bytes a second from the peer to the program's end (a closed port:
# nothing in the program wakes for them; the kernel counts them and answers a few with
# "port unreachable", so both counters move).
ip netns exec "$netns_peer" /usr/bin/python3 -c '
import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
while True:
    s.sendto(b"x" * 200, ("10.213.77.1", 9))
    time.sleep(0.2)
' >/dev/null 2>&1 &
helpers+=($!)
counters() {
    ip netns exec "$netns_prog" cat /sys/class/net/ovb0/statistics/rx_bytes \
        /sys/class/net/ovb0/statistics/tx_bytes | paste -sd' '
}
ip netns exec "$netns_prog" "$program" --backend=nm >/dev/null 2>&1 &
pid=$!
sleep 3
measure "nm, no connection"
nm_mock activate "$profile"
sleep 3
read -r rx0 tx0 <<<"$(counters)"
measure "nm, call, kernel bytes"
read -r rx1 tx1 <<<"$(counters)"
if ((rx1 > rx0 && tx1 > tx0)); then
    echo "  traffic: ovb0 received $((rx1 - rx0)) and sent $((tx1 - tx0)) bytes in the call's run"
else
    echo "  traffic: ovb0's counters did not move (received $((rx1 - rx0)), sent $((tx1 - tx0)) bytes)"
fi
