#!/bin/bash
# hopchain.sh up|down PREFIX N
# A host PREFIX0, routers PREFIX1..PREFIXN and a host PREFIX(N+1), each in a network
# namespace of its own, joined in a line: link i joins PREFIXi (10.66.i.1) and
# PREFIX(i+1) (10.66.i.2). The far host is N+1 hops from the first one. Only the first
# namespace lets everyone open ICMP datagram sockets.
set -e
cmd=$1; P=$2; N=${3:-12}; L=$((N+1))
if [ "$cmd" = down ]; then
    for i in $(seq 0 $L); do ip netns del "$P$i" 2>/dev/null || true; done
    exit 0
fi
for i in $(seq 0 $L); do
    ip netns add "$P$i"
    ip -n "$P$i" link set lo up
    ip netns exec "$P$i" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv4.icmp_ratelimit=0 \
        net.ipv4.ip_forward=1
done
for i in $(seq 0 $N); do
    ip link add "r$i" netns "$P$i" type veth peer name "l$((i+1))" netns "$P$((i+1))"
    ip -n "$P$i" addr add "10.66.$i.1/30" dev "r$i"
    ip -n "$P$i" link set "r$i" up
    ip -n "$P$((i+1))" addr add "10.66.$i.2/30" dev "l$((i+1))"
    ip -n "$P$((i+1))" link set "l$((i+1))" up
done
ip -n "${P}0" route add default via 10.66.0.2
for i in $(seq 1 $N); do
    # Everything further on goes forward; the first host's link goes back.
    ip -n "$P$i" route add 10.66.0.0/16 via "10.66.$i.2"
    ip -n "$P$i" route add 10.66.0.0/30 via "10.66.$((i-1)).1" 2>/dev/null || true
done
ip -n "$P$L" route add default via "10.66.$N.1"
ip netns exec "${P}0" sysctl -qw net.ipv4.ping_group_range="0 2147483647"
