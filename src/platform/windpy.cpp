#include "platform/windpy.h"

#include "base/record.h"
#include "platform/os.h"

static ErrorReport windpy_errors{"WINDPY error\n", false, 0};

static struct {
    WINDPY* display = nullptr;
    bool window_open = false;
} windpy_state;

ErrorReport& WINDPY_report() { return windpy_errors; }

WINDPY* WINDPY_current() { return windpy_state.display; }

WINDPY* WINDPY_new()
{
    WINDPY* display = record_new<WINDPY>();
    if (!display) {
        REPORT_raise(windpy_errors);
        return nullptr;
    }
    windpy_state.display = display;
    if (!WINDPY_open(display, 256, 256)) {
        windpy_state.display = nullptr;
        record_free(&display);
        return nullptr;
    }
    return display;
}

void WINDPY_free(WINDPY** display)
{
    if (!display || !*display) return;
    if (*display == windpy_state.display) windpy_state = {};
    record_free(display);
}

bool WINDPY_open(WINDPY* display, int32_t width, int32_t height)
{
    if (!display || width < 0 || height < 0) {
        REPORT_raise(windpy_errors);
        return false;
    }
    display->width = width;
    display->height = height;
    if (!windpy_state.window_open) {
        if (!OS_open_window("VOXA7100", width, height)) {
            REPORT_raise(windpy_errors);
            return false;
        }
        windpy_state.window_open = true;
    }
    return true;
}

void WINDPY_show(WINDPY* display, const Image* image)
{
    if (!display || !image || !image->pixels || image->width != display->width || image->height != display->height ||
        !windpy_state.window_open) {
        REPORT_raise(windpy_errors);
        return;
    }
    OS_present(image->pixels.get(), image->width, image->height);
}
