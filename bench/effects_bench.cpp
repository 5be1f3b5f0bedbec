// Frame-budget benchmarks of the object, line and wave effects, each beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "effects/ball3d.h"
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

}  // namespace
