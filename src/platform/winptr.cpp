#include "platform/winptr.h"

#include "base/record.h"
#include "platform/os.h"
#include "platform/windpy.h"

static ErrorReport winptr_errors{"WINPTR error\n", false, 0};

static struct {
    WINPTR* pointer = nullptr;
} winptr_state;

ErrorReport& WINPTR_report() { return winptr_errors; }

WINPTR* WINPTR_new()
{
    if (!WINDPY_current()) {
        REPORT_raise(winptr_errors);
        return nullptr;
    }
    if (!winptr_state.pointer) winptr_state.pointer = record_new<WINPTR>();
    OS_hide_cursor();
    return winptr_state.pointer;
}

void WINPTR_update(WINPTR* pointer)
{
    if (!pointer) {
        REPORT_raise(winptr_errors);
        return;
    }
    int32_t x = 0, y = 0;
    if (!OS_pointer(&x, &y)) return;
    // The backend reports frame pixels directly, so screen and window positions coincide here.
    pointer->screen_x = pointer->window_x = x;
    pointer->screen_y = pointer->window_y = y;
}
