"""Headless Chromium driven through the DevTools protocol, with Python's standard library only.

The browser talks over a pipe (--remote-debugging-pipe: commands in on fd 3, replies out on fd 4,
each message JSON ended by a NUL byte). Shared by the browser tests in this folder; see harness.py for
the helpers that know the show's page.
"""
import base64
import fcntl
import http.server
import json
import os
import shutil
import struct
import subprocess
import tempfile
import threading
import time
import zlib


class Failure(Exception):
    pass


def move_high(fd):
    high = fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
    os.close(fd)
    return high


def find_chromium():
    for name in ('chromium', 'chromium-browser', 'google-chrome'):
        path = shutil.which(name)
        if path:
            return path
    return None


class Browser:
    def __init__(self, extra_args=()):
        self.profile = tempfile.mkdtemp(prefix='voxa-chromium-')
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        # The child gets these two as fds 3 and 4: first move them out of the way of those numbers.
        to_browser_r, from_browser_w = (move_high(fd) for fd in (to_browser_r, from_browser_w))
        args = ['--headless=new', '--no-sandbox', '--remote-debugging-pipe', '--user-data-dir=' + self.profile,
                '--no-first-run', '--no-default-browser-check',
                '--hide-scrollbars', '--window-size=1024,768'] + list(extra_args) + ['about:blank']
        # The browser reads commands on fd 3 and writes replies on fd 4.
        shell = 'exec "$0" "$@" 3<&%d 4>&%d %d<&- %d>&-' % (to_browser_r, from_browser_w, to_browser_r, from_browser_w)
        self.log = open(os.path.join(self.profile, 'stderr.txt'), 'wb')
        self.proc = subprocess.Popen(['bash', '-c', shell, find_chromium()] + args, pass_fds=(to_browser_r, from_browser_w),
                                     stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.lock = threading.Lock()
        self.next_id = 0
        self.replies = {}
        self.events = []
        self.cond = threading.Condition()
        self.closed = False
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buf = b''
        while True:
            try:
                chunk = os.read(self.from_browser, 1 << 16)
            except OSError:
                chunk = b''
            if not chunk:
                with self.cond:
                    self.closed = True
                    self.cond.notify_all()
                return
            buf += chunk
            while b'\0' in buf:
                raw, buf = buf.split(b'\0', 1)
                msg = json.loads(raw)
                with self.cond:
                    if 'id' in msg:
                        self.replies[msg['id']] = msg
                    else:
                        self.events.append(msg)
                    self.cond.notify_all()

    def send(self, method, params=None, session=None, timeout=30):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
            msg = {'id': ident, 'method': method, 'params': params or {}}
            if session:
                msg['sessionId'] = session
            data = json.dumps(msg).encode() + b'\0'
            while data:
                data = data[os.write(self.to_browser, data):]
        deadline = time.monotonic() + timeout
        with self.cond:
            while ident not in self.replies:
                left = deadline - time.monotonic()
                if self.closed or left <= 0:
                    raise Failure('%s: no reply from the browser%s' % (method, self.ended() if self.closed else ''))
                self.cond.wait(left)
            reply = self.replies.pop(ident)
        if 'error' in reply:
            raise Failure('%s: %s' % (method, reply['error'].get('message')))
        return reply.get('result', {})

    def ended(self):
        """Why the browser ended, from the end of its error output."""
        self.log.flush()
        with open(self.log.name, 'rb') as f:
            return ' (it ended:\n%s)' % f.read()[-1500:].decode(errors='replace')

    def new_page(self, width=1024, height=768, scale=1, before_load=None, network=False):
        target = self.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        session = self.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        return Page(self, session, width, height, scale, before_load, network)

    def close(self):
        try:
            self.send('Browser.close', timeout=5)
        except Failure:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self.to_browser)
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


class Page:
    def __init__(self, browser, session, width, height, scale, before_load, network):
        self.browser = browser
        self.session = session
        self.errors = []
        self.requests = []
        self.seen = 0
        for domain in ('Page', 'Runtime', 'Log') + (('Network',) if network else ()):
            self.send(domain + '.enable')
        self.send('Emulation.setDeviceMetricsOverride',
                  {'width': width, 'height': height, 'deviceScaleFactor': scale, 'mobile': False})
        self.send('Emulation.setFocusEmulationEnabled', {'enabled': True})
        if before_load:
            self.send('Page.addScriptToEvaluateOnNewDocument', {'source': before_load})

    def send(self, method, params=None, timeout=30):
        return self.browser.send(method, params, self.session, timeout)

    def navigate(self, url):
        self.send('Page.navigate', {'url': url})

    def collect(self):
        """Notes the console errors and uncaught exceptions that arrived since the last call."""
        with self.browser.cond:
            events = self.browser.events[self.seen:]
            self.seen = len(self.browser.events)
        for e in events:
            if e.get('sessionId') != self.session:
                continue
            method, params = e['method'], e.get('params', {})
            if method == 'Runtime.exceptionThrown':
                d = params['exceptionDetails']
                self.errors.append('exception: %s' % (d.get('exception', {}).get('description') or d.get('text')))
            elif method == 'Runtime.consoleAPICalled' and params['type'] in ('error', 'assert'):
                self.errors.append('console.%s: %s' % (params['type'], ' '.join(
                    str(a.get('value', a.get('description', ''))) for a in params['args'])))
            elif method == 'Log.entryAdded' and params['entry']['level'] == 'error':
                self.errors.append('log: %s' % params['entry']['text'])
            elif method == 'Network.requestWillBeSent':
                self.requests.append(params['request']['url'])

    def eval(self, expression, timeout=30):
        result = self.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True, 'awaitPromise': True},
                           timeout)
        self.collect()
        if 'exceptionDetails' in result:
            raise Failure('%s: %s' % (expression, result['exceptionDetails'].get('exception', {}).get('description')))
        return result['result'].get('value')

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

    def key(self, key, code, vk, text='', modifiers=0):
        """A key pressed and released, as the keyboard sends it (a user gesture for the page)."""
        params = {'key': key, 'code': code, 'windowsVirtualKeyCode': vk, 'nativeVirtualKeyCode': vk,
                  'modifiers': modifiers}
        self.send('Input.dispatchKeyEvent', dict(params, type='keyDown' if text else 'rawKeyDown', text=text,
                                                 unmodifiedText=text))
        self.send('Input.dispatchKeyEvent', dict(params, type='keyUp'))

    def mouse(self, kind, x, y, button='none', clicks=0):
        self.send('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': button, 'clickCount': clicks})

    def click(self, x, y, clicks=1):
        for n in range(1, clicks + 1):
            self.mouse('mousePressed', x, y, 'left', n)
            self.mouse('mouseReleased', x, y, 'left', n)

    def screenshot(self, x, y, width, height):
        """That part of the page as it is shown, in CSS pixels: (width, height, rows of RGB bytes)."""
        clip = {'x': x, 'y': y, 'width': width, 'height': height, 'scale': 1}
        data = base64.b64decode(self.send('Page.captureScreenshot', {'format': 'png', 'clip': clip})['data'])
        return decode_png(data)


def decode_png(data):
    """8-bit RGB or RGBA PNG (as Chromium writes screenshots) into (width, height, rows of RGB bytes)."""
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


class Server:
    """A static web server for one folder on a free local port, in a thread. With isolate set it
    sends the headers that make the page cross-origin isolated (finer timers for measuring)."""

    def __init__(self, folder, isolate=False):
        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *a, **k):
                super().__init__(*a, directory=folder, **k)

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
