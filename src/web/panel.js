// The key panel: a button for every key of the show's key table, each pressing its key through the
// show's queue as the keyboard does. A tap on the picture shows it, and it hides after a while
// without a touch; the Keys button beside Fullscreen opens and closes it. It sits in the free space
// below the frame in portrait, beside it in landscape, and covers the frame only where there is no
// room anywhere else.
const Panel = {
  HIDE_MS: 5000,                // shown by a tap, the panel hides after this long without a touch
  GAP: 8,                       // CSS pixels between the keys and the frame or the screen's edge
  panel: document.getElementById('keys-panel'),  // spans the safe area, clear of notches
  keys: document.querySelector('#keys-panel > div'),
  button: document.getElementById('keys-button'),
  bar: document.getElementById('bar'),
  hideTimer: 0,
  armTimer: 0,

  // A finger rather than a mouse, decided by each event: one screen may have both.
  touch: (e) => e.pointerType === 'touch' || e.pointerType === 'pen',

  overlap: (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom,

  // The frame's rectangle on the page, in CSS pixels.
  frame() {
    const screen = Picture.screen;
    const r = screen.getBoundingClientRect();
    const sx = r.width / screen.width, sy = r.height / screen.height;
    return { left: r.left + View.x * sx, top: r.top + View.y * sy,
             right: r.left + (View.x + View.size) * sx, bottom: r.top + (View.y + View.size) * sy };
  },

  // Puts the keys into r (CSS pixels on the page, in the safe area `safe`) less a gap all round;
  // true if they all fit there.
  fits(r, safe) {
    const keys = Panel.keys, gap = Panel.GAP;
    const width = r.right - r.left - 2 * gap, height = r.bottom - r.top - 2 * gap;
    if (width <= 0 || height <= 0) return false;
    Object.assign(keys.style, { left: r.left - safe.left + gap + 'px', top: r.top - safe.top + gap + 'px',
                                width: width + 'px', height: height + 'px' });
    const box = keys.getBoundingClientRect();
    const first = keys.firstElementChild.getBoundingClientRect();
    const last = keys.lastElementChild.getBoundingClientRect();
    return keys.scrollWidth <= keys.clientWidth && first.top >= box.top - 0.5 && last.bottom <= box.bottom + 0.5;
  },

  // The bar in a row, or stacked where a row would cover the frame; the keys where they fit.
  place() {
    const f = Panel.frame(), bar = Panel.bar;
    bar.classList.remove('stacked');
    bar.classList.toggle('stacked', Panel.overlap(bar.getBoundingClientRect(), f));
    if (Panel.panel.hidden) return;
    const safe = Panel.panel.getBoundingClientRect(), b = bar.getBoundingClientRect();
    const below = { left: safe.left, top: f.bottom, right: safe.right, bottom: safe.bottom };
    const right = { left: f.right, top: Math.max(safe.top, b.bottom), right: safe.right, bottom: safe.bottom };
    const left = { left: safe.left, top: safe.top, right: f.left, bottom: safe.bottom };
    const order = safe.height > safe.width ? [below, right, left] : [right, left, below];
    const over = !order.some((r) => Panel.fits(r, safe));
    Panel.keys.classList.toggle('over', over);
    if (over) Panel.fits(safe, safe);
  },

  hide() {
    clearTimeout(Panel.hideTimer);
    Panel.panel.hidden = true;
    Panel.button.setAttribute('aria-expanded', 'false');
  },

  // Shown by a tap, the panel goes again after a while without one; shown otherwise, it stays.
  show(byTouch) {
    const panel = Panel.panel;
    if (panel.hidden) {
      panel.hidden = false;
      Panel.button.setAttribute('aria-expanded', 'true');
      Panel.place();
      if (byTouch) {
        // Keys that appear under a finger take no tap at once, so that a double tap's second tap
        // still reaches the picture beneath.
        panel.classList.add('arming');
        clearTimeout(Panel.armTimer);
        Panel.armTimer = setTimeout(() => panel.classList.remove('arming'), Fullscreen.DOUBLE_MS);
      }
    }
    clearTimeout(Panel.hideTimer);
    if (byTouch) Panel.hideTimer = setTimeout(Panel.hide, Panel.HIDE_MS);
  },

  pressed(e) {
    const key = e.currentTarget;
    key.blur();  // so that SPACE goes to the show, not to the button again
    const c = Keys.named(key.getAttribute('aria-keyshortcuts'));
    // The ESC key in fullscreen first only leaves it; the button ends the show in any case.
    if (c === 0x1b && Fullscreen.element()) Fullscreen.exit();
    Keys.press(c);
  },

  listen() {
    for (const key of Panel.keys.children) {
      key.title = key.getAttribute('aria-label');
      key.addEventListener('click', Panel.pressed);
    }
    Panel.button.addEventListener('click', (e) => {
      Panel.button.blur();
      if (Panel.panel.hidden) Panel.show(Panel.touch(e));
      else Panel.hide();
    });
    // While the panel shows, each touch gives it another while.
    addEventListener('pointerdown', (e) => {
      if (Panel.touch(e) && !Panel.panel.hidden) Panel.show(true);
    });
    Picture.screen.addEventListener('pointerup', (e) => {
      if (Panel.touch(e)) Panel.show(true);
    });
  },

  // The show cannot go on: no keys.
  remove() {
    Panel.hide();
    Panel.button.hidden = true;
  },
};
