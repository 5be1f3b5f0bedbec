#!/usr/bin/env python3
"""Sound in the page: silent with a hint until the first key, then Web Audio loops the current bar,
equal to the bar the recorder's player starts at the same switch, and the loop changes at the next
scene's start. Without Web Audio the show runs silently with a note."""
from harness import Show, check, recorder_bars, run, setup


def sound(show):
    s = show.hook('sound()')
    return s, {k: v for k, v in s.items() if k != 'values'}


def main():
    web, native = setup()
    bars = recorder_bars(native, 1200)  # the first bar, the first scene's and the second scene's
    with Show(web) as show:
        show.wait_stage('radial loop')
        s, brief = sound(show)
        check(s['context'] is None and s['values'] is None, 'sound before any gesture: %s' % brief)
        check(show.eval("!document.getElementById('hint').hidden"), 'no hint that sound starts with a click or key')

        # 3 is not in the key table: it only lets sound start. Started so far: the start-up noise,
        # the first bar and the first scene's bar, which must now play from its start.
        show.press('3')
        show.wait("window.voxa.sound().context === 'running'", 10, 'the audio context to run after a key')
        s, brief = sound(show)
        check(s['looping'] and s['rate'] == 44100 and s['starts'] == 3, 'after a key: %s' % brief)
        check(s['values'] == bars[1], 'the loop does not hold the first scene\'s bar')
        check(show.eval("document.getElementById('hint').hidden"), 'the hint stayed after sound started')

        # SPACE: the next scene switches the music; the loop follows at once.
        show.press(' ')
        show.wait('window.voxa.sound().starts === 4', 30, 'the next scene\'s bar')
        s, brief = sound(show)
        check(s['looping'] and s['values'] == bars[2], 'the loop does not hold the second scene\'s bar: %s' % brief)
        show.check_no_errors()

    quiet = "delete window.AudioContext; delete window.webkitAudioContext;"
    with Show(web, before_load=quiet) as show:
        show.wait_stage('radial loop')
        show.press('3')
        show.wait('window.voxa.presentations > 140', 10, 'the show to go on without Web Audio')
        note = show.eval("document.getElementById('note').hidden ? '' : document.getElementById('note').textContent")
        check('no Web Audio' in note, 'no note without Web Audio (note: %r)' % note)
        check(show.hook('sound()')['context'] is None, 'an audio context without Web Audio')
        show.check_no_errors()
    print('silent until a key; then the first and second scenes\' bars loop as the recorder starts them; '
          'without Web Audio: "%s"' % note)


run(main)
