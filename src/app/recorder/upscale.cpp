#include "app/recorder/upscale.h"

#include <cstddef>
#include <cstring>

static ErrorReport upscale_errors{"UPSCALE error\n", false, 0};

ErrorReport& UPSCALE_report() { return upscale_errors; }

namespace {

bool valid(const void* in, const void* out, int32_t width, int32_t height, int32_t scale)
{
    return in && out && width > 0 && height > 0 && scale >= 1 && scale <= UPSCALE_max;
}

void scale_row(const uint32_t* row, int32_t width, int32_t scale, uint8_t* out)
{
    if (scale == 1) {
        for (int32_t x = 0; x < width; ++x, out += 3)
            out[0] = static_cast<uint8_t>(row[x] >> 16), out[1] = static_cast<uint8_t>(row[x] >> 8),
            out[2] = static_cast<uint8_t>(row[x]);
        return;
    }
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t r = static_cast<uint8_t>(row[x] >> 16), g = static_cast<uint8_t>(row[x] >> 8),
                      b = static_cast<uint8_t>(row[x]);
        for (int32_t k = 0; k < scale; ++k, out += 3) out[0] = r, out[1] = g, out[2] = b;
    }
}

}  // namespace

void UPSCALE_row(const uint32_t* row, int32_t width, int32_t scale, uint8_t* out)
{
    if (!valid(row, out, width, 1, scale)) {
        REPORT_raise(upscale_errors);
        return;
    }
    scale_row(row, width, scale, out);
}

void UPSCALE_picture(const uint32_t* pixels, int32_t width, int32_t height, int32_t scale, uint8_t* out)
{
    if (!valid(pixels, out, width, height, scale)) {
        REPORT_raise(upscale_errors);
        return;
    }
    const std::size_t row_bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(scale) * 3;
    for (int32_t y = 0; y < height; ++y) {
        scale_row(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width), width, scale, out);
        for (int32_t k = 1; k < scale; ++k) std::memcpy(out + k * row_bytes, out, row_bytes);
        out += row_bytes * static_cast<std::size_t>(scale);
    }
}
