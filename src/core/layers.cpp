#include "core/layers.h"

#include "core/demo.h"
#include "base/sine.h"
#include "raster/rgb888.h"
#include "vector/disty.h"
#include "vector/scroll.h"

// Grey shine profiles of one bar.
static constexpr uint32_t shine16[16] = {0x000000, 0x606060, 0xA0A0A0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0,
                                         0xF0F0F0, 0xFFFFFF, 0xFFFFFF, 0xF0F0F0, 0xE0E0E0, 0xD0D0D0,
                                         0xC0C0C0, 0xA0A0A0, 0x606060, 0x000000};
static constexpr uint32_t shine32[32] = {
    0x404040, 0x606060, 0x707070, 0x808080, 0x909090, 0xA0A0A0, 0xA8A8A8, 0xC0C0C0, 0xC8C8C8, 0xD0D0D0, 0xD8D8D8,
    0xE0E0E0, 0xE8E8E8, 0xF0F0F0, 0xF8F8F8, 0xFFFFFF, 0xFFFFFF, 0xF8F8F8, 0xF0F0F0, 0xE8E8E8, 0xE0E0E0, 0xD8D8D8,
    0xD0D0D0, 0xC8C8C8, 0xC0C0C0, 0xA8A8A8, 0xA0A0A0, 0x909090, 0x808080, 0x707070, 0x606060, 0x404040};

static constexpr int32_t letters_x = 176;
static constexpr int32_t letters_base = 240;

static struct {
    Image* text_strip = nullptr;    // 288 x 32: the scroll text of the current frame
    Image* colour_strip = nullptr;  // 288 x 32: the bars the text is ANDed with
    SCROLL* scroller = nullptr;
    DISTY* distorter = nullptr;
    Raster* shared_raster = nullptr;
    SAMPLE* wave_colours = nullptr;
    Raster* wave_raster = nullptr;
    int32_t wave_spacing = 0;
    int32_t wave_count = 0;
} layers;

static uint32_t ramp(int32_t i) { return static_cast<uint32_t>(SAMPLE_get(demo.assets.colour_ramp, i)); }

static Image* new_strip()
{
    Image* strip = IMG_new();
    IMG_resize(strip, 288, 32);
    return strip;
}

void demo_scroll_setup()
{
    if (!layers.text_strip) {
        layers.text_strip = new_strip();
        layers.colour_strip = new_strip();
    }
    if (demo.assets.scroll_font16) demo.assets.scroll_font16->target = layers.text_strip;
    if (!layers.scroller) {
        layers.scroller = SCROLL_new();
        SCROLL_bind(layers.scroller, demo_scroll_text, demo.assets.scroll_font32, layers.text_strip);
        if (layers.scroller) layers.scroller->speed = 4;
    }
    if (!layers.distorter) {
        layers.distorter = DISTY_new();
        if (layers.distorter) {
            layers.distorter->source = layers.text_strip;
            layers.distorter->amplitude = 64;
            layers.distorter->y = 192;
            layers.distorter->wave.offset_step = 3;
            layers.distorter->wave.speed = 25;
        }
    }
}

void demo_scroll_draw()
{
    if (!layers.scroller) return;
    IMG_fill(layers.text_strip, 0);
    SCROLL_move(layers.scroller);
    SCROLL_draw(layers.scroller);
    IMG_and(layers.colour_strip, layers.text_strip);
    if (layers.distorter) {
        DISTY_draw(layers.distorter, demo.work);
        DISTY_advance(layers.distorter);
    } else {
        IMG_blit(layers.text_strip, demo.work, 0, 0, 0, 176, 256, 32);
    }
}

void demo_rasters_setup_wide()
{
    if (!layers.shared_raster) {
        layers.shared_raster = RASTER_new();
        RASTER_resize(layers.shared_raster, 1536);
        if (layers.shared_raster && layers.shared_raster->colours)
            for (int32_t i = 0; i < 1536; i += 32)
                for (int32_t j = 0; j < 32; ++j)
                    layers.shared_raster->colours[i + j] = RGB888_average(shine32[j], RGB888_add_grey(ramp(i + j), 64));
    }
    if (layers.shared_raster) layers.shared_raster->speed = -0x20000;
}

void demo_rasters_setup()
{
    if (!layers.shared_raster) {
        layers.shared_raster = RASTER_new();
        RASTER_resize(layers.shared_raster, 1536);
        if (layers.shared_raster && layers.shared_raster->colours)
            for (int32_t i = 0; i < 1536; i += 16)
                for (int32_t j = 0; j < 16; ++j)
                    layers.shared_raster->colours[i + j] = RGB888_average(shine16[j], ramp((4 * i + j) % 1536));
    }
    if (layers.shared_raster) layers.shared_raster->speed = -0x10000;
}

void demo_wave_rasters_setup()
{
    if (!layers.wave_colours) {
        layers.wave_colours = SAMPLE_new();
        for (int32_t s = 0; s < 1536; s += 16)
            for (int32_t i = 0; i < 16; ++i)
                SAMPLE_append(layers.wave_colours, static_cast<int32_t>(RGB888_average(shine16[i], ramp(s + i))));
    }
    if (!layers.wave_raster) {
        layers.wave_raster = RASTER_new();
        RASTER_resize(layers.wave_raster, frame_height);
        if (layers.wave_raster) layers.wave_raster->speed = 0x20000;
    }
    const int32_t a = RANDOM_rand15() % 20;
    layers.wave_spacing = a + 8;
    layers.wave_count = 40 - a;
}

void demo_rasters_draw()
{
    if (!layers.shared_raster) return;
    RASTER_step(layers.shared_raster);
    RASTER_draw_columns(layers.shared_raster, layers.colour_strip);
}

void demo_letters_layer()
{
    LFONT* w = demo.assets.writer16;
    if (!w || !demo.timer) return;
    const uint32_t f = static_cast<uint32_t>(demo.timer->frame_count);
    static constexpr char letters[4] = {'V', 'O', 'X', 'A'};
    w->angle = 0;
    w->scale.x = w->scale.y = 1;
    w->pen.x = letters_x;
    for (uint32_t k = 0; k < 4; ++k) {
        LFONT_set_colour(w, ramp(static_cast<int32_t>((f + 192 - 64 * k) % 1536)));
        w->pen.y = letters_base - (SINE_table[(17 * f + 96 - 32 * k) & 511] >> 10);
        w->code = letters[k];
        LFONT_draw_char(w);
    }
}
