// The picture: the program's frame drawn at the largest whole scale that fits, centred on black.
const Picture = (() => {
  const FRAME = 256;            // the program's frame is FRAME x FRAME pixels
  const screen = document.getElementById('screen');
  const ctx = screen.getContext('2d', { alpha: false });
  const frameCanvas = document.createElement('canvas');
  frameCanvas.width = frameCanvas.height = FRAME;
  const frameCtx = frameCanvas.getContext('2d');
  let image = frameCtx.createImageData(FRAME, FRAME);  // on the program's canvas bytes once it presents
  let hasFrame = false;

  function draw() {
    ctx.imageSmoothingEnabled = false;
    ctx.drawImage(frameCanvas, View.x, View.y, View.size, View.size);
  }

  function redraw() {
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, screen.width, screen.height);
    if (hasFrame && Run.state === 'running') draw();
  }

  return {
    FRAME,
    screen,
    get image() { return image; },
    draw,
    redraw,

    // Takes the program's frame (canvas bytes); draw() shows it.
    put(rgba) {
      // The image data stands on the program's own buffer (made again only if that moves).
      if (image.data.buffer !== rgba.buffer || image.data.byteOffset !== rgba.byteOffset) {
        image = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.length), FRAME, FRAME);
      }
      frameCtx.putImageData(image, 0, 0);
      hasFrame = true;
    },

    // The run has ended: black, with no frame to draw on a resize.
    clear() {
      hasFrame = false;
      redraw();
    },
  };
})();
