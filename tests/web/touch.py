#!/usr/bin/env python3
"""The page on a phone (390 x 844 CSS pixels at 3 device pixels each, touch only), used with a finger
alone: the hint says to tap; a tap on the picture starts the sound and shows the key panel below the
frame, every key a finger wide; P pauses on the frame the recorder makes with p at that presentation
and resumes, a double tap on W cycles the background twice and toggles nothing, SPACE moves on to
the next scene, a double tap on the picture goes fullscreen, the panel hides after about 5 s without
a touch, and ESC leaves fullscreen and fades out to the end screen as the recorder does; "tap to play
again" there plays again. Turned to landscape, the panel shows beside the frame. No touch moves the
show's pointer.

Registered for Chromium (phone emulation, DevTools touch events) and Firefox (touch pointer actions)
only: WebKit's driver turns a touch into the mouse."""
import time

from harness import Show, check, key_name, recorder, recorder_keys, run, setup

WIDTH, HEIGHT, DPR = 390, 844, 3
NONE = -32768  # the show's pointer while no mouse is over the page
PANEL = "!document.getElementById('keys-panel').hidden"

# The frame's rectangle in CSS pixels, as the page draws it: whole scale, centred on the canvas.
FRAME = '''(() => {
  const s = document.getElementById('screen'), size = 256 * window.voxa.scale, k = s.clientWidth / s.width;
  const x = Math.floor((s.width - size) / 2) * k, y = Math.floor((s.height - size) / 2) * k;
  return [x, y, x + size * k, y + size * k];
})()'''

# Every visible element with a key shortcut: [tag, shortcut, left, top, right, bottom].
SHORTCUTS = '''Array.from(document.querySelectorAll('[aria-keyshortcuts]')).filter((e) => e.getClientRects().length)
  .map((e) => { const r = e.getBoundingClientRect();
                return [e.tagName, e.getAttribute('aria-keyshortcuts'), r.left, r.top, r.right, r.bottom]; })'''

# The show's pointer as each touch left it, read after the page's own listeners.
WATCH_POINTER = '''window.pointerSeen = [];
['pointerdown', 'pointerup'].forEach((t) => addEventListener(t, () => pointerSeen.push(window.voxa.pointer())));'''


def tap_key(show, key, taps=1):
    """Taps the panel's key (by its shortcut) once it is there to take a tap."""
    where = show.wait('''(() => {
      const k = document.querySelector('#keys-panel [aria-keyshortcuts="%s"]'), r = k.getBoundingClientRect();
      const x = r.x + r.width / 2, y = r.y + r.height / 2;
      return k.contains(document.elementFromPoint(x, y)) && [x, y];
    })()''' % key, 5, 'the key %s to take a tap' % key)
    show.page.tap(*where, taps=taps)


def check_panel(show, width, height):
    """The panel's keys sit below the frame in portrait and beside it in landscape, each at least
    44 x 44 CSS pixels, as is every other visible element with a key shortcut; only buttons carry
    one, one key each."""
    left, top, right, bottom = show.eval(FRAME)
    shortcuts = show.eval(SHORTCUTS)
    check(len(shortcuts) == 14, 'visible key shortcuts: %s, expected the 13 keys and Fullscreen'
          % [s[1] for s in shortcuts])
    for tag, key, x0, y0, x1, y1 in shortcuts:
        check(tag == 'BUTTON' and ' ' not in key and '+' not in key, '%s carries the shortcut %r' % (tag, key))
        check(x1 - x0 >= 44 and y1 - y0 >= 44, 'the %s button is %.0f x %.0f CSS pixels' % (key, x1 - x0, y1 - y0))
        placed = y0 >= bottom if height > width else x1 <= left or x0 >= right
        if key != 'F11':
            check(placed and x0 >= 0 and y0 >= 0 and x1 <= width and y1 <= height,
                  'the %s key at (%.0f, %.0f)-(%.0f, %.0f) in %d x %d, not %s the frame (%.0f, %.0f)-(%.0f, %.0f)'
                  % (key, x0, y0, x1, y1, width, height, 'below' if height > width else 'beside',
                     left, top, right, bottom))


