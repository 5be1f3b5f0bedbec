// SAMDRAW: the waveform strokes against a per-pixel reference, the range rules and the markers.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "audio/sam.h"
#include "audio/samdraw.h"
#include "base/random.h"
#include "raster/img.h"

namespace {

struct Scene {
    Image* image = IMG_new();
    SAMPLE* sound = SAMPLE_new();
    SAM* holder = SAM_new();
    SAMDRAW* drawer = SAMDRAW_new();
    Scene(int32_t w, int32_t h, const std::vector<int32_t>& values)
    {
        IMG_resize(image, w, h);
        SAMPLE_set_length(sound, static_cast<int32_t>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i) sound->data[i] = values[i];
        SAM_set_sample(holder, sound);
        drawer->source = holder;
        drawer->target = image;
        drawer->background = 0x102030;
        drawer->wave_colour = 0xFF0001;
        drawer->marker_colour = 0x0100FF;
        drawer->first = 0;
        drawer->last = static_cast<int32_t>(values.size()) - 1;
    }
    ~Scene()
    {
        SAMDRAW_free(&drawer);
        SAM_free(&holder);
        SAMPLE_free(&sound);
        IMG_free(&image);
    }
    uint32_t at(int32_t x, int32_t y) const { return IMG_get(image, x, y); }
};

// The waveform pixel by pixel, straight from its definition.
std::vector<uint32_t> reference(const Image* image, const std::vector<int32_t>& v, int32_t first, int32_t last,
                                uint32_t background, uint32_t colour)
{
    const int32_t w = image->width, h = image->height, n = static_cast<int32_t>(v.size());
    std::vector<uint32_t> px(static_cast<std::size_t>(w * h), background);
    if (first < 0) first = 0;
    if (last >= n) last = n - 1;
    if (first > last) std::swap(first, last);
    const int64_t step = n > w ? int64_t{n / w} * 65536 : int64_t{n} * 65536 / w;
    const int32_t half = h / 2;
    int64_t index = first, fraction = 0;
    for (int32_t x = 0; x < w && index <= last; ++x) {
        const int32_t value = index >= 0 && index < n ? v[static_cast<std::size_t>(index)] : 0;
        const int32_t end = half + static_cast<int32_t>((int64_t{half} * value) >> 15);
        for (int32_t y = 0; y < h; ++y)
            if ((y >= half && y <= end) || (y <= half && y >= end)) px[static_cast<std::size_t>(x + y * w)] = colour;
        fraction += step;
        index += fraction / 65536;
        fraction %= 65536;
    }
    return px;
}

}  // namespace

TEST(Samdraw, StrokesMatchThePerPixelDefinition)
{
    RANDOM_seed15(31);
    for (int32_t round = 0; round < 40; ++round) {
        const int32_t w = 1 + RANDOM_rand15() % 300, h = 1 + RANDOM_rand15() % 90;
        const int32_t n = 1 + RANDOM_rand15() % (round % 2 ? 2000 : 200);
        std::vector<int32_t> v(static_cast<std::size_t>(n));
        for (int32_t& x : v) x = RANDOM_rand15() * 2 - 32768;
        Scene scene(w, h, v);
        scene.drawer->first = RANDOM_rand15() % (n + 20) - 10;
        scene.drawer->last = RANDOM_rand15() % (n + 20) - 10;
        const auto expected = reference(scene.image, v, scene.drawer->first, scene.drawer->last, 0x102030, 0xFF0001);
        SAMDRAW_draw(scene.drawer);
        ASSERT_EQ(std::vector<uint32_t>(scene.image->pixels.get(), scene.image->pixels.get() + w * h), expected)
            << "round " << round << ": " << w << " x " << h << ", n = " << n;
    }
}

TEST(Samdraw, RangeScaleAndSilence)
{
    // 100 values over 256 columns advance 25600 / 65536 of a value per column.
    std::vector<int32_t> v(100, 0);
    v[1] = 32767;
    Scene slow(256, 256, v);
    SAMDRAW_draw(slow.drawer);
    // Column 3 is the first to reach value 1 (3 x 25600 >= 65536): full scale reaches row 255.
    EXPECT_EQ(slow.at(2, 200), 0x102030u);
    EXPECT_EQ(slow.at(3, 255), 0xFF0001u);
    EXPECT_EQ(slow.at(5, 255), 0xFF0001u);
    EXPECT_EQ(slow.at(6, 255), 0x102030u);

    // A silent sound is one row along the centre line; first > last is exchanged, and 125 values
    // a column cover 100 .. 500 in four columns.
    Scene silent(8, 6, std::vector<int32_t>(1000, 0));
    silent.drawer->first = 500;
    silent.drawer->last = 100;
    SAMDRAW_draw(silent.drawer);
    EXPECT_EQ(silent.drawer->first, 100);
    EXPECT_EQ(silent.drawer->last, 500);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(silent.at(x, y), y == 3 && x < 4 ? 0xFF0001u : 0x102030u) << x << "," << y;

    // Full-scale negative reaches row 0.
    Scene low(1, 256, {-32768});
    SAMDRAW_draw(low.drawer);
    EXPECT_EQ(low.at(0, 0), 0xFF0001u);

    // No sample: the background is drawn and the failure reported.
    Scene none(4, 4, {1});
    none.holder->sample = nullptr;
    const long before = SAMDRAW_report().count;
    SAMDRAW_draw(none.drawer);
    SAMDRAW_mark_extremes(none.drawer);
    EXPECT_EQ(SAMDRAW_report().count - before, 2);
    EXPECT_EQ(none.at(3, 3), 0x102030u);
}

TEST(Samdraw, MarkersStandAtTheFirstExtremesOfTheWholeSound)
{
    // The maximum 20000 occurs at 2 and 6, the minimum at 5; columns are i * 8 / 8.
    Scene scene(8, 64, {0, 100, 20000, 0, 0, -16384, 20000, 0});
    scene.drawer->first = 3;  // the markers ignore the range
    scene.drawer->last = 99;
    IMG_fill(scene.image, 0);
    SAMDRAW_mark_extremes(scene.drawer);
    EXPECT_EQ(scene.drawer->last, 7);
    EXPECT_EQ(scene.at(2, 32), 0x0100FFu);
    EXPECT_EQ(scene.at(2, 41), 0x0100FFu);  // 32 + (32 x 20000 >> 15) = 51
    EXPECT_EQ(scene.at(2, 51), 0x0100FFu);
    EXPECT_EQ(scene.at(2, 52), 0u);
    EXPECT_EQ(scene.at(6, 40), 0u);
    EXPECT_EQ(scene.at(5, 16), 0x0100FFu);
    EXPECT_EQ(scene.at(5, 15), 0u);
}
