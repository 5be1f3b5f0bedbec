// A session: what one instance of the program calls through Module.page (see
// src/backends/web.cpp). Only the running session reaches the page; an ended one is ignored.
class Session {
  constructor(number) {
    this.number = number;
    this.keys = [];
    this.waiter = null;
    this.presentations = 0;
    this.stageName = '';
    this.stageFrames = 0;
    this.stages = [];         // [presentation, stage] as the show began each stretch
    this.keyLog = [];         // [presentations so far, character] as the show took each key
    this.hashes = [];         // hashes of the test hook's first presentations
    this.busy = 0;            // milliseconds the program ran since its last presentation
    this.resumedAt = performance.now();
    this.exitStatus = null;
  }

  suspended() {
    this.busy += performance.now() - this.resumedAt;
  }
  resumed() {
    this.resumedAt = performance.now();
  }

  open(title, width, height) {
    document.title = title;
    return width === Picture.FRAME && height === Picture.FRAME;
  }

  // Shows the frame (canvas bytes) at the moment `at` that the program's hold gives (on an
  // animation frame where onFrames is set), then lets the program go on.
  present(rgba, at, onFrames) {
    this.suspended();
    if (this !== Run.current) return new Promise(() => {});
    const cost = this.busy;
    this.busy = 0;
    return new Promise((resolve) => {
      Pacing.present(at, onFrames, () => this.show(rgba, cost), () => {
        this.resumed();
        resolve();
      });
    });
  }

  show(rgba, cost) {
    const start = performance.now();
    Picture.put(rgba);
    if (Run.state === 'loading') {
      Run.state = 'running';
      Pointer.update();
    }
    Picture.draw();
    Costs.addPresent(performance.now() - start);
    this.presentations++;
    if (this.presentations === 1 && Run.firstShownMs < 0) {
      requestAnimationFrame(() => { Run.firstShownMs = performance.now(); });
    }
    if (this.presentations <= TestHook.HASHED) this.hashes.push(TestHook.hash(rgba));
    this.noteCost(cost);
  }

  // Animation frames a second as the page measures them (0 until known).
  refreshRate() {
    return Pacing.rate();
  }

  noteCost(cost) {
    if (!this.stageName.endsWith(' loop') || ++this.stageFrames <= Costs.WARM_FRAMES) return;
    Costs.add(this.stageName.slice(0, -5), cost);
  }

  key(c) {
    if (this.keys.length < Keys.QUEUE_MAX) this.keys.push(c);
    if (this.waiter) this.waiter();
  }

  pump() {
    if (!this.keys.length) return 0;
    const c = this.keys.shift();
    this.keyLog.push([this.presentations, c]);
    return c;
  }

  waitEvent(ms) {
    this.suspended();
    return new Promise((resolve) => {
      let timer = 0;
      const done = () => {
        clearTimeout(timer);
        this.waiter = null;
        this.resumed();
        resolve();
      };
      if (this.keys.length) {
        done();
        return;
      }
      timer = setTimeout(done, ms);
      this.waiter = done;
    });
  }

  sleep(ms) {
    this.suspended();
    return new Promise((resolve) => {
      Pacing.after(ms, () => {
        this.resumed();
        resolve();
      });
    });
  }

  pointer() {
    return Pointer.frame;
  }

  hideCursor() {
    Pointer.hideCursor();
  }

  audioLoop(bytes) {
    if (this === Run.current) Sound.loop(bytes);
  }

  audioStop() {
    if (this === Run.current) Sound.stop();
  }

  stage(name) {
    this.stageName = name;
    this.stageFrames = 0;
    this.stages.push([this.presentations, name]);
  }

  // The program has ended (ESC faded it out): a quiet end screen instead of closing anything.
  exit(status) {
    if (this !== Run.current) return;
    this.exitStatus = status;
    Run.current = null;
    Sound.stop();
    Run.state = 'ended';
    Picture.clear();
    Pointer.update();
    Panel.hide();
    Notes.end.hidden = false;
  }
}
