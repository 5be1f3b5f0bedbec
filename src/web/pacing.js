// When a presentation reaches the canvas and the program goes on. The program's hold gives each
// presentation its moment (at most 60 a second): where animation frames come at least 58 times a
// second the presentation lands on the first one at or after that moment; elsewhere (a phone in
// low-power mode, a slow display) a timer lets it go, so the show keeps its pace. Their rate is
// measured all the time the page is visible. While the page is hidden nothing is presented and the
// sound rests; both go on where they were once it is visible again.
// Test hook: with unpaced set, presenting (bypassing the hold) and sleeping wait for nothing but the
// next task, so that frames run back to back, as in the native benchmark (the frames stay the same).
const Pacing = {
  INTERVALS: 30,                // animation frames' intervals kept for their rate,
  MIN_INTERVALS: 10,            // at least this many before it is known;
  GAP_MS: 250,                  // longer intervals are gaps, left out
  unpaced: false,
  channel: new MessageChannel(),
  pending: null,                // what runs at the next task
  intervals: [],
  lastFrame: -1,
  waiting: [],                  // presentations and sleeps waiting for the page to be visible again

  nextTask(f) {
    Pacing.pending = f;
    Pacing.channel.port2.postMessage(0);
  },

  // The animation frames' rate: the median of the last intervals between them, gaps left out.
  probe() {
    const now = performance.now(), intervals = Pacing.intervals;
    if (Pacing.lastFrame >= 0 && now - Pacing.lastFrame < Pacing.GAP_MS) {
      intervals.push(now - Pacing.lastFrame);
      if (intervals.length > Pacing.INTERVALS) intervals.shift();
    }
    Pacing.lastFrame = now;
    requestAnimationFrame(Pacing.probe);
  },

  whenVisible(f) {
    if (document.visibilityState === 'hidden') Pacing.waiting.push(f);
    else f();
  },

  visibilityChanged() {
    if (document.visibilityState === 'hidden') {
      Sound.rest();
      return;
    }
    Pacing.lastFrame = -1;
    Sound.wake();
    const go = Pacing.waiting;
    Pacing.waiting = [];
    go.forEach((f) => f());
  },

  start() {
    Pacing.channel.port1.onmessage = () => {
      const f = Pacing.pending;
      Pacing.pending = null;
      if (f) f();
    };
    requestAnimationFrame(Pacing.probe);
    document.addEventListener('visibilitychange', Pacing.visibilityChanged);
  },

  // Animation frames a second, 0 until measured.
  rate() {
    if (Pacing.intervals.length < Pacing.MIN_INTERVALS) return 0;
    const sorted = Pacing.intervals.slice().sort((a, b) => a - b);
    return Math.round(1000 / sorted[sorted.length >> 1]);
  },

  // Calls show() at the presentation's moment (performance.now() milliseconds) on the first
  // animation frame at or after it (onFrames) or by a timer, and then f; always after yielding
  // to the browser at least once.
  present(at, onFrames, show, f) {
    const go = () => Pacing.whenVisible(() => {
      show();
      f();
    });
    if (Pacing.unpaced) {
      show();
      Pacing.nextTask(f);
    } else if (onFrames) {
      const frame = () => (performance.now() >= at ? go() : requestAnimationFrame(frame));
      requestAnimationFrame(frame);
    } else {
      const wait = at - performance.now();
      if (wait > 0) setTimeout(go, Math.ceil(wait));  // whole milliseconds, never early
      else Pacing.nextTask(go);
    }
  },

  after(ms, f) {
    if (Pacing.unpaced) Pacing.nextTask(f);
    else if (ms > 0) setTimeout(f, ms);
    else f();
  },
};
