#!/usr/bin/env python3
"""A hidden page rests: behind another tab the show presents nothing (one presentation already on
its way may finish) and its audio context does not run; in front again both go on where they were,
without a burst of catch-up frames."""
import time

from harness import Show, check, run, setup


def main():
    web, _ = setup()
    with Show(web) as show:
        show.wait_stage('radial loop')
        show.press('3')  # not in the key table: it only lets sound start
        show.wait("window.voxa.sound().context === 'running'", 10, 'sound after a key')
        show.page.hide()
        time.sleep(0.5)
        count = show.hook('presentations')
        time.sleep(2)
        hidden = show.hook('presentations') - count
        context = show.hook('sound()')['context']
        check(hidden <= 1, 'hidden, the show presented %d more frames' % hidden)
        check(context != 'running', 'hidden, the audio context is %s' % context)
        show.page.unhide()
        show.wait('window.voxa.presentations > %d' % (count + hidden), 10, 'the show to go on when shown again')
        show.wait("window.voxa.sound().context === 'running'", 10, 'sound to go on when shown again')
        rate = show.rate(1000)
        check(rate <= 63, 'shown again, the show presents %.0f frames a second: a burst of catch-up frames' % rate)
        show.check_no_errors()
    print('hidden: %d presentations in 2 s, audio %s; shown again: sound running, %.0f presentations a second'
          % (hidden, context, rate))


run(main)
