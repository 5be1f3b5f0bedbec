// Small images for the raster tests and a plain pixel grid for their straightforward references.
#pragma once
#include <cstdint>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "raster/img.h"

// An image of the given size; freed by the owner through IMG_free.
inline Image* make_image(int32_t width, int32_t height)
{
    Image* image = IMG_new();
    IMG_resize(image, width, height);
    return image;
}

// Random words: a quarter zero (the key), some with a non-zero high byte, some saturated channels.
inline void randomise(Image* image, std::mt19937& rng)
{
    for (int32_t i = 0; i < image->width * image->height; ++i) {
        uint32_t v = rng();
        if ((v & 3) == 0) v = 0;
        else if ((v & 12) == 4) v |= 0xF0F0F0;
        else if ((v & 48) != 16) v &= 0xFFFFFF;
        image->pixels[i] = v;
    }
}

inline std::vector<uint32_t> pixels_of(const Image* image)
{
    return std::vector<uint32_t>(image->pixels.get(), image->pixels.get() + image->width * image->height);
}

// Plain pixel grid for the straightforward reference versions.
struct Grid {
    int32_t width, height;
    std::vector<uint32_t> px;
    explicit Grid(const Image* image) : width(image->width), height(image->height), px(pixels_of(image)) {}
    uint32_t get(int32_t c, int32_t r) const { return c >= 0 && r >= 0 && c < width && r < height ? px[c + r * width] : 0; }
    void put(int32_t c, int32_t r, uint32_t v)
    {
        if (c >= 0 && r >= 0 && c < width && r < height) px[c + r * width] = v;
    }
};

// Whether two images of the same size hold the same pixels.
inline bool same_pixels(const Image* a, const Image* b)
{
    for (int64_t k = 0; k < int64_t{a->width} * a->height; ++k)
        if (a->pixels[k] != b->pixels[k]) return false;
    return true;
}

// Steps of the process-wide random generator that lead from state `from` to state `to`, or -1 if
// more than `limit` (tests count the draws an operation makes with it).
inline long draws_between(uint32_t from, uint32_t to, long limit = 200000)
{
    for (long n = 0; n <= limit; ++n) {
        if (from == to) return n;
        from = from * 214013u + 2531011u;
    }
    return -1;
}

// An image to draw on, freed with the test: filled with one colour, read pixel by pixel.
struct Canvas {
    Image* image = IMG_new();
    Canvas(int32_t w, int32_t h, uint32_t fill = 0)
    {
        IMG_resize(image, w, h);
        IMG_fill(image, fill);
    }
    ~Canvas() { IMG_free(&image); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    uint32_t at(int32_t c, int32_t r) const { return IMG_get(image, c, r); }
    // Pixels that are not v.
    int count_not(uint32_t v) const
    {
        int n = 0;
        for (int64_t k = 0; k < int64_t{image->width} * image->height; ++k) n += image->pixels[k] != v;
        return n;
    }
    // The places of the pixels that are not black.
    std::set<std::pair<int32_t, int32_t>> lit() const
    {
        std::set<std::pair<int32_t, int32_t>> s;
        for (int32_t r = 0; r < image->height; ++r)
            for (int32_t c = 0; c < image->width; ++c)
                if (at(c, r)) s.insert({c, r});
        return s;
    }
};
