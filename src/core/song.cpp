#include "core/song.h"

#include "audio/sam.h"
#include "audio/samdraw.h"
#include "audio/sound.h"
#include "core/demo.h"
#include "base/random.h"

static struct {
    MUSIC* music = nullptr;      // the bar, the bank and the pattern scratch
    SAMPLE* scratch = nullptr;   // the buffer the recipes mix their partials in
    SAM* holder = nullptr;       // holds the sound being drawn
    SAMDRAW* drawer = nullptr;   // draws it into the work image
    WINSND* player = nullptr;    // borrowed from start-up
    void (*bar_listener)(const uint8_t* wav, std::size_t size) = nullptr;
} song_state;

WINSND* demo_sound_player() { return song_state.player; }
void demo_set_sound_player(WINSND* player) { song_state.player = player; }
MUSIC* demo_music() { return song_state.music; }
void demo_set_bar_listener(void (*listener)(const uint8_t*, std::size_t)) { song_state.bar_listener = listener; }
bool demo_music_muted_flag() { return demo.music_muted != 0; }

void demo_song_release()
{
    // The player's queue must not keep a reference to the bar freed here.
    LIST* queue = song_state.player ? song_state.player->queue : nullptr;
    for (int32_t i = queue && song_state.music ? queue->count - 1 : -1; i >= 0; --i)
        if (LIST_get(queue, i) == song_state.music->bar) LIST_remove_at(queue, i);
    if (song_state.music) MUSIC_free(&song_state.music);
    if (song_state.scratch) SAMPLE_free(&song_state.scratch);
    if (song_state.holder) SAM_free(&song_state.holder);
    if (song_state.drawer) SAMDRAW_free(&song_state.drawer);
}

namespace {

// A fresh silent sound of the given length; null when memory runs out.
SAMPLE* fresh_sound(int32_t length)
{
    SAMPLE* sound = SAMPLE_new();
    if (!sound) return nullptr;
    SAMPLE_set_length(sound, length);
    if (sound->length != length) SAMPLE_free(&sound);
    return sound;
}

void fade(SAMPLE* sound, int32_t times)
{
    for (int32_t t = 0; t < times; ++t) SOUND_fade_out(sound);
}

// Sine with two octave partials at half and quarter level.
void organ(SAMPLE* b, SAMPLE* s, int32_t i)
{
    const int32_t f = MUSIC_note(i);
    SOUND_sine(b, f);
    SOUND_sine(s, 2 * f);
    SAMPLE_shift_right(s, 1);
    SAMPLE_add(b, s);
    SOUND_sine(s, 4 * f);
    SAMPLE_shift_right(s, 2);
    SAMPLE_add(b, s);
    SAMPLE_normalise(b, 32000 - 1200 * i);
}

// Steeply decaying sine with a burst of coarse noise.
void pluck(SAMPLE* b, SAMPLE* s, int32_t i)
{
    const int32_t f = MUSIC_note(i);
    SOUND_sine(b, f);
    fade(b, 8);
    SOUND_noise(s, 16 * f);
    fade(s, 24);
    SAMPLE_add(b, s);
    SAMPLE_normalise(b, 30000 - 200 * i);
}

// Square plus four layers of held noise, percussive.
void drum(SAMPLE* b, SAMPLE* s, int32_t i)
{
    const int32_t f = MUSIC_note(i);
    SOUND_square(b, f);
    SAMPLE_shift_right(b, 2);
    fade(b, 1);
    SOUND_noise(s, f / 4);
    SAMPLE_shift_right(s, 4);
    fade(s, 1);
    SAMPLE_add(b, s);
    SOUND_noise(s, f / 2);
    SAMPLE_shift_right(s, 2);
    fade(s, 1);
    SAMPLE_add(b, s);
    SOUND_noise(s, 4 * f);
    fade(s, 4);
    SAMPLE_add(b, s);
    SOUND_noise(s, 8 * f);
    fade(s, 5);
    SAMPLE_add(b, s);
    SAMPLE_normalise(b, 28000 - 400 * i);
    fade(b, 4);
}

// High square with white and half-rate noise, short.
void hat(SAMPLE* b, SAMPLE* s, int32_t i)
{
    SOUND_square(b, MUSIC_note(i));
    SOUND_noise(s, 44100);
    SAMPLE_add(b, s);
    SOUND_noise(s, 22050);
    SAMPLE_add(b, s);
    SAMPLE_shift_right(b, 2);
    SAMPLE_normalise(b, 8000 - 20 * i);
    fade(b, 4);
}

// Square with two octave partials.
void buzz(SAMPLE* b, SAMPLE* s, int32_t i)
{
    const int32_t f = MUSIC_note(i);
    SOUND_square(b, f);
    SOUND_square(s, 2 * f);
    SAMPLE_add(b, s);
    SOUND_square(s, 4 * f);
    SAMPLE_add(b, s);
    SAMPLE_normalise(b, 12000 - 500 * i);
}

// Six-note chord: the note i and five more at fixed semitone steps, from one oscillator.
void chord(SAMPLE* b, SAMPLE* s, int32_t i, void (*oscillator)(SAMPLE*, int32_t), const int32_t (&steps)[5])
{
    oscillator(b, MUSIC_note(i));
    for (const int32_t d : steps) {
        oscillator(s, MUSIC_note(i + d));
        SAMPLE_add(b, s);
    }
}

void sine_chord(SAMPLE* b, SAMPLE* s, int32_t i)
{
    chord(b, s, i, SOUND_sine, {4, 7, -5, -8, -12});
    SAMPLE_normalise(b, 32000 - 400 * i);
}

void square_chord(SAMPLE* b, SAMPLE* s, int32_t i)
{
    chord(b, s, i, SOUND_square, {5, 9, -3, -7, -12});
    SAMPLE_normalise(b, 16000 - 300 * i);
}

struct Group {
    int32_t scratch_length;  // the scratch buffer's length set before the group; 0: unchanged
    int32_t first, last;     // note indices
    int32_t length;          // values per sound
    void (*recipe)(SAMPLE* b, SAMPLE* s, int32_t i);
};

// The bank in composing order: positions 0-23, 24-35, 36-47, 48-59, 60-71, 72-83, 84-95.
constexpr Group groups[] = {
    {0, 0, 23, 22050, organ},         {22050, 0, 11, 22050, pluck},
    {0, 36, 47, 22050, drum},         {11025, 84, 95, 11025, hat},
    {44100, 12, 23, 44100, buzz},     {88200, 24, 35, 88200, sine_chord},
    {44100, 36, 47, 44100, square_chord},
};

// Draws the newest sound over the work image and shows it.
void show_sound(WINDPY* display, Image* work, SAMPLE* sound)
{
    if (!work) return;
    SAM_set_sample(song_state.holder, sound);
    song_state.drawer->first = 0;
    song_state.drawer->last = sound->length - 1;
    SAMDRAW_draw(song_state.drawer);
    SAMDRAW_mark_extremes(song_state.drawer);
    if (display) WINDPY_show(display, work);
}

}  // namespace

