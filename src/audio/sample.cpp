#include "audio/sample.h"

#include <algorithm>
#include <cstring>

#include "base/record.h"
#include "base/wrap.h"

static ErrorReport sample_errors{"SAMPLE error\n", false, 0};

ErrorReport& SAMPLE_report() { return sample_errors; }

namespace {

bool has_data(const SAMPLE* sample) { return sample && sample->data; }

// A buffer whose values can be read: it has storage and at least one value.
bool has_values(const SAMPLE* sample) { return has_data(sample) && sample->length > 0; }

// Plain reductions over n > 0 values; unlike min_element they vectorise.
int32_t lowest(const int32_t* v, int32_t n)
{
    int32_t m = v[0];
    for (int32_t i = 1; i < n; ++i) m = std::min(m, v[i]);
    return m;
}

int32_t highest(const int32_t* v, int32_t n)
{
    int32_t m = v[0];
    for (int32_t i = 1; i < n; ++i) m = std::max(m, v[i]);
    return m;
}

// The lowest index holding value, which is known to be present.
int32_t first_index(const int32_t* v, int32_t n, int32_t value) { return static_cast<int32_t>(std::find(v, v + n, value) - v); }

}  // namespace

SAMPLE* SAMPLE_new()
{
    SAMPLE* sample = record_new<SAMPLE>();
    if (!sample) {
        REPORT_raise(sample_errors);
        return nullptr;
    }
    SAMPLE_reserve(sample, 32);
    if (sample->capacity != 32) {
        record_free(&sample);
        return nullptr;
    }
    return sample;
}

void SAMPLE_free(SAMPLE** sample)
{
    if (!sample || !*sample) {
        REPORT_raise(sample_errors);
        return;
    }
    record_free(sample);
}

void SAMPLE_reserve(SAMPLE* sample, int32_t n)
{
    if (!sample || n < 0) {
        REPORT_raise(sample_errors);
        return;
    }
    if (n == sample->capacity) return;
    if (n == 0) {
        sample->data.reset();
        sample->capacity = sample->length = 0;
        return;
    }
    auto data = block_new<int32_t>(static_cast<std::size_t>(n));
    if (!data) {
        REPORT_raise(sample_errors);
        return;
    }
    const int32_t keep = std::min(sample->length, n);
    if (keep > 0) std::memcpy(data.get(), sample->data.get(), static_cast<std::size_t>(keep) * sizeof(int32_t));
    sample->data = std::move(data);
    sample->capacity = n;
    sample->length = keep;
}

void SAMPLE_set_length(SAMPLE* sample, int32_t n)
{
    if (!sample || n < 0) {
        REPORT_raise(sample_errors);
        return;
    }
    if (sample->capacity < n) {
        SAMPLE_reserve(sample, n);
        // A failed growth has been reported; the length must not run past the storage.
        if (sample->capacity < n) return;
    }
    sample->length = n;
}

int32_t SAMPLE_get(const SAMPLE* sample, int32_t i)
{
    if (!has_data(sample) || i < 0 || i >= sample->length) {
        REPORT_raise(sample_errors);
        return 0;
    }
    return sample->data[i];
}

void SAMPLE_set(SAMPLE* sample, int32_t i, int32_t v)
{
    if (!has_data(sample) || i < 0 || i >= sample->length) {
        REPORT_raise(sample_errors);
        return;
    }
    sample->data[i] = v;
}

void SAMPLE_append(SAMPLE* sample, int32_t v)
{
    if (!sample) {
        REPORT_raise(sample_errors);
        return;
    }
    if (sample->length >= sample->capacity) {
        if (sample->capacity > INT32_MAX / 2) {
            REPORT_raise(sample_errors);
            return;
        }
        SAMPLE_reserve(sample, sample->capacity == 0 ? 1 : sample->capacity * 2);
        if (sample->length >= sample->capacity) return;
    }
    sample->data[sample->length++] = v;
}

void SAMPLE_clear(SAMPLE* sample)
{
    if (!has_data(sample)) {
        REPORT_raise(sample_errors);
        return;
    }
    std::fill_n(sample->data.get(), sample->length, 0);
}

void SAMPLE_copy_range(const SAMPLE* source, SAMPLE* destination, int32_t n, int32_t s, int32_t d)
{
    if (!has_data(source) || !has_data(destination) || n < 0 || s < 0 || d < 0 ||
        int64_t{source->length} < int64_t{s} + n || int64_t{destination->length} < int64_t{d} + n) {
        REPORT_raise(sample_errors);
        return;
    }
    // memmove gives the intact move of an overlapping run in either direction.
    std::memmove(destination->data.get() + d, source->data.get() + s, static_cast<std::size_t>(n) * sizeof(int32_t));
}

void SAMPLE_add(SAMPLE* destination, const SAMPLE* source)
{
    if (!has_data(destination) || !has_data(source)) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* out = destination->data.get();
    const int32_t* in = source->data.get();
    const int32_t n = std::min(destination->length, source->length);
    for (int32_t i = 0; i < n; ++i) out[i] = wrap_add(out[i], in[i]);
}

void SAMPLE_multiply(SAMPLE* destination, const SAMPLE* source)
{
    if (!has_data(destination) || !has_data(source)) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* out = destination->data.get();
    const int32_t* in = source->data.get();
    const int32_t n = std::min(destination->length, source->length);
    for (int32_t i = 0; i < n; ++i) out[i] = wrap_mul(out[i], in[i]);
}

