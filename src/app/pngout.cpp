#include "app/pngout.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

// libpng reports failures by longjmp, so the writing lives in a function of its own whose
// locals are all set before the jump point.
static bool write_png(png_structp png, png_infop info, std::FILE* f, const uint32_t* pixels, int32_t width,
                      int32_t height, uint8_t* row)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* s = pixels + static_cast<std::size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(s[x] >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(s[x] >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(s[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

bool PNGOUT_write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, std::string* error)
{
    const std::string temp = path + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        if (error) *error = temp + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> row(static_cast<std::size_t>(width) * 3);
    bool ok = png && info && write_png(png, info, f, pixels, width, height, row.data());
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (std::fclose(f) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        std::remove(temp.c_str());
        if (error) *error = path + ": cannot write the PNG file";
    }
    return ok;
}
