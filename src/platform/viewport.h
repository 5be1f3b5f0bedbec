// VIEWPORT: where the frame stands in a window or screen of any size: the largest whole-number
// scale that fits, centred on black, and the pointer mapped back to frame pixels.
// Depends on: nothing.
// NOTE: output sizes and positions are real (device) pixels unless a name says logical; a window's
// logical units (the desktop's, before high-DPI scaling) are turned into real pixels with
// VIEWPORT_logical_to_real. Every division rounds toward minus infinity, so a point left of or
// above the frame maps to a negative frame pixel and the mapping is exact at every scale.
#pragma once
#include <cstdint>

struct Viewport {
    int32_t scale = 1;             // whole-number scale of the frame, at least 1
    int32_t x = 0, y = 0;          // top-left corner of the scaled frame in the output
    int32_t width = 0, height = 0; // the scaled frame's size: frame size times scale
};

// The viewport of a frame_w x frame_h frame in an output_w x output_h area: the largest scale at
// which it fits (at least 1, so a small output shows the frame's middle), centred, with an odd
// leftover pixel on the right and below.
Viewport VIEWPORT_fit(int32_t output_w, int32_t output_h, int32_t frame_w, int32_t frame_h);
// The frame pixel under an output pixel.
void VIEWPORT_to_frame(const Viewport* view, int32_t output_x, int32_t output_y, int32_t* frame_x, int32_t* frame_y);
// The output pixel at the top-left corner of a frame pixel.
void VIEWPORT_to_output(const Viewport* view, int32_t frame_x, int32_t frame_y, int32_t* output_x, int32_t* output_y);
// A logical coordinate in real pixels, for an area logical_size units wide that has real_size pixels.
int32_t VIEWPORT_logical_to_real(int32_t logical, int32_t logical_size, int32_t real_size);
// Division rounding toward minus infinity (divisor > 0).
int32_t VIEWPORT_floor_div(int64_t value, int64_t divisor);
