#!/usr/bin/python3
"""A whole call through the real program and a real NetworkManager 1.42.

NetworkManager runs from unpacked Debian packages inside a network namespace of its own,
on a private system bus, and manages one end of a veth pair (nmv0, 10.64.0.2); the other
end (isp0, 10.64.0.1) sits in a second namespace. A metered ethernet profile with a static
address is activated, `orvalis --backend=auto` (running in the first namespace, on the
same bus) sees it as a call, a known amount of traffic crosses the link, `orvalis
--command hangup` ends the call, and the one line in logfile.log must carry the bytes the
kernel counted on nmv0 while the call was up.

What is asserted:
- while the call is up and the link has gone quiet, the test pushes 10 echoes that are
  answered (10 x 1042 bytes each way) and 4 datagrams nobody answers (4 x 1042 bytes out),
  and nmv0's kernel counters rise by exactly that (rx 10420, tx 14588);
- besides that, the link carries at most 1000 bytes from activation to hang-up: what
  NetworkManager sends itself (three gratuitous ARP announcements, 3 x 42 bytes out, in
  the first four seconds after activation; IPv6 is off and the neighbour entries are fixed);
- the log holds exactly one record, for the profile "Lab uplink", and its bytes lie
  between the pushed traffic and the whole call's counter rise: downloaded is then exactly
  10420, uploaded is 14588 plus those of NetworkManager's announcements that came after
  the program's first reading of the counters (14588 to 14714).
NetworkManager's own Device.Statistics for the quiet part of the call are printed.

ORVALIS_REALNM_KEEP=1 keeps the work folder (logs of NetworkManager, the bus and the
program) in /tmp.

Exit status: 0 pass, 1 fail, 77 skip (not root, no ip/unshare/dbus-daemon, packages not
downloadable, NetworkManager not up in time).
"""

import argparse
import json
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import uuid

SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGES = ['network-manager', 'libndp0', 'libteamdctl0', 'libmm-glib0', 'libbluetooth3', 'ppp']
PROFILE = 'Lab uplink'
NM_IFACE = 'nmv0'
PEER_IFACE = 'isp0'
NM_ADDR, PEER_ADDR, BROADCAST = '10.64.0.2', '10.64.0.1', '10.64.0.3'
NM_MAC, PEER_MAC = '02:00:0a:40:00:02', '02:00:0a:40:00:01'
PAYLOAD = 1000
WIRE = PAYLOAD + 8 + 20 + 14   # ICMP or UDP header, IPv4 header, Ethernet header
ECHOES, DATAGRAMS = 10, 4
NM_BUS = 'org.freedesktop.NetworkManager'
NM_PATH = '/org/freedesktop/NetworkManager'


class Skip(Exception):
    pass


class Fail(Exception):
    pass


def log(text):
    print(text, flush=True)


# ---- helper modes, run inside the namespace -------------------------------------------

