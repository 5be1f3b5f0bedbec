// The frame pipeline, keys, pause, fade-out and the scene sequence, run headless in child processes.
#include <gtest/gtest.h>

#include <cstring>

#include "core/demo.h"
#include "raster/imgfx.h"
#include "support/child.h"

namespace {

// Index of the first presentation of the radial scene's fade-out (the end of start-up).
int64_t startup_end(const ShowTrace& t)
{
    for (const FrameRecord& f : t.frames)
        if (f.background_mode == 2) return f.number;
    return -1;
}

TEST(Startup, LoadingBackgroundIsSixtyFourNestedSquares)
{
    const ShowTrace t = run_show(1, {}, 0);
    ASSERT_EQ(t.full.size(), 65536u);
    auto px = [&](int x, int y) { return t.full[static_cast<std::size_t>(y) * 256 + x]; };
    EXPECT_EQ(px(0, 0), 0u);
    EXPECT_EQ(px(255, 255), 0u);
    EXPECT_EQ(px(1, 1), 0x010408u);
    EXPECT_EQ(px(31, 200), 31u * 0x010408u);
    EXPECT_EQ(px(40, 40), 40u * 0x010408u);  // blue overflows into green from square 32 on
    EXPECT_EQ(px(63, 63), 0x3FFDF8u);
    EXPECT_EQ(px(192, 63), 0x3FFDF8u);
    EXPECT_EQ(px(193, 63), 62u * 0x010408u);
}

TEST(Startup, NoDisplayEndsWithStatusOneBeforeAnyPresentation)
{
    const ShowTrace t = run_show(10, [] { HEADLESS_set_no_display(true); });
    EXPECT_EQ(t.status, 1);
    EXPECT_TRUE(t.frames.empty());
}

TEST(Sequence, OnePassRunsTheFiveScenesWithTheirFrameCountsAndSettings)
{
    // One pass: 1000 + 750 + 750 + 750 + 1500 frames and three fade-outs, then the next pass starts.
    const ShowTrace probe = run_show(300);
    const int64_t s = startup_end(probe);
    ASSERT_GE(s, 1);
    const int64_t pass = 32 + 1000 + 32 + 750 + 750 + 32 + 750 + 1500;
    const ShowTrace t = run_show(s + pass + 33);
    ASSERT_EQ(static_cast<int64_t>(t.frames.size()), s + pass + 33);
    const int64_t radial = s + 32, bicolour = radial + 1000 + 32, ball = bicolour + 750, circles = ball + 750 + 32,
                  water = circles + 750, next = water + 1500 + 32;
    // Frames finished before each scene's first frame.
    EXPECT_EQ(t.frames[radial].frame_count, 0);
    EXPECT_EQ(t.frames[bicolour].frame_count, 1000);
    EXPECT_EQ(t.frames[ball].frame_count, 1750);
    EXPECT_EQ(t.frames[circles].frame_count, 2500);
    EXPECT_EQ(t.frames[water].frame_count, 3250);
    EXPECT_EQ(t.frames[next].frame_count, 4750);
    // The fades present without finishing frames.
    EXPECT_EQ(t.frames[radial - 1].frame_count, 0);
    EXPECT_EQ(t.frames[circles - 32].frame_count, 2500);
    // What the set-ups write.
    EXPECT_EQ(t.frames[radial].background_mode, 2);
    EXPECT_EQ(t.frames[radial].fade_step, 0x505050u);
    EXPECT_EQ(t.frames[radial].fade_on, 0);
    EXPECT_EQ(t.frames[ball].background_mode, 3);
    EXPECT_EQ(t.frames[ball].fade_on, 1);
    EXPECT_GE(t.frames[ball].fade_step, 8u * 0x010101u);
    EXPECT_LE(t.frames[ball].fade_step, 23u * 0x010101u);
    EXPECT_EQ(t.frames[ball].fade_step % 0x010101u, 0u);
    EXPECT_EQ(t.frames[circles].background_mode, 0);
    EXPECT_EQ(t.frames[water].background_mode, 3);
    EXPECT_EQ(t.frames[water].fade_on, 0);
    EXPECT_EQ(t.frames[water].rasters_on, 0);
    // Paced frames sleep 19 ms when they cost nothing; the radial scene does not sleep.
    EXPECT_EQ(t.frames[radial + 10].ms, t.frames[radial].ms);
    EXPECT_EQ(t.frames[ball + 10].ms - t.frames[ball].ms, 190u);
}

TEST(Keys, AKeyActsOneFrameAfterItIsPressed)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 10;
    const ShowTrace t = run_show(p + 5, [&] { HEADLESS_schedule_key(p, 'w'); });
    // Pumped in the frame that presents p, acted on in the next one, after its presentation.
    EXPECT_EQ(t.frames[p + 1].background_mode, 2);
    EXPECT_EQ(t.frames[p + 2].background_mode, 3);
}

