// Scene: circles. 120 bubbles rise and wobble; one that touches another is swallowed (the other
// grows) and one that grows too big bursts; both start again below the bottom edge.
#include "core/demo.h"
#include "core/layers.h"
#include "core/song.h"
#include "effects/circle.h"
#include "raster/imgfx.h"

static constexpr int32_t bubble_count = 120;

static struct {
    LIST* bubbles = nullptr;   // CIRCLE records, made on the first run
    CIRCLE* scratch = nullptr; // the copy each bubble is drawn from
} circles_scene;

static CIRCLE* bubble(int32_t i) { return static_cast<CIRCLE*>(LIST_get(circles_scene.bubbles, i)); }

static void restart(CIRCLE* b)
{
    b->centre->x = RANDOM_rand30() % frame_width;
    b->centre->y += frame_height;
    b->radius = RANDOM_rand30() % 2 + 2;
}

static void move_bubbles()
{
    for (int32_t i = circles_scene.bubbles->count - 1; i >= 0; --i) {
        CIRCLE* b = bubble(i);
        if (!b) continue;
        b->centre->x += RANDOM_rand30() % 3 - 1;
        b->centre->y = b->centre->y - 5 - RANDOM_rand30() % 5;
        if (b->centre->y < -b->radius || b->radius > 16) restart(b);
        for (int32_t j = circles_scene.bubbles->count - 1; j >= 0; --j) {
            CIRCLE* o = bubble(j);
            if (!o || o == b || !CIRCLE_overlaps(b, o)) continue;
            o->radius += b->radius / 2;
            restart(b);
            break;
        }
    }
}

static void draw_bubbles()
{
    CIRCLE* l = circles_scene.scratch;
    for (int32_t i = circles_scene.bubbles->count - 1; i >= 0; --i) {
        const CIRCLE* b = bubble(i);
        if (!b) continue;
        CIRCLE_copy(b, l);
        // Plain 32-bit sums: carries run from one channel into the next, as they always have.
        if (demo.background_colour != 0) l->colour += 0x808080;
        CIRCLE_draw(l, demo.work);
        l->radius >>= 1;
        l->centre->x -= l->radius;
        l->centre->y -= l->radius;
        l->radius >>= 1;
        if (demo.background_colour == 0) l->colour += 0x808080;
        CIRCLE_fill(l, demo.work);
    }
}

static void circles_frame(int32_t)
{
    if (demo.rasters_on) demo_rasters_draw();
    if (circles_scene.bubbles && circles_scene.scratch) {
        move_bubbles();
        draw_bubbles();
    }
    if (demo.scroll_on) demo_scroll_draw();
    Image* logo = demo.assets.logo_image;
    if (logo) {
        logo->x = (frame_width - logo->width) / 2;
        logo->y = 64;
        IMGFX_blend_at(logo, demo.work);
    }
}

void scene_circles_setup()
{
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x1F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.background_mode = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    if (!circles_scene.bubbles) {
        circles_scene.bubbles = LIST_new();
        circles_scene.scratch = CIRCLE_new();
        for (int32_t i = 0; i < bubble_count; ++i) {
            CIRCLE* c = CIRCLE_new();
            if (!c) continue;
            c->centre->x = RANDOM_rand30() % frame_width;
            c->centre->y = RANDOM_rand30() % frame_height;
            c->radius = RANDOM_rand30() % 2 + 2;
            c->colour = (static_cast<uint32_t>(RANDOM_rand30()) & 0x7F7F7F) + 0x808080;
            LIST_append(circles_scene.bubbles, c);
        }
    }
    demo_scroll_setup();
    demo_rasters_setup();
    demo_music_switch();
}

const LIST* scene_circles_bubbles() { return circles_scene.bubbles; }

void scene_circles()
{
    scene_circles_setup();
    demo_run_scene({"circles", 750, true, true, true, true}, circles_frame);
}
