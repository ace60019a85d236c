"""Two syncthing instances on 127.0.0.1 that keep one folder alike between two directories, as
two computers' sync service would: no discovery, relays, NAT or reporting; the file watcher on,
one second's delay. `pause()` and `resume()` cut and restore the link between them."""
import json
import os
import re
import signal
import socket
import subprocess
import urllib.request
import xml.etree.ElementTree as ET

from desktop import wait_until, _die_with_parent

API_KEY = 'vorn-e2e-sync'
FOLDER_ID = 'pads'


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Instance:
    def __init__(self, home):
        self.home = home
        out = subprocess.run(['syncthing', 'generate', '--home=' + home, '--no-default-folder'],
                             capture_output=True, text=True, check=True)
        self.id = re.search(r'Device ID: (\S+)', out.stdout + out.stderr).group(1)
        self.gui, self.listen = free_port(), free_port()
        self.proc = None

    def configure(self, folder, other):
        path = os.path.join(self.home, 'config.xml')
        tree = ET.parse(path)
        root = tree.getroot()
        gui = root.find('gui')
        gui.find('address').text = '127.0.0.1:%d' % self.gui
        gui.find('apikey').text = API_KEY
        options = root.find('options')
        for name, value in {'listenAddress': 'tcp://127.0.0.1:%d' % self.listen,
                            'globalAnnounceEnabled': 'false', 'localAnnounceEnabled': 'false',
                            'relaysEnabled': 'false', 'natEnabled': 'false', 'urAccepted': '-1',
                            'crashReportingEnabled': 'false', 'startBrowser': 'false',
                            'autoUpgradeIntervalH': '0', 'reconnectionIntervalS': '1'}.items():
            element = options.find(name)
            if element is None:
                element = ET.SubElement(options, name)
            element.text = value
        device = ET.SubElement(root, 'device', id=other.id, name='other', compression='metadata',
                               introducer='false')
        ET.SubElement(device, 'address').text = 'tcp://127.0.0.1:%d' % other.listen
        shared = ET.Element('folder', id=FOLDER_ID, label=FOLDER_ID, path=folder,
                            type='sendreceive', rescanIntervalS='10', fsWatcherEnabled='true',
                            fsWatcherDelayS='1', ignorePerms='true')
        for member in (self.id, other.id):
            ET.SubElement(shared, 'device', id=member)
        # As a user's syncthing has it (left out, the configuration reads as 0: no copies).
        ET.SubElement(shared, 'maxConflicts').text = '10'
        root.insert(0, shared)
        tree.write(path)
        os.makedirs(os.path.join(folder, '.stfolder'), exist_ok=True)

    def start(self):
        env = dict(os.environ, STNOUPGRADE='1', STNORESTART='1')
        self.proc = subprocess.Popen(
            ['syncthing', 'serve', '--home=' + self.home, '--no-browser', '--no-restart',
             '--logfile=' + os.path.join(self.home, 'log.txt')],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=_die_with_parent)

    def rest(self, method, path):
        request = urllib.request.Request('http://127.0.0.1:%d%s' % (self.gui, path), method=method,
                                         headers={'X-API-Key': API_KEY})
        with urllib.request.urlopen(request, timeout=5) as response:
            body = response.read()
            return json.loads(body) if body else None

    def connected(self, other):
        try:
            return self.rest('GET', '/rest/system/connections')['connections'][other.id]['connected']
        except (OSError, KeyError, ValueError):
            return False

    def stop(self):
        if self.proc:
            try:
                os.killpg(self.proc.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            self.proc.wait()


class SyncPair:
    """Keeps the directories `a` and `b` alike."""

    def __init__(self, workdir, a, b):
        self.one = Instance(os.path.join(workdir, 'sync-one'))
        self.two = Instance(os.path.join(workdir, 'sync-two'))
        self.one.configure(a, self.two)
        self.two.configure(b, self.one)
        self.one.start()
        self.two.start()
        wait_until(lambda: self.one.connected(self.two) and self.two.connected(self.one), 60,
                   interval=0.5, what='the two sync instances to connect')

    def pause(self):
        self.one.rest('POST', '/rest/system/pause?device=' + self.two.id)
        wait_until(lambda: not self.two.connected(self.one), 30, interval=0.5,
                   what='the link cut')

    def resume(self):
        self.one.rest('POST', '/rest/system/resume?device=' + self.two.id)
        wait_until(lambda: self.one.connected(self.two), 60, interval=0.5,
                   what='the link back')

    def stop(self):
        self.one.stop()
        self.two.stop()
