// Scene: bicolour lines. A fan of gradient lines weaves like a ribbon on black, each line running
// from one hue to the hue a third of the circle further; the logo swings across half-transparently.
#include "core/demo.h"
#include "core/layers.h"
#include "base/sine.h"
#include "core/song.h"
#include "raster/imgfx.h"

static struct {
    int32_t phase[4] = {};  // sine phases of the first line: start x, start y, end x, end y
    int32_t speed[4] = {};  // added to each phase after every frame
    int32_t step[4] = {};   // added to each phase from one line to the next
    int32_t count = 0;      // lines count .. 0 are drawn
} bicolour;

// Thirteen draws in this order; the order decides every later random choice of the show.
static void scene_bicolour_randomise()
{
    for (int k = 0; k < 4; ++k) {
        bicolour.phase[k] = RANDOM_rand15() & 1023;
        bicolour.speed[k] = (RANDOM_rand15() & 7) + 1;
        bicolour.step[k] = (RANDOM_rand15() & 7) + 3;
    }
    bicolour.count = (RANDOM_rand15() & 0xFF) + 64;
}

static void scene_bicolour_draw()
{
    const SAMPLE* ramp = demo.assets.colour_ramp;
    const auto f = static_cast<uint32_t>(demo.timer ? demo.timer->frame_count : 0);
    int32_t q[4] = {bicolour.phase[0], bicolour.phase[1], bicolour.phase[2], bicolour.phase[3]};
    for (int32_t n = bicolour.count; n >= 0; --n) {
        const int32_t x0 = frame_width / 2 + (SINE_table[q[0]] >> 8), y0 = frame_height / 2 + (SINE_table[q[1]] >> 8);
        const int32_t x1 = frame_width / 2 + (SINE_table[q[2]] >> 8), y1 = frame_height / 2 + (SINE_table[q[3]] >> 8);
        const auto c0 = static_cast<uint32_t>(SAMPLE_get(ramp, static_cast<int32_t>((f + 8u * n) % 1536)));
        const auto c1 = static_cast<uint32_t>(SAMPLE_get(ramp, static_cast<int32_t>((f + 8u * n + 512) % 1536)));
        IMGFX_line_gradient(demo.work, x0, y0, c0, x1, y1, c1);
        for (int k = 0; k < 4; ++k) q[k] = (q[k] + bicolour.step[k]) & 1023;
    }
    for (int k = 0; k < 4; ++k) bicolour.phase[k] = (bicolour.phase[k] + bicolour.speed[k]) & 1023;
}

static void bicolour_frame(int32_t n)
{
    IMG_fill(demo.work, 0);
    scene_bicolour_draw();
    if (demo.rasters_on) demo_rasters_draw();
    if (demo.scroll_on) demo_scroll_draw();
    Image* logo = demo.assets.logo_image;
    if (logo) {
        logo->x = (frame_width - logo->width) / 2 + ((SINE_at(5 * n) * 320) >> 15);
        logo->y = (frame_height - logo->height) / 2 + ((SINE_at(3 * n) * 128) >> 15);
        IMGFX_blend_at(logo, demo.work);
    }
}

void scene_bicolour_setup()
{
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x1F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    scene_bicolour_randomise();
    // The two stack fonts are not drawn, but their code draws belong to the sequence.
    const int32_t code_b = RANDOM_rand15() % 12;
    const int32_t code_a = RANDOM_rand15() % 12;
    if (demo.assets.stack_font_b) demo.assets.stack_font_b->code = code_b;
    if (demo.assets.stack_font_a) demo.assets.stack_font_a->code = code_a;
    demo_scroll_setup();
    if (demo.assets.scroll_font32) IMGFX_invert(demo.assets.scroll_font32->sheet);
    demo_rasters_setup();
    demo_wave_rasters_setup();
    demo_music_switch();
}

void scene_bicolour()
{
    scene_bicolour_setup();
    demo_run_scene({"bicolour", 750, true, true, true, true}, bicolour_frame);
}