TEST(Keys, EveryKeyOfTheTableChangesItsState)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 10;
    const char* keys = "14568bfgow";
    const ShowTrace t = run_show(p + 30, [&] {
        for (int i = 0; keys[i]; ++i) HEADLESS_schedule_key(p + 2 * i, keys[i]);
    });
    const FrameRecord& before = t.frames[p];
    const FrameRecord& after = t.frames[p + 25];
    EXPECT_EQ(after.scroll_on, before.scroll_on ^ 1);
    EXPECT_EQ(after.rasters_on, before.rasters_on ^ 1);
    EXPECT_EQ(after.target_rate, 100);  // "5" then "6"
    EXPECT_EQ(after.fps_overlay_on, 1);
    EXPECT_EQ(after.blur_on, 1);
    EXPECT_EQ(after.fade_on, before.fade_on ^ 1);
    EXPECT_EQ(after.glare_on, 1);
    EXPECT_EQ(after.music_muted, 1);
    EXPECT_EQ(after.background_mode, 3);
}

TEST(Keys, KeysPressedTogetherArePumpedAndActedOnOnePerFrame)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 10;
    const ShowTrace t = run_show(p + 6, [&] {
        HEADLESS_schedule_key(p, 'b');
        HEADLESS_schedule_key(p, 'g');
    });
    EXPECT_EQ(t.frames[p + 2].blur_on, 1);
    EXPECT_EQ(t.frames[p + 2].glare_on, 0);
    EXPECT_EQ(t.frames[p + 3].glare_on, 1);
}

TEST(Keys, AKeyHeldDownActsAgainInEveryFrameItRepeats)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 10;
    // Key repeats arrive as further key-downs, one dispatched per frame.
    const ShowTrace t = run_show(p + 8, [&] {
        for (int64_t i = 0; i < 4; ++i) HEADLESS_schedule_key(p + i, 'w');
    });
    EXPECT_EQ(t.frames[p + 1].background_mode, 2);
    EXPECT_EQ(t.frames[p + 2].background_mode, 3);
    EXPECT_EQ(t.frames[p + 3].background_mode, 0);
    EXPECT_EQ(t.frames[p + 4].background_mode, 1);
    EXPECT_EQ(t.frames[p + 5].background_mode, 2);
    EXPECT_EQ(t.frames[p + 6].background_mode, 2);
}

TEST(Keys, SpaceLeavesTheSceneAfterTheCurrentFrame)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t radial = s + 32;
    const ShowTrace t = run_show(radial + 200, [&] { HEADLESS_schedule_key(radial + 10, ' '); });
    // Acted on in the frame presenting radial + 11: that frame is not counted, the fade follows.
    EXPECT_EQ(t.frames[radial + 11].frame_count, 11);
    EXPECT_EQ(t.frames[radial + 12].frame_count, 11);      // first fade step of the next scene
    EXPECT_EQ(t.frames[radial + 12 + 32].frame_count, 11); // its first frame
    EXPECT_EQ(t.frames[radial + 12 + 33].frame_count, 12);
}

TEST(Keys, SpaceOnASceneLastFrameDoesNotSkipTheNextScene)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t radial = s + 32, last = radial + 999;
    const ShowTrace t = run_show(last + 1 + 32 + 760, [&] { HEADLESS_schedule_key(last - 1, ' '); });
    // The last radial frame obeys the request and is not counted; the next scene runs all its frames.
    const int64_t bicolour = last + 1 + 32;
    EXPECT_EQ(t.frames[bicolour].frame_count, 999);
    EXPECT_EQ(t.frames[bicolour + 749].frame_count, 999 + 749);
    EXPECT_EQ(t.frames[bicolour + 750].frame_count, 999 + 750);  // the ball scene's first frame
    EXPECT_EQ(t.frames[bicolour + 750].background_mode, 3);
}

