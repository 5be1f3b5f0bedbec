#include "platform/mouse.h"

#include "base/record.h"
#include "platform/windpy.h"

static ErrorReport mouse_errors{"MOUSE error\n", false, 0};

ErrorReport& MOUSE_report() { return mouse_errors; }

MOUSE* MOUSE_new()
{
    if (!WINDPY_current()) {
        REPORT_raise(mouse_errors);
        return nullptr;
    }
    MOUSE* mouse = record_new<MOUSE>();
    if (!mouse) REPORT_raise(mouse_errors);
    return mouse;
}

void MOUSE_update(MOUSE* mouse)
{
    if (!mouse || !mouse->pointer) {
        REPORT_raise(mouse_errors);
        return;
    }
    mouse->screen_x = mouse->pointer->screen_x;
    mouse->screen_y = mouse->pointer->screen_y;
    mouse->window_x = mouse->pointer->window_x;
    mouse->window_y = mouse->pointer->window_y;
}

void MOUSE_draw(MOUSE* mouse)
{
    if (!mouse || !mouse->sprite || !mouse->target) {
        REPORT_raise(mouse_errors);
        return;
    }
    IMG_blit(mouse->sprite, mouse->target, 0, 0, mouse->window_x, mouse->window_y, mouse->sprite->width,
             mouse->sprite->height);
}
