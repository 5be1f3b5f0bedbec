// SONG: the composed song, with pinned hashes of the whole bank and first bar; the music switch,
// frozen music, the player's queue, and the waveforms shown while composing.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/music.h"
#include "audio/winsnd.h"
#include "backends/headless.h"
#include "base/random.h"
#include "core/demo.h"
#include "core/song.h"
#include "platform/os.h"
#include "platform/windpy.h"
#include "raster/img.h"
#include "support/samples.h"

namespace {

uint32_t fnv1a(const SAMPLE* s)
{
    uint32_t h = 2166136261u;
    for (int32_t i = 0; i < s->length; ++i)
        for (int32_t b = 0; b < 4; ++b) h = (h ^ ((static_cast<uint32_t>(s->data[i]) >> (8 * b)) & 0xFF)) * 16777619u;
    return h;
}

// A fresh player handed to the song, as at start-up, then the seed of the show.
struct Show {
    WINSND* player = nullptr;
    explicit Show(bool seed = true)
    {
        HEADLESS_reset();
        demo.music_muted = 0;
        player = WINSND_new();
        demo_set_sound_player(player);
        if (seed) RANDOM_seed15(0x45103175);
    }
    ~Show()
    {
        demo_song_release();
        demo_set_sound_player(nullptr);
        demo_set_bar_listener(nullptr);
        WINSND_free(&player);
        demo.music_muted = 0;
    }
};

struct Heard {
    int64_t calls = 0;
    std::vector<int16_t> first_values;
};
Heard heard;

void listen(const uint8_t* wav, std::size_t size)
{
    ++heard.calls;
    heard.first_values.clear();
    for (std::size_t k = 0; k < 4 && 64 + 2 * k + 1 < size; ++k)
        heard.first_values.push_back(static_cast<int16_t>(wav[64 + 2 * k] | wav[65 + 2 * k] << 8));
}

}  // namespace

TEST(Music, ComposedSongIsPinned)
{
    Show show;
    demo_compose_song(nullptr, nullptr);
    MUSIC* music = demo_music();
    ASSERT_NE(music, nullptr);
    ASSERT_EQ(music->bank->count, 96);
    EXPECT_EQ(music->pattern_period, 1);
    EXPECT_EQ(music->bar_count, 0);  // the first switch ran before any pattern existed

    static constexpr int32_t lengths[7] = {22050, 22050, 22050, 11025, 44100, 88200, 44100};
    static constexpr int32_t group_end[7] = {24, 36, 48, 60, 72, 84, 96};
    std::vector<uint32_t> hashes;
    for (int32_t k = 0, g = 0; k < 96; ++k) {
        if (k == group_end[g]) ++g;
        const auto* sound = static_cast<const SAMPLE*>(LIST_get(music->bank, k));
        ASSERT_EQ(sound->length, lengths[g]) << k;
        hashes.push_back(fnv1a(sound));
    }
    // FNV-1a of each sound's values (4 bytes each, low byte first), in bank order.
    static constexpr uint32_t pinned[96] = {
        0xD8EC8A83, 0xCCB09E75, 0x9FA3AB0F, 0x65F721A1, 0xC45AA7E6, 0x078E6920,
        0x4CF2A429, 0x3C7583FC, 0x793282F6, 0x35428BCB, 0x180DDFAF, 0x54348BE7,
        0x9A2CD681, 0x49E6B2CE, 0x298B1FA5, 0xC79A4B21, 0x0756A933, 0x06F6BD4E,
        0x154FF2BC, 0x22207C04, 0x48509F8B, 0xDAFB031A, 0x831F8AC2, 0x13B49E2A,
        0x89F575AF, 0x0182EBDD, 0xD716B0E7, 0x678736FF, 0xC4006EFE, 0x9120280A,
        0xAE76FEA3, 0x4AD3B98C, 0xD306A8D0, 0x5E24B5C8, 0x1E8BD199, 0x7107C0E8,
        0x2B552147, 0x58D5AFFF, 0x373093B1, 0xF8F69FFE, 0xA44D9E11, 0xC9EDCE89,
        0x269C2C06, 0x4D4A3D46, 0xBC144783, 0xC23ABBE7, 0x3825314D, 0x7923D606,
        0x7CFB6FB3, 0xC5957CA7, 0x89FAEF26, 0x1A67AAF3, 0x241E904E, 0xC185F077,
        0x436030FA, 0x7A4D49CE, 0xB7D3BD56, 0xAF1A0DA9, 0xE28F35B4, 0x9ACA76BF,
        0x08583C98, 0xD11203D7, 0x849FFB6E, 0xC8880BFB, 0xB8F0D5FC, 0xFFEE9F24,
        0xD91CAC37, 0xD9347AE0, 0x93E1F118, 0xE122C9E2, 0xDF993E2C, 0x660CEC66,
        0x17BF4CD7, 0xD7A06CD2, 0x9AC9E192, 0xEE01C0D3, 0xDA9A6F4B, 0x577703B6,
        0x41C2CF38, 0x3C003CEA, 0xD79CB905, 0xD221B86A, 0x96703A04, 0xFFF87F59,
        0xF8EF7F7D, 0xF4B9F64D, 0x0EE8664B, 0x0C493A8F, 0xAB744FE0, 0xAD663CE8,
        0x2EA003DF, 0x4BDDF9ED, 0x2A4A828A, 0x793D98A9, 0x63B87DC5, 0xDE47DA52,
    };
    EXPECT_EQ(hashes, std::vector<uint32_t>(pinned, pinned + 96));
    EXPECT_EQ(fnv1a(music->bar), 0xDA2E8D47u) << "first bar";

    // The player loops the bar's low 16 bits from the start.
    ASSERT_NE(show.player->image, nullptr);
    for (int32_t k : {0, 1, 22050, 44099}) {
        const uint8_t* at = show.player->image.get() + 64 + 2 * k;
        EXPECT_EQ(static_cast<int16_t>(at[0] | at[1] << 8), static_cast<int16_t>(music->bar->data[k])) << k;
    }
    EXPECT_EQ(HEADLESS_audio_starts(), 2);
}

