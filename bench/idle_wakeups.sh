#!/usr/bin/env bash
# Measures how often the program wakes, how much CPU it takes and how much memory it holds,
# offscreen, in four runs:
#   1. simulator backend, no connection (also prints VmRSS and VmHWM of the idle program);
#   2. simulator backend, one simulated connection;
#   3. simulator backend, the schedule ticker running: first with nothing scheduled, then
#      with a scheduled dial counting down (the schedule window stays behind its password
#      prompt, so its own refresh is not counted; the prompt alone is measured first, as its
#      blinking cursor wakes the program too);
#   4. NetworkManager backend during a call, with the byte counters read from the kernel:
#      a private system bus with the NetworkManager mock of the tests
#      (tests/dialer/nm_dialup.py, python3-dbusmock), the program in a network namespace of
#      its own whose veth end carries the call (the peer namespace pings it, so the counters
#      move), and the call activated in the mock. Needs root, ip, dbus-daemon and
#      python3-dbusmock; skipped with a note otherwise.
# A wake-up is a voluntary context switch of any thread of the program (from
# /proc/PID/task/*/status); preemptions (involuntary switches) are printed apart, as they
# follow the load of the machine rather than the program.
#
#   bench/idle_wakeups.sh [BUILD_DIR] [SECONDS]
#     BUILD_DIR  the build folder holding src/orvalis (default: build)
#     SECONDS    length of each measured run (default: 40; the whole run then takes about
#                2.5 minutes)
#   ORVALIS_BENCH_NM=0 leaves out the NetworkManager run.
#   ORVALIS_BENCH_PLAN=1 sets a data plan (1000 GB from the 15th, warnings at 80 and 100 %),
#   so the tooltip's usage line and the plan's checks run every second of a call.
#
# Example: compare a release build against another one
#   bench/idle_wakeups.sh build 60; bench/idle_wakeups.sh /path/to/other/build 60
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-40}
program=$build/src/orvalis
hz=$(getconf CLK_TCK)
[[ -x $program ]] || { echo "no program at $program" >&2; exit 1; }

work=$(mktemp -d)
pid=
helpers=()
netns_prog=ovbench-prog-$$
netns_peer=ovbench-peer-$$
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    for helper in "${helpers[@]}"; do kill "$helper" 2>/dev/null || true; done
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

# Per thread: "name voluntary involuntary" context switches. A voluntary switch is the
# thread going to sleep, so it counts one wake-up; an involuntary one is the thread being
# preempted, which depends on how busy the machine is and is shown apart.
thread_switches() {
    for status in /proc/"$pid"/task/*/status; do
        awk '/^Name:/ { name = $2 } /^voluntary_ctxt_switches/ { v = $2 }
             /^nonvoluntary_ctxt_switches/ { n = $2 } END { print name, v, n }' \
            "$status" 2>/dev/null || true
    done | awk '{ v[$1] += $2; n[$1] += $3 } END { for (t in v) print t, v[t], n[t] }' | sort
}
ticks() { awk '{ print $14 + $15 }' /proc/"$pid"/stat; }
memory() { awk '/^Vm(RSS|HWM)/ { printf "%s %.1f MB  ", $1, $2 / 1024 }' /proc/"$pid"/status; }

measure() {
    local before after t0 t1
    before=$(thread_switches); t0=$(ticks)
    sleep "$seconds"
    after=$(thread_switches); t1=$(ticks)
    # Wake-ups per second in all and per thread, preemptions, CPU.
    join -a 2 <(echo "$before") <(echo "$after") | awk -v t="$((t1 - t0))" -v hz="$hz" \
        -v secs="$seconds" -v what="$1" '
        { v = (NF == 5 ? $4 - $2 : $2); n = (NF == 5 ? $5 - $3 : $3); tv += v; tn += n
          if (v > 0) per = per sprintf(" %s %.2f", $1, v / secs) }
        END { printf "%-22s %6.2f wake-ups/s (%s )  %5.2f preempted/s  %6.3f %% of a core\n",
              what, tv / secs, per, tn / secs, 100 * t / hz / secs }'
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
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

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
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

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

ip netns exec "$netns_peer" ping -q -i 0.2 10.213.77.1 >/dev/null 2>&1 &
helpers+=($!)
ip netns exec "$netns_prog" "$program" --backend=nm >/dev/null 2>&1 &
pid=$!
sleep 3
measure "nm, no connection"
nm_mock activate "$profile"
sleep 3
measure "nm, call, kernel bytes"
