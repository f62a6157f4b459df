'''dbusmock template for the NetworkManager tests: NetworkManager with modem devices,
staged dial-up activation, an AgentManager that asks the registered secret agent, and
Device.Statistics.

Usage: /usr/bin/python3 -m dbusmock --system -t tests/dialer/nm_dialup.py
Extends the stock 'networkmanager' template of python3-dbusmock (0.28.7).

Mock methods added: AddModemDevice(name, ipIface, state), SetDialOutcome(connPath, reason),
GetLastSecrets(), DropConnection(activePath).
'''
import dbus
import dbus.service
from gi.repository import GLib

import dbusmock
from dbusmock import MOCK_IFACE
from dbusmock.templates import networkmanager as base
# re-export the stock Mock methods (AddEthernetDevice, AddActiveConnection, ...)
from dbusmock.templates.networkmanager import *  # noqa: F401,F403

MANAGER_OBJ = base.MANAGER_OBJ
DEVICE_IFACE = base.DEVICE_IFACE
AC_IFACE = base.ACTIVE_CONNECTION_IFACE
AGENT_MANAGER_OBJ = '/org/freedesktop/NetworkManager/AgentManager'
AGENT_MANAGER_IFACE = 'org.freedesktop.NetworkManager.AgentManager'
SECRET_AGENT_OBJ = '/org/freedesktop/NetworkManager/SecretAgent'
SECRET_AGENT_IFACE = 'org.freedesktop.NetworkManager.SecretAgent'
STEP_MS = 200

# device states
PREPARE, CONFIG, NEED_AUTH, IP_CONFIG, ACTIVATED, DEACTIVATING, FAILED, DISCONNECTED = \
    40, 50, 60, 70, 100, 110, 120, 30


class AgentManager(dbus.service.Object):
    '''Real dbus-python object, because dynamic dbusmock methods get no sender.'''
    methods = {}                        # dbusmock's global _method_lookup hook expects these two
    interface = AGENT_MANAGER_IFACE

    def __init__(self, conn):
        super().__init__(conn, AGENT_MANAGER_OBJ)
        self.agents = {}   # unique bus name -> identifier

    @dbus.service.method(AGENT_MANAGER_IFACE, in_signature='s', sender_keyword='sender')
    def Register(self, identifier, sender=None):
        self.agents[sender] = identifier
        # like real NM: forget the agent when its bus name disappears
        self.connection.watch_name_owner(sender, lambda owner, s=sender: owner or self.agents.pop(s, None))

    @dbus.service.method(AGENT_MANAGER_IFACE, in_signature='su', sender_keyword='sender')
    def RegisterWithCapabilities(self, identifier, _caps, sender=None):
        self.Register(identifier, sender=sender)

    @dbus.service.method(AGENT_MANAGER_IFACE, in_signature='', sender_keyword='sender')
    def Unregister(self, sender=None):
        self.agents.pop(sender, None)


def _set(obj, iface, name, value):
    obj.Set(iface, name, value)   # emits org.freedesktop.DBus.Properties.PropertiesChanged


def _dev_state(dev_path, new, reason):
    dev = dbusmock.get_object(dev_path)
    old = dev.Get(DEVICE_IFACE, 'State')
    _set(dev, DEVICE_IFACE, 'State', dbus.UInt32(new))
    _set(dev, DEVICE_IFACE, 'StateReason', dbus.Struct((dbus.UInt32(new), dbus.UInt32(reason)), signature='uu'))
    dev.EmitSignal(DEVICE_IFACE, 'StateChanged', 'uuu', [dbus.UInt32(new), old, dbus.UInt32(reason)])


def _ac_state(ac_path, new, reason):
    ac = dbusmock.get_object(ac_path)
    _set(ac, AC_IFACE, 'State', dbus.UInt32(new))
    ac.EmitSignal(AC_IFACE, 'StateChanged', 'uu', [dbus.UInt32(new), dbus.UInt32(reason)])


def _remove_ac(nm, ac_path, dev_path):
    acs = [a for a in nm.Get(base.MANAGER_IFACE, 'ActiveConnections') if a != ac_path]
    _set(nm, base.MANAGER_IFACE, 'ActiveConnections', dbus.Array(acs, signature='o'))
    if dev_path != '/':
        _set(dbusmock.get_object(dev_path), DEVICE_IFACE, 'ActiveConnection', dbus.ObjectPath('/'))
    nm.object_manager_emit_removed(ac_path)
    nm.RemoveObject(ac_path)


