#include "core/demo.h"

#include <cstdio>

#include "audio/winsnd.h"
#include "core/song.h"
#include "platform/os.h"
#include "platform/winmain.h"
#include "raster/imgfx.h"

Demo demo;

static struct {
    DemoStageListener stage_listener = nullptr;
} demo_hooks;

void demo_set_stage_listener(DemoStageListener listener) { demo_hooks.stage_listener = listener; }

static void stage(const char* name, const char* part = nullptr)
{
    if (!demo_hooks.stage_listener) return;
    if (!part) {
        demo_hooks.stage_listener(name);
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s %s", name, part);
    demo_hooks.stage_listener(text);
}

// The loading background: 64 nested squares, square i in colour i * 0x010408 (a plain product, so
// the blue part overflows into green from i = 32 on).
static void draw_loading_background(Image* image)
{
    for (int32_t i = 0; i < 64; ++i)
        IMG_fill_rect(image, i, i, 256 - 2 * i, 256 - 2 * i, static_cast<uint32_t>(i) * 0x010408u);
}

static Image* new_frame_image()
{
    Image* image = IMG_new();
    IMG_resize(image, frame_width, frame_height);
    return image;
}

void demo_init()
{
    stage("start-up");
    demo.display = WINDPY_new();
    // Nobody could see the show: the platform has said why in one line; stop instead of running
    // on invisibly.
    if (!demo.display) OS_exit(1);
    demo.keyboard = WINKBD_new();
    // The player loops quiet noise at once, drawn from the generator before it is seeded.
    demo_set_sound_player(WINSND_new());
    demo.pointer = WINPTR_new();
    demo.work = new_frame_image();
    draw_loading_background(demo.work);
    demo_loading_picture();
    WINDPY_show(demo.display, demo.work);
    demo.glare = new_frame_image();
    demo.blur = new_frame_image();
    RANDOM_seed15(0x45103175);
    demo_build_assets();
    demo.background_colour = 0;
    demo_build_pointer_assets();
    demo_compose_song(demo.display, demo.work);
    demo.particle_random = RANDOM_new();
    if (demo.particle_random) demo.particle_random->counter = 0x6789ABCD;
    demo.timer = FPS_new();
    if (demo.timer) demo.timer->target_rate = 50;
}

void demo_main()
{
    demo_init();
    for (;;) {
        scene_radial();
        scene_bicolour();
        scene_ball();
        scene_circles();
        scene_water();
    }
}

void demo_fade_out()
{
    for (int32_t step = 0; step < 32; ++step) {
        IMG_sub(demo.work, 0x808080);
        WINDPY_show(demo.display, demo.work);
    }
}

void demo_pointer_overlay()
{
    WINPTR_update(demo.pointer);
    MOUSE_update(demo.mouse);
    MOUSE_draw(demo.mouse);
}

void demo_text_overlay()
{
    LFONT* w = demo.assets.writer16;
    if (!(demo.fps_overlay_on & 1) || !w || !demo.timer) return;
    w->scale.x = w->scale.y = 1;
    w->angle = 0;
    w->pen.x = w->pen.y = 0;
    w->target = demo.work;
    // The digits keep whatever colour the glyphs were last given.
    LFONT_draw_hex8(w, static_cast<uint32_t>(demo.timer->effective_rate) & 0xFF);
    w->pen.x = 0;
    w->pen.y = 16;
    LFONT_draw_hex32(w, static_cast<uint32_t>(demo.timer->frame_count));
}

void demo_postprocess()
{
    if (demo.glare_on)
        IMGFX_glare(demo.work, demo.glare, 3);
    else
        IMG_copy(demo.work, demo.glare);
    if (demo.blur_on)
        IMGFX_blur(demo.glare, demo.blur);
    else
        IMG_copy(demo.glare, demo.blur);
    WINDPY_show(demo.display, (demo.blur_on || demo.glare_on) ? demo.blur : demo.work);
    switch (demo.background_mode) {
    case 0:
        IMG_fill(demo.work, 0x000000);
        break;
    case 1:
        IMG_fill(demo.work, 0xFFFFFF);
        break;
    case 2:
        IMG_fill(demo.work, demo.background_colour);
        break;
    case 3:
        if (demo.fade_on) {
            if (demo.background_colour == 0xFFFFFF)
                IMG_add(demo.work, demo.fade_step);
            else
                IMG_sub(demo.work, demo.fade_step);
        }
        break;
    default:
        break;
    }
}

void demo_keys(WINKBD* keyboard)
{
    if (!keyboard) return;
    const auto key = static_cast<signed char>(keyboard->key_buffer[0]);
    WINMAIN_pump();
    keyboard->key_buffer[0] = 0;
    switch (key) {
    case 0x1B:
        demo.demo_flags |= DEMO_EXIT_REQUESTED;
        stage("exit fade-out");
        demo_fade_out();
        OS_exit(0);
    case 0x20:
        demo.demo_flags |= DEMO_NEXT_PART;
        break;
    case '1':
        demo.scroll_on ^= 1;
        break;
    case '4':
        demo.rasters_on ^= 1;
        break;
    case '5':
        if (demo.timer) demo.timer->target_rate = 50;
        break;
    case '6':
        if (demo.timer) demo.timer->target_rate = 100;
        break;
    case '8':
        demo.fps_overlay_on ^= 1;
        break;
    case 'b':
        demo.blur_on ^= 1;
        break;
    case 'f':
        demo.fade_on ^= 1;
        break;
    case 'g':
        demo.glare_on ^= 1;
        break;
    case 'o':
        demo.music_muted ^= 1;
        break;
    case 'p':
        demo.paused ^= 1;
        demo_pause();
        break;
    case 'w':
        demo.background_mode = (demo.background_mode + 1) & 3;
        break;
    default:
        break;
    }
}

void demo_pause()
{
    while (demo.paused) {
        // Wait for the next event instead of spinning (but not while a key taken by the last pass
        // waits to be read); one event is still handled per pass.
        if (!WINMAIN_pending_key()) OS_wait_event(10);
        WINKBD_poll(demo.keyboard);
        demo_keys(demo.keyboard);
    }
}

void demo_run_scene(const SceneStyle& style, void (*draw)(int32_t n))
{
    if (style.fade_before) {
        stage(style.name, "fade-out");
        demo_fade_out();
    }
    stage(style.name, "loop");
    for (int32_t n = style.frames; n >= 1; --n) {
        FPS_begin(demo.timer);
        if (draw) draw(n);
        if (style.pointer) demo_pointer_overlay();
        demo_text_overlay();
        if (style.letters) demo_letters_layer();
        demo_postprocess();
        WINKBD_poll(demo.keyboard);
        demo_keys(demo.keyboard);
        if (demo.demo_flags & DEMO_NEXT_PART) {
            demo.demo_flags &= static_cast<uint8_t>(~DEMO_NEXT_PART);
            return;
        }
        FPS_end(demo.timer);
        if (style.paced) FPS_wait(demo.timer);
    }
}
