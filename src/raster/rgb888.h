// RGB888: arithmetic on single 0x00RRGGBB colours, channel by channel.
// Depends on: nothing.
// NOTE: only the three channel bytes of each argument are read; every result has a zero high byte.
// RGB888_to_bgr24 converts whole frames for the bottom-up 24-bit bitmaps some displays take.
#pragma once
#include <cstdint>

// Per channel min(a + b, 255).
constexpr uint32_t RGB888_add(uint32_t a, uint32_t b)
{
    uint32_t r = ((a >> 16) & 0xFF) + ((b >> 16) & 0xFF), g = ((a >> 8) & 0xFF) + ((b >> 8) & 0xFF),
             bl = (a & 0xFF) + (b & 0xFF);
    return ((r > 255 ? 255 : r) << 16) | ((g > 255 ? 255 : g) << 8) | (bl > 255 ? 255 : bl);
}
// Per channel max(a - b, 0).
constexpr uint32_t RGB888_sub(uint32_t a, uint32_t b)
{
    int32_t r = static_cast<int32_t>((a >> 16) & 0xFF) - static_cast<int32_t>((b >> 16) & 0xFF);
    int32_t g = static_cast<int32_t>((a >> 8) & 0xFF) - static_cast<int32_t>((b >> 8) & 0xFF);
    int32_t bl = static_cast<int32_t>(a & 0xFF) - static_cast<int32_t>(b & 0xFF);
    return (static_cast<uint32_t>(r < 0 ? 0 : r) << 16) | (static_cast<uint32_t>(g < 0 ? 0 : g) << 8) |
           static_cast<uint32_t>(bl < 0 ? 0 : bl);
}
// Per channel (a + b) >> 1.
constexpr uint32_t RGB888_average(uint32_t a, uint32_t b)
{
    return ((((a >> 16) & 0xFF) + ((b >> 16) & 0xFF)) >> 1) << 16 |
           ((((a >> 8) & 0xFF) + ((b >> 8) & 0xFF)) >> 1) << 8 | (((a & 0xFF) + (b & 0xFF)) >> 1);
}
// RGB888_add of the grey (level & 0xFF) in every channel.
constexpr uint32_t RGB888_add_grey(uint32_t a, uint32_t level)
{
    return RGB888_add(a, (level & 0xFF) * 0x010101u);
}
// Converts width x height pixels into a bottom-up 24-bit bitmap: the first image row lands in the
// last buffer row, each pixel as blue, green, red bytes; rows are width * 3 bytes back to back.
void RGB888_to_bgr24(const uint32_t* pixels, int32_t width, int32_t height, uint8_t* out);
