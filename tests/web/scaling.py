#!/usr/bin/env python3
"""The picture and the pointer: at a 1024 x 768 viewport the frame is drawn at 3x, centred on black,
each frame pixel a sharp 3 x 3 block on screen; the sprite follows the pointer (mapped to frame
pixels), the system cursor is hidden over the picture only; at a device pixel ratio of 1.5 the scale
counts device pixels. Fullscreen: the button and a double-click enter it, and in fullscreen ESC only
leaves it, while the show goes on."""
from harness import Show, check, recorder, recorder_keys, run, setup


def fullscreen(show):
    """Fullscreen by the button; ESC leaves it and the show goes on; a double-click enters it again."""
    keys = len(show.hook('keys()')) + 1
    show.press('p')
    show.taken(keys)
    box = show.eval("(() => { const r = document.getElementById('fullscreen').getBoundingClientRect(); "
                    "return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    show.page.click(*box)
    show.wait('!!document.fullscreenElement', 5, 'fullscreen from the button')
    show.press('esc')
    show.wait('!document.fullscreenElement', 5, 'ESC to leave fullscreen')
    count = show.hook('presentations')
    show.wait('window.voxa.presentations > %d' % (count + 10), 5, 'the show to go on after ESC in fullscreen')
    check(len(show.hook('keys()')) == keys and show.hook('state') == 'running', 'ESC in fullscreen reached the show')
    show.page.click(512, 384, clicks=2)
    show.wait('!!document.fullscreenElement', 5, 'fullscreen from a double-click')


def main():
    web, native = setup()
    with Show(web, 1024, 768) as show:
        show.wait_stage('radial loop')
        check(show.hook('scale') == 3, 'scale %s at 1024 x 768, expected 3' % show.hook('scale'))

        # The pointer over frame pixel (100, 50): the frame is 768 wide at x = 128.
        show.page.move(128 + 3 * 100 + 2, 3 * 50 + 1)
        show.wait('window.voxa.pointer().x === 100 && window.voxa.pointer().y === 50', 5, 'the pointer at (100, 50)')
        check(show.eval("document.getElementById('screen').classList.contains('nocursor')"),
              'the system cursor shows over the picture')
        count = show.hook('presentations')
        show.wait('window.voxa.presentations > %d' % (count + 3), 5)
        log = show.pause(0)
        count = show.hook('presentations')
        want = recorder(native, count, recorder_keys(log), pointer=(100, 50))
        check(show.hook('frameHash()') == want[count - 1], 'the frame with the sprite at the pointer differs from the '
                                                            'recorder\'s with --pointer 100,50')

        # On screen: black margins, then every frame pixel as a 3 x 3 block.
        frame = show.frame()
        width, height, rows = show.page.screenshot(120, 0, 784, 768)
        check((width, height) == (784, 768), 'screenshot of %d x %d' % (width, height))
        for y, row in enumerate(rows):
            line = frame[y // 3]
            for x in range(784):
                want_px = line[(x - 8) // 3] if 8 <= x < 776 else 0
                got = row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]
                check(got == want_px, 'screen pixel (%d, %d) is %06x, expected %06x' % (120 + x, y, got, want_px))

        # Over the margin the pointer is left of the frame and the system cursor shows.
        show.page.move(40, 300)
        show.wait('window.voxa.pointer().x === -30', 5, 'the pointer at frame x -30')
        check(not show.eval("document.getElementById('screen').classList.contains('nocursor')"),
              'the system cursor is hidden over the margin')

        fullscreen(show)
        show.check_no_errors()

    with Show(web, 1024, 768, dpr=1.5) as show:
        show.wait_stage('radial loop')
        size = show.eval("[document.getElementById('screen').width, document.getElementById('screen').height]")
        check(size == [1536, 1152] and show.hook('scale') == 4,
              'at device pixel ratio 1.5: canvas %s, scale %s; expected 1536 x 1152 at 4' % (size, show.hook('scale')))
        show.check_no_errors()
    print('3x at 1024 x 768 (every screen pixel checked), sprite at the pointer, cursor, fullscreen and ESC; '
          '4x at device pixel ratio 1.5')


run(main)
