// SAMPLE buffers: growth policy, bounds, wrapping arithmetic, normalising, rotation, lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/sample.h"

namespace {

// A buffer holding exactly the given values (capacity as SAMPLE_set_length leaves it).
SAMPLE* make(const std::vector<int32_t>& values)
{
    SAMPLE* s = SAMPLE_new();
    SAMPLE_set_length(s, static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) s->data[i] = values[i];
    return s;
}

std::vector<int32_t> values(const SAMPLE* s) { return {s->data.get(), s->data.get() + s->length}; }

// A buffer of n values i * 3 - 7.
SAMPLE* ramp(int32_t n)
{
    SAMPLE* s = SAMPLE_new();
    SAMPLE_set_length(s, n);
    for (int32_t i = 0; i < n; ++i) s->data[i] = i * 3 - 7;
    return s;
}

}  // namespace

TEST(Sample, GrowthKeepsOnlyTheOldLengthAndShrinkingKeepsEverything)
{
    SAMPLE* s = SAMPLE_new();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->length, 0);
    EXPECT_EQ(s->capacity, 32);

    // 22050 capacity, filled, then cut to 11025 and regrown to 44100: the old tail is gone.
    SAMPLE_set_length(s, 22050);
    EXPECT_EQ(s->capacity, 22050);
    for (int32_t i = 0; i < 22050; ++i) s->data[i] = i + 1;
    SAMPLE_set_length(s, 11025);
    EXPECT_EQ(s->capacity, 22050);
    SAMPLE_set_length(s, 44100);
    EXPECT_EQ(s->capacity, 44100);
    EXPECT_EQ(SAMPLE_get(s, 11024), 11025);
    EXPECT_EQ(SAMPLE_get(s, 11025), 0);
    EXPECT_EQ(SAMPLE_get(s, 22049), 0);
    EXPECT_EQ(SAMPLE_get(s, 44099), 0);

    // Within the capacity a shorter length hides values and a longer one brings them back.
    SAMPLE_set_length(s, 88200);
    for (int32_t i = 0; i < 88200; ++i) s->data[i] = -i;
    SAMPLE_set_length(s, 44100);
    SAMPLE_set_length(s, 88200);
    EXPECT_EQ(s->capacity, 88200);
    EXPECT_EQ(SAMPLE_get(s, 44100), -44100);
    EXPECT_EQ(SAMPLE_get(s, 88199), -88199);

    // Reserving 0 frees the storage; appending then doubles from 1.
    SAMPLE_reserve(s, 0);
    EXPECT_EQ(s->capacity, 0);
    EXPECT_EQ(s->length, 0);
    EXPECT_EQ(s->data, nullptr);
    std::vector<int32_t> capacities;
    for (int32_t v = 1; v <= 5; ++v) SAMPLE_append(s, v), capacities.push_back(s->capacity);
    EXPECT_EQ(capacities, (std::vector<int32_t>{1, 2, 4, 4, 8}));
    EXPECT_EQ(values(s), (std::vector<int32_t>{1, 2, 3, 4, 5}));

    // A smaller reservation keeps the first values and cuts the length.
    SAMPLE_reserve(s, 3);
    EXPECT_EQ(values(s), (std::vector<int32_t>{1, 2, 3}));
    SAMPLE_free(&s);
    EXPECT_EQ(s, nullptr);
}

TEST(Sample, OutOfRangeAccessAndBadArgumentsChangeNothing)
{
    SAMPLE* s = make({5, 6, 7});
    const long before = SAMPLE_report().count;
    EXPECT_EQ(SAMPLE_get(s, -1), 0);
    EXPECT_EQ(SAMPLE_get(s, 3), 0);
    SAMPLE_set(s, -1, 99);
    SAMPLE_set(s, 3, 99);
    SAMPLE_shift_right(s, 32);
    SAMPLE_shift_right(s, -1);
    SAMPLE_divide(s, 0);
    SAMPLE_set_length(s, -4);
    SAMPLE_add(s, nullptr);
    SAMPLE_copy_range(s, s, 2, 2, 0);   // source run past the end
    SAMPLE_copy_range(s, s, 2, 0, 2);   // destination run past the end
    SAMPLE_line(s, -1, 0, 2, 0);
    SAMPLE_line(s, 0, 0, 3, 0);
    EXPECT_EQ(SAMPLE_report().count - before, 13);
    EXPECT_EQ(values(s), (std::vector<int32_t>{5, 6, 7}));
    EXPECT_EQ(s->capacity, 32);

    SAMPLE* empty = SAMPLE_new();
    EXPECT_EQ(SAMPLE_min(empty), 0);
    EXPECT_EQ(SAMPLE_max(empty), 0);
    EXPECT_EQ(SAMPLE_index_of_min(empty), 0);
    EXPECT_EQ(SAMPLE_index_of_max(empty), 0);
    SAMPLE_normalise(empty, 1000);
    EXPECT_EQ(SAMPLE_report().count - before, 18);
    SAMPLE_free(&empty);
    SAMPLE_free(&s);
}

