// The five scenes: their set-ups write the demo state they want, then they run their frame loops.
#include "core/demo.h"

void scene_radial()
{
    demo.fade_step = 0x505050;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    demo.background_mode = 2;
    demo_run_scene({1000, true, true, false, false}, nullptr);
}

void scene_bicolour()
{
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x1F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    demo_run_scene({750, true, true, true, true}, [](int32_t) { IMG_fill(demo.work, 0); });
}

void scene_ball()
{
    IMG_fill(demo.work, static_cast<uint32_t>(RANDOM_rand30()) & 0x1F1F1F);
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0xF) + 8) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 1;
    demo.background_mode = 3;
    demo_run_scene({750, false, true, false, true}, nullptr);
}

void scene_circles()
{
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x1F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.background_mode = 0;
    demo.rasters_on = 1, demo.scroll_on = 1;
    demo_run_scene({750, true, true, true, true}, nullptr);
}

void scene_water()
{
    IMG_fill(demo.work, 0);
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0x3F) + 0x20) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 0;
    demo.rasters_on = 0;
    demo.background_mode = 3;
    demo.background_colour = 0;
    demo_run_scene({1500, false, false, false, true}, [](int32_t) {
        demo.fade_on = 0;
        demo.background_mode = 3;
        demo.background_colour = 0;
    });
}
