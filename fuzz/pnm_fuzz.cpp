// Fuzz target for the PNM decoder: any bytes, of any length, must either decode into an image of
// sane size or be rejected, without reading past the data or leaking.
#include <cstddef>
#include <cstdint>

#include "raster/img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Image* image = IMG_decode_pnm(data, size);
    if (image) {
        // A decoded image always owns width * height pixels; touching the last one lets the
        // address checker see a block that is too small.
        if (!image->pixels || image->width <= 0 || image->height <= 0) __builtin_trap();
        volatile uint32_t last = image->pixels[static_cast<std::size_t>(image->width) * image->height - 1];
        (void)last;
        IMG_free(&image);
    }
    return 0;
}
