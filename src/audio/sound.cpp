#include "audio/sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/random.h"

static ErrorReport sound_errors{"SOUND Error.\n", false, 0};

ErrorReport& SOUND_report() { return sound_errors; }

// Values of one full sine period; 44100 x 32768 is that period in 1/32768-value phase steps.
static constexpr int32_t wave_size = 44100;
static constexpr int32_t quarter = wave_size / 4;

static struct {
    SAMPLE* wave = nullptr;  // one sine period, made once
    SAMPLE* ramp = nullptr;  // the fade envelope of the last length faded, kept for the next fade
} sound_state;

const SAMPLE* SOUND_wave_table()
{
    if (sound_state.wave) return sound_state.wave;
    SAMPLE* wave = SAMPLE_new();
    if (wave) SAMPLE_set_length(wave, wave_size);
    if (!wave || wave->length != wave_size) {
        if (wave) SAMPLE_free(&wave);
        REPORT_raise(sound_errors);
        return nullptr;
    }
    // A quarter wave mirrored into the other three; the angle step uses pi/2 in single precision,
    // which puts the peak just past the top, so it truncates to 32766. No 32767 x sine here lies
    // near a whole number, so C libraries whose sines differ in the last bit give the same table.
    const double h = static_cast<double>(static_cast<float>(std::numbers::pi / 2));
    int32_t* v = wave->data.get();
    for (int32_t i = 0; i <= quarter; ++i) {
        const auto s = static_cast<int32_t>(32767.0 * std::sin(i * h / quarter));
        v[i] = s;
        v[2 * quarter - i] = s;
        v[2 * quarter + i] = -s;
        if (i > 0) v[wave_size - i] = -s;
    }
    sound_state.wave = wave;
    return wave;
}

void SOUND_sine(SAMPLE* sample, int32_t f)
{
    if (!sample || (!sample->data && sample->length > 0)) {
        REPORT_raise(sound_errors);
        return;
    }
    const SAMPLE* table = SOUND_wave_table();
    if (!table) return;
    const int32_t* wave = table->data.get();
    // The phase is always a whole number of table steps, so it is kept as a table index: entry
    // (i x f) mod 44100, without the 32-bit overflow a fixed-point phase has for high f.
    int32_t step = f % wave_size;
    if (step < 0) step += wave_size;
    int32_t* out = sample->data.get();
    int32_t at = 0;
    for (int32_t i = 0; i < sample->length; ++i) {
        out[i] = wave[at];
        at += step;
        if (at >= wave_size) at -= wave_size;
    }
}

void SOUND_square(SAMPLE* sample, int32_t f)
{
    constexpr int64_t cycle = int64_t{wave_size} * 32768;
    if (!sample || (!sample->data && sample->length > 0) || f <= 0 || f > cycle) {
        REPORT_raise(sound_errors);
        return;
    }
    int32_t* out = sample->data.get();
    const int64_t length = sample->length;
    const int64_t period = cycle / f;
    const int64_t periods = length * 32768 / period;
    for (int64_t k = 0; k < periods; ++k) {
        const int64_t s = k * period;
        const int64_t a = s >> 15, m = (s + period / 2) >> 15, e = (s + period) >> 15;
        // Above 22050 Hz a period is shorter than a value and m + 1 may reach the end.
        const int64_t high_end = std::min(m, length), low_end = std::min(e - 1, length);
        std::fill(out + a, out + high_end, 32767);
        if (m < length) out[m] = 0;
        if (m + 1 < low_end) std::fill(out + m + 1, out + low_end, -32768);
        const int64_t tail = std::max(m + 1, e - 1);
        if (tail < length) out[tail] = 0;
    }
}

void SOUND_noise(SAMPLE* sample, int32_t r)
{
    if (!sample || (!sample->data && sample->length > 0)) {
        REPORT_raise(sound_errors);
        return;
    }
    int32_t* out = sample->data.get();
    int32_t level = RANDOM_rand15() - 32768;
    // 64-bit so that rates far above 44100 cannot run the countdown past the 32-bit range.
    int64_t countdown = 22050;
    for (int32_t i = sample->length - 1; i >= 0; --i) {
        countdown -= r;
        if (countdown < 0) {
            level = RANDOM_rand15() - 32768;
            countdown += 44100;
        }
        out[i] = level;
    }
}

void SOUND_fade_out(SAMPLE* sample)
{
    if (!sample || (!sample->data && sample->length > 0)) {
        REPORT_raise(sound_errors);
        return;
    }
    if (sample->length == 0) return;
    // The composer fades hundreds of sounds of a few lengths in a row: the envelope depends only
    // on the length, so it is made again only when the length changes.
    SAMPLE*& ramp = sound_state.ramp;
    if (!ramp || ramp->length != sample->length) {
        if (ramp) SAMPLE_free(&ramp);
        ramp = SAMPLE_new();
        if (ramp) SAMPLE_set_length(ramp, sample->length);
        if (!ramp || ramp->length != sample->length) {
            if (ramp) SAMPLE_free(&ramp);
            REPORT_raise(sound_errors);
            return;
        }
        SAMPLE_line(ramp, 0, 32767, sample->length - 1, 0);
    }
    SAMPLE_multiply(sample, ramp);
    SAMPLE_shift_right(sample, 15);
}
