#include "app/recorder/pngout.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "app/recorder/fileout.h"
#include "app/recorder/upscale.h"

// The scaled row, grown to the largest picture written so far.
static struct {
    std::vector<uint8_t> row;
} pngout_state;

// libpng reports failures by longjmp, so the writing lives in a function of its own whose
// locals are all set before the jump point.
static bool write_png(png_structp png, png_infop info, std::FILE* f, const uint32_t* pixels, int32_t width,
                      int32_t height, int32_t scale, uint8_t* row)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, width * scale, height * scale, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        UPSCALE_row(pixels + static_cast<std::size_t>(y) * width, width, scale, row);
        // The scaled row stands for scale rows of the picture.
        for (int32_t k = 0; k < scale; ++k) png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

// Writes the picture as a PNG stream into the open file f.
static bool fill_png(std::FILE* f, const uint32_t* pixels, int32_t width, int32_t height, int32_t scale)
{
    const std::size_t row_bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(scale) * 3;
    if (pngout_state.row.size() < row_bytes) pngout_state.row.resize(row_bytes);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && write_png(png, info, f, pixels, width, height, scale, pngout_state.row.data());
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return ok;
}

bool PNGOUT_write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, int32_t scale,
                  std::string* error)
{
    if (!pixels || width <= 0 || height <= 0 || scale < 1 || scale > UPSCALE_max) {
        if (error) *error = path + ": bad picture for a PNG file";
        return false;
    }
    return FILEOUT_fill(
        path, "the PNG file", [&](std::FILE* f) { return fill_png(f, pixels, width, height, scale); }, error);
}
