#include "effects/ball3d.h"

#include <cstdio>

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"
#include "base/random.h"
#include "raster/rgb888.h"

static ErrorReport ball3d_errors{"BALL3D error\n", false, 0};

ErrorReport& BALL3D_report() { return ball3d_errors; }

namespace {

constexpr int32_t half_turn = 512;

// Shade numerators n = px*lx + py*ly + pz*lz within +-table_half are coloured through a table
// built once per draw, which also folds in the division by 9.
constexpr int32_t table_half = 8192;
// Radii up to this size keep every sine product inside 32 bits without wrapping.
constexpr int32_t fast_radius_limit = 32767;

struct {
    uint32_t colour_by_numerator[2 * table_half + 1];
    int32_t column[half_turn];     // cx + px of each point of the current circle of latitude
    int32_t numerator[half_turn];  // px*lx + pz*lz of each point of that circle
} ball_state;

int32_t sine(int32_t index) { return SINE_table[static_cast<uint32_t>(index) & SINE_mask]; }

int32_t shift15(int32_t product) { return product >> 15; }

uint32_t shade_colour(uint32_t colour, int32_t shade)
{
    if (shade >= 0) return RGB888_add(colour, static_cast<uint32_t>(shade) * 0x010101u);
    return RGB888_sub(colour, static_cast<uint32_t>(-shade) * 0x010101u);
}

// Offsets and shade of point (i, j) in the full 32-bit wrapping arithmetic.
struct Point {
    int32_t px, py, shade;
};
Point point_at(const Ball& ball, int32_t i, int32_t j)
{
    const int32_t a = shift15(wrap_mul(sine(i), ball.radius));
    const int32_t py = shift15(wrap_mul(sine(i + 256), ball.radius));
    const int32_t px = shift15(wrap_mul(sine(j + 256), a));
    const int32_t pz = shift15(wrap_mul(sine(j), a));
    const int32_t n = wrap_add(wrap_add(wrap_mul(px, ball.light_x), wrap_mul(py, ball.light_y)), wrap_mul(pz, ball.light_z));
    return {px, py, n / 9};
}

// Any radius and light: every point computed in wrapping arithmetic, clipped one by one.
void draw_general(const Ball& ball, Image& target)
{
    const int64_t w = target.width, h = target.height;
    uint32_t* pixels = target.pixels.get();
    for (int32_t i = 0; i < half_turn; ++i) {
        for (int32_t j = 0; j < half_turn; ++j) {
            const Point p = point_at(ball, i, j);
            const int64_t col = int64_t{ball.x} + p.px, row = int64_t{ball.y} + p.py;
            if (col >= 0 && row >= 0 && col < w && row < h) pixels[col + row * w] = shade_colour(ball.colour, p.shade);
        }
    }
}

// First index in [lo, hi) where pred holds, pred being false and then true along the indices.
template <class Pred>
int32_t first_true(int32_t lo, int32_t hi, Pred pred)
{
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (pred(mid)) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

// Radius and light small enough that nothing wraps and every shade numerator lies within the
// table. Per circle of latitude the columns cx + px(j) are monotonic in j (the cosine falls over
// half a turn), so the visible points form one run of j found by binary search, and that run is
// plotted without per-point clipping.
void draw_table(const Ball& ball, Image& target, int32_t bound)
{
    const int32_t r = ball.radius, lx = ball.light_x, ly = ball.light_y, lz = ball.light_z;
    uint32_t* table = ball_state.colour_by_numerator + table_half;
    for (int32_t n = -bound; n <= bound; ++n) table[n] = shade_colour(ball.colour, n / 9);

    const int16_t* S = SINE_table.data();
    const int16_t* C = SINE_table.data() + 256;  // cosine of j for j in 0 .. 511
    const int64_t w = target.width, h = target.height, cx = ball.x, cy = ball.y;
    const int64_t lo = -cx, hi = w - 1 - cx;  // visible range of px
    uint32_t* pixels = target.pixels.get();
    int32_t cached_a = 0, j0 = 0, j1 = -1;
    bool cached = false;
    for (int32_t i = 0; i < half_turn; ++i) {
        const int32_t py = (C[i] * r) >> 15;
        const int64_t row = cy + py;
        if (row < 0 || row >= h) continue;
        const int32_t a = (S[i] * r) >> 15;
        // Neighbouring circles of latitude often share their radius a and so their columns.
        if (!cached || a != cached_a) {
            auto px = [&](int32_t j) { return int64_t{(C[j] * a) >> 15}; };
            if (a >= 0) {
                j0 = first_true(0, half_turn, [&](int32_t j) { return px(j) <= hi; });
                j1 = first_true(0, half_turn, [&](int32_t j) { return px(j) < lo; }) - 1;
            } else {
                j0 = first_true(0, half_turn, [&](int32_t j) { return px(j) >= lo; });
                j1 = first_true(0, half_turn, [&](int32_t j) { return px(j) > hi; }) - 1;
            }
            // cx + px lies inside the row for j0 .. j1, so the sum fits.
            const int32_t x0 = ball.x;
            for (int32_t j = j0; j <= j1; ++j) {
                const int32_t x = (C[j] * a) >> 15, z = (S[j] * a) >> 15;
                ball_state.column[j] = x0 + x;
                ball_state.numerator[j] = x * lx + z * lz;
            }
            cached_a = a;
            cached = true;
        }
        uint32_t* line = pixels + row * w;
        const uint32_t* shaded = table + py * ly;
        const int32_t* column = ball_state.column;
        const int32_t* numerator = ball_state.numerator;
        for (int32_t j = j0; j <= j1; ++j) line[column[j]] = shaded[numerator[j]];
    }
}

int64_t magnitude(int32_t v) { return v < 0 ? -int64_t{v} : int64_t{v}; }

}  // namespace

Ball* BALL3D_new()
{
    Ball* ball = record_new<Ball>();
    if (!ball) {
        REPORT_raise(ball3d_errors);
        return nullptr;
    }
    ball->x = RANDOM_rand30() % 256;
    ball->y = RANDOM_rand30() % 256;
    RANDOM_rand30();  // drawn and dropped: every later value depends on it
    ball->radius = RANDOM_rand30() % 256;
    ball->colour = static_cast<uint32_t>(RANDOM_rand30());
    RANDOM_rand30();  // drawn and dropped
    return ball;
}

void BALL3D_free(Ball** ball)
{
    if (!ball || !*ball) {
        REPORT_raise(ball3d_errors);
        return;
    }
    record_free(ball);
}

void BALL3D_draw(Ball* ball)
{
    if (!ball) {
        REPORT_raise(ball3d_errors);
        return;
    }
    Image* target = ball->target;
    if (!target || !target->pixels) {
        REPORT_raise(ball3d_errors);
    } else {
        const int64_t r = magnitude(ball->radius);
        const int64_t light = magnitude(ball->light_x) + magnitude(ball->light_y) + magnitude(ball->light_z);
        const int64_t bound = r <= fast_radius_limit ? r * light : int64_t{table_half} + 1;
        if (bound <= table_half) {
            draw_table(*ball, *target, static_cast<int32_t>(bound));
        } else {
            draw_general(*ball, *target);
        }
    }
    // Diagnostic for shades that spill across the channel fields, judged by the last point.
    const int32_t last = point_at(*ball, half_turn - 1, half_turn - 1).shade;
    if (last > 255 || last < -255) {
        int32_t lowest = last, highest = last;
        for (int32_t i = 0; i < half_turn; ++i) {
            for (int32_t j = 0; j < half_turn; ++j) {
                const int32_t s = point_at(*ball, i, j).shade;
                lowest = s < lowest ? s : lowest;
                highest = s > highest ? s : highest;
            }
        }
        std::printf("min=%d max=%d", lowest, highest);
    }
}
