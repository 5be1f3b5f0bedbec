#include "effects/sinedots.h"

#include <utility>

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"
#include "base/random.h"
#include "raster/rgb888.h"

static ErrorReport sinedots_errors{"SINEDOTS error\n", false, 0};

ErrorReport& SINEDOTS_report() { return sinedots_errors; }

namespace {

int32_t draw_mod(int32_t m) { return RANDOM_rand15() % m; }

// (phase + step) mod 1024 with a negative remainder raised by 1024.
int32_t advance(int32_t phase, int32_t step) { return wrap_add(phase, step) & SINE_mask; }

// Sum of three sine waves, shifted by 16: half the nominal amplitudes.
int32_t wave(int32_t a1, int32_t p1, int32_t a2, int32_t p2, int32_t a3, int32_t p3)
{
    return wrap_add(wrap_add(wrap_mul(a1, SINE_at(p1)), wrap_mul(a2, SINE_at(p2))), wrap_mul(a3, SINE_at(p3))) >> 16;
}

void set(VEC2D& v, int32_t x, int32_t y) { v.x = x, v.y = y; }

}  // namespace

SINEDOTS* SINEDOTS_new()
{
    SINEDOTS* swarm = record_new<SINEDOTS>();
    if (!swarm) {
        REPORT_raise(sinedots_errors);
        return nullptr;
    }
    swarm->width = swarm->height = 256;
    swarm->dots = 16;
    swarm->colour = 0xFF0000;
    set(swarm->amplitude1, 128, 128);
    set(swarm->amplitude2, 64, 64);
    set(swarm->amplitude3, 32, 32);
    SINEDOTS_randomise(swarm);
    return swarm;
}

void SINEDOTS_free(SINEDOTS** swarm)
{
    if (!swarm || !*swarm) {
        REPORT_raise(sinedots_errors);
        return;
    }
    record_free(swarm);
}

void SINEDOTS_set_dots(SINEDOTS* swarm, int32_t count)
{
    if (!swarm || count <= 0) {
        REPORT_raise(sinedots_errors);
        return;
    }
    swarm->dots = count;
}

void SINEDOTS_randomise(SINEDOTS* swarm)
{
    if (!swarm) {
        REPORT_raise(sinedots_errors);
        return;
    }
    // Each statement is one draw; the order is part of the show's reproducibility.
    swarm->phase1.x = draw_mod(1024);
    swarm->phase1.y = draw_mod(1024);
    swarm->speed1.x = draw_mod(8) + 3;
    swarm->speed1.y = draw_mod(8) + 3;
    swarm->step1x = draw_mod(16) + 5;
    swarm->step1y = draw_mod(16) + 6;
    set(swarm->amplitude1, 128, 128);
    swarm->phase2.x = draw_mod(1024);
    swarm->phase2.y = draw_mod(1024);
    swarm->speed2.x = draw_mod(8) + 2;
    swarm->speed2.y = draw_mod(8) + 2;
    swarm->step2x = draw_mod(16) + 6;
    swarm->step2y = draw_mod(16) + 7;
    set(swarm->amplitude2, 64, 64);
    swarm->phase3.x = draw_mod(1024);
    swarm->phase3.y = draw_mod(1024);
    swarm->speed3.x = draw_mod(4) + 1;
    swarm->speed3.y = draw_mod(4) + 1;
    swarm->step3x = draw_mod(16) + 7;
    swarm->step3y = draw_mod(16) + 8;
    set(swarm->amplitude3, 32, 32);
}

void SINEDOTS_move(SINEDOTS* swarm)
{
    if (!swarm) {
        REPORT_raise(sinedots_errors);
        return;
    }
    for (auto [phase, speed] : {std::pair{&swarm->phase1, &swarm->speed1}, std::pair{&swarm->phase2, &swarm->speed2},
                                std::pair{&swarm->phase3, &swarm->speed3}}) {
        phase->x = advance(phase->x, speed->x);
        phase->y = advance(phase->y, speed->y);
    }
}

void SINEDOTS_draw(SINEDOTS* swarm, Image* image)
{
    if (!swarm || !image || !image->pixels) {
        REPORT_raise(sinedots_errors);
        return;
    }
    const int32_t w = image->width, h = image->height;
    swarm->width = w;
    swarm->height = h;
    set(swarm->amplitude1, w >> 1, h >> 1);
    set(swarm->amplitude2, w >> 2, h >> 2);
    set(swarm->amplitude3, w >> 3, h >> 3);
    const int32_t A1x = w >> 1, A1y = h >> 1, A2x = w >> 2, A2y = h >> 2, A3x = w >> 3, A3y = h >> 3;
    const int32_t s1x = swarm->step1x, s1y = swarm->step1y, s2x = swarm->step2x, s2y = swarm->step2y,
                  s3x = swarm->step3x, s3y = swarm->step3y;
    int32_t a1x = swarm->phase1.x, a1y = swarm->phase1.y, a2x = swarm->phase2.x, a2y = swarm->phase2.y,
            a3x = swarm->phase3.x, a3y = swarm->phase3.y;
    const uint32_t colour = swarm->colour;
    uint32_t* pixels = image->pixels.get();
    for (int32_t k = 0; k < swarm->dots; ++k) {
        const int64_t col = int64_t{w >> 1} + wave(A1x, a1x, A2x, a2x, A3x, a3x);
        const int64_t row = int64_t{h >> 1} + wave(A1y, a1y, A2y, a2y, A3y, a3y);
        if (col >= 0 && row >= 0 && col < w && row < h) {
            uint32_t& d = pixels[col + row * w];
            d = RGB888_add(d, colour);
        }
        a1x = advance(a1x, s1x), a1y = advance(a1y, s1y);
        a2x = advance(a2x, s2x), a2y = advance(a2y, s2y);
        a3x = advance(a3x, s3x), a3y = advance(a3y, s3y);
    }
}
