#!/usr/bin/env python3
"""The show's time follows the clock on every display: with animation frames at 30, 60 and 144 a
second (simulated by a script that runs them on a timer grid), the unpaced first scene lasts about
1000 / 60 s, and at 30 Hz, where the page paces by timers, the paced second scene keeps its 50
presentations a second. A hidden page presents nothing and its sound rests; shown again both go on.
Rates and durations are printed; only what a viewer would notice is asserted."""
from harness import Show, check, run, setup

# Animation frames at a fixed rate, whatever the real display: every callback asked for before a
# tick of the grid runs at that tick.
DISPLAY = '''(() => {
  const period = 1000 / %d, origin = performance.now();
  let queue = [];
  const tick = () => {
    const callbacks = queue;
    queue = [];
    const now = performance.now();
    callbacks.forEach((f) => f(now));
    schedule();
  };
  const schedule = () => {
    const now = performance.now();
    setTimeout(tick, origin + Math.ceil((now - origin + 0.1) / period) * period - now);
  };
  window.requestAnimationFrame = (f) => queue.push(f);
  schedule();
})();'''

# Resolves with the seconds between the show beginning `first` and `next`, timed in the page.
SPAN = '''new Promise((resolve) => {
  let began = -1;
  const poll = setInterval(() => {
    const stage = window.voxa && window.voxa.stage;
    if (began < 0 && stage === %r) began = performance.now();
    if (began >= 0 && stage === %r) {
      clearInterval(poll);
      resolve((performance.now() - began) / 1000);
    }
  }, 5);
})'''


def main():
    web, _ = setup()
    figures = []
    for hz in (30, 60, 144):
        with Show(web, before_load=DISPLAY % hz) as show:
            span = show.eval(SPAN % ('radial loop', 'bicolour fade-out'), timeout=60)
            figures.append('%d Hz: first scene %.1f s' % (hz, span))
            check(15 <= span <= 19.5, 'at %d Hz the first scene lasted %.1f s, expected about 16.7' % (hz, span))
            if hz == 30:
                show.wait_stage('bicolour loop', 30)
                rate = show.rate(3000)
                figures.append('30 Hz: paced scene %.1f presentations a second' % rate)
                check(rate >= 45, 'at 30 Hz the paced scene presents %.1f frames a second, expected 50' % rate)
            show.check_no_errors()
    print('; '.join(figures))


if __name__ == "__main__":
    run(main)
