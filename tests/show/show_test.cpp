// The whole show, headless: scene set-ups, what carries over from pass to pass, no allocation in
// frames, and the counters overlay.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/embedded.h"
#include "base/sine.h"
#include "core/demo.h"
#include "effects/ball3d.h"
#include "effects/circle.h"
#include "effects/sinedots.h"
#include "support/child.h"
#include "vector/lfont.h"
#include "vector/obj2d.h"
#include "support/images.h"

namespace {

struct SetupRecord {
    long draws;
    uint8_t blur_on, glare_on, fade_on, background_mode, scroll_on, rasters_on;
    uint32_t fade_step, background_colour;
};

// Runs the five set-ups twice, in the order of the show, with the music frozen so that only the
// scenes' own draws are counted.
std::vector<SetupRecord> run_setups()
{
    const ChildResult child = run_in_child([](std::string& out) {
        demo_init();
        demo.music_muted = 1;
        void (*setups[5])() = {scene_radial_setup, scene_bicolour_setup, scene_ball_setup, scene_circles_setup,
                               scene_water_setup};
        for (int pass = 0; pass < 2; ++pass)
            for (auto setup : setups) {
                // A key left the state changed: the set-up must write its own values again.
                demo.blur_on = demo.glare_on = 1;
                const uint32_t before = RANDOM_state();
                setup();
                SetupRecord r{draws_between(before, RANDOM_state()), demo.blur_on, demo.glare_on, demo.fade_on,
                              demo.background_mode, demo.scroll_on, demo.rasters_on, demo.fade_step,
                              demo.background_colour};
                out.append(reinterpret_cast<const char*>(&r), sizeof r);
            }
    });
    std::vector<SetupRecord> records(child.output.size() / sizeof(SetupRecord));
    std::memcpy(records.data(), child.output.data(), records.size() * sizeof(SetupRecord));
    return records;
}

TEST(SceneSetups, WriteTheirStateAndMakeTheirDrawsFirstRunAndLater)
{
    const std::vector<SetupRecord> r = run_setups();
    ASSERT_EQ(r.size(), 10u);
    // Draws: objects are made (with their own draws) on the first run only.
    const long first[5] = {1225, 17, 15, 961, 49}, later[5] = {335, 17, 3, 1, 49};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(r[i].draws, first[i]) << "scene " << i << ", first run";
        EXPECT_EQ(r[5 + i].draws, later[i]) << "scene " << i << ", later run";
    }
    for (int pass = 0; pass < 2; ++pass) {
        const SetupRecord *radial = &r[5 * pass], *bicolour = radial + 1, *ball = radial + 2, *circles = radial + 3,
                          *water = radial + 4;
        for (const SetupRecord* s = radial; s < radial + 5; ++s) {
            EXPECT_EQ(s->blur_on, 0);
            EXPECT_EQ(s->glare_on, 0);
        }
        EXPECT_EQ(radial->fade_on, 0);
        EXPECT_EQ(radial->fade_step, 0x505050u);
        EXPECT_EQ(radial->background_mode, 2);
        EXPECT_TRUE(radial->background_colour == 0x00A0FFu || radial->background_colour == 0x000070u);
        EXPECT_EQ(radial->scroll_on, 1);
        EXPECT_EQ(radial->rasters_on, 1);
        EXPECT_EQ(bicolour->fade_on, 0);
        EXPECT_EQ(bicolour->fade_step % 0x010101u, 0u);
        EXPECT_GE(bicolour->fade_step, 0x202020u);
        EXPECT_LE(bicolour->fade_step, 0x3F3F3Fu);
        EXPECT_EQ(ball->fade_on, 1);
        EXPECT_EQ(ball->background_mode, 3);
        EXPECT_GE(ball->fade_step, 0x080808u);
        EXPECT_LE(ball->fade_step, 0x171717u);
        EXPECT_EQ(ball->background_colour, radial->background_colour);  // left as the radial scene set it
        EXPECT_EQ(circles->background_mode, 0);
        EXPECT_EQ(circles->fade_on, 0);
        EXPECT_GE(circles->fade_step, 0x202020u);
        EXPECT_LE(circles->fade_step, 0x3F3F3Fu);
        EXPECT_EQ(water->fade_on, 0);
        EXPECT_EQ(water->background_mode, 3);
        EXPECT_EQ(water->background_colour, 0u);
        EXPECT_EQ(water->rasters_on, 0);
        EXPECT_GE(water->fade_step, 0x202020u);
        EXPECT_LE(water->fade_step, 0x5F5F5Fu);
    }
}

// Presentation indices of a run of the show.
struct Layout {
    int64_t startup;  // presentations before the first scene's fade-out
    int64_t radial, bicolour, ball, circles, water;  // first loop frame of each scene in pass 1
    static constexpr int64_t pass = 32 + 1000 + 32 + 750 + 750 + 32 + 750 + 1500;
};

Layout layout_of(int64_t startup)
{
    Layout l{};
    l.startup = startup;
    l.radial = startup + 32;
    l.bicolour = l.radial + 1000 + 32;
    l.ball = l.bicolour + 750;
    l.circles = l.ball + 750 + 32;
    l.water = l.circles + 750;
    return l;
}

