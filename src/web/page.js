// The page of the show: the canvas, keys, pointer, sound, fullscreen, the end screen and playing
// again. Each run of the show is a fresh instance of the program (createVoxa, made by Emscripten)
// that gets a session: its backend (src/backends/web.cpp) presents frames, takes keys and the
// pointer and loops the current bar through it. The page owns the audio context, so the sound
// goes on from one run to the next without a new gesture.
'use strict';
(() => {
  const FRAME = 256;            // the program's frame is FRAME x FRAME pixels
  const NO_POINTER = -32768;    // frame position reported while the pointer is not over the page
  const KEY_QUEUE_MAX = 64;     // keys waiting for the show beyond this are dropped
  const HASHED = 200;           // presentations of each run whose hashes the test hook keeps
  const WARM_FRAMES = 100;      // frames of each scene run left out of its frame costs
  const COST_SAMPLES = 4096;    // frame costs kept per scene
  const ESC_AFTER_FULLSCREEN_MS = 250;  // an ESC this soon after leaving fullscreen left it

  const $ = (id) => document.getElementById(id);
  const screen = $('screen');
  const endScreen = $('end');
  const hint = $('hint');
  const note = $('note');
  const fullscreenButton = $('fullscreen');

  // ---- The picture: the frame drawn at the largest whole scale that fits, centred on black. ----
  const ctx = screen.getContext('2d', { alpha: false });
  const frameCanvas = document.createElement('canvas');
  frameCanvas.width = frameCanvas.height = FRAME;
  const frameCtx = frameCanvas.getContext('2d');
  let image = frameCtx.createImageData(FRAME, FRAME);  // on the program's canvas bytes once it presents
  let hasFrame = false;
  let view = fit(FRAME, FRAME);

  // The same rule as the desktop's viewport: whole scale of at least 1, centred, the odd pixel
  // right and below, all in device pixels.
  function fit(width, height) {
    const scale = Math.max(1, Math.min(Math.floor(width / FRAME), Math.floor(height / FRAME)));
    const size = FRAME * scale;
    return { scale, x: Math.floor((width - size) / 2), y: Math.floor((height - size) / 2), size };
  }

  function drawFrame() {
    ctx.imageSmoothingEnabled = false;
    ctx.drawImage(frameCanvas, view.x, view.y, view.size, view.size);
  }

  function redraw() {
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, screen.width, screen.height);
    if (hasFrame && state === 'running') drawFrame();
  }

  function resize(width, height) {
    if (width < 1 || height < 1 || (width === screen.width && height === screen.height)) return;
    screen.width = width;
    screen.height = height;
    view = fit(width, height);
    redraw();
    updatePointer();
  }

  // The canvas's size in device pixels, exact where the browser reports it.
  function watchSize() {
    resize(Math.round(screen.clientWidth * devicePixelRatio), Math.round(screen.clientHeight * devicePixelRatio));
    if (typeof ResizeObserver !== 'function') {
      addEventListener('resize', () => resize(Math.round(screen.clientWidth * devicePixelRatio),
                                              Math.round(screen.clientHeight * devicePixelRatio)));
      return;
    }
    const observer = new ResizeObserver((entries) => {
      const e = entries[entries.length - 1];
      if (e.devicePixelContentBoxSize) {
        resize(e.devicePixelContentBoxSize[0].inlineSize, e.devicePixelContentBoxSize[0].blockSize);
      } else {
        resize(Math.round(e.contentRect.width * devicePixelRatio), Math.round(e.contentRect.height * devicePixelRatio));
      }
    });
    try {
      observer.observe(screen, { box: 'device-pixel-content-box' });
    } catch (_) {
      observer.observe(screen);
    }
  }

  // ---- The pointer, in frame pixels (floor division, so left of or above the frame is negative). ----
  let pointerClient = null;     // { x, y } in CSS pixels while the pointer is over the page
  let cursorHidden = false;     // the program hid the system cursor over its picture
  const pointerFrame = { x: NO_POINTER, y: NO_POINTER };

  function updatePointer() {
    let inside = false;
    if (pointerClient && state === 'running') {
      const r = screen.getBoundingClientRect();
      const dx = Math.floor((pointerClient.x - r.left) * screen.width / r.width);
      const dy = Math.floor((pointerClient.y - r.top) * screen.height / r.height);
      pointerFrame.x = Math.floor((dx - view.x) / view.scale);
      pointerFrame.y = Math.floor((dy - view.y) / view.scale);
      inside = pointerFrame.x >= 0 && pointerFrame.x < FRAME && pointerFrame.y >= 0 && pointerFrame.y < FRAME;
    } else {
      pointerFrame.x = pointerFrame.y = NO_POINTER;
    }
    screen.classList.toggle('nocursor', cursorHidden && inside);
  }

  function movePointer(e) {
    pointerClient = { x: e.clientX, y: e.clientY };
    updatePointer();
  }

  // ---- Sound: the looping bar through Web Audio, once a gesture allows it. ----
  const AudioCtor = window.AudioContext || window.webkitAudioContext;
  const audio = {
    ctx: null,
    source: null,
    bar: null,        // the current bar, as the program last started it (Float32Array), or null
    starts: 0,        // bars the current run has started (its first is the start-up noise)

    loop(bytes) {
      const count = bytes.length >> 1;
      const bar = new Float32Array(count);
      for (let k = 0; k < count; k++) bar[k] = ((bytes[2 * k] | bytes[2 * k + 1] << 8) << 16 >> 16) / 32768;
      this.bar = bar;
      this.starts++;
      this.play();
    },
    stop() {
      this.bar = null;
      this.halt();
    },
    halt() {
      if (!this.source) return;
      try {
        this.source.stop();
      } catch (_) { /* never started */ }
      this.source.disconnect();
      this.source = null;
    },
    // Plays the current bar from its start, in a loop.
    play() {
      this.halt();
      if (!this.ctx || !this.bar) return;
      const buffer = this.ctx.createBuffer(1, this.bar.length, 44100);
      if (buffer.copyToChannel) buffer.copyToChannel(this.bar, 0);
      else buffer.getChannelData(0).set(this.bar);
      const source = this.ctx.createBufferSource();
      source.buffer = buffer;
      source.loop = true;
      source.connect(this.ctx.destination);
      source.start();
      this.source = source;
    },
    // A click or key: browsers let sound start only now.
    unlock() {
      if (!AudioCtor) return;
      if (!this.ctx) {
        try {
          this.ctx = new AudioCtor();
        } catch (_) {
          showNote('No sound: this browser could not open an audio output.');
          return;
        }
        hint.hidden = true;
        this.play();
      }
      if (this.ctx.state !== 'running' && this.ctx.resume) this.ctx.resume().catch(() => {});
    },
  };

  // ---- Keys: the unshifted character of the physical key, as the desktop reads it. ----
  function keyChar(e) {
    if (e.ctrlKey || e.metaKey || e.altKey) return 0;  // the browser's shortcuts stay the browser's
    const key = e.key || '';
    const code = e.code || '';
    if (key === 'Escape' || key === 'Esc' || code === 'Escape') return 0x1b;
    if (key === ' ' || key === 'Spacebar' || code === 'Space') return 0x20;
    // The letter of the layout, lower case whatever Shift or Caps Lock say; on layouts without
    // Latin letters, the key's place; digits from the key's place, shifted or not.
    if (key.length === 1) {
      const lower = key.toLowerCase();
      if (lower >= 'a' && lower <= 'z') return lower.charCodeAt(0);
    }
    let m = /^Key([A-Z])$/.exec(code);
    if (m) return m[1].toLowerCase().charCodeAt(0);
    m = /^Digit([0-9])$/.exec(code);
    if (m) return m[1].charCodeAt(0);
    if (!code && key.length === 1 && key >= '0' && key <= '9') return key.charCodeAt(0);
    return 0;
  }

  let leftFullscreenAt = -Infinity;

  function onKeyDown(e) {
    if (state !== 'running' && state !== 'loading') return;
    const c = keyChar(e);
    if (c !== 0x1b) audio.unlock();
    if (c === 0) return;
    e.preventDefault();
    if (c === 0x1b) {
      // In fullscreen the first ESC leaves fullscreen, as everywhere in the browser.
      if (fullscreenElement()) {
        exitFullscreen();
        return;
      }
      if (performance.now() - leftFullscreenAt < ESC_AFTER_FULLSCREEN_MS) return;
    }
    if (current) current.key(c);
  }

  // ---- Fullscreen, through the Fullscreen API. ----
  const root = document.documentElement;
  const fullscreenElement = () => document.fullscreenElement || document.webkitFullscreenElement || null;
  function exitFullscreen() {
    const exit = document.exitFullscreen || document.webkitExitFullscreen;
    if (!exit) return;
    const p = exit.call(document);
    if (p && p.catch) p.catch(() => {});
  }
  function toggleFullscreen() {
    if (fullscreenElement()) {
      exitFullscreen();
      return;
    }
    const request = root.requestFullscreen || root.webkitRequestFullscreen;
    if (!request) return;
    const p = request.call(root);
    if (p && p.catch) p.catch(() => {});
  }
  function onFullscreenChange() {
    const on = !!fullscreenElement();
    if (!on) leftFullscreenAt = performance.now();
    fullscreenButton.textContent = on ? 'Exit fullscreen' : 'Fullscreen';
  }

  // ---- Notes and the end screen. ----
  function showNote(text) {
    hint.hidden = true;
    note.textContent = text;
    note.hidden = false;
  }

  function showMessage(text) {
    $('message-text').textContent = text;
    $('message').hidden = false;
    fullscreenButton.hidden = hint.hidden = note.hidden = true;
  }

  // ---- One run of the program. ----
  let state = 'loading';        // loading, running, ended, failed, no-wasm
  let current = null;           // the session of the running program
  let last = null;              // the latest session, running or ended
  let runs = 0;
  let firstShownMs = -1;        // when the first run's loading picture reached the canvas
  const costs = new Map();      // scene name -> { samples: Float64Array, count }
  const presentCosts = { total: 0, count: 0 };

  class Session {
    constructor(number) {
      this.number = number;
      this.keys = [];
      this.waiter = null;
      this.presentations = 0;
      this.stageName = '';
      this.stageFrames = 0;
      this.stages = [];         // [presentation, stage] as the show began each stretch
      this.keyLog = [];         // [presentations so far, character] as the show took each key
      this.hashes = [];         // hashes of the first HASHED presentations
      this.busy = 0;            // milliseconds the program ran since its last presentation
      this.resumedAt = performance.now();
      this.exitStatus = null;
    }

    suspended() {
      this.busy += performance.now() - this.resumedAt;
    }
    resumed() {
      this.resumedAt = performance.now();
    }

    open(title, width, height) {
      document.title = title;
      return width === FRAME && height === FRAME;
    }

    // Shows the frame (canvas bytes), then waits for the browser's next animation frame.
    present(rgba) {
      this.suspended();
      if (this !== current) return new Promise(() => {});
      const cost = this.busy;
      this.busy = 0;
      const start = performance.now();
      // The image data stands on the program's own buffer (made again only if that moves).
      if (image.data.buffer !== rgba.buffer || image.data.byteOffset !== rgba.byteOffset) {
        image = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.length), FRAME, FRAME);
      }
      frameCtx.putImageData(image, 0, 0);
      hasFrame = true;
      if (state === 'loading') {
        state = 'running';
        updatePointer();
      }
      drawFrame();
      presentCosts.total += performance.now() - start;
      presentCosts.count++;
      this.presentations++;
      if (this.presentations === 1 && firstShownMs < 0) {
        requestAnimationFrame(() => { firstShownMs = performance.now(); });
      }
      if (this.presentations <= HASHED) this.hashes.push(frameHash(rgba));
      this.noteCost(cost);
      return new Promise((resolve) => {
        const go = () => {
          this.resumed();
          resolve();
        };
        if (unpaced) nextTask(go);
        else requestAnimationFrame(go);
      });
    }

    noteCost(cost) {
      if (!this.stageName.endsWith(' loop') || ++this.stageFrames <= WARM_FRAMES) return;
      const scene = this.stageName.slice(0, -5);
      let c = costs.get(scene);
      if (!c) costs.set(scene, c = { samples: new Float64Array(COST_SAMPLES), count: 0 });
      c.samples[c.count % COST_SAMPLES] = cost;
      c.count++;
    }

    key(c) {
      if (this.keys.length < KEY_QUEUE_MAX) this.keys.push(c);
      if (this.waiter) this.waiter();
    }

    pump() {
      if (!this.keys.length) return 0;
      const c = this.keys.shift();
      this.keyLog.push([this.presentations, c]);
      return c;
    }

    waitEvent(ms) {
      this.suspended();
      return new Promise((resolve) => {
        let timer = 0;
        const done = () => {
          clearTimeout(timer);
          this.waiter = null;
          this.resumed();
          resolve();
        };
        if (this.keys.length) {
          done();
          return;
        }
        timer = setTimeout(done, ms);
        this.waiter = done;
      });
    }

    sleep(ms) {
      this.suspended();
      return new Promise((resolve) => {
        const done = () => {
          this.resumed();
          resolve();
        };
        if (unpaced) nextTask(done);
        else if (ms > 0) setTimeout(done, ms);
        else done();
      });
    }

    pointer() {
      return pointerFrame;
    }

    hideCursor() {
      cursorHidden = true;
      updatePointer();
    }

    audioLoop(bytes) {
      if (this === current) audio.loop(bytes);
    }

    audioStop() {
      if (this === current) audio.stop();
    }

    stage(name) {
      this.stageName = name;
      this.stageFrames = 0;
      this.stages.push([this.presentations, name]);
    }

    // The program has ended (ESC faded it out): a quiet end screen instead of closing anything.
    exit(status) {
      if (this !== current) return;
      this.exitStatus = status;
      current = null;
      audio.stop();
      state = 'ended';
      hasFrame = false;
      redraw();
      updatePointer();
      endScreen.hidden = false;
    }
  }

  // 64-bit FNV-1a of the frame's 0x00RRGGBB words, as the recorder's --hash-each prints it (with its
  // basis 1469598103934665603), in two 32-bit halves.
  function frameHash(rgba) {
    let lo = 0x739d0383, hi = 0x14650fb0;
    for (let i = 0; i < rgba.length; i += 4) {
      lo = (lo ^ (rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2])) >>> 0;
      const low = lo * 0x1b3;
      hi = (Math.imul(hi, 0x1b3) + Math.floor(low / 4294967296) + (lo << 8)) >>> 0;
      lo = low >>> 0;
    }
    return hi.toString(16).padStart(8, '0') + lo.toString(16).padStart(8, '0');
  }

  // Test hook: with unpaced set, presenting and sleeping wait for nothing but the next task, so
  // that frames run back to back, as in the native benchmark (the frames stay the same).
  let unpaced = false;
  const nextTask = (() => {
    const channel = new MessageChannel();
    let pending = null;
    channel.port1.onmessage = () => {
      const f = pending;
      pending = null;
      if (f) f();
    };
    return (f) => {
      pending = f;
      channel.port2.postMessage(0);
    };
  })();

  let programModule = null;     // the compiled program, instantiated afresh for every run

  const reason = (e) => (e && e.message) || String(e);

  function fail(why) {
    if (state === 'failed') return;
    state = 'failed';
    current = null;
    audio.stop();
    console.error('VOXA7100 stopped: ' + why);
    showMessage('The show stopped: ' + why);
  }

  function start() {
    endScreen.hidden = true;
    state = 'loading';
    const session = new Session(++runs);
    current = last = session;
    audio.starts = 0;
    createVoxa({
      page: session,
      instantiateWasm(imports, receive) {
        programModule.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
          .catch((e) => fail(reason(e)));
        return {};
      },
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => fail(reason(what)),
    }).catch((e) => fail(reason(e)));
  }

  function programBytes() {
    const element = $('program-wasm');
    const text = atob(element.textContent);
    element.remove();
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  // ---- Start-up. ----
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function' ||
      typeof createVoxa !== 'function') {
    state = 'no-wasm';
    showMessage('This browser cannot run WebAssembly, which the show needs. ' +
                'Please open this page in a current browser.');
    return;
  }
  watchSize();
  programModule = WebAssembly.compile(programBytes()).catch((e) => {
    throw new Error('this browser cannot run the show\'s WebAssembly, which needs SIMD (' + e.message + ')');
  });
  if (AudioCtor) hint.hidden = false;
  else showNote('This browser has no Web Audio: the show runs without sound.');
  const fullscreenEnabled = document.fullscreenEnabled !== undefined ? document.fullscreenEnabled
    : !!document.webkitFullscreenEnabled;
  fullscreenButton.hidden = !fullscreenEnabled;

  addEventListener('keydown', onKeyDown);
  addEventListener('pointermove', movePointer, { passive: true });
  addEventListener('pointerdown', (e) => {
    movePointer(e);
    audio.unlock();
  });
  addEventListener('pointerup', () => audio.unlock());
  root.addEventListener('pointerleave', () => {
    pointerClient = null;
    updatePointer();
  });
  screen.addEventListener('dblclick', toggleFullscreen);
  fullscreenButton.addEventListener('click', () => {
    toggleFullscreen();
    fullscreenButton.blur();  // so that SPACE goes to the show, not to the button
  });
  document.addEventListener('fullscreenchange', onFullscreenChange);
  document.addEventListener('webkitfullscreenchange', onFullscreenChange);
  endScreen.addEventListener('click', () => {
    audio.unlock();
    start();
  });

  // Test hooks (small, read-only): what the show presented, took and played.
  window.voxa = {
    get state() { return state; },
    get run() { return runs; },
    get presentations() { return last ? last.presentations : 0; },
    get stage() { return last ? last.stageName : ''; },
    get exitStatus() { return last ? last.exitStatus : null; },
    get firstShownMs() { return firstShownMs; },
    get scale() { return view.scale; },
    get unpaced() { return unpaced; },
    set unpaced(on) { unpaced = !!on; },
    stages: () => (last ? last.stages.slice() : []),
    keys: () => (last ? last.keyLog.slice() : []),
    hashes: () => (last ? last.hashes.slice() : []),
    frameHash: () => frameHash(image.data),
    frame() {
      let text = '';
      for (let i = 0; i < image.data.length; i += 8192) text += String.fromCharCode.apply(null, image.data.subarray(i, i + 8192));
      return btoa(text);
    },
    pointer: () => ({ x: pointerFrame.x, y: pointerFrame.y }),
    sound() {
      const s = audio.source;
      const values = s ? Array.from(s.buffer.getChannelData(0), (v) => Math.round(v * 32768)) : null;
      return { context: audio.ctx ? audio.ctx.state : null, starts: audio.starts, looping: !!(s && s.loop),
               rate: s ? s.buffer.sampleRate : 0, values };
    },
    resetCosts() {
      costs.clear();
      presentCosts.total = presentCosts.count = 0;
    },
    costs() {
      const out = {};
      for (const [scene, c] of costs) {
        const n = Math.min(c.count, COST_SAMPLES);
        const sorted = Array.from(c.samples.subarray(0, n)).sort((a, b) => a - b);
        out[scene] = { frames: n, median: sorted[n >> 1], mean: sorted.reduce((a, b) => a + b, 0) / n };
      }
      out.present = { frames: presentCosts.count, mean: presentCosts.total / Math.max(1, presentCosts.count) };
      return out;
    },
  };

  start();
})();
