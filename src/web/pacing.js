// When a presentation reaches the canvas and the program goes on. The program's hold gives each
// presentation its moment (at most 60 a second): where animation frames come at least 58 times a
// second the presentation lands on the first one at or after that moment; elsewhere (a phone in
// low-power mode, a slow display) a timer lets it go, so the show keeps its pace. Their rate is
// measured all the time the page is visible. While the page is hidden nothing is presented and the
// sound rests; both go on where they were once it is visible again.
// Test hook: with unpaced set, presenting (bypassing the hold) and sleeping wait for nothing but the
// next task, so that frames run back to back, as in the native benchmark (the frames stay the same).
const Pacing = (() => {
  const channel = new MessageChannel();
  let pending = null;
  channel.port1.onmessage = () => {
    const f = pending;
    pending = null;
    if (f) f();
  };
  function nextTask(f) {
    pending = f;
    channel.port2.postMessage(0);
  }

  // The animation frames' rate: the median of the last intervals between them, gaps left out.
  const INTERVALS = 30, MIN_INTERVALS = 10, GAP_MS = 250;
  const intervals = [];
  let lastFrame = -1;
  function probe() {
    const now = performance.now();
    if (lastFrame >= 0 && now - lastFrame < GAP_MS) {
      intervals.push(now - lastFrame);
      if (intervals.length > INTERVALS) intervals.shift();
    }
    lastFrame = now;
    requestAnimationFrame(probe);
  }

  // Presentations and sleeps waiting for the page to be visible again.
  let waiting = [];
  function whenVisible(f) {
    if (document.visibilityState === 'hidden') waiting.push(f);
    else f();
  }
  function visibilityChanged() {
    if (document.visibilityState === 'hidden') {
      Sound.rest();
      return;
    }
    lastFrame = -1;
    Sound.wake();
    const go = waiting;
    waiting = [];
    go.forEach((f) => f());
  }

  return {
    unpaced: false,

    start() {
      requestAnimationFrame(probe);
      document.addEventListener('visibilitychange', visibilityChanged);
    },

    // Animation frames a second, 0 until measured.
    rate() {
      if (intervals.length < MIN_INTERVALS) return 0;
      const sorted = intervals.slice().sort((a, b) => a - b);
      return Math.round(1000 / sorted[sorted.length >> 1]);
    },

    // Calls show() at the presentation's moment (performance.now() milliseconds) on the first
    // animation frame at or after it (onFrames) or by a timer, and then f; always after yielding
    // to the browser at least once.
    present(at, onFrames, show, f) {
      const go = () => whenVisible(() => {
        show();
        f();
      });
      if (Pacing.unpaced) {
        show();
        nextTask(f);
      } else if (onFrames) {
        const frame = () => (performance.now() >= at ? go() : requestAnimationFrame(frame));
        requestAnimationFrame(frame);
      } else {
        const wait = at - performance.now();
        if (wait > 0) setTimeout(go, wait);
        else nextTask(go);
      }
    },

    after(ms, f) {
      if (Pacing.unpaced) nextTask(f);
      else if (ms > 0) setTimeout(f, ms);
      else f();
    },
  };
})();