TEST(Keys, EscFadesOutInThirtyTwoStepsAndEndsWithStatusZero)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 10;
    // Three "w" take the radial scene's background mode 2 to 3, 0 and 1 (white).
    const ShowTrace t = run_show(p + 200, [&] {
        HEADLESS_schedule_key(p, 'w');
        HEADLESS_schedule_key(p + 1, 'w');
        HEADLESS_schedule_key(p + 2, 'w');
        HEADLESS_schedule_key(p + 10, 0x1B);
    });
    EXPECT_EQ(t.status, 0);
    // ESC is pumped in the frame presenting p + 10 and acted on in the next: 32 fade steps follow.
    ASSERT_EQ(static_cast<int64_t>(t.frames.size()), p + 12 + 32);
    // The work image was refilled white after the last frame: the first step shows plain grey.
    for (uint32_t v : t.frames[p + 12].probe) EXPECT_EQ(v, 0x7F7F7Fu);
    for (int64_t i = p + 13; i < p + 12 + 32; ++i) EXPECT_EQ(t.frames[i].hash, t.frames[p + 13].hash);
    EXPECT_EQ(t.frames.back().probe[0], 0u);
}

TEST(Keys, ClosingTheWindowEndsAtOnceWithStatusZero)
{
    const int64_t s = startup_end(run_show(300));
    const ShowTrace t = run_show(s + 500, [&] { HEADLESS_schedule_close(s + 100); });
    EXPECT_EQ(t.status, 0);
    // The close is pumped in the frame that presents s + 100: no fade follows.
    EXPECT_EQ(static_cast<int64_t>(t.frames.size()), s + 101);
}

TEST(Keys, ClosingTheWindowDuringStartUpEndsOnceTheSceneLoopPumps)
{
    const ShowTrace t = run_show(5000, [] { HEADLESS_push_close(); });
    EXPECT_EQ(t.status, 0);
    const int64_t s = startup_end(t);
    ASSERT_GE(s, 1);
    // Start-up and the first fade-out present without pumping; the first scene frame pumps.
    EXPECT_EQ(static_cast<int64_t>(t.frames.size()), s + 32 + 1);
}

TEST(Pause, PauseHoldsTheFrameAndKeysStillWork)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 32 + 760 + 32 + 100;  // inside the paced bicolour scene
    int idles = 0;
    const ShowTrace t = run_show(p + 10, [&] {
        HEADLESS_schedule_key(p, 'p');
        HEADLESS_set_idle([&idles] {
            ++idles;
            if (idles == 3) HEADLESS_push_key('8');
            if (idles == 6) HEADLESS_push_key('p');
        });
    });
    ASSERT_EQ(static_cast<int64_t>(t.frames.size()), p + 10);
    EXPECT_EQ(t.frames[p + 1].paused, 0);
    EXPECT_EQ(t.frames[p + 2].paused, 0);
    EXPECT_EQ(t.frames[p + 2].fps_overlay_on, 1);  // "8" acted while paused
    // Waiting for events costs virtual time: 10 ms per idle wait besides the 19 ms of the frame.
    EXPECT_GT(t.frames[p + 2].ms - t.frames[p + 1].ms, 19u);
}

TEST(Pause, EscWhilePausedStillFadesAndExits)
{
    const int64_t s = startup_end(run_show(300));
    const int64_t p = s + 40;
    const ShowTrace t = run_show(p + 100, [&] {
        HEADLESS_schedule_key(p, 'p');
        HEADLESS_set_idle([] { HEADLESS_push_key(0x1B); });
    });
    EXPECT_EQ(t.status, 0);
    EXPECT_EQ(static_cast<int64_t>(t.frames.size()), p + 2 + 32);
}

// Post-processing on its own: which image is presented and how the work image is prepared.
struct PostResult {
    uint32_t presented[4];
    uint32_t work_after[4];
};