void demo_compose_song(WINDPY* display, Image* work)
{
    demo_song_release();
    song_state.music = MUSIC_new();
    if (!song_state.music) return;
    song_state.music->pattern_period = 1;
    song_state.holder = SAM_new();
    song_state.drawer = SAMDRAW_new();
    song_state.drawer->source = song_state.holder;
    song_state.drawer->target = work;
    song_state.drawer->background = 0x008000;
    song_state.drawer->wave_colour = 0xFFFFFF;
    song_state.drawer->marker_colour = 0x00F0F0;
    song_state.scratch = fresh_sound(22050);
    if (!song_state.scratch) return;

    for (const Group& group : groups) {
        // Regrowing keeps only the old length's values; the square oscillator leaves the tail of
        // the scratch as it was, so earlier sound stays there on purpose.
        if (group.scratch_length > 0) SAMPLE_set_length(song_state.scratch, group.scratch_length);
        for (int32_t i = group.first; i <= group.last; ++i) {
            SAMPLE* sound = fresh_sound(group.length);
            if (!sound) continue;
            group.recipe(sound, song_state.scratch, i);
            SOUND_fade_out(sound);
            if (!MUSIC_add_instrument(song_state.music, sound)) {
                SAMPLE_free(&sound);
                continue;
            }
            show_sound(display, work, sound);
        }
    }
    demo_music_switch();
}

void demo_music_pick_pattern()
{
    MUSIC* music = song_state.music;
    if (!music || !song_state.player || demo_music_muted_flag()) return;
    // A period below 1 would divide by zero; it draws every time, like the period 1 in use.
    if (music->pattern_period > 1 && music->bar_count % music->pattern_period != 0) return;
    switch (RANDOM_rand30() % 8) {
    case 0: MUSIC_pattern_single(music); break;
    case 1: MUSIC_pattern_single_faded(music); break;
    case 2: MUSIC_pattern_odd_repeat(music); break;
    case 3: MUSIC_pattern_repeat_faded(music); break;
    default: MUSIC_pattern_repeat(music); break;
    }
}

void demo_music_switch()
{
    MUSIC* music = song_state.music;
    if (demo_music_muted_flag() || !music) return;
    MUSIC_count_bar(music);
    for (int32_t p = 0; p < 4; ++p) {
        demo_music_pick_pattern();
        if (music->pattern) SAMPLE_add(music->bar, music->pattern);
    }
    SAMPLE_divide(music->bar, 4);
    WINSND* player = song_state.player;
    if (!player) return;
    if (player->queue && player->queue->count < 4) LIST_append(player->queue, music->bar);
    if (WINSND_play_next(player) && song_state.bar_listener)
        song_state.bar_listener(player->image.get(), WINSND_image_size(player));
}
