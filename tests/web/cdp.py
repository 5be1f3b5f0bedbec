"""Headless Chromium through the DevTools protocol (see drivers.py).

The browser talks over a pipe (--remote-debugging-pipe: commands in on fd 3, replies out on fd 4,
each message JSON ended by a NUL byte).
"""
import fcntl
import json
import os
import shutil
import threading

import drivers
from drivers import CTRL, SHIFT, Failure

PACKAGE = 'chromium'
# Windows virtual-key codes of the named keys (letters and digits are their upper-case character's).
VK = {'Space': 32, 'Escape': 27}
MODIFIERS = ((SHIFT, 'Shift', 16), (CTRL, 'Control', 17))  # each with its key and virtual-key code


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


def missing():
    return None if find_chromium() else PACKAGE


class Browser(drivers.Connection):
    def __init__(self, dpr=None, touch=False):
        """dpr sets the device pixel ratio as a display would (emulating it instead leaves the
        canvas's device-pixel size unscaled); touch emulates a phone's screen in every page."""
        super().__init__()
        self.dpr = dpr
        self.touch = touch
        self.procs = drivers.Processes('voxa-chromium-')
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        # The child gets these two as fds 3 and 4: first move them out of the way of those numbers.
        to_browser_r, from_browser_w = (move_high(fd) for fd in (to_browser_r, from_browser_w))
        args = ['--headless=new', '--no-sandbox', '--remote-debugging-pipe', '--user-data-dir=' + self.procs.folder,
                '--no-first-run', '--no-default-browser-check', '--hide-scrollbars', '--window-size=1024,768'] + \
            (['--force-device-scale-factor=%s' % dpr] if dpr else []) + ['about:blank']
        # The browser reads commands on fd 3 and writes replies on fd 4.
        shell = 'exec "$0" "$@" 3<&%d 4>&%d %d<&- %d>&-' % (to_browser_r, from_browser_w, to_browser_r, from_browser_w)
        self.procs.start(['bash', '-c', shell, find_chromium()] + args, 'chromium',
                         pass_fds=(to_browser_r, from_browser_w))
        os.close(to_browser_r)
        os.close(from_browser_w)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        buf = b''
        while True:
            try:
                chunk = os.read(self.from_browser, 1 << 16)
            except OSError:
                chunk = b''
            if not chunk:
                self.got(None)
                return
            buf += chunk
            while b'\0' in buf:
                raw, buf = buf.split(b'\0', 1)
                self.got(json.loads(raw))

    def put(self, message):
        data = json.dumps(message).encode() + b'\0'
        while data:
            data = data[os.write(self.to_browser, data):]

    def ended(self):
        return self.procs.log('chromium')[-1500:]

    def send(self, method, params=None, session=None, timeout=30):
        message = {'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        reply = self.call(message, timeout)
        if 'error' in reply:
            raise Failure('%s: %s' % (method, reply['error'].get('message')))
        return reply.get('result', {})

    def new_page(self, width=1024, height=768, before_load=None):
        target = self.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        session = self.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        return Page(self, target, session, width, height, before_load)

    def close(self):
        try:
            self.send('Browser.close', timeout=5)
        except Failure:
            pass
        self.procs.close()
        os.close(self.to_browser)


class Page(drivers.Page):
    def __init__(self, browser, target, session, width, height, before_load):
        self.browser = browser
        self.target = target
        self.session = session
        self.found_errors = []
        self.loaded = []
        self.seen = 0
        self.other = None
        for domain in ('Page', 'Runtime', 'Log', 'Network'):
            self.send(domain + '.enable')
        self.resize(width, height)
        if browser.touch:
            # Before loading, so that the page finds a touch screen (any-pointer: coarse) from the start.
            self.send('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
        self.send('Emulation.setFocusEmulationEnabled', {'enabled': True})
        if before_load:
            self.send('Page.addScriptToEvaluateOnNewDocument', {'source': before_load})

    def send(self, method, params=None, timeout=30):
        return self.browser.send(method, params, self.session, timeout)

    def resize(self, width, height):
        # A device scale factor of 0 keeps the display's (the browser's --force-device-scale-factor).
        self.send('Emulation.setDeviceMetricsOverride', {'width': width, 'height': height,
                                                         'mobile': self.browser.touch,
                                                         'deviceScaleFactor': 0 if self.browser.dpr else 1})

    def load(self, url):
        self.send('Page.navigate', {'url': url})
        self.wait("document.readyState === 'complete' && location.href !== 'about:blank'", 60, 'the page to load')

    def collect(self):
        """Notes the console errors, uncaught exceptions and requests that arrived since the last call."""
        with self.browser.cond:
            events = self.browser.events[self.seen:]
            self.seen = len(self.browser.events)
        for e in events:
            if e.get('sessionId') != self.session:
                continue
            method, params = e['method'], e.get('params', {})
            if method == 'Runtime.exceptionThrown':
                d = params['exceptionDetails']
                self.found_errors.append('exception: %s' % (d.get('exception', {}).get('description') or d.get('text')))
            elif method == 'Runtime.consoleAPICalled' and params['type'] in ('error', 'assert'):
                self.found_errors.append('console.%s: %s' % (params['type'], ' '.join(
                    str(a.get('value', a.get('description', ''))) for a in params['args'])))
            elif method == 'Log.entryAdded' and params['entry']['level'] == 'error':
                self.found_errors.append('log: %s' % params['entry']['text'])
            elif method == 'Network.requestWillBeSent':
                self.loaded.append(params['request']['url'])

    def errors(self):
        self.collect()
        return self.found_errors

    def requests(self):
        self.collect()
        return self.loaded

    def eval(self, expression, timeout=30):
        result = self.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True, 'awaitPromise': True},
                           timeout)
        if 'exceptionDetails' in result:
            raise Failure('%s: %s' % (expression, result['exceptionDetails'].get('exception', {}).get('description')))
        return result['result'].get('value')

    def key(self, key, code, modifiers=0):
        """A key pressed and released, as the keyboard sends it (a user gesture for the page): the
        modifiers first, as keys of their own, as the WebDriver engines press them too."""
        mods = [m for m in MODIFIERS if modifiers & m[0]]
        held = 0
        for bit, name, vk in mods:
            held |= bit
            self.raw_key('rawKeyDown', name, name + 'Left', vk, held)
        vk = VK.get(code) or ord(code[-1])  # KeyA, Digit0
        text = key if len(key) == 1 and not modifiers & CTRL else ''  # none with Ctrl, nor for Escape
        self.raw_key('keyDown' if text else 'rawKeyDown', key, code, vk, modifiers, text)
        self.raw_key('keyUp', key, code, vk, modifiers)
        for bit, name, vk in reversed(mods):
            held &= ~bit
            self.raw_key('keyUp', name, name + 'Left', vk, held)

    def raw_key(self, kind, key, code, vk, modifiers, text=''):
        self.send('Input.dispatchKeyEvent', {'type': kind, 'key': key, 'code': code, 'windowsVirtualKeyCode': vk,
                                             'nativeVirtualKeyCode': vk, 'modifiers': modifiers, 'text': text,
                                             'unmodifiedText': text})

    def mouse(self, kind, x, y, button='none', clicks=0):
        self.send('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': button, 'clickCount': clicks})

    def move(self, x, y):
        self.mouse('mouseMoved', x, y)

    def click(self, x, y, clicks=1):
        for n in range(1, clicks + 1):
            self.mouse('mousePressed', x, y, 'left', n)
            self.mouse('mouseReleased', x, y, 'left', n)

    def tap(self, x, y, taps=1):
        self.send('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 1})
        for _ in range(taps):
            for kind, points in (('touchStart', [{'x': x, 'y': y}]), ('touchEnd', [])):
                self.send('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points})

    def screenshot(self, x, y, width, height):
        clip = {'x': x, 'y': y, 'width': width, 'height': height, 'scale': 1}
        data = self.send('Page.captureScreenshot', {'format': 'png', 'clip': clip})['data']
        return drivers.screenshot_part(data, (width, height), 0, 0, width, height)

    def to_back(self):
        # An emulated focus keeps the page visible (and focused: fullscreen needs it): off meanwhile.
        self.send('Emulation.setFocusEmulationEnabled', {'enabled': False})
        self.other = self.browser.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        self.browser.send('Target.activateTarget', {'targetId': self.other})

    def to_front(self):
        self.browser.send('Target.activateTarget', {'targetId': self.target})
        self.browser.send('Target.closeTarget', {'targetId': self.other})
        self.send('Emulation.setFocusEmulationEnabled', {'enabled': True})

    def close(self):
        self.send('Page.close')
