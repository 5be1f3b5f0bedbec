"""The browsers that the page's tests drive, behind one interface; Python's standard library only.

An engine's module (cdp.py: Chromium through the DevTools protocol; bidi.py: Firefox through
Marionette and WebDriver BiDi; webdriver.py: WebKitGTK through W3C WebDriver, under Xvfb) has
  PACKAGE, missing()     its Debian package; what is missing to run it (a package name), or None
  Browser(dpr=None, touch=False)   a fresh browser with its own profile, at that device pixel
                           ratio; with touch, on a phone's screen: touch only (a coarse pointer, no hover)
    .new_page(width, height, before_load=None) -> Page   a tab with a viewport of that size in CSS
                           pixels, before_load run before the page's own scripts at each load
    .close()               ends the browser and every process it started
  Page, a subclass of the Page below:
    .navigate(url)         loads url and waits for the load; fails unless the page is then visible
    .eval(expression)      its value as JSON data, promises awaited
    .wait(expression)      until the expression is true
    .key(key, code, modifiers)  a key pressed and released (KeyboardEvent key and code; SHIFT, CTRL
                           pressed as keys of their own before it, as a keyboard sends them)
    .move(x, y), .click(x, y, clicks), .tap(x, y, taps)   the mouse and a finger, in CSS pixels
    .resize(width, height) the viewport turned or resized, in CSS pixels
    .screenshot(x, y, width, height) -> (width, height, rows of RGB bytes)   as shown, CSS pixels
    .errors()              console errors and uncaught exceptions so far
    .requests()            the URLs the page loaded
    .hide(), .unhide()     another tab in front of the page, then the page in front again
    .close()
  and Page's flags for what the engine cannot do (console, preload, touch), which the tests read.
"""
import base64
import http.server
import importlib
import io
import os
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import threading
import time
import zlib

ENGINES = {'chromium': 'cdp', 'firefox': 'bidi', 'webkit': 'webdriver'}
SHIFT, CTRL = 8, 2   # modifiers as the DevTools protocol numbers them

# Caught console errors, uncaught exceptions and rejections, for a driver that gets no console
# messages: each one is noted in window.__voxaErrors (installed once per document).
LOGGER = r"""(() => {
  if (window.__voxaErrors) return;
  const errors = window.__voxaErrors = [];
  const text = (v) => (v instanceof Error ? v.stack || String(v) : String(v));
  const error = console.error.bind(console);
  console.error = (...args) => { errors.push('console.error: ' + args.map(text).join(' ')); error(...args); };
  addEventListener('error', (e) => errors.push('exception: ' + (e.error ? text(e.error) : e.message)));
  addEventListener('unhandledrejection', (e) => errors.push('unhandled rejection: ' + text(e.reason)));
})();"""


class Failure(Exception):
    pass


def engine(name):
    """The module of an engine by its name in ENGINES."""
    return importlib.import_module(ENGINES[name])


