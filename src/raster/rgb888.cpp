#include "raster/rgb888.h"

#include <bit>
#include <cstddef>
#include <cstring>

// Packs eight pixels into 24 bytes (blue, green, red each) as three little-endian 64-bit words.
static inline void pack_bgr8(const uint32_t* s, uint8_t* d)
{
    const uint64_t p0 = s[0] & 0xFFFFFFu, p1 = s[1] & 0xFFFFFFu, p2 = s[2], p3 = s[3] & 0xFFFFFFu,
                   p4 = s[4] & 0xFFFFFFu, p5 = s[5], p6 = s[6] & 0xFFFFFFu, p7 = s[7];
    const uint64_t w0 = p0 | p1 << 24 | p2 << 48;
    const uint64_t w1 = ((p2 >> 16) & 0xFF) | p3 << 8 | p4 << 32 | p5 << 56;
    const uint64_t w2 = ((p5 >> 8) & 0xFFFF) | p6 << 16 | p7 << 40;
    std::memcpy(d, &w0, 8);
    std::memcpy(d + 8, &w1, 8);
    std::memcpy(d + 16, &w2, 8);
}

void RGB888_to_bgr24(const uint32_t* pixels, int32_t width, int32_t height, uint8_t* out)
{
    if (!pixels || !out || width <= 0 || height <= 0) return;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (int32_t row = 0; row < height; ++row) {
        const uint32_t* s = pixels + static_cast<std::size_t>(row) * width;
        uint8_t* d = out + static_cast<std::size_t>(height - 1 - row) * stride;
        int32_t col = 0;
        if constexpr (std::endian::native == std::endian::little)
            for (; col + 8 <= width; col += 8) pack_bgr8(s + col, d + 3 * col);
        for (; col < width; ++col) {
            d[3 * col] = static_cast<uint8_t>(s[col]);
            d[3 * col + 1] = static_cast<uint8_t>(s[col] >> 8);
            d[3 * col + 2] = static_cast<uint8_t>(s[col] >> 16);
        }
    }
}
