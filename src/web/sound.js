// Sound: the looping bar through Web Audio, once a gesture allows it.
const Sound = {
  Context: window.AudioContext || window.webkitAudioContext,
  ctx: null,
  source: null,
  bar: null,        // the current bar, as the program last started it (Float32Array), or null
  starts: 0,        // bars the current run has started (its first is the start-up noise)

  loop(bytes) {
    const count = bytes.length >> 1;
    const bar = new Float32Array(count);
    for (let k = 0; k < count; k++) bar[k] = ((bytes[2 * k] | bytes[2 * k + 1] << 8) << 16 >> 16) / 32768;
    Sound.bar = bar;
    Sound.starts++;
    Sound.play();
  },

  stop() {
    Sound.bar = null;
    Sound.halt();
  },

  halt() {
    if (!Sound.source) return;
    try {
      Sound.source.stop();
    } catch (_) { /* never started */ }
    Sound.source.disconnect();
    Sound.source = null;
  },

  // Plays the current bar from its start, in a loop.
  play() {
    Sound.halt();
    if (!Sound.ctx || !Sound.bar) return;
    const buffer = Sound.ctx.createBuffer(1, Sound.bar.length, 44100);
    if (buffer.copyToChannel) buffer.copyToChannel(Sound.bar, 0);
    else buffer.getChannelData(0).set(Sound.bar);
    const source = Sound.ctx.createBufferSource();
    source.buffer = buffer;
    source.loop = true;
    source.connect(Sound.ctx.destination);
    source.start();
    Sound.source = source;
  },

  // The page is hidden: the sound rests with the picture.
  rest() {
    if (Sound.ctx && Sound.ctx.state === 'running' && Sound.ctx.suspend) Sound.ctx.suspend().catch(() => {});
  },

  // The page is visible again: the sound goes on where it was; where the browser wants a new
  // gesture first (iOS), the hint says so again.
  wake() {
    if (!Sound.ctx || !Sound.ctx.resume) return;
    const refused = () => {
      if (Sound.ctx.state !== 'running') Notes.hint.hidden = false;
    };
    Sound.ctx.resume().then(refused, refused);
  },

  // A click or key: browsers let sound start only now.
  unlock() {
    if (!Sound.Context) return;
    if (!Sound.ctx) {
      try {
        Sound.ctx = new Sound.Context();
      } catch (_) {
        Notes.show('No sound: this browser could not open an audio output.');
        return;
      }
      Notes.hint.hidden = true;
      Sound.play();
    }
    if (Sound.ctx.state !== 'running' && Sound.ctx.resume) {
      Sound.ctx.resume().then(() => { Notes.hint.hidden = true; }, () => {});
    }
  },
};