class Page:
    console = True   # console messages reach the driver from the start of loading; else LOGGER, after it
    preload = True   # a script runs before the page's own (before_load); else the server inserts it
    touch = True     # a tap reaches the page as a touch pointer; else as the mouse

    def requests(self):
        """What the page's resource timing lists: the document and what it fetched (not data: URLs).
        Chromium's driver sees every request itself; Firefox's sees none of a page opened from disk."""
        return self.eval("[location.href].concat(performance.getEntriesByType('resource').map((e) => e.name))")

    def navigate(self, url):
        self.load(url)
        state = self.eval('document.visibilityState')
        if state != 'visible':
            raise Failure('the page is not visible after loading (document.visibilityState %r): its '
                          'animation frames would not run' % state)

    def hide(self):
        self.to_back()
        self.wait("document.visibilityState === 'hidden'", 10, 'the page to be hidden behind another tab')

    def unhide(self):
        self.to_front()
        self.wait("document.visibilityState === 'visible'", 10, 'the page to be shown again')

    def wait(self, expression, timeout=30, what=None):
        deadline = time.monotonic() + timeout
        while True:
            # The page may not be there yet: an error counts as not yet.
            value = self.eval('(() => { try { return (%s); } catch (e) { return false; } })()' % expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise Failure('timed out after %d s waiting for %s' % (timeout, what or expression))
            time.sleep(0.05)


class Connection:
    """Commands and their replies, matched by id, and events, over an engine's link to its browser:
    the engine writes a message with put(message) and hands each one that arrives to got(message),
    None once the link is closed; ended() says why."""

    def __init__(self):
        self.next_id = 0
        self.replies = {}
        self.events = []
        self.cond = threading.Condition()
        self.closed = False

    def got(self, message):
        with self.cond:
            if message is None:
                self.closed = True
            elif 'id' in message:
                self.replies[message['id']] = message
            else:
                self.events.append(message)
            self.cond.notify_all()

    def call(self, message, timeout):
        """The reply to message (a dict with its method), sent with a fresh id."""
        with self.cond:
            self.next_id += 1
            ident = self.next_id
            self.put(dict(message, id=ident))
            deadline = time.monotonic() + timeout
            while ident not in self.replies:
                left = deadline - time.monotonic()
                if self.closed or left <= 0:
                    raise Failure('%s: no reply from the browser%s' % (
                        message['method'], ' (it ended:\n%s)' % self.ended() if self.closed else ''))
                self.cond.wait(left)
            return self.replies.pop(ident)


class Actions:
    """Keys, the mouse and a finger as W3C WebDriver actions, for a Page whose engine performs them
    with actions(*sources). WebDriver derives the code from the key (an upper-case letter is the same
    key as its lower case); named keys have codes of their own."""
    SPECIAL = {'Escape': '\uE00C', SHIFT: '\uE008', CTRL: '\uE009'}

    def key(self, key, code, modifiers=0):
        mods = [self.SPECIAL[m] for m in (SHIFT, CTRL) if modifiers & m]
        key = self.SPECIAL.get(key, key)
        presses = [{'type': 'keyDown', 'value': k} for k in mods + [key]]
        releases = [{'type': 'keyUp', 'value': k} for k in [key] + mods[::-1]]
        self.actions({'type': 'key', 'id': 'keyboard', 'actions': presses + releases})

    def pointer(self, kind, x, y, clicks=0):
        steps = [{'type': 'pointerMove', 'x': int(x), 'y': int(y), 'origin': 'viewport'}]
        steps += [{'type': t, 'button': 0} for _ in range(clicks) for t in ('pointerDown', 'pointerUp')]
        self.actions({'type': 'pointer', 'id': kind, 'parameters': {'pointerType': kind}, 'actions': steps})

    def move(self, x, y):
        self.pointer('mouse', x, y)

    def click(self, x, y, clicks=1):
        self.pointer('mouse', x, y, clicks)

    def tap(self, x, y, taps=1):
        self.pointer('touch', x, y, taps)


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class Processes:
    """Programs started for one browser, each in its own process group so that ending it ends every
    process it started (a browser leaves a dozen behind otherwise), and a scratch folder."""

    def __init__(self, prefix):
        self.folder = tempfile.mkdtemp(prefix=prefix)
        self.started = []
        self.logs = []

    def start(self, args, name, env=None, **kw):
        log = open(os.path.join(self.folder, name + '.log'), 'wb')
        self.logs.append(log)
        proc = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=log, stderr=log, env=env,
                                start_new_session=True, **kw)
        self.started.append(proc)
        return proc

    def log(self, name):
        with open(os.path.join(self.folder, name + '.log'), 'rb') as f:
            return f.read().decode(errors='replace')

    def wait_log(self, name, proc, texts, timeout=60):
        """Waits until the program's output holds every one of texts."""
        deadline = time.monotonic() + timeout
        while not all(t in self.log(name) for t in texts):
            if proc.poll() is not None or time.monotonic() > deadline:
                raise Failure('%s %s; its output:\n%s' % (name, 'ended' if proc.poll() is not None else 'did not start',
                                                          self.log(name)[-1500:]))
            time.sleep(0.05)

    def close(self, grace=5):
        """The programs in the reverse order: each group asked to end, then killed."""
        for proc in reversed(self.started):
            for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5)):
                try:
                    os.killpg(proc.pid, sig)
                except ProcessLookupError:
                    pass
                try:
                    proc.wait(timeout=wait)
                    break
                except subprocess.TimeoutExpired:
                    pass
            try:
                os.killpg(proc.pid, signal.SIGKILL)  # what the leader left behind
            except ProcessLookupError:
                pass
        for log in self.logs:
            log.close()
        shutil.rmtree(self.folder, ignore_errors=True)


