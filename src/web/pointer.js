// The pointer, in frame pixels (floor division, so left of or above the frame is negative).
const Pointer = (() => {
  const NONE = -32768;          // frame position reported while the pointer is not over the page
  let client = null;            // { x, y } in CSS pixels while the pointer is over the page
  let cursorHidden = false;     // the program hid the system cursor over its picture
  const frame = { x: NONE, y: NONE };

  function update() {
    let inside = false;
    if (client && Run.state === 'running') {
      const screen = Picture.screen;
      const r = screen.getBoundingClientRect();
      const dx = Math.floor((client.x - r.left) * screen.width / r.width);
      const dy = Math.floor((client.y - r.top) * screen.height / r.height);
      frame.x = Math.floor((dx - View.x) / View.scale);
      frame.y = Math.floor((dy - View.y) / View.scale);
      inside = frame.x >= 0 && frame.x < Picture.FRAME && frame.y >= 0 && frame.y < Picture.FRAME;
    } else {
      frame.x = frame.y = NONE;
    }
    Picture.screen.classList.toggle('nocursor', cursorHidden && inside);
  }

  return {
    frame,                      // the program reads this one object
    update,

    // The sprite follows a mouse only: a finger lifted would leave it behind under the trails.
    move(e) {
      if (e.pointerType !== 'mouse') return;
      client = { x: e.clientX, y: e.clientY };
      update();
    },

    leave(e) {
      if (e.pointerType !== 'mouse') return;
      client = null;
      update();
    },

    hideCursor() {
      cursorHidden = true;
      update();
    },
  };
})();
