// The PNM decoder of IMG: P1..P6 from memory into a new Image. A pure function of (bytes, length),
// so it can be driven directly by a fuzzer.
#include <cstdint>

#include "raster/img.h"

namespace {

// More pixels than any picture of the show, small enough that width * height never overflows and
// a hostile header cannot ask for gigabytes.
constexpr uint64_t max_pixels = uint64_t{1} << 26;
// Header numbers stop growing here; anything this large is rejected by the pixel limit anyway.
constexpr uint64_t number_cap = uint64_t{1} << 40;

struct Reader {
    const unsigned char* data;
    std::size_t size;
    std::size_t i;

    bool done() const { return i >= size; }
    unsigned char peek() const { return data[i]; }
};

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Reads the digits at the reader's position (none gives 0 and does not move).
uint64_t header_number(Reader& r, bool& any)
{
    uint64_t value = 0;
    any = false;
    while (!r.done() && is_digit(r.peek())) {
        if (value < number_cap) value = value * 10 + static_cast<uint64_t>(r.peek() - '0');
        ++r.i;
        any = true;
    }
    return value;
}

// Skips non-digits, then reads one decimal number of the raster; false when the data ends first.
// The value wraps on 32 bits: samples are not bounded, a large one spills into the next channel.
bool raster_number(Reader& r, uint32_t& value)
{
    while (!r.done() && !is_digit(r.peek())) ++r.i;
    if (r.done()) return false;
    value = 0;
    while (!r.done() && is_digit(r.peek())) value = value * 10u + static_cast<uint32_t>(r.peek() - '0'), ++r.i;
    return true;
}

struct Header {
    unsigned char kind = 0;
    uint64_t width = 0;  // as written; bitmaps are widened to whole bytes afterwards
    uint64_t height = 0;
    bool magic = false, has_width = false, has_height = false, has_maxval = false;
};

// Parses the header up to and including the single byte that ends it. False on a bad kind or a
// header that never completes within the data.
bool parse_header(Reader& r, Header& h)
{
    while (!(h.magic && h.has_width && h.has_height && h.has_maxval)) {
        while (!r.done() && (r.peek() <= 0x20 || r.peek() >= 0x7F)) ++r.i;
        if (r.done()) return false;
        const unsigned char c = r.peek();
        if (c == 'P' && !h.magic) {
            if (r.i + 1 >= r.size) return false;
            h.kind = r.data[r.i + 1];
            r.i += 2;
            if (h.kind < '1' || h.kind > '6') return false;
            h.magic = true;
            if (h.kind == '1' || h.kind == '4') h.has_maxval = true;  // bitmaps have no maxval
        } else if (c == '#') {
            while (!r.done() && r.peek() != '\n') ++r.i;
            if (r.done()) return false;
            ++r.i;
        } else {
            bool any = false;
            const uint64_t value = header_number(r, any);
            if (!h.has_width) {
                h.width = value, h.has_width = true;
            } else if (!h.has_height) {
                h.height = value, h.has_height = true;
            } else if (!h.has_maxval) {
                h.has_maxval = true;  // read and ignored
            } else if (!any) {
                // A stray byte before the magic once all numbers are in: no rule would ever move
                // past it, so the header cannot complete.
                return false;
            }
        }
    }
    if (r.done()) return false;  // the byte that ends the header, then at least one raster byte
    ++r.i;
    return true;
}

// P1: digits of the written width in every row; the columns that widen a row to whole bytes stay
// 0, so every row starts in its own place.
bool decode_plain_bitmap(Reader& r, const Header& h, Image& image)
{
    const std::size_t w = static_cast<std::size_t>(image.width), rows = static_cast<std::size_t>(image.height);
    const std::size_t real = static_cast<std::size_t>(h.width);
    uint32_t* px = image.pixels.get();
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t col = 0; col < real; ++col) {
            while (!r.done() && !is_digit(r.peek())) ++r.i;
            if (r.done()) return false;
            px[row * w + col] = r.peek() == '0' ? 0u : 0xFFFFFFu;
            ++r.i;
        }
    }
    return true;
}

