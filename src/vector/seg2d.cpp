#include "vector/seg2d.h"

#include "base/record.h"

static ErrorReport seg2d_errors{"SEG2D error\n", false, 0};

ErrorReport& SEG2D_report() { return seg2d_errors; }

SEG2D* SEG2D_new()
{
    SEG2D* segment = record_new<SEG2D>();
    if (!segment) REPORT_raise(seg2d_errors);
    return segment;
}

void SEG2D_free(SEG2D** segment)
{
    if (!segment || !*segment) {
        REPORT_raise(seg2d_errors);
        return;
    }
    record_free(segment);
}

void SEG2D_copy(const SEG2D* source, SEG2D* destination)
{
    if (!source || !destination) {
        REPORT_raise(seg2d_errors);
        return;
    }
    VEC2D_copy(&source->p1, &destination->p1);
    VEC2D_copy(&source->p2, &destination->p2);
}

void SEG2D_mul(SEG2D* segment, const VEC2D* factors)
{
    if (!segment || !factors) {
        REPORT_raise(seg2d_errors);
        return;
    }
    VEC2D_mul(&segment->p1, factors);
    VEC2D_mul(&segment->p2, factors);
}

void SEG2D_rotate(SEG2D* segment, int32_t angle)
{
    if (!segment) {
        REPORT_raise(seg2d_errors);
        return;
    }
    VEC2D_rotate(&segment->p1, angle);
    VEC2D_rotate(&segment->p2, angle);
}

void SEG2D_translate(SEG2D* segment, const VEC2D* offset)
{
    if (!segment || !offset) {
        REPORT_raise(seg2d_errors);
        return;
    }
    VEC2D_add(offset, &segment->p1);
    VEC2D_add(offset, &segment->p2);
}

void SEG2D_draw(const SEG2D* segment, Image* image)
{
    if (!segment || !image) {
        REPORT_raise(seg2d_errors);
        return;
    }
    IMG_line(image, segment->p1.x, segment->p1.y, segment->p2.x, segment->p2.y, segment->p1.colour);
}
