"""What the browser tests share: the show's page in a browser, its keys and test hooks, and the
native recorder that says what the show presents and plays.

Each test runs as: TEST.py SOURCE_DIR NATIVE_BUILD_DIR [ENGINE], the engine one of chromium (the
default), firefox and webkit (drivers.py). The page and the Node recorder come from
SOURCE_DIR/build-web (made by tools/build-web.sh or the test web.build). A test exits 0 when it
passes, 1 when it fails and 77 (skipped) when the browser or the web build is missing.
"""
import base64
import os
import signal
import subprocess
import sys
import tempfile
import time

import drivers
from drivers import LOGGER, Failure, Server

# Keys as a keyboard sends them: key, code.
KEYS = {' ': (' ', 'Space'), 'esc': ('Escape', 'Escape')}
for _c in 'abcdefghijklmnopqrstuvwxyz':
    KEYS[_c] = (_c, 'Key' + _c.upper())
for _c in '0123456789':
    KEYS[_c] = (_c, 'Digit' + _c)
ENGINE = 'chromium'   # the browser, as setup() found it on the command line


def web_dir(src, native):
    """The web build: the preset's tree, made by tools/build-web.sh or by the test web.build."""
    return os.path.join(src, 'build-web')


def setup():
    """(web build folder, native build folder); exits 77 when the browser or the page is missing."""
    global ENGINE
    if len(sys.argv) not in (3, 4) or sys.argv[3:] and sys.argv[3] not in drivers.ENGINES:
        print('usage: %s SOURCE_DIR NATIVE_BUILD_DIR [%s]' % (sys.argv[0], '|'.join(drivers.ENGINES)))
        sys.exit(2)
    src, native = (os.path.abspath(a) for a in sys.argv[1:3])
    ENGINE = sys.argv[3] if len(sys.argv) == 4 else ENGINE
    web = web_dir(src, native)
    package = drivers.engine(ENGINE).missing()
    if package:
        print('SKIP: %s cannot run here: install the Debian package %s' % (ENGINE, package))
        sys.exit(77)
    if not os.path.exists(os.path.join(web, 'voxa7100.html')):
        print('SKIP: %s/voxa7100.html was not built (bash tools/build-web.sh)' % web)
        sys.exit(77)
    return web, native


def run(test):
    """Runs test(), printing FAIL and exiting 1 on a Failure or AssertionError."""
    start = time.monotonic()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit('FAIL: stopped'))  # the browser ends with the test
    try:
        test()
    except (Failure, AssertionError) as e:
        print('FAIL (%s): %s' % (ENGINE, e))
        sys.exit(1)
    print('PASS in %s (%.0f s)' % (ENGINE, time.monotonic() - start))


def check(condition, message):
    if not condition:
        raise Failure(message)


