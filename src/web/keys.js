// Keys: the unshifted character of the physical key, as the desktop reads it.
const Keys = {
  QUEUE_MAX: 64,                // keys waiting for the show beyond this are dropped
  ESC_AFTER_FULLSCREEN_MS: 250, // an ESC this soon after leaving fullscreen left it

  char(e) {
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
  },

  down(e) {
    if (Run.state !== 'running' && Run.state !== 'loading') return;
    const c = Keys.char(e);
    if (c !== 0x1b) Sound.unlock();
    if (c === 0) return;
    e.preventDefault();
    if (c === 0x1b) {
      // In fullscreen the first ESC leaves fullscreen, as everywhere in the browser.
      if (Fullscreen.element()) {
        Fullscreen.exit();
        return;
      }
      if (performance.now() - Fullscreen.leftAt < Keys.ESC_AFTER_FULLSCREEN_MS) return;
    }
    Keys.press(c);
  },

  // A key for the show, from the keyboard or the key panel: both go through the show's queue.
  press(c) {
    if ((Run.state === 'running' || Run.state === 'loading') && Run.current) Run.current.key(c);
  },

  // The character of a key as aria-keyshortcuts names it ("Escape", "Space", "P", "1").
  named(name) {
    if (name === 'Escape') return 0x1b;
    if (name === 'Space') return 0x20;
    return name.toLowerCase().charCodeAt(0);
  },
};
