#include "vector/logofly.h"

#include "base/record.h"
#include "base/random.h"

static ErrorReport logofly_errors{"LOGOFLY error\n", false, 0};

ErrorReport& LOGOFLY_report() { return logofly_errors; }

LOGOFLY* LOGOFLY_new()
{
    LOGOFLY* logo = record_new<LOGOFLY>();
    if (!logo) {
        REPORT_raise(logofly_errors);
        return nullptr;
    }
    LOGOFLY_reset(logo);
    return logo;
}

void LOGOFLY_free(LOGOFLY** logo)
{
    if (!logo || !*logo) {
        REPORT_raise(logofly_errors);
        return;
    }
    record_free(logo);
}

void LOGOFLY_reset(LOGOFLY* logo)
{
    if (!logo) {
        REPORT_raise(logofly_errors);
        return;
    }
    logo->phase = 0;
    // Three draws, in this order: the rest of the show's random values depend on it.
    const int32_t r1 = RANDOM_rand30();
    const int32_t r2 = RANDOM_rand30();
    const int32_t r3 = RANDOM_rand30();
    logo->speed = r1 % 24 + 8;
    logo->step = r2 % 8 + 1;
    logo->amplitude = r3 % 100 + 16;
    logo->colour = 0xFFFFFF;
    logo->text = "VOXA";
}
