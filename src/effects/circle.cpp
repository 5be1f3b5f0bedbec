#include "effects/circle.h"

#include "base/record.h"
#include "base/wrap.h"

static ErrorReport circle_errors{"CIRCLE error\n", false, 0};

ErrorReport& CIRCLE_report() { return circle_errors; }

namespace {

// Walks the first octant from (0, r) and hands each (x, y) to plot. Squares are kept in 64 bits
// so that large radii step the same way as small ones instead of overflowing.
template <class Plot>
void walk(const CIRCLE& circle, const Image& image, Plot plot)
{
    const int64_t cx = circle.centre->x, cy = circle.centre->y;
    const int64_t r = circle.radius < 0 ? -int64_t{circle.radius} : int64_t{circle.radius};
    if (cx + r < 0 || cy + r < 0 || cx - r >= image.width || cy - r >= image.height) return;
    const int64_t r2 = r * r;
    int64_t x = 0, y = r, y2 = y * y, ym = (y - 1) * (y - 1);
    while (y >= x) {
        plot(x, y);
        ++x;
        const int64_t g = ym + x * x - r2, h = y2 + x * x - r2;
        if ((g < 0 ? -g : g) < (h < 0 ? -h : h)) {
            y2 = ym;
            ym = (y - 2) * (y - 2);
            --y;
        }
    }
}

// Keeps pixel coordinates of far-off circles from wrapping into the image.
int32_t clamp(int64_t v) { return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v)); }

}  // namespace

CIRCLE* CIRCLE_new()
{
    CIRCLE* circle = record_new<CIRCLE>();
    if (circle) circle->centre = VEC2D_new();
    if (!circle || !circle->centre) {
        record_free(&circle);
        REPORT_raise(circle_errors);
        return nullptr;
    }
    circle->centre->x = circle->centre->y = 0;
    circle->radius = 1;
    circle->colour = 0xFFFFFF;
    return circle;
}

void CIRCLE_free(CIRCLE** circle)
{
    if (!circle || !*circle) {
        REPORT_raise(circle_errors);
        return;
    }
    if ((*circle)->centre) VEC2D_free(&(*circle)->centre);
    record_free(circle);
}

void CIRCLE_copy(const CIRCLE* source, CIRCLE* destination)
{
    if (!source || !destination || !source->centre || !destination->centre) {
        REPORT_raise(circle_errors);
        return;
    }
    VEC2D_copy(source->centre, destination->centre);
    destination->radius = source->radius;
    destination->colour = source->colour;
}

void CIRCLE_draw(const CIRCLE* circle, Image* image)
{
    if (!circle || !circle->centre || !image || !image->pixels) {
        REPORT_raise(circle_errors);
        return;
    }
    const int64_t cx = circle->centre->x, cy = circle->centre->y;
    const uint32_t c = circle->colour;
    walk(*circle, *image, [&](int64_t x, int64_t y) {
        IMG_put(image, clamp(cx + x), clamp(cy + y), c);
        IMG_put(image, clamp(cx - x), clamp(cy + y), c);
        IMG_put(image, clamp(cx + x), clamp(cy - y), c);
        IMG_put(image, clamp(cx - x), clamp(cy - y), c);
        IMG_put(image, clamp(cx + y), clamp(cy + x), c);
        IMG_put(image, clamp(cx - y), clamp(cy + x), c);
        IMG_put(image, clamp(cx + y), clamp(cy - x), c);
        IMG_put(image, clamp(cx - y), clamp(cy - x), c);
    });
}

void CIRCLE_fill(const CIRCLE* circle, Image* image)
{
    if (!circle || !circle->centre || !image || !image->pixels) {
        REPORT_raise(IMG_report());
        return;
    }
    const int64_t cx = circle->centre->x, cy = circle->centre->y;
    const uint32_t c = circle->colour;
    walk(*circle, *image, [&](int64_t x, int64_t y) {
        IMG_hline(image, clamp(cy + y), clamp(cx - x), clamp(cx + x), c);
        IMG_hline(image, clamp(cy - y), clamp(cx - x), clamp(cx + x), c);
        IMG_hline(image, clamp(cy + x), clamp(cx - y), clamp(cx + y), c);
        IMG_hline(image, clamp(cy - x), clamp(cx - y), clamp(cx + y), c);
    });
}

bool CIRCLE_overlaps(const CIRCLE* a, const CIRCLE* b)
{
    if (!a || !b || !a->centre || !b->centre) {
        REPORT_raise(circle_errors);
        return false;
    }
    VEC2D d = *a->centre;  // scratch copy: nothing is allocated per test
    VEC2D_sub(&d, b->centre);
    const int32_t reach = wrap_add(a->radius, b->radius);
    return wrap_mul(reach, reach) >= VEC2D_length2(&d);
}
