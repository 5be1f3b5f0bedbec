#include "vector/vec2d.h"

#include "base/record.h"
#include "base/sine.h"
#include "base/wrap.h"

static ErrorReport vec2d_errors{"VEC2D error\n", false, 0};

ErrorReport& VEC2D_report() { return vec2d_errors; }

VEC2D* VEC2D_new()
{
    VEC2D* v = record_new<VEC2D>();
    if (!v) REPORT_raise(vec2d_errors);
    return v;
}

void VEC2D_free(VEC2D** vector)
{
    if (!vector || !*vector) {
        REPORT_raise(vec2d_errors);
        return;
    }
    record_free(vector);
}

void VEC2D_copy(const VEC2D* source, VEC2D* destination)
{
    if (!source || !destination) {
        REPORT_raise(vec2d_errors);
        return;
    }
    *destination = *source;
}

void VEC2D_add(const VEC2D* offset, VEC2D* target)
{
    if (!offset || !target) {
        REPORT_raise(vec2d_errors);
        return;
    }
    target->x = wrap_add(target->x, offset->x);
    target->y = wrap_add(target->y, offset->y);
}

void VEC2D_sub(VEC2D* target, const VEC2D* offset)
{
    if (!offset || !target) {
        REPORT_raise(vec2d_errors);
        return;
    }
    target->x = wrap_sub(target->x, offset->x);
    target->y = wrap_sub(target->y, offset->y);
}

void VEC2D_mul(VEC2D* target, const VEC2D* factors)
{
    if (!factors || !target) {
        REPORT_raise(vec2d_errors);
        return;
    }
    target->x = wrap_mul(target->x, factors->x);
    target->y = wrap_mul(target->y, factors->y);
}

void VEC2D_scale(VEC2D* target, int32_t k)
{
    if (!target) {
        REPORT_raise(vec2d_errors);
        return;
    }
    target->x = wrap_mul(target->x, k);
    target->y = wrap_mul(target->y, k);
}

void VEC2D_rotate(VEC2D* target, int32_t angle)
{
    if (!target) {
        REPORT_raise(vec2d_errors);
        return;
    }
    if (angle == 0) return;
    const int32_t sn = SINE_at(angle), cs = SINE_at(wrap_add(angle, 256));
    const int32_t x = target->x, y = target->y;
    target->x = wrap_sub(wrap_mul(cs, x), wrap_mul(sn, y)) >> 15;
    target->y = wrap_add(wrap_mul(sn, x), wrap_mul(cs, y)) >> 15;
}

int32_t VEC2D_length2(const VEC2D* vector)
{
    if (!vector) {
        REPORT_raise(vec2d_errors);
        return -1;
    }
    return wrap_add(wrap_mul(vector->x, vector->x), wrap_mul(vector->y, vector->y));
}
