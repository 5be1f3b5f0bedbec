"""WebKitGTK (Safari's engine; Debian's webkit2gtk-driver) through W3C WebDriver (see drivers.py).

WebKitWebDriver runs the MiniBrowser in a window on a private Xvfb, with a private PulseAudio for
sound. What this engine's driver cannot do, as Page's flags say: no console messages reach it (the
page gets drivers.LOGGER right after each load instead), no script runs before the page's own, and
a touch action arrives as the mouse. A whole device pixel ratio only (GDK_SCALE).
"""
import json
import os
import shutil
import time
import urllib.error
import urllib.request

import drivers
from drivers import Failure

PACKAGE = 'webkit2gtk-driver'
MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
MIN_WIDTH = 447  # the narrowest window MiniBrowser makes


def missing():
    for program, package in (('WebKitWebDriver', PACKAGE), (MINIBROWSER, 'libwebkit2gtk-4.1-0'), ('Xvfb', 'xvfb'),
                             ('pulseaudio', 'pulseaudio')):
        if not shutil.which(program):
            return package
    return None


class Browser:
    def __init__(self, dpr=None, touch=False):
        if touch:
            raise Failure('WebKitWebDriver has no touch screen: a touch action arrives as the mouse')
        if dpr and dpr != int(dpr):
            raise Failure('WebKitGTK takes a whole device pixel ratio only (GDK_SCALE), not %s' % dpr)
        self.dpr = int(dpr or 1)
        self.procs = drivers.Processes('voxa-webkit-')
        self.session = None
        self.blank = None
        try:
            self.start()
        except BaseException:
            self.close()
            raise

    def start(self):
        read, write = os.pipe()
        self.procs.start(['Xvfb', '-displayfd', str(write), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp',
                          '-noreset'], 'xvfb', pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as f:
            display = f.readline().strip()
        if not display:
            raise Failure('Xvfb did not start:\n%s' % self.procs.log('xvfb')[-1500:])
        env = dict(os.environ, DISPLAY=':' + display, GDK_SCALE=str(self.dpr))
        drivers.pulse_audio(self.procs, env)
        port = drivers.free_port()
        self.url = 'http://127.0.0.1:%d' % port
        proc = self.procs.start(['WebKitWebDriver', '--port=%d' % port], 'webkitwebdriver', env=env)
        deadline = time.monotonic() + 30
        while True:
            try:
                self.request('GET', '/status', timeout=5)
                break
            except (OSError, Failure):
                if proc.poll() is not None or time.monotonic() > deadline:
                    raise Failure('WebKitWebDriver did not start:\n%s' % self.procs.log('webkitwebdriver')[-1500:])
                time.sleep(0.1)
        options = {'binary': MINIBROWSER, 'args': ['--automation']}
        self.session = '/session/' + self.request('POST', '/session', {'capabilities': {'alwaysMatch': {
            'webkitgtk:browserOptions': options}}}, 60)['sessionId']
        self.send('POST', '/timeouts', {'script': 600000})  # eval's own timeout applies
        self.blank = self.send('GET', '/window')

    def request(self, method, path, body=None, timeout=30):
        data = json.dumps(body if body is not None else {}).encode() if method == 'POST' else None
        req = urllib.request.Request(self.url + path, data, {'Content-Type': 'application/json'}, method=method)
        try:
            with urllib.request.urlopen(req, timeout=timeout) as reply:
                return json.load(reply)['value']
        except urllib.error.HTTPError as e:
            value = json.load(e)['value']
            raise Failure('%s %s: %s: %s' % (method, path, value.get('error'), value.get('message')))

    def send(self, method, path, body=None, timeout=30):
        return self.request(method, self.session + path, body, timeout)

    def new_page(self, width=1024, height=768, before_load=None):
        """The first page is the window the browser opened with; the others are new ones."""
        if before_load:
            raise Failure('WebKitWebDriver cannot run a script before the page\'s own')
        handle, self.blank = self.blank, None
        if not handle:
            handle = self.send('POST', '/window/new', {'type': 'tab'})['handle']
        return Page(self, handle, width, height)

    def close(self):
        if self.session:
            try:
                self.request('DELETE', self.session, timeout=10)
            except (OSError, Failure):
                pass
        self.procs.close()


class Page(drivers.Actions, drivers.Page):
    console = preload = touch = False

    def __init__(self, browser, handle, width, height):
        if width < MIN_WIDTH:
            raise Failure('MiniBrowser makes no page narrower than %d px, not %d' % (MIN_WIDTH, width))
        self.browser = browser
        self.handle = handle
        self.rect = None
        self.size = width, height
        self.select()
        self.fit()

    def send(self, method, path, body=None, timeout=30):
        return self.browser.send(method, path, body, timeout)

    def select(self):
        self.send('POST', '/window', {'handle': self.handle})

    def fit(self):
        """The window's size for the viewport asked for: the window holds a toolbar above the page."""
        width, height = self.size
        for attempt in range(4):
            inner = self.eval('[innerWidth, innerHeight]')
            if inner == [width, height]:
                return
            if attempt == 3:
                break
            rect = self.send('GET', '/window/rect')
            self.send('POST', '/window/rect', {'width': rect['width'] + width - inner[0],
                                               'height': rect['height'] + height - inner[1]})
            # The page learns of the new size a moment later.
            for _ in range(40):
                if self.eval('[innerWidth, innerHeight]') != inner:
                    break
                time.sleep(0.05)
        raise Failure('a viewport of %s, not %d x %d' % (inner, width, height))

    def resize(self, width, height):
        self.size = width, height
        self.fit()

    def load(self, url):
        self.send('POST', '/url', {'url': url}, 60)
        self.fit()  # as it was, unless the page changed it
        self.eval(drivers.LOGGER)

    def eval(self, expression, timeout=30):
        # The expression as a script in the page's global scope (an indirect eval), promises awaited.
        script = ('const [expression, done] = arguments; new Promise((ok) => ok((0, eval)(expression))).then('
                  '(value) => done({value: value === undefined ? null : value}), '
                  '(e) => done({error: String(e)}));')
        result = self.send('POST', '/execute/async', {'script': script, 'args': [expression]}, timeout)
        if 'error' in result:
            raise Failure('%s: %s' % (expression, result['error']))
        return result['value']

    def errors(self):
        return self.eval('window.__voxaErrors || []')

    def actions(self, *sources):
        self.send('POST', '/actions', {'actions': list(sources)})
        self.send('DELETE', '/actions')

    def screenshot(self, x, y, width, height):
        """The whole viewport, cut to the part asked for."""
        return drivers.screenshot_part(self.send('GET', '/screenshot'), self.size, x, y, width, height)

    def to_back(self):
        """A new tab opens behind the page here, and leaves it visible: the window is minimized instead."""
        self.rect = self.send('GET', '/window/rect')
        self.send('POST', '/window/minimize')

    def to_front(self):
        self.send('POST', '/window/rect', self.rect)

    def close(self):
        self.select()
        self.send('DELETE', '/window')
