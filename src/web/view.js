// The canvas's size in device pixels, exact where the browser reports it, and the frame's place
// in it: the frame is drawn into the canvas at a whole scale, so the browser never stretches it.
const View = {
  scale: 1,                     // the frame's whole scale, place and size on the canvas in device pixels
  x: 0,
  y: 0,
  size: 256,

  // The same rule as the desktop's viewport: whole scale of at least 1, centred, the odd pixel
  // right and below.
  fit(width, height) {
    const FRAME = Picture.FRAME;
    View.scale = Math.max(1, Math.min(Math.floor(width / FRAME), Math.floor(height / FRAME)));
    View.size = FRAME * View.scale;
    View.x = Math.floor((width - View.size) / 2);
    View.y = Math.floor((height - View.size) / 2);
  },

  resize(width, height) {
    const screen = Picture.screen;
    if (width < 1 || height < 1 || (width === screen.width && height === screen.height)) return;
    screen.width = width;
    screen.height = height;
    View.fit(width, height);
    Picture.redraw();
    Pointer.update();
    Panel.place();
  },

  // Where the browser reports only CSS pixels.
  resizeFromCss(width, height) {
    View.resize(Math.round(width * devicePixelRatio), Math.round(height * devicePixelRatio));
  },

  watch() {
    const screen = Picture.screen;
    View.resizeFromCss(screen.clientWidth, screen.clientHeight);
    if (typeof ResizeObserver !== 'function') {
      addEventListener('resize', () => View.resizeFromCss(screen.clientWidth, screen.clientHeight));
      return;
    }
    const observer = new ResizeObserver((entries) => {
      const e = entries[entries.length - 1];
      if (e.devicePixelContentBoxSize) {
        View.resize(e.devicePixelContentBoxSize[0].inlineSize, e.devicePixelContentBoxSize[0].blockSize);
      } else {
        View.resizeFromCss(e.contentRect.width, e.contentRect.height);
      }
    });
    try {
      observer.observe(screen, { box: 'device-pixel-content-box' });
    } catch (_) {
      observer.observe(screen);
    }
  },
};
