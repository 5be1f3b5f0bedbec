// What frames cost in each scene's loop (the program's own time between presentations) and what
// presenting costs, for the test hook.
const Costs = {
  WARM_FRAMES: 100,             // frames of each scene run left out of its frame costs
  SAMPLES: 4096,                // frame costs kept per scene
  scenes: new Map(),            // scene name -> { samples: Float64Array, count }
  present: { total: 0, count: 0 },

  add(scene, cost) {
    let c = Costs.scenes.get(scene);
    if (!c) Costs.scenes.set(scene, c = { samples: new Float64Array(Costs.SAMPLES), count: 0 });
    c.samples[c.count % Costs.SAMPLES] = cost;
    c.count++;
  },

  addPresent(ms) {
    Costs.present.total += ms;
    Costs.present.count++;
  },

  reset() {
    Costs.scenes.clear();
    Costs.present.total = Costs.present.count = 0;
  },

  report() {
    const out = {};
    for (const [scene, c] of Costs.scenes) {
      const n = Math.min(c.count, Costs.SAMPLES);
      const sorted = Array.from(c.samples.subarray(0, n)).sort((a, b) => a - b);
      out[scene] = { frames: n, median: sorted[n >> 1], mean: sorted.reduce((a, b) => a + b, 0) / n };
    }
    const present = Costs.present;
    out.present = { frames: present.count, mean: present.total / Math.max(1, present.count) };
    return out;
  },
};
