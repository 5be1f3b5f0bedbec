"""Headless Firefox (Debian's firefox-esr) through Marionette and WebDriver BiDi (see drivers.py).

The session is opened over Marionette (plain TCP, each message LENGTH:JSON), asking for a BiDi
WebSocket: a session made over BiDi alone leaves document.hasFocus() false, so fullscreen would be
refused. Everything else goes over that WebSocket. Sound needs an audio server (a private PulseAudio).
"""
import base64
import json
import os
import re
import shutil
import socket
import struct
import threading
import urllib.parse

import drivers
from drivers import Failure

PACKAGE = 'firefox-esr'


def missing():
    for program, package in (('firefox-esr', PACKAGE), ('pulseaudio', 'pulseaudio')):
        if not shutil.which(program):
            return package
    return None


class WebSocket:
    """A WebSocket client for text messages (RFC 6455), enough for a browser on this machine."""

    def __init__(self, url):
        u = urllib.parse.urlsplit(url)
        self.sock = socket.create_connection((u.hostname, u.port), 30)
        self.send_lock = threading.Lock()
        # No Origin header: Firefox refuses a WebSocket from an origin it does not know.
        self.sock.sendall(('GET %s HTTP/1.1\r\nHost: %s\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n'
                           'Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n'
                           % (u.path or '/', u.netloc, base64.b64encode(os.urandom(16)).decode())).encode())
        self.buf = b''
        while b'\r\n\r\n' not in self.buf:
            self.buf += self._chunk()
        head, self.buf = self.buf.split(b'\r\n\r\n', 1)
        if b' 101 ' not in head.split(b'\r\n')[0]:
            raise Failure('WebSocket %s refused: %s' % (url, head.decode(errors='replace')))
        self.sock.settimeout(None)

    def _chunk(self):
        data = self.sock.recv(1 << 16)
        if not data:
            raise EOFError
        return data

    def _exact(self, n):
        while len(self.buf) < n:
            self.buf += self._chunk()
        data, self.buf = self.buf[:n], self.buf[n:]
        return data

    def send(self, text, opcode=1):
        data = text.encode() if isinstance(text, str) else text
        n = len(data)
        head = struct.pack('>BB', 0x80 | opcode, 0x80 | (n if n < 126 else 126 if n < 65536 else 127))
        head += struct.pack('>H', n) if 126 <= n < 65536 else struct.pack('>Q', n) if n >= 65536 else b''
        mask = os.urandom(4)
        masked = (int.from_bytes(data, 'big') ^ int.from_bytes((mask * (n // 4 + 1))[:n], 'big')).to_bytes(n, 'big')
        with self.send_lock:
            self.sock.sendall(head + mask + masked)

    def receive(self):
        """The next text message, or None once the connection is closed."""
        message = b''
        try:
            while True:
                b0, b1 = self._exact(2)
                n = b1 & 127
                if n >= 126:
                    n = struct.unpack('>H' if n == 126 else '>Q', self._exact(2 if n == 126 else 8))[0]
                mask = self._exact(4) if b1 & 128 else None
                payload = self._exact(n)
                if mask:
                    payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
                opcode = b0 & 15
                if opcode == 8:
                    return None
                if opcode == 9:
                    self.send(payload, 10)
                elif opcode in (0, 1, 2):
                    message += payload
                    if b0 & 128:
                        return message.decode()
        except (EOFError, OSError):
            return None

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


def remote_value(v):
    """A BiDi serialized value as plain Python data."""
    kind, value = v['type'], v.get('value')
    if kind in ('array', 'set'):
        return [remote_value(x) for x in value or []]
    if kind in ('object', 'map'):
        return {k if isinstance(k, str) else remote_value(k): remote_value(x) for k, x in value or []}
    if kind == 'number' and isinstance(value, str):
        return {'NaN': float('nan'), '-0': -0.0, 'Infinity': float('inf'), '-Infinity': float('-inf')}[value]
    return value if kind in ('string', 'number', 'boolean', 'bigint') else None


class Marionette:
    """Firefox's own remote protocol: used only to open the session and to quit."""

    def __init__(self, port):
        self.sock = socket.create_connection(('127.0.0.1', port), 30)
        self.buf = b''
        self.next_id = 0
        self.read()  # the hello

    def read(self):
        while b':' not in self.buf:
            self.buf += self.sock.recv(1 << 16)
        length, self.buf = self.buf.split(b':', 1)
        while len(self.buf) < int(length):
            chunk = self.sock.recv(1 << 16)
            if not chunk:
                raise Failure('Marionette closed the connection')
            self.buf += chunk
        data, self.buf = self.buf[:int(length)], self.buf[int(length):]
        return json.loads(data)

    def send(self, command, params):
        self.next_id += 1
        data = json.dumps([0, self.next_id, command, params]).encode()
        self.sock.sendall(b'%d:%s' % (len(data), data))
        _, _, error, result = self.read()
        if error:
            raise Failure('%s: %s' % (command, error))
        return result


class Browser(drivers.Connection):
    def __init__(self, dpr=None, touch=False):
        super().__init__()
        self.procs = drivers.Processes('voxa-firefox-')
        try:
            self.start(dpr, touch)
        except BaseException:
            self.procs.close()
            raise

    def start(self, dpr, touch):
        profile = os.path.join(self.procs.folder, 'profile')
        os.mkdir(profile)
        prefs = {'marionette.port': 0, 'dom.w3c_touch_events.enabled': 1}
        if dpr:
            prefs['layout.css.devPixelsPerPx'] = str(dpr)
        if touch:
            # The pointers the page's media queries see: a coarse one only (1), as on a phone.
            prefs['ui.primaryPointerCapabilities'] = prefs['ui.allPointerCapabilities'] = 1
        with open(os.path.join(profile, 'user.js'), 'w') as f:
            f.writelines('user_pref(%s, %s);\n' % (json.dumps(k), json.dumps(v)) for k, v in prefs.items())
        env = dict(os.environ, MOZ_CRASHREPORTER_DISABLE='1')
        drivers.pulse_audio(self.procs, env)
        proc = self.procs.start(['firefox-esr', '--headless', '--no-remote', '--profile', profile,
                                 '--remote-debugging-port', '0', '--marionette', 'about:blank'], 'firefox', env=env)
        self.procs.wait_log('firefox', proc, ['WebDriver BiDi listening on', 'Marionette\tINFO\tListening on port'])
        port = int(re.search(r'Listening on port (\d+)', self.procs.log('firefox')).group(1))
        self.marionette = Marionette(port)
        url = self.marionette.send('WebDriver:NewSession', {'webSocketUrl': True})['capabilities']['webSocketUrl']
        self.ws = WebSocket(url)
        threading.Thread(target=self._read, daemon=True).start()
        self.send('session.subscribe', {'events': ['log.entryAdded']})
        self.blank = self.send('browsingContext.getTree')['contexts'][0]['context']

    def _read(self):
        while True:
            text = self.ws.receive()
            self.got(None if text is None else json.loads(text))
            if text is None:
                return

    def put(self, message):
        self.ws.send(json.dumps(message))

    def ended(self):
        return self.procs.log('firefox')[-1500:]

    def send(self, method, params=None, timeout=30):
        reply = self.call({'method': method, 'params': params or {}}, timeout)
        if reply.get('type') == 'error':
            raise Failure('%s: %s: %s' % (method, reply.get('error'), reply.get('message')))
        return reply.get('result', {})

    def new_page(self, width=1024, height=768, before_load=None):
        """The first page is the tab the browser opened with; the others are new tabs."""
        context, self.blank = self.blank, None
        if not context:
            context = self.send('browsingContext.create', {'type': 'tab'})['context']
        return Page(self, context, width, height, before_load)

    def close(self):
        try:
            self.marionette.send('Marionette:Quit', {})
        except (Failure, OSError, AttributeError):
            pass
        if hasattr(self, 'ws'):
            self.ws.close()
        self.procs.close()


class Page(drivers.Actions, drivers.Page):
    def __init__(self, browser, context, width, height, before_load):
        self.browser = browser
        self.context = context
        self.other = None
        self.resize(width, height)
        if before_load:
            self.send('script.addPreloadScript', {'functionDeclaration': '() => {\n%s\n}' % before_load,
                                                  'contexts': [context]})

    def send(self, method, params=None, timeout=30):
        return self.browser.send(method, dict(params or {}, context=self.context), timeout)

    def resize(self, width, height):
        self.send('browsingContext.setViewport', {'viewport': {'width': width, 'height': height}})

    def load(self, url):
        self.send('browsingContext.navigate', {'url': url, 'wait': 'complete'}, 60)

    def errors(self):
        """The log's errors in this page so far: console.error and uncaught exceptions."""
        with self.browser.cond:
            entries = [e['params'] for e in self.browser.events if e['method'] == 'log.entryAdded']
        return ['%s: %s' % (p['type'], p.get('text')) for p in entries
                if p['source'].get('context') == self.context and p['level'] == 'error']

    def eval(self, expression, timeout=30):
        result = self.browser.send('script.evaluate', {'expression': expression, 'target': {'context': self.context},
                                                       'awaitPromise': True, 'resultOwnership': 'none'}, timeout)
        if result['type'] == 'exception':
            details = result['exceptionDetails']
            raise Failure('%s: %s' % (expression, details.get('text') or remote_value(details['exception'])))
        return remote_value(result['result'])

    def actions(self, *sources):
        self.send('input.performActions', {'actions': list(sources)})
        self.send('input.releaseActions')

    def screenshot(self, x, y, width, height):
        clip = {'type': 'box', 'x': x, 'y': y, 'width': width, 'height': height}
        data = self.send('browsingContext.captureScreenshot', {'clip': clip})['data']
        return drivers.screenshot_part(data, (width, height), 0, 0, width, height)

    def to_back(self):
        self.other = self.browser.send('browsingContext.create', {'type': 'tab'})['context']
        self.browser.send('browsingContext.activate', {'context': self.other})

    def to_front(self):
        self.send('browsingContext.activate')
        self.browser.send('browsingContext.close', {'context': self.other})

    def close(self):
        self.send('browsingContext.close')
