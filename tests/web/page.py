#!/usr/bin/env python3
"""The page opened from disk: no console errors and no network access; the loading picture, the
waveforms and the first scene, each presentation equal to the native recorder's; the stretches
where the golden record has them; a paused frame equal to a headless presentation. Without
WebAssembly: a message instead of the show."""
import os

from harness import Show, check, recorder, recorder_keys, run, setup

# Where the first stretches of the show begin (tests/golden/two-passes.txt).
STAGES = [[0, 'start-up'], [97, 'radial fade-out'], [129, 'radial loop']]


def main():
    web, native = setup()
    with Show(web, file_url=True) as show:
        show.wait('window.voxa && window.voxa.presentations >= 200', 60, '200 presentations')
        check(show.eval('document.title') == 'VOXA7100', 'title is %r' % show.eval('document.title'))
        hashes = show.hook('hashes()')
        want = recorder(native, 4000)
        # 0: the loading picture, 1 to 96: the waveforms, 97 to 128: the first scene's fade-out, then the scene.
        for n, (got, expected) in enumerate(zip(hashes, want)):
            check(got == expected, 'presentation %d differs from the recorder\'s (%s, expected %s)' % (n, got, expected))
        check(len(hashes) == 200, 'the page kept %d hashes, expected 200' % len(hashes))
        stages = show.hook('stages()')
        check(stages[:3] == STAGES, 'stretches began at %s, expected %s' % (stages[:3], STAGES))
        first_ms = show.hook('firstShownMs')

        log = show.pause(0)
        count = show.hook('presentations')
        want = recorder(native, count, recorder_keys(log))
        check(show.hook('frameHash()') == want[count - 1],
              'the paused frame (presentation %d) differs from the recorder\'s' % (count - 1))
        show.check_no_errors()
        requests = [u for u in show.page.requests() if not u.startswith('data:')]
        check(requests == [show.url], 'the page loaded more than itself: %s' % requests)
    # Only a browser without WebAssembly gets a message instead of the show.
    with Show(web, before_load='delete window.WebAssembly;') as show:
        message = show.wait("!document.getElementById('message').hidden && "
                            "document.getElementById('message-text').textContent", 10, 'the message')
        check('WebAssembly' in message, 'message without WebAssembly: %r' % message)
        show.check_no_errors()
    print('title, 200 presentations, stretches, paused frame %d: as recorded; loading picture on the canvas '
          'after %.0f ms; %d bytes on disk' % (count - 1, first_ms, os.path.getsize(os.path.join(web, 'voxa7100.html'))))


run(main)
