#!/usr/bin/env python3
"""Every key of the key table in the page, as a person presses them: p pauses and resumes, 8 shows
the counters, w cycles the background, the other keys act, SPACE moves on to the next scene and ESC
fades out to the end screen; a click there plays again from the start. Shift and Caps Lock change
nothing, the page takes each key's default action away (no scrolling, no browser shortcut), a key
with Ctrl stays the browser's, and the Keys button opens the key panel, whose keys press theirs.
What the show presents with the keys the page took is what the recorder presents with the same keys
at the same presentations."""
from drivers import CTRL, SHIFT
from harness import Show, check, recorder, recorder_bars, recorder_keys, run, setup

# The rest of the key table, pressed while the first scene runs (w in capitals, as Caps Lock sends
# it); 8 again at the end, since the counters show the measured frame rate once scenes are paced.
TABLE = [('w', 0, True), ('w', 0, False), ('1', 0, False), ('4', 0, False), ('b', 0, False), ('g', 0, False),
         ('f', SHIFT, True), ('5', 0, False), ('6', 0, False), ('o', 0, False), ('8', 0, False)]


def counters(show, native):
    """8, then p with Shift: paused on a frame with the counters, as the recorder makes it; p resumes."""
    show.press('8')
    show.taken(1)
    show.press('p', SHIFT, upper=True)
    log = show.taken(2)
    check([c for _, c in log] == [ord('8'), ord('p')], 'the show took %s, expected 8 and p' % log)
    count = show.paused(log)
    show.eval('new Promise((r) => setTimeout(r, 300))')
    check(show.hook('presentations') == count, 'p did not pause the show')
    want = recorder(native, count, recorder_keys(log))
    check(show.hook('frameHash()') == want[count - 1], 'the paused frame with the counters differs from the recorder\'s')
    plain = recorder(native, count)
    check(want[count - 1] != plain[count - 1], 'the counters changed nothing')
    show.press('p')
    show.wait('window.voxa.presentations > %d' % count, 10, 'p to resume the show')


def every_key(show, native):
    """A key with Ctrl is the browser's; the rest of the table acts. Returns the key log."""
    show.press('b', CTRL)
    for name, modifiers, upper in TABLE:
        show.press(name, modifiers, upper)
    log = show.taken(3 + len(TABLE))
    want_chars = [ord(c) for c in '8pp'] + [ord(n) for n, _, _ in TABLE]
    check([c for _, c in log] == want_chars, 'the show took %s, expected %s' % (
        ''.join(chr(c) for _, c in log), ''.join(chr(c) for c in want_chars)))
    log = show.pause(len(log))
    count = show.hook('presentations')
    want = recorder(native, count, recorder_keys(log))
    check(show.hook('frameHash()') == want[count - 1], 'after every key, the paused frame differs from the recorder\'s')
    show.press('p')
    return log


def panel_key(show, log):
    """The Keys button opens the key panel; a click on its W presses w and leaves no button with the
    focus, so that the SPACE key next goes to the show alone."""
    show.page.click(*show.centre('#keys-button'))
    show.wait("!document.getElementById('keys-panel').hidden", 5, 'the key panel after a click on Keys')
    show.page.click(*show.centre('#keys-panel [aria-keyshortcuts="W"]'))
    log = show.taken(len(log) + 2)
    check(log[-1][1] == ord('w'), 'a click on the panel\'s W: the show took %s' % chr(log[-1][1]))
    check(show.eval('document.activeElement === document.body'), 'a clicked key kept the focus')


def fade_out(show, native):
    """SPACE: the next scene; ESC: the fade-out and the end screen, as the recorder makes them; only
    Ctrl+B of all the keys is left to the browser."""
    show.press(' ')
    show.wait_stage('bicolour loop', 30)
    show.press('esc')
    show.wait("window.voxa.state === 'ended'", 30, 'the end screen')
    check(show.hook('exitStatus') == 0, 'the show ended with status %s' % show.hook('exitStatus'))
    check(show.eval("!document.getElementById('end').hidden"), 'no end screen')
    log = show.hook('keys()')
    count = show.hook('presentations')
    want = recorder(native, count + 100, recorder_keys(log))
    check(len(want) == count, 'the recorder ended after %d presentations, the page after %d' % (len(want), count))
    check(show.hook('frameHash()') == want[-1], 'the last step of the fade-out differs from the recorder\'s')
    check(show.hook('stages()')[-1] == [count - 32, 'exit fade-out'], 'no 32-step fade-out at the end')

    # Shift and Control are pressed as keys of their own, as a keyboard sends them (p, Ctrl+B, f).
    left = [k for k, p in show.eval('window.prevented') if not p]
    check(left == ['Shift', 'Control', 'b', 'Shift'], 'keys left to the browser: %s, expected only Ctrl+B '
                                                      '(and Shift and Control themselves)' % left)


def play_again(show, native):
    """A click on the end screen plays again: a fresh run, the same first presentations and bars, with
    sound at once (the keys before allowed it)."""
    first_run = show.hook('hashes()')
    show.page.click(512, 384)
    show.page.move(40, 384)  # over the margin, where the sprite is out of the frame
    show.wait('window.voxa.run === 2 && window.voxa.presentations >= 200', 60, 'the second run')
    second_run = show.hook('hashes()')
    # The first run's keys came after its start-up and fade-out; a fresh load is what the recorder makes.
    check(second_run[:129] == first_run[:129], 'the second run\'s start-up differs from the first run\'s')
    check(second_run == recorder(native, 200), 'the second run\'s first 200 presentations differ from a fresh run\'s')
    sound = show.hook('sound()')
    check(sound['context'] == 'running' and sound['looping'], 'no sound in the second run: %s' % {
        k: v for k, v in sound.items() if k != 'values'})
    # Started so far: the start-up noise, the first bar, the first scene's bar.
    check(sound['starts'] == 3 and sound['values'] == recorder_bars(native, 200)[1],
          'the second run does not loop the first scene\'s bar')


def main():
    web, native = setup()
    with Show(web) as show:
        show.wait_stage('radial loop')
        show.eval("window.prevented = []; addEventListener('keydown', (e) => prevented.push([e.key, e.defaultPrevented]))")
        counters(show, native)
        log = every_key(show, native)
        panel_key(show, log)
        fade_out(show, native)
        play_again(show, native)
        show.check_no_errors()
    print('keys: 8 p p b(Ctrl) %s p p, w from the panel, space esc taken and prevented as expected; frames, '
          'fade-out and the second run as recorded' % ' '.join(n for n, _, _ in TABLE))


run(main)
