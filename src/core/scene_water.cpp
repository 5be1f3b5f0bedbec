// Scene: water and sparks. The work image is a pixel world: white lines and the logo are
// obstacles, blue water rains in along the top and red sparks climb from the bottom.
#include "core/demo.h"
#include "core/song.h"
#include "effects/partixel.h"

static struct {
    PARTIXEL* water = nullptr;   // made on the first run
    PARTIXEL* sparks = nullptr;
} water_scene;

static void water_frame(int32_t)
{
    // Keys cannot change how the field is kept: it is never cleared nor faded.
    demo.fade_on = 0;
    demo.background_mode = 3;
    demo.background_colour = 0;
    PARTIXEL* water = water_scene.water;
    PARTIXEL* sparks = water_scene.sparks;
    if (!water || !sparks) return;
    Image* field = water->image;
    for (int32_t i = 0; i < 16; ++i)
        IMG_put(field, static_cast<int32_t>(RANDOM_next(demo.particle_random) % static_cast<uint32_t>(field->width)), 0,
                water->colour);
    water->update = PARTIXEL_water_rightward;
    water->update(water);
    water->update = PARTIXEL_water_leftward;
    water->update(water);
    for (int32_t i = 0; i < 45; ++i)
        IMG_put(field, static_cast<int32_t>(RANDOM_next(demo.particle_random) % static_cast<uint32_t>(field->width)),
                field->height - 1, sparks->colour);
    sparks->update(sparks);
}

void scene_water_setup()
{
    IMG_fill(demo.work, 0);
    if (!water_scene.water) {
        water_scene.water = PARTIXEL_new();
        if (water_scene.water) {
            water_scene.water->image = demo.work;
            water_scene.water->colour = 0x0000FF;
            water_scene.water->name = "WATER";
        }
    }
    if (!water_scene.sparks) {
        water_scene.sparks = PARTIXEL_new();
        if (water_scene.sparks) {
            water_scene.sparks->image = demo.work;
            water_scene.sparks->colour = 0xFF0000;
            water_scene.sparks->name = "SPARKS";
            water_scene.sparks->update = PARTIXEL_sparks;
        }
    }
    for (int32_t i = 0; i < 6; ++i) {
        const int32_t row1 = RANDOM_rand30() % (frame_height - 32);
        const int32_t col1 = RANDOM_rand30() % frame_width;
        const int32_t row0 = RANDOM_rand30() % (frame_height - 32);
        const int32_t col0 = RANDOM_rand30() % frame_width;
        IMG_line(demo.work, col0, row0, col1, row1, 0xFFFFFF);
    }
    const Image* logo = demo.assets.logo_image;
    if (logo) IMG_blit(logo, demo.work, 0, 0, (frame_width - logo->width) / 2, 128, logo->width, logo->height);
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x3F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 0;
    demo.background_mode = 3;
    demo.background_colour = 0;
    demo_music_switch();
}

void scene_water()
{
    scene_water_setup();
    demo_run_scene({"water", 1500, false, false, false, true}, water_frame);
}