def checksum(data):
    if len(data) % 2:
        data += b'\0'
    total = sum(struct.unpack('!%dH' % (len(data) // 2), data))
    while total >> 16:
        total = (total & 0xffff) + (total >> 16)
    return ~total & 0xffff


def push_echoes(count):
    """Sends `count` echo requests, each after the answer to the one before."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
    sock.settimeout(2.0)
    ident = os.getpid() & 0xffff
    for seq in range(count):
        payload = bytes((seq + i) & 0xff for i in range(PAYLOAD))
        header = struct.pack('!BBHHH', 8, 0, 0, ident, seq)
        packet = struct.pack('!BBHHH', 8, 0, checksum(header + payload), ident, seq) + payload
        sock.sendto(packet, (PEER_ADDR, 0))
        deadline = time.monotonic() + 2.0
        while True:
            if time.monotonic() > deadline:
                return 1
            data, _ = sock.recvfrom(4096)
            ihl = (data[0] & 0x0f) * 4
            kind, _, _, rid, rseq = struct.unpack('!BBHHH', data[ihl:ihl + 8])
            if kind == 0 and rid == ident and rseq == seq:
                break
    return 0


def push_datagrams(count):
    """Sends `count` UDP broadcasts out of the link; nothing answers them."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BINDTODEVICE, NM_IFACE.encode())
    for _ in range(count):
        sock.sendto(b'x' * PAYLOAD, (BROADCAST, 9))
    return 0


# ---- the driver ------------------------------------------------------------------------

class Run:
    def __init__(self, orvalis, cache):
        self.orvalis = orvalis
        self.cache = cache
        tag = str(os.getpid())
        self.ns_nm = 'orvnm-a-' + tag
        self.ns_peer = 'orvnm-b-' + tag
        self.namespaces = []
        self.processes = []   # (name, Popen), stopped in reverse order
        self.uuid = str(uuid.uuid4())
        self.work = None
        self.bus = None

    # -- tools

    def sh(self, args, check=True, capture=False, timeout=30):
        result = subprocess.run(args, stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
                                stderr=subprocess.PIPE, timeout=timeout)
        if check and result.returncode != 0:
            raise Fail('%s failed: %s' % (' '.join(args), result.stderr.decode(errors='replace').strip()))
        return result.stdout.decode() if capture else result.returncode

    def ip(self, *args, **kw):
        return self.sh(['ip'] + list(args), **kw)

    def inside(self, ns, args):
        return ['ip', 'netns', 'exec', ns] + args

    def counters(self, ns, iface):
        data = json.loads(self.ip('-n', ns, '-s', '-j', 'link', 'show', iface, capture=True))
        stats = data[0]['stats64']
        return stats['rx']['bytes'], stats['tx']['bytes']

    def start(self, name, args, env=None, output=None):
        out = open(os.path.join(self.work, output), 'wb') if output else subprocess.DEVNULL
        proc = subprocess.Popen(args, env=env, stdout=out, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, start_new_session=True)
        self.processes.append((name, proc))
        return proc

    # -- packages

    def ensure_packages(self):
        binary = os.path.join(self.cache, 'usr/sbin/NetworkManager')
        if os.access(binary, os.X_OK):
            return
        for tool in ('apt-get', 'dpkg-deb'):
            if not shutil.which(tool):
                raise Skip('%s is missing: cannot fetch NetworkManager' % tool)
        parent = os.path.dirname(os.path.abspath(self.cache))
        os.makedirs(parent, exist_ok=True)
        staging = tempfile.mkdtemp(prefix='realnm-root.', dir=parent)
        try:
            debs = os.path.join(staging, 'debs')
            os.mkdir(debs)
            os.chmod(staging, 0o755)
            os.chmod(debs, 0o777)   # apt drops to its own user while fetching
            try:
                result = subprocess.run(['apt-get', 'download', '-q'] + PACKAGES, cwd=debs,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        timeout=300)
            except subprocess.TimeoutExpired:
                raise Skip('downloading the NetworkManager packages took too long')
            if result.returncode != 0:
                raise Skip('cannot download the NetworkManager packages: %s'
                           % result.stderr.decode(errors='replace').strip()[-300:])
            root = os.path.join(staging, 'root')
            for deb in sorted(os.listdir(debs)):
                self.sh(['dpkg-deb', '-x', os.path.join(debs, deb), root], timeout=120)
            if not os.access(os.path.join(root, 'usr/sbin/NetworkManager'), os.X_OK):
                raise Skip('the unpacked packages hold no NetworkManager')
            try:
                os.rename(root, self.cache)
            except OSError:
                if not os.access(binary, os.X_OK):   # not a concurrent run that won
                    raise
        finally:
            shutil.rmtree(staging, ignore_errors=True)

    # -- set-up

    def fill(self, name, target, **values):
        with open(os.path.join(HERE, name)) as f:
            text = f.read()
        for key, value in values.items():
            text = text.replace('@%s@' % key, value)
        path = os.path.join(self.work, target)
        with open(path, 'w') as f:
            f.write(text)
        return path

    def make_namespaces(self):
        for ns in (self.ns_nm, self.ns_peer):
            if self.ip('netns', 'add', ns, check=False) != 0:
                raise Skip('cannot make network namespaces here')
            self.namespaces.append(ns)
            # No IPv6 anywhere: the link carries only what the test and NetworkManager send.
            for key in ('all', 'default'):
                self.sh(self.inside(ns, ['sh', '-c', 'echo 1 > /proc/sys/net/ipv6/conf/%s/disable_ipv6' % key]))
        self.ip('-n', self.ns_nm, 'link', 'add', NM_IFACE, 'address', NM_MAC, 'type', 'veth',
                'peer', 'name', PEER_IFACE, 'address', PEER_MAC, 'netns', self.ns_peer)
        self.ip('-n', self.ns_peer, 'addr', 'add', PEER_ADDR + '/30', 'dev', PEER_IFACE)
        self.ip('-n', self.ns_peer, 'link', 'set', PEER_IFACE, 'up')
        self.ip('-n', self.ns_peer, 'neigh', 'replace', NM_ADDR, 'lladdr', NM_MAC, 'dev', PEER_IFACE,
                'nud', 'permanent')

    def write_config(self):
        self.fill('bus.conf.in', 'bus.conf', SOCKET=os.path.join(self.work, 'system_bus_socket'))
        self.fill('NetworkManager.conf.in', 'NetworkManager.conf', DIR=self.work)
        os.mkdir(os.path.join(self.work, 'conf.d'))
        connections = os.path.join(self.work, 'system-connections')
        os.mkdir(connections, 0o700)
        profile = os.path.join(connections, 'lab-uplink.nmconnection')
        with open(profile, 'w') as f:
            f.write('[connection]\nid=%s\nuuid=%s\ntype=ethernet\ninterface-name=%s\n'
                    'autoconnect=false\nmetered=1\n\n[ethernet]\ncloned-mac-address=preserve\n\n'
                    '[ipv4]\nmethod=manual\naddress1=%s/30\nnever-default=true\ndad-timeout=0\n\n'
                    '[ipv6]\nmethod=disabled\n' % (PROFILE, self.uuid, NM_IFACE, NM_ADDR))
        os.chmod(profile, 0o600)
        self.fill('run-real-nm.sh.in', 'run-real-nm.sh', ROOT=os.path.abspath(self.cache), DIR=self.work)

    def start_bus(self):
        import dbus
        socket_path = os.path.join(self.work, 'system_bus_socket')
        self.start('dbus-daemon', ['dbus-daemon', '--nofork', '--nopidfile',
                                   '--config-file=' + os.path.join(self.work, 'bus.conf')],
                   output='bus.log')
        self.address = 'unix:path=' + socket_path
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if os.path.exists(socket_path):
                try:
                    self.bus = dbus.bus.BusConnection(self.address)
                    return
                except dbus.DBusException:
                    pass
            time.sleep(0.05)
        raise Skip('the private system bus did not start')

    def prop(self, path, iface, name):
        obj = self.bus.get_object(NM_BUS, path, introspect=False)
        return obj.Get(iface, name, dbus_interface='org.freedesktop.DBus.Properties')

    def start_nm(self, limit):
        self.start('NetworkManager',
                   self.inside(self.ns_nm, ['unshare', '-m', '-u', '--propagation', 'private', 'sh',
                                            os.path.join(self.work, 'run-real-nm.sh')]),
                   output='NetworkManager.log')
        deadline = time.monotonic() + limit
        while time.monotonic() < deadline:
            if self.processes[-1][1].poll() is not None:
                raise Skip('NetworkManager ended at start; see its log:\n' + self.tail('NetworkManager.log'))
            try:
                if self.bus.name_has_owner(NM_BUS):
                    obj = self.bus.get_object(NM_BUS, NM_PATH, introspect=False)
                    device = obj.GetDeviceByIpIface(NM_IFACE, dbus_interface=NM_BUS)
                    state = self.prop(device, NM_BUS + '.Device', 'State')
                    if state == 30:   # disconnected: managed and ready for a profile
                        self.device = device
                        return
            except Exception:
                pass
            time.sleep(0.1)
        raise Skip('NetworkManager did not manage %s within %d s:\n%s'
                   % (NM_IFACE, limit, self.tail('NetworkManager.log')))

    def tail(self, name, lines=25):
        try:
            with open(os.path.join(self.work, name), errors='replace') as f:
                return ''.join(f.readlines()[-lines:])
        except OSError:
            return '(no log)'

    def program_env(self):
        env = {k: v for k, v in os.environ.items() if not k.startswith('DBUS_')}
        home = os.path.join(self.work, 'home')
        runtime = os.path.join(self.work, 'runtime')
        os.makedirs(os.path.join(home, 'config/orvalis'), exist_ok=True)
        os.makedirs(runtime, 0o700, exist_ok=True)
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, 'config'), XDG_RUNTIME_DIR=runtime,
                   QT_QPA_PLATFORM='offscreen', DBUS_SYSTEM_BUS_ADDRESS=self.address)
        return env

    def command(self, env, name):
        result = subprocess.run(self.inside(self.ns_nm, [self.orvalis, '--command', name]), env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=15)
        return result.returncode

    def active_connections(self):
        return list(self.prop(NM_PATH, NM_BUS, 'ActiveConnections'))

    def wait_quiet(self, quiet_for, limit):
        """Waits until nmv0's counters stay still for `quiet_for` seconds; returns them."""
        deadline = time.monotonic() + limit
        last = self.counters(self.ns_nm, NM_IFACE)
        since = time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.2)
            now = self.counters(self.ns_nm, NM_IFACE)
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet_for:
                return now
        raise Fail('the link did not go quiet within %d s' % limit)

    def push(self, mode, count):
        return subprocess.run(self.inside(self.ns_nm, [sys.executable, os.path.abspath(__file__), mode,
                                                       str(count)]), timeout=60).returncode == 0

    # -- the test

    def main(self, nm_limit):
        if os.geteuid() != 0:
            raise Skip('needs root for network namespaces')
        for tool in ('ip', 'unshare', 'dbus-daemon'):
            if not shutil.which(tool):
                raise Skip('%s is missing' % tool)
        try:
            import dbus
        except ImportError:
            raise Skip('python3-dbus is missing')
        if not os.access(self.orvalis, os.X_OK):
            raise Fail('no program at %s' % self.orvalis)
        self.ensure_packages()
        self.work = tempfile.mkdtemp(prefix='orvalis-realnm.')
        os.chmod(self.work, 0o755)
        self.make_namespaces()
        self.write_config()
        self.start_bus()
        began = time.monotonic()
        self.start_nm(nm_limit)
        log('NetworkManager %s manages %s after %.1f s'
            % (self.prop(NM_PATH, NM_BUS, 'Version'), NM_IFACE, time.monotonic() - began))

        env = self.program_env()
        with open(os.path.join(env['XDG_CONFIG_HOME'], 'orvalis/ov.ini'), 'w') as f:
            f.write('[Settings]\nShowSplash=0\nConfirmHangup=0\n')
        program = self.start('orvalis', self.inside(self.ns_nm, [self.orvalis, '--backend=auto']),
                             env=env, output='orvalis.log')
        deadline = time.monotonic() + 20
        while self.command(env, 'show') != 0:
            if program.poll() is not None or time.monotonic() > deadline:
                raise Fail('the program did not come up:\n' + self.tail('orvalis.log'))
            time.sleep(0.2)

        # Activate the metered profile on the veth.
        nm = self.bus.get_object(NM_BUS, NM_PATH, introspect=False)
        settings = self.bus.get_object(NM_BUS, NM_PATH + '/Settings', introspect=False)
        conn = settings.GetConnectionByUuid(self.uuid, dbus_interface=NM_BUS + '.Settings')
        before_call = self.counters(self.ns_nm, NM_IFACE)
        active = nm.ActivateConnection(conn, self.device, dbus.ObjectPath('/'), dbus_interface=NM_BUS)
        deadline = time.monotonic() + 30
        while self.prop(active, NM_BUS + '.Connection.Active', 'State') != 2:
            if time.monotonic() > deadline:
                raise Fail('the profile did not activate:\n' + self.tail('NetworkManager.log'))
            time.sleep(0.1)
        self.ip('-n', self.ns_nm, 'neigh', 'replace', PEER_ADDR, 'lladdr', PEER_MAC, 'dev', NM_IFACE,
                'nud', 'permanent')
        # Device.Statistics only counts while someone asks for a refresh rate.
        dev = self.bus.get_object(NM_BUS, self.device, introspect=False)
        stats_iface = NM_BUS + '.Device.Statistics'
        dev.Set(stats_iface, 'RefreshRateMs', dbus.UInt32(200), signature='ssv',
                dbus_interface='org.freedesktop.DBus.Properties')

        # Let what NetworkManager sends on activation pass; the program reads the counters
        # once a second, so a few quiet seconds give it a reading from before the traffic.
        start = self.wait_quiet(3.0, 30)
        nm_start = (int(self.prop(self.device, stats_iface, 'RxBytes')),
                    int(self.prop(self.device, stats_iface, 'TxBytes')))
        if not self.push('--push-echoes', ECHOES) or not self.push('--push-datagrams', DATAGRAMS):
            raise Fail('the traffic did not get through')
        end = self.wait_quiet(3.0, 30)
        nm_end = (int(self.prop(self.device, stats_iface, 'RxBytes')),
                  int(self.prop(self.device, stats_iface, 'TxBytes')))
        rx, tx = end[0] - start[0], end[1] - start[1]
        log('nmv0 while the call was quiet: rx %d tx %d (Device.Statistics so far: rx %d tx %d)'
            % (rx, tx, nm_end[0] - nm_start[0], nm_end[1] - nm_start[1]))
        pushed = (ECHOES * WIRE, (ECHOES + DATAGRAMS) * WIRE)
        if (rx, tx) != pushed:
            raise Fail('the link carried rx %d tx %d, expected rx %d tx %d' % (rx, tx, *pushed))

        # Hang up from a shell until NetworkManager has ended the call.
        deadline = time.monotonic() + 20
        while True:
            self.command(env, 'hangup')
            if active not in self.active_connections():
                break
            if time.monotonic() > deadline:
                raise Fail('the hang-up did not end the call:\n' + self.tail('orvalis.log'))
            time.sleep(0.5)

        after_call = self.counters(self.ns_nm, NM_IFACE)
        whole = (after_call[0] - before_call[0], after_call[1] - before_call[1])
        own = (whole[0] - pushed[0], whole[1] - pushed[1])
        log('nmv0 from activation to hang-up: rx %d tx %d, of which NetworkManager sent tx %d, '
            'received rx %d' % (*whole, own[1], own[0]))
        if min(own) < 0 or max(own) > 1000:
            raise Fail('unexpected traffic on the link besides the test\'s own')

        logfile = os.path.join(env['XDG_CONFIG_HOME'], 'orvalis/logfile.log')
        deadline = time.monotonic() + 10
        while not (os.path.exists(logfile) and os.path.getsize(logfile) > 0):
            if time.monotonic() > deadline:
                raise Fail('nothing was logged:\n' + self.tail('orvalis.log'))
            time.sleep(0.1)
        with open(logfile, 'rb') as f:
            text = f.read().decode(errors='replace')
        log('logged: ' + text.rstrip('\n'))
        lines = text.split('\n')
        if len(lines) != 2 or lines[1] != '':
            raise Fail('expected exactly one record, got:\n' + text)
        fields = lines[0].split('|')
        if len(fields) != 10 or fields[6] != PROFILE:
            raise Fail('the record does not name the profile: ' + lines[0])
        uploaded, downloaded = int(fields[7]), int(fields[8])
        # Everything pushed while the call was up, plus at most what NetworkManager sent
        # after activation (its address announcements, which may fall before or after the
        # program's first reading of the counters).
        if not (pushed[1] <= uploaded <= whole[1] and pushed[0] <= downloaded <= whole[0]):
            raise Fail('logged uploaded %d downloaded %d; the test pushed %d out and %d in, '
                       'the whole call carried %d out and %d in'
                       % (uploaded, downloaded, pushed[1], pushed[0], whole[1], whole[0]))
        if program.poll() is not None:
            raise Fail('the program ended')
        log('PASS: logged uploaded %d downloaded %d (pushed %d out, %d in)'
            % (uploaded, downloaded, pushed[1], pushed[0]))

    def cleanup(self):
        for name, proc in reversed(self.processes):
            if proc.poll() is None:
                try:
                    os.killpg(proc.pid, signal.SIGTERM)
                    proc.wait(timeout=5)
                except (subprocess.TimeoutExpired, ProcessLookupError):
                    try:
                        os.killpg(proc.pid, signal.SIGKILL)
                        proc.wait(timeout=5)
                    except (subprocess.TimeoutExpired, ProcessLookupError):
                        pass
        for ns in reversed(self.namespaces):
            subprocess.run(['ip', 'netns', 'del', ns], stderr=subprocess.DEVNULL)
        self.namespaces = []
        if self.work and not os.environ.get('ORVALIS_REALNM_KEEP'):
            shutil.rmtree(self.work, ignore_errors=True)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--push-echoes':
        return push_echoes(int(sys.argv[2]))
    if len(sys.argv) == 3 and sys.argv[1] == '--push-datagrams':
        return push_datagrams(int(sys.argv[2]))
    parser = argparse.ArgumentParser()
    parser.add_argument('--orvalis', required=True, help='the program to test')
    parser.add_argument('--cache', required=True, help='folder for the unpacked packages (reused)')
    parser.add_argument('--nm-timeout', type=int, default=30, help='seconds NetworkManager may take')
    args = parser.parse_args()

    run = Run(os.path.abspath(args.orvalis), args.cache)

    def stop(signum, _frame):
        raise SystemExit(128 + signum)
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, stop)
    try:
        run.main(args.nm_timeout)
        return 0
    except Skip as e:
        log('SKIP: %s' % e)
        return SKIP
    except Fail as e:
        log('FAIL: %s' % e)
        if run.work:
            log('--- program output:\n' + run.tail('orvalis.log'))
        return 1
    finally:
        run.cleanup()


if __name__ == '__main__':
    sys.exit(main())
