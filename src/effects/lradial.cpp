#include "effects/lradial.h"

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"
#include "base/random.h"
#include "raster/imgfx.h"

static ErrorReport lradial_errors{"LRADIAL error\n", false, 0};

ErrorReport& LRADIAL_report() { return lradial_errors; }

static constexpr uint32_t phase_mask = 0x3FFFFFF;  // 1024 table steps in 16.16

LRADIAL* LRADIAL_new()
{
    LRADIAL* rays = record_new<LRADIAL>();
    if (!rays) {
        REPORT_raise(lradial_errors);
        return nullptr;
    }
    rays->x = rays->y = 128;
    rays->width = rays->height = 256;
    rays->rays = 16;
    rays->spacing = 0x4000000 / 16;
    rays->speed = 0x8000 + (RANDOM_rand15() & 0x7FFFF);
    rays->radius = RANDOM_rand15() % (rays->width / 2) + 32;
    rays->colour = 0x808080u | (static_cast<uint32_t>(RANDOM_rand15()) & 0x7F7F7F);
    return rays;
}

void LRADIAL_free(LRADIAL** rays)
{
    if (!rays || !*rays) {
        REPORT_raise(lradial_errors);
        return;
    }
    record_free(rays);
}

void LRADIAL_set_rays(LRADIAL* rays, int32_t count)
{
    if (!rays || count <= 0) {
        REPORT_raise(lradial_errors);
        return;
    }
    rays->rays = count;
    rays->spacing = 0x4000000 / count;
}

void LRADIAL_move(LRADIAL* rays)
{
    if (!rays) {
        REPORT_raise(lradial_errors);
        return;
    }
    rays->phase = (rays->phase + static_cast<uint32_t>(rays->speed)) & phase_mask;
}

void LRADIAL_draw(LRADIAL* rays)
{
    if (!rays || !rays->target) {
        REPORT_raise(lradial_errors);
        return;
    }
    rays->width = rays->target->width;
    rays->height = rays->target->height;
    uint32_t p = rays->phase;
    for (int32_t k = 0; k < rays->rays; ++k) {
        const int32_t a = static_cast<int32_t>((p >> 16) & SINE_mask);
        const int32_t dx = wrap_mul(rays->radius, SINE_at(a)) >> 15;
        const int32_t dy = wrap_mul(rays->radius, SINE_at(a + 256)) >> 15;
        IMGFX_line_dither(rays->target, rays->x, rays->y, rays->colour, wrap_add(rays->x, dx), wrap_add(rays->y, dy), 0);
        p = (p + static_cast<uint32_t>(rays->spacing)) & phase_mask;
    }
}
