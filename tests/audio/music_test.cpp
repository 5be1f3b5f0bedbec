// MUSIC: the note table, the record, and the pattern generators: exact figures and draw order.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "audio/music.h"
#include "base/random.h"
#include "support/samples.h"

namespace {

// A seed after which the generator yields: any sound index, coins b[0..3], then (if c >= 0) c.
uint32_t seed_for(std::array<int32_t, 4> b, int32_t c)
{
    for (uint32_t seed = 1;; ++seed) {
        RANDOM_seed15(seed);
        RANDOM_rand15();
        bool ok = true;
        for (int32_t coin : b) ok = ok && RANDOM_rand15() % 2 == coin;
        if (ok && (c < 0 || RANDOM_rand15() % 4 == c)) return seed;
    }
}

// A music record whose bank holds one short sound 8, 7, ..., 1.
MUSIC* one_sound_music()
{
    MUSIC* music = MUSIC_new();
    SAMPLE* sound = SAMPLE_new();
    SAMPLE_set_length(sound, 8);
    for (int32_t i = 0; i < 8; ++i) sound->data[i] = 4 * (8 - i);
    MUSIC_add_instrument(music, sound);
    return music;
}

// The pattern expected from hits of the one sound starting at the given positions, times gain / 4.
std::vector<int32_t> hits_at(const std::vector<int32_t>& starts, int32_t gain)
{
    std::vector<int32_t> v(44100, 0);
    for (int32_t s : starts)
        for (int32_t t = 0; t < 8; ++t) v[static_cast<std::size_t>((s + t) % 44100)] += 4 * (8 - t);
    for (int32_t& x : v) x = x * gain >> 2;
    return v;
}

}  // namespace

TEST(Music, NoteTableWrapsAroundItsNinetySixEntries)
{
    EXPECT_EQ(MUSIC_note(0), 32);
    EXPECT_EQ(MUSIC_note(45), 440);
    EXPECT_EQ(MUSIC_note(18), 93);
    EXPECT_EQ(MUSIC_note(95), 7902);
    EXPECT_EQ(MUSIC_note(96 + 45), 440);
    EXPECT_EQ(MUSIC_note(-1), 7902);
    EXPECT_EQ(MUSIC_note(-12), 4186);
}

TEST(Music, RecordStartsSilentAndCountsBarsOnlyWithAPattern)
{
    MUSIC* music = MUSIC_new();
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->bar->length, 44100);
    EXPECT_EQ(SAMPLE_max(music->bar), 0);
    EXPECT_EQ(SAMPLE_min(music->bar), 0);
    EXPECT_EQ(music->pattern_period, 300);
    EXPECT_EQ(music->bank->count, 0);
    EXPECT_EQ(music->pattern, nullptr);
    MUSIC_count_bar(music);
    EXPECT_EQ(music->bar_count, 0);

    // An empty bank still draws sound and coins and leaves the pattern silent.
    RANDOM_seed15(5);
    MUSIC_pattern_single(music);
    RANDOM_seed15(5);
    for (int32_t i = 0; i < 5; ++i) RANDOM_rand15();
    const uint32_t after_five = RANDOM_state();
    EXPECT_EQ(values(music->pattern), std::vector<int32_t>(44100, 0));
    MUSIC_count_bar(music);
    EXPECT_EQ(music->bar_count, 1);
    RANDOM_seed15(5);
    MUSIC_pattern_single(music);
    EXPECT_EQ(RANDOM_state(), after_five);
    EXPECT_FALSE(MUSIC_add_instrument(music, nullptr));
    MUSIC_free(&music);
    EXPECT_EQ(music, nullptr);
}

TEST(Music, PatternGeneratorsPlaceHitsLevelsAndOffsets)
{
    MUSIC* music = one_sound_music();

    // Eight hits 5512 apart at a quarter level; the first one starts 4 values before the end.
    RANDOM_seed15(seed_for({0, 0, 0, 0}, 3));
    MUSIC_pattern_repeat(music);
    EXPECT_EQ(values(music->pattern), hits_at({44096, 38584, 33072, 27560, 22048, 16536, 11024, 5512}, 1));

    // Offset 22050 + 2756 turns the whole figure; two hits at half level.
    RANDOM_seed15(seed_for({1, 0, 0, 1}, 1));
    MUSIC_pattern_repeat(music);
    EXPECT_EQ(values(music->pattern), hits_at({22050 + 24806, 24806}, 3));

    // Odd repeat with c = 1: one hit at three quarters, half a bar in, plus offset 5512.
    RANDOM_seed15(seed_for({0, 0, 1, 0}, 1));
    MUSIC_pattern_odd_repeat(music);
    EXPECT_EQ(values(music->pattern), hits_at({22050 + 5512}, 3));

    // Odd repeat with c = 0: five hits a sixth apart, full level.
    RANDOM_seed15(seed_for({0, 0, 0, 0}, 0));
    MUSIC_pattern_odd_repeat(music);
    EXPECT_EQ(values(music->pattern), hits_at({36750, 29400, 22050, 14700, 7350}, 4));

    // Single: one hit at the offset and five draws only.
    const uint32_t seed = seed_for({0, 1, 0, 0}, -1);
    RANDOM_seed15(seed);
    MUSIC_pattern_single(music);
    EXPECT_EQ(values(music->pattern), hits_at({11025}, 4));
    RANDOM_seed15(seed);
    for (int32_t i = 0; i < 5; ++i) RANDOM_rand15();
    const uint32_t five = RANDOM_state();
    RANDOM_seed15(seed);
    MUSIC_pattern_single(music);
    EXPECT_EQ(RANDOM_state(), five);

    // Single faded: the whole-bar ramp, the hit at index 0 barely lowered.
    RANDOM_seed15(seed_for({0, 0, 0, 0}, -1));
    MUSIC_pattern_single_faded(music);
    EXPECT_EQ(music->pattern->data[0], 32 * 32767 >> 15);
    EXPECT_EQ(music->pattern->data[7], 4 * 32766 >> 15);

    // A pattern of the wrong length is remade at the bar's length.
    SAMPLE_set_length(music->pattern, 100);
    MUSIC_pattern_repeat_faded(music);
    EXPECT_EQ(music->pattern->length, 44100);
    SAMPLE_set_length(music->pattern, 100);
    MUSIC_pattern_single(music);
    EXPECT_EQ(music->pattern->length, 44100);
    MUSIC_free(&music);
}