TEST(Sample, ArithmeticWrapsAndTruncatesLikeThirtyTwoBitWords)
{
    SAMPLE* a = make({70000, -7, 7, INT32_MIN, 40000});
    SAMPLE* k = make({32767, 1, 1, 1});
    SAMPLE_multiply(a, k);
    EXPECT_EQ(values(a), (std::vector<int32_t>{-2001277296, -7, 7, INT32_MIN, 40000}));

    SAMPLE* d = make({-7, 7, -8, INT32_MIN});
    SAMPLE_divide(d, 4);
    EXPECT_EQ(values(d), (std::vector<int32_t>{-1, 1, -2, INT32_MIN / 4}));
    SAMPLE* r = make({-7, 7, -1, INT32_MIN});
    SAMPLE_shift_right(r, 2);
    EXPECT_EQ(values(r), (std::vector<int32_t>{-2, 1, -1, INT32_MIN / 4}));
    SAMPLE* n = make({INT32_MIN, 5});
    SAMPLE_divide(n, -1);
    EXPECT_EQ(values(n), (std::vector<int32_t>{INT32_MIN, -5}));
    SAMPLE_scale(n, 3);
    EXPECT_EQ(values(n), (std::vector<int32_t>{INT32_MIN, -15}));
    SAMPLE* big = make({INT32_MAX, 2});
    SAMPLE_scale(big, 2);
    EXPECT_EQ(values(big), (std::vector<int32_t>{-2, 4}));

    // Adding uses only the overlap, in either direction.
    SAMPLE* longer = ramp(10);
    SAMPLE* shorter = make({100, 200, 300});
    SAMPLE_add(longer, shorter);
    EXPECT_EQ(values(longer), (std::vector<int32_t>{93, 196, 299, 2, 5, 8, 11, 14, 17, 20}));
    SAMPLE_add(shorter, longer);
    EXPECT_EQ(values(shorter), (std::vector<int32_t>{193, 396, 599}));
    SAMPLE_clear(longer);
    EXPECT_EQ(values(longer), std::vector<int32_t>(10, 0));

    for (SAMPLE* s : {a, k, d, r, n, big, longer, shorter}) SAMPLE_free(&s);
}

