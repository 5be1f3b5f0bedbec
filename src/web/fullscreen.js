// Fullscreen, through the Fullscreen API.
const Fullscreen = {
  button: document.getElementById('fullscreen'),
  leftAt: -Infinity,            // when the page last left fullscreen (performance.now())

  element: () => document.fullscreenElement || document.webkitFullscreenElement || null,

  enabled: () => (document.fullscreenEnabled !== undefined ? document.fullscreenEnabled
    : !!document.webkitFullscreenEnabled),

  exit() {
    const exit = document.exitFullscreen || document.webkitExitFullscreen;
    if (!exit) return;
    const p = exit.call(document);
    if (p && p.catch) p.catch(() => {});
  },

  toggle() {
    if (Fullscreen.element()) {
      Fullscreen.exit();
      return;
    }
    const root = document.documentElement;
    const request = root.requestFullscreen || root.webkitRequestFullscreen;
    if (!request) return;
    const p = request.call(root);
    if (p && p.catch) p.catch(() => {});
  },

  changed() {
    const on = !!Fullscreen.element();
    if (!on) Fullscreen.leftAt = performance.now();
    Fullscreen.button.textContent = on ? 'Exit fullscreen' : 'Fullscreen';
  },
};
