#include "audio/sam.h"

#include "base/record.h"
#include "platform/os.h"

static ErrorReport sam_errors{"SAM error.\n", false, 0};

ErrorReport& SAM_report() { return sam_errors; }

SAM* SAM_new()
{
    SAM* holder = record_new<SAM>();
    if (!holder) {
        REPORT_raise(sam_errors);
        OS_exit(-1);
    }
    return holder;
}

void SAM_free(SAM** holder)
{
    if (!holder || !*holder) {
        REPORT_raise(sam_errors);
        return;
    }
    record_free(holder);
}

void SAM_set_sample(SAM* holder, SAMPLE* sound)
{
    if (!holder || !sound) {
        REPORT_raise(sam_errors);
        return;
    }
    holder->sample = sound;
}
