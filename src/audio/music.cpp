#include "audio/music.h"

#include "audio/sound.h"
#include "base/record.h"
#include "base/random.h"

static ErrorReport music_errors{"MUSIC ERROR\n", false, 0};

ErrorReport& MUSIC_report() { return music_errors; }

// Whole hertz, C of the lowest octave first; a few entries are one off the rounded ideal on purpose.
static constexpr int32_t music_notes[MUSIC_note_count] = {
    32,   34,   36,   39,   41,   44,   46,   49,   52,   55,   58,   62,
    65,   69,   73,   78,   82,   87,   93,   98,   104,  110,  117,  123,
    131,  139,  147,  156,  165,  175,  185,  196,  208,  220,  233,  247,
    262,  277,  294,  311,  330,  349,  370,  392,  415,  440,  466,  494,
    523,  554,  587,  622,  659,  698,  740,  784,  831,  880,  932,  988,
    1046, 1109, 1174, 1244, 1318, 1397, 1480, 1568, 1661, 1760, 1864, 1975,
    2093, 2217, 2349, 2489, 2637, 2793, 2960, 3135, 3322, 3520, 3729, 3951,
    4186, 4434, 4698, 4978, 5274, 5587, 5920, 6272, 6645, 7040, 7458, 7902,
};

int32_t MUSIC_note(int32_t n)
{
    // Chords reach below index 0 and above 95; both wrap around the table.
    int32_t at = n % MUSIC_note_count;
    if (at < 0) at += MUSIC_note_count;
    return music_notes[at];
}

MUSIC* MUSIC_new()
{
    MUSIC* music = record_new<MUSIC>();
    if (!music) {
        REPORT_raise(music_errors);
        return nullptr;
    }
    music->bar = SAMPLE_new();
    if (music->bar) SAMPLE_set_length(music->bar, MUSIC_bar_length);
    music->bank = LIST_new();
    if (!music->bar || music->bar->length != MUSIC_bar_length || !music->bank) {
        MUSIC_free(&music);
        REPORT_raise(music_errors);
        return nullptr;
    }
    music->pattern_period = 300;
    return music;
}

void MUSIC_free(MUSIC** music)
{
    if (!music || !*music) {
        REPORT_raise(music_errors);
        return;
    }
    MUSIC* m = *music;
    if (m->bar) SAMPLE_free(&m->bar);
    if (m->pattern) SAMPLE_free(&m->pattern);
    if (m->bank) {
        while (m->bank->count > 0) {
            auto* sound = static_cast<SAMPLE*>(LIST_pop(m->bank));
            if (sound) SAMPLE_free(&sound);
        }
        LIST_free(&m->bank);
    }
    record_free(music);
}

bool MUSIC_add_instrument(MUSIC* music, SAMPLE* sound)
{
    if (!music || !music->bank || !sound) {
        REPORT_raise(music_errors);
        return false;
    }
    const int32_t before = music->bank->count;
    LIST_append(music->bank, sound);
    if (music->bank->count == before) {
        REPORT_raise(music_errors);
        return false;
    }
    return true;
}

void MUSIC_count_bar(MUSIC* music)
{
    if (!music) {
        REPORT_raise(music_errors);
        return;
    }
    if (music->bar && music->pattern) ++music->bar_count;
}

namespace {

enum class Body { single, single_faded, repeat, repeat_faded, odd_repeat };

// A silent pattern of the bar's length; null when none can be made.
SAMPLE* cleared_pattern(MUSIC* music, bool keep_storage)
{
    const int32_t length = music->bar->length;
    if (music->pattern && music->pattern->length != length) {
        if (keep_storage) {
            SAMPLE_set_length(music->pattern, length);
        } else {
            SAMPLE_free(&music->pattern);
        }
    }
    if (!music->pattern) {
        music->pattern = SAMPLE_new();
        if (music->pattern) SAMPLE_set_length(music->pattern, length);
    }
    if (!music->pattern || music->pattern->length != length) {
        REPORT_raise(music_errors);
        return nullptr;
    }
    SAMPLE_clear(music->pattern);
    return music->pattern;
}

// Gain 1, 3/4, 1/2 or 1/4 for c = 0 .. 3.
void level_step(SAMPLE* pattern, int32_t c)
{
    SAMPLE_scale(pattern, 4 - c);
    SAMPLE_shift_right(pattern, 2);
}

// The frame every generator shares: pattern, draws, body, offset rotation.
void make_pattern(MUSIC* music, Body body)
{
    if (!music || !music->bar || !music->bank) {
        REPORT_raise(music_errors);
        return;
    }
    SAMPLE* pattern = cleared_pattern(music, body == Body::single);
    if (!pattern) return;
    const int32_t length = pattern->length;
    const int32_t count = music->bank->count;
    const int32_t pick = RANDOM_rand15();
    const int32_t b1 = RANDOM_rand15() % 2, b2 = RANDOM_rand15() % 2;
    const int32_t b3 = RANDOM_rand15() % 2, b4 = RANDOM_rand15() % 2;
    const bool repeats = body == Body::repeat || body == Body::repeat_faded || body == Body::odd_repeat;
    const int32_t c = repeats ? RANDOM_rand15() % 4 : 0;
    const int32_t offset = b1 * (length >> 1) + b2 * (length >> 2) + b3 * (length >> 3) + b4 * (length >> 4);
    // An empty bank has no position to pick; the pattern stays silent like a missing sound.
    if (count == 0) return;
    const auto* sound = static_cast<const SAMPLE*>(LIST_get(music->bank, pick % count));
    if (!sound) return;

    switch (body) {
    case Body::single:
        SAMPLE_add(pattern, sound);
        break;
    case Body::single_faded:
        SAMPLE_add(pattern, sound);
        SOUND_fade_out(pattern);
        break;
    case Body::repeat:
    case Body::repeat_faded: {
        const int32_t hits = 1 << c;
        for (int32_t h = 0; h < hits; ++h) {
            SAMPLE_add(pattern, sound);
            if (body == Body::repeat_faded) SOUND_fade_out(pattern);
            SAMPLE_rotate(pattern, length / hits);
        }
        level_step(pattern, c);
        break;
    }
    case Body::odd_repeat: {
        const int32_t hits = c == 0 ? 5 : (1 << c) - 1;
        for (int32_t h = 0; h < hits; ++h) {
            SAMPLE_add(pattern, sound);
            SAMPLE_rotate(pattern, length / (hits + 1));
        }
        level_step(pattern, c);
        break;
    }
    }
    SAMPLE_rotate(pattern, offset);
}

}  // namespace

void MUSIC_pattern_single(MUSIC* music) { make_pattern(music, Body::single); }
void MUSIC_pattern_single_faded(MUSIC* music) { make_pattern(music, Body::single_faded); }
void MUSIC_pattern_repeat(MUSIC* music) { make_pattern(music, Body::repeat); }
void MUSIC_pattern_repeat_faded(MUSIC* music) { make_pattern(music, Body::repeat_faded); }
void MUSIC_pattern_odd_repeat(MUSIC* music) { make_pattern(music, Body::odd_repeat); }