def pulse_audio(procs, env):
    """A private PulseAudio server with a null sink for the browser in env: without an audio server
    Firefox and WebKit leave an AudioContext suspended for ever."""
    home = os.path.join(procs.folder, 'pulse')
    os.makedirs(home, mode=0o700)
    socket_path = os.path.join(home, 'socket')
    pulse_env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home, XDG_CONFIG_HOME=home)
    proc = procs.start(['pulseaudio', '-n', '--daemonize=no', '--exit-idle-time=-1', '--use-pid-file=no',
                        '-L', 'module-native-protocol-unix socket=%s auth-anonymous=1' % socket_path,
                        '-L', 'module-null-sink'], 'pulseaudio', env=pulse_env)
    deadline = time.monotonic() + 20
    while not os.path.exists(socket_path):
        if proc.poll() is not None or time.monotonic() > deadline:
            raise Failure('pulseaudio did not start:\n%s' % procs.log('pulseaudio')[-1500:])
        time.sleep(0.05)
    env['PULSE_SERVER'] = 'unix:' + socket_path


def decode_png(data):
    """8-bit RGB or RGBA PNG (as the browsers write screenshots) into (width, height, rows of RGB bytes)."""
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise Failure('not a PNG')
    at, idat, width, height, channels = 8, b'', 0, 0, 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise Failure('unexpected PNG format (depth %d, colour type %d)' % (depth, colour))
            channels = 3 if colour == 2 else 4
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        rows.append(bytes(line) if channels == 3 else bytes(v for i, v in enumerate(line) if i % 4 != 3))
    return width, height, rows


def screenshot_part(data, size, x, y, width, height):
    """Part of a base64 PNG screenshot that shows `size` CSS pixels, as (width, height, rows of RGB
    bytes): one image pixel a CSS pixel (a device pixel ratio of 1)."""
    shot_width, shot_height, rows = decode_png(base64.b64decode(data))
    if (shot_width, shot_height) != tuple(size):
        raise Failure('a screenshot of %d x %d pixels for %d x %d CSS pixels: screenshots need a device pixel '
                      'ratio of 1' % ((shot_width, shot_height) + tuple(size)))
    return width, height, [row[3 * x:3 * (x + width)] for row in rows[y:y + height]]


class Server:
    """A static web server for one folder on a free local port, in a thread. With isolate set it
    sends the headers that make the page cross-origin isolated (finer timers for measuring); with
    early set it inserts that script into each HTML page it sends, before the page's own scripts
    (for a browser whose driver cannot run one before the page's)."""

    def __init__(self, folder, isolate=False, early=None):
        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *a, **k):
                super().__init__(*a, directory=folder, **k)

            def send_head(self):
                path = self.translate_path(self.path)
                if not early or not path.endswith('.html') or not os.path.isfile(path):
                    return super().send_head()
                with open(path, 'rb') as f:
                    body = f.read().replace(b'<head>', b'<head>\n<script>' + early.encode() + b'</script>', 1)
                self.send_response(200)
                self.send_header('Content-Type', 'text/html')
                self.send_header('Content-Length', str(len(body)))
                self.end_headers()
                return io.BytesIO(body)

            def end_headers(self):
                if isolate:
                    self.send_header('Cross-Origin-Opener-Policy', 'same-origin')
                    self.send_header('Cross-Origin-Embedder-Policy', 'require-corp')
                self.send_header('Cache-Control', 'no-store')
                super().end_headers()

            def log_message(self, *a):
                pass

        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.url = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()