void SAMPLE_scale(SAMPLE* sample, int32_t k)
{
    if (!has_data(sample)) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* v = sample->data.get();
    const int32_t n = sample->length;
    for (int32_t i = 0; i < n; ++i) v[i] = wrap_mul(v[i], k);
}

void SAMPLE_divide(SAMPLE* sample, int32_t k)
{
    if (!has_data(sample) || k == 0) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* v = sample->data.get();
    const int32_t n = sample->length;
    // -2^31 / -1 does not fit; it wraps like the product with -1.
    if (k == -1) {
        for (int32_t i = 0; i < n; ++i) v[i] = wrap_neg(v[i]);
        return;
    }
    for (int32_t i = 0; i < n; ++i) v[i] /= k;
}

void SAMPLE_shift_right(SAMPLE* sample, int32_t n)
{
    if (!has_data(sample) || n < 0 || n > 31) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* v = sample->data.get();
    const int32_t length = sample->length;
    for (int32_t i = 0; i < length; ++i) v[i] >>= n;
}

void SAMPLE_normalise(SAMPLE* sample, int32_t peak)
{
    if (!has_values(sample)) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* v = sample->data.get();
    const int32_t n = sample->length;
    const int32_t lo = lowest(v, n), hi = highest(v, n);
    const int64_t m = std::max(-int64_t{lo}, int64_t{hi});
    // Silence has no magnitude to scale to; it stays silence.
    if (m == 0) return;
    const int64_t gain = int64_t{peak} * (int64_t{1} << 32) / m;
    for (int32_t i = 0; i < n; ++i) {
        // The 64-bit product wraps like the 32-bit ones; only its bits 32..63 are kept.
        const auto product = static_cast<int64_t>(static_cast<uint64_t>(int64_t{v[i]}) * static_cast<uint64_t>(gain));
        v[i] = static_cast<int32_t>(product >> 32);
    }
}

void SAMPLE_rotate(SAMPLE* sample, int32_t k)
{
    if (!has_data(sample)) {
        REPORT_raise(sample_errors);
        return;
    }
    const int32_t n = sample->length;
    if (n == 0) return;
    k %= n;
    if (k < 0) k += n;
    if (sample->capacity == n) {
        // Storage already holds exactly the values: the same result without a second block.
        std::rotate(sample->data.get(), sample->data.get() + (n - k), sample->data.get() + n);
        return;
    }
    auto data = block_new<int32_t>(static_cast<std::size_t>(n));
    if (!data) {
        REPORT_raise(sample_errors);
        return;
    }
    const int32_t* old = sample->data.get();
    std::memcpy(data.get(), old + (n - k), static_cast<std::size_t>(k) * sizeof(int32_t));
    std::memcpy(data.get() + k, old, static_cast<std::size_t>(n - k) * sizeof(int32_t));
    sample->data = std::move(data);
    sample->capacity = n;
}

int32_t SAMPLE_min(const SAMPLE* sample)
{
    if (!has_values(sample)) {
        REPORT_raise(sample_errors);
        return 0;
    }
    return lowest(sample->data.get(), sample->length);
}

int32_t SAMPLE_max(const SAMPLE* sample)
{
    if (!has_values(sample)) {
        REPORT_raise(sample_errors);
        return 0;
    }
    return highest(sample->data.get(), sample->length);
}

int32_t SAMPLE_index_of_min(const SAMPLE* sample)
{
    if (!has_values(sample)) {
        REPORT_raise(sample_errors);
        return 0;
    }
    const int32_t* v = sample->data.get();
    return first_index(v, sample->length, lowest(v, sample->length));
}

int32_t SAMPLE_index_of_max(const SAMPLE* sample)
{
    if (!has_values(sample)) {
        REPORT_raise(sample_errors);
        return 0;
    }
    const int32_t* v = sample->data.get();
    return first_index(v, sample->length, highest(v, sample->length));
}

void SAMPLE_line(SAMPLE* sample, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (x0 > x1) std::swap(x0, x1);
    if (!has_data(sample) || x0 < 0 || x1 >= sample->length) {
        REPORT_raise(sample_errors);
        return;
    }
    int32_t* v = sample->data.get();
    // 64-bit steps: |y1 - y0| may exceed the 32-bit range.
    const int64_t dx = int64_t{x1} - x0, rise = int64_t{y1} - y0;
    const int64_t step = rise > 0 ? 1 : rise < 0 ? -1 : 0, dy = rise < 0 ? -rise : rise;
    int64_t y = y0;
    if (dx > dy) {
        int64_t err = dx >> 1;
        for (int32_t x = x0; x <= x1; ++x) {
            v[x] = static_cast<int32_t>(y);
            err -= dy;
            if (err <= 0) err += dx, y += step;
        }
        return;
    }
    int64_t err = dy >> 1;
    for (int32_t x = x0;; ++x) {
        v[x] = static_cast<int32_t>(y);
        // Stepping after the last value would change nothing, and for a single index (dx = 0)
        // the inner loop would never end.
        if (x == x1) break;
        while (err > 0) y += step, err -= dx;
        err += dy;
    }
}
