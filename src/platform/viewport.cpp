#include "platform/viewport.h"

#include <algorithm>

int32_t VIEWPORT_floor_div(int64_t value, int64_t divisor)
{
    if (divisor <= 0) return 0;
    const int64_t q = value / divisor;
    return static_cast<int32_t>(q * divisor > value ? q - 1 : q);
}

Viewport VIEWPORT_fit(int32_t output_w, int32_t output_h, int32_t frame_w, int32_t frame_h)
{
    Viewport v;
    if (frame_w <= 0 || frame_h <= 0) return v;
    v.scale = std::max(1, std::min(output_w / frame_w, output_h / frame_h));
    v.width = frame_w * v.scale;
    v.height = frame_h * v.scale;
    // Flooring puts the odd leftover pixel (or, in an output smaller than the frame, the odd cut-off
    // pixel) on the right and below.
    v.x = VIEWPORT_floor_div(int64_t{output_w} - v.width, 2);
    v.y = VIEWPORT_floor_div(int64_t{output_h} - v.height, 2);
    return v;
}

void VIEWPORT_to_frame(const Viewport* view, int32_t output_x, int32_t output_y, int32_t* frame_x, int32_t* frame_y)
{
    if (!view || view->scale <= 0) return;
    if (frame_x) *frame_x = VIEWPORT_floor_div(int64_t{output_x} - view->x, view->scale);
    if (frame_y) *frame_y = VIEWPORT_floor_div(int64_t{output_y} - view->y, view->scale);
}

void VIEWPORT_to_output(const Viewport* view, int32_t frame_x, int32_t frame_y, int32_t* output_x, int32_t* output_y)
{
    if (!view) return;
    if (output_x) *output_x = view->x + frame_x * view->scale;
    if (output_y) *output_y = view->y + frame_y * view->scale;
}

int32_t VIEWPORT_logical_to_real(int32_t logical, int32_t logical_size, int32_t real_size)
{
    if (logical_size <= 0) return logical;
    return VIEWPORT_floor_div(int64_t{logical} * real_size, logical_size);
}