def activate_connection(nm, conn, dev, _specific):
    '''Staged activation. Outcome per connection: nm.dial_outcome[conn_path] = device reason
    (0 = success, 23 busy, 24 no dial tone, 25 no carrier ...).'''
    existing = nm.Get(base.MANAGER_IFACE, 'ActiveConnections')
    # like real NM, a path is never used twice (the stages of an ended one must not leak)
    ac_path = f'/org/freedesktop/NetworkManager/ActiveConnection/{nm.next_ac}'
    nm.next_ac += 1
    dev = str(dev)
    if dev == '/':
        # like real NM: "/" picks a device; here the first modem, else the first device
        devices = [str(d) for d in nm.Get(base.MANAGER_IFACE, 'Devices')]
        modems = [d for d in devices
                  if int(dbusmock.get_object(d).Get(DEVICE_IFACE, 'DeviceType')) == 8]
        dev = (modems or devices or ['/'])[0]
    cs = dbusmock.get_object(conn).settings['connection']
    nm.AddObject(ac_path, AC_IFACE, {
        'Devices': dbus.Array([dbus.ObjectPath(dev)] if dev != '/' else [], signature='o'),
        'Connection': dbus.ObjectPath(conn), 'SpecificObject': dbus.ObjectPath('/'),
        'Id': dbus.String(cs['id']), 'Uuid': dbus.String(cs['uuid']), 'Type': dbus.String(cs['type']),
        'State': dbus.UInt32(1), 'StateFlags': dbus.UInt32(0), 'Default': False, 'Default6': False,
        'Vpn': False, 'Master': dbus.ObjectPath('/'), 'Ip4Config': dbus.ObjectPath('/')}, [])
    nm.object_manager_emit_added(ac_path)
    _set(nm, base.MANAGER_IFACE, 'ActiveConnections',
         dbus.Array(list(existing) + [dbus.ObjectPath(ac_path)], signature='o'))
    if dev != '/':
        _set(dbusmock.get_object(dev), DEVICE_IFACE, 'ActiveConnection', dbus.ObjectPath(ac_path))
        _dev_state(dev, PREPARE, 0)
    _ac_state(ac_path, 1, 0)               # real NM 1.42 emits ACTIVATING with reason 0 after PREPARE
    conn_obj = dbusmock.get_object(conn)
    settings = conn_obj.settings
    outcome = nm.dial_outcome.get(str(conn), 0)
    steps = [lambda: _dev_state(dev, CONFIG, 0)]

    need_secret = None
    for sname in ('ppp', 'pppoe', 'gsm', 'cdma'):
        if sname in settings and int(settings[sname].get('password-flags', 0)) & 2:
            need_secret = sname

    def finish():
        if ac_path in nm.ended:            # hung up or dropped meanwhile: like real NM, stop
            return
        if outcome == 0:                   # same order/reasons as real NM 1.42 (seen with a veth)
            for st in (IP_CONFIG, 80, 90, ACTIVATED):
                _dev_state(dev, st, 0)
            _ac_state(ac_path, 2, 0)
        else:
            _dev_state(dev, FAILED, outcome)
            _ac_state(ac_path, 4, 3 if outcome != 7 else 9)   # DEVICE_DISCONNECTED / NO_SECRETS
            _dev_state(dev, DISCONNECTED, 0)
            _remove_ac(nm, ac_path, dev)

    def ask_agent():
        if ac_path in nm.ended:
            return
        _dev_state(dev, NEED_AUTH, 0)
        am = nm.agent_manager
        if not am.agents:
            nonlocal outcome
            outcome = 7                    # NO_SECRETS
            GLib.timeout_add(STEP_MS, lambda: finish() and False)
            return
        agent = list(am.agents)[-1]      # newest agent
        proxy = nm.connection.get_object(agent, SECRET_AGENT_OBJ, introspect=False)

        def on_reply(secrets):
            for sname, vals in secrets.items():
                conn_obj.settings.setdefault(sname, {})
                conn_obj.settings[sname]['secrets'] = dict(vals)   # GetSecrets() of Connection returns it
            nm.last_secrets = {str(k): {str(a): str(b) for a, b in v.items()} for k, v in secrets.items()}
            GLib.timeout_add(STEP_MS, lambda: finish() and False)

        def on_error(err):
            nonlocal outcome
            outcome = 7
            nm.last_secrets = {'error': {'name': str(err.get_dbus_name())}}
            GLib.timeout_add(STEP_MS, lambda: finish() and False)

        proxy.GetSecrets(conn_obj.ConnectionGetSettings(conn_obj), dbus.ObjectPath(conn), need_secret,
                         dbus.Array([], signature='s'), dbus.UInt32(5),   # ALLOW_INTERACTION|USER_REQUESTED like real NM
                         dbus_interface=SECRET_AGENT_IFACE, signature='a{sa{sv}}osasu',
                         reply_handler=on_reply, error_handler=on_error, timeout=30)

    steps.append(ask_agent if need_secret else finish)

    def run_next():
        if ac_path in nm.ended:
            return False
        steps.pop(0)()
        return bool(steps)                 # keep timer while steps remain
    GLib.timeout_add(STEP_MS, run_next)
    return dbus.ObjectPath(ac_path)


