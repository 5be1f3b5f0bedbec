// LOGOFLY: the flying logo's record and the draws it makes.
#include <gtest/gtest.h>

#include "base/random.h"
#include "vector/logofly.h"

namespace {

TEST(Logofly, ThreeDrawsInOrder)
{
    RANDOM_seed15(4242);
    const int32_t r1 = RANDOM_rand30(), r2 = RANDOM_rand30(), r3 = RANDOM_rand30();
    const uint32_t after = RANDOM_state();
    RANDOM_seed15(4242);
    LOGOFLY* logo = LOGOFLY_new();
    ASSERT_NE(nullptr, logo);
    EXPECT_EQ(after, RANDOM_state());
    EXPECT_EQ(r1 % 24 + 8, logo->speed);
    EXPECT_EQ(r2 % 8 + 1, logo->step);
    EXPECT_EQ(r3 % 100 + 16, logo->amplitude);
    EXPECT_EQ(0, logo->phase);
    EXPECT_EQ(0xFFFFFFu, logo->colour);
    EXPECT_STREQ("VOXA", logo->text);
    LOGOFLY_free(&logo);
    EXPECT_EQ(nullptr, logo);
}

}  // namespace
