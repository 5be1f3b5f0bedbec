// When the program goes on after presenting or sleeping. Test hook: with unpaced set, it waits for
// nothing but the next task, so that frames run back to back, as in the native benchmark (the
// frames stay the same).
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

  return {
    unpaced: false,

    // After a presentation: the browser's next animation frame.
    afterFrame(f) {
      if (Pacing.unpaced) nextTask(f);
      else requestAnimationFrame(f);
    },

    after(ms, f) {
      if (Pacing.unpaced) nextTask(f);
      else if (ms > 0) setTimeout(f, ms);
      else f();
    },
  };
})();
