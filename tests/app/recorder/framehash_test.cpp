// The one frame hash of the recorder, its golden record and the tests: FNV-1a, a frame a word at a
// time, a bar a byte at a time.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/recorder/framehash.h"

// The values every golden record was made with (the basis is not the published FNV one, see framehash.h).
TEST(FrameHash, BytesKeepTheValuesOfTheGoldenRecord)
{
    const uint8_t a[] = {'a'};
    EXPECT_EQ(FRAMEHASH_bytes(nullptr, 0), 1469598103934665603ull);
    EXPECT_EQ(FRAMEHASH_bytes(a, 1), 0x44bd8ad473cd9906ull);
}

TEST(FrameHash, ARunningHashOverTwoPartsIsTheHashOfTheWhole)
{
    const uint32_t pixels[] = {0x000000u, 0xFFFFFFu, 0x123456u, 0xABCDEFu, 0x00FF00u};
    const uint64_t whole = FRAMEHASH_frame(pixels, 5);
    EXPECT_EQ(FRAMEHASH_pixels(FRAMEHASH_pixels(FRAMEHASH_basis, pixels, 2), pixels + 2, 3), whole);
    // A word is one step: 0x00RRGGBB words are not taken apart into bytes.
    EXPECT_EQ(FRAMEHASH_frame(pixels + 1, 1), FRAMEHASH_step(FRAMEHASH_basis, 0xFFFFFFu));
    EXPECT_EQ(FRAMEHASH_pixels(whole, nullptr, 5), whole);
}