TEST(Music, SwitchAddsFourPatternsToTheFadingBarAndRestartsTheLoop)
{
    Show show;
    demo_compose_song(nullptr, nullptr);
    MUSIC* music = demo_music();
    heard = {};
    demo_set_bar_listener(listen);
    const std::vector<int32_t> first_bar = values(music->bar);

    // The same draws made by hand: four patterns summed.
    const uint32_t state = RANDOM_state();
    std::vector<int32_t> sum(44100, 0);
    for (int32_t p = 0; p < 4; ++p) {
        demo_music_pick_pattern();
        for (int32_t i = 0; i < 44100; ++i) sum[i] += music->pattern->data[i];
    }
    RANDOM_seed15(state);
    const int64_t starts = HEADLESS_audio_starts();
    OS_sleep(300);
    demo_music_switch();
    std::vector<int32_t> expected(44100);
    for (int32_t i = 0; i < 44100; ++i) expected[i] = (first_bar[i] + sum[i]) / 4;
    EXPECT_EQ(values(music->bar), expected);
    EXPECT_EQ(music->bar_count, 1);
    EXPECT_EQ(HEADLESS_audio_starts(), starts + 1);
    EXPECT_EQ(show.player->queue->count, 0);

    // The listener hears the new image; the platform plays it from the switch on.
    EXPECT_EQ(heard.calls, 1);
    std::vector<int16_t> low;
    for (int32_t k = 0; k < 4; ++k) low.push_back(static_cast<int16_t>(expected[k]));
    EXPECT_EQ(heard.first_values, low);
    OS_sleep(100);
    const std::vector<int16_t> played = HEADLESS_render_audio(300, 400);
    EXPECT_EQ(std::vector<int16_t>(played.begin(), played.begin() + 4), low);
}

TEST(Music, FrozenMusicDrawsNothingAndKeepsTheLoop)
{
    Show show;
    demo_compose_song(nullptr, nullptr);
    MUSIC* music = demo_music();
    const std::vector<int32_t> bar = values(music->bar);
    const uint32_t state = RANDOM_state();
    const int64_t starts = HEADLESS_audio_starts();
    demo.music_muted = 1;
    EXPECT_TRUE(demo_music_muted_flag());
    demo_music_switch();
    demo_music_pick_pattern();
    EXPECT_EQ(RANDOM_state(), state);
    EXPECT_EQ(values(music->bar), bar);
    EXPECT_EQ(HEADLESS_audio_starts(), starts);
    demo.music_muted = 0;
    demo_music_switch();
    EXPECT_NE(RANDOM_state(), state);
    EXPECT_EQ(HEADLESS_audio_starts(), starts + 1);
}

TEST(Music, FullQueuePlaysWhatWasWaitingFirst)
{
    Show show;
    demo_compose_song(nullptr, nullptr);
    std::vector<SAMPLE*> waiting;
    for (int32_t q = 0; q < 4; ++q) {
        SAMPLE* s = SAMPLE_new();
        SAMPLE_set_length(s, 44100);
        s->data[0] = 100 + q;
        waiting.push_back(s);
        LIST_append(show.player->queue, s);
    }
    demo_music_switch();
    EXPECT_EQ(show.player->queue->count, 3);
    EXPECT_EQ(show.player->current, waiting[0]);
    EXPECT_EQ(show.player->image[64], 100);
    for (int32_t q = 1; q < 4; ++q) EXPECT_NE(LIST_get(show.player->queue, q - 1), demo_music()->bar);
    // Releasing the song leaves no reference to its bar in the queue.
    LIST_append(show.player->queue, demo_music()->bar);
    demo_song_release();
    EXPECT_EQ(show.player->queue->count, 3);
    for (SAMPLE* s : waiting) SAMPLE_free(&s);
}

TEST(Music, ComposingShowsEveryWaveformWithoutChangingTheSong)
{
    uint32_t silent_hash = 0;
    {
        Show show;
        demo_compose_song(nullptr, nullptr);
        silent_hash = fnv1a(demo_music()->bar);
    }
    Show show;
    WINDPY* display = WINDPY_new();
    ASSERT_NE(display, nullptr);
    Image* work = IMG_new();
    IMG_resize(work, 256, 256);
    std::vector<uint32_t> corner;
    HEADLESS_set_sink([&](const HeadlessFrame& f) { corner.push_back(f.pixels[0]); });
    RANDOM_seed15(0x45103175);
    demo_compose_song(display, work);
    HEADLESS_set_sink(nullptr);
    EXPECT_EQ(HEADLESS_presentations(), 96);
    EXPECT_EQ(fnv1a(demo_music()->bar), silent_hash);
    EXPECT_EQ(corner.size(), 96u);
    EXPECT_EQ(corner.front(), 0x008000u);
    // Only background, strokes and markers, and the markers are there.
    bool marker = false;
    for (int32_t i = 0; i < 256 * 256; ++i) {
        const uint32_t p = work->pixels[i];
        ASSERT_TRUE(p == 0x008000 || p == 0xFFFFFF || p == 0x00F0F0) << i;
        marker = marker || p == 0x00F0F0;
    }
    EXPECT_TRUE(marker);
    IMG_free(&work);
    WINDPY_free(&display);
}
