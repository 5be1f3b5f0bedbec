// The page of the show: the canvas, keys, the key panel, pointer, sound, fullscreen, the end
// screen and playing again. Each run of the show is a fresh instance of the program (createVoxa,
// made by Emscripten) that gets a session: its backend (src/backends/web.cpp) presents frames,
// takes keys and the pointer and loops the current bar through it. The page owns the audio
// context, so the sound goes on from one run to the next without a new gesture.
//
// Start-up. The page's script is its parts in the order of tools/make_page.py, each defining one
// object; this last one sets them going.
const Start = {
  pointerType: 'mouse',         // of the last pointerdown
  supported: () => typeof WebAssembly === 'object' && typeof WebAssembly.instantiate === 'function' &&
    typeof createVoxa === 'function',

  main() {
    if (!Start.supported()) {
      Run.state = 'no-wasm';
      Notes.message('This browser cannot run WebAssembly, which the show needs. ' +
                    'Please open this page in a current browser.');
      return;
    }
    View.watch();
    Run.compile();
    Notes.words();
    if (Sound.Context) Notes.hint.hidden = false;
    else Notes.show('This browser has no Web Audio: the show runs without sound.');
    Fullscreen.button.hidden = !Fullscreen.enabled();
    Panel.place();
    Start.listen();
    Pacing.start();
    TestHook.install();
    Run.start();
  },

  listen() {
    addEventListener('keydown', Keys.down);
    addEventListener('pointermove', Pointer.move, { passive: true });
    addEventListener('pointerdown', (e) => {
      Start.pointerType = e.pointerType;
      Pointer.move(e);
      Sound.unlock();
    });
    addEventListener('pointerup', () => Sound.unlock());
    document.documentElement.addEventListener('pointerleave', Pointer.leave);
    // No long-press menu from a finger; a mouse's right button keeps the browser's menu. Where the
    // menu's event is no pointer event (Firefox, Safari), the last pointerdown tells which it was.
    addEventListener('contextmenu', (e) => {
      if ((e.pointerType || Start.pointerType) !== 'mouse') e.preventDefault();
    });
    Picture.screen.addEventListener('pointerup', Fullscreen.pictureUp);
    Panel.listen();
    Fullscreen.button.addEventListener('click', () => {
      Fullscreen.toggle();
      Fullscreen.button.blur();  // so that SPACE goes to the show, not to the button
    });
    document.addEventListener('fullscreenchange', Fullscreen.changed);
    document.addEventListener('webkitfullscreenchange', Fullscreen.changed);
    Notes.end.addEventListener('click', () => {
      Sound.unlock();
      Run.start();
    });
  },
};

Start.main();
