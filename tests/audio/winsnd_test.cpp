// WINSND: the WAV image byte for byte, the bar queue and the loop the platform plays.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "audio/winsnd.h"
#include "base/random.h"
#include "backends/headless.h"
#include "platform/os.h"

namespace {

int16_t value_at(const WINSND* p, int32_t k)
{
    const uint8_t* at = p->image.get() + 64 + 2 * k;
    return static_cast<int16_t>(at[0] | at[1] << 8);
}

SAMPLE* bar(int32_t n, int32_t base)
{
    SAMPLE* s = SAMPLE_new();
    SAMPLE_set_length(s, n);
    for (int32_t i = 0; i < n; ++i) s->data[i] = base + i;
    return s;
}

}  // namespace

TEST(Winsnd, NewImageHasTheExactHeaderAndQuietNoise)
{
    HEADLESS_reset();
    RANDOM_seed15(777);
    WINSND* p = WINSND_new();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->rate, 44100);
    EXPECT_EQ(p->depth, 16);
    EXPECT_EQ(p->sign, 's');
    EXPECT_EQ(p->byte_order, 'l');
    EXPECT_EQ(p->bar_length, 44100);
    ASSERT_NE(p->queue, nullptr);
    EXPECT_EQ(p->queue->count, 0);
    ASSERT_EQ(WINSND_image_size(p), 88264u);

    static constexpr uint8_t header[64] = {
        'R', 'I', 'F', 'F', 0xC0, 0x58, 0x01, 0x00, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
        16, 0, 0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0x00, 0x00, 0x88, 0x58, 0x01, 0x00,
        2, 0, 16, 0, 'I', 'N', 'F', 'O', 12, 0, 0, 0, 'V', 'O', 'X', 'A',
        'T', ' ', 'R', ' ', '*', '(', ')', '-', 'd', 'a', 't', 'a', 0x88, 0x58, 0x01, 0x00,
    };
    EXPECT_EQ(std::vector<uint8_t>(p->image.get(), p->image.get() + 64), std::vector<uint8_t>(header, header + 64));

    // Values in draw order, each from one 30-bit draw.
    RANDOM_seed15(777);
    for (int32_t k = 0; k < 44100; ++k) ASSERT_EQ(value_at(p, k), (RANDOM_rand30() & 0x1FF) - 255) << k;

    // The image loops at once: what plays is the noise, from its first value.
    EXPECT_EQ(HEADLESS_audio_starts(), 1);
    OS_sleep(1500);
    const std::vector<int16_t> heard = HEADLESS_render_audio(0, 1500);
    ASSERT_EQ(heard.size(), 66150u);
    EXPECT_EQ(heard[0], value_at(p, 0));
    EXPECT_EQ(heard[44100], value_at(p, 0));
    EXPECT_EQ(heard[44099], value_at(p, 44099));
    WINSND_free(&p);
    EXPECT_EQ(p, nullptr);
}

TEST(Winsnd, PlayNextConsumesTheQueueAndRestartsTheLoop)
{
    HEADLESS_reset();
    WINSND* p = WINSND_new();
    ASSERT_NE(p, nullptr);
    const std::vector<uint8_t> noise(p->image.get(), p->image.get() + WINSND_image_size(p));

    // Nothing queued: nothing happens.
    EXPECT_FALSE(WINSND_play_next(p));
    EXPECT_EQ(HEADLESS_audio_starts(), 1);

    // A bar of the wrong length and a null entry are dropped without a sound change.
    SAMPLE* short_bar = bar(22050, 0);
    SAMPLE* good = bar(44100, 0);
    good->data[0] = 40000;
    good->data[1] = -40000;
    good->data[2] = 32767;
    good->data[3] = -32768;
    good->data[44099] = 65536 + 5;
    LIST_append(p->queue, short_bar);
    LIST_append(p->queue, nullptr);
    LIST_append(p->queue, good);
    LIST_append(p->queue, good);
    EXPECT_FALSE(WINSND_play_next(p));
    EXPECT_EQ(p->queue->count, 3);
    EXPECT_EQ(p->current, short_bar);
    EXPECT_FALSE(WINSND_play_next(p));
    EXPECT_EQ(p->queue->count, 2);
    EXPECT_EQ(std::vector<uint8_t>(p->image.get(), p->image.get() + noise.size()), noise);
    EXPECT_EQ(HEADLESS_audio_starts(), 1);

    // The next good bar: the low 16 bits of each value, playing from its start at once.
    OS_sleep(250);
    EXPECT_TRUE(WINSND_play_next(p));
    EXPECT_EQ(p->queue->count, 1);
    EXPECT_EQ(p->current, good);
    EXPECT_EQ(value_at(p, 0), -25536);
    EXPECT_EQ(value_at(p, 1), 25536);
    EXPECT_EQ(value_at(p, 2), 32767);
    EXPECT_EQ(value_at(p, 3), -32768);
    EXPECT_EQ(value_at(p, 4), 4);
    EXPECT_EQ(value_at(p, 44099), 5);
    EXPECT_EQ(std::vector<uint8_t>(p->image.get(), p->image.get() + 64), std::vector<uint8_t>(noise.begin(), noise.begin() + 64));
    EXPECT_EQ(HEADLESS_audio_starts(), 2);

    OS_sleep(1250);
    const std::vector<int16_t> heard = HEADLESS_render_audio(0, 1500);
    const std::size_t switch_at = 250 * 441 / 10;
    EXPECT_EQ(heard[switch_at - 1], static_cast<int16_t>(noise[64 + 2 * (switch_at - 1)] | noise[65 + 2 * (switch_at - 1)] << 8));
    EXPECT_EQ(heard[switch_at], -25536);
    EXPECT_EQ(heard[switch_at + 4], 4);
    EXPECT_EQ(heard[switch_at + 44100], -25536);  // the loop starts over

    // Freeing stops the sound at once.
    WINSND_free(&p);
    OS_sleep(100);
    const std::vector<int16_t> after = HEADLESS_render_audio(1500, 1600);
    for (int16_t v : after) ASSERT_EQ(v, 0);
    SAMPLE_free(&short_bar);
    SAMPLE_free(&good);
}

TEST(Winsnd, MissingPiecesAreHandledWithoutEffect)
{
    HEADLESS_reset();
    const long before = WINSND_report().count;
    EXPECT_FALSE(WINSND_play_next(nullptr));
    WINSND_free(nullptr);
    EXPECT_EQ(WINSND_report().count - before, 2);

    WINSND* p = WINSND_new();
    LIST_free(&p->queue);
    EXPECT_FALSE(WINSND_play_next(p));
    ASSERT_NE(p->queue, nullptr);

    // Without an image a bar is taken from the queue but nothing is written or played.
    p->image.reset();
    EXPECT_EQ(WINSND_image_size(p), 0u);
    SAMPLE* good = bar(44100, 0);
    LIST_append(p->queue, good);
    const int64_t starts = HEADLESS_audio_starts();
    EXPECT_FALSE(WINSND_play_next(p));
    EXPECT_EQ(p->queue->count, 0);
    EXPECT_EQ(HEADLESS_audio_starts(), starts);
    WINSND_free(&p);
    SAMPLE_free(&good);
}
