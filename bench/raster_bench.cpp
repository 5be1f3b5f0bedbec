// Frame-sized raster operations against a plain memcpy of one 256 x 256 frame, the baseline the
// whole-frame primitives are held to, and the post-processing chain as the frame loop runs it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/random.h"
#include "raster/rgb888.h"
#include "raster/img.h"
#include "raster/imgfx.h"

namespace {

constexpr int32_t frame_side = 256;

// A frame of busy random colours; with keyed_half set, about half the pixels are black.
Image* random_frame(bool keyed_half)
{
    Image* image = IMG_new();
    IMG_resize(image, frame_side, frame_side);
    Random* random = RANDOM_new();
    for (int32_t i = 0; i < frame_side * frame_side; ++i) {
        const uint32_t v = RANDOM_next(random);
        image->pixels[i] = keyed_half && (v & 0x100000) ? 0 : (v & 0xFFFFFF) | 1;
    }
    RANDOM_free(&random);
    return image;
}

// Frees the bench images when a benchmark ends.
struct Frames {
    Image* source = random_frame(false);
    Image* target = random_frame(false);
    ~Frames()
    {
        IMG_free(&source);
        IMG_free(&target);
    }
};

void frame_memcpy(benchmark::State& state)
{
    Frames f;
    const std::size_t bytes = sizeof(uint32_t) * frame_side * frame_side;
    for (auto _ : state) {
        std::memcpy(f.target->pixels.get(), f.source->pixels.get(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(frame_memcpy);

void img_fill(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMG_fill(f.target, 0x123456);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(img_fill);

void img_copy(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMG_copy(f.source, f.target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(img_copy);

void img_add(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMG_add(f.target, 0x010203);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(img_add);

void img_sub(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMG_sub(f.target, 0x010203);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(img_sub);

void img_blit_keyed(benchmark::State& state)
{
    Frames f;
    Image* sprite = random_frame(true);
    for (auto _ : state) {
        IMG_blit(sprite, f.target, 0, 0, 0, 0, frame_side, frame_side);
        benchmark::ClobberMemory();
    }
    IMG_free(&sprite);
}
BENCHMARK(img_blit_keyed);

void imgfx_glare(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMGFX_glare(f.source, f.target, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(imgfx_glare);

void imgfx_blur(benchmark::State& state)
{
    Frames f;
    for (auto _ : state) {
        IMGFX_blur(f.source, f.target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(imgfx_blur);

void imgfx_blend_at(benchmark::State& state)
{
    Frames f;
    Image* field = random_frame(true);
    for (auto _ : state) {
        IMGFX_blend_at(field, f.target);
        benchmark::ClobberMemory();
    }
    IMG_free(&field);
}
BENCHMARK(imgfx_blend_at);

void rgb888_to_bgr24(benchmark::State& state)
{
    Frames f;
    std::vector<uint8_t> bitmap(std::size_t{3} * frame_side * frame_side);
    for (auto _ : state) {
        RGB888_to_bgr24(f.source->pixels.get(), frame_side, frame_side, bitmap.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(rgb888_to_bgr24);

// Glare into the glare image, blur into the blur image, then the bitmap conversion.
void postprocess(benchmark::State& state)
{
    Frames f;
    Image* blurred = random_frame(false);
    std::vector<uint8_t> bitmap(std::size_t{3} * frame_side * frame_side);
    for (auto _ : state) {
        IMGFX_glare(f.source, f.target, 3);
        IMGFX_blur(f.target, blurred);
        RGB888_to_bgr24(blurred->pixels.get(), frame_side, frame_side, bitmap.data());
        benchmark::ClobberMemory();
    }
    IMG_free(&blurred);
}
BENCHMARK(postprocess);

}  // namespace
