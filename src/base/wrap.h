// WRAP: 32-bit integer arithmetic that wraps around instead of overflowing.
// Depends on: the standard library only.
// NOTE: the show's arithmetic is defined on 32-bit two's-complement words; signed overflow is
// undefined in C++, so products and sums that may overflow go through these helpers.
#pragma once
#include <cstdint>

constexpr int32_t wrap_add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t wrap_sub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t wrap_mul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
constexpr int32_t wrap_neg(int32_t a)
{
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}
