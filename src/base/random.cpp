#include "base/random.h"

#include "base/record.h"

static ErrorReport random_errors{"RANDOM error\n", false, 0};

static struct {
    uint32_t rand_state = 1;
} random_state;

ErrorReport& RANDOM_report() { return random_errors; }

void RANDOM_seed15(uint32_t seed) { random_state.rand_state = seed; }

uint32_t RANDOM_state() { return random_state.rand_state; }

int32_t RANDOM_rand15()
{
    random_state.rand_state = random_state.rand_state * 214013u + 2531011u;
    return static_cast<int32_t>((random_state.rand_state >> 16) & 0x7FFF);
}

int32_t RANDOM_rand30()
{
    const int32_t hi = RANDOM_rand15();
    const int32_t lo = RANDOM_rand15();
    return (hi << 15) | lo;
}

Random* RANDOM_new()
{
    Random* random = record_new<Random>();
    if (!random) REPORT_raise(random_errors);
    return random;
}

void RANDOM_free(Random** random)
{
    if (!random || !*random) {
        REPORT_raise(random_errors);
        return;
    }
    record_free(random);
}

uint32_t RANDOM_next(Random* random)
{
    if (!random) {
        REPORT_raise(random_errors);
        return 0;
    }
    random->counter += 1;
    random->factor = (random->value * random->counter * random->factor) & 0xFFFFFF;
    random->value = (random->value + random->counter + random->factor) & 0xFFFFFF;
    return random->value;
}
