// Test hooks (small, read-only): what the show presented, took and played.
const TestHook = {
  HASHED: 200,                  // presentations of each run whose hashes the hook keeps

  // 64-bit FNV-1a of the frame's 0x00RRGGBB words, as the recorder's --hash-each prints it (with
  // its basis 1469598103934665603), in two 32-bit halves.
  hash(rgba) {
    let lo = 0x739d0383, hi = 0x14650fb0;
    for (let i = 0; i < rgba.length; i += 4) {
      lo = (lo ^ (rgba[i] << 16 | rgba[i + 1] << 8 | rgba[i + 2])) >>> 0;
      const low = lo * 0x1b3;
      hi = (Math.imul(hi, 0x1b3) + Math.floor(low / 4294967296) + (lo << 8)) >>> 0;
      lo = low >>> 0;
    }
    return hi.toString(16).padStart(8, '0') + lo.toString(16).padStart(8, '0');
  },

  install() {
    window.voxa = {
      get state() { return Run.state; },
      get run() { return Run.runs; },
      get presentations() { return Run.last ? Run.last.presentations : 0; },
      get stage() { return Run.last ? Run.last.stageName : ''; },
      get exitStatus() { return Run.last ? Run.last.exitStatus : null; },
      get firstShownMs() { return Run.firstShownMs; },
      get scale() { return View.scale; },
      get unpaced() { return Pacing.unpaced; },
      set unpaced(on) { Pacing.unpaced = !!on; },
      stages: () => (Run.last ? Run.last.stages.slice() : []),
      keys: () => (Run.last ? Run.last.keyLog.slice() : []),
      hashes: () => (Run.last ? Run.last.hashes.slice() : []),
      frameHash: () => TestHook.hash(Picture.image.data),
      frame: () => TestHook.frame(),
      pointer: () => ({ x: Pointer.frame.x, y: Pointer.frame.y }),
      sound: () => TestHook.sound(),
      resetCosts: () => Costs.reset(),
      costs: () => Costs.report(),
    };
  },

  // The last frame's canvas bytes, base64.
  frame() {
    const data = Picture.image.data;
    let text = '';
    for (let i = 0; i < data.length; i += 8192) text += String.fromCharCode.apply(null, data.subarray(i, i + 8192));
    return btoa(text);
  },

  sound() {
    const s = Sound.source;
    const values = s ? Array.from(s.buffer.getChannelData(0), (v) => Math.round(v * 32768)) : null;
    return { context: Sound.ctx ? Sound.ctx.state : null, starts: Sound.starts, looping: !!(s && s.loop),
             rate: s ? s.buffer.sampleRate : 0, values };
  },
};
