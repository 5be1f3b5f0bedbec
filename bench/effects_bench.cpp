// Frame-budget benchmarks of the object, line and wave effects, each beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "effects/ball3d.h"
#include "effects/partixel.h"
#include "effects/random.h"
#include "raster/img.h"
#include "raster/imgfx.h"

namespace {

Image* frame(int32_t w = 256, int32_t h = 256)
{
    Image* image = IMG_new();
    IMG_resize(image, w, h);
    return image;
}

void BM_FrameMemcpy(benchmark::State& state)
{
    std::vector<uint32_t> a(256 * 256, 1), b(256 * 256);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemcpy);

void BM_Ball127(benchmark::State& state)
{
    Image* work = frame();
    Ball ball;
    ball.x = 128, ball.y = 128, ball.radius = 127, ball.colour = 0x406080, ball.target = work;
    ball.light_x = -7, ball.light_y = 9, ball.light_z = 10;
    for (auto _ : state) {
        BALL3D_draw(&ball);
        benchmark::ClobberMemory();
    }
    IMG_free(&work);
}
BENCHMARK(BM_Ball127)->Unit(benchmark::kMicrosecond);

// The ball frame with the post-processing pass of the show: glare, blur and the fade step.
void BM_Ball127WithPostProcessing(benchmark::State& state)
{
    Image *work = frame(), *glare = frame(), *blur = frame();
    Ball ball;
    ball.x = 128, ball.y = 128, ball.radius = 127, ball.colour = 0x406080, ball.target = work;
    ball.light_x = -7, ball.light_y = 9, ball.light_z = 10;
    for (auto _ : state) {
        BALL3D_draw(&ball);
        IMGFX_glare(work, glare, 2);
        IMGFX_blur(glare, blur);
        IMG_sub(work, 0x101010);
        benchmark::ClobberMemory();
    }
    IMG_free(&work), IMG_free(&glare), IMG_free(&blur);
}
BENCHMARK(BM_Ball127WithPostProcessing)->Unit(benchmark::kMicrosecond);

// The water-and-sparks field: six random white lines and a block of obstacles where the logo
// sits, with rain along the top row and sparks along the bottom row.
struct WaterScene {
    Image* field = frame();
    PARTIXEL* water = PARTIXEL_new();
    PARTIXEL* sparks = PARTIXEL_new();
    Random* rain = RANDOM_new();
    WaterScene()
    {
        RANDOM_seed15(1158689141u);
        water->image = sparks->image = field;
        water->colour = 0x0000FF;
        sparks->colour = 0xFF0000;
        sparks->update = PARTIXEL_sparks;
        for (int n = 0; n < 6; ++n) {
            const int32_t r1 = RANDOM_rand30() % 224, c1 = RANDOM_rand30() % 256;
            const int32_t r0 = RANDOM_rand30() % 224, c0 = RANDOM_rand30() % 256;
            IMG_line(field, c0, r0, c1, r1, 0xFFFFFF);
        }
        for (int32_t r = 128; r < 192; r += 4) IMG_hline(field, r, 64 + (r & 8), 191 - (r & 16), 0xC0C0C0);
        for (int f = 0; f < 300; ++f) step();
    }
    ~WaterScene()
    {
        PARTIXEL_free(&water), PARTIXEL_free(&sparks), RANDOM_free(&rain), IMG_free(&field);
    }
    void step()
    {
        for (int n = 0; n < 16; ++n) IMG_put(field, static_cast<int32_t>(RANDOM_next(rain) % 256), 0, 0x0000FF);
        water->update = PARTIXEL_water_rightward;
        water->update(water);
        water->update = PARTIXEL_water_leftward;
        water->update(water);
        for (int n = 0; n < 45; ++n) IMG_put(field, static_cast<int32_t>(RANDOM_next(rain) % 256), 255, 0xFF0000);
        sparks->update(sparks);
    }
};

void BM_WaterAndSparksFrame(benchmark::State& state)
{
    WaterScene scene;
    for (auto _ : state) {
        scene.step();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WaterAndSparksFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
