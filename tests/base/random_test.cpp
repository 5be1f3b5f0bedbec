// RANDOM: the process-wide 15-bit generator and the Random records' own 24-bit streams.
#include <gtest/gtest.h>

#include <cstdint>

#include "base/random.h"

namespace {

TEST(Random, SeededSequence)
{
    RANDOM_seed15(1158689141);
    EXPECT_EQ(RANDOM_rand15(), 4728);
    EXPECT_EQ(RANDOM_rand15(), 3068);
    EXPECT_EQ(RANDOM_rand15(), 32553);
    EXPECT_EQ(RANDOM_rand15(), 14244);
    RANDOM_seed15(1158689141);
    EXPECT_EQ(RANDOM_rand30(), 154930172) << "the first draw is the high half";
    for (int i = 0; i < 10000; ++i) {
        const int32_t a = RANDOM_rand15(), b = RANDOM_rand30();
        ASSERT_GE(a, 0);
        ASSERT_LE(a, 32767);
        ASSERT_GE(b, 0);
        ASSERT_LT(b, 1 << 30);
    }
}

TEST(Random, RecordStream)
{
    Random* random = RANDOM_new();
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(RANDOM_next(random), 0xB2D4C7u);
    EXPECT_EQ(random->counter, 0x12345679u);
    EXPECT_EQ(random->factor, 0x7E7E4Du);
    EXPECT_EQ(RANDOM_next(random), 0xD7FF9Fu);
    EXPECT_EQ(random->counter, 0x1234567Au);
    EXPECT_EQ(random->factor, 0xF0D45Eu);
    RANDOM_free(&random);
    EXPECT_EQ(random, nullptr);
}

TEST(Random, RecordsAreIndependent)
{
    Random* a = RANDOM_new();
    Random* b = RANDOM_new();
    a->counter = b->counter = 0x6789ABCD;
    RANDOM_seed15(99);
    const uint32_t state = RANDOM_state();
    for (int i = 0; i < 3; ++i) RANDOM_next(a);
    for (int i = 0; i < 3; ++i) RANDOM_next(b);
    EXPECT_EQ(RANDOM_next(a), RANDOM_next(b));
    EXPECT_EQ(RANDOM_state(), state) << "record draws leave the process-wide generator alone";
    const long before = RANDOM_report().count;
    EXPECT_EQ(RANDOM_next(nullptr), 0u);
    EXPECT_EQ(RANDOM_report().count, before + 1);
    RANDOM_free(&a);
    RANDOM_free(&b);
}

}  // namespace
