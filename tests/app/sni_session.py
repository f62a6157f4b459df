#!/usr/bin/python3
'''Runs a command inside a small desktop session: an Xvfb display and a private session bus
with a status-notifier watcher (sni_watcher.py), so that tray icons have somewhere to go.

    sni_session.py COMMAND [ARGS...]

Exits with the command's exit code, or 77 when Xvfb or the D-Bus tools are missing.'''
import os
import shutil
import subprocess
import sys
import tempfile

try:
    import dbusmock
except ImportError:
    dbusmock = None

HERE = os.path.dirname(os.path.abspath(__file__))
SKIP = 77


def start_xvfb():
    '''Starts Xvfb on a free display number and returns (process, ":N").'''
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(write_end), '-nolisten', 'tcp',
                             '-screen', '0', '800x600x24'],
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        xvfb.kill()
        xvfb.wait()
        raise RuntimeError('Xvfb did not start')
    return xvfb, ':' + number


def main():
    if dbusmock is None or not shutil.which('Xvfb') or not shutil.which('dbus-daemon'):
        print('Xvfb, dbus-daemon or python3-dbusmock missing: skipped')
        return SKIP
    xvfb, display = start_xvfb()
    watcher = None
    try:
        # Sets DBUS_SESSION_BUS_ADDRESS for this process and its children.
        dbusmock.DBusTestCase.start_session_bus()
        watcher = dbusmock.DBusTestCase.spawn_server_template(
            os.path.join(HERE, 'sni_watcher.py'), {}, subprocess.DEVNULL)[0]
        with tempfile.TemporaryDirectory() as runtime:
            env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM='xcb',
                       XDG_RUNTIME_DIR=runtime)
            return subprocess.run(sys.argv[1:], env=env, timeout=120).returncode
    finally:
        if watcher is not None:
            watcher.terminate()
            watcher.wait()
        dbusmock.DBusTestCase.stop_dbus(dbusmock.DBusTestCase.session_bus_pid)
        xvfb.terminate()
        xvfb.wait()


if __name__ == '__main__':
    sys.exit(main())
