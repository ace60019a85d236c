"""The desktop an end-to-end test runs on: a private Xvfb display with openbox (frames, close
boxes, focus) and trayer (the notification area), a private print server, and waiting for what
the program does there, longer where the program under test runs emulated."""
import glob
import os
import re
import signal
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The build under test: the x86_64 one by default, the shipped i686 one for its own suite. Its
# folder holds the helpers built for the same processor.
EXE_DIR = os.environ.get('VORN_EXE_DIR') or os.environ.get('VORN_WIN64_DIR') or \
    os.path.join(ROOT, 'build', 'win64')
SHIPPED = os.path.basename(os.path.normpath(EXE_DIR)) == 'win32'
WIN64_DIR = os.environ.get('VORN_WIN64_DIR') or os.path.join(ROOT, 'build', 'win64')


def _emulated():
    """True where 32-bit programs run only through qemu user emulation."""
    try:
        with open('/proc/sys/fs/binfmt_misc/qemu-i386') as f:
            return f.readline().strip() == 'enabled'
    except OSError:
        return False


# Under emulation the shipped exe takes a minute to start: every wait is that much longer.
TIME_SCALE = 10.0 if SHIPPED and _emulated() else 1.0


def _die_with_parent():
    """Run in a child before exec: it gets SIGTERM when the test process goes, however it goes."""
    import ctypes
    ctypes.CDLL('libc.so.6', use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def wait_until(condition, timeout=15.0, interval=0.1, what='condition'):
    end = time.monotonic() + timeout * TIME_SCALE
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise AssertionError('timed out waiting for ' + what)
        time.sleep(interval)


class Desktop:
    """Xvfb + openbox + trayer on a display of its own."""

    def __init__(self, width=1024, height=768):
        self.procs = []
        self.env = dict(os.environ)
        self.number = self._start_x_server(width, height)
        self.display = ':%d' % self.number
        self.env['DISPLAY'] = self.display
        wait_until(lambda: self.x(['xdpyinfo'], check=False).returncode == 0, 10, what='X')
        self._start(['openbox', '--sm-disable'])
        wait_until(lambda: 'window id' in self.x(['xprop', '-root', '_NET_SUPPORTING_WM_CHECK'],
                                                 check=False).stdout, 10, what='openbox')
        # X's default keymap keeps Ctrl+Alt+F1 to F12 for switching consoles; Windows gives
        # them to programs, and the default hotkey is one.
        self.x(['setxkbmap', '-option', 'srvrkeys:none'], check=False)
        self.trayer = self.start_trayer()

    def _start_x_server(self, width, height):
        """Starts Xvfb on a display number it picks itself (no race with tests that start at
        the same moment) and returns the number. Without -noreset the server resets whenever
        its last client leaves, and a client that connects meanwhile (openbox, after the
        first xdpyinfo) is turned away."""
        read, write = os.pipe()
        try:
            self.procs.append(subprocess.Popen(
                ['Xvfb', '-displayfd', str(write), '-screen', '0', '%dx%dx24' % (width, height),
                 '-nolisten', 'tcp', '-noreset', '-dpi', '96'], pass_fds=(write,), stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True, preexec_fn=_die_with_parent))
            os.close(write)
            write = None
            with os.fdopen(read) as f:
                read = None
                number = f.readline().strip()
        finally:
            for fd in (read, write):
                if fd is not None:
                    os.close(fd)
        if not number:
            raise AssertionError('Xvfb did not start')
        return int(number)

    def _start(self, argv):
        p = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True,
                             preexec_fn=_die_with_parent)
        self.procs.append(p)
        return p

    def start_trayer(self):
        p = self._start(['trayer', '--edge', 'bottom', '--align', 'right', '--widthtype', 'pixel',
                         '--width', '200', '--height', '32'])
        wait_until(lambda: self.tray_panel(), 10, what='trayer')
        time.sleep(1.0)  # the panel shows before trayer owns the tray selection
        return p

    def stop_trayer(self):
        self.trayer.terminate()
        self.trayer.wait(5)
        self.procs.remove(self.trayer)

    def x(self, argv, check=True):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check,
                              timeout=30)

    def tree(self):
        # A window that goes away during the walk makes xwininfo fail; walk again.
        for _ in range(10):
            r = self.x(['xwininfo', '-root', '-tree'], check=False)
            if r.returncode == 0:
                return r.stdout
            time.sleep(0.1)
        return self.x(['xwininfo', '-root', '-tree']).stdout

    def tray_panel(self):
        m = re.search(r'^(\s*)0x[0-9a-f]+ "panel": \("panel" "trayer"\)', self.tree(), re.M)
        return bool(m)

    def tray_icons(self):
        """Absolute rectangles of the icons docked in trayer's panel."""
        lines = self.tree().splitlines()
        icons = []
        for i, line in enumerate(lines):
            if '"panel": ("panel" "trayer")' not in line:
                continue
            depth = len(line) - len(line.lstrip())
            for child in lines[i + 1:]:
                d = len(child) - len(child.lstrip())
                if d <= depth and child.strip():
                    break
                m = re.search(r'\s(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', child)
                if m and d > depth and 'explorer.exe' not in child and int(m.group(1)) > 4:
                    w, h, x, y = map(int, m.groups())
                    icons.append((x, y, w, h))
        return icons

    def click(self, x, y, button=1, repeat=1):
        args = ['xdotool', 'mousemove', str(x), str(y), 'click']
        if repeat > 1:
            args += ['--repeat', str(repeat), '--delay', '80']
        self.x(args + [str(button)])

    def key(self, *keys):
        self.x(['xdotool', 'key', '--delay', '40'] + list(keys))

    def type(self, text):
        self.x(['xdotool', 'type', '--delay', '30', text])

    def clipboard(self):
        r = self.x(['xclip', '-o', '-selection', 'clipboard'], check=False)
        return r.stdout if r.returncode == 0 else None

    def offer_clipboard(self, data, target='UTF8_STRING'):
        """Puts data on the X clipboard; an xclip stays to serve it until the desktop stops."""
        p = subprocess.Popen(['xclip', '-quiet', '-i', '-selection', 'clipboard', '-t', target],
                             env=self.env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True,
                             preexec_fn=_die_with_parent)
        p.stdin.write(data if isinstance(data, bytes) else data.encode('utf-8'))
        p.stdin.close()
        self.procs.append(p)
        time.sleep(0.3)

    def screenshot(self, path):
        self.x(['import', '-window', 'root', path])

    def stop(self):
        for p in reversed(self.procs):
            try:
                os.killpg(p.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for p in self.procs:
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
        self.procs.clear()


class PrintServer:
    """A private cupsd whose default printer writes PDF files into `self.out`."""

    def __init__(self, workdir, with_printer=True):
        self.root = os.path.join(workdir, 'cups')
        for d in ('etc', 'spool', 'tmp', 'cache', 'state', 'out'):
            os.makedirs(os.path.join(self.root, d), exist_ok=True)
        os.chmod(workdir, 0o755)
        os.chmod(self.root, 0o755)
        self.socket = os.path.join(self.root, 'cups.sock')
        self.out = os.path.join(self.root, 'out')
        self.queue = 'vornpdf%d' % os.getpid()
        with open(os.path.join(self.root, 'cupsd.conf'), 'w') as f:
            f.write('Listen %s\nLogLevel warn\nWebInterface No\n'
                    '<Location />\n  Order allow,deny\n  Allow all\n</Location>\n'
                    '<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n'
                    '</Policy>\n' % self.socket)
        with open(os.path.join(self.root, 'cups-files.conf'), 'w') as f:
            for key, sub in (('ServerRoot', 'etc'), ('RequestRoot', 'spool'), ('TempDir', 'tmp'),
                             ('CacheDir', 'cache'), ('StateDir', 'state')):
                f.write('%s %s\n' % (key, os.path.join(self.root, sub)))
            f.write('ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n'
                    'DocumentRoot /usr/share/cups/doc-root\n')
            for log in ('ErrorLog', 'AccessLog', 'PageLog'):
                f.write('%s %s\n' % (log, os.path.join(self.root, log.lower())))
        self.env = dict(os.environ, CUPS_SERVER=self.socket)
        self.proc = subprocess.Popen(['cupsd', '-f', '-c', os.path.join(self.root, 'cupsd.conf'),
                                      '-s', os.path.join(self.root, 'cups-files.conf')],
                                     env=self.env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True,
                                     preexec_fn=_die_with_parent)
        wait_until(lambda: os.path.exists(self.socket), 10, what='cupsd')
        self.conf = '/etc/cups/cups-pdf-%s.conf' % self.queue
        if with_printer:
            # cups-pdf reads its settings from a file named after the queue.
            with open(self.conf, 'w') as f:
                f.write('Out %s\nAnonDirName %s\nLabel 0\n' % (self.out, self.out))
            self.lp(['lpadmin', '-p', self.queue, '-E', '-v', 'cups-pdf:/' + self.queue,
                     '-m', 'lsb/usr/cups-pdf/CUPS-PDF_opt.ppd'])
            self.lp(['lpadmin', '-d', self.queue])

    def lp(self, argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=30)

    def idle(self):
        return self.lp(['lpstat', '-o']).stdout.strip() == ''

    def pdfs(self):
        return sorted(glob.glob(os.path.join(self.out, '*.pdf')), key=os.path.getmtime)

    def wait_pdfs(self, count, timeout=30):
        wait_until(lambda: len(self.pdfs()) >= count and self.idle(), timeout, 0.3,
                   what='%d printed document(s)' % count)
        time.sleep(0.5)
        return self.pdfs()

    @staticmethod
    def text(pdf):
        return subprocess.run(['pdftotext', '-layout', pdf, '-'], capture_output=True,
                              text=True, check=True).stdout

    @staticmethod
    def pages(pdf):
        info = subprocess.run(['pdfinfo', pdf], capture_output=True, text=True).stdout
        return int(re.search(r'Pages:\s+(\d+)', info).group(1))

    def stop(self):
        try:
            os.killpg(self.proc.pid, signal.SIGTERM)
            self.proc.wait(10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            pass
        if os.path.exists(self.conf):
            os.remove(self.conf)
