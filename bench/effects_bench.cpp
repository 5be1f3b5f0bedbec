// Frame-budget benchmarks of the object, line and wave effects, each beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "base/sine.h"

#include "effects/ball3d.h"
#include "effects/circle.h"
#include "effects/lradial.h"
#include "effects/partixel.h"
#include "base/random.h"
#include "effects/sinedots.h"
#include "effects/sineline.h"
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

// The sixteen wave bands of the radial scene, tallest first.
struct Bands {
    SINELINE* band[16];
    Bands()
    {
        RANDOM_seed15(99);
        for (int i = 15; i >= 0; --i) {
            band[i] = SINELINE_new();
            SINELINE_set_points(band[i], 256);
            band[i]->colour = 0x0000E0;
            band[i]->height = 64 + 4 * i;
            band[i]->y = 256 - band[i]->height;
        }
    }
    ~Bands()
    {
        for (SINELINE*& b : band) SINELINE_free(&b);
    }
    void draw(Image* work)
    {
        for (int i = 15; i >= 0; --i) {
            SINELINE_compute(band[i]);
            SINELINE_draw(band[i], work, 1);
        }
    }
};

void BM_SineBands16(benchmark::State& state)
{
    Image* work = frame();
    Bands bands;
    for (auto _ : state) {
        IMG_fill(work, 0x00A0FF);
        bands.draw(work);
        benchmark::ClobberMemory();
    }
    IMG_free(&work);
}
BENCHMARK(BM_SineBands16)->Unit(benchmark::kMicrosecond);

void BM_Rays17Radius256(benchmark::State& state)
{
    Image* field = frame();
    LRADIAL* rays = LRADIAL_new();
    rays->target = field;
    rays->radius = 256;
    LRADIAL_set_rays(rays, 17);
    for (auto _ : state) {
        LRADIAL_draw(rays);
        LRADIAL_move(rays);
        benchmark::ClobberMemory();
    }
    LRADIAL_free(&rays);
    IMG_free(&field);
}
BENCHMARK(BM_Rays17Radius256)->Unit(benchmark::kMicrosecond);

void BM_SineDots2048(benchmark::State& state)
{
    Image* dots = frame(256, 128);
    SINEDOTS* swarm = SINEDOTS_new();
    SINEDOTS_set_dots(swarm, 2048);
    for (auto _ : state) {
        SINEDOTS_move(swarm);
        SINEDOTS_draw(swarm, dots);
        benchmark::ClobberMemory();
    }
    SINEDOTS_free(&swarm);
    IMG_free(&dots);
}
BENCHMARK(BM_SineDots2048)->Unit(benchmark::kMicrosecond);

// One frame of the radial scene's effects: bands, field clear, two ray sets, the field blend,
// the dots, their mask and their blend.
void BM_RadialScene(benchmark::State& state)
{
    Image *work = frame(), *field = frame(), *dots = frame(256, 128), *mask = frame(256, 128);
    IMG_fill(mask, 0xFFFFFF);
    Bands bands;
    LRADIAL* a = LRADIAL_new();
    LRADIAL* b = LRADIAL_new();
    a->target = b->target = field;
    LRADIAL_set_rays(a, 17), LRADIAL_set_rays(b, 13);
    a->y = b->y = 64;
    SINEDOTS* swarm = SINEDOTS_new();
    SINEDOTS_set_dots(swarm, 2048);
    int n = 0;
    for (auto _ : state) {
        IMG_fill(work, 0x00A0FF);
        bands.draw(work);
        IMG_fill(field, 0);
        LRADIAL_move(a), LRADIAL_draw(a);
        a->radius = 256 - (SINE_at((15 * n) % 512) >> 7);
        LRADIAL_move(b), LRADIAL_draw(b);
        b->radius = 128 - (SINE_at((21 * n) % 512) >> 8);
        IMGFX_blend_at(field, work);
        SINEDOTS_move(swarm), SINEDOTS_draw(swarm, dots);
        IMG_and(mask, dots);
        IMGFX_blend_at(dots, work);
        ++n;
        benchmark::ClobberMemory();
    }
    LRADIAL_free(&a), LRADIAL_free(&b), SINEDOTS_free(&swarm);
    IMG_free(&work), IMG_free(&field), IMG_free(&dots), IMG_free(&mask);
}
BENCHMARK(BM_RadialScene)->Unit(benchmark::kMicrosecond);

// The circles scene's drawing: 120 bubbles of radius 2 to 16, each an outline plus a highlight
// disc of a quarter of its radius, up and to the left.
void BM_Circles120(benchmark::State& state)
{
    Image* work = frame();
    RANDOM_seed15(7);
    CIRCLE* bubble[120];
    for (CIRCLE*& b : bubble) {
        b = CIRCLE_new();
        b->centre->x = RANDOM_rand30() % 256;
        b->centre->y = RANDOM_rand30() % 256;
        b->radius = RANDOM_rand30() % 15 + 2;
        b->colour = (static_cast<uint32_t>(RANDOM_rand30()) & 0x7F7F7F) + 0x808080;
    }
    CIRCLE* scratch = CIRCLE_new();
    for (auto _ : state) {
        IMG_fill(work, 0);
        for (int i = 119; i >= 0; --i) {
            CIRCLE_copy(bubble[i], scratch);
            scratch->colour += 0x808080;
            CIRCLE_draw(scratch, work);
            scratch->radius >>= 1;
            scratch->centre->x -= scratch->radius;
            scratch->centre->y -= scratch->radius;
            scratch->radius >>= 1;
            CIRCLE_fill(scratch, work);
        }
        benchmark::ClobberMemory();
    }
    for (CIRCLE*& b : bubble) CIRCLE_free(&b);
    CIRCLE_free(&scratch);
    IMG_free(&work);
}
BENCHMARK(BM_Circles120)->Unit(benchmark::kMicrosecond);

// Outline and full disc of all 120 bubbles at their own radius.
void BM_Circles120FullDiscs(benchmark::State& state)
{
    Image* work = frame();
    RANDOM_seed15(7);
    CIRCLE* bubble[120];
    for (CIRCLE*& b : bubble) {
        b = CIRCLE_new();
        b->centre->x = RANDOM_rand30() % 256;
        b->centre->y = RANDOM_rand30() % 256;
        b->radius = RANDOM_rand30() % 15 + 2;
    }
    for (auto _ : state) {
        for (int i = 119; i >= 0; --i) {
            CIRCLE_draw(bubble[i], work);
            CIRCLE_fill(bubble[i], work);
        }
        benchmark::ClobberMemory();
    }
    for (CIRCLE*& b : bubble) CIRCLE_free(&b);
    IMG_free(&work);
}
BENCHMARK(BM_Circles120FullDiscs)->Unit(benchmark::kMicrosecond);

}  // namespace
