// The show as it runs: the cost of one frame of each scene in its steady state (its drawing, the
// layers, the overlays and the post-processing; no pacing), and start-up asset decoding.
//
// The scenes are timed inside one headless run of the show: every presentation is time-stamped
// with the wall clock, and the time between two presentations of a scene's frame loop is one
// frame's cost. The virtual clock makes the pacing cost nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "assets/embedded.h"
#include "core/demo.h"
#include "backends/headless.h"
#include "vector/obj2d.h"

namespace {

struct StopShow {};

// Per-frame costs in seconds of each scene of the first pass, measured once per process.
struct SceneTimes {
    std::vector<double> radial, bicolour, ball, circles, water;
};

const SceneTimes& scene_times()
{
    static SceneTimes times;
    static bool measured = false;
    if (measured) return times;
    measured = true;
    // Start-up presents the loading picture and 96 waveforms; then each scene's fade-out and loop.
    const int64_t startup = 97, radial = startup + 32, bicolour = radial + 1000 + 32, ball = bicolour + 750,
                  circles = ball + 750 + 32, water = circles + 750, end = water + 1500;
    std::vector<double> stamps;
    stamps.reserve(static_cast<std::size_t>(end) + 1);
    HEADLESS_set_sink([&](const HeadlessFrame& f) {
        stamps.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count());
        if (f.number + 1 >= end) throw StopShow{};
    });
    try {
        demo_main();
    } catch (const StopShow&) {
    }
    // Steady state: skip the first 100 frames of each scene (objects warming up, water filling).
    auto take = [&](int64_t first, int64_t count, std::vector<double>& out) {
        for (int64_t i = first + 100; i < first + count && i < static_cast<int64_t>(stamps.size()); ++i)
            out.push_back(stamps[static_cast<std::size_t>(i)] - stamps[static_cast<std::size_t>(i - 1)]);
    };
    take(radial, 1000, times.radial);
    take(bicolour, 750, times.bicolour);
    take(ball, 750, times.ball);
    take(circles, 750, times.circles);
    take(water, 1500, times.water);
    return times;
}

void report(benchmark::State& state, const std::vector<double>& samples)
{
    std::size_t i = 0;
    for (auto _ : state) {
        state.SetIterationTime(samples[i]);
        i = (i + 1) % samples.size();
    }
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    state.counters["median_us"] = sorted[sorted.size() / 2] * 1e6;
    state.counters["frames_per_s"] = 1.0 / sorted[sorted.size() / 2];
}

void BM_SceneRadialFrame(benchmark::State& state) { report(state, scene_times().radial); }
void BM_SceneBicolourFrame(benchmark::State& state) { report(state, scene_times().bicolour); }
void BM_SceneBallFrame(benchmark::State& state) { report(state, scene_times().ball); }
void BM_SceneCirclesFrame(benchmark::State& state) { report(state, scene_times().circles); }
void BM_SceneWaterFrame(benchmark::State& state) { report(state, scene_times().water); }
BENCHMARK(BM_SceneRadialFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneBicolourFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneBallFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneCirclesFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneWaterFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Decoding every embedded picture and parsing the three line-drawing texts, as start-up does.
void BM_StartupAssets(benchmark::State& state)
{
    static const char* const images[] = {"splash.pbm",       "radial.pbm",       "scroll_font16.pgm", "scroll_font32.pbm",
                                         "stack_font_a.ppm", "stack_font_b.ppm", "logo.ppm",          "mouse.ppm"};
    static const char* const texts[] = {"font8.obj2d", "font16.obj2d", "pictures.obj2d"};
    for (auto _ : state) {
        for (const char* name : images) {
            const EmbeddedAsset* a = EMBEDDED_find(name);
            Image* image = IMG_decode_pnm(a->data, a->size);
            benchmark::DoNotOptimize(image);
            IMG_free(&image);
        }
        for (const char* name : texts) {
            LIST* set = OBJ2D_parse(reinterpret_cast<const char*>(EMBEDDED_find(name)->data));
            benchmark::DoNotOptimize(set);
            OBJ2D_free_set(&set);
        }
    }
}
BENCHMARK(BM_StartupAssets)->Unit(benchmark::kMillisecond);

}  // namespace
