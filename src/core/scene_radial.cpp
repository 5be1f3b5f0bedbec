// Scene: radial lines and sine dots. A landscape on a plain sky: sixteen rolling wave bands, a sun
// of two turning ray sets whose lengths pulse, and a ribbon of dots seen through the radial mask.
// Day or night is drawn at random at every start. The scene runs unpaced.
#include "core/demo.h"
#include "core/layers.h"
#include "base/sine.h"
#include "core/song.h"
#include "effects/lradial.h"
#include "effects/sinedots.h"
#include "effects/sineline.h"
#include "raster/imgfx.h"

static constexpr int32_t band_count = 16;

static struct {
    Image* field = nullptr;      // 256 x 256, receives both ray sets
    LRADIAL* rays_a = nullptr;
    LRADIAL* rays_b = nullptr;
    SINEDOTS* dots = nullptr;
    Image* dots_image = nullptr; // 256 x 128, never cleared during a run
    LIST* bands = nullptr;       // SINELINE records
} radial;

struct DayNight {
    uint32_t sky, dots, rays_a, rays_b, bands;
    int32_t sun_row;
};
static constexpr DayNight day{0x00A0FF, 0x020408, 0xFFFF80, 0xFFFF00, 0x0000E0, 64};
static constexpr DayNight night{0x000070, 0x080204, 0xFFC000, 0xFFA000, 0x0040F0, 128};

static SINELINE* band(int32_t i) { return static_cast<SINELINE*>(LIST_get(radial.bands, i)); }

static void randomise_rays(LRADIAL* rays)
{
    const int32_t count = RANDOM_rand30() % 10 + 8;
    const int32_t speed = (RANDOM_rand30() & 0xFFFFF) + 0x10000;
    const int32_t sign = (RANDOM_rand30() & 2) - 1;
    if (!rays) return;
    LRADIAL_set_rays(rays, count);
    rays->speed = speed * sign;
}

// Makes the wave bands on the first start and rolls new waves for them on every start, the
// farthest band first: each one taller than the one behind it, all sitting on the bottom edge.
static void set_up_bands(uint32_t colour)
{
    if (!radial.bands) {
        radial.bands = LIST_new();
        for (int32_t i = 0; i < band_count; ++i) {
            SINELINE* line = SINELINE_new();
            SINELINE_set_points(line, 256);
            LIST_append(radial.bands, line);
        }
    }
    for (int32_t i = band_count - 1; i >= 0; --i) {
        SINELINE* line = band(i);
        if (!line) continue;
        SINELINE_randomise(line);
        line->colour = colour;
        line->height = 64 + 4 * i;
        line->y = frame_height - line->height;
        const int32_t s = (RANDOM_rand30() & 2) - 1;
        line->speed1x *= s, line->speed1y *= s, line->speed2x *= s;
        line->speed2y *= s, line->speed3x *= s, line->speed3y *= s;
    }
}

void scene_radial_setup()
{
    demo.fade_step = 0x505050;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    demo.background_mode = 2;
    demo_scroll_setup();
    if (demo.assets.scroll_font32) IMGFX_invert(demo.assets.scroll_font32->sheet);
    demo_rasters_setup_wide();
    demo_wave_rasters_setup();
    if (!radial.field) {
        radial.field = IMG_new();
        IMG_resize(radial.field, frame_width, frame_height);
        radial.rays_a = LRADIAL_new();
        radial.rays_b = LRADIAL_new();
        if (radial.rays_a) radial.rays_a->target = radial.field;
        if (radial.rays_b) radial.rays_b->target = radial.field;
    }
    randomise_rays(radial.rays_a);
    randomise_rays(radial.rays_b);
    if (!radial.dots) {
        radial.dots = SINEDOTS_new();
        radial.dots_image = IMG_new();
        IMG_resize(radial.dots_image, 256, 128);
    }
    if (radial.dots) {
        SINEDOTS_set_dots(radial.dots, 2048);
        // On every pass, so the swarm grows faster from pass to pass.
        VEC2D_scale(&radial.dots->speed1, 11);
        VEC2D_scale(&radial.dots->speed2, 13);
        VEC2D_scale(&radial.dots->speed3, 17);
    }
    IMG_fill(radial.dots_image, 0);
    const int32_t hour = RANDOM_rand30() % 24;
    const DayNight& look = (hour >= 7 && hour <= 17) ? day : night;
    demo.background_colour = look.sky;
    if (radial.dots) radial.dots->colour = look.dots;
    if (radial.rays_a) radial.rays_a->colour = look.rays_a, radial.rays_a->y = look.sun_row;
    if (radial.rays_b) radial.rays_b->colour = look.rays_b, radial.rays_b->y = look.sun_row;
    set_up_bands(look.bands);
    demo_music_switch();
}

static void radial_frame(int32_t n)
{
    for (int32_t i = band_count - 1; i >= 0; --i) {
        SINELINE* line = band(i);
        if (!line) continue;
        SINELINE_compute(line);
        SINELINE_draw(line, demo.work, 1);
    }
    // In a few frames the field is kept and the rays smear.
    if (n & 0xF8) IMG_fill(radial.field, 0);
    const auto f = static_cast<uint32_t>(demo.timer ? demo.timer->frame_count : 0);
    if (radial.rays_a) {
        LRADIAL_move(radial.rays_a);
        LRADIAL_draw(radial.rays_a);
        radial.rays_a->radius = 256 - (SINE_table[(15u * f) % 512] >> 7);
    }
    if (radial.rays_b) {
        LRADIAL_move(radial.rays_b);
        LRADIAL_draw(radial.rays_b);
        radial.rays_b->radius = 128 - (SINE_table[(21u * f) % 512] >> 8);
    }
    IMGFX_blend_at(radial.field, demo.work);
    if (radial.dots) {
        SINEDOTS_move(radial.dots);
        SINEDOTS_draw(radial.dots, radial.dots_image);
    }
    IMG_and(demo.assets.radial_image, radial.dots_image);
    IMGFX_blend_at(radial.dots_image, demo.work);
    if (demo.rasters_on) demo_rasters_draw();
    if (demo.scroll_on) demo_scroll_draw();
}

const SINEDOTS* scene_radial_dots() { return radial.dots; }

void scene_radial()
{
    scene_radial_setup();
    demo_run_scene({"radial", 1000, true, true, false, false}, radial_frame);
}