// What scenes carry from pass to pass: the ball's light, the bubbles' places, the dots' speeds.
TEST(Show, ObjectsMadeOnTheFirstPassCarryTheirStateIntoTheSecond)
{
    const Layout l = layout_of(97);
    const ChildResult child = run_in_child([&](std::string& out) {
        struct Snap {
            int32_t light[3];
            int32_t bubble[3];
            int32_t speed1x;
        } first_end{}, second_start{};
        auto snap = [](Snap& s) {
            if (const Ball* b = scene_ball_object()) s.light[0] = b->light_x, s.light[1] = b->light_y, s.light[2] = b->light_z;
            if (const LIST* list = scene_circles_bubbles()) {
                const auto* c = static_cast<const CIRCLE*>(LIST_get(list, 0));
                s.bubble[0] = c->centre->x, s.bubble[1] = c->centre->y, s.bubble[2] = c->radius;
            }
            if (const SINEDOTS* d = scene_radial_dots()) s.speed1x = d->speed1.x;
        };
        HEADLESS_set_sink([&](const HeadlessFrame& f) {
            // The last frame of the first pass, and the first fade-out step of the second.
            if (f.number == l.startup + Layout::pass - 1) snap(first_end);
            if (f.number == l.startup + Layout::pass) {
                snap(second_start);
                throw ShowStop{};
            }
        });
        try {
            demo_main();
        } catch (const ShowStop&) {
        }
        out.append(reinterpret_cast<const char*>(&first_end), sizeof first_end);
        out.append(reinterpret_cast<const char*>(&second_start), sizeof second_start);
    });
    ASSERT_EQ(child.output.size(), 2 * 7 * sizeof(int32_t));
    int32_t v[14];
    std::memcpy(v, child.output.data(), sizeof v);
    // The ball keeps the light of its last frame (n = 1), not (10, 10, 10).
    EXPECT_EQ(v[0], (SINE_at(5) * 10) >> 15);
    EXPECT_EQ(v[1], (SINE_at(3) * 10) >> 15);
    EXPECT_EQ(v[2], (SINE_at(7) * 10) >> 15);
    // The bubbles are not placed again.
    EXPECT_EQ(v[7 + 3], v[3]);
    EXPECT_EQ(v[7 + 4], v[4]);
    EXPECT_EQ(v[7 + 5], v[5]);
    // The dots' speeds are multiplied again at every start of the radial scene.
    EXPECT_EQ(v[7 + 6], v[6] * 11);
}

TEST(Show, FramesAllocateNothing)
{
    const Layout l = layout_of(97);
    const ShowTrace t = run_show(l.startup + Layout::pass + 40);
    ASSERT_EQ(t.allocations.size(), t.frames.size());
    // Within each scene's frame loop (after its first frame, whose set-up may create objects).
    const int64_t scenes[5][2] = {{l.radial, 1000}, {l.bicolour, 750}, {l.ball, 750}, {l.circles, 750}, {l.water, 1500}};
    for (const auto& scene : scenes)
        for (int64_t i = scene[0] + 1; i < scene[0] + scene[1]; ++i)
            ASSERT_EQ(t.allocations[i], t.allocations[i - 1]) << "presentation " << i;
}

TEST(Show, TheOverlayShowsTheRateAndTheFrameCounterTopLeft)
{
    const Layout l = layout_of(97);
    const int64_t key = l.radial + 10, shown = key + 2;
    const ShowTrace t = run_show(shown + 1, [&] { HEADLESS_schedule_key(key, '8'); }, shown);
    ASSERT_EQ(t.full.size(), 65536u);
    ASSERT_EQ(t.frames[shown].frame_count, 12);
    // What the counters look like: "00" (no rate measured yet in the unpaced first scene) at
    // (0, 0) and the frame count "0000000C" at (0, 16), in the glyphs' colour from the font text.
    const EmbeddedAsset* text = EMBEDDED_find("font16.obj2d");
    ASSERT_NE(text, nullptr);
    LIST* glyphs = OBJ2D_parse(reinterpret_cast<const char*>(text->data));
    Image* expected = IMG_new();
    IMG_resize(expected, 256, 256);
    LFONT* w = LFONT_new();
    w->glyphs = glyphs;
    w->target = expected;
    LFONT_draw_hex8(w, 0);
    w->pen.x = 0;
    w->pen.y = 16;
    LFONT_draw_hex32(w, 12);
    long lit = 0;
    for (int32_t i = 0; i < 65536; ++i) {
        if (!expected->pixels[i]) continue;
        ++lit;
        ASSERT_EQ(t.full[static_cast<std::size_t>(i)], expected->pixels[i]) << "pixel " << i % 256 << "," << i / 256;
        EXPECT_LT(i / 256, 32);   // two lines of 16-unit glyphs
        EXPECT_LT(i % 256, 128);  // at most eight digits of 16 pixels
    }
    EXPECT_GT(lit, 100);
    LFONT_free(&w);
    IMG_free(&expected);
    OBJ2D_free_set(&glyphs);
}

}  // namespace
