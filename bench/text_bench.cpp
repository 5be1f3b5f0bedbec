// Text drawing and start-up decoding: one line of 16 hex digits with a 16-unit line font, parsing
// that font, and decoding pictures of the sizes the show embeds.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "raster/img.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"

namespace {

// A 256-block font in 16 units whose hex digits are seven-segment shapes.
std::string seven_segment_font()
{
    static constexpr const char* bars[7] = {"2 1 13 1",  "13 1 13 7",  "13 8 13 14", "2 14 13 14",
                                            "2 8 2 14",  "2 1 2 7",    "2 7 13 7"};
    // Segments a..g of the digits 0-9 and A-F, bit 0 = a.
    static constexpr int shapes[16] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                       0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71};
    std::string text = "# seven-segment test font\nname bench\n";
    for (int code = 0; code < 256; ++code) {
        int digit = -1;
        if (code >= '0' && code <= '9') digit = code - '0';
        if (code >= 'A' && code <= 'F') digit = code - 'A' + 10;
        if (code == 32) text += "{\nname space\ncolor $FFFFFF\n";
        else text += "{\n";
        if (digit >= 0)
            for (int bar = 0; bar < 7; ++bar)
                if (shapes[digit] >> bar & 1) text += std::string("s ") + bars[bar] + "\n";
        text += "}\n";
    }
    return text;
}

void BM_HexLine(benchmark::State& state)
{
    LIST* glyphs = OBJ2D_parse(seven_segment_font().c_str());
    Image* frame = IMG_new();
    IMG_resize(frame, 256, 256);
    LFONT* font = LFONT_new();
    font->glyphs = glyphs;
    font->target = frame;
    font->scale = VEC2D{1, 1, 0};
    uint32_t value = 0x0123ABCD;
    for (auto _ : state) {
        font->pen.x = 0;
        font->pen.y = 16;
        LFONT_draw_hex32(font, value);
        LFONT_draw_hex32(font, ~value);
        value += 0x01010101;
        benchmark::DoNotOptimize(frame->pixels.get());
    }
    state.SetItemsProcessed(state.iterations() * 16);
    LFONT_free(&font);
    IMG_free(&frame);
    OBJ2D_free_set(&glyphs);
}
BENCHMARK(BM_HexLine);

void BM_ParseFont(benchmark::State& state)
{
    const std::string text = seven_segment_font();
    for (auto _ : state) {
        LIST* glyphs = OBJ2D_parse(text.c_str());
        benchmark::DoNotOptimize(glyphs);
        OBJ2D_free_set(&glyphs);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseFont);

std::vector<unsigned char> synthetic_pnm(const std::string& header, std::size_t raster_bytes)
{
    std::vector<unsigned char> data(header.begin(), header.end());
    std::mt19937 rng(1);
    for (std::size_t i = 0; i < raster_bytes; ++i) data.push_back(static_cast<unsigned char>(rng()));
    return data;
}

void decode_loop(benchmark::State& state, const std::vector<unsigned char>& data)
{
    for (auto _ : state) {
        Image* image = IMG_decode_pnm(data.data(), data.size());
        benchmark::DoNotOptimize(image);
        IMG_free(&image);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}

void BM_DecodeP4_512x288(benchmark::State& state)
{
    decode_loop(state, synthetic_pnm("P4\n# mask\n512 288\n", 512 / 8 * 288));
}
BENCHMARK(BM_DecodeP4_512x288);

void BM_DecodeP5_256x256(benchmark::State& state)
{
    decode_loop(state, synthetic_pnm("P5\n# ramp\n256 256\n255\n", 256 * 256));
}
BENCHMARK(BM_DecodeP5_256x256);

}  // namespace
