// Fullscreen, through the Fullscreen API (absent on iPhones: there the page fills the screen once
// added to the home screen).
const Fullscreen = {
  button: document.getElementById('fullscreen'),
  leftAt: -Infinity,            // when the page last left fullscreen (performance.now())
  DOUBLE_MS: 500,               // a second tap or click on the picture this soon after the first,
  DOUBLE_PX: 32,                // and this near it (CSS pixels), toggles fullscreen
  lastUp: null,                 // the last pointerup on the picture: { at, x, y, type }

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
    Panel.place();
  },

  // A double tap or double-click on the picture, told from pointer events alike in every engine
  // (Firefox makes no dblclick of a double tap) and acted on at the second pointerup, where
  // browsers let a touch go fullscreen.
  pictureUp(e) {
    if (!e.isPrimary || e.button !== 0) return;
    const now = performance.now(), last = Fullscreen.lastUp;
    if (last && last.type === e.pointerType && now - last.at < Fullscreen.DOUBLE_MS &&
        Math.hypot(e.clientX - last.x, e.clientY - last.y) < Fullscreen.DOUBLE_PX) {
      Fullscreen.lastUp = null;  // a third tap begins another double tap
      Fullscreen.toggle();
      return;
    }
    Fullscreen.lastUp = { at: now, x: e.clientX, y: e.clientY, type: e.pointerType };
  },
};