TEST(Sample, NormaliseMapsTheLargestMagnitudeOntoThePeak)
{
    SAMPLE* s = SAMPLE_new();
    SAMPLE_set_length(s, 24385);
    for (int32_t i = 0; i < 24385; ++i) s->data[i] = i - 16384;  // -16384 .. 8000
    SAMPLE_normalise(s, 32000);
    EXPECT_EQ(SAMPLE_get(s, 0), -32000);
    EXPECT_EQ(SAMPLE_get(s, 24384), 15625);
    EXPECT_EQ(SAMPLE_get(s, 16384), 0);
    EXPECT_EQ(SAMPLE_get(s, 16385), 1);  // 2^32 * 32000 / 16384 / 2^32, floored
    EXPECT_EQ(SAMPLE_get(s, 16383), -2);

    // A positive extreme lands on the peak or one below; -2^31 has a magnitude.
    SAMPLE* p = make({3, 0, -1, 3});
    SAMPLE_normalise(p, 1000);
    EXPECT_EQ(values(p), (std::vector<int32_t>{999, 0, -334, 999}));
    SAMPLE* m = make({INT32_MIN, INT32_MAX, 0});
    SAMPLE_normalise(m, 500);
    EXPECT_EQ(values(m), (std::vector<int32_t>{-500, 499, 0}));

    // Silence has no magnitude: unchanged, and no fault.
    SAMPLE* z = make({0, 0, 0});
    const long before = SAMPLE_report().count;
    SAMPLE_normalise(z, 32000);
    EXPECT_EQ(values(z), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(SAMPLE_report().count, before);
    for (SAMPLE* b : {s, p, m, z}) SAMPLE_free(&b);
}

TEST(Sample, RotateShiftsCircularlyAndDropsSpareCapacity)
{
    const std::vector<int32_t> start{1, 2, 3, 4, 5};
    SAMPLE* s = make(start);
    for (int32_t k : {0, 5, 10, -5}) {
        SAMPLE_rotate(s, k);
        EXPECT_EQ(values(s), start) << "k = " << k;
    }
    SAMPLE_rotate(s, 1);
    EXPECT_EQ(values(s), (std::vector<int32_t>{5, 1, 2, 3, 4}));
    SAMPLE_rotate(s, 7);
    EXPECT_EQ(values(s), (std::vector<int32_t>{3, 4, 5, 1, 2}));
    SAMPLE_rotate(s, -1);
    EXPECT_EQ(values(s), (std::vector<int32_t>{4, 5, 1, 2, 3}));

    // With spare capacity the storage is replaced by exactly length values.
    SAMPLE* t = ramp(6);  // -7 -4 -1 2 5 8
    SAMPLE_set_length(t, 4);
    EXPECT_EQ(t->capacity, 32);
    SAMPLE_rotate(t, 3);
    EXPECT_EQ(t->capacity, 4);
    EXPECT_EQ(values(t), (std::vector<int32_t>{-4, -1, 2, -7}));
    SAMPLE_set_length(t, 6);
    EXPECT_EQ(values(t), (std::vector<int32_t>{-4, -1, 2, -7, 0, 0}));
    SAMPLE_free(&s);
    SAMPLE_free(&t);
}

TEST(Sample, ExtremesPreferTheLowestIndex)
{
    SAMPLE* s = make({3, 7, 7, 1, 1, -2, -2, 7});
    EXPECT_EQ(SAMPLE_index_of_max(s), 1);
    EXPECT_EQ(SAMPLE_index_of_min(s), 5);
    EXPECT_EQ(SAMPLE_max(s), 7);
    EXPECT_EQ(SAMPLE_min(s), -2);
    SAMPLE_free(&s);
}

TEST(Sample, CopyRangeMovesOverlappingRunsIntact)
{
    SAMPLE* s = ramp(8);  // -7 -4 -1 2 5 8 11 14
    SAMPLE_copy_range(s, s, 4, 1, 3);
    EXPECT_EQ(values(s), (std::vector<int32_t>{-7, -4, -1, -4, -1, 2, 5, 14}));
    SAMPLE_copy_range(s, s, 4, 3, 1);
    EXPECT_EQ(values(s), (std::vector<int32_t>{-7, -4, -1, 2, 5, 2, 5, 14}));
    SAMPLE* d = make({0, 0, 0});
    SAMPLE_copy_range(s, d, 2, 6, 1);
    EXPECT_EQ(values(d), (std::vector<int32_t>{0, 5, 14}));
    SAMPLE_free(&s);
    SAMPLE_free(&d);
}

TEST(Sample, LineWalksBothSlopesAndTheFadeRamp)
{
    SAMPLE* s = SAMPLE_new();
    SAMPLE_set_length(s, 22050);
    SAMPLE_line(s, 0, 32767, 22049, 0);
    EXPECT_EQ(std::vector<int32_t>(s->data.get(), s->data.get() + 4), (std::vector<int32_t>{32767, 32766, 32764, 32763}));
    EXPECT_EQ(std::vector<int32_t>(s->data.get() + 22046, s->data.get() + 22050), (std::vector<int32_t>{5, 3, 2, 0}));
    SAMPLE_set_length(s, 11025);
    SAMPLE_line(s, 0, 32767, 11024, 0);
    EXPECT_EQ(std::vector<int32_t>(s->data.get() + 11021, s->data.get() + 11025), (std::vector<int32_t>{10, 7, 4, 1}));

    // A shallow line; ends given in reverse order swap x only, so the walk starts at y0 = 0.
    SAMPLE* t = make(std::vector<int32_t>(12, -1));
    SAMPLE_line(t, 10, 0, 1, 3);
    EXPECT_EQ(values(t), (std::vector<int32_t>{-1, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, -1}));
    // A single index with different y values stores y0 and ends.
    SAMPLE_line(t, 4, 1000, 4, -1000);
    EXPECT_EQ(SAMPLE_get(t, 4), 1000);
    // Steep: each index takes the first y of its run, so the end stops short of y1 like the ramp.
    SAMPLE_line(t, 0, 0, 2, -10);
    EXPECT_EQ(std::vector<int32_t>(t->data.get(), t->data.get() + 3), (std::vector<int32_t>{0, -3, -8}));
    SAMPLE_free(&s);
    SAMPLE_free(&t);
}
