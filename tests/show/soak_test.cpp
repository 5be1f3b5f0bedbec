// A long run: three passes' worth of frames with random key presses from a fixed seed (every key
// of the key table, pause and resume included, ESC left out). The heap must not grow from pass to
// pass, and the same run must give the same frames again.
#include <gtest/gtest.h>

#include <random>

#include "support/child.h"

namespace {

constexpr int64_t startup = 97;
constexpr int64_t pass = 32 + 1000 + 32 + 750 + 750 + 32 + 750 + 1500;
constexpr int64_t total = startup + 3 * pass;

ShowTrace soak_run()
{
    return run_show(total, [] {
        // The sound timeline would grow with every bar; nothing here listens to it.
        HEADLESS_keep_audio(false);
        std::mt19937 random(20150706);
        static const char keys[] = "14568bfgowp ";
        for (int64_t at = startup + 50; at < total - 50; at += 20 + static_cast<int64_t>(random() % 120))
            HEADLESS_schedule_key(at, keys[random() % (sizeof keys - 1)]);
        // While paused, resume on the third wait for input.
        static int waits = 0;
        HEADLESS_set_idle([] {
            if (++waits % 3 == 0) HEADLESS_push_key('p');
        });
    });
}

TEST(Soak, ThreePassesWithRandomKeysKeepTheHeapFlatAndRepeatExactly)
{
    const ShowTrace t = soak_run();
    ASSERT_EQ(static_cast<int64_t>(t.frames.size()), total) << "the show ended early, status " << t.status;
    ASSERT_EQ(t.heap.size(), t.frames.size());
    // Every object exists after the first pass; later passes reuse them.
    const long after_first = t.heap[static_cast<std::size_t>(startup + pass)];
    const long at_end = t.heap.back();
    EXPECT_LE(at_end, after_first + 4096) << "heap grew from " << after_first << " to " << at_end << " bytes";
    const ShowTrace again = soak_run();
    ASSERT_EQ(again.frames.size(), t.frames.size());
    for (std::size_t i = 0; i < t.frames.size(); ++i)
        ASSERT_EQ(again.frames[i].hash, t.frames[i].hash) << "presentation " << i;
}

}  // namespace
