#include "app/recorder/framehash.h"

static constexpr uint64_t fnv_prime = 1099511628211ull;

uint64_t FRAMEHASH_step(uint64_t hash, uint64_t value) { return (hash ^ value) * fnv_prime; }

uint64_t FRAMEHASH_pixels(uint64_t hash, const uint32_t* pixels, int32_t count)
{
    if (!pixels) return hash;
    for (int32_t i = 0; i < count; ++i) hash = FRAMEHASH_step(hash, pixels[i]);
    return hash;
}

uint64_t FRAMEHASH_frame(const uint32_t* pixels, int32_t count) { return FRAMEHASH_pixels(FRAMEHASH_basis, pixels, count); }

uint64_t FRAMEHASH_bytes(const uint8_t* bytes, std::size_t size)
{
    uint64_t hash = FRAMEHASH_basis;
    if (!bytes) return hash;
    for (std::size_t i = 0; i < size; ++i) hash = FRAMEHASH_step(hash, bytes[i]);
    return hash;
}