PostResult postprocess_once(uint8_t glare, uint8_t blur, uint8_t mode, uint8_t fade, uint32_t bg)
{
    const ChildResult child = run_in_child([&](std::string& out) {
        demo_init();
        PostResult r{};
        HEADLESS_set_sink([&](const HeadlessFrame& f) {
            r.presented[0] = f.pixels[0], r.presented[1] = f.pixels[1], r.presented[2] = f.pixels[100];
            r.presented[3] = f.pixels[255];
        });
        for (int32_t i = 0; i < 65536; ++i) demo.work->pixels[i] = (i & 1) ? 0x804020u : 0x102030u;
        demo.glare_on = glare, demo.blur_on = blur, demo.background_mode = mode, demo.fade_on = fade;
        demo.background_colour = bg, demo.fade_step = 0x050505;
        demo_postprocess();
        r.work_after[0] = demo.work->pixels[0], r.work_after[1] = demo.work->pixels[1];
        r.work_after[2] = demo.work->pixels[100], r.work_after[3] = demo.work->pixels[255];
        out.assign(reinterpret_cast<const char*>(&r), sizeof r);
    });
    PostResult r{};
    if (child.output.size() == sizeof r) std::memcpy(&r, child.output.data(), sizeof r);
    return r;
}

TEST(Postprocess, PresentsTheWorkImageOrTheFilteredOne)
{
    // Plain: the work image as it is.
    PostResult r = postprocess_once(0, 0, 3, 0, 0);
    EXPECT_EQ(r.presented[0], 0x102030u);
    EXPECT_EQ(r.presented[1], 0x804020u);
    // Glare only: the blur image (a copy of the glare image) is shown. Column 1 (0x804020) gains
    // 1/8 of each neighbour (0x102030 >> 3 = 0x020406 per side).
    r = postprocess_once(1, 0, 3, 0, 0);
    EXPECT_EQ(r.presented[1], 0x804020u + 2 * 0x020406u);
    // Blur only: column 100 (even, 0x102030) = (2 x 0x10.. + 2 x 0x80.. + 4 x 0x10..) >> 3.
    r = postprocess_once(0, 1, 3, 0, 0);
    EXPECT_EQ(r.presented[2], (((2 * 0x10 + 2 * 0x80 + 4 * 0x10) >> 3) << 16) |
                                  (((2 * 0x20 + 2 * 0x40 + 4 * 0x20) >> 3) << 8) | ((2 * 0x30 + 2 * 0x20 + 4 * 0x30) >> 3));
    // Both: glare then blur of it.
    r = postprocess_once(1, 1, 3, 0, 0);
    EXPECT_NE(r.presented[2], 0x102030u);
}

TEST(Postprocess, TheFourBackgroundModesPrepareTheNextFrame)
{
    EXPECT_EQ(postprocess_once(0, 0, 0, 1, 0x123456).work_after[0], 0u);
    EXPECT_EQ(postprocess_once(0, 0, 1, 1, 0x123456).work_after[0], 0xFFFFFFu);
    EXPECT_EQ(postprocess_once(0, 0, 2, 1, 0x123456).work_after[0], 0x123456u);
    // Trails: darkened by the fade step, or brightened when the background colour is white.
    EXPECT_EQ(postprocess_once(0, 0, 3, 1, 0x123456).work_after[1], 0x7B3B1Bu);
    EXPECT_EQ(postprocess_once(0, 0, 3, 1, 0xFFFFFF).work_after[1], 0x854525u);
    EXPECT_EQ(postprocess_once(0, 0, 3, 0, 0x123456).work_after[1], 0x804020u);
    // The work image itself is never filtered.
    EXPECT_EQ(postprocess_once(1, 1, 3, 0, 0).work_after[1], 0x804020u);
}

TEST(Determinism, TheSameRunGivesTheSameFrames)
{
    auto setup = [] {
        HEADLESS_set_frame_ms(7);
        HEADLESS_schedule_key(1200, 'g');
        HEADLESS_schedule_key(1300, 'w');
    };
    const ShowTrace a = run_show(2500, setup), b = run_show(2500, setup);
    ASSERT_EQ(a.frames.size(), b.frames.size());
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        ASSERT_EQ(a.frames[i].hash, b.frames[i].hash) << "presentation " << i;
        ASSERT_EQ(a.frames[i].ms, b.frames[i].ms) << "presentation " << i;
    }
}

}  // namespace