class Show:
    """The page in a fresh browser of the engine, served over HTTP (or opened from disk with file_url)."""

    def __init__(self, web, width=1024, height=768, dpr=None, file_url=False, before_load=None, isolate=False,
                 touch=False):
        """A width x height viewport in CSS pixels at a device pixel ratio of dpr, as a display has it
        (with touch, a phone's touch screen); before_load runs before the page's own scripts."""
        self.web = web
        self.browser = self.server = None
        driver = drivers.engine(ENGINE).Page
        # Where the driver cannot run a script before the page's, the test server puts it into the
        # page, with the error logger where no console messages reach the driver (a page opened from
        # disk gets the logger after loading, from the driver).
        early = None
        if not driver.preload:
            check(not (file_url and before_load), 'a page opened from disk in %s gets no script before its own' % ENGINE)
            early = ('' if driver.console else LOGGER) + (before_load or '')
        try:
            self.server = None if file_url else Server(web, isolate, early)
            self.browser = drivers.engine(ENGINE).Browser(dpr, touch)
            self.page = self.browser.new_page(width, height, before_load if driver.preload else None)
            self.url = ('file://' + os.path.join(web, 'voxa7100.html')) if file_url else self.server.url + 'voxa7100.html'
            self.page.navigate(self.url)
        except BaseException:
            self.__exit__()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.browser:
            self.browser.close()
        if self.server:
            self.server.close()

    def eval(self, expression, timeout=30):
        return self.page.eval(expression, timeout)

    def wait(self, expression, timeout=60, what=None):
        return self.page.wait(expression, timeout, what)

    def hook(self, name):
        return self.eval('window.voxa.' + name)

    def wait_stage(self, stage, timeout=90):
        self.wait('window.voxa && window.voxa.stage === %r' % stage, timeout, 'the show to reach "%s"' % stage)

    def press(self, name, modifiers=0, upper=False):
        """A key pressed and released; upper sends the letter in upper case (Shift or Caps Lock)."""
        key, code = KEYS[name]
        self.page.key(key.upper() if upper else key, code, modifiers)

    def centre(self, selector):
        """The centre of the element in CSS pixels on the page."""
        return self.eval("(() => { const r = document.querySelector(%r).getBoundingClientRect(); "
                         "return [r.x + r.width / 2, r.y + r.height / 2]; })()" % selector)

    def taken(self, count, timeout=30):
        """Waits until the show has taken `count` keys in all; returns its key log."""
        self.wait('window.voxa.keys().length >= %d' % count, timeout, 'the show to take %d keys' % count)
        return self.hook('keys()')

    def paused(self, log):
        """The number of presentations once the p that ends the key log has paused the show. The key
        acts in the frame after the one that took it, which is still presented (held to its moment)."""
        self.wait('window.voxa.presentations >= %d' % (log[-1][0] + 1), 10, 'the frame after p')
        return self.hook('presentations')

    def pause(self, keys_so_far):
        """Presses p and waits until the show has taken it and stopped presenting; returns the key log."""
        self.press('p')
        log = self.taken(keys_so_far + 1)
        count = self.paused(log)
        time.sleep(0.3)
        check(self.hook('presentations') == count, 'p did not pause the show: presentations went on')
        return log

    def rate(self, ms):
        """Presentations a second over the next ms milliseconds, counted in the page."""
        return self.eval("new Promise((resolve) => {"
                         "  const count = window.voxa.presentations, start = performance.now();"
                         "  setTimeout(() => resolve((window.voxa.presentations - count) * 1000 /"
                         "    (performance.now() - start)), %d);"
                         "})" % ms, timeout=ms / 1000 + 10)

    def frame(self):
        """The last presented frame as rows of 0x00RRGGBB values."""
        data = base64.b64decode(self.hook('frame()'))
        return [[data[i] << 16 | data[i + 1] << 8 | data[i + 2] for i in range(row * 1024, row * 1024 + 1024, 4)]
                for row in range(256)]

    def check_no_errors(self):
        errors = self.page.errors()
        check(not errors, 'the page reported errors:\n  ' + '\n  '.join(errors))


def recorder(native, frames, keys=(), pointer=(-1000, -1000), bars=None):
    """The native recorder's hash of each presentation 0 .. frames - 1, with keys [(presentation, char)]
    pressed as the recorder schedules them; with bars, it writes every bar into that folder too."""
    args = [os.path.join(native, 'voxa7100-record'), '--frames', str(frames), '--hash-each',
            '--pointer', '%d,%d' % pointer]
    if keys:
        args += ['--keys', ','.join('%d:%s' % (p, key_name(c)) for p, c in keys)]
    if bars:
        args += ['--bars', bars]
    out = subprocess.run(args, capture_output=True, text=True)
    if out.returncode != 0:
        raise Failure('recorder %s: status %d\n%s' % (' '.join(args[1:]), out.returncode, out.stderr[-1000:]))
    return [line.split()[1] for line in out.stdout.splitlines()]


def recorder_bars(native, frames):
    """The values of every bar the recorder's player starts in `frames` presentations, in order."""
    with tempfile.TemporaryDirectory() as folder:
        recorder(native, frames, bars=folder)
        bars = []
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), 'rb') as f:
                data = f.read()[64:]
            bars.append([int.from_bytes(data[k:k + 2], 'little', signed=True) for k in range(0, len(data), 2)])
        return bars


def key_name(c):
    return 'space' if c == 0x20 else 'esc' if c == 0x1B else chr(c)


def recorder_keys(log):
    """The page's key log ([presentations so far, char] as the show took each key) as recorder keys:
    the recorder hands a key listed for presentation P to the show right after presenting P."""
    return [(count - 1, c) for count, c in log]
