// DEMO: the show itself: start-up, the endless sequence of scenes, the frame pipeline and keys.
// Depends on: core/fps, core/song, audio/sample, audio/winsnd, platform/mouse, platform/os,
// platform/windpy, platform/winkbd, platform/winmain, platform/winptr, vector/lfont, vector/list,
// vector/logofly, raster/font, raster/img, raster/imgfx, raster/raster, base/random.
// NOTE: the frame is 256 x 256 pixels 0x00RRGGBB. Everything the show creates lives in the one
// `demo` record until the process ends; scenes create their own objects on their first run and
// reuse them on later passes. Every random draw happens in a fixed order, so every run is the same.
#pragma once
#include <cstdint>

#include "audio/sample.h"
#include "core/fps.h"
#include "base/random.h"
#include "platform/mouse.h"
#include "platform/windpy.h"
#include "platform/winkbd.h"
#include "platform/winptr.h"
#include "raster/font.h"
#include "raster/img.h"
#include "raster/raster.h"
#include "vector/lfont.h"
#include "vector/list.h"
#include "vector/logofly.h"

inline constexpr int32_t frame_width = 256;
inline constexpr int32_t frame_height = 256;

// demo_flags bits.
inline constexpr uint8_t DEMO_EXIT_REQUESTED = 1;
inline constexpr uint8_t DEMO_NEXT_PART = 2;

// The pictures, fonts and tables built at start-up from the embedded assets.
struct DemoAssets {
    Image* radial_image = nullptr;    // 256 x 128 mask of the radial scene, inverted
    Raster* spare_raster = nullptr;   // kept for its one random draw at start-up
    Font* scroll_font16 = nullptr;    // 16 x 16 cells of the grey sheet
    Font* scroll_font32 = nullptr;    // 32 x 32 cells, the scroller's font
    Font* stack_font_a = nullptr;     // 16 x 16 cells
    Font* stack_font_b = nullptr;
    LIST* font8 = nullptr;            // glyph sets of the line fonts, and the picture collection
    LIST* font16 = nullptr;
    LIST* pictures = nullptr;
    LFONT* writer8 = nullptr;
    LFONT* writer16 = nullptr;        // the counters overlay and the letters layer draw with it
    LFONT* writer_pictures = nullptr;
    SAMPLE* colour_ramp = nullptr;    // 1536 colours, one turn of the hue circle
    Image* logo_image = nullptr;      // 128 x 64
    Image* mouse_sprite = nullptr;    // 16 x 16
    LOGOFLY* logo_fly = nullptr;      // kept for its three random draws at start-up
};

struct Demo {
    // The state that keys change and scene set-ups overwrite.
    uint8_t demo_flags = 0;
    uint8_t scroll_on = 1;
    uint8_t rasters_on = 1;
    uint8_t fade_on = 1;
    uint32_t fade_step = 0x010101;
    uint8_t fps_overlay_on = 0;
    uint8_t blur_on = 0;
    uint8_t glare_on = 0;
    uint8_t paused = 0;
    uint8_t music_muted = 0;
    uint8_t background_mode = 0;
    uint32_t background_colour = 0;

    // Long-lived objects made at start-up.
    WINDPY* display = nullptr;
    WINKBD* keyboard = nullptr;
    WINPTR* pointer = nullptr;
    MOUSE* mouse = nullptr;
    Image* work = nullptr;
    Image* glare = nullptr;
    Image* blur = nullptr;
    Random* particle_random = nullptr;
    FPS* timer = nullptr;
    DemoAssets assets;
};

// The show's one record.
extern Demo demo;

// What a scene's frame loop does around its own drawing.
struct SceneStyle {
    const char* name;     // the scene's short name, for recorders
    int32_t frames;       // frame count of one run
    bool fade_before;     // demo_fade_out before the loop
    bool pointer;         // draw the mouse sprite
    bool letters;         // the letters layer after the text overlay
    bool paced;           // FPS_wait after FPS_end
};

// Called whenever a stretch of presentations begins, with its name: "start-up", "NAME fade-out" or
// "NAME loop" of a scene, or "exit fade-out"; for recorders, which note where each stretch starts.
using DemoStageListener = void (*)(const char* stage);
void demo_set_stage_listener(DemoStageListener listener);

// Runs start-up and then the five scenes for ever.
[[noreturn]] void demo_main();
// Creates everything the show needs, in its fixed order.
void demo_init();
// 32 steps of subtracting 0x808080 from the work image and presenting it.
void demo_fade_out();
// The mouse sprite at the pointer.
void demo_pointer_overlay();
// The two counters, when the overlay is on.
void demo_text_overlay();
// Glare, blur, presentation and the background step for the next frame.
void demo_postprocess();
// Acts on the current key after pumping one event.
void demo_keys(WINKBD* keyboard);
// Polls and dispatches keys while the show is paused.
void demo_pause();
// Builds every picture, font and table from the embedded assets (start-up steps 10 to 12).
void demo_build_assets();
// The flying logo and the mouse record (start-up step 12).
void demo_build_pointer_assets();
// The inverted splash added over the loading background, centred.
void demo_loading_picture();
// The four bouncing letters of the brand word.
void demo_letters_layer();
// Runs a scene: fade-out if asked, then the frame loop with draw(n) for n = frames .. 1; it
// returns when the count runs out or the viewer asks for the next part.
void demo_run_scene(const SceneStyle& style, void (*draw)(int32_t n));

// The five scenes, in the order of the show; each runs its set-up and then its frame loop.
void scene_radial();
void scene_bicolour();
void scene_ball();
void scene_circles();
void scene_water();
// The set-ups on their own: each writes the demo state it wants, creates its objects on its first
// run, makes its random draws and switches the music.
void scene_radial_setup();
void scene_bicolour_setup();
void scene_ball_setup();
void scene_circles_setup();
void scene_water_setup();

// Objects that scenes carry from pass to pass (read by tests).
struct Ball;
struct SINEDOTS;
const Ball* scene_ball_object();
const LIST* scene_circles_bubbles();
const SINEDOTS* scene_radial_dots();
