// The shared sine table: its quarter-wave symmetry, the peaks and the two adjusted entries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "base/sine.h"

namespace {

TEST(Sine, FirstQuarterIsRoundedSineExceptTwoEntries)
{
    for (int32_t i = 0; i < 256; ++i) {
        const auto exact = static_cast<int32_t>(std::lround(32767.0 * std::sin(2.0 * std::numbers::pi * i / 1024.0)));
        if (i == 129 || i == 183) continue;
        ASSERT_EQ(SINE_table[i], exact) << "entry " << i;
    }
    EXPECT_EQ(SINE_table[129], 23312);
    EXPECT_EQ(SINE_table[183], 29535);
}

TEST(Sine, SymmetriesAndPeaks)
{
    EXPECT_EQ(SINE_size, 1024);
    EXPECT_EQ(SINE_mask, 1023);
    for (int32_t k = 0; k < 256; ++k) ASSERT_EQ(SINE_table[256 + k], SINE_table[255 - k]) << k;
    for (int32_t k = 0; k < 512; ++k) ASSERT_EQ(SINE_table[512 + k], -SINE_table[k]) << k;
    EXPECT_EQ(SINE_table[255], 32766);
    EXPECT_EQ(SINE_table[256], 32766);
    EXPECT_EQ(SINE_table[511], 0);
    EXPECT_EQ(SINE_table[512], 0);
    EXPECT_EQ(SINE_at(-1), SINE_table[1023]);
    EXPECT_EQ(SINE_at(1024 + 5), SINE_table[5]);
}

}  // namespace