// P2 and P3: one decimal number per grey pixel, three per colour pixel.
bool decode_plain_numbers(Reader& r, const Header& h, Image& image, std::size_t n)
{
    uint32_t* px = image.pixels.get();
    for (std::size_t p = 0; p < n; ++p) {
        uint32_t v[3] = {0, 0, 0};
        if (h.kind == '2') {
            if (!raster_number(r, v[0])) return false;
            px[p] = v[0] * 0x010101u;
        } else {
            for (uint32_t& c : v)
                if (!raster_number(r, c)) return false;
            px[p] = (v[0] << 16) | (v[1] << 8) | v[2];
        }
    }
    return true;
}

// P4: eight pixels a byte, the first in the top bit.
bool decode_bitmap(const Reader& r, uint32_t* px, std::size_t n)
{
    const std::size_t bytes = n / 8;  // the width is a whole number of bytes
    if (r.size - r.i < bytes) return false;
    const unsigned char* s = r.data + r.i;
    for (std::size_t b = 0; b < bytes; ++b) {
        const unsigned v = s[b];
        uint32_t* d = px + b * 8;
        for (int bit = 0; bit < 8; ++bit) d[bit] = (v >> (7 - bit)) & 1u ? 0xFFFFFFu : 0u;
    }
    return true;
}

// P5: one byte a pixel.
bool decode_grey_bytes(const Reader& r, uint32_t* px, std::size_t n)
{
    if (r.size - r.i < n) return false;
    const unsigned char* s = r.data + r.i;
    for (std::size_t p = 0; p < n; ++p) px[p] = s[p] * 0x010101u;
    return true;
}

// P6: three bytes a pixel, red first.
bool decode_colour_bytes(const Reader& r, uint32_t* px, std::size_t n)
{
    if ((r.size - r.i) / 3 < n) return false;
    const unsigned char* s = r.data + r.i;
    for (std::size_t p = 0; p < n; ++p, s += 3)
        px[p] = (uint32_t{s[0]} << 16) | (uint32_t{s[1]} << 8) | uint32_t{s[2]};
    return true;
}

// Fills the image's pixels from the raster after the header; false when the data ends first.
bool decode_raster(Reader& r, const Header& h, Image& image)
{
    const std::size_t n = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    switch (h.kind) {
    case '1':
        return decode_plain_bitmap(r, h, image);
    case '2':
    case '3':
        return decode_plain_numbers(r, h, image, n);
    case '4':
        return decode_bitmap(r, image.pixels.get(), n);
    case '5':
        return decode_grey_bytes(r, image.pixels.get(), n);
    default:  // '6'
        return decode_colour_bytes(r, image.pixels.get(), n);
    }
}

}  // namespace

Image* IMG_decode_pnm(const unsigned char* data, std::size_t size)
{
    if (!data) {
        REPORT_raise(IMG_report());
        return nullptr;
    }
    Reader r{data, size, 0};
    Header h;
    if (!parse_header(r, h)) {
        REPORT_raise(IMG_report());
        return nullptr;
    }
    uint64_t width = h.width;
    if (h.kind == '1' || h.kind == '4') width = (width + 7) / 8 * 8;
    if (width == 0 || h.height == 0 || width > max_pixels || h.height > max_pixels ||
        width * h.height > max_pixels) {
        REPORT_raise(IMG_report());
        return nullptr;
    }
    // Every pixel needs at least one byte of raster (a bitmap byte covers eight): data that
    // cannot hold the picture is rejected before anything is allocated for it.
    const uint64_t pixels = width * h.height;
    uint64_t least = pixels;
    if (h.kind == '1') least = h.width * h.height;
    if (h.kind == '3' || h.kind == '6') least = pixels * 3;
    if (h.kind == '4') least = pixels / 8;
    if (least > r.size - r.i) {
        REPORT_raise(IMG_report());
        return nullptr;
    }
    Image* image = IMG_new();
    if (!image) return nullptr;
    IMG_resize(image, static_cast<int32_t>(width), static_cast<int32_t>(h.height));
    if (!image->pixels || !decode_raster(r, h, *image)) {
        IMG_free(&image);
        REPORT_raise(IMG_report());
        return nullptr;
    }
    return image;
}
