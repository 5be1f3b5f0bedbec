// One run of the program: a fresh instance of it (createVoxa, made by Emscripten) with its own
// session, from the page's start and again from the end screen.
const Run = {
  state: 'loading',             // loading, running, ended, failed, no-wasm
  current: null,                // the session of the running program
  last: null,                   // the latest session, running or ended
  runs: 0,
  firstShownMs: -1,             // when the first run's loading picture reached the canvas
  program: null,                // the compiled program, instantiated afresh for every run

  reason: (e) => (e && e.message) || String(e),

  fail(why) {
    if (Run.state === 'failed') return;
    Run.state = 'failed';
    Run.current = null;
    Sound.stop();
    console.error('VOXA7100 stopped: ' + why);
    Notes.message('The show stopped: ' + why);
  },

  start() {
    Notes.end.hidden = true;
    Run.state = 'loading';
    const session = new Session(++Run.runs);
    Run.current = Run.last = session;
    Sound.starts = 0;
    createVoxa({
      page: session,
      instantiateWasm(imports, receive) {
        Run.program.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
          .catch((e) => Run.fail(Run.reason(e)));
        return {};
      },
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => Run.fail(Run.reason(what)),
    }).catch((e) => Run.fail(Run.reason(e)));
  },

  compile() {
    Run.program = WebAssembly.compile(Run.programBytes()).catch((e) => {
      throw new Error('this browser cannot run the show\'s WebAssembly, which needs SIMD (' + e.message + ')');
    });
  },

  // The program's WebAssembly, base64 in the page; its element goes once read.
  programBytes() {
    const element = document.getElementById('program-wasm');
    const text = atob(element.textContent);
    element.remove();
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  },
};