def landscape(show):
    """The phone turned: a tap on the picture shows the panel beside the frame."""
    show.page.resize(HEIGHT, WIDTH)
    show.wait('innerWidth === %d && innerHeight === %d' % (HEIGHT, WIDTH), 10, 'the page to turn')
    show.page.tap(HEIGHT / 2, WIDTH / 2)
    show.wait(PANEL, 5, 'the key panel after a tap on the picture in landscape')
    check_panel(show, HEIGHT, WIDTH)


def pause_and_go_on(show):
    """P pauses and resumes; a double tap on W presses w twice; SPACE moves on. Returns the paused
    presentations and frame hash."""
    tap_key(show, 'P')
    log = show.taken(1)
    count = show.paused(log)
    time.sleep(0.3)
    check(show.hook('presentations') == count, 'P did not pause the show: presentations went on')
    paused = count, show.hook('frameHash()')
    tap_key(show, 'P')
    show.wait('window.voxa.presentations > %d' % count, 10, 'P to resume the show')
    tap_key(show, 'W', taps=2)
    log = show.taken(4)
    check([c for _, c in log] == [ord(c) for c in 'ppww'], 'the show took %s, expected p p w w' % log)
    time.sleep(0.6)
    check(show.eval('!document.fullscreenElement'), 'a double tap on the panel toggled fullscreen')
    tap_key(show, 'Space')
    show.wait_stage('bicolour loop', 30)
    return paused


def fullscreen_and_end(show):
    """A double tap on the picture goes fullscreen; the panel hides about 5 s after it; a tap shows it
    again and its ESC leaves fullscreen and ends the show."""
    show.page.tap(WIDTH / 2, HEIGHT / 2, taps=2)
    tapped = time.monotonic()
    show.wait('!!document.fullscreenElement', 5, 'fullscreen from a double tap on the picture')
    show.wait('!(%s)' % PANEL, 15, 'the panel to hide without a touch')
    quiet = time.monotonic() - tapped
    check(quiet >= 4, 'the panel hid %.1f s after the last touch, expected about 5' % quiet)
    show.page.tap(*show.eval('[innerWidth / 2, innerHeight / 2]'))  # fullscreen may have resized the page
    tap_key(show, 'Escape')
    show.wait("window.voxa.state === 'ended'", 30, 'the end screen')
    check(show.eval('!document.fullscreenElement'), 'ESC on the panel left the page in fullscreen')
    return quiet


def main():
    web, native = setup()
    with Show(web, WIDTH, HEIGHT, dpr=DPR, touch=True) as show:
        show.wait_stage('radial loop')
        hint = show.eval("document.getElementById('hint').hidden ? '' : document.getElementById('hint').textContent")
        check('Tap for sound' in hint, 'the hint on a phone: %r' % hint)
        show.eval(WATCH_POINTER)
        show.page.tap(WIDTH / 2, HEIGHT / 2)
        show.wait(PANEL, 5, 'the key panel after a tap on the picture')
        show.wait("window.voxa.sound().context === 'running'", 10, 'sound after a tap')
        check_panel(show, WIDTH, HEIGHT)
        count, paused = pause_and_go_on(show)
        quiet = fullscreen_and_end(show)

        end = show.eval("document.getElementById('end').hidden ? '' : document.getElementById('end').textContent")
        check('tap to play again' in end, 'the end screen on a phone: %r' % end)
        log = show.hook('keys()')
        presented = show.hook('presentations')
        want = recorder(native, presented + 100, recorder_keys(log))
        check(want[count - 1] == paused, 'the frame paused by P differs from the recorder\'s with p')
        check(len(want) == presented and show.hook('frameHash()') == want[-1],
              'the fade-out after ESC differs from the recorder\'s (%d presentations, the recorder %d)'
              % (presented, len(want)))

        show.page.tap(*show.centre('#end'))
        show.wait('window.voxa.run === 2 && window.voxa.presentations >= 200', 60, 'the second run')
        check(show.hook('hashes()') == recorder(native, 200), 'the run after a tap on the end screen differs '
                                                               'from a fresh run')
        landscape(show)
        seen = [p for p in show.eval('window.pointerSeen') if 0 <= p['x'] < 256 and 0 <= p['y'] < 256]
        check(not seen, 'a touch moved the show\'s pointer onto the frame: %s' % seen[:3])
        show.check_no_errors()
    print('keys %s taken from the panel; paused frame, fade-out and the second run as recorded; the panel '
          'hid %.1f s after the last touch' % (' '.join(key_name(c) for _, c in log), quiet))


run(main)