def deactivate_connection(nm, ac_path):
    if ac_path not in nm.Get(base.MANAGER_IFACE, 'ActiveConnections'):
        raise dbus.exceptions.DBusException('Not active', name='org.freedesktop.NetworkManager.ConnectionNotActive')
    nm.ended.add(str(ac_path))             # an activation under way goes no further
    devs = dbusmock.get_object(ac_path).Get(AC_IFACE, 'Devices')
    dev = str(devs[0]) if devs else '/'
    # real NM 1.42: dev 100->110 (39), AC 3 (0), dev 110->30 (39), AC 4 (3 = DEVICE_DISCONNECTED)
    if dev != '/':
        _dev_state(dev, DEACTIVATING, 39)  # USER_REQUESTED
    _ac_state(ac_path, 3, 0)

    def done():
        if dev != '/':
            _dev_state(dev, DISCONNECTED, 39)
        _ac_state(ac_path, 4, 3)
        _remove_ac(nm, ac_path, dev)
        return False
    GLib.timeout_add(STEP_MS, done)


@dbus.service.method(MOCK_IFACE, in_signature='ssu', out_signature='s')
def AddModemDevice(self, device_name, iface_name, state):
    '''Modem device (DeviceType 8, POTS capability) with Device.Statistics.'''
    path = '/org/freedesktop/NetworkManager/Devices/' + device_name
    self.AddObject(path, 'org.freedesktop.NetworkManager.Device.Modem',
                   {'ModemCapabilities': dbus.UInt32(1), 'CurrentCapabilities': dbus.UInt32(1),
                    'DeviceId': 'mock-modem', 'OperatorCode': '', 'Apn': ''}, [])
    dev = dbusmock.get_object(path)
    dev.AddProperties(DEVICE_IFACE, {
        'DeviceType': dbus.UInt32(8), 'State': dbus.UInt32(state),
        'StateReason': dbus.Struct((dbus.UInt32(state), dbus.UInt32(0)), signature='uu'),
        'Interface': 'ttyS0', 'IpInterface': iface_name, 'Driver': 'dbusmock', 'Udi': '/dev/ttyS0',
        'ActiveConnection': dbus.ObjectPath('/'), 'AvailableConnections': dbus.Array([], signature='o'),
        'AutoConnect': False, 'Managed': True, 'Ip4Config': dbus.ObjectPath('/')})
    dev.AddProperties('org.freedesktop.NetworkManager.Device.Statistics', {
        'RefreshRateMs': dbus.UInt32(0), 'TxBytes': dbus.UInt64(0), 'RxBytes': dbus.UInt64(0)})
    self.object_manager_emit_added(path)
    devices = self.Get(base.MANAGER_IFACE, 'Devices')
    devices.append(path)
    self.Set(base.MANAGER_IFACE, 'Devices', devices)
    self.EmitSignal(base.MANAGER_IFACE, 'DeviceAdded', 'o', [path])
    return path


@dbus.service.method(MOCK_IFACE, in_signature='su', out_signature='')
def SetDialOutcome(self, conn_path, reason):
    '''0 = connect; else NM_DEVICE_STATE_REASON_* for the failure (23 busy, 24 no dial tone, 25 no carrier).'''
    self.dial_outcome[conn_path] = int(reason)


@dbus.service.method(MOCK_IFACE, in_signature='o', out_signature='')
def DropConnection(self, ac_path):
    '''The line drops: device 100->30 (40 CARRIER), active connection 4 (3 DEVICE_DISCONNECTED).'''
    self.ended.add(str(ac_path))
    devs = dbusmock.get_object(ac_path).Get(AC_IFACE, 'Devices')
    dev = str(devs[0]) if devs else '/'
    if dev != '/':
        _dev_state(dev, DISCONNECTED, 40)
    _ac_state(ac_path, 4, 3)
    _remove_ac(self, ac_path, dev)


@dbus.service.method(MOCK_IFACE, in_signature='', out_signature='a{sa{ss}}')
def GetLastSecrets(self):
    return self.last_secrets


def load(mock, parameters):
    base.load(mock, parameters)
    nm = dbusmock.get_object(MANAGER_OBJ)
    nm.Set(base.MANAGER_IFACE, 'Version', '1.42.4')
    nm.activate_connection = activate_connection
    nm.deactivate_connection = deactivate_connection
    nm.dial_outcome = {}
    nm.ended = set()                       # active connections hung up or dropped
    nm.next_ac = 0
    nm.last_secrets = {}
    nm.agent_manager = AgentManager(mock.connection)
