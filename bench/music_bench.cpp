// Start-up cost of the song and the cost of one music switch at a scene start.
#include <benchmark/benchmark.h>

#include "audio/winsnd.h"
#include "core/song.h"
#include "base/random.h"
#include "backends/headless.h"
#include "raster/img.h"

namespace {

struct SongFixture {
    Image* work = IMG_new();
    WINSND* player = nullptr;
    SongFixture()
    {
        HEADLESS_reset();
        IMG_resize(work, 256, 256);
        player = WINSND_new();
        demo_set_sound_player(player);
    }
    ~SongFixture()
    {
        demo_song_release();
        demo_set_sound_player(nullptr);
        WINSND_free(&player);
        IMG_free(&work);
    }
};

// The whole bank of 96 sounds, each drawn into the work image, and the first bar; no window.
void BM_compose_song(benchmark::State& state)
{
    SongFixture fixture;
    for (auto _ : state) {
        RANDOM_seed15(0x45103175);
        demo_compose_song(nullptr, fixture.work);
        benchmark::DoNotOptimize(demo_music()->bar->data[0]);
    }
}
BENCHMARK(BM_compose_song)->Unit(benchmark::kMillisecond);

// One switch: four patterns mixed into the bar and the loop restarted.
void BM_music_switch(benchmark::State& state)
{
    SongFixture fixture;
    RANDOM_seed15(0x45103175);
    demo_compose_song(nullptr, fixture.work);
    for (auto _ : state) {
        // The headless backend keeps a copy of every loop started; drop them outside the timing.
        state.PauseTiming();
        HEADLESS_reset();
        state.ResumeTiming();
        demo_music_switch();
        benchmark::DoNotOptimize(demo_music()->bar->data[0]);
    }
}
BENCHMARK(BM_music_switch)->Unit(benchmark::kMicrosecond);

}  // namespace
